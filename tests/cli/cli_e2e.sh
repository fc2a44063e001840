#!/bin/bash
# The built quadsum-cli from outside: one row per run, its standard input,
# arguments, and the exact standard output, standard error and exit status.
# Runs inside private_resolver.sh, so the lookup rows use the real resolver
# and no query leaves the machine (needs root).
#
# usage: cli_e2e.sh <command>...   e.g. cli_e2e.sh wine quadsum-cli.exe
set -u
[[ -n "${QUADSUM_PRIVATE_RESOLVER:-}" ]] ||
  exec "$BASH" "$(dirname "$0")/../e2e/private_resolver.sh" "$BASH" "$0" "$@"
shopt -s lastpipe  # rows run in this shell, so their failures count
cli=("$@")
work="$(mktemp -d)" && trap 'rm -rf "$work"' EXIT
failures=0

# row <name> <status> <stdout> <stderr> [<arg>...], the input on stdin.
# Expected texts are printf %b strings; E stands for the message prefix, and
# an expected stderr with * in it is a pattern (resolver texts differ).
row() {
  local name="$1" status="$2" out="$3" err="$4"; shift 4
  cat >"$work/in"
  "${cli[@]}" "$@" <"$work/in" >"$work/out" 2>"$work/err"
  local got=$?
  printf '%b' "$out" >"$work/want-out"
  printf '%b' "${err//E/quadsum-cli: }" >"$work/want-err"
  local errOk
  if [[ "$err" == *'*'* ]]; then [[ "$(<"$work/err")" == $(<"$work/want-err") ]]; else cmp -s "$work/err" "$work/want-err"; fi
  errOk=$?
  if [[ $got -ne $status ]] || ! cmp -s "$work/out" "$work/want-out" || [[ $errOk -ne 0 ]]; then
    failures=$((failures + 1))
    echo "FAIL: $name: status $got (want $status)"
    diff <(od -c "$work/want-out") <(od -c "$work/out") | head -n 6
    diff "$work/want-err" "$work/err" | head -n 6
  fi
}
none() { true; }
ln() { printf '%b' "$@"; }

none | row args 0 '3232235521\n192.168.0.1\n192.168.0.1\n' '' 192.168.0.1 3232235521 0xc0a80001
none | row hex 0 '0xc0a80001\n0x00000000\n' '' --format=hex 192.168.0.1 0.0.0.0
none | row to-int 1 '\n' 'Eargument 2: not a valid IPv4 address: "10"\n' --to-int 10
none | row to-ip 1 '0.0.0.10\n\n' 'Eargument 3: not an integer from 0 to 4294967295: "1.2.3.4"\n' --to-ip 10 1.2.3.4
none | row lenient 1 '4294967296\n16909060.5\n\n' 'Eargument 4: not a valid IPv4 address: "1.2.3"\n' \
  --lenient 256.0.0.0 1.2.3.4.5 1.2.3
none | row options-end 1 '\n' 'Eargument 2: neither an IPv4 address nor an integer: "-1"\n' -- -1
ln '10.0.0.1\r\n\n \t\n 0x0a000001\t\r\n9.9.9.9' | row stdin-crlf-blank-nofinal 0 \
  '167772161\n\n\n10.0.0.1\n151587081\n' ''
ln '1.2.3\n256.0.0.1\n1.2.3.4\n4294967296\n+5\n1.2.3.4 x\n\xff\n' | row invalid-lines 1 \
  '\n\n16909060\n\n\n\n\n' \
  'Eline 1: not a valid IPv4 address: "1.2.3"\nEline 2: not a valid IPv4 address: "256.0.0.1"
Eline 4: not an integer from 0 to 4294967295: "4294967296"
Eline 5: neither an IPv4 address nor an integer: "+5"
Eline 6: not a valid IPv4 address: "1.2.3.4 x"\nEline 7: neither an IPv4 address nor an integer: "\\xff"\n'
ln '1.1.1.1\n2.2.2.2\n' | row dash-between-args 0 '0.0.0.1\n16843009\n33686018\n0.0.0.3\n' '' 1 - 3
ln 'a\0b\n\0\n1.2.3.4\0\n5\n' | row nul-bytes 1 '\n\n\n0.0.0.5\n' \
  'Eline 1: neither an IPv4 address nor an integer: "a\\x00b"
Eline 2: neither an IPv4 address nor an integer: "\\x00"
Eline 3: not a valid IPv4 address: "1.2.3.4\\x00"\n'
{ head -c 3145728 /dev/zero | tr '\0' 7; ln '\n127.0.0.1\n'; } | row megabytes-line 1 '\n2130706433\n' \
  'Eline 1: line longer than 4096 bytes: "7777777777777777777777777777777777777777" (first 40 of 3145728 bytes)\n'
{ ln '1.2.3.4 '; head -c 4088 /dev/zero | tr '\0' ' '; ln '\n'; } | row longest-line 0 '16909060\n' ''
none | row empty-stream 0 '' ''
none | row empty-argument 1 '\n' 'Eargument 1: empty value: ""\n' ''
none | row version 0 'quadsum-cli 1.00\n' '' --version
none | row usage-unknown 2 '' "Eunknown option '--hex'\nTry 'quadsum-cli --help'.\n" --hex 1.2.3.4
none | row usage-conflict 2 '' "E--to-int and --to-ip exclude each other\nTry 'quadsum-cli --help'.\n" --to-int --to-ip 1
none | row usage-lookup 2 '' "E--lookup needs at least one HOST\nTry 'quadsum-cli --help'.\n" --lookup
none | row lookup-one 0 '127.0.0.1\n' '' --lookup localhost
none | row lookup-multi 0 '127.0.0.11\n127.0.0.12\n127.0.0.13\n' '' --lookup quadsum-multi.test
none | row lookup-several 1 'localhost\t127.0.0.1\nquadsum-multi.test\t127.0.0.11\nquadsum-multi.test\t127.0.0.12
quadsum-multi.test\t127.0.0.13\n' 'Eargument 4: cannot resolve host: "no-such-host.invalid": *' \
  --lookup localhost quadsum-multi.test no-such-host.invalid

# --help: status 0 and the usage line first, on standard output.
help="$("${cli[@]}" --help 2>&1)" && [[ "$help" == "Usage: quadsum-cli [OPTION]... [VALUE]..."* ]] ||
  { failures=$((failures + 1)); echo "FAIL: --help"; }

echo "== $failures row(s) failed"
[[ $failures -eq 0 ]]
