#!/usr/bin/env bash
# Runs the README's two commands the way a new user meets them: on a new Debian 12 root
# (Debian's mmdebstrap, variant apt, plus git and ca-certificates, from this machine's apt
# sources), into which the repository's committed HEAD is cloned; then, as root in a
# chroot, `./dev inspect` and `./dev test`. Nothing from this machine's toolchain, Python
# or caches is visible there, so whatever those commands need ./dev must install.
# Needs root (mmdebstrap and chroot). FRESH_DEBIAN_KEEP=1 keeps the root for a look.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-debian: needs root (mmdebstrap and chroot)" >&2
    exit 1
fi
sources=${FRESH_DEBIAN_SOURCES:-/etc/apt/sources.list.d/debian.sources}
[ -f "$sources" ] || sources=/etc/apt/sources.list

work=$(mktemp -d /var/tmp/orrery-fresh-debian.XXXXXX)
system=$work/root
mounted=()
# Unmounts in reverse order; the root is removed only when nothing is mounted in it any
# more, so that a failed unmount can never let rm reach the machine's own /dev.
cleanup() {
    local status=$? clean=1
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" || umount -l "${mounted[i]}" || clean=0
    done
    if [ "$clean" -eq 1 ] && ! findmnt -rn -o TARGET | grep "^$system" >/dev/null; then
        if [ "${FRESH_DEBIAN_KEEP:-0}" = 1 ]; then
            echo "== fresh-debian: the root is kept in $system"
        else
            rm -rf --one-file-system "$work"
        fi
    else
        echo "fresh-debian: something is still mounted under $system; not removed" >&2
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
bind() {
    mount "$@"
    mounted+=("${*: -1}")
}

start=$SECONDS
echo "== fresh-debian: a new Debian 12 root (mmdebstrap, sources: $sources; log: $work/mmdebstrap.log)"
if ! mmdebstrap --variant=apt --include=git,ca-certificates bookworm "$system" "$sources" \
    >"$work/mmdebstrap.log" 2>&1; then
    cat "$work/mmdebstrap.log"
    echo "== fresh-debian: mmdebstrap failed" >&2
    exit 1
fi
echo "   made in $((SECONDS - start)) s, $(du -sh --one-file-system "$system" | cut -f1)"

# The committed HEAD, as a clone would give it (uncommitted changes are not part of it).
git -C "$root" bundle create "$system/root/orrery.bundle" HEAD 2>/dev/null
echo "== fresh-debian: cloning $(git -C "$root" rev-parse --short HEAD) into the root"

bind -t proc proc "$system/proc"
bind --bind /dev "$system/dev"
bind --bind /dev/pts "$system/dev/pts"  # apt and dpkg keep their logs through a terminal

# A clean environment: nothing of this machine's PATH, Python, compiler caches or CI.
in_root() {
    chroot "$system" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -euo pipefail -c "$1"
}
in_root 'git -c advice.detachedHead=false clone -q /root/orrery.bundle /root/orrery && rm /root/orrery.bundle'
for command in "./dev inspect" "./dev test"; do
    step=$SECONDS
    echo "== fresh-debian: \$ $command"
    in_root "cd /root/orrery && $command"
    echo "== fresh-debian: $command passed in $((SECONDS - step)) s"
done
echo "== fresh-debian: passed in $((SECONDS - start)) s"
