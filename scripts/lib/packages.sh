# Sourced by the install scripts: Debian packages installed only when missing, and the
# source entries that `apt-get source` needs for Qt's own source.

# install_missing PACKAGE...: quick and silent when every package is there.
install_missing() {
    local missing=() package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ $status == "install ok installed" ]] || missing+=("$package")
    done
    [[ ${#missing[@]} -eq 0 && ${zun_apt_stale:-0} -eq 0 ]] && return 0
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    zun_apt_stale=0
    [[ ${#missing[@]} -eq 0 ]] && return 0
    echo "Installing: ${missing[*]}"
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# A deb-src entry for bookworm and its updates, unless the machine has one: without the
# security suite a security update of qt6-base-dev would leave its source unreachable.
ensure_deb_src() {
    local sources=/etc/apt/sources.list.d/zun-mitologia-src.sources
    if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
        || grep -qs '^deb-src' /etc/apt/sources.list; then
        return 0
    fi
    cat >"$sources" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    zun_apt_stale=1
}
