# The two commands a newcomer needs: `make demo` and `make test`. Both set up
# the machine first (idempotent) and build what they use.
SHELL := /bin/bash
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
JOBS ?= 2
WINE_ENV := $(ROOT)/tools/wine/wine-env.sh
# The widths of Windows program this machine runs under Wine ("win32 win64",
# "win64", or none); asked when a recipe needs it, after set-up. The demo, the
# gallery and the benchmarks ask for themselves (widths.sh --first).
WIDTHS = $(shell $(ROOT)/tools/wine/widths.sh)
# A recipe line that stops, saying why, where no width runs.
require_widths = @[ -n "$(WIDTHS)" ] || { $(ROOT)/tools/wine/widths.sh --explain; exit 1; }
empty :=
space := $(empty) $(empty)

# Loopback deployment values of the test builds; the stand-in services listen there.
include tools/standin/test-ports.mk
TEST_HOSTS := -DKESTRIX_UPDATE_HOST=127.0.0.1:$(STANDIN_UPDATE_PORT) \
  -DKESTRIX_LOGCONF_HOST=localhost:$(STANDIN_LOGCONF_PORT) \
  -DKESTRIX_COLLECTOR_HOST=localhost:$(STANDIN_COLLECTOR_PORT) -DKESTRIX_HELP_HOST=localhost \
  "-DKESTRIX_SETUP_SIGNER=Kestrix Test Signer" "-DKESTRIX_SETUP_SIGNER_ORGANIZATION=Kestrix Office tests" \
  "-DKESTRIX_SETUP_SIGNER_ISSUER=O=Kestrix Office tests, CN=Kestrix Office Test CA"
# A Windows test tree: test seams, loopback values, the tests' posix thread model.
TEST_TREE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRIX_TEST_HOOKS=ON $(TEST_HOSTS)

.PHONY: all setup deps deps-win64 deps-release deps-release-win64 native win32 win64 win32-release \
  win64-release release-reproducible release-smoke size asan tsan fuzz format-check test test-steps \
  stress demo gallery bench clean

all: win32 win64

setup:
	@$(ROOT)/tools/setup.sh

deps: setup
	@$(ROOT)/tools/build-deps-windows.sh $(BUILD)/deps/win32 i686 posix

deps-win64: setup
	@$(ROOT)/tools/build-deps-windows.sh $(BUILD)/deps/win64 x86_64 posix

deps-release: setup
	@$(ROOT)/tools/build-deps-windows.sh $(BUILD)/deps/win32-release i686 win32 small

deps-release-win64: setup
	@$(ROOT)/tools/build-deps-windows.sh $(BUILD)/deps/win64-release x86_64 win32 small

