# Marovin: `make run` starts the editor, `make test` runs every test.
# Both install what is missing first (Debian packages, as root).

BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build run test asan-test clean

all: build

deps:
	@sh scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@sh scripts/run.sh $(BUILD_DIR)/marovin $(ARGS)

test: build
	@sh scripts/test.sh $(BUILD_DIR)

asan-test: deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DMAROVIN_ASAN=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	@sh scripts/test.sh $(ASAN_BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR)
