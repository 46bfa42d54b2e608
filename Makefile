# The two commands of the README, plus the build steps they share.
BUILD ?= build
JOBS ?= $(shell nproc)
HOME_DIR ?= $(CURDIR)/$(BUILD)/qx-home

.PHONY: deps build run test format sanitize clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# Starts the desktop program on a QX home holding the shipped sample; without a display
# it says so and runs the headless main job instead.
run: build
	bash scripts/run.sh $(BUILD) $(HOME_DIR)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Qt-free layers once more under AddressSanitizer and UBSan.
sanitize: deps
	cmake -S . -B $(BUILD)-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQX7_SANITIZE=ON \
	      -DQX7_WITH_QT=OFF -DQX7_BUILD_BENCH=OFF
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-asan
