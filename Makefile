# SPDX-License-Identifier: GPL-2.0-or-later
# Copyright (C) 2026 The Dotwell and Pixvane authors

# The two everyday commands are `make run` and `make test`; each installs what it is missing
# first, and only that.
APP ?= pixvane
FILE ?=
# Taken as typed: make would otherwise read a $ in the name as one of its variables.
override FILE := $(value FILE)
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
# Where make was started (with make -C the shell's PWD), so that a relative FILE names the
# file the user meant.
START_DIR := $(if $(PWD),$(PWD),$(CURDIR))
# The recipes read these from the environment, never pasted into the shell text, so a name
# with quotes, apostrophes or blanks (FILE="Dad's pic.83i") reaches the program as it is.
export APP FILE PREFIX START_DIR

DEBUG_DIR := build/debug
RELEASE_DIR := build/release
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz
FUZZ_RUNS ?= 100000

VERSION := $(shell sed -n 's/^project.* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
PACKAGE_DIR := build/package

.PHONY: run test build-release build-debug bench compare-conversion fuzz clean format install uninstall package dist

build-release:
	@scripts/install-deps run
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDOTWELL_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) --parallel $(JOBS)

# Without a display there is nothing to start, so say so before building anything.
run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display (DISPLAY is not set). Run it on a desktop, or under a virtual"; \
	  echo "display: xvfb-run -a make run (xvfb-run comes with the Debian package xvfb)"; \
	  exit 1; \
	fi
	@$(MAKE) --no-print-directory build-release
	@program="$(RELEASE_DIR)/$$APP/$$APP"; \
	if [ -z "$$FILE" ]; then exec "$$program"; fi; \
	case "$$FILE" in /*) file=$$FILE ;; *) file=$$START_DIR/$$FILE ;; esac; \
	exec "$$program" "$$file"

# DESTDIR=... stages the tree for a packager. Without it the prefix's MIME, desktop and icon
# caches are refreshed, and uninstall removes what install_manifest.txt lists.
install: build-release
	@scripts/install-deps install
	@scripts/install-prefix install "$(RELEASE_DIR)" "$$PREFIX"

uninstall:
	@scripts/install-prefix uninstall "$(RELEASE_DIR)" "$$PREFIX"

# The Debian packages, built by dpkg-buildpackage in a copy of the source under build/package
# (it writes the .deb files one folder up), then checked by lintian.
package:
	@scripts/install-deps package
	@scripts/build-package "$(PACKAGE_DIR)"

# A source tarball of the committed tree, for someone without git.
dist:
	@command -v git >/dev/null && git rev-parse --git-dir >/dev/null 2>&1 || \
	  { echo "make dist: needs git and the repository (this is not a git checkout)"; exit 1; }
	@git diff --quiet HEAD -- || echo "make dist: note: changes not committed are left out"
	@mkdir -p build
	@git archive --format=tar.gz --prefix=dotwell-pixvane-$(VERSION)/ \
	  -o build/dotwell-pixvane-$(VERSION).tar.gz HEAD
	@echo build/dotwell-pixvane-$(VERSION).tar.gz

build-debug:
	@scripts/install-deps test
	@cmake -S . -B $(DEBUG_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDOTWELL_SANITIZE=ON >/dev/null
	@cmake --build $(DEBUG_DIR) --parallel $(JOBS)

# libdbus's own leak at exit is suppressed for the test runs only. The sanitizer's tracking of
# dynamic TLS misreads that of image plugins loaded at run time and crashes the leak check at
# exit, so it is off (static TLS and every heap block are still checked).
test: build-debug
	@cd $(DEBUG_DIR) && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ASAN_OPTIONS=intercept_tls_get_addr=0 \
	  ctest --output-on-failure --parallel $(JOBS)

# The on-screen benchmarks run on X as a user's do: under a virtual display of 1600 x 1000
# when there is none, on the offscreen platform only where Xvfb is missing.
BENCH_RUN = for b in drag_latency editor import convert file startup calcpic; do echo "== $$b"; \
	  BENCH_TABLE=$(CURDIR)/$(BENCH_DIR)/table.tsv $(BENCH_DIR)/bench/$${b}_bench $(BENCH_DIR)/bench || exit 1; done

bench:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDOTWELL_BUILD_BENCH=ON -DDOTWELL_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) --parallel $(JOBS)
	@rm -f $(BENCH_DIR)/table.tsv
	@if [ -z "$$DISPLAY" ] && command -v xvfb-run >/dev/null; then \
	  xvfb-run -a -s "-screen 0 1600x1000x24" sh -c '$(BENCH_RUN)'; \
	else $(BENCH_RUN); fi
	@$(BENCH_DIR)/bench/bench_table $(BENCH_DIR)/table.tsv

# Not a timing: scores the candidate conversion defaults on the pictures made here and the
# freely licensed test photos, prints the table docs/conversion.md quotes and draws its sheet.
compare-conversion:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDOTWELL_BUILD_BENCH=ON -DDOTWELL_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_DIR) --parallel $(JOBS) --target conversion_compare
	@scripts/conversion-photos $(BENCH_DIR)/photos || true
	@QT_QPA_PLATFORM=offscreen $(BENCH_DIR)/bench/conversion_compare $(BENCH_DIR)/photos \
	  docs/conversion-sheet.png | tee $(BENCH_DIR)/conversion-table.md

fuzz:
	@scripts/install-deps fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDOTWELL_BUILD_FUZZ=ON -DDOTWELL_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) --parallel $(JOBS) --target make_seeds ti92_reader_fuzz wmf_player_fuzz import_fuzz picture_frames_fuzz
	@QT_QPA_PLATFORM=offscreen $(FUZZ_DIR)/fuzz/make_seeds $(FUZZ_DIR)/seeds
	@for f in $(FUZZ_DIR)/fuzz/*_fuzz; do n=$$(basename $$f); echo "== $$n"; \
	  mkdir -p $(FUZZ_DIR)/corpus/$$n; \
	  QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="*.warning=false" LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
	    $$f -runs=$(FUZZ_RUNS) -max_len=8192 -rss_limit_mb=4096 -print_final_stats=1 \
	    $(FUZZ_DIR)/corpus/$$n $(FUZZ_DIR)/seeds/$$n > $(FUZZ_DIR)/$$n.log 2>&1; rc=$$?; \
	  grep -E '^(stat::|Done )' $(FUZZ_DIR)/$$n.log; \
	  if [ $$rc -ne 0 ] || grep -qE 'runtime error|ERROR: (Address|Leak|Undefined)Sanitizer|==ERROR' $(FUZZ_DIR)/$$n.log; then \
	    echo "$$n reported a fault: see $(FUZZ_DIR)/$$n.log"; grep -m 5 -E 'runtime error|ERROR' $(FUZZ_DIR)/$$n.log; exit 1; fi; done

format:
	@scripts/install-deps format
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
