# Set-up, build and test on Debian 12. `make run` and `make test` install
# whatever is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

PACKAGES := build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
	libfreetype-dev libfontconfig-dev fonts-liberation libpng-dev libpcre2-dev clang perl \
	libgtk-3-dev libwebkit2gtk-4.1-dev xvfb xauth xdotool xclip openbox fonts-liberation2 fonts-droid-fallback ccache
# Programs the start-up benchmark times beside ours: a GTK text editor and a
# GTK colour picker. Only `make bench` installs them.
BENCH_PACKAGES := mousepad gcolor3

.PHONY: all deps bench-deps configure build test run bench fuzz sanitize tsan-rx clean

all: build

deps bench-deps:
	@missing=$$(for p in $(if $(filter bench-deps,$@),$(BENCH_PACKAGES),$(PACKAGES)); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The program itself on the desktop. The backend demonstration stays a tool:
# ./$(BUILD_DIR)/bin/backend-demo shows every control kind and a web view.
run: build
	QUORVANE_BACKEND=gtk ./$(BUILD_DIR)/bin/Quorvane

bench: build bench-deps
	@for b in $(BUILD_DIR)/bin/*_bench; do [ -x "$$b" ] && "$$b"; done

# The sanitizers and the fuzzers share one instrumented clang build.
SANITIZE_DIR ?= $(BUILD_DIR)-sanitize
FUZZ_SECONDS ?= 60

# Every fuzz target for FUZZ_SECONDS each: make fuzz FUZZ_SECONDS=600
fuzz: deps
	bash cmake/run-fuzzers.sh $(SANITIZE_DIR) $(FUZZ_SECONDS)

# The whole suite under the address and undefined-behaviour sanitizers.
sanitize: deps
	bash cmake/configure-instrumented.sh $(SANITIZE_DIR)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan-suppressions.txt \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The threaded Rx timer and scrolling panel tests under the thread sanitizer,
# which needs a build of its own.
TSAN_DIR ?= $(BUILD_DIR)-tsan
tsan-rx: deps
	[ -f $(TSAN_DIR)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(TSAN_DIR) -DQUORVANE_SANITIZE=thread
	cmake --build $(TSAN_DIR) -j $(JOBS) --target rx_tests
	cd $(TSAN_DIR) && TSAN_OPTIONS=halt_on_error=1 ctest -R '^rx\.(RxTimerTest|SecretPanelTest)\.' --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
