# Tarnhollow: the two commands of the README, and a few helpers.
#   make run    install what is missing, build, stage the run folder and start the game
#   make test   the same set-up, then every test through CTest
#   make contact-sheet   redraw docs/contact-sheet.png from the generated assets
#   make fuzz   damaged copies of every kind of file the game reads through its loaders
# Each takes PRESET=release (the default), debug, asan or ci; every preset builds in
# build/<preset> and stages a run folder of its own (release: build/run).
PRESET ?= release
JOBS ?= $(shell nproc)
RUN_ARGS ?=

.PHONY: all deps configure build run test clean contact-sheet fuzz

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# The run folder is read from the preset's cache, so the game started is the one just built.
run: build
	cd "$$(sed -n 's/^TARNHOLLOW_RUN_DIR:[A-Z]*=//p' build/$(PRESET)/CMakeCache.txt)" && \
	  ./tarnhollow $(RUN_ARGS)

# Tests need an X display for the GL context; scripts/with-display starts Xvfb when there is none.
test: build
	@scripts/with-display ctest --preset $(PRESET) -j $(JOBS)

# 2000 damaged copies per file format, each loaded in a process of its own under 3 s and
# 1 GB; prints a table, and keeps any file that failed in build/<preset>/fuzz-failures.
fuzz: build
	@scripts/with-display cmake --build --preset $(PRESET) --target fuzz

# Redraws docs/contact-sheet.png from the staged Resources/ (the one generated image the
# repository keeps).
contact-sheet: build
	@cmake --build --preset $(PRESET) --target contact_sheet

clean:
	rm -rf build
