# make run    builds a release build and starts the sample game
# make test   builds the engine and the tests with sanitizers and runs every test
# make bench  builds a release build and runs the benchmarks
# make fuzz   runs the script fuzzer with random seeds for FUZZ_CALLS calls (sanitizer build)
# make soak   runs the sample game, then a game that remakes objects by name in every frame,
#             headless for 100,000 frames each, and checks memory stays flat
# make package builds a release build and a Debian package of it (build/package/velden_*.deb)
JOBS ?= $(shell nproc)
PROFILE ?= 1280x720
XVFB := $(if $(DISPLAY),,$(CURDIR)/scripts/with-xvfb -screen 0 1280x1024x24 --)

.PHONY: run test bench deps release clean format fuzz soak package

deps:
	./scripts/install-deps

release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELDEN_TESTS=ON >/dev/null
	cmake --build build/release -j $(JOBS)

run: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELDEN_TESTS=ON >/dev/null
	cmake --build build/release -j $(JOBS) --target velden-$(PROFILE)
	cd game && ../build/release/velden-$(PROFILE)

test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DVELDEN_SANITIZE=ON >/dev/null
	cmake --build build/test -j $(JOBS)
	# llvmpipe draws on one thread in the tests: with its worker threads, the leak checker's
	# tracer now and then crashes at exit while the machine is busy.
	cd build/test && LP_NUM_THREADS=0 SDL_AUDIODRIVER=dummy $(XVFB) ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELDEN_TESTS=ON >/dev/null
	cmake --build build/release -j $(JOBS) --target velden_bench
	SDL_AUDIODRIVER=dummy $(XVFB) ./build/release/velden_bench

fuzz: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DVELDEN_SANITIZE=ON >/dev/null
	cmake --build build/test -j $(JOBS) --target velden_tests
	SDL_AUDIODRIVER=dummy $(XVFB) ./scripts/fuzz.sh ./build/test/velden_tests

soak: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELDEN_TESTS=ON >/dev/null
	cmake --build build/release -j $(JOBS) --target velden-run
	SDL_AUDIODRIVER=dummy $(XVFB) ./scripts/soak.sh ./build/release/velden-run game
	# Objects made again under the same names in every frame: what the names drop is freed.
	SDL_AUDIODRIVER=dummy $(XVFB) ./scripts/soak.sh ./build/release/velden-run \
	    tests/data/soak_churn 8192

package: deps
	cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DVELDEN_TESTS=OFF >/dev/null
	cmake --build build/package -j $(JOBS) --target package
	ls build/package/velden_*.deb

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
