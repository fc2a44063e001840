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
try="Try 'quadsum-cli --help' for more information.\n"
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
  row field-csv 1 'network,geoname_id,name\r\n16777216,16777471,2077456,"Sydney, ""AU"""\r\n281470698652420,x\r\n\n,,y\n\n\n16777216,16777217,last' \
  "Eline 5: field 1: an integer before '/': a network starts with an address: \"5/8\"
Eline 6: field 1: neither an IP address nor an integer: \"z\"\nEline 7: field 1: not a valid IPv4 address: \"1.2.3.4,x\"\n" \
  --field=1 --delimiter=, --header
ln 'a\t1.0.0.0-1.0.0.2\tb\r\nc\t1.2.3.4\td\ne\n' | row field-to-cidr 1 'a\t1.0.0.0/31\tb\r\na\t1.0.0.2/32\tb\r\nc\t\td\ne\n' \
  'Eline 2: field 2: --to-cidr needs a network or range: "1.2.3.4"\nEline 3: fewer fields than --field asks for: "e"\n' \
  --field=2 --to-cidr
# Field mode keeps every record and every column: copies of a line split
# into networks each end (an unended last line's with the end before it);
# no value is written with the delimiter in it; quotes as spreadsheets read
# them; blank lines, the byte-order mark and long headers kept.
ln 'a,1.0.0.0-1.0.0.5' | row field-cidr-unended 0 'a,1.0.0.0/30\na,1.0.0.4/31' '' --field=2 --delimiter=, --to-cidr
ln 'x,1.0.0.0-1.0.0.2\r\ny,1.0.0.0-1.0.0.2\r' | row field-cidr-crlf 0 \
  'x,1.0.0.0/31\r\nx,1.0.0.2/32\r\ny,1.0.0.0/31\r\ny,1.0.0.2/32\r' '' --field=2 --delimiter=, --to-cidr
ln 'a:42540766411282592856903984951653826561:b\n' | row field-holds-delimiter 1 'a::b\n' \
  "Eline 1: field 2: its converted text would hold the delimiter ':': \"42540766411282592856903984951653826561\"\n" \
  --field=2 --delimiter=:
ln 'a/1.0.0.0-1.0.0.1\n' | row field-holds-delimiter-cidr 1 'a/\n' \
  "Eline 1: field 2: its converted text would hold the delimiter '/': \"1.0.0.0-1.0.0.1\"\n" --field=2 --delimiter=/ --to-cidr
ln 'h:1.2.3.4:c\n' | row field-delimiter-colon 0 'h:16909060:c\n' '' --field=2 --delimiter=: --to-int
none | row usage-delimiter-digit 2 '' "E--delimiter cannot be a digit: every value written holds digits\n$try" --field=1 --delimiter=7
ln '"Smith, J"r,1.2.3.4\n"a""b",5,"c\ny,"1.2.3.4"x\n' | row field-quotes 1 '"Smith, J"r,16909060\n"a""b",0.0.0.5,"c\ny,\n' \
  'Eline 1: field 1: text after the closing quote: "\\x22Smith, J\\x22r,1.2.3.4"
Eline 2: field 3: quote not closed: "\\x22a\\x22\\x22b\\x22,5,\\x22c"
Eline 3: field 2: not a valid IPv4 address: "1.2.3.4x"\n' --field=2 --delimiter=,
ln 'name,ip\nweb,10.0.0.1\n\n \r\n' | row field-blank-lines 0 'name,ip\nweb,167772161\n\n \r\n' '' --field=2 --delimiter=, --header
ln '\n\t\n' | row field-blank-beyond 0 '\n\t\n' '' --field=9
ln '\xef\xbb\xbfname,ip\n\xef\xbb\xbfh,1.2.3.4\n' | row field-mark-header 0 '\xef\xbb\xbfname,ip\n\xef\xbb\xbfh,16909060\n' '' \
  --field=2 --delimiter=, --header
