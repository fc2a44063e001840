#!/bin/bash
# Runs a command against the real resolver, sealed off from the network: the
# script re-runs itself in a private mount and network namespace (only a
# loopback interface) where a test hosts file stands in for /etc/hosts and
# the only name server is loopback. No query can leave the machine.
#
# usage: private_resolver.sh <command> [<arg>...]   (needs root)
# Names inside: localhost (127.0.0.1), quadsum-multi.test (127.0.0.11, .12
# and .13 in this order); no other name resolves. The command sees
# QUADSUM_PRIVATE_RESOLVER=1, so scripts that resolve can refuse to run
# outside.
set -u

fail() { echo "FAIL: $*" >&2; exit 1; }

[[ $# -ge 1 ]] || fail "usage: $0 <command> [<arg>...]"

# Outside: remember this network namespace and re-run in a new one.
if [[ -z "${QUADSUM_OUTER_NETNS:-}" ]]; then
  QUADSUM_OUTER_NETNS="$(readlink /proc/self/ns/net)" \
    unshare --mount --net --fork -- "$BASH" "$0" "$@" && exit 0
  fail "$1 failed in a private namespace (see above; unshare needs root)"
fi

# Inside: make sure this really is a network of its own before resolving.
[[ "$(readlink /proc/self/ns/net)" != "$QUADSUM_OUTER_NETNS" ]] || fail "still in the outer network"
ip link set lo up || fail "cannot bring lo up"
if ip -o address show | grep -v ' lo '; then fail "an interface other than lo has an address"; fi

etc="$(mktemp -d)" || fail "no temporary directory"
trap 'rm -rf "$etc"' EXIT

# A name on several lines keeps all its addresses only with "multi on".
cat >"$etc/hosts" <<'HOSTS'
127.0.0.1 localhost
127.0.0.11 quadsum-multi.test
127.0.0.12 quadsum-multi.test
127.0.0.13 quadsum-multi.test
HOSTS
echo "multi on" >"$etc/host.conf"
echo "nameserver 127.0.0.1" >"$etc/resolv.conf"
echo "hosts: files dns" >"$etc/nsswitch.conf"
for f in hosts host.conf resolv.conf nsswitch.conf; do
  mount --bind "$etc/$f" "/etc/$f" || fail "cannot bind $etc/$f over /etc/$f"
done

QUADSUM_PRIVATE_RESOLVER=1 "$@"
