#!/usr/bin/env bash
# Builds the benchmarks in build-bench (Release) and runs them all: the
# device library's own cost per export over the null adapter, the allocation
# and system call check, the console program's idle cost, the system's sleep
# lateness, display rates and CPU shares, and start-up time. Prints a
# markdown table of the figures and their targets.
# Usage: bench/run.sh [build directory]
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$source_dir/build-bench}
logs=$build_dir/bench/logs

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DORVEX_BUILD_BENCH=ON -DORVEX_WERROR=ON \
  -DORVEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target orvex_library_bench orvex_export_check \
  orvex_console_bench Orvex-Test >/dev/null
mkdir -p "$logs"
bin=$build_dir/bin

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"

# The device library's imports: every symbol it takes from another library.
imports=$(nm -D --undefined-only "$build_dir/lib/libOrvex.so.1" | awk '$1 == "U" {print $2}' |
  sed 's/@.*//' | sort | tr '\n' ' ')
echo "Device library imports: $imports"

echo "Running the allocation and system call check..."
check_status=0
"$bin/orvex_export_check" >"$logs/export_check.txt" 2>&1 || check_status=$?
echo "Running the library benchmarks..."
"$bin/orvex_library_bench" --benchmark_repetitions=5 --benchmark_min_time=0.1 \
  --benchmark_report_aggregates_only=true --benchmark_color=false >"$logs/library_bench.txt" 2>&1
echo "Running the console program (about 45 s)..."
console_status=0
"$bin/orvex_console_bench" "$bin/Orvex-Test" >"$logs/console_bench.txt" 2>&1 || console_status=$?

cat "$logs/export_check.txt" "$logs/console_bench.txt" | grep -v '^RESULT' || true
sed -n '/^export /,$p' "$logs/library_bench.txt" | grep -v '^RESULT'
echo

# value NAME [FIELD]: the figure of a RESULT line.
value() {
  cat "$logs"/*.txt | awk -v n="$1" -v f="${2:-3}" '$1 == "RESULT" && $2 == n {print $f; exit}'
}
row() {  # figure, value, unit, target text, comparison (awk expression on v)
  local met=-
  [ -n "$5" ] && met=$(awk -v v="$2" "BEGIN {print (v != \"\" && ($5)) ? \"yes\" : \"NO\"}")
  printf '| %s | %s %s | %s | %s |\n' "$1" "${2:-n/a}" "$3" "$4" "$met"
}
fmt() { awk -v v="$1" -v p="$2" 'BEGIN {if (v == "") print ""; else printf "%." p "f", v}'; }

echo "| Figure | Value | Target | Met |"
echo "|---|---|---|---|"
while read -r name total adapter own; do
  row "Library's own cost, $name (export $(fmt "$total" 1) ns, its adapter calls $(fmt "$adapter" 1) ns)" \
    "$(fmt "$own" 1)" ns "< 70 ns" "v < 70"
done < <(awk '$1 == "RESULT" && $2 == "library_ns" {print $3, $4, $5, $6}' "$logs/library_bench.txt")
row "Heap allocations in all 43 exports x 100000" "$(value allocations)" "" "0" "v == 0"
row "System calls in all 43 exports x 100000" "$(value system_calls)" "" "0" "v == 0"
row "Device library imports beyond the adapter transfers and ldexp/sqrt" \
  "$(echo "$imports" | tr ' ' '\n' | grep -Evc '^(Tarvish_(Check|Send|Receive|ReceiveString)|ldexp|sqrt|_ITM_.*|__cxa_finalize|__gmon_start__|)$' || true)" \
  "" "0" "v == 0"
row "Idle key loop on a terminal, 10 s" "$(fmt "$(value idle_terminal_percent)" 4)" "% of a core" "<= 0.01 %" "v <= 0.01"
row "Idle key loop, input an empty pipe, 10 s" "$(fmt "$(value idle_pipe_percent)" 4)" "% of a core" "<= 0.01 %" "v <= 0.01"
row "Lateness of a 940 us sleep, median (90th, 99th percentile: $(fmt "$(value sleep_late_us_p90)" 0), $(fmt "$(value sleep_late_us_p99)" 0) us)" \
  "$(fmt "$(value sleep_late_us_median)" 0)" us "none" ""
u_ceiling=$(awk -v q="$(value uptime_query_us)" 'BEGIN {if (q != "") printf "%.1f", 1000 / (1 + q / 1000)}')
m_ceiling=$(awk -v q="$(value amplitude_query_us)" 'BEGIN {if (q != "") printf "%.1f", 1000 / (10 + 2 * q / 1000)}')
row "U display, scripted (own rate column)" "$(fmt "$(value uptime_queries_per_s_pipe)" 1)" "queries/s" ">= 950 (ceiling $u_ceiling)" "v >= 950"
row "U display on a terminal (own rate column)" "$(fmt "$(value uptime_queries_per_s_terminal)" 1)" "queries/s" ">= 950 (ceiling $u_ceiling)" "v >= 950"
row "M display, scripted (adapter trace)" "$(fmt "$(value amplitude_cycles_per_s)" 1)" "cycles/s" ">= 97 (ceiling $m_ceiling)" "v >= 97"
row "U display, scripted, CPU" "$(fmt "$(value uptime_cpu_percent_pipe)" 2)" "% of a core" "<= 5 %" "v <= 5"
row "U display on a terminal, CPU" "$(fmt "$(value uptime_cpu_percent_terminal)" 2)" "% of a core" "<= 5 %" "v <= 5"
row "M display, scripted, CPU" "$(fmt "$(value amplitude_cpu_percent)" 2)" "% of a core" "<= 5 %" "v <= 5"
row "Start-up to the help text's last line, median of 20" "$(fmt "$(value startup_ms)" 2)" "ms" "none (/bin/true: $(fmt "$(value startup_true_ms)" 2) ms)" ""
echo
echo "U display on a terminal: $(fmt "$(value uptime_cursor_requests_per_s_terminal)" 0) cursor position requests/s"
[ "$check_status" -eq 0 ] && [ "$console_status" -eq 0 ] || {
  echo "A run did not end as expected; see $logs" >&2
  exit 1
}
