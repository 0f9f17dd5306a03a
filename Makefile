# Front door of the project: `make` builds, `make test` builds and runs every test.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure --timeout 600

.PHONY: all bootstrap windows native native-sanitize test test-native test-sanitize \
        test-windows fuzz fuzz-short bench demo clean

all: windows native

bootstrap:
	@tools/bootstrap

build/%/build.ninja: | bootstrap
	cmake --preset $* >/dev/null

windows: bootstrap build/windows/build.ninja
	cmake --build build/windows -j $(JOBS)

native: bootstrap build/native/build.ninja
	cmake --build build/native -j $(JOBS)

native-sanitize: bootstrap build/native-sanitize/build.ninja
	cmake --build build/native-sanitize -j $(JOBS)

test: all native-sanitize
	$(MAKE) --no-print-directory -k test-native test-sanitize fuzz-short test-windows

test-native: native
	ctest --test-dir build/native $(CTEST_FLAGS) -j $(JOBS)

test-sanitize: native-sanitize
	ctest --test-dir build/native-sanitize $(CTEST_FLAGS) -j $(JOBS)

# Windows tests run in the Wine sandbox: one Xvfb and wineserver for the whole run.
test-windows: windows
	tools/wine-sandbox session -- ctest --test-dir build/windows $(CTEST_FLAGS)

fuzz: bootstrap build/fuzz/build.ninja
	cmake --build build/fuzz -j $(JOBS)
	tools/run-fuzz build/fuzz $(or $(FUZZ_SECONDS),600)

# The short pass in make test: about a minute over the three fuzz targets.
fuzz-short: bootstrap build/fuzz/build.ninja
	cmake --build build/fuzz -j $(JOBS)
	@if [ -x tools/run-fuzz ]; then tools/run-fuzz build/fuzz $(or $(FUZZ_SECONDS),20); else echo "no fuzz targets yet"; fi

bench: bootstrap build/bench/build.ninja windows
	cmake --build build/bench -j $(JOBS)
	tools/run-benchmarks

demo: windows
	tools/demo

clean:
	rm -rf build
