# The front door. `make run` and `make test` do all the set-up on a fresh Debian machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
FUZZ_SECONDS ?= 20
DATA       ?= $(BUILD)/demo-data

.PHONY: all bootstrap configure build test asan run bench fuzz format data clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure

asan: bootstrap
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DVS_SANITIZE=ON -DVS_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) -j $(JOBS) --output-on-failure

data: build
	scripts/make-data $(BUILD) $(DATA)

run: data
	scripts/run-demo $(BUILD) $(DATA)

bench: build
	scripts/run-benchmarks $(BUILD)

fuzz: bootstrap
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DVS_FUZZ=ON -DVS_SANITIZE=ON -DVS_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
