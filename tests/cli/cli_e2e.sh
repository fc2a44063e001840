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
none | row to-ip 1 '0.0.0.10\n\n' 'Eargument 3: not an integer from 0 to 2^128-1: "1.2.3.4"\n' --to-ip 10 1.2.3.4
none | row lenient 1 '4294967296\n16909060.5\n\n' 'Eargument 4: not a valid IPv4 address: "1.2.3"\n' \
  --lenient 256.0.0.0 1.2.3.4.5 1.2.3
none | row options-end 1 '\n' 'Eargument 2: neither an IP address nor an integer: "-1"\n' -- -1
ln '10.0.0.1\r\n\n \t\n 0x0a000001\t\r\n9.9.9.9' | row stdin-crlf-blank-nofinal 0 \
  '167772161\n\n\n10.0.0.1\n151587081\n' ''
ln '1.2.3\n256.0.0.1\n1.2.3.4\n340282366920938463463374607431768211456\n+5\n1.2.3.4 x\n\xff\n' | row invalid-lines 1 \
  '\n\n16909060\n\n\n\n\n' \
  'Eline 1: not a valid IPv4 address: "1.2.3"\nEline 2: not a valid IPv4 address: "256.0.0.1"
Eline 4: not an integer from 0 to 2^128-1: "340282366920938463463374607431768211456"
Eline 5: neither an IP address nor an integer: "+5"
Eline 6: not a valid IPv4 address: "1.2.3.4 x"\nEline 7: neither an IP address nor an integer: "\\xff"\n'
ln '1.1.1.1\n2.2.2.2\n' | row dash-between-args 0 '0.0.0.1\n16843009\n33686018\n0.0.0.3\n' '' 1 - 3
ln 'a\0b\n\0\n1.2.3.4\0\n5\n' | row nul-bytes 1 '\n\n\n0.0.0.5\n' \
  'Eline 1: neither an IP address nor an integer: "a\\x00b"
Eline 2: neither an IP address nor an integer: "\\x00"
Eline 3: not a valid IPv4 address: "1.2.3.4\\x00"\n'
{ head -c 3145728 /dev/zero | tr '\0' 7; ln '\n127.0.0.1\n'; } | row megabytes-line 1 '\n2130706433\n' \
  'Eline 1: line longer than 4096 bytes: "7777777777777777777777777777777777777777" (first 40 of 3145728 bytes)\n'
{ ln '1.2.3.4 '; head -c 4088 /dev/zero | tr '\0' ' '; ln '\n'; } | row longest-line 0 '16909060\n' ''
none | row ipv6 0 '42540766411282592856903984951653826561\n2001:db8::1\n::1:0:0\n' '' \
  2001:db8::1 42540766411282592856903984951653826561 4294967296
none | row ipv6-hex-numbers 0 '0x20010db8000000000000000000000001\n::1\n::102:304\n' '' --format=hex -6 2001:db8::1 1 0x01020304
none | row networks-ranges 1 '3232235520\t3232235775\n1.0.0.0\t1.0.0.255\n\n\n' \
  'Eargument 3: range first above last: "2-1"\nEargument 4: range ends of two families, IPv4 and IPv6: "::1-1.2.3.4"\n' \
  192.168.0.7/24 16777216-16777471 2-1 ::1-1.2.3.4
ln '1.0.0.0-1.0.0.10\n::/127\n1.2.3.4\n' | row to-cidr 1 '1.0.0.0/29\n1.0.0.8/31\n1.0.0.10/32\n::/127\n\n' \
  'Eline 3: --to-cidr needs a network or range: "1.2.3.4"\n' --to-cidr
ln '\xef\xbb\xbf1.2.3.4\n\xef\xbb\xbf1.2.3.4\n' | row byte-order-mark 1 '16909060\n\n' \
  'Eline 2: not a valid IPv4 address: "\\xef\\xbb\\xbf1.2.3.4"\n'
ln 'network,geoname_id,name\r\n1.0.0.0/24,2077456,"Sydney, ""AU"""\r\n"::ffff:1.2.3.4",x\r\n\n5/8,y\nz\n"1.2.3.4,x\n1.0.0.0-1.0.0.1,last' |
  row field-csv 1 'network,geoname_id,name\r\n16777216,16777471,2077456,"Sydney, ""AU"""\r\n281470698652420,x\r\n\n,,y\n\n"1.2.3.4,x\n16777216,16777217,last' \
  "Eline 5: field 1: an integer before '/': a network starts with an address: \"5/8\"
Eline 6: field 1: neither an IP address nor an integer: \"z\"\nEline 7: quote not closed at the end of a field: \"\\\\x221.2.3.4,x\"\n" \
  --field=1 --delimiter=, --header
ln 'a\t1.0.0.0-1.0.0.2\tb\r\nc\t1.2.3.4\td\ne\n' | row field-to-cidr 1 'a\t1.0.0.0/31\tb\r\na\t1.0.0.2/32\tb\r\nc\t\td\ne\n' \
  'Eline 2: field 2: --to-cidr needs a network or range: "1.2.3.4"\nEline 3: fewer fields than --field asks for: "e"\n' \
  --field=2 --to-cidr
none | row usage-field-values 2 '' "E--field takes no value arguments: it reads standard input\nTry 'quadsum-cli --help'.\n" --field=1 1.2.3.4
none | row usage-lenient-ipv6 2 '' "E--lenient reads plain IPv4 values only: no -6 or --to-cidr\nTry 'quadsum-cli --help'.\n" --lenient -6
none | row empty-stream 0 '' ''
none | row empty-argument 1 '\n' 'Eargument 1: empty value: ""\n' ''
none | row version 0 "quadsum-cli $(source "$(dirname "$0")/../../scripts/lib.sh" && project_version)\n" '' --version
none | row usage-unknown 2 '' "Eunknown option '--hex'\nTry 'quadsum-cli --help'.\n" --hex 1.2.3.4
none | row usage-conflict 2 '' "E--to-int and --to-ip exclude each other\nTry 'quadsum-cli --help'.\n" --to-int --to-ip 1
none | row usage-lookup 2 '' "E--lookup needs at least one HOST\nTry 'quadsum-cli --help'.\n" --lookup
none | row lookup-one 0 '127.0.0.1\n' '' --lookup localhost
none | row lookup-multi 0 '127.0.0.11\n127.0.0.12\n127.0.0.13\n' '' --lookup quadsum-multi.test
none | row lookup-several 1 'localhost\t127.0.0.1\nquadsum-multi.test\t127.0.0.11\nquadsum-multi.test\t127.0.0.12
quadsum-multi.test\t127.0.0.13\n' 'Eargument 4: cannot resolve host: "no-such-host.invalid": *' \
  --lookup localhost quadsum-multi.test no-such-host.invalid

# --help: status 0 and the usage line first, on standard output.
help="$("${cli[@]}" --help 2>&1)" && [[ "$help" == "Usage: quadsum-cli [OPTION]... [VALUE]..."* ]] &&
  [[ $(wc -l <<<"$help") -lt 60 ]] ||
  { failures=$((failures + 1)); echo "FAIL: --help"; }

echo "== $failures row(s) failed"
[[ $failures -eq 0 ]]
