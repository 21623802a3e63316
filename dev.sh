#!/usr/bin/env bash
# Sets up, builds and runs the project on Debian 12.
#   ./dev.sh run     build and start the program
#   ./dev.sh test    build and run the whole test suite (the test that prints through a real
#                    spooler starts a CUPS scheduler of its own; the machine's printing is left as
#                    it is)
#   ./dev.sh bench   build and run the benchmarks
#   ./dev.sh test-sanitize   the test suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   ./dev.sh fuzz [SECONDS]  build the libFuzzer targets with clang and run each (default 60 s)
#   ./dev.sh lint    clang-format, the layer check and clang-tidy over the project's sources
#                    (any warning fails)
#   ./dev.sh package build the Debian package into build-package/
#   ./dev.sh screenshots   retake docs/main-screen.png and docs/results-screen.png under Xvfb
#   ./dev.sh web     build the browser edition into build-web/page/ (emscripten)
#   ./dev.sh test-web   build it and the companion, and check the page in headless chromium
#   ./dev.sh windows build-windows/rational-hydrograph-cli.exe, the companion for Windows:
#                    cross-built with mingw-w64, static, no Qt (tools/windows-sweep.sh compares it
#                    under wine with the Linux build)
# Each command first installs the Debian packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev
  libbenchmark-dev libpng-dev libdeflate-dev fonts-dejavu-core fonts-liberation cups cups-client cups-bsd
  printer-driver-cups-pdf poppler-utils qt6-webengine-dev libcups2-dev nlohmann-json3-dev)
# The windowed program's run on an X server of its own (xvfb-run needs xauth).
PACKAGES+=(xvfb xauth)
# Extra packages for single commands.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
LINT_PACKAGES=(clang-tidy clang-format)
# groff renders the manual pages, appstream and desktop-file-utils validate the metainfo and the
# desktop entry, man-db finds the installed pages.
PACKAGE_PACKAGES=(dpkg-dev file groff-base man-db appstream desktop-file-utils)
FUZZ_TARGETS=(val settings license basin-csv rainfall pond pond-json)
# The browser edition: emscripten builds it, chromium runs its tests (driven by Node.js).
WEB_PACKAGES=(emscripten chromium nlohmann-json3-dev)
# The Windows companion needs only the cross compiler (mingw-w64's, posix thread model).
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix nlohmann-json3-dev)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_packages [extra packages...]
install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# configure_build DIR [cmake options...]
configure_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DRH_WERROR=ON "$@"
  cmake --build "$dir" -j2
}

# Node.js and npm, unless the machine has its own.
web_packages() {
  local packages=("${WEB_PACKAGES[@]}")
  command -v node >/dev/null || packages+=(nodejs)
  command -v npm >/dev/null || packages+=(npm)
  echo "${packages[@]}"
}

# Debian's em++ runs its optimiser under node and needs Debian's node modules (acorn) on the path
# when the machine's node is another one.
build_web() {
  NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B build-web -G Ninja -DRH_WERROR=ON -DRH_WEB=ON \
    -DCMAKE_BUILD_TYPE=Release
  NODE_PATH=/usr/share/nodejs cmake --build build-web -j2
}

run_tests() {
  local dir=$1
  ctest --test-dir "$dir" --output-on-failure --timeout 600
}

