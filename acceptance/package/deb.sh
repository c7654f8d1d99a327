#!/usr/bin/env bash
# Builds the .deb and checks it as a distribution would: the menu entry and AppStream data
# validate, lintian finds no error, and the program runs from the unpacked package. Then
# the same for a school that sets its own address and name, as a newer version: all of it
# follows, and that package installed over the first one replaces it cleanly.
#   acceptance/package/deb.sh BUILD   (a build of the default preset)
# shellcheck disable=SC1111 # the school's name, in its own Bulgarian quotes
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
for tool in dpkg-deb lintian desktop-file-validate appstreamcli cpack; do
    command -v "$tool" >/dev/null || { echo "skipped: not installed: $tool"; exit 77; }
done
cd "$here/.."
title=$(python3 -c 'import json; print(json.load(open("data/form.json"))["title"])')

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

# check DEB ADDRESS NAME: the package as shipped, unpacked into a folder of its own.
check() {
    local deb=$1 address=$2 name=$3 root=$unpacked/$2
    echo "== $deb, $(stat -c %s "$deb") bytes"
    dpkg-deb --contents "$deb" | awk '{print $3, $6}'
    lintian --fail-on error --tag-display-limit 0 "$deb"
    dpkg-deb -x "$deb" "$root"
    desktop-file-validate "$root"/usr/share/applications/*.desktop
    local metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
    appstreamcli validate --no-net "${metainfo[@]}"
    grep -q "https://$address/" "${metainfo[@]}" "$root/usr/share/doc/zun-mitologia/copyright"
    grep -q "<developer_name>$name</developer_name>" "${metainfo[@]}"
    local fields
    fields=$(dpkg-deb -f "$deb" Maintainer Homepage)
    grep -q "^Maintainer: $name <" <<<"$fields"
    grep -qx "Homepage: https://$address/" <<<"$fields"
    "$here/desktop/play_real.py" --close-at pick --title "$address $title" "$root/usr/bin/zun-mitologia"
}

rm -f "$build"/package/*.deb
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build/package" >/dev/null
old=$(ls "$build"/package/*.deb)
check "$old" www.example.org "$title"

version=$(dpkg-deb -f "$old" Version)
next=${version%.*}.$((${version##*.} + 1))
school=(-DZUN_SCHOOL_ADDRESS=www.school.example.bg "-DZUN_SCHOOL_NAME=СУ „Христо Ботев“")
school_build=$build/acceptance/school
cmake -S . -B "$school_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DZUN_VERSION_OVERRIDE="$next" "${school[@]}" >/dev/null
cmake --build "$school_build" --parallel "$(nproc)" --target zun-mitologia zun_documents >/dev/null
(cd "$school_build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
new=$(ls "$school_build"/*.deb)
check "$new" www.school.example.bg "СУ „Христо Ботев“"

# The upgrade, in a scratch root with a dpkg database of its own (the libraries the
# package depends on are the machine's, not that root's): the newer package over the older
# leaves exactly the newer one's files, the newer program, and both releases in AppStream.
echo "== $version, then $next over it"
root=$unpacked/dpkg-root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# (dpkg lists each dependency the scratch root lacks; its status still counts)
dpkg --root="$root" --force-depends -i "$old" >/dev/null 2>&1
dpkg --root="$root" --force-depends -i "$new" >/dev/null 2>&1
[[ $(dpkg-query --root="$root" -W -f='${Version}' zun-mitologia) == "$next" ]]
diff <(dpkg --root="$root" -L zun-mitologia | while read -r p; do
           [[ -f $root$p ]] && echo "$p"; done | sort) \
    <(cd "$root" && find usr -type f | sed 's|^|/|' | sort)
cmp "$root/usr/bin/zun-mitologia" "$unpacked/www.school.example.bg/usr/bin/zun-mitologia"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
grep -q "<release version=\"$next\" date=\"$(date -u +%F)\">" "${metainfo[@]}"
grep -q "<release version=\"$version\" date=" "${metainfo[@]}"
[[ $(ls "$root"/usr/share/applications/) == org.example.zun_mitologia.desktop ]]
zcat "$root/usr/share/doc/zun-mitologia/changelog.gz" | head -n 1
echo "the upgrade left version $next, its program, and one menu entry"
