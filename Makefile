# Tarnhollow: the two commands of the README, and a few helpers.
#   make run    install what is missing, build, stage the run folder and start the game
#   make test   the same set-up, then every test through CTest
#   make contact-sheet   redraw docs/contact-sheet.png from the generated assets
#   make gallery         render the fixed views of docs/gallery/ through the real frame
#   make soak MINUTES=30 random play on the real game; memory in build/soak.csv and .png
#   make bench           time the real frame against the bare required work; build/bench.json
#   make fuzz            damaged copies of every kind of file the game reads through its loaders
#   make install         the game for PREFIX (default /usr/local), below DESTDIR when given
#   make package         the Debian package build/tarnhollow_<version>_<arch>.deb
#   make icons           render the menu icons of packaging/icons/ through the real frame
# Each takes PRESET=release (the default), debug, asan or ci; every preset builds in
# build/<preset> and stages a run folder of its own (release: build/run).
PRESET ?= release
JOBS ?= $(shell nproc)
RUN_ARGS ?=
MINUTES ?= 30
BENCH_ARGS ?=
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps configure build run test clean contact-sheet gallery soak bench fuzz \
	install package icons

all: build

deps:
	@scripts/install-deps

# The presets build for the prefix /usr, the package's; make install builds for PREFIX.
CONFIGURE_ARGS ?=

configure: deps
	@cmake --preset $(PRESET) $(CONFIGURE_ARGS) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# The preset's own run folder, read from its cache, so what starts is what was just built.
RUN_DIR = "$$(sed -n 's/^TARNHOLLOW_RUN_DIR:[A-Z]*=//p' build/$(PRESET)/CMakeCache.txt)"

run: build
	cd $(RUN_DIR) && ./tarnhollow $(RUN_ARGS)

# Tests need an X display for the GL context; scripts/with-display starts Xvfb when there is none.
test: build
	@scripts/with-display ctest --preset $(PRESET) -j $(JOBS)

# 2000 damaged copies per file format, each loaded in a process of its own under 3 s of
# processor time and 1 GB; prints a table, and keeps any file that failed in build/<preset>/fuzz-failures.
fuzz: build
	@scripts/with-display cmake --build --preset $(PRESET) --target fuzz

# Redraws docs/contact-sheet.png from the staged Resources/ (the one generated image the
# repository keeps).
contact-sheet: build
	@cmake --build --preset $(PRESET) --target contact_sheet

gallery: build
	@scripts/with-display build/$(PRESET)/tools/tarnhollow-gallery $(RUN_DIR) docs/gallery

soak: build
	@scripts/with-display scripts/soak $(MINUTES) $(RUN_DIR) build

# A private X server large enough for the 1920x1080 window, unless there is a display.
bench: build
	@TARNHOLLOW_XVFB_SCREEN=1920x1200x24 scripts/with-display \
		build/$(PRESET)/tools/tarnhollow-bench $(RUN_DIR) --json build/bench.json $(BENCH_ARGS)

# The game, its data, man page, menu entry, icons and licences under PREFIX, stripped. The
# game is built for PREFIX, so it finds its data from any folder.
install: CONFIGURE_ARGS = -DCMAKE_INSTALL_PREFIX=$(PREFIX)
install: build
	DESTDIR="$(DESTDIR)" cmake --install build/$(PRESET) --strip

# The preset's build as a Debian package: CPack's DEB generator, in build/.
package: build
	@rm -f build/$(PRESET)/cpack/*.deb
	@cd build/$(PRESET) && cpack -G DEB -B $(CURDIR)/build/$(PRESET)/cpack
	@cp build/$(PRESET)/cpack/tarnhollow_*.deb build/
	@ls build/tarnhollow_*.deb

icons: build
	@scripts/with-display cmake --build --preset $(PRESET) --target icons

clean:
	rm -rf build
