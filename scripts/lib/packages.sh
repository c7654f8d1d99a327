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
    logged apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# logged COMMAND...: its output kept back, and shown with the command when it fails, so that
# a failure says why (a proxy's certificate, a version the mirror lacks) and success is quiet.
logged() {
    local log status=0
    log=$(mktemp "${TMPDIR:-/tmp}/zun-log.XXXXXX")
    "$@" >"$log" 2>&1 || status=$?
    if ((status != 0)); then
        tail -n 40 "$log" >&2
        echo "failed (exit $status): $*" >&2
    fi
    rm -f "$log"
    return "$status"
}

# deb-src entries for the Debian archives that the machine's own apt sources name (a school
# may use its own mirror or proxy), unless it has some: the release and its updates and
# security suites, so that the installed qt6-base-dev's source is always reachable.
ensure_deb_src() {
    local sources=/etc/apt/sources.list.d/zun-mitologia-src.sources codename
    if grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
        || grep -qs '^deb-src' /etc/apt/sources.list; then
        return 0
    fi
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    {
        # deb822 stanzas of this release: the same, as deb-src
        awk -v release="$codename" 'BEGIN { RS = ""; ORS = "\n\n" }
            /(^|\n)Types:[ \t]*deb([ \t]|\n|$)/ && /(^|\n)Enabled:[ \t]*no/ == 0 \
                && match($0, "(^|\n)Suites:[^\n]*[ \t]" release "([ \t-]|\n|$)") {
                sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' \
            /etc/apt/sources.list.d/*.sources 2>/dev/null || true
        # one-line entries of this release, as deb-src stanzas
        grep -hsE "^deb[[:space:]].*[[:space:]]$codename([[:space:]-]|$)" \
            /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
            | awk '{ options = ""
                     if (match($0, /\[[^]]*\]/)) {
                         options = substr($0, RSTART, RLENGTH)
                         $0 = substr($0, 1, RSTART - 1) substr($0, RSTART + RLENGTH) }
                     printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $2, $3
                     for (i = 4; i <= NF; i++) printf " %s", $i
                     if (match(options, /signed-by=[^] ]+/))
                         printf "\nSigned-By: %s", substr(options, RSTART + 10, RLENGTH - 10)
                     printf "\n\n" }'
    } >"$sources"
    if [[ ! -s $sources ]]; then
        rm -f "$sources"
        echo "No apt source of Debian $codename found in /etc/apt to take Qt's source from." >&2
        return 1
    fi
    zun_apt_stale=1
}

# require_release CODENAME WHAT: stops at once, saying so, on another Debian release.
require_release() {
    local codename
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-unknown}")
    [[ $codename == "$1" ]] && return 0
    echo "$2 builds on Debian 12 ($1) only: its Qt is built from Debian 12's Qt 6.4 source" \
        "with options for that version, and this machine runs $codename. Build it on a Debian" \
        "12 machine; what it makes runs on newer systems too." >&2
    exit 1
}
