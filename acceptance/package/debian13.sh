#!/usr/bin/env bash
# A machine set up today: a fresh Debian 13 root made with debootstrap, as root, with nothing
# installed by hand. README's test command runs in it, the Windows and page builds, the page
# played under Debian 13's Orca, then its run command with the quiz started offscreen and
# alive after 5 s; in a second copy of the fresh root, the .deb this build makes (on Debian
# 12) is installed with apt and started the same way.
# The project is cloned into the root as committed: uncommitted changes are not tried.
#   acceptance/package/debian13.sh BUILD   (a build of the default preset)
set -euo pipefail
project=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
for tool in debootstrap git cpack; do
    command -v "$tool" >/dev/null || { echo "skipped: not installed: $tool"; exit 77; }
done
((EUID == 0)) || { echo "skipped: debootstrap and chroot need root"; exit 77; }
start=$SECONDS
work=$(mktemp -d /var/tmp/zun-debian13.XXXXXX)
fresh=$work/fresh
mounted=()

# Nothing of a root is removed while anything is mounted in it: its /dev is the machine's.
cleanup() {
    local root mount
    for root in "${mounted[@]}"; do
        for mount in dev sys proc; do
            umount -R "$root/$mount" || umount -lR "$root/$mount" || true
        done
    done
    if findmnt -rn -o TARGET | grep -q "^$work/"; then
        echo "left in place, still mounted: $work" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT

# The archive this machine's apt sources name (a school's mirror or proxy), else Debian's.
archive() {
    local uri
    uri=$(grep -rhsoE "(URIs:|^deb)[[:space:]]+(\[[^]]*\][[:space:]]+)?[a-z]+://[^[:space:]]*/$1/?([[:space:]]|$)" \
        /etc/apt/sources.list /etc/apt/sources.list.d/ | grep -oE '[a-z]+://[^[:space:]]+' | head -n 1)
    echo "${uri:-http://deb.debian.org/$1}"
}

# enter ROOT COMMAND: a shell in ROOT as a new user's root would have it, with this machine's
# way out (a proxy, its authorities) and nothing else of its environment.
enter() {
    local way_out=()
    for name in http_proxy https_proxy no_proxy NODE_EXTRA_CA_CERTS; do
        [[ -z ${!name:-} ]] || way_out+=("$name=${!name}")
    done
    chroot "$1" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 "${way_out[@]}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$2"
}

# alive ROOT PROGRAM [FOLDER]: the quiz, offscreen, still running 5 s after it starts.
alive() {
    enter "$1" "cd ${3:-/} || exit 1; QT_QPA_PLATFORM=offscreen $2 & pid=\$!; sleep 5
        kill -0 \$pid || { wait \$pid; echo \"the quiz ended within 5 s (status \$?)\"; exit 1; }
        kill \$pid; echo 'the quiz was alive after 5 s'"
}

mount_into() {
    mounted+=("$1")
    mount -t proc proc "$1/proc"
    mount --rbind /sys "$1/sys" && mount --make-rslave "$1/sys"
    mount --rbind /dev "$1/dev" && mount --make-rslave "$1/dev"
}

debian=$(archive debian)
echo "== debootstrap trixie from $debian"
debootstrap --variant=minbase trixie "$fresh" "$debian" >"$work/debootstrap.log" 2>&1 \
    || { tail -n 20 "$work/debootstrap.log"; exit 1; }
cat >"$fresh/etc/apt/sources.list" <<SOURCES
deb $debian trixie main
deb $debian trixie-updates main
deb $(archive debian-security) trixie-security main
SOURCES
printf '#!/bin/sh\nexit 101\n' >"$fresh/usr/sbin/policy-rc.d" # no services started
chmod +x "$fresh/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$fresh/etc/"
# A proxy that inspects TLS signs with the machine's own authorities, which the root is given
# as a school's IT would give a new machine; npm is told of them as it is told here.
mkdir -p "$fresh/usr/local/share/ca-certificates"
cp /usr/local/share/ca-certificates/*.crt "$fresh/usr/local/share/ca-certificates/" 2>/dev/null || true
cp -a "$fresh" "$work/deb"
echo "fresh root in $((SECONDS - start)) s"

readme=$project/README.md
mapfile -t commands < <(sed -n 's|^    \(\./scripts/install-deps .*\)|\1|p' "$readme")
((${#commands[@]} == 2)) || { echo "README.md: expected its two commands, found ${#commands[@]}"; exit 1; }
git clone --quiet "$project" "$fresh/root/zun-mitologia"
mount_into "$fresh"
echo "== the test command: ${commands[1]}"
enter "$fresh" "cd /root/zun-mitologia && ${commands[1]}" 2>&1 | tail -n 25
echo "README's test command passed at $((SECONDS - start)) s"
# The Windows face needs only MinGW-w64 and the Windows API: it builds, and its test passes
# under Debian 13's Wine; the page needs only emscripten: it builds with its core's test.
enter "$fresh" "cd /root/zun-mitologia && ./scripts/build-windows" 2>&1 \
    | grep -E "Test +#|tests passed|generated|Installer package"
echo "scripts/build-windows built and tested the Windows face at $((SECONDS - start)) s"
enter "$fresh" "cd /root/zun-mitologia && ./scripts/build-web" 2>&1 | tail -n 4
echo "scripts/build-web built the page at $((SECONDS - start)) s"
# The page as a blind pupil hears it on Debian 13: its Orca, in its Chromium and Firefox ESR,
# all three installed above by the two scripts. Firefox under Orca 48 failed one step in one
# run of eleven, which step unseen: a failed run shows its failing steps and is played once
# more, and the check fails if that fails too.
heard() {
    enter "$fresh" "cd /root/zun-mitologia && python3 acceptance/web/orca_page.py \
        --browser $1 build-web/site" >"$fresh/root/orca-$1.txt" 2>&1
}
failing() { awk '/^FAIL/ { p = 1 } /^ok/ { p = 0 } p' "$fresh/root/orca-$1.txt"; }
for browser in chromium firefox; do
    if ! heard $browser; then
        failing $browser
        echo "the page under Debian 13's Orca in $browser: failed once; played again"
        heard $browser || { failing $browser; echo "... and failed again"; exit 1; }
    fi
    tail -n 1 "$fresh/root/orca-$browser.txt"
done
echo "the page heard right under Debian 13's Orca in Chromium and Firefox ESR at $((SECONDS - start)) s"
echo "== the run command: ${commands[0]}"
run=${commands[0]}
program=${run##*&& }
enter "$fresh" "cd /root/zun-mitologia && ${run% && *}" | tail -n 5
alive "$fresh" "$program" /root/zun-mitologia
echo "README's run command passed at $((SECONDS - start)) s"

echo "== the .deb built here, installed with apt into a fresh Debian 13"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(ls "$work"/package/*.deb)
cp "$deb" "$work/deb/root/"
mount_into "$work/deb"
enter "$work/deb" "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends ./root/${deb##*/} >/root/apt.log 2>&1 \
    || { tail -n 20 /root/apt.log; exit 1; }"
alive "$work/deb" /usr/bin/zun-mitologia
echo "Debian 13: both README commands and the .deb passed in $((SECONDS - start)) s"
