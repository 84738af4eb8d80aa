# The two commands of the README, and the few others a developer wants.
#   make demo   builds dist/Velquorin.asi and shows a drive in the simulated host
#   make test   builds everything and runs every test (native, sanitized, Windows under Wine,
#               the settings page in Chromium and Firefox ESR)
SHELL := /bin/bash
.PHONY: demo test deps linux linux-asan windows web dist bench fuzz clean

deps:
	@bash scripts/install-deps.sh

linux: deps
	@cmake --preset linux > /dev/null && cmake --build --preset linux

linux-asan: deps
	@cmake --preset linux-asan > /dev/null && cmake --build --preset linux-asan

windows: deps
	@cmake --preset windows > /dev/null && cmake --build --preset windows

# The settings page, dist/Velquorin-settings.html: one file, opened from disk.
web: deps
	@cmake --preset web > /dev/null && cmake --build --preset web

demo: windows linux web
	@build/linux/velquorin-sim demo --out build/demo
	@echo "The settings page: $(CURDIR)/dist/Velquorin-settings.html (open it in a browser)"

test: windows linux linux-asan web
	@bash scripts/run-tests.sh

dist: windows web
	@bash scripts/make-dist.sh

bench: linux windows
	@bash scripts/run-bench.sh

fuzz: deps
	@bash scripts/run-fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf build dist
