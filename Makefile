# Quendal: `make run` builds and starts the window, `make test` builds and runs every test,
# `make package` builds the Debian package, `make run-web` builds and serves the page. Each
# first installs the missing Debian and npm packages that it needs (scripts/install-deps.sh).

JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
FUZZ_SECONDS ?= 20
# Fuzz targets run side by side, one a core: each still fuzzes for FUZZ_SECONDS.
FUZZ_JOBS ?= $(JOBS)
FUZZ_CORPUS ?= build-fuzz/corpus

.PHONY: deps build build-run run test check-deps test-release check-desktop package \
	check-package test-sanitize test-tsan test-soft test-arm64 test-wasm fuzz fuzz-long bench \
	mutate clean format golden-update wasm web run-web test-web

# The package sets of install-deps.sh that the goals need: run for the window and the companion,
# web for the page, package for the Debian package, test (everything) for any other goal. The
# script runs once per make, whatever -j, for the union of the goals' sets.
DEPS_SET_run := run
DEPS_SET_build-run := run
DEPS_SET_golden-update := run
DEPS_SET_package := package
DEPS_SET_check-package := package
DEPS_SET_web := web
DEPS_SET_run-web := web
DEPS_SETS := $(sort $(foreach goal,$(or $(MAKECMDGOALS),deps),$(or $(DEPS_SET_$(goal)),test)))

deps:
	@bash scripts/install-deps.sh $(DEPS_SETS)

# One optimised build with warnings as errors in build/ serves the window, the tests and the
# package. `make build` (and every goal that runs its tests or benchmarks) configures it with
# them; `make run`, `make package` and the other goals that need only the window and the
# companion configure it without (so without GoogleTest or Google Benchmark) and build those
# two. Either way the core's, the window's and the companion's objects are compiled with the
# same flags, so that switching reuses them.
BUILD_CONFIG := -DCMAKE_BUILD_TYPE=Release -DQUENDAL_WERROR=ON -DQUENDAL_APP=ON \
	-DQUENDAL_SANITIZE=OFF
RUN_CONFIG := $(BUILD_CONFIG) -DBUILD_TESTING=OFF -DQUENDAL_BENCH=OFF
FULL_BUILD_GOALS := build test test-release bench
BUILD_STEP := $(if $(filter $(FULL_BUILD_GOALS),$(MAKECMDGOALS)),build,build-run)

build: deps
	cmake -S . -B build $(CMAKE_GEN) $(BUILD_CONFIG) -DBUILD_TESTING=ON -DQUENDAL_BENCH=ON
	cmake --build build -j $(JOBS)

build-run: deps
	cmake -S . -B build $(CMAKE_GEN) $(RUN_CONFIG)
	cmake --build build -j $(JOBS) --target quendal quendal-calc

run: $(BUILD_STEP)
	./build/bin/quendal

test: check-deps test-release test-soft test-arm64 test-wasm test-web check-desktop \
	check-package fuzz test-sanitize test-tsan

# The install script's run and web sets against what their configure steps use: configured
# (only) as `make run` and `make web` configure build/ and build-web/.
check-deps: deps
	cmake -S . -B build-check-run $(CMAKE_GEN) $(RUN_CONFIG) >/dev/null
	bash scripts/check-deps.sh build-check-run run
	$(EM_ENV) emcmake cmake -S . -B build-check-web $(CMAKE_GEN) $(WEB_CONFIG) \
	    -DBUILD_TESTING=OFF >/dev/null
	bash scripts/check-deps.sh build-check-web web

# First the test set against what build/'s configure step used.
test-release: build
	bash scripts/check-deps.sh build test
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The other back-end and other processors build the core, the companion and their tests only,
# and run those tests (the fuzz seeds are replayed by the native builds).
PORTABLE_TARGETS := quendal-calc quendal_core_tests quendal_cli_tests quendal_golden_tests
PORTABLE_CONFIG := -DCMAKE_BUILD_TYPE=Release -DQUENDAL_WERROR=ON -DQUENDAL_APP=OFF \
	-DQUENDAL_BENCH=OFF
