# The two commands a newcomer needs: `make run` and `make test`.
PRESET ?= release
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test test-windows package-windows windows fuzz build bootstrap configure demo bench package format clean

run: build
	$(BUILD_DIR)/bin/quorvel

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# The whole program cross-built for Windows with MinGW-w64 against Qt for Windows (which
# `scripts/bootstrap --windows` unpacks or builds into ~/.cache/quorvel), every test run under Wine in a Wine
# prefix inside build/windows. (CMAKE_CXX_COMPILER_LAUNCHER=ccache in the environment applies here too.)

windows:
	@scripts/bootstrap --windows
	@test -f build/windows/build.ninja || cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

test-windows: windows
	ctest --preset windows -j $(JOBS)

# build/windows/Quorvel-VERSION-win64.zip (portable) and Quorvel-VERSION-win64-setup.exe (NSIS installer).
package-windows: windows
	cmake --build --preset windows --target package_zip
	cd build/windows && cpack -G NSIS
	@ls -l build/windows/Quorvel-*-win64.zip build/windows/Quorvel-*-win64-setup.exe

# The fuzz targets built with clang and libFuzzer into build/fuzz, each run for FUZZ_SECONDS from its seed
# corpus; an input that breaks a target is kept in build/fuzz/crashes/ and the run fails.
FUZZ_SECONDS ?= 180
fuzz:
	@scripts/bootstrap --fuzz
	@test -f build/fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/fuzz build/fuzz $(FUZZ_SECONDS)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

configure: bootstrap
	@test -f $(BUILD_DIR)/build.ninja || cmake --preset $(PRESET)

bootstrap:
	@scripts/bootstrap

demo: build
	scripts/demo $(BUILD_DIR)/bin

# The Debian package (build/$(PRESET)/quorvel_VERSION_ARCH.deb), made by CPack from the install rules.
package: build
	cmake --build --preset $(PRESET) --target package

bench: build
	for b in $(BUILD_DIR)/bench/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] && [ "$${b##*/}" != bench_FloorRun ] || continue; \
	    QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done
	bench/run_scale.sh $(BUILD_DIR)
	bench/run_check.sh $(BUILD_DIR)

format:
	cmake --build --preset $(PRESET) --target format

clean:
	rm -rf build
