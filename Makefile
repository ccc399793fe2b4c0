# Muralto: two commands do everything on a fresh Debian 12 machine.
#   make run    set up, build the Windows program and start it under Wine
#   make test   set up, build the native, fuzz and Windows trees and run every test
#   make bench  times the picture converters against djpeg, tiff2rgba, pngtopnm, dwebp and
#               ImageMagick, and the import step by step under Wine
#   make package  builds the Windows tree and copies its zip and NSIS installer to dist/
#   make test-stress [RUNS=5]  the Windows tests RUNS times beside two busy loops
# Build trees: build/native (g++ with ASan and UBSan), build/fuzz (clang, libFuzzer),
# build/windows (MinGW-w64, i686, tested under Wine). Each can be moved: make WINDOWS=/tmp/w ...

JOBS ?= $(shell nproc)
NATIVE ?= build/native
FUZZ ?= build/fuzz
WINDOWS ?= build/windows
VERSION := $(shell sed -n 's/^project.Muralto VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
CTEST := ctest --output-on-failure -j $(JOBS)
RUNS ?= 5

.PHONY: all setup native fuzz windows test test-native test-fuzz test-windows test-stress run bench bench-setup package clean

all: native fuzz windows

setup:
	@bash scripts/setup

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug

$(FUZZ)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=Debug -DMURALTO_FUZZ=ON

$(WINDOWS)/CMakeCache.txt:
	cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake

native: setup $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

fuzz: setup $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) -j $(JOBS)

windows: setup $(WINDOWS)/CMakeCache.txt
	cmake --build $(WINDOWS) -j $(JOBS)

test-native: native
	cd $(NATIVE) && $(CTEST)

test-fuzz: fuzz
	cd $(FUZZ) && $(CTEST)

test-windows: windows
	scripts/with-display $(abspath $(WINDOWS))/wineprefix sh -c 'cd $(WINDOWS) && $(CTEST)'

test: test-native test-fuzz test-windows

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
	  $(WINDOWS)/bin/import_bench.exe "Z:$$(echo $(abspath $(WINDOWS))/bench-run | tr / '\\')"

# The Windows tree makes both files (packaging/CMakeLists.txt); its tests install and uninstall
# the installer under Wine.
package: windows
	mkdir -p dist
	cp $(WINDOWS)/dist/Muralto-$(VERSION)-win32.zip $(WINDOWS)/dist/Muralto-$(VERSION)-setup.exe dist/
	@ls -l dist/Muralto-$(VERSION)-win32.zip dist/Muralto-$(VERSION)-setup.exe

clean:
	rm -rf build dist
