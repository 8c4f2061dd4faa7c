# Two entry points: `make run` and `make test`. Everything else is a helper of those.
BUILD ?= build
ASAN_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: run test sanitize deps build bench clean format window python install-python pictures

deps:
	@tools/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/qalto-batch examples/cyclic.qs

# The desktop window (needs a display).
window: build
	$(BUILD)/qalto

# README's screenshot and the manual's pictures, from the window on a virtual display.
pictures: build
	xvfb-run -a -s "-screen 0 1600x1000x24" env QT_QPA_PLATFORM=xcb \
	  $(BUILD)/src/desktop/qalto_manual_pictures --manual docs

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQALTO_SANITIZE=ON -DQALTO_GUI=OFF -DQALTO_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The Python module, built into $(BUILD)/python; install-python copies the package into the
# user's site-packages of Debian's python3, where `import qalto` finds it.
python: build

install-python: build
	@site=$$(/usr/bin/python3 -m site --user-site) && mkdir -p "$$site" && \
	  rm -rf "$$site/qalto" && cp -r $(BUILD)/python/qalto "$$site/" && \
	  echo "qalto installed into $$site"

bench: build
	@for b in $(BUILD)/bench/*_bench; do $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