ln '\xef\xbb\xbfh,1.2.3.4\n' | row field-mark-kept 0 '\xef\xbb\xbfh,16909060\n' '' --field=2 --delimiter=,
ln '\xef\xbb\xbf1.2.3.4,h\n' | row field-mark-skipped 0 '16909060,h\n' '' --field=1 --delimiter=,
long="$(head -c 5000 /dev/zero | tr '\0' h)"
ln "$long\r\na\t1.2.3.4\r\n" | row field-long-header 0 "$long\r\na\t16909060\r\n" '' --field=2 --header
{ ln '1.2.3.4'; head -c 4089 /dev/zero | tr '\0' ' '; ln '\r\n'; } | row longest-line-crlf 0 '16909060\n' ''
# Messages cost no writes of their own off a terminal and keep their place
# on one (native only: strace counts the writes, script makes the terminal).
if [[ "${cli[0]}" != *wine* ]] && command -v strace >/dev/null && command -v script >/dev/null; then
  yes 1.2.3.400 | head -n 1000 >"$work/in"
  strace -f -e trace=write -o "$work/trace" "${cli[@]}" <"$work/in" >/dev/null 2>&1
  writes=$(grep -c 'write(' "$work/trace")
  ln '1.2.3.4\nx\n5\n' >"$work/in"
  script -qec "$(printf '%q ' "${cli[@]}") <$work/in" /dev/null >"$work/tty"
  ln '16909060\r\n\r\nquadsum-cli: line 2: neither an IP address nor an integer: "x"\r\n0.0.0.5\r\n' >"$work/want-tty"
  [[ $writes -lt 10 ]] && cmp -s "$work/tty" "$work/want-tty" ||
    { failures=$((failures + 1)); echo "FAIL: messages: $writes writes for 1000 invalid lines, or out of place on a terminal"; }
fi

none | row usage-field-values 2 '' "E--field takes no value arguments: it reads standard input\n$try" --field=1 1.2.3.4
none | row usage-lenient-ipv6 2 '' "E--lenient reads plain IPv4 values only: no -6 or --to-cidr\n$try" --lenient -6
none | row empty-stream 0 '' ''
none | row empty-argument 1 '\n' 'Eargument 1: empty value: ""\n' ''
none | row version 0 "quadsum-cli $(source "$(dirname "$0")/../../scripts/lib.sh" && project_version)\n" '' --version
none | row usage-unknown 2 '' "Eunrecognized option '--hex'\n$try" --hex 1.2.3.4
none | row usage-conflict 2 '' "E--to-int and --to-ip exclude each other\n$try" --to-int --to-ip 1
none | row usage-lookup 2 '' "E--lookup needs at least one HOST\n$try" --lookup
# Options as getopt_long reads them, every message in coreutils' words.
none | row option-spaced-and-abbreviated 0 '0x01020304\n::1\n' '' --form hex 1.2.3.4 --ipv 1
ln 'a,1.2.3.4\n' | row option-argument-apart 0 'a,16909060\n' '' --field 2 --delimiter ,
none | row usage-bad-format 2 '' "Einvalid argument 'oct' for '--format'\nValid arguments are:\n  - 'dec'\n  - 'hex'\n$try" --format=oct 1
none | row usage-ambiguous 2 '' "Eoption '--to' is ambiguous; possibilities: '--to-int' '--to-ip' '--to-cidr'\n$try" --to 1
none | row usage-needs-argument 2 '' "Eoption '--field' requires an argument\n$try" --field
none | row usage-no-argument 2 '' "Eoption '--help' doesn't allow an argument\n$try" --help=x
none | row usage-short 2 '' "Einvalid option -- 'x'\n$try" -6x 1
none | row usage-empty-delimiter 2 '' "Ethe delimiter must be a single byte\n$try" --field=1 --delimiter=
none | row usage-empty-delimiter-apart 2 '' "Ethe delimiter must be a single byte\n$try" --field=1 --delimiter ''
none | row usage-huge-field 2 '' "Efield number '18446744073709551616' is too large\n$try" --field=18446744073709551616
none | row typed-argument-numbers 1 '0.0.0.10\n\n' 'Eargument 5: not an integer from 0 to 2^128-1: "1.2.3.4"\n' \
  10 --to-ip --format dec 1.2.3.4
# Strict means what inet_pton means: a leading zero is refused wherever a
# decimal part of an address or a length stands; integers keep theirs.
none | row leading-zeros 1 '\n\n\n\n0.0.0.10\n' 'Eargument 1: leading zero (ambiguous: some tools read it as octal): "010.000.015.001"
Eargument 2: leading zero (ambiguous: some tools read it as octal): "1.2.03.4"
Eargument 3: leading zero (ambiguous: some tools read it as octal): "::ffff:1.2.03.4"
Eargument 4: leading zero (ambiguous: some tools read it as octal): "1.1.1.0/032"\n' \
  010.000.015.001 1.2.03.4 ::ffff:1.2.03.4 1.1.1.0/032 010
none | row lenient-leading-zero 0 '167776001\n' '' --lenient 010.000.015.001
none | row named-faults 1 '167772160\t167772415\n\n\n\n' 'Eargument 2: network length of more than 3 digits: "1.2.3.4/1000"
Eargument 3: more than 32 hex digits: "0x100000000000000000000000000000000"
Eargument 4: netmask not ones then zeros in a strict IPv4 address: "10.0.0.0/0.0.0.255"\n' \
  10.0.0.0/255.255.255.0 1.2.3.4/1000 0x100000000000000000000000000000000 10.0.0.0/0.0.0.255
