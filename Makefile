# The two commands a newcomer needs:
#   make demo   both programs under Wine in a lab of simulated appliances
#   make test   every test: native (sanitizers, fuzz corpora), lab, Wine and end-to-end
#   make dist   what the user gets: build/Zentrive-<version>.zip (release programs, user guide, installer)
# Other targets: make build, make native, make windows, make release, make clean.
# Variables: BUILD=dir (default build), JOBS=n, LABEL=regex (ctest -L), TEST=regex (ctest -R).

BUILD ?= build
JOBS ?= $(shell nproc)
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
RELEASE := $(BUILD)/windows-release
TOOLCHAIN := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw64.cmake
CTEST_ARGS := --output-on-failure -j $(JOBS) $(if $(LABEL),-L '$(LABEL)') $(if $(TEST),-R '$(TEST)')

.PHONY: all setup build release windows native test dist demo clean

all: build

setup:
	@bash tools/setup.sh

# The programs that ship, optimised; the end-to-end scenarios run these. Only what the distribution needs is built.
release: setup
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF $(TOOLCHAIN) \
	  -DDIST_ZIP_DIR=$(abspath $(BUILD)) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS) --target Zentrive_Setup Pebblink zentrive utility_installer

# The test build: the programs and every Windows test, unoptimised.
windows: setup
	@cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(TOOLCHAIN) \
	  -DZT_RELEASE_BUILD_DIR=$(abspath $(RELEASE)) >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

native: windows release
	@CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DZT_WINDOWS_BUILD_DIR=$(CURDIR)/$(WINDOWS) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

build: native

test: build
	@tools/run-tests $(NATIVE) $(CTEST_ARGS)

# The guide's pictures come from two end-to-end tests; they run first when a picture is missing.
GUIDE_PICTURES := $(shell sed -n 's/^\[figure \([^]]*\)\].*/\1/p' dist/guide/Manual.txt)
dist: build
	@for f in $(GUIDE_PICTURES); do [ -f $(NATIVE)/artifacts/guide/$$f ] || missing=1; done; \
	if [ -n "$$missing" ]; then \
	  tools/run-tests $(NATIVE) --output-on-failure -R '^(dist_guide_pictures|distribution_wizard)$$'; fi
	@cmake --build $(RELEASE) -j $(JOBS) --target distribution

demo: build
	@demo/run $(BUILD)

clean:
	rm -rf $(BUILD)
