# The README's commands. Everything else is plain CMake.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE ?= cmake
# A new build folder is made for Ninja: it compiles each target's sources as
# soon as a core is free, where CMake's makefiles wait for the libraries a
# target links. A folder made before keeps the generator it was made with.
configure = $(CMAKE) -S . -B $(1) $(if $(wildcard $(1)/CMakeCache.txt),,-G Ninja)

.PHONY: deps deps-run deps-test all run test test-debug test-sanitize test-release check-memory bench fuzz format format-check clean

# Missing Debian packages are installed (as root) or named; each command
# asks only for what it needs (.ci/install-deps says which).
deps:
	@bash .ci/install-deps all
deps-run:
	@bash .ci/install-deps run
deps-test:
	@bash .ci/install-deps test

# Everything but the tests, optimised.
all: deps
	$(call configure,build/release) -DCMAKE_BUILD_TYPE=Release -DMTT_BUILD_TESTS=OFF
	$(CMAKE) --build build/release -j $(JOBS)

# mttgen alone, compiled in a few large units, then the first example
# generated to standard output. At -O1 rather than Release's -O3: on 2 cores
# the build took 62 to 66 s at -O2 (113 s of compiler time) and 41 to 49 s
# at -O1 (90 s), for a mttgen some 20% slower end to end; make all and make
# bench stay at -O3.
run: deps-run
	$(call configure,build/run) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
		-DMTT_BUILD_TESTS=OFF -DMTT_UNITY=ON
	$(CMAKE) --build build/run -j $(JOBS) --target mttgen
	./build/run/host/mttgen -m examples/classes/model.json examples/classes/classes.mtt

# The suite once, in the build that catches most: Debug under the address
# and undefined-behaviour sanitizers. The browser test runs in test-release.
test: test-sanitize

SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-sanitize: deps-test
	$(call configure,build/sanitize) -DCMAKE_BUILD_TYPE=Debug -DMTT_SANITIZE=ON -DMTT_UNITY=ON
	$(CMAKE) --build build/sanitize -j $(JOBS)
	cd build/sanitize && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS) -E '^explain_browser$$'

test-debug: deps-test
	$(call configure,build/debug) -DCMAKE_BUILD_TYPE=Debug
	$(CMAKE) --build build/debug -j $(JOBS)
	cd build/debug && ctest --output-on-failure -j $(JOBS)

# Release, where the block pool is on; with the browser test.
test-release: deps
	$(call configure,build/release-tests) -DCMAKE_BUILD_TYPE=Release -DMTT_UNITY=ON
	$(CMAKE) --build build/release-tests -j $(JOBS)
	cd build/release-tests && ctest --output-on-failure -j $(JOBS)

# The whole suite under valgrind; any leak or invalid access fails it. Each
# test binary runs as two shards rather than once per case: valgrind's
# start-up, paid per process, was most of the time. Compiled with -O1, as
# valgrind's manual advises: its reports stay exact, and the suite runs in
# well under half the time it takes at -O0. The browser test, which runs
# mttgen from Python, is left to test-release.
check-memory: deps
	$(call configure,build/memcheck) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DMTT_UNITY=ON -DMTT_TESTS_AS_SHARDS=ON
	$(CMAKE) --build build/memcheck -j $(JOBS)
	cd build/memcheck && ctest --output-on-failure -j $(JOBS) -E '^explain_browser$$' -T memcheck \
		--overwrite MemoryCheckCommand=$$(command -v valgrind) \
		--overwrite MemoryCheckCommandOptions="--leak-check=full --error-exitcode=99 --errors-for-leak-kinds=definite,indirect,possible"

# Also runs mttgen against Python's Jinja2 end to end: Debian's python3 with
# python3-jinja2, installed here when missing (as root), or named.
bench: deps
	@dpkg -s python3-jinja2 >/dev/null 2>&1 || { [ "$$(id -u)" -eq 0 ] && apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends python3-jinja2; } || \
		{ echo "make bench needs python3-jinja2: sudo apt-get install python3-jinja2" >&2; exit 1; }
	$(call configure,build/bench) -DCMAKE_BUILD_TYPE=Release -DMTT_BUILD_TESTS=OFF -DMTT_BUILD_BENCH=ON
	$(CMAKE) --build build/bench -j $(JOBS)
	./build/bench/bench/mtt_bench

# libFuzzer (clang): FUZZ_SECONDS per target, new inputs go to fuzz/corpus.
# The library's own messages on standard output are silenced while fuzzing.
FUZZ_SECONDS ?= 300
fuzz: deps-run
	CC=clang CXX=clang++ $(call configure,build/fuzz) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTT_BUILD_FUZZ=ON -DMTT_BUILD_TESTS=OFF
	$(CMAKE) --build build/fuzz -j $(JOBS) --target fuzz_template fuzz_model
	./build/fuzz/fuzz/fuzz_template -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 -max_len=4096 -close_fd_mask=1 \
		fuzz/corpus/template examples tests/host/parser/golden
	./build/fuzz/fuzz/fuzz_model -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 -close_fd_mask=1 \
		-dict=fuzz/model.dict fuzz/corpus/model examples

# The C++ sources follow .clang-format. format rewrites them in place;
# format-check changes nothing and fails naming the files that differ.
# Golden files are generated output, and the examples are quoted in the
# docs as they stand: both are left alone.
CLANG_FORMAT ?= clang-format
FORMAT_FILES = $(shell find mtt infra host tests bench fuzz -path '*/golden' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)

format:
	$(CLANG_FORMAT) -i $(FORMAT_FILES)

format-check:
	@out=$$($(CLANG_FORMAT) --dry-run --Werror $(FORMAT_FILES) 2>&1) && exit 0; \
	files=$$(printf '%s\n' "$$out" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u); \
	if [ -z "$$files" ]; then printf '%s\n' "$$out" >&2; exit 1; fi; \
	echo "not formatted as .clang-format says (make format fixes them):" >&2; \
	printf '%s\n' "$$files" >&2; exit 1

clean:
	rm -rf build
