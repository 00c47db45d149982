# The two commands a newcomer needs:
#   make demo   both programs under Wine in a lab of simulated appliances
#   make test   every test: native (sanitizers, fuzz corpora), lab, Wine and end-to-end
# Other targets: make build, make native, make windows, make clean.
# Variables: BUILD=dir (default build), JOBS=n, LABEL=regex (ctest -L), TEST=regex (ctest -R).

BUILD ?= build
JOBS ?= $(shell nproc)
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
CTEST_ARGS := --output-on-failure -j $(JOBS) $(if $(LABEL),-L '$(LABEL)') $(if $(TEST),-R '$(TEST)')

.PHONY: all setup build windows native test demo clean

all: build

setup:
	@bash tools/setup.sh

windows: setup
	@cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw64.cmake >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

native: windows
	@CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DZT_WINDOWS_BUILD_DIR=$(CURDIR)/$(WINDOWS) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

build: native

test: build
	@tools/run-tests $(NATIVE) $(CTEST_ARGS)

demo: build
	@demo/run $(BUILD)

clean:
	rm -rf $(BUILD)