cmd=${1:-help}
case "$cmd" in
  run)
    install_packages
    configure_build build
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
      exec build/src/ui/rational-hydrograph
    fi
    echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the windowed program cannot open."
    echo "On a desktop, run: build/src/ui/rational-hydrograph"
    echo "On a virtual display: xvfb-run -a build/src/ui/rational-hydrograph"
    echo
    echo "The command-line companion on a sample basin instead:"
    echo "Sample basin: Tc 10 min, P6 2.5 in, 100 acres, C 0.85, Qp 250 cfs"
    build/cli/rational-hydrograph-cli --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250
    ;;
  screenshots)
    PACKAGES+=(imagemagick)
    install_packages
    configure_build build
    xvfb-run -a -s "-screen 0 1024x768x24" tools/screenshots.sh build/src/ui/rational-hydrograph docs
    ;;
  test)
    install_packages
    configure_build build
    run_tests build
    ;;
  test-sanitize)
    install_packages
    configure_build build-sanitize -DRH_SANITIZE=ON -DRH_BUILD_BENCH=OFF
    run_tests build-sanitize
    ;;
  bench)
    install_packages
    configure_build build-bench -DCMAKE_BUILD_TYPE=Release -DRH_BUILD_TESTS=OFF
    build-bench/bench/rh-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
    build-bench/bench/rh-bench-cli --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
    build-bench/bench/rh-bench-process
    build-bench/bench/rh-ui-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
    build-bench/bench/rh-dialog-bench --benchmark_repetitions=5 \
      --benchmark_report_aggregates_only=true
    ;;
  fuzz)
    install_packages "${FUZZ_PACKAGES[@]}"
    seconds=${2:-60}
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DRH_WERROR=ON -DRH_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build-fuzz -j2 --target "${FUZZ_TARGETS[@]/#/fuzz-}"
    for t in "${FUZZ_TARGETS[@]}"; do
      # New inputs go to the working corpus in the build folder; the committed seeds are read only.
      mkdir -p "build-fuzz/corpus/$t" build-fuzz/artifacts
      echo "== fuzz-$t for ${seconds} s"
      "build-fuzz/fuzz/fuzz-$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t-" \
        "build-fuzz/corpus/$t" "fuzz/corpus/$t" 2>"build-fuzz/fuzz-$t.log" ||
        { tail -n 60 "build-fuzz/fuzz-$t.log"; echo "fuzz-$t failed" >&2; exit 1; }
      grep -E "^stat::number_of_executed_units|^Done" "build-fuzz/fuzz-$t.log" || true
    done
    ;;
  lint)
    install_packages "${LINT_PACKAGES[@]}"
    # Formatting as the committed .clang-format has it, and every include pointing down the layers.
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
    tools/check-layers.sh
    cmake -S . -B build -G Ninja -DRH_WERROR=ON >/dev/null
    # Generated sources (moc, Version.h) must exist for the compile commands to resolve.
    cmake --build build -j2
    # The fuzzers, the browser page's binding and the Windows sources build with other compilers
    # (clang's fuzzer runtime, em++, mingw-w64) and have no compile commands here.
    files=$(git ls-files '*.cpp' | grep -vE '^(fuzz|web|src/platform/windows)/')
    # shellcheck disable=SC2086
    if command -v run-clang-tidy >/dev/null; then
      run-clang-tidy -quiet -j 2 -p build $files
    else
      clang-tidy -quiet -p build $files
    fi
    ;;
  package)
    install_packages "${PACKAGE_PACKAGES[@]}"
    configure_build build-package -DCMAKE_BUILD_TYPE=Release -DRH_BUILD_TESTS=OFF \
      -DRH_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
    (cd build-package && cpack -G DEB)
    # The package as built: its metainfo, desktop entry and manual pages are sound.
    for deb in build-package/*.deb; do
      rm -rf build-package/unpacked
      dpkg-deb -x "$deb" build-package/unpacked
      packaging/check-installed.sh build-package/unpacked
    done
    ls -l build-package/*.deb
    ;;
  windows)
    PACKAGES=("${WINDOWS_PACKAGES[@]}")
    install_packages
    cmake -S . -B build-windows -G Ninja -DRH_WERROR=ON -DRH_COMPANION_ONLY=ON \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
    cmake --build build-windows -j2 --target rational-hydrograph-cli
    ls -l build-windows/rational-hydrograph-cli.exe
    ;;
  web)
    # shellcheck disable=SC2046
    install_packages $(web_packages)
    build_web
    echo "The page: build-web/page/index.html"
    ;;
  test-web)
    # shellcheck disable=SC2046
    install_packages $(web_packages)
    build_web
    # The companion the page is compared with.
    cmake -S . -B build -G Ninja -DRH_WERROR=ON >/dev/null
    cmake --build build -j2 --target rational-hydrograph-cli
    (cd web/test && npm ci --no-audit --no-fund)
    node web/test/page-test.mjs build-web/page build/cli/rational-hydrograph-cli tests/data
    node web/test/keystroke-time.mjs build-web/page tests/data
    ;;
  *)
    echo "usage: ./dev.sh run | test | test-sanitize | bench | fuzz [SECONDS] | lint | package | screenshots | web | test-web | windows" >&2
    exit 64
    ;;
esac
