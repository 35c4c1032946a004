BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 600
SOAK_KILLS ?= 1000
JOBS ?= $(shell nproc)
WERROR ?= ON

.PHONY: deps configure build run test test-sanitized fuzz soak bench deb format clean

deps:
	sh scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKURBELFON_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./kurbelfon

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
	$(MAKE) test-sanitized

# Unit and widget tests in a Debug build with ASan and UBSan: Qt's own checks are on there too.
test-sanitized: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DKURBELFON_WERROR=$(WERROR) \
		-DKURBELFON_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure --timeout 900

# Each file reader under libFuzzer for FUZZ_SECONDS (CI runs them briefly).
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DKURBELFON_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	sh scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Kills a saving driver SOAK_KILLS times and checks the files after each kill.
soak: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kurbelfon_soak
	$(BUILD_DIR)/kurbelfon_soak $(SOAK_KILLS)

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bench

# The Debian package from the install rules: $(BUILD_DIR)/kurbelfon_<version>_amd64.deb.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
