# Tarnhollow: the two commands of the README, and a few helpers.
#   make run    install the game's packages, build the game and its data, and start it
#   make test   install every package, build everything, then every test through CTest
#   make build  the same set-up and build as make test, starting nothing
#   make install         the game for PREFIX (default /usr/local), below DESTDIR when given
#   make uninstall       removes what make install put below PREFIX (and DESTDIR)
#   make package         the Debian package build/tarnhollow_<version>_<arch>.deb
#   make contact-sheet   redraw docs/contact-sheet.png from the generated assets
#   make gallery         render the fixed views of docs/gallery/ through the real frame
#   make icons           render the menu icons of packaging/icons/ through the real frame
#   make soak MINUTES=30 random play on the real game; memory in build/soak.csv and .png
#   make bench           time the real frame against the bare required work; build/bench.json
#   make fuzz            damaged copies of every kind of file the game reads through its loaders
# Each takes PRESET=release (the default), debug, asan or ci; every preset builds in
# build/<preset> and stages a run folder of its own (release: build/run).
PRESET ?= release
JOBS ?= $(shell nproc)
RUN_ARGS ?=
MINUTES ?= 30
BENCH_ARGS ?=
PREFIX ?= /usr/local
DESTDIR ?=
# A prefix written with a tilde that no shell expanded, as in PREFIX=~/.local under sh.
override PREFIX := $(patsubst ~/%,$(HOME)/%,$(PREFIX))

.PHONY: all deps game-deps package-deps configure configure-game configure-tests game build run \
	test clean contact-sheet gallery soak bench fuzz install uninstall package icons

all: build

deps:
	@scripts/install-deps
game-deps:
	@scripts/install-deps game
package-deps:
	@scripts/install-deps game package

# The presets build for the prefix /usr, the package's; make install builds for PREFIX.
CONFIGURE_ARGS ?=
# A build folder configured for the first time leaves the tests out, so that the game alone
# needs none of their packages; make build and make test bring them in for good.
TESTS_UNLESS_CONFIGURED = $$(test -f build/$(PRESET)/CMakeCache.txt || echo -DBUILD_TESTING=OFF)

configure-game: game-deps
	@cmake --preset $(PRESET) $(TESTS_UNLESS_CONFIGURED) $(CONFIGURE_ARGS) >/dev/null
# Every tool's configuration, for the targets below that draw or time through the game.
configure: deps
	@cmake --preset $(PRESET) $(TESTS_UNLESS_CONFIGURED) $(CONFIGURE_ARGS) >/dev/null

# The game, and what it needs to start: the asset generator's Resources/ and the shaders
# in the run folder.
game: configure-game
	@cmake --build --preset $(PRESET) -j $(JOBS) --target tarnhollow

# The tests, and the fuzz target among them, switched on.
configure-tests: deps
	@cmake --preset $(PRESET) -DBUILD_TESTING=ON $(CONFIGURE_ARGS) >/dev/null

build: configure-tests
	@cmake --build --preset $(PRESET) -j $(JOBS)

# The preset's own run folder, read from its cache, so what starts is what was just built.
RUN_DIR = "$$(sed -n 's/^TARNHOLLOW_RUN_DIR:[A-Z]*=//p' build/$(PRESET)/CMakeCache.txt)"

run: game
	cd $(RUN_DIR) && ./tarnhollow $(RUN_ARGS)

# Tests need an X display for the GL context; scripts/with-display starts Xvfb when there is none.
test: build
	@scripts/with-display ctest --preset $(PRESET) -j $(JOBS)

# 2000 damaged copies per file format, each loaded in a process of its own under 3 s of
# processor time and 1 GB; prints a table, and keeps any file that failed in build/<preset>/fuzz-failures.
fuzz: configure-tests
	@scripts/with-display cmake --build --preset $(PRESET) -j $(JOBS) --target fuzz

# Redraws docs/contact-sheet.png from the staged Resources/ (the one generated image the
# repository keeps).
contact-sheet: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target contact_sheet

gallery: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target tarnhollow-gallery
	@scripts/with-display build/$(PRESET)/tools/tarnhollow-gallery $(RUN_DIR) docs/gallery

icons: configure
	@scripts/with-display cmake --build --preset $(PRESET) -j $(JOBS) --target icons

soak: configure game
	@scripts/with-display scripts/soak $(MINUTES) $(RUN_DIR) build

# A private X server large enough for the 1920x1080 window, unless there is a display.
bench: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target tarnhollow-bench
	@TARNHOLLOW_XVFB_SCREEN=1920x1200x24 scripts/with-display \
		build/$(PRESET)/tools/tarnhollow-bench $(RUN_DIR) --json build/bench.json $(BENCH_ARGS)

# The game, its data, man page, menu entry, icons and licences under PREFIX, stripped. The
# game is built for PREFIX, so it finds its data from any folder; below /usr and /usr/local
# it goes to games/, below any other prefix (~/.local) to bin/, where a login shell's PATH
# looks. The install keeps the list of its files, which make uninstall reads.
install: CONFIGURE_ARGS = -DCMAKE_INSTALL_PREFIX=$(PREFIX)
install: game
	DESTDIR="$(DESTDIR)" cmake --install build/$(PRESET) --strip

uninstall:
	@cmake -DROOT="$(DESTDIR)$(PREFIX)" -P packaging/uninstall.cmake

# The preset's build as a Debian package: CPack's DEB generator, in build/.
package: CONFIGURE_ARGS = -DCMAKE_INSTALL_PREFIX=/usr
package: package-deps game
	@rm -f build/$(PRESET)/cpack/*.deb
	@cd build/$(PRESET) && cpack -G DEB -B $(CURDIR)/build/$(PRESET)/cpack
	@cp build/$(PRESET)/cpack/tarnhollow_*.deb build/
	@ls build/tarnhollow_*.deb

clean:
	rm -rf build
