# The two commands a newcomer runs: `make run` and `make test`.
BUILD ?= build
BENCH_BUILD ?= build-release
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS  ?= $(shell nproc)

.PHONY: all bootstrap build run brindel test test-asan bench fuzz-build fuzz fuzz-smoke clean

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

# The parsers' fuzz targets (fuzz/), built by clang in a tree of their own
# that holds only what they link.
FUZZERS := settings_fuzz era_date_fuzz filter_fuzz ken_all_fuzz code_file_fuzz
FUZZERS += backup_csv_fuzz backup_txt_fuzz
FUZZERS += legacy_text_fuzz legacy_import_fuzz
FUZZERS += named_csv_fuzz
FUZZERS += converter_post_scan_fuzz
FUZZ_TIME ?= 60
SMOKE_TIME ?= 10

fuzz-build: bootstrap
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DSORVANI_FUZZ=ON -DSORVANI_TESTS=OFF -DSORVANI_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

# $(call fuzz-each,seconds,corpus folder): each target from its seeds; what
# it learns goes to the corpus folder, an input that fails to crashes/.
define fuzz-each
	@set -e; mkdir -p $(FUZZ_BUILD)/crashes; for t in $(FUZZERS); do \
	  echo "== $$t"; mkdir -p $(2)/$$t; \
	  $(FUZZ_BUILD)/fuzzers/$$t -max_total_time=$(1) -timeout=25 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- $(2)/$$t fuzz/corpus/$$t; \
	done
endef

# A minute per target; the corpus grows in build-fuzz/corpus.
fuzz: fuzz-build
	$(call fuzz-each,$(FUZZ_TIME),$(FUZZ_BUILD)/corpus)

# Every seed once, then a few seconds per target from the seeds alone.
fuzz-smoke: fuzz-build
	@set -e; mkdir -p $(FUZZ_BUILD)/crashes; for t in $(FUZZERS); do \
	  $(FUZZ_BUILD)/fuzzers/$$t -runs=0 -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- fuzz/corpus/$$t \
	    > $(FUZZ_BUILD)/crashes/$$t-seeds.log 2>&1 || { cat $(FUZZ_BUILD)/crashes/$$t-seeds.log; exit 1; }; \
	done
	rm -rf $(FUZZ_BUILD)/smoke
	$(call fuzz-each,$(SMOKE_TIME),$(FUZZ_BUILD)/smoke)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
