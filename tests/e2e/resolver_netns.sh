#!/bin/bash
# Lookups of Quadsum.exe through the real resolver, sealed off from the
# network: the script re-runs itself inside private_resolver.sh, which holds
# the names and addresses expected below. No query can leave the machine.
#
# usage: resolver_netns.sh <e2e_driver.exe> <Quadsum.exe>
#        resolver_netns.sh --run <command> [<argument>...]
# Needs root (for unshare and mount). The lookups need DISPLAY and WINEPREFIX
# of a running display and Wine server, which they share; with --run the
# command is run inside instead (scripts/screenshot, for the lookup dialog).
set -u

fail() { echo "FAIL: $*" >&2; exit 1; }

[[ $# -eq 2 || ( $# -ge 2 && "$1" == --run ) ]] ||
  fail "usage: $0 <e2e_driver.exe> <Quadsum.exe> | --run <command> [<argument>...]"
[[ "$1" == --run || ( -n "${DISPLAY:-}" && -n "${WINEPREFIX:-}" ) ]] || fail "DISPLAY and WINEPREFIX must be set"

# Everything below runs inside the private namespace, never outside it.
[[ -n "${QUADSUM_PRIVATE_RESOLVER:-}" ]] ||
  exec "$BASH" "$(dirname "$0")/private_resolver.sh" "$BASH" "$0" "$@"

if [[ "$1" == --run ]]; then
  "${@:2}"
  exit
fi

driver="$1" exe="$2" failures=0
lookup() {  # <host> [<address>...]: the addresses expected, in this order
  echo "== e2e_driver $*"
  wine "$driver" "$exe" "$@" || failures=$((failures + 1))
}

lookup localhost 127.0.0.1
lookup quadsum-multi.test 127.0.0.11 127.0.0.12 127.0.0.13
lookup no-such-host.invalid  # no address: the lookup fails

echo "== $failures lookup scenario(s) failed"
[[ $failures -eq 0 ]]
