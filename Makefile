BUILD_DIR ?= build
JOBS ?= $(shell nproc)
WERROR ?= ON

.PHONY: deps configure build run test bench format clean

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

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
