# Tarnhollow: the two commands of the README, and a few helpers.
#   make run    install what is missing, build, stage build/run/ and start the game
#   make test   the same set-up, then every test through CTest
#   make contact-sheet   redraw docs/contact-sheet.png from the generated assets
#   make gallery         render the fixed views of docs/gallery/ through the real frame
#   make soak MINUTES=30 random play on the real game; memory in build/soak.csv and .png
PRESET ?= release
JOBS ?= $(shell nproc)
RUN_ARGS ?=
MINUTES ?= 30

.PHONY: all deps configure build run test clean contact-sheet gallery soak

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

clean:
	rm -rf build
