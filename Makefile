# The project's commands. `make test` works on a fresh Debian machine: it installs what is
# missing, configures, builds and runs every test, then builds the tests again with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang, in $(ASAN_BUILD)), runs them there
# and gives each fuzz target a bounded run. `make run` starts the program against the
# controller simulator.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
# What the targets use: the build (Ninja, ccache, lld), Qt, GoogleTest, the fonts the window
# is laid out for, the locale the locale-independence tests switch to, and clang with its
# sanitizer and libFuzzer runtime for the second tree, ps (procps) for `make test`, lrelease
# for the text tables and the toolkit's own texts in the program's languages, and pdftotext
# (poppler-utils), with which the tests read back the service report's PDF.
PACKAGES   := cmake ninja-build ccache lld make g++ pkg-config qt6-base-dev libgl-dev \
              libgtest-dev locales fonts-liberation2 clang libclang-rt-14-dev procps \
              qt6-l10n-tools qt6-translations-l10n poppler-utils
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
GENERATOR  := -G Ninja

# Seconds each fuzz target runs in `make test` and in `make fuzz`.
FUZZ_SECONDS      ?= 8
FUZZ_LONG_SECONDS ?= 600
FUZZ_TARGETS      := $(basename $(notdir $(wildcard tests/fuzz/*Fuzz.cpp)))
# A sanitizer finding fails the test that ran into it.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp:print_suppressions=0

.PHONY: all deps build build-asan test test-asan fuzz fuzz-run run bench install package package-check screenshots clean

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
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

$(ASAN_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORV_SANITIZE=ON -DORV_FUZZ=ON

build-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The tests wait on the line and the timers far more than they compute: several run at once.
# The normal tests run beside the sanitizer tree's build, which takes longer than they do at
# three at a time; more would only load the machine under their timing. The sanitizer tests
# need the processor more: at four at a time a paced loader report or a window's activation
# came too late for its test.
TEST_JOBS      ?= 3
ASAN_TEST_JOBS ?= 3
# The tests run with HOME and the XDG folders in an empty folder of the build tree; anything
# written there fails the run (tools/with-empty-home.sh lists it).
HOME_GUARD     := $(CURDIR)/tools/with-empty-home.sh

# The sanitizer tree builds in the background from the start, at the lowest priority: it takes
# the processor whenever the normal build and then the normal tests leave it free, and the tests
# keep their timing. Once they are done, what is left of it (its compilers included) goes on at
# the normal priority: beside other work at that priority it would hardly move at the lowest.
# The fuzz runs come after the sanitizer tests: beside them, even at the lowest priority, they
# slowed the end-to-end tests against the simulator past their limits.
test: deps $(BUILD)/CMakeCache.txt $(ASAN_BUILD)/CMakeCache.txt
	@nice -n 19 cmake --build $(ASAN_BUILD) -j $(JOBS) > $(ASAN_BUILD)/build.log 2>&1 & asan=$$!; \
	  status=0; \
	  cmake --build $(BUILD) -j $(JOBS) && \
	  ( cd $(BUILD) && QT_QPA_PLATFORM=offscreen $(HOME_GUARD) $(abspath $(BUILD))/test-home \
	      ctest --output-on-failure -j $(TEST_JOBS) --timeout 300 ) \
	  || status=1; \
	  unnice() { for p in "$$@"; do renice -n 0 -p "$$p" > /dev/null 2>&1; unnice $$(ps -o pid= --ppid "$$p"); done; }; \
	  unnice $$asan; \
	  if wait $$asan; then echo "Sanitizer tree built"; else tail -n 80 $(ASAN_BUILD)/build.log; status=1; fi; \
	  exit $$status
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory fuzz-run FUZZ_RUN_SECONDS=$(FUZZ_SECONDS)

test-asan:
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen $(HOME_GUARD) $(abspath $(ASAN_BUILD))/test-home \
	  ctest --output-on-failure -j $(ASAN_TEST_JOBS) --timeout 600

# Each fuzz target starts from its corpus in tests/fuzz/corpus and keeps what it finds in
# $(ASAN_BUILD)/fuzz/<target> (the repository's corpus is not touched); an input that
# crashes is written to $(ASAN_BUILD)/fuzz/<target>-crash-* and fails the run. Keep such an
# input in tests/fuzz/corpus/<target> once it is fixed: every build replays the corpus.
fuzz: build-asan
	$(MAKE) --no-print-directory fuzz-run FUZZ_RUN_SECONDS=$(FUZZ_LONG_SECONDS)

# The targets run two at a time, one a core.
fuzz-run:
	@$(MAKE) --no-print-directory -j 2 $(addprefix fuzz-one-,$(FUZZ_TARGETS))

fuzz-one-%:
	@mkdir -p $(ASAN_BUILD)/fuzz/$*
	@$(SANITIZER_ENV) ./$(ASAN_BUILD)/fuzz_$* -max_total_time=$(FUZZ_RUN_SECONDS) -timeout=10 \
	  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$(ASAN_BUILD)/fuzz/$*- \
	  $(ASAN_BUILD)/fuzz/$* tests/fuzz/corpus/$* 2>$(ASAN_BUILD)/fuzz/$*.log \
	  || { tail -n 60 $(ASAN_BUILD)/fuzz/$*.log; exit 1; }
	@echo "fuzz_$*: $(FUZZ_RUN_SECONDS) s, $$(grep -E '^stat::number_of_executed_units' $(ASAN_BUILD)/fuzz/$*.log | tail -n 1)"

run: build
	./tools/run-with-simulator.sh $(BUILD)

# The benchmarks are built with everything else (so `make test` compiles them) and run here.
bench: build
	./bench/run-all.sh $(BUILD)

# Installs under PREFIX (default /usr/local): the program and its help document, a launcher,
# a desktop entry and an icon.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD)/, installable with `apt install ./build/mervolante-lpg_*.deb`.
package: build
	cd $(BUILD) && cpack -G DEB

# The package checked by lintian, which only this target installs: errors fail it.
package-check: package
	@dpkg-query -W -f='$${Status}' lintian 2>/dev/null | grep -q "ok installed" || { \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends lintian; }
	lintian --fail-on error $(BUILD)/mervolante-lpg_*.deb

# One picture per page into docs/page-<name>.png, taken offscreen against the simulator, and
# docs/history-playback.png of a recording played back.
screenshots: build
	head -c 16384 /dev/urandom > $(BUILD)/demo.bin
	./$(BUILD)/orv-imgmake --input $(BUILD)/demo.bin --output $(BUILD)/demo.img --target 96 --version 161 \
	  --date 2026-12-08 --name "Demo firmware for TELK50 and TELK100"
	cd $(BUILD) && ORV_SCREENSHOT_DIR=$(CURDIR)/docs QT_QPA_PLATFORM=offscreen ./test_ui --gtest_filter='Screenshots.*'
	cd $(BUILD) && ORV_SCREENSHOT_DIR=$(CURDIR)/docs QT_QPA_PLATFORM=offscreen ./test_monitor --gtest_filter='HistoryPlayback*'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