none | row lookup-one 0 '127.0.0.1\n' '' --lookup localhost
none | row lookup-multi 0 '127.0.0.11\n127.0.0.12\n127.0.0.13\n' '' --lookup quadsum-multi.test
none | row lookup-several 1 'localhost\t127.0.0.1\nquadsum-multi.test\t127.0.0.11\nquadsum-multi.test\t127.0.0.12
quadsum-multi.test\t127.0.0.13\n' 'Eargument 4: cannot resolve host: "no-such-host.invalid": *' \
  --lookup localhost quadsum-multi.test no-such-host.invalid

# Set modes, on files in a directory of their own (relative names, which
# Wine passes to the exe as they are).
mkdir "$work/sets" && pushd "$work/sets" >/dev/null || exit 2
ln '\xef\xbb\xbf# blocklist\r\n; two kinds of comment\r\n10.0.0.0/255.255.255.0 ; netmask\r\n10.0.1.0 - 10.0.1.255\r\n' >a
ln '\n  \t\n2001:db8::/127\t# IPv6 in the same file\n::ffff:10.0.2.0-::ffff:10.0.2.1\n167772672' >>a
ln '10.0.0.0/23\n2001:db8::1\n2001:db8::2\n' >b
ln '10.0.0.7\nbad\n10.0.0.8\n010.0.0.9\n' >bad
ln '; drop list\n1.10.16.0/20 ; SBL256894\n1.19.0.0/16 ; SBL434604\n10.20.0.0/14 ; a private network by mistake\n' >drop.txt
ln '# level 1\n1.10.16.0/21\n1.10.32.0 - 1.10.47.255\n1.19.0.0/255.255.0.0\n192.168.56.0/24\n2001:db8:bad::/48\n' >level1.txt
ln '10.0.0.0/8\n172.16.0.0/12\n192.168.0.0/16\nfc00::/7\n' >private.txt
{ ln '#'; head -c 3145728 /dev/zero | tr '\0' x; ln '\n1.2.3.4 ;'; head -c 3145728 /dev/zero | tr '\0' y; ln '\n'; head -c 3145728 /dev/zero | tr '\0' z; } >long
seq 0 2 1200000 >big  # ranges of several MiB, where large blocks are allocated their own way
mkdir sub
none | row set-merge 0 '10.0.0.0/23\n10.0.2.0/32\n::ffff:10.0.2.0/127\n2001:db8::/127\n2001:db8::2/128\n' '' --merge a b
none | row set-ranges 0 '10.0.0.0-10.0.2.0\n::ffff:10.0.2.0-::ffff:10.0.2.1\n2001:db8::-2001:db8::1\n' '' --merge --ranges a
none | row set-to-int 0 '167772160\t167772671\n42540766411282592856903984951653826561\t42540766411282592856903984951653826562\n' '' \
  --to-int --merge b
none | row set-hex 0 '0x0a000000\t0x0a0001ff\n0x20010db8000000000000000000000001\t0x20010db8000000000000000000000002\n' '' --merge --to-int --format=hex b
ln '10.0.2.0\n::ffff:10.0.2.0/127\n2001:db8::/120\n' |
  row set-expand 0 '10.0.2.0\n::ffff:10.0.2.0\n::ffff:10.0.2.1\n2001:db8::\n2001:db8::1\n' '' --expand --common a -
none | row set-common 0 '10.0.0.0/23\n2001:db8::1/128\n' '' --common a b
none | row set-except 0 '10.0.2.0/32\n::ffff:10.0.2.0/127\n2001:db8::/128\n' '' --except a b
none | row set-diff-same 0 '' '' --diff a a
none | row set-diff 1 '10.0.2.0/32\n::ffff:10.0.2.0/127\n2001:db8::/128\n2001:db8::2/128\n' '' --diff a b
ln '10.0.0.0/23\n2001:db8::/127\n' | row set-diff-ipv6 1 '2001:db8::/128\n2001:db8::2/128\n' '' --diff - b
none | row set-diff-invalid 2 '10.0.0.0/30\n10.0.0.4/31\n10.0.0.6/32\n10.0.0.9/32\n10.0.0.10/31\n10.0.0.12/30\n10.0.0.16/28\n10.0.0.32/27\n10.0.0.64/26\n10.0.0.128/25\n10.0.1.0/24\n2001:db8::1/128\n2001:db8::2/128\n' \
  'Ebad: line 2: neither an IP address nor an integer: "bad"\nEbad: line 4: leading zero (ambiguous: some tools read it as octal): "010.0.0.9"\n' --diff bad b