# The 32-bit test tree: what ships, with test seams.
win32: deps
	@cmake -S . -B $(BUILD)/win32 $(TEST_TREE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake \
	  -DKESTRIX_DEPS_DIR=$(BUILD)/deps/win32 >/dev/null
	@cmake --build $(BUILD)/win32 -j$(JOBS)

# The 64-bit test tree: the same tests, for kernels that run no 32-bit program.
win64: deps-win64
	@cmake -S . -B $(BUILD)/win64 $(TEST_TREE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-x86_64.cmake \
	  -DKESTRIX_DEPS_DIR=$(BUILD)/deps/win64 >/dev/null
	@cmake --build $(BUILD)/win64 -j$(JOBS)

# What a release ships: default deployment values, no test seams, no tests,
# and the win32 thread model, so that Windows XP can load it. The same
# configuration is built for x86-64 too, so that it runs end to end under
# Wine on every machine (make release-smoke); the 32-bit one is what ships.
RELEASE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKESTRIX_MINGW_THREADS=win32 -DKESTRIX_SMALL=ON -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s \
  -DKESTRIX_BUILD_TESTS=OFF
# $(call release_build,<source>,<build folder>,<i686|x86_64>,<deps folder>)
release_build = cmake -S $(1) -B $(2) $(RELEASE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-$(3).cmake \
  -DKESTRIX_DEPS_DIR=$(4) >/dev/null && \
  cmake --build $(2) -j$(JOBS) --target KestrixOfficeInstaller

# It prints the SHA-256 and what the bytes depend on besides the source.
win32-release: deps-release
	@$(call release_build,$(ROOT),$(BUILD)/win32-release,i686,$(BUILD)/deps/win32-release)
	@cd $(BUILD)/win32-release/app && sha256sum KestrixOfficeInstaller.exe | \
	  awk '{print "release: build/win32-release/app/" $$2 ", SHA-256 " $$1}'
	@$(ROOT)/tools/toolchain-versions.sh i686 win32

win64-release: deps-release-win64
	@$(call release_build,$(ROOT),$(BUILD)/win64-release,x86_64,$(BUILD)/deps/win64-release)

# Where the release's bytes come from, by library and by kind.
size: win32-release
	@python3 $(ROOT)/tools/size-breakdown.py $(BUILD)/win32-release/app/KestrixOfficeInstaller.map \
	  $(BUILD)/win32-release/app/KestrixOfficeInstaller.exe

# Anyone can rebuild the release and get the same bytes: a second copy of the
# source in another folder, with jsoncpp and Crypto++ built anew from their
# source packages in another folder too (not taken from the cache), built in
# another folder, must give the same file.
REPRODUCIBLE := $(BUILD)/reproducible
release-reproducible: win32-release
	@rm -rf $(REPRODUCIBLE) && mkdir -p $(REPRODUCIBLE)/source
	@git ls-files -z --cached --others --exclude-standard | \
	  tar -c --null -T - | tar -x -C $(REPRODUCIBLE)/source
	@$(REPRODUCIBLE)/source/tools/build-deps-windows.sh $(REPRODUCIBLE)/deps i686 win32 small
	@ls $(REPRODUCIBLE)/deps/src/*.dsc >/dev/null 2>&1 || \
	  { echo "release: the libraries were not rebuilt from their source packages"; exit 1; }
	@$(call release_build,$(REPRODUCIBLE)/source,$(REPRODUCIBLE)/build,i686,$(REPRODUCIBLE)/deps)
	@cmp $(BUILD)/win32-release/app/KestrixOfficeInstaller.exe \
	  $(REPRODUCIBLE)/build/app/KestrixOfficeInstaller.exe && \
	  echo "release: reproducible (a second build from a copy of the source, with jsoncpp and" \
	    "Crypto++ rebuilt from $$(cd $(REPRODUCIBLE)/deps/src && ls *.dsc | paste -sd' ') in" \
	    "another folder, gives the same bytes)"

# The native tree runs the Wine tests of the widths this machine runs, the
# release smoke tests among them.
native: setup win32 win64 win32-release win64-release
	@cmake -S . -B $(BUILD)/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKESTRIX_WIN32_DIR=$(BUILD)/win32 -DKESTRIX_WIN64_DIR=$(BUILD)/win64 \
	  "-DKESTRIX_WINE_WIDTHS=$(subst $(space),;,$(WIDTHS))" \
	  -DKESTRIX_WIN32_RELEASE_DIR=$(BUILD)/win32-release -DKESTRIX_WIN64_RELEASE_DIR=$(BUILD)/win64-release >/dev/null
	@cmake --build $(BUILD)/native -j$(JOBS)

# The release configuration run end to end under Wine with its production host
# names, in a network namespace of its own (root only; otherwise skipped, saying
# so): the PE32 bytes that ship where this machine runs them, and the x86-64
# build everywhere.
release-smoke: native
	$(require_widths)
	@ctest --test-dir $(BUILD)/native -L release-smoke --output-on-failure -V

asan: setup
	@cmake -S . -B $(BUILD)/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_SANITIZE=address,undefined >/dev/null
	@cmake --build $(BUILD)/asan -j$(JOBS) --target kestrix_unit_tests

tsan: setup
	@cmake -S . -B $(BUILD)/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIX_SANITIZE=thread >/dev/null
	@cmake --build $(BUILD)/tsan -j$(JOBS) --target kestrix_unit_tests

# The fuzzers (libFuzzer with ASan and UBSan): the service answer, the JSON
# object, the log document and the certificate names of the signature check. Each starts from a copy of its seeds in
# build/fuzz/corpus/<name>, runs for its seconds (the answer fuzzer 30, the
# others 15, or FUZZ_SECONDS each when given; FUZZ_RUNS=<n> runs n inputs
# each instead) and says how many inputs it ran and for how long.
# FUZZ_SANITIZE=undefined builds them without ASan, for long runs.
# A finding stops with the tail of build/fuzz/<name>-fuzzer.log; the input
# that caused it is kept as build/fuzz/<name>-crash-<hash> (or -leak-, -timeout-).
# Long runs get 8 GiB: ASan's allocator keeps the memory freed by deeply
# nested inputs, and its resident size passes libFuzzer's 2 GiB after a few
# million of them (the same input in a loop without ASan stays at 4 MiB).
FUZZERS := answer nrvjson logdocument distinguishedname
FUZZ_SANITIZE ?= address,undefined
fuzz_seconds = $(or $(FUZZ_SECONDS),$(if $(filter answer,$(1)),30,15))
fuzz_limit = $(if $(FUZZ_RUNS),-runs=$(FUZZ_RUNS) -rss_limit_mb=8192,-max_total_time=$(call fuzz_seconds,$(1)))
# $(call run_fuzzer,<name>): one recipe line.
define run_fuzzer
	@log=$(BUILD)/fuzz/$(1)-fuzzer.log; start=$$(date +%s); \
	  $(BUILD)/fuzz/fuzz/kestrix_$(1)_fuzzer $(call fuzz_limit,$(1)) -print_final_stats=1 \
	    -dict=fuzz/$(1).dict -artifact_prefix=$(BUILD)/fuzz/$(1)- $(BUILD)/fuzz/corpus/$(1) 2>$$log \
	  || { tail -40 $$log; exit 1; }; \
	  echo "$(1) fuzzer: $$(( $$(date +%s) - start )) s, $$(sed -n 's/^stat::number_of_executed_units: *//p' $$log) executions, no finding"

endef
fuzz: setup
	@cmake -S . -B $(BUILD)/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRIX_FUZZ=ON -DKESTRIX_BUILD_TESTS=OFF \
	  -DKESTRIX_FUZZ_SANITIZERS=$(FUZZ_SANITIZE) >/dev/null
	@cmake --build $(BUILD)/fuzz -j$(JOBS) --target $(FUZZERS:%=kestrix_%_fuzzer)
	@rm -rf $(BUILD)/fuzz/corpus && cp -r fuzz/corpus $(BUILD)/fuzz/corpus
	$(foreach f,$(FUZZERS),$(call run_fuzzer,$(f)))

# Every tracked C++ file in the repository's clang-format style.
format-check: setup
	@git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
	@echo "format: every C++ file as .clang-format says"

# The Windows trees' own tests (unit tests under Wine, resources) for each
# width this machine runs, then the native tree's, whose Wine tests carry the
# width in their names (e2e.win64, ...). The first and the last line (after
# set-up's, when it installs something) say which trees ran. A native test
# that fails runs once more before it counts as failed: the end-to-end tests
# drive real programs on a shared virtual desktop, and the output keeps both
# tries, so an occasional failure still shows.
test: setup
	@$(ROOT)/tools/wine/widths.sh --explain
	$(require_widths)
	@$(MAKE) --no-print-directory test-steps
	@$(ROOT)/tools/wine/widths.sh --explain

test-steps: format-check native release-reproducible asan tsan fuzz
	@$(BUILD)/asan/tests/unit/kestrix_unit_tests --gtest_brief=1
	@$(BUILD)/tsan/tests/unit/kestrix_unit_tests --gtest_brief=1
	@widths="$(WIDTHS)"; \
	  trap 'for w in $$widths; do KESTRIX_WINE_ARCH=$$w $(WINE_ENV) stop; done' EXIT; \
	  for w in $$widths; do \
	    KESTRIX_WINE_ARCH=$$w $(WINE_ENV) start >/dev/null && \
	    ctest --test-dir $(BUILD)/$$w --output-on-failure || exit 1; \
	  done; \
	  ctest --test-dir $(BUILD)/native -LE large --output-on-failure --repeat until-pass:2
	@[ "$$(id -u)" = 0 ] || echo "release smoke: skipped, as it needs root for a network namespace of its own"

# The installer's lifecycle with the user acting at random moments, many
# times, on each width the machine runs (make test runs a few of each).
STRESS_RUNS ?= 50
stress: native
	@$(ROOT)/tools/wine/widths.sh --explain
	$(require_widths)
	@widths="$(WIDTHS)"; \
	  trap 'for w in $$widths; do KESTRIX_WINE_ARCH=$$w $(WINE_ENV) stop; done' EXIT; \
	  KESTRIX_STRESS_RUNS=$(STRESS_RUNS) ctest --test-dir $(BUILD)/native -L stress --output-on-failure

demo: native
	@$(ROOT)/tools/wine/with-test-build.sh $(BUILD)/native/tools/demo/kestrix-demo $(BUILD)/demo

# Every view of the installer in every language under Wine, as pictures with
# an index page: build/gallery/index.html.
gallery: native
	@$(ROOT)/tools/gallery/gallery.sh

bench: native
	@$(ROOT)/bench/run-download-bench.sh
	@$(ROOT)/bench/run-program-bench.sh

clean:
	rm -rf $(BUILD)
