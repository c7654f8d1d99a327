# Sourced by the install scripts: Debian packages installed only when missing.

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
