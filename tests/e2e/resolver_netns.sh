#!/bin/bash
# Lookups through the real resolver, sealed off from the network: the script
# re-runs itself in a private mount and network namespace (only a loopback
# interface) where a test hosts file stands in for /etc/hosts and the only
# name server is loopback. No query can leave the machine.
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

# Outside: remember this network namespace and re-run in a new one.
if [[ -z "${QUADSUM_OUTER_NETNS:-}" ]]; then
  QUADSUM_OUTER_NETNS="$(readlink /proc/self/ns/net)" \
    unshare --mount --net --fork -- "$BASH" "$0" "$@" && exit 0
  fail "lookups in a private namespace failed (see above; unshare needs root)"
fi

# Inside: make sure this really is a network of its own before resolving.
[[ "$(readlink /proc/self/ns/net)" != "$QUADSUM_OUTER_NETNS" ]] || fail "still in the outer network"
ip link set lo up || fail "cannot bring lo up"
if ip -o address show | grep -v ' lo '; then fail "an interface other than lo has an address"; fi

etc="$(mktemp -d)" || fail "no temporary directory"
trap 'rm -rf "$etc"' EXIT

# A name on several lines keeps all its addresses only with "multi on".
cat >"$etc/hosts" <<'EOF'
127.0.0.1 localhost
127.0.0.11 quadsum-multi.test
127.0.0.12 quadsum-multi.test
127.0.0.13 quadsum-multi.test
EOF
echo "multi on" >"$etc/host.conf"
echo "nameserver 127.0.0.1" >"$etc/resolv.conf"
echo "hosts: files dns" >"$etc/nsswitch.conf"
for f in hosts host.conf resolv.conf nsswitch.conf; do
  mount --bind "$etc/$f" "/etc/$f" || fail "cannot bind $etc/$f over /etc/$f"
done

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
