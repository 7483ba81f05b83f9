# Tarnhollow: the two commands of the README, and a few helpers.
#   make run    install what is missing, build, stage build/run/ and start the game
#   make test   the same set-up, then every test through CTest
#   make contact-sheet   redraw docs/contact-sheet.png from the generated assets
#   make gallery         render the fixed views of docs/gallery/ through the real frame
#   make soak MINUTES=30 random play on the real game; memory in build/soak.csv and .png
#   make bench           time the real frame against the bare required work; build/bench.json
PRESET ?= release
JOBS ?= $(shell nproc)
RUN_ARGS ?=
MINUTES ?= 30
BENCH_ARGS ?=

.PHONY: all deps configure build run test clean contact-sheet gallery soak bench

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

# Redraws docs/contact-sheet.png from the staged Resources/ (the one generated image the
# repository keeps).
contact-sheet: build
	@cmake --build --preset $(PRESET) --target contact_sheet

gallery: build
	@scripts/with-display build/$(PRESET)/tools/tarnhollow-gallery build/run docs/gallery

soak: build
	@scripts/with-display scripts/soak $(MINUTES) build/run build

# A private X server large enough for the 1920x1080 window, unless there is a display.
bench: build
	@TARNHOLLOW_XVFB_SCREEN=1920x1200x24 scripts/with-display \
		build/$(PRESET)/tools/tarnhollow-bench build/run --json build/bench.json $(BENCH_ARGS)

clean:
	rm -rf build
