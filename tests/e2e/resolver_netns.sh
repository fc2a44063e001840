#!/bin/bash
# Lookups of Quadsum.exe through the real resolver, sealed off from the
# network: the script re-runs itself inside private_resolver.sh, which holds
# the names and addresses expected below. No query can leave the machine.
#
# usage: resolver_netns.sh <e2e_driver.exe> <Quadsum.exe>
# Needs root (for unshare and mount), and DISPLAY and WINEPREFIX of a
# running display and Wine server, which the lookups inside share.
set -u

fail() { echo "FAIL: $*" >&2; exit 1; }

[[ $# -eq 2 ]] || fail "usage: $0 <e2e_driver.exe> <Quadsum.exe>"
[[ -n "${DISPLAY:-}" && -n "${WINEPREFIX:-}" ]] || fail "DISPLAY and WINEPREFIX must be set"

# Everything below runs inside the private namespace, never outside it.
[[ -n "${QUADSUM_PRIVATE_RESOLVER:-}" ]] ||
  exec "$BASH" "$(dirname "$0")/private_resolver.sh" "$BASH" "$0" "$@"

driver="$1" exe="$2" failures=0
lookup() {  # <host> [<address>...]: the addresses expected, in this order
  echo "== e2e_driver lookup $*"
  wine "$driver" lookup "$exe" "$@" || failures=$((failures + 1))
}

lookup localhost 127.0.0.1
lookup quadsum-multi.test 127.0.0.11 127.0.0.12 127.0.0.13
lookup no-such-host.invalid  # no address: the lookup fails

echo "== $failures lookup scenario(s) failed"
[[ $failures -eq 0 ]]
