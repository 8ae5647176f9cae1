# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SANITIZE_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS := text_conversion run_driver history_reader scenario export_reader pool_table

.PHONY: run test check test-sanitize fuzz bench build deps clean package results-screenshot

deps:
	@scripts/install-dependencies.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The window where there is a display, the batch example elsewhere.
run: build
	@scripts/run.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The everyday suite in a few seconds: every test but those labelled slow (the full-size and
# randomised comparisons of the lanes with the plain estimation, and whole runs in the window).
check: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE slow

# The engine and the batch command again under AddressSanitizer and UndefinedBehaviorSanitizer,
# their tests linked to the sanitizers' runtime, all run but for the full-size comparisons of
# bits (the optimised build's business). The window is left to make test: its Qt-heavy build would take CI past its time.
# Line tables only keep the sanitizers' traces readable and the build short, and so does -O1,
# the level the sanitizers are made for: a third less time to compile than -O2.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSALES_FORECAST_SANITIZE=ON \
	    -DSALES_FORECAST_WINDOW=OFF \
	    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE full-size

# Each fuzz target for FUZZ_SECONDS on a working copy of its seeds, which keeps what it finds
# out of fuzz/corpus, with the words in fuzz/NAME.dict where there is one; inputs that fail land
# in $(FUZZ_DIR)/findings.
fuzz:
	@scripts/install-dependencies.sh fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DSALES_FORECAST_FUZZ=ON -DSALES_FORECAST_WINDOW=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZERS:=_fuzzer)
	for fuzzer in $(FUZZERS); do \
	    mkdir -p $(FUZZ_DIR)/corpus/$$fuzzer $(FUZZ_DIR)/findings && \
	    cp fuzz/corpus/$$fuzzer/* $(FUZZ_DIR)/corpus/$$fuzzer/ && \
	    dictionary=$$(test -f fuzz/$$fuzzer.dict && echo -dict=fuzz/$$fuzzer.dict); \
	    $(FUZZ_DIR)/fuzz/$${fuzzer}_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 $$dictionary \
	        -artifact_prefix=$(FUZZ_DIR)/findings/$$fuzzer- $(FUZZ_DIR)/corpus/$$fuzzer || exit 1; \
	done

# The Debian package of both programs, in $(BUILD_DIR); scripts/check-package.sh validates it.
package: build
	@scripts/install-dependencies.sh package
	cd $(BUILD_DIR) && cpack

bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target floor_bench lane_kernel_bench full_run_bench \
	    results_bench history_reader_bench results_window_bench catalogue_bench catalogue_window_bench
	$(BUILD_DIR)/bench/floor_bench
	$(BUILD_DIR)/bench/lane_kernel_bench
	$(BUILD_DIR)/bench/full_run_bench
	$(BUILD_DIR)/bench/results_bench
	$(BUILD_DIR)/bench/history_reader_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/results_window_bench
	$(BUILD_DIR)/bench/catalogue_bench
	bench/catalogue_history.py 2000 1000 --layout rows > $(BUILD_DIR)/catalogue-2000x1000.csv
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/catalogue_window_bench \
	    $(BUILD_DIR)/catalogue-2000x1000.csv

# docs/results.png: a realistic run through the form, drawn by the X server of Xvfb.
results-screenshot: build
	for shot in results demand constants scenario next small; do \
	  scripts/results-screenshot.sh $(BUILD_DIR) $$shot || exit 1; done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
