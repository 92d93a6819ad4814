# The two commands a newcomer runs: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all bootstrap build run brindel test bench clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD)

build: bootstrap $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Dremlot starts in demo/, its own data directory, made on first run.
run: build
	scripts/run-demo Dremlot

brindel: build
	scripts/run-demo Brindel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	scripts/run-bench $(BUILD)

clean:
	rm -rf $(BUILD)
