#!/usr/bin/env bash
# One entry point for everything: setup | build | test [--sanitize] | demo | bench
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)

PACKAGES=(
  build-essential cmake ninja-build ccache clang-format pkg-config git ca-certificates openssl
  libboost-dev libsqlite3-dev sqlite3
  libsoci-dev libsoci-sqlite3-4.0 libsoci-postgresql4.0 libsoci-odbc4.0
  libcurl4-openssl-dev libssl-dev nlohmann-json3-dev libpugixml-dev libfmt-dev libcli11-dev
  qt6-base-dev libgl-dev fonts-dejavu-core
  libgtest-dev libgmock-dev googletest libbenchmark-dev libcpp-httplib-dev libpq-dev python3
  postgresql
  clang libclang-rt-14-dev
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

setup() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then echo "setup: every package is installed"; return; fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure() { # dir build-type extra...
  local dir=$1 type=$2; shift 2
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
}

build() {
  configure build RelWithDebInfo
  cmake --build build -j"$(nproc)"
}

test_suite() {
  local dir=build type=RelWithDebInfo extra=(-DRECEBIMENTO_WERROR=ON)
  if [ "${1:-}" = "--sanitize" ]; then
    # clang, for its libFuzzer: the fuzz targets run here for a bounded time each.
    dir=build-sanitize type=Debug
    extra=(-DRECEBIMENTO_SANITIZE=ON -DRECEBIMENTO_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  fi
  configure "$dir" "$type" "${extra[@]}"
  cmake --build "$dir" -j"$(nproc)"
  # A throwaway PostgreSQL for the data-module tests; stopped on exit.
  source "$ROOT/tests/support/throwaway_postgres.sh"
  start_throwaway_postgres
  trap stop_throwaway_postgres EXIT
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
}

demo() {
  # The demo runs the command alone: neither the test suites nor the touch screen are
  # built for it (the test command still builds everything).
  configure build RelWithDebInfo
  cmake --build build -j"$(nproc)" --target recebimento_cli
  ./build/app/cli/recebimento demo
}

bench() {
  # Release, with the touch screen (its first paint is measured offscreen) and without
  # the test suites. PostgreSQL cases run on a throwaway server, skipped when none starts.
  configure build-bench Release -DRECEBIMENTO_BENCH=ON -DRECEBIMENTO_GUI=ON -DRECEBIMENTO_TESTS=OFF
  cmake --build build-bench -j"$(nproc)"
  source "$ROOT/tests/support/throwaway_postgres.sh"
  start_throwaway_postgres
  trap stop_throwaway_postgres EXIT
  [ -n "${RECEBIMENTO_TEST_PG:-}" ] || echo "bench: no PostgreSQL server could start: its cases are skipped"
  local out=build-bench/results
  rm -rf "$out"; mkdir -p "$out"
  export QT_QPA_PLATFORM=offscreen
  for b in build-bench/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_out="$out/$(basename "$b").json" --benchmark_out_format=json
  done
  echo "== load_registers"
  build-bench/bench/load_registers --registers 8 --seconds "${RECEBIMENTO_LOAD_SECONDS:-20}" \
    --out "$out/load_registers.json" || echo "bench: the load program reported a fault (see above)"
  python3 "$ROOT/bench/write_report.py" "$out" "$ROOT/docs/benchmarks.md"
  echo "bench: wrote docs/benchmarks.md"
}

cmd=${1:-}; shift || true
case "$cmd" in
  setup) setup ;;
  build) setup; build ;;
  test)  setup; test_suite "$@" ;;
  demo)  setup; demo ;;
  bench) setup; bench ;;
  *) echo "usage: $0 setup|build|test [--sanitize]|demo|bench" >&2; exit 1 ;;
esac
