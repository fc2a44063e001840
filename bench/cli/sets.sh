#!/bin/bash
# quadsum-cli --merge against iprange (Debian's package; a benchmark peer
# only) on N unsorted lines (default 1 million) of addresses, networks and
# ranges, IPv4, then the same lines mapped into 2001:db8::/96 (iprange has
# no IPv6). Output goes to a file. Prints the best of 5 runs by wall time
# (GNU time), the CPU time, the peak resident size, and the ratios the set
# modes aim for: IPv4 at most a quarter of iprange's wall time, IPv6 at
# most twice our IPv4 time, peaks at most 32 MiB (IPv4) and 96 MiB (IPv6).
# Both programs must write the same set: iprange writes a lone address
# without /32, so that is added before the two are compared; the IPv6
# output must hold as many networks as the IPv4 one.
#
# usage: bench/cli/sets.sh [N]   (quadsum-cli from the release preset)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
command -v iprange >/dev/null || { echo "iprange is not installed (apt-get install iprange)"; exit 1; }
cd "$root"
cmake --preset release >/dev/null && cmake --build --preset release --target quadsum-cli >/dev/null
cmake --preset native >/dev/null && cmake --build --preset native --target cli_bench_generate_sets >/dev/null
cli="$root/build/release/cli/quadsum-cli"
data="$root/build/native/bench/cli/data"
n="${1:-1000000}"
mkdir -p "$data"
if [[ ! -f "$data/sets6.txt" || "$(wc -l <"$data/sets.txt")" -ne "$n" ]]; then
  "$root/build/native/bench/cli/cli_bench_generate_sets" "$data" "$n"
fi

# <input> <output> <command>...: "wall cpu peak" of the best of 5 runs by
# wall time (seconds, user + system seconds, peak resident KB).
best_run() {
  local input="$1" output="$2" i; shift 2
  for i in 1 2 3 4 5; do
    /usr/bin/time -f '%e %U %S %M' -o "$data/time" "$@" "$input" >"$output"
    awk '{ print $1, $2 + $3, $4 }' "$data/time"
  done | sort -n | head -n 1
}

report() {  # <name> <wall cpu peak>
  awk -v name="$1" -v run="$2" 'BEGIN { split(run, r, " ")
    printf "%-30s wall %6.3f s   cpu %6.3f s   peak RSS %7.1f MiB\n", name, r[1], r[2], r[3] / 1024 }'
}

ours4=$(best_run "$data/sets.txt" "$data/sets-ours.txt" "$cli" --merge)
theirs=$(best_run "$data/sets.txt" "$data/sets-iprange.txt" iprange)
ours6=$(best_run "$data/sets6.txt" "$data/sets6-ours.txt" "$cli" --merge)
awk '!/\// { $0 = $0 "/32" } 1' "$data/sets-iprange.txt" | cmp -s - "$data/sets-ours.txt" ||
  { echo "quadsum-cli and iprange wrote different sets"; exit 1; }
[[ $(wc -l <"$data/sets6-ours.txt") -eq $(wc -l <"$data/sets-ours.txt") ]] ||
  { echo "the IPv6 set has not as many networks as the IPv4 one"; exit 1; }
echo "== --merge, $n unsorted lines, $(wc -l <"$data/sets-ours.txt") networks out, output to a file"
report "quadsum-cli --merge (IPv4)" "$ours4"
report "iprange (IPv4)" "$theirs"
report "quadsum-cli --merge (IPv6)" "$ours6"
awk -v a="$theirs" -v b="$ours4" -v c="$ours6" 'BEGIN { split(a, x, " "); split(b, y, " "); split(c, z, " ")
  printf "IPv4: %.2f of iprange wall time (aim: at most 0.25), %.2f of its cpu time\n", y[1] / x[1], y[2] / x[2]
  printf "IPv6: %.2fx our IPv4 wall time (aim: at most 2)\n", z[1] / y[1]
  printf "peaks: IPv4 %.1f MiB (aim: at most 32), IPv6 %.1f MiB (aim: at most 96)\n", y[3] / 1024, z[3] / 1024 }'
