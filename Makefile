# Marovin: `make run` starts the editor, `make test` runs every test.
# Both install what is missing first (Debian packages, as root).
# `make install` and `make package` only name what is missing and stop,
# unless DEPS=1 lets them install it.

BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build run test install uninstall package asan-test fuzz clean

DEPS ?=
DEPS_FLAGS =
ifneq ($(MAKECMDGOALS),)
ifeq ($(filter-out install package,$(MAKECMDGOALS)),)
DEPS_FLAGS = --build-only $(if $(filter 1,$(DEPS)),,--check)
endif
endif

all: build

deps:
	@sh scripts/install-deps.sh $(DEPS_FLAGS)

configure: deps
	@cmake -S . -B "$(BUILD_DIR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build "$(BUILD_DIR)" -j $(JOBS)

# The editor alone: the tests are not built for a start.
run: configure
	@cmake --build "$(BUILD_DIR)" -j $(JOBS) --target marovin
	@sh scripts/run.sh "$(BUILD_DIR)/marovin" $(ARGS)

test: build
	@sh scripts/test.sh "$(BUILD_DIR)"

# Into /usr/local, or PREFIX=...; see README "Installing". The record of
# what was installed stays in $(BUILD_DIR) for `make uninstall`. Paths are
# quoted in every recipe, so a folder with a space in its name is one path.
PREFIX ?= /usr/local
install: build
	@sh scripts/install.sh "$(BUILD_DIR)" "$(PREFIX)"

# Removes what `make install` put into PREFIX, and nothing else.
uninstall:
	@sh scripts/uninstall.sh "$(BUILD_DIR)" "$(PREFIX)"

# The Debian package, in $(BUILD_DIR).
package: build
	@cd "$(BUILD_DIR)" && cpack -G DEB

# The build runs our icon renderer, which would trip the leak checker on the
# toolkit's own one-off allocations; the tests run with a suppression list
# for those instead.
asan-test: deps
	@cmake -S . -B "$(ASAN_BUILD_DIR)" -DCMAKE_BUILD_TYPE=Debug -DMAROVIN_ASAN=ON >/dev/null
	@ASAN_OPTIONS=detect_leaks=0 cmake --build "$(ASAN_BUILD_DIR)" -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		sh scripts/test.sh "$(ASAN_BUILD_DIR)"

# Every fuzz target for FUZZ_SECONDS each, built with clang; see README.
fuzz: deps
	@sh scripts/fuzz.sh "$(FUZZ_BUILD_DIR)" $(FUZZ_SECONDS)

clean:
	@rm -rf "$(BUILD_DIR)" "$(ASAN_BUILD_DIR)" "$(FUZZ_BUILD_DIR)"
