# Entry points for a fresh Debian/Ubuntu machine: `make run` and `make test`.
# Everything else is plain CMake; these targets only chain the steps.

JOBS        ?= $(shell nproc)
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
FUZZ_SECONDS ?= 30
WERROR      ?= ON

.PHONY: all deps build run test unit-tests asan-tests fuzz bench format clean

all: build

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELDRA_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run.sh $(BUILD)

# -noreset: by default Xvfb resets when its last client leaves, and a test starting in that
# moment cannot connect. The GL tests draw through EGL and need no X; the GUI tests do.
# The window tests of parallel test programs share one display, and LeakSanitizer's tracer can
# crash at exit under load after a test passed: a failed test runs once more before it counts.
CTEST_RETRY = --repeat until-pass:2

unit-tests: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure $(CTEST_RETRY) -j $(JOBS)

# The window and drawing tests too, under Xvfb; the graphics driver, D-Bus and fontconfig keep
# memory for the process's life, and only their leaks are suppressed. At -O1, the level the
# sanitizers are documented for, the instrumented build takes half the time of -O2.
asan-tests: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELDRA_WERROR=$(WERROR) \
	      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g -DNDEBUG" -DVELDRA_SANITIZE=ON -DVELDRA_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure $(CTEST_RETRY) -j $(JOBS)

fuzz: deps
	bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

test: unit-tests asan-tests fuzz

bench: build
	bash scripts/bench.sh $(BUILD)

format:
	find src tests bench fuzz tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
