#!/usr/bin/env bash
# Sets up, builds and runs the project on Debian 12.
#   ./dev.sh run     build and start the program
#   ./dev.sh test    build and run the whole test suite
#   ./dev.sh bench   build and run the benchmarks
# Each command first installs the Debian packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core qt6-webengine-dev)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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
  cmake --build "$dir"
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
    echo "Sample basin: Tc 10 min, P6 2.5 in, 100 acres, C 0.85, Qp 250 cfs"
    build/cli/rational-hydrograph-cli --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250
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
    build-bench/bench/rh-dialog-bench --benchmark_repetitions=5 \
      --benchmark_report_aggregates_only=true
    ;;
  *)
    echo "usage: ./dev.sh run | test | test-sanitize | bench" >&2
    exit 64
    ;;
esac
