# The project's commands. `make test` works on a fresh Debian machine: it installs what is
# missing, configures, builds and runs every test. `make run` starts the program against the
# controller simulator.

BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev locales xvfb xauth fonts-liberation2
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test run bench install package screenshots clean

all: build

# Installs the Debian packages that are missing, and the ru_RU.UTF-8 locale that the
# locale-independence tests switch to.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi
	@locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$$' || \
	  $(SUDO) localedef -i ru_RU -f UTF-8 ru_RU.UTF-8

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

run: build
	./tools/run-with-simulator.sh $(BUILD)

bench: build
	./$(BUILD)/link_bench
	./$(BUILD)/monitor_bench

# Installs under PREFIX (default /usr/local): the program and its help document, a launcher,
# a desktop entry and an icon.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD)/, installable with `apt install ./build/mervolante-lpg_*.deb`.
package: build
	cd $(BUILD) && cpack -G DEB

# One picture per page into docs/page-<name>.png, taken offscreen against the simulator.
screenshots: build
	cd $(BUILD) && ORV_SCREENSHOT_DIR=$(CURDIR)/docs QT_QPA_PLATFORM=offscreen ./test_ui --gtest_filter='Screenshots.*'

clean:
	rm -rf $(BUILD)
