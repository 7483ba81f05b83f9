# Tarnhollow: the two commands of the README, and a few helpers.
#   make run    install what is missing, build, stage build/run/ and start the game
#   make test   the same set-up, then every test through CTest
PRESET ?= release
JOBS ?= $(shell nproc)
RUN_ARGS ?=

.PHONY: all deps configure build run test clean contact-sheet

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	cd build/run && ./tarnhollow $(RUN_ARGS)

# Tests need an X display for the GL context; scripts/with-display starts Xvfb when there is none.
test: build
	@scripts/with-display ctest --preset $(PRESET) -j $(JOBS)

clean:
	rm -rf build
