# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Thin wrapper around CMake. `make run` and `make test` are all a newcomer needs.
BUILD        ?= build
JOBS         ?= 2
BUILD_TYPE   ?= Release
FUZZ_SECONDS ?= 60
PREFIX       ?= $(HOME)/.local

CMAKE_FLAGS  ?=
export QT_QPA_PLATFORM ?= offscreen
# Relative paths in ccache's keys, so a second checkout of the tree reuses the same objects.
export CCACHE_BASEDIR ?= $(CURDIR)

.PHONY: all deps configure build test run bench fuzz sanitize tsan install uninstall package licences clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

run: build
	@QT_QPA_PLATFORM= tools/run-demo.sh $(BUILD)

bench: build
	@tools/run-bench.sh $(BUILD)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTOVIX_SANITIZE=address,undefined -DTOVIX_BENCH=OFF >/dev/null
	@cmake --build build-asan -j$(JOBS)
	cd build-asan && ctest --output-on-failure -j$(JOBS)

# The threading tests under ThreadSanitizer.
tsan: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTOVIX_SANITIZE=thread -DTOVIX_BENCH=OFF >/dev/null
	@cmake --build build-tsan -j$(JOBS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" ctest --output-on-failure -L threading -j$(JOBS)

fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DTOVIX_FUZZ=ON -DTOVIX_BENCH=OFF -DTOVIX_SANITIZE=address,undefined >/dev/null
	@cmake --build build-fuzz --target fuzzers -j$(JOBS)
	@tools/run-fuzz.sh build-fuzz $(FUZZ_SECONDS) $(JOBS)

install: build
	@cmake --install $(BUILD)

uninstall:
	@tools/uninstall.sh $(BUILD) $(PREFIX)

# A Debian package from its own build under /usr, checked before it is handed out.
package: deps
	@cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTOVIX_PACKAGE=ON >/dev/null
	@cmake --build build-package -j$(JOBS)
	@rm -f build-package/tovixman_*.deb
	@cd build-package && cpack >/dev/null
	@tools/check-package.sh build-package/tovixman_*.deb

# Every file of the tree says its copyright and licence (REUSE).
licences: deps
	@reuse lint

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz build-package
