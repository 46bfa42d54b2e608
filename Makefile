# The two commands of the README, plus the build steps they share.
BUILD ?= build
JOBS ?= $(shell nproc)
HOME_DIR ?= $(CURDIR)/$(BUILD)/qx-home

.PHONY: deps build run test format sanitize tsan clean

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

# The conversion tests once more under ThreadSanitizer: the ADIF import reads in two
# threads.
tsan: deps
	cmake -S . -B $(BUILD)-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX7_TSAN=ON \
	      -DQX7_WITH_QT=OFF -DQX7_BUILD_BENCH=OFF
	cmake --build $(BUILD)-tsan -j $(JOBS) --target test_convert
	TSAN_OPTIONS=halt_on_error=1 $(BUILD)-tsan/tests/test_convert

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan
