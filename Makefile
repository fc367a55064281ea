# Entry points for a fresh Debian machine. Each target installs what it needs.
JOBS ?= $(shell nproc)
ASAN_DIR := build/asan
RELEASE_DIR := build/release

.PHONY: deps test build run bench clean

deps:
	@bash tools/install-deps.sh

# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all.
test: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARKU_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

build: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARKU_TESTS=OFF -DTARKU_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# Starts the program from its folder under the build tree.
run: build
	$(RELEASE_DIR)/program/tarku

# Runs every benchmark; the first one that does not end with status 0 fails it.
bench: build
	@for b in $(RELEASE_DIR)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then \
	    QT_QPA_PLATFORM=offscreen "$$b" || { echo "$$b ended with status $$?" >&2; exit 1; }; \
	  fi; \
	done

clean:
	rm -rf build
