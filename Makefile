# Entry points for people and CI. `make test` and `make run` install what they
# need (Debian 12, as root or through sudo) before they build.
BUILD_DIR ?= build
NATIVE_DIR := $(BUILD_DIR)/native
WIN_DIR := $(BUILD_DIR)/win
FUZZ_DIR := $(BUILD_DIR)/fuzz
BENCH_DIR := $(BUILD_DIR)/native-bench
FUZZ_SECONDS ?= 600
JOBS ?= $(shell nproc)
PORT ?=

.PHONY: all deps configure build test run dist clean

all: build

deps:
	@scripts/install-deps.sh

$(NATIVE_DIR)/build.ninja $(WIN_DIR)/build.ninja $(FUZZ_DIR)/build.ninja: deps
	scripts/configure-tree.sh $(BUILD_DIR) $(notdir $(@D))

configure: $(NATIVE_DIR)/build.ninja $(WIN_DIR)/build.ninja $(FUZZ_DIR)/build.ninja

# Builds the native, fuzz and Windows trees without running anything.
build: deps configure
	cmake --build $(NATIVE_DIR) -j $(JOBS)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	cmake --build $(WIN_DIR) -j $(JOBS)
	@printf 'subdirs("native" "fuzz" "win")\n' > $(BUILD_DIR)/CTestTestfile.cmake

# Every test: the native and fuzz cases first, while the Windows side is
# installed and its Wine prefix made; then the Windows cases in a test
# session, with the cores to themselves.
test:
	scripts/build-and-test.sh $(BUILD_DIR) $(JOBS)

# The control panel under Wine on this display (Xvfb when there is none).
run: build
	@scripts/install-deps.sh run
	cmake --build $(WIN_DIR) -j $(JOBS) --target vrx-demo
	scripts/run.sh $(BUILD_DIR) "$(PORT)"

# The Windows release files in dist/: the installer and the portable zip.
dist: deps
	scripts/dist.sh $(BUILD_DIR)

# Measured reliability and speed: one report of figures, each with its unit
# and how it was measured.
.PHONY: bench stress fuzz

$(BENCH_DIR)/build.ninja: deps
	scripts/configure-tree.sh $(BUILD_DIR) native-bench

WIN_BENCH_TARGETS := panel_bench launch_bench minimal_window

bench: build $(BENCH_DIR)/build.ninja
	cmake --build $(WIN_DIR) -j $(JOBS) --target $(WIN_BENCH_TARGETS)
	cmake --build $(BENCH_DIR) -j $(JOBS)
	scripts/bench.sh $(BUILD_DIR)

stress: build
	cmake --build $(WIN_DIR) -j $(JOBS) --target panel_bench
	scripts/stress.sh $(BUILD_DIR)

# Each fuzz target for FUZZ_SECONDS; what adds coverage joins tests/fuzz/corpus.
fuzz: deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz.sh $(BUILD_DIR)

# What the tests catch: one-site mutants of the portable core and the seeded
# faults kept in tests/mutation/win, each part compared with its committed
# baseline (tools/mutate/mutate.py --help). Private copies and trees under
# build/mutate; not part of `make test`.
MUTATE_WORKERS ?= 2
.PHONY: mutate
mutate: deps
	python3 tools/mutate/mutate.py all --workers $(MUTATE_WORKERS)

clean:
	rm -rf $(BUILD_DIR) dist

# The protocol reference docs/protocol.md, written again from the program's
# tables; `make test` fails while the committed one differs.
.PHONY: protocol-doc
protocol-doc: deps $(NATIVE_DIR)/build.ninja
	cmake --build $(NATIVE_DIR) --target protocol-doc
	$(NATIVE_DIR)/protocol-doc docs/protocol.md