none | row set-invalid 1 '10.0.0.7/32\n10.0.0.8/32\n' \
  'Ebad: line 2: neither an IP address nor an integer: "bad"\nEbad: line 4: leading zero (ambiguous: some tools read it as octal): "010.0.0.9"\n' --merge bad
# Lengths past the family, each through the quick address-and-length path.
ln '2001:b8::/322\n10.0.0.0/999\n10.0.0.0/33\n::/129\n1.2.3.4/32\n' | row set-lengths 1 '1.2.3.4/32\n' \
  'Estandard input: line 1: network length not from 0 to 32 (IPv4) or 128 (IPv6): "2001:b8::/322"
Estandard input: line 2: network length not from 0 to 32 (IPv4) or 128 (IPv6): "10.0.0.0/999"
Estandard input: line 3: network length not from 0 to 32 (IPv4) or 128 (IPv6): "10.0.0.0/33"
Estandard input: line 4: network length not from 0 to 32 (IPv4) or 128 (IPv6): "::/129"\n' --merge
none | row set-count 0 'family\tnetworks\tranges\taddresses\nIPv4\t2\t1\t513\nIPv6\t2\t2\t4\n' '' --count a
ln '::/0\n0.0.0.0/1\n128.0.0.0/1\n' | row set-count-whole 0 'family\tnetworks\tranges\taddresses\nIPv4\t1\t1\t4294967296
IPv6\t1\t1\t340282366920938463463374607431768211456\n' '' --count
none | row set-count-large 0 'family\tnetworks\tranges\taddresses\nIPv4\t600001\t600001\t600001\n' '' --count big
none | row set-count-empty 0 'family\tnetworks\tranges\taddresses\n' '' --count
ln '1\n0x2\n0x00000000000000000000000000000003\n' | row set-ipv6-integers 0 '::1/128\n::2/127\n' '' --merge -6
none | row set-long-lines 1 '1.2.3.4/32\n' 'Elong: line 3: line longer than 4096 bytes: "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz" (first 40 of 3145728 bytes)\n' --merge long
ln '0.0.0.0/0\n::/127\n' | row set-expand-limit 2 '' 'E--expand would write more than 2^32 addresses\n' --expand --merge
none | row set-missing 2 '' 'Ecannot read nope: No such file or directory\n' --merge a nope
none | row set-directory 2 '' 'Ecannot read sub: *' --merge a sub
none | row set-stdin-twice 2 '' "Estandard input (-) named twice\n$try" --merge - a -
none | row set-too-few 2 '' "E--common needs two files or more\n$try" --common a
none | row set-diff-three 2 '' "E--diff needs two files\n$try" --diff a b a
none | row set-two-modes 2 '' "E--merge, --common, --except, --diff and --count exclude each other\n$try" --merge --diff a b
none | row set-lenient 2 '' "Eset modes take no --lenient, --field, --delimiter, --header, --to-ip, --to-cidr or --lookup\n$try" \
  --merge --to-cidr a
none | row set-two-forms 2 '' "E--ranges, --to-int and --expand exclude each other\n$try" --merge --ranges --expand a
none | row set-count-form 2 '' "E--count prints a table: no --ranges, --to-int or --expand\n$try" --count --to-int a
none | row set-hex-alone 2 '' "E--format=hex needs --to-int\n$try" --except --format=hex a b
none | row set-form-alone 2 '' "E--ranges and --expand need a set mode\n$try" --ranges 1.2.3.4
# The README's example: two lists merged, the private networks taken out,
# the rest counted.
"${cli[@]}" --merge drop.txt level1.txt | row readme-except 0 '1.10.16.0/20\n1.10.32.0/20\n1.19.0.0/16\n2001:db8:bad::/48\n' '' \
  --except - private.txt
"${cli[@]}" --merge drop.txt level1.txt | "${cli[@]}" --except - private.txt | row readme-count 0 \
  'family\tnetworks\tranges\taddresses\nIPv4\t3\t2\t73728\nIPv6\t1\t1\t1208925819614629174706176\n' '' --count
popd >/dev/null || exit 2

# --help: status 0 and the usage line first, on standard output.
help="$("${cli[@]}" --help 2>&1)" && [[ "$help" == "Usage: quadsum-cli [OPTION]... [VALUE]..."* ]] &&
  [[ $(wc -l <<<"$help") -lt 70 ]] ||
  { failures=$((failures + 1)); echo "FAIL: --help"; }

echo "== $failures row(s) failed"
[[ $failures -eq 0 ]]
