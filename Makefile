# Ashenmoor: every command installs what is missing first (scripts/install-deps).
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
COV_BUILD  ?= build-coverage
JOBS       ?= $(shell nproc)
# Warnings are errors in CI.
WERROR     ?= $(if $(CI),ON,OFF)
FUZZ_SECONDS ?= 30
# ccache (when installed) shares objects between checkouts in different folders.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
export CCACHE_MAXSIZE ?= 5G

.PHONY: all deps configure build test check-asan coverage screenshots fuzz run bench docs clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DASHENMOOR_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j 2

check-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DASHENMOOR_SANITIZE=ON \
	  -DASHENMOOR_DESKTOP=OFF -DASHENMOOR_BENCH=OFF -DASHENMOOR_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target all
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -L unit

# Pictures of the sandbox's site, creatives, landing pages and dashboard, and of the hooks in
# scripts/screenshots.d, in $(BUILD)/screenshots/.
screenshots: build
	scripts/screenshots $(BUILD)

# Line and branch coverage of src/ by the unit and integration suites (gcov through gcovr);
# the summary is printed, the detailed pages are left in $(COV_BUILD)/coverage/index.html.
# Branches that only throw or that the compiler cannot reach are not counted.
coverage: deps
	cmake -S . -B $(COV_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DASHENMOOR_COVERAGE=ON \
	  -DASHENMOOR_BENCH=OFF -DASHENMOOR_WERROR=$(WERROR)
	cmake --build $(COV_BUILD) -j $(JOBS)
	find $(COV_BUILD) -name '*.gcda' -delete
	cd $(COV_BUILD) && ctest --output-on-failure -j 2 -L 'unit|integration'
	mkdir -p $(COV_BUILD)/coverage
	gcovr --root . --object-directory $(COV_BUILD) --filter 'src/' \
	  --exclude-throw-branches --exclude-unreachable-branches \
	  --html-details $(COV_BUILD)/coverage/index.html --print-summary

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DASHENMOOR_FUZZ=ON -DASHENMOOR_DESKTOP=OFF -DASHENMOOR_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

run: build
	scripts/run-app $(BUILD)

# The API reference of the installed headers (Doxygen; any warning fails it), in
# $(BUILD)/docs/html/index.html.
docs: configure
	cmake --build $(BUILD) --target docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(COV_BUILD)
