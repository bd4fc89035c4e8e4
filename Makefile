# lumo: the two commands a fresh Debian 12 machine needs, and a few more.
#   make run   installs what is missing, builds, and starts lumo
#   make test  installs what is missing, builds and runs every test, also
#              under AddressSanitizer and UndefinedBehaviorSanitizer

JOBS ?= $(shell nproc)

.PHONY: all deps build run test test-release test-asan bench clean

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

bench: build
	@for b in build/default/bench/*Bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf build