# Debian's emscripten needs its JavaScript parser from Debian's node modules, and its programs
# load their WebAssembly from the disk, not by node's fetch.
EM_ENV := NODE_PATH=/usr/share/nodejs
NODE_RUN := node --no-experimental-fetch

# The software extended type on this machine: the same figures as the x87 build.
test-soft: deps
	cmake -S . -B build-soft $(CMAKE_GEN) $(PORTABLE_CONFIG) -DQUENDAL_SOFT_EXTENDED=ON
	cmake --build build-soft -j $(JOBS) --target $(PORTABLE_TARGETS)
	cd build-soft && ctest --output-on-failure -j $(JOBS) -E '^FuzzSeeds[.]'

# arm64 with Debian's cross compiler, run by qemu-user: the software back-end, the worker pool
# without oneTBB and GoogleTest built from Debian's source. ctest runs every test, the golden
# scenarios among them, through the emulator (cmake/aarch64-linux-gnu.cmake).
test-arm64: deps
	cmake -S . -B build-arm64 $(CMAKE_GEN) $(PORTABLE_CONFIG) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DQUENDAL_NO_TBB=ON \
	    -DQUENDAL_GTEST_SOURCE=/usr/src/googletest
	cmake --build build-arm64 -j $(JOBS) --target $(PORTABLE_TARGETS)
	cd build-arm64 && ctest --output-on-failure -j $(JOBS) -E '^FuzzSeeds[.]'

# WebAssembly with Debian's emscripten, in build-web/, from one compile of the core (the
# software extended type, one thread): the page's core and, for `make test` and
# `make test-wasm`, the companion and the core's tests, which node runs on the real files.
# `make web` alone configures it without the tests (and so without GoogleTest's source).
WEB_CONFIG := -DCMAKE_BUILD_TYPE=Release -DQUENDAL_WERROR=ON -DQUENDAL_APP=OFF \
	-DQUENDAL_BENCH=OFF -DQUENDAL_SOFT_EXTENDED=ON -DQUENDAL_NO_TBB=ON -DQUENDAL_WEB=ON
WASM_TESTS := $(filter test test-wasm,$(MAKECMDGOALS))
WASM_TARGETS := $(if $(WASM_TESTS),quendal-calc quendal_core_tests) \
	$(if $(filter-out test-wasm,$(MAKECMDGOALS)),quendal_web)
wasm: deps
	$(EM_ENV) emcmake cmake -S . -B build-web $(CMAKE_GEN) $(WEB_CONFIG) \
	    $(if $(WASM_TESTS),-DBUILD_TESTING=ON -DQUENDAL_GTEST_SOURCE=/usr/src/googletest \
	        "-DCMAKE_CROSSCOMPILING_EMULATOR=node;--no-experimental-fetch",-DBUILD_TESTING=OFF)
	$(EM_ENV) cmake --build build-web -j $(JOBS) --target $(WASM_TARGETS)

# Every golden scenario must print the same bytes through the WebAssembly companion. The tests
# of a search or ranking that runs beside the caller need a second thread: left out.
WASM_NEED_THREADS := BackgroundRank.*:ParallelSearch.MessagesKeepComing*
test-wasm: wasm
	CALC_RUNNER="$(NODE_RUN)" bash scripts/golden.sh compare build-web/bin/quendal-calc.js
	$(NODE_RUN) build-web/bin/quendal_core_tests.js --gtest_filter='-$(WASM_NEED_THREADS)'

# The page: its core with the page's own files, the chart library and the icons, in
# build-web/site/.
WEB_PORT ?= 8137
web: wasm
	bash scripts/build-site.sh build-web

run-web: web
	@echo "Quendal: http://127.0.0.1:$(WEB_PORT)/"
	cd build-web/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The page in headless Chromium through WebDriver, against the native companion's figures.
