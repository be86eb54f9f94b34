# Thin wrapper over scripts/install-deps and the CMake presets.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: deps build run test kill-test stress-test asan-test bench fuzz package package-test format clean

deps:
	./scripts/install-deps

build: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

# Starts the player in the bundled demo's folder, so that the file dialog opens on the demo.
run: build
	cd build/dev/demo/Przygoda && exec ../../app/przygoda

test: build
	ctest --preset dev -j $(JOBS)

# The story editor's journal and save under 200 kills at random moments (make test runs 20).
kill-test: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS) --target kill_driver
	python3 tests/editor/kill_test.py build/dev/tests/editor/kill_driver build/dev/tests/editor/kill-test --kills 200

# The whole suite ten times with ctest -j2 while stress-ng loads every core.
stress-test: build
	./scripts/stress-test 10

asan-test: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	./bench/run-all build/release

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	./fuzz/run-all build/fuzz $(FUZZ_SECONDS)

# The .deb and its debug symbols (przygoda-dbgsym), in build/package.
package: deps
	cmake --preset package
	cmake --build --preset package -j $(JOBS)
	cd build/package && cpack -G DEB

# Debian's checks on the package, then the packaged player started as the desktop menu starts it.
package-test: package
	./tests/package/check.sh build/package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
