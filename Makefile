# Muralto: two commands do everything on a fresh Debian 12 machine.
#   make run    set up, build the Windows program and start it under Wine
#   make test   set up, build the native, fuzz and Windows trees and run every test
#   make bench  times the picture converters against djpeg, tiff2rgba, pngtopnm, dwebp and
#               ImageMagick, and under Wine the import step by step, the add flow's workers,
#               the start-up with 500 wallpapers and what the hidden program costs a minute
#   make package  builds both Windows trees and copies their zips and NSIS installers to dist/
#   make test-stress [RUNS=5]  the Windows tests RUNS times beside two busy loops
#   make fuzz [FUZZ_SECONDS=60]  each fuzz target explores from random seeds; a failing input
#               is kept in tests/fuzz/<target>_regressions/, which make test replays
#   make windows32, make test-windows32  the 32-bit build and its tests (where the machine can
#               run 32-bit programs; elsewhere test-windows32 says so and passes)
# Build trees: build/native (g++ with ASan and UBSan), build/fuzz (clang, libFuzzer),
# build/windows (MinGW-w64, x86-64, tested under 64-bit Wine), build/windows32 (MinGW-w64, i686).
# Each can be moved: make WINDOWS=/tmp/w ...

JOBS ?= $(shell nproc)
NATIVE ?= build/native
FUZZ ?= build/fuzz
WINDOWS ?= build/windows
WINDOWS32 ?= build/windows32
FUZZ_SECONDS ?= 60
VERSION := $(shell sed -n 's/^project.Muralto VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
CTEST := ctest --output-on-failure -j $(JOBS)
RUNS ?= 5

.PHONY: all setup native fuzz fuzz-build windows windows32 test test-native test-fuzz \
	test-windows test-windows32 test-stress run bench bench-setup package clean

all: native fuzz-build windows

setup:
	@bash scripts/setup

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug

$(FUZZ)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=Debug -DMURALTO_FUZZ=ON

# The x64 installer's test takes over an installation made by the 32-bit tree's installer.
$(WINDOWS)/CMakeCache.txt:
	cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake \
	  -DMURALTO_SETUP32=$(abspath $(WINDOWS32))/dist/Muralto-$(VERSION)-setup.exe

$(WINDOWS32)/CMakeCache.txt:
	cmake -S . -B $(WINDOWS32) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake

native: setup $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

fuzz-build: setup $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) -j $(JOBS)

fuzz: fuzz-build
	bash scripts/fuzz $(FUZZ) $(FUZZ_SECONDS)

windows: setup $(WINDOWS)/CMakeCache.txt
	cmake --build $(WINDOWS) -j $(JOBS)

windows32: setup $(WINDOWS32)/CMakeCache.txt
	cmake --build $(WINDOWS32) -j $(JOBS)

test-native: native
	cd $(NATIVE) && $(CTEST)

test-fuzz: fuzz-build
	cd $(FUZZ) && $(CTEST)

test-windows: windows
	scripts/with-display $(abspath $(WINDOWS))/wineprefix sh -c 'cd $(WINDOWS) && $(CTEST)'

# Only the 64-bit tree: the 32-bit one has a target of its own.
test: test-native test-fuzz test-windows

# The 32-bit tests need a machine that can run 32-bit programs, which is detected, never set up.
test-windows32:
	@if bash scripts/can-run-32bit; then \
	  bash scripts/setup --windows32 && $(MAKE) --no-print-directory windows32 && \
	  scripts/with-display $(abspath $(WINDOWS32))/wineprefix sh -c 'cd $(WINDOWS32) && $(CTEST)'; \
	else \
	  echo "test-windows32: skipped: this machine cannot run 32-bit programs"; \
	fi

# The suite must pass on busy cores too: see scripts/test-stress.
test-stress: windows
	bash scripts/test-stress $(WINDOWS) $(RUNS) $(JOBS)

run: windows
	@bash scripts/run-program $(WINDOWS)

# The benchmark lives in the native tree but builds without its sanitizers; not part of test.
bench-setup:
	@bash scripts/setup --bench

bench: bench-setup $(NATIVE)/CMakeCache.txt windows
	cmake --build $(NATIVE) -j $(JOBS) --target imaging_bench
	cd $(NATIVE)/bench && ./imaging_bench
	cmake --build $(WINDOWS) -j $(JOBS) --target import_bench
	mkdir -p $(WINDOWS)/bench-run
	scripts/with-display $(abspath $(WINDOWS))/wineprefix scripts/wine-run \
	  $(WINDOWS)/bin/import_bench.exe "Z:$$(echo $(abspath $(WINDOWS))/bench-run | tr / '\\')" \
	  "Z:$$(echo $(abspath $(WINDOWS))/bin | tr / '\\')"
	scripts/with-display $(abspath $(WINDOWS))/wineprefix-idle bash scripts/idle-cost $(WINDOWS)

# Each Windows tree makes its zip and installer (packaging/CMakeLists.txt); the 64-bit tree's
# tests install and uninstall its installer under Wine.
PACKAGES := $(WINDOWS)/dist/Muralto-$(VERSION)-win64.zip $(WINDOWS)/dist/Muralto-$(VERSION)-x64-setup.exe \
	$(WINDOWS32)/dist/Muralto-$(VERSION)-win32.zip $(WINDOWS32)/dist/Muralto-$(VERSION)-setup.exe
package: windows windows32
	mkdir -p dist
	cp $(PACKAGES) dist/
	@ls -l $(addprefix dist/,$(notdir $(PACKAGES)))

clean:
	rm -rf build dist
