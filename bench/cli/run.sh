#!/bin/bash
# quadsum-cli against the C library baseline (baseline.cpp), both directions,
# IPv4 and IPv6, on N random values (default 10 million), output to a file;
# then IPv4 networks, bare and as the first field of a GeoIP-shaped CSV. Prints the best
# of 5 runs (by wall time, GNU time) as ns per line and input MB/s, the CPU
# time per line (steadier on a shared machine), the speed-ups and the peak
# resident size. Both programs must print the same.
#
# usage: bench/cli/run.sh [N]   (builds its programs in the native tree)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cmake --preset native >/dev/null
cmake --build --preset native --target quadsum-cli-bench cli_baseline cli_bench_generate
bin="$root/build/native/bench/cli"
data="$bin/data"
n="${1:-10000000}"
mkdir -p "$data"
if [[ ! -f "$data/geoip.csv" || "$(wc -l <"$data/integers.txt")" -ne "$n" ]]; then
  "$bin/cli_bench_generate" "$data" "$n"
fi

# <input> <output> <command>...: "wall cpu peak" of the best of 5 runs by
# wall time (seconds, user + system seconds, peak resident KB).
best_run() {
  local input="$1" output="$2" i; shift 2
  for i in 1 2 3 4 5; do
    /usr/bin/time -f '%e %U %S %M' -o "$data/time" "$@" <"$input" >"$output"
    awk '{ print $1, $2 + $3, $4 }' "$data/time"
  done | sort -n | head -n 1
}

report() {  # <name> <input> <wall cpu peak>
  local bytes; bytes=$(stat -c %s "$2")
  awk -v name="$1" -v n="$n" -v bytes="$bytes" -v run="$3" 'BEGIN {
    split(run, r, " ")
    printf "%-26s %6.1f ns/line %7.1f MB/s   cpu %6.1f ns/line   peak RSS %6d KB\n",
           name, r[1] * 1e9 / n, bytes / r[1] / 1e6, r[2] * 1e9 / n, r[3] }'
}

# <name> <input> <our option> <baseline option>
compare() {
  local input="$data/$2" ours base
  ours=$(best_run "$input" "$data/out-ours" "$bin/quadsum-cli-bench" "$3")
  base=$(best_run "$input" "$data/out-base" "$bin/cli_baseline" "$4")
  cmp -s "$data/out-ours" "$data/out-base" || { echo "outputs differ ($1)"; exit 1; }
  echo "== $1, $n lines, $(stat -c %s "$input") bytes in, output to a file"
  report "quadsum-cli $3" "$input" "$ours"
  report "baseline (C library)" "$input" "$base"
  awk -v a="$base" -v b="$ours" 'BEGIN { split(a, x, " "); split(b, y, " ")
    printf "speed-up: %.1fx wall, %.1fx cpu\n", x[1] / y[1], x[2] / y[2] }'
}

compare "IPv4 --to-int" addresses.txt --to-int --to-int
compare "IPv4 --to-ip" integers.txt --to-ip --to-ip
compare "IPv6 --to-int" ipv6.txt --to-int --to-int6
compare "IPv6 --to-ip" ipv6-integers.txt --to-ip --to-ip6

# The same networks bare and as field 1 of seven; the field run must print
# the bare run's two ends as its first two fields.
bare=$(best_run "$data/networks.txt" "$data/out-ours" "$bin/quadsum-cli-bench")
field=$(best_run "$data/geoip.csv" "$data/out-base" "$bin/quadsum-cli-bench" --field=1 --delimiter=,)
cut -d, -f1,2 "$data/out-base" | tr , '\t' | cmp -s - "$data/out-ours" || { echo "outputs differ (networks)"; exit 1; }
echo "== IPv4 networks, $n lines: bare, and field 1 of a GeoIP-shaped CSV ($(stat -c %s "$data/geoip.csv") bytes)"
report "quadsum-cli (bare)" "$data/networks.txt" "$bare"
report "quadsum-cli --field=1" "$data/geoip.csv" "$field"
awk -v a="$bare" -v b="$field" 'BEGIN { split(a, x, " "); split(b, y, " ")
  printf "field run at %.2f of the bare speed (lines per second, wall), %.2f (cpu)\n", x[1] / y[1], x[2] / y[2] }'

# Invalid lines against valid ones: 1 M lines of each, messages to a file.
# Messages are gathered, not written one by one, so an invalid line should
# cost at most about 10 times a valid one (CPU, the least of 5 runs, to ms).
least_cpu() {  # <input> <command>...
  local input="$1" i t TIMEFORMAT='%3U %3S'; shift
  for i in 1 2 3 4 5; do
    t=$({ time "$@" <"$input" >"$data/out-ours" 2>"$data/messages"; } 2>&1)
    awk -v t="$t" 'BEGIN { split(t, x, " "); print x[1] + x[2] }'
  done | sort -n | head -n 1
}
for value in 1.2.3.4 1.2.3.400; do awk -v v="$value" 'BEGIN { for (i = 0; i < 1000000; i++) print v }' >"$data/$value.txt"; done
valid=$(least_cpu "$data/1.2.3.4.txt" "$bin/quadsum-cli-bench")
invalid=$(least_cpu "$data/1.2.3.400.txt" "$bin/quadsum-cli-bench")
[[ $(wc -l <"$data/messages") -eq 1000000 ]] || { echo "not one message per invalid line"; exit 1; }
echo "== 1 M invalid lines (1.2.3.400) against 1 M valid ones (1.2.3.4), messages to a file"
awk -v v="$valid" -v i="$invalid" 'BEGIN { printf "cpu: valid %.3f s, invalid %.3f s: %.1fx\n", v, i, i / (v > 0 ? v : 0.001) }'
