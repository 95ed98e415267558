# The two commands a newcomer needs: `make demo` and `make test`. Both set up
# the machine first (idempotent) and build what they use.
SHELL := /bin/bash
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
JOBS ?= 2
WINE_ENV := $(ROOT)/tools/wine/wine-env.sh

# Loopback deployment values of the test builds; the stand-in services listen there.
TEST_HOSTS := -DKESTRIX_UPDATE_HOST=127.0.0.1:18080 -DKESTRIX_LOGCONF_HOST=localhost:18443 \
  -DKESTRIX_COLLECTOR_HOST=localhost:18444 -DKESTRIX_HELP_HOST=localhost
WIN32_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake \
  -DKESTRIX_DEPS_DIR=$(BUILD)/deps/win32

.PHONY: all setup deps deps-release native win32 win32-release asan tsan fuzz test demo clean

all: win32

setup:
	@$(ROOT)/tools/setup.sh

deps: setup
	@$(ROOT)/tools/build-deps-win32.sh $(BUILD)/deps/win32 posix

deps-release: setup
	@$(ROOT)/tools/build-deps-win32.sh $(BUILD)/deps/win32-release win32

win32: deps
	@cmake -S . -B $(BUILD)/win32 $(WIN32_FLAGS) -DKESTRIX_TEST_HOOKS=ON $(TEST_HOSTS) \
	  "-DCMAKE_CROSSCOMPILING_EMULATOR=$(WINE_ENV);run" >/dev/null
	@cmake --build $(BUILD)/win32 -j$(JOBS)

# What a release ships: default deployment values, no test seams, no tests,
# and the win32 thread model, so that Windows XP can load it.
win32-release: deps-release
	@cmake -S . -B $(BUILD)/win32-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake -DKESTRIX_MINGW_THREADS=win32 -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s \
	  -DKESTRIX_DEPS_DIR=$(BUILD)/deps/win32-release -DKESTRIX_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)/win32-release -j$(JOBS) --target KestrixOfficeInstaller

native: setup win32
	@cmake -S . -B $(BUILD)/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKESTRIX_WIN32_DIR=$(BUILD)/win32 -DKESTRIX_RELEASE_DIR=$(BUILD)/win32-release >/dev/null
	@cmake --build $(BUILD)/native -j$(JOBS)

asan: setup
	@cmake -S . -B $(BUILD)/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_SANITIZE=address,undefined >/dev/null
	@cmake --build $(BUILD)/asan -j$(JOBS) --target kestrix_unit_tests

tsan: setup
	@cmake -S . -B $(BUILD)/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_SANITIZE=thread >/dev/null
	@cmake --build $(BUILD)/tsan -j$(JOBS) --target kestrix_unit_tests

# The answer fuzzer: libFuzzer with ASan and UBSan, seeds replayed, then a
# short run from them (FUZZ_SECONDS).
FUZZ_SECONDS ?= 30
fuzz: setup
	@cmake -S . -B $(BUILD)/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRIX_FUZZ=ON -DKESTRIX_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)/fuzz -j$(JOBS) --target kestrix_answer_fuzzer
	@rm -rf $(BUILD)/fuzz/corpus && cp -r fuzz/corpus/answer $(BUILD)/fuzz/corpus
	@$(BUILD)/fuzz/fuzz/kestrix_answer_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=0 \
	  -dict=fuzz/answer.dict $(BUILD)/fuzz/corpus 2>$(BUILD)/fuzz/answer-fuzzer.log \
	  || { tail -40 $(BUILD)/fuzz/answer-fuzzer.log; exit 1; }
	@echo "answer fuzzer: $(FUZZ_SECONDS) s, no finding"

test: native win32 win32-release asan tsan fuzz
	@$(BUILD)/asan/tests/unit/kestrix_unit_tests --gtest_brief=1
	@$(BUILD)/tsan/tests/unit/kestrix_unit_tests --gtest_brief=1
	@$(WINE_ENV) start
	@trap '$(WINE_ENV) stop' EXIT; \
	  ctest --test-dir $(BUILD)/win32 --output-on-failure && \
	  ctest --test-dir $(BUILD)/native --output-on-failure

demo: native
	@$(ROOT)/tools/demo.sh

# Every view of the installer in every language under Wine, as pictures with
# an index page: build/gallery/index.html.
.PHONY: gallery
gallery: native
	@$(ROOT)/tools/gallery/gallery.sh

.PHONY: bench
bench: native win32
	@$(ROOT)/bench/run-download-bench.sh

clean:
	rm -rf $(BUILD)
