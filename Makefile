# Two commands do everything on a fresh Debian machine:
#   make run   - install what is missing, build, start the program on the simulated instrument
#   make test  - the same set-up, then every test through ctest
BUILD ?= build
JOBS ?= 2
PACKAGES = cmake g++ make qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev \
           fonts-liberation xvfb xauth clang python3 time
# Only the Debian package and its checks need these, so make test stays lean.
PACKAGE_DEPS = dpkg-dev file librsvg2-bin lintian desktop-file-utils
PACKAGE_BUILD ?= build-package
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps package-deps configure build run test bench check-asan fuzz package package-check \
        format clean

# Installs those of the packages $(1) that are missing.
define install-missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

package-deps:
	$(call install-missing,$(PACKAGE_DEPS))

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Without a display the program itself switches to Qt's offscreen platform and says so.
run: build
	./$(BUILD)/qvxscope $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: build
	@for b in $$(find $(BUILD) -maxdepth 1 -type f -perm -u+x -name 'bench_*' | sort); do \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

check-asan: deps
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DQVX_SANITIZE=ON -DQVX_BENCH=OFF
	cmake --build $(BUILD)-asan -j$(JOBS)
	cd $(BUILD)-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j$(JOBS)

# Each input decoder's fuzzer runs FUZZ_SECONDS on one core, from the seed corpus of
# tests/corpus; new inputs go to $(BUILD)-fuzz/corpus, crashes to $(BUILD)-fuzz/crashes
# (copy them into tests/corpus/<target>/ so that make test replays them); fuzz/<target>.dict,
# where there is one, gives libFuzzer the input's keywords, and fuzz/max_len.txt the
# longest input of the targets whose default would be too long. Each target
# prints the inputs it tried, its inputs a second, the same per second of its own
# processor time (what one free core gives on a shared machine) and its coverage.
FUZZ_SECONDS ?= 30
FUZZ_TARGETS = signal fft profile raw_wave csv_wave calibration port_file command_file scpi
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVX_FUZZ=ON -DQVX_BENCH=OFF
	cmake --build $(BUILD)-fuzz -j$(JOBS)
	@failed=""; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(BUILD)-fuzz/corpus/$$t $(BUILD)-fuzz/crashes/$$t; \
	  dict=""; [ -f fuzz/$$t.dict ] && dict="-dict=fuzz/$$t.dict"; \
	  maxlen=$$(awk -v t=$$t '$$1 == t { print "-max_len=" $$2 }' fuzz/max_len.txt); \
	  /usr/bin/time -f '%U %S' -o $(BUILD)-fuzz/$$t.cpu \
	    $(BUILD)-fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 $$dict $$maxlen \
	    -artifact_prefix=$(CURDIR)/$(BUILD)-fuzz/crashes/$$t/ \
	    $(CURDIR)/$(BUILD)-fuzz/corpus/$$t $(CURDIR)/tests/corpus/$$t \
	    > $(BUILD)-fuzz/$$t.log 2>&1 || failed="$$failed $$t"; \
	  fuzz/summary.sh $$t $(BUILD)-fuzz/$$t.log $(BUILD)-fuzz/$$t.cpu; \
	done; \
	if [ -n "$$failed" ]; then echo "crashes in:$$failed (inputs in $(BUILD)-fuzz/crashes)"; exit 1; fi

# The Debian package, from a Release build of the program alone in a folder of its own, with
# Debian's hardening flags; then lintian, the desktop entry's check and the installed program.
$(PACKAGE_BUILD)/CMakeCache.txt:
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g; \
	CXXFLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DQVX_PACKAGE=ON -DQVX_TESTS=OFF -DQVX_BENCH=OFF

package: deps package-deps $(PACKAGE_BUILD)/CMakeCache.txt
	cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

package-check: package
	packaging/check-package.sh $(PACKAGE_BUILD)

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp')

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-fuzz $(PACKAGE_BUILD)