test-web: web $(BUILD_STEP)
	/usr/bin/python3 -B tests/web/test_page.py --site build-web/site --calc build/bin/quendal-calc

check-desktop: deps
	desktop-file-validate app/desktop/org.quendal.Quendal.desktop
	appstreamcli validate --no-net app/desktop/org.quendal.Quendal.metainfo.xml
	bash scripts/check-mime.sh

package: $(BUILD_STEP)
	cd build && cpack -G DEB

check-package: package
	bash scripts/check-package.sh build

test-sanitize: deps
	cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUENDAL_WERROR=ON \
	    -DQUENDAL_SANITIZE=ON -DQUENDAL_BENCH=OFF -DQUENDAL_APP=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

# The searches that run on several threads, under ThreadSanitizer: the core, the companion
# and their tests and the search fuzz target's replay only, and of those the tests labelled tsan
# (see CMakeLists.txt).
test-tsan: deps
	cmake -S . -B build-tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDAL_WERROR=ON \
	    -DQUENDAL_TSAN=ON -DQUENDAL_APP=OFF -DQUENDAL_BENCH=OFF
	cmake --build build-tsan -j $(JOBS) --target quendal_core_tests quendal_cli_tests replay_search
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 atexit_sleep_ms=0 suppressions=$(CURDIR)/tests/tsan/suppressions.txt" \
	    ctest --output-on-failure -j $(JOBS) -L tsan

fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUENDAL_WERROR=ON -DQUENDAL_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	FUZZ_JOBS=$(FUZZ_JOBS) bash scripts/run-fuzz.sh build-fuzz/bin $(FUZZ_SECONDS)

# Each fuzz target for FUZZ_SECONDS (e.g. make fuzz-long FUZZ_SECONDS=3600), or until FUZZ_RUNS
# executions when that is set, keeping the corpora in FUZZ_CORPUS (an input slower than 10 s is
# a finding), then the lines and branches of the core that the corpora reach (llvm-cov).
# FUZZ_ONLY="search companion" runs just those targets.
fuzz-long: deps
	CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUENDAL_WERROR=ON -DQUENDAL_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	CXX=clang++ cmake -S . -B build-fuzz-cov $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUENDAL_WERROR=ON -DQUENDAL_FUZZ=ON -DQUENDAL_FUZZ_COVERAGE=ON
	cmake --build build-fuzz-cov -j $(JOBS)
	FUZZ_TIMEOUT=10 FUZZ_JOBS=$(FUZZ_JOBS) bash scripts/run-fuzz.sh build-fuzz/bin $(FUZZ_SECONDS) \
	    $(FUZZ_CORPUS)
	bash scripts/fuzz-coverage.sh build-fuzz-cov/bin $(FUZZ_CORPUS)

# After a deliberate change of a figure: rewrite the golden expected files, then review the diff.
golden-update: $(BUILD_STEP)
	bash scripts/golden.sh update build/bin/quendal-calc
	git diff --stat tests/golden

# Mutation testing (not part of `make test`: it builds and tests every mutant) of the C++ files
# FILES="model/a.cpp io/b.h" or of those changed since SINCE=<revision>, on JOBS copies of the
# tree in build-mutate/ side by side; MAX=N runs a sample of N (SEED=S), MUTATE_ARGS passes more
# options (e.g. --list, --ops rel,neg, --lines 10-40). See README.md.
mutate: deps
	python3 scripts/mutate.py $(if $(FILES),--files $(FILES)) $(if $(SINCE),--since $(SINCE)) \
	    --jobs $(JOBS) $(if $(MAX),--max $(MAX)) $(if $(SEED),--seed $(SEED)) $(MUTATE_ARGS)

bench: build
	./build/bin/quendal_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-fuzz build-fuzz-cov build-tsan build-mutate build-soft build-arm64 \
	    build-wasm build-web build-check-run build-check-web
