# The two set-up commands: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

PREFIX ?= /usr/local
DESTDIR ?=

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test deps build bench fuzz install soak tsan-soak playthroughs

deps:
	./scripts/install-deps.sh

# ccache, when installed, compiles again only what changed, in any copy of
# the tree: its paths are taken from the top of the tree.
CCACHE := $(shell command -v ccache)
export CCACHE_BASEDIR ?= $(CURDIR)

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
	    $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE))
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Installs under PREFIX (default /usr/local), staged under DESTDIR when given.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR)

run: build
	cd $(BUILD_DIR)/game && ./gloamer

test: build
	cd $(BUILD_DIR) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

# Composes the two playthroughs again after a room or a route changed; both
# share one cache of ways and places, so only what changed is searched.
PLAYTHROUGHS = ending8 ending9
playthroughs: build
	cd $(BUILD_DIR)/game && pids=; for ending in $(PLAYTHROUGHS); do \
	    ../tools/playcompose --cache ../playcompose.cache . ../../content/playthrough/$$ending.route \
	        ../../content/playthrough/$$ending.replay & pids="$$pids $$!"; \
	done; failed=0; for pid in $$pids; do wait $$pid || failed=1; done; exit $$failed

bench: build
	cmake --build $(BUILD_DIR) --target run_benchmarks
	python3 bench/game_measures.py $(BUILD_DIR)/game > $(BUILD_DIR)/bench/game_measures.tsv
	python3 bench/table.py $(BUILD_DIR)/bench/*_bench.json $(BUILD_DIR)/bench/game_measures.tsv

# A long game of random keys (SOAK_FRAMES, default 100000) printing the
# resident memory every 10,000 frames.
SOAK_FRAMES ?= 100000
soak: build
	cmake --build $(BUILD_DIR) --target soak
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD_DIR)/bench/soak $(SOAK_FRAMES)

# The soak run under ThreadSanitizer (TSAN_SOAK_FRAMES, default 10000) in
# its own build folder, on the game data of the plain build; it fails when
# ThreadSanitizer reports anything (exit code 66). It takes long: the lighting thread runs
# many times slower under the sanitizer.
TSAN_DIR ?= build-tsan
TSAN_SOAK_FRAMES ?= 10000
tsan-soak: build
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLOAMER_TSAN=ON
	cmake --build $(TSAN_DIR) -j $(JOBS) --target soak
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
	  $(TSAN_DIR)/bench/soak $(TSAN_SOAK_FRAMES) 1 $(CURDIR)/$(BUILD_DIR)/game

# Runs every fuzz target (FUZZ_TARGETS) in turn under AddressSanitizer and
# UndefinedBehaviorSanitizer for FUZZ_SECONDS each, starting from its corpus
# in fuzz/corpus/NAME; new inputs go to $(FUZZ_DIR)/corpus/NAME, findings to
# $(FUZZ_DIR).
FUZZ_TARGETS ?= slot savetool tiles font character level room control replay
fuzz:
	./scripts/install-deps.sh fuzz
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLOAMER_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) $(addprefix --target ,$(addsuffix _fuzz,$(FUZZ_TARGETS)))
	status=0; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t && \
	  (cd $(FUZZ_DIR) && ./fuzz/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	     -artifact_prefix=$$t- corpus/$$t $(CURDIR)/fuzz/corpus/$$t) || status=1; \
	done; exit $$status
