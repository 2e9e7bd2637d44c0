# make run   installs what is missing, builds, opens the program
# make test  the same set-up, then every test (also the core tests under ASan/UBSan,
#            and a short run of every fuzz target over its seeds)
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_CHECK_SECONDS ?= 5
FUZZ_TARGETS = fuzz_parse_column fuzz_read_setup fuzz_text_loader fuzz_headers fuzz_binary_channel fuzz_study_part
CMAKE_FLAGS ?=

.PHONY: all deps configure build test test-asan bench fuzz fuzz-build fuzz-check layers run example clean package

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNIK_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

test: build
	tools/check-layers.sh
	cd $(BUILD) && ctest --output-on-failure
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory fuzz-check

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNIK_SANITIZE=ON \
	      -DVARNIK_GUI=OFF -DVARNIK_BENCH=OFF
	cmake --build $(ASAN_BUILD) --target core_tests
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 $(ASAN_BUILD)/tests/core_tests

# The Debian package, varnik_<version>_amd64.deb in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	$(BUILD)/bench/bench_text_load
	$(BUILD)/bench/bench_dive
	$(BUILD)/bench/bench_batch $(BUILD)/bin/varnik-batch
	$(BUILD)/bench/bench_study $(BUILD)/bin/varnik-batch
	$(BUILD)/bench/bench_report $(BUILD)/bin/varnik-batch
	$(BUILD)/bench/bench_graph
	$(BUILD)/bench/bench_fast_logger
	$(BUILD)/bench/bench_process
	$(BUILD)/bench/bench_filters
	$(BUILD)/bench/bench_points
	$(BUILD)/bench/bench_calc
	$(BUILD)/bench/bench_frequency
	$(BUILD)/bench/bench_spline
	$(BUILD)/bench/bench_plots
	bench/summary.sh $(BUILD)

fuzz-build: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNIK_FUZZ=ON \
	      -DVARNIK_GUI=OFF -DVARNIK_TESTS=OFF -DVARNIK_BENCH=OFF
	cmake --build $(FUZZ_BUILD)

fuzz: fuzz-build
	@for target in $(FUZZ_TARGETS); do \
	  mkdir -p fuzz-corpus/$$target; \
	  echo "== $$target ($(FUZZ_SECONDS) s)"; \
	  $(FUZZ_BUILD)/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	      fuzz-corpus/$$target tests/fuzz/seeds/$$target || exit 1; \
	done

# Part of make test: the targets still build, and a few seconds from their
# seeds find nothing. New inputs go to a scratch corpus, never into the seeds.
fuzz-check: fuzz-build
	@for target in $(FUZZ_TARGETS); do \
	  rm -rf $(FUZZ_BUILD)/check-corpus/$$target; mkdir -p $(FUZZ_BUILD)/check-corpus/$$target; \
	  echo "== $$target ($(FUZZ_CHECK_SECONDS) s)"; \
	  $(FUZZ_BUILD)/tests/fuzz/$$target -max_total_time=$(FUZZ_CHECK_SECONDS) -max_len=4096 \
	      $(FUZZ_BUILD)/check-corpus/$$target tests/fuzz/seeds/$$target > $(FUZZ_BUILD)/$$target.log 2>&1 \
	      || { cat $(FUZZ_BUILD)/$$target.log; exit 1; }; \
	  tail -n 1 $(FUZZ_BUILD)/$$target.log; \
	done

layers:
	tools/check-layers.sh

EXAMPLE = examples/seal-example.cfg
ARCHIVE = examples/seal-tag.cfg

$(EXAMPLE): | build
	$(BUILD)/tools/make_example $(CURDIR)/examples

$(ARCHIVE): | build
	$(BUILD)/tools/make_example --archive $(CURDIR)/examples

example: build $(EXAMPLE) $(ARCHIVE)

run: build $(EXAMPLE) $(ARCHIVE)
	$(BUILD)/bin/varnik $(CURDIR)/$(EXAMPLE)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
