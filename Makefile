# lumo: the two commands a fresh Debian 12 machine needs, and a few more.
#   make run   installs what is missing, builds, and starts lumo
#   make test  installs what is missing, builds and runs every test, also
#              under AddressSanitizer and UndefinedBehaviorSanitizer

JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 60
FUZZERS := Settings Text Compose CommandLine Export Sheets

.PHONY: all deps build run test test-release test-asan bench fuzz clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  build/default/app/lumo; \
	else \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): rendering the start-up label with lumo-render instead."; \
	  build/default/cli/lumo-render; \
	fi

test: test-release test-asan

test-release: deps
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	ctest --preset ci -j $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The Google Benchmark programs, then the whole-process timings of the speed goals.
bench: build
	@scripts/install-deps --bench
	@for b in build/default/bench/*Bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done
	bench/whole-process.sh

# Runs every fuzzer for FUZZ_SECONDS; what it finds new goes to build/fuzz/corpus,
# the checked-in seeds in fuzz/corpus stay as they are.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS) --target fuzzers
	@for f in $(FUZZERS); do \
	  mkdir -p build/fuzz/corpus/$$f; \
	  echo "== Fuzz$$f for $(FUZZ_SECONDS) s"; \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    build/fuzz/fuzz/Fuzz$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    build/fuzz/corpus/$$f fuzz/corpus/$$f >build/fuzz/Fuzz$$f.log 2>&1; \
	  status=$$?; grep -E 'stat::number_of_executed_units' build/fuzz/Fuzz$$f.log; \
	  if [ $$status -ne 0 ]; then tail -n 40 build/fuzz/Fuzz$$f.log; exit 1; fi; \
	done

clean:
	rm -rf build
