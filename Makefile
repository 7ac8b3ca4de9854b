# Quillborn: make run (set up, build, open the editor on the demo ROM) and make test (set up, build, run every test).

BUILD ?= build
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test bench fuzz fuzz-smoke clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/quillborn ]; then \
	  $(BUILD)/bin/quillborn $(BUILD)/bin/demo.nes; \
	else \
	  $(BUILD)/bin/quillborn-cli info $(BUILD)/bin/demo.nes; \
	fi

# The fuzzing run comes first so that the test summary closes the output.
test: build
	@$(MAKE) --no-print-directory fuzz-smoke
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD)/bin/quillborn-bench

# The fuzzer is built apart with clang, AddressSanitizer and UBSan.
$(FUZZ_BUILD)/bin/quillborn-fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILLBORN_UI=OFF -DQUILLBORN_TESTS=OFF -DQUILLBORN_BENCH=OFF -DQUILLBORN_FUZZ=ON > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target quillborn-fuzz

# Runs until stopped (or FUZZ_SECONDS=N), growing the working corpus.
fuzz: $(FUZZ_BUILD)/bin/quillborn-fuzz
	@fuzz/run-fuzzer $(FUZZ_BUILD)/bin/quillborn-fuzz $${FUZZ_SECONDS:-0}

# A bounded run from the committed seeds and the kept crash inputs, as CI does.
fuzz-smoke: $(FUZZ_BUILD)/bin/quillborn-fuzz
	@fuzz/run-fuzzer $(FUZZ_BUILD)/bin/quillborn-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
