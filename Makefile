# The two commands a newcomer runs: `make run` and `make test`.
BUILD ?= build
BENCH_BUILD ?= build-release
ASAN_BUILD ?= build-asan
JOBS  ?= $(shell nproc)

.PHONY: all bootstrap build run brindel test test-asan bench clean

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

# The tests under the address and undefined-behaviour sanitizers, in a tree
# of their own. Leaks are not reported: Qt's offscreen platform plugin
# leaves its allocations to the process exit.
test-asan: bootstrap
	cmake -S . -B $(ASAN_BUILD) -DSORVANI_SANITIZE=ON -DSORVANI_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# Benchmarks measure a Release tree of their own, where the checks are off.
bench: bootstrap
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DSORVANI_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	scripts/run-bench $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(ASAN_BUILD)
