# The two set-up commands: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

PREFIX ?= /usr/local
DESTDIR ?=

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test deps build bench fuzz install

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Installs under PREFIX (default /usr/local), staged under DESTDIR when given.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR)

run: build
	cd $(BUILD_DIR)/game && ./gloamer

test: build
	cd $(BUILD_DIR) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD_DIR) --target run_benchmarks
	python3 bench/table.py $(BUILD_DIR)/bench/*_bench.json

# Runs every fuzz target (FUZZ_TARGETS) in turn under AddressSanitizer and
# UndefinedBehaviorSanitizer for FUZZ_SECONDS each, starting from its corpus
# in fuzz/corpus/NAME; new inputs go to $(FUZZ_DIR)/corpus/NAME, findings to
# $(FUZZ_DIR).
FUZZ_TARGETS ?= slot tiles font character level room control
fuzz:
	./scripts/install-deps.sh fuzz
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLOAMER_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target slot_fuzz
	mkdir -p $(FUZZ_DIR)/corpus
	cd $(FUZZ_DIR) && ./fuzz/slot_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 corpus $(CURDIR)/fuzz/corpus/slot
