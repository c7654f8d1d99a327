# Sourced by the cross builds: Qt's qtbase built from Debian's own source, the same version
# as the installed qt6-base-dev (whose moc, rcc and uic it uses), cached outside the project.
# shellcheck source=packages.sh
source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

# Only what the quiz uses, for every target: each feature off is code it does not carry.
# shellcheck disable=SC2034 # used by the scripts that source this
qt_common_features=(
    -DFEATURE_optimize_size=ON
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_sessionmanager=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
    -DFEATURE_textodfwriter=OFF -DFEATURE_mimetype_database=OFF -DFEATURE_movie=OFF
    -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF -DFEATURE_colordialog=OFF
    -DFEATURE_wizard=OFF -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF
    -DFEATURE_datetimeedit=OFF -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
    -DFEATURE_freetype=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON
    -DFEATURE_accessibility=ON
)

# cached_qt KIND KEY ARGS...: sets qt to the install folder of Qt for KIND, building it
# first unless cached. KEY is anything else the build depends on (a toolchain, a compiler's
# version); ARGS go to Qt's configure. A function named by qt_patch, if set, runs in Qt's
# source folder before configure, and its text is part of the cache's key.
cached_qt() {
    local kind=$1 key=$2 version upstream hash
    shift 2
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev) # e.g. 6.4.2+dfsg-10
    upstream=${version%%+*}
    # Keyed by what the build depends on, not by where the project's checkout is.
    local project
    project=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    local patch=${qt_patch:+$(declare -f "$qt_patch")}
    hash=$({ echo "$version"; printf '%s\n' "${@//$project/}"; echo "$key"; echo "$patch"; } \
        | sha256sum | cut -c1-12)
    qt=${ZUN_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zun-mitologia}/qt-$upstream-$kind-$hash
    if [[ -f $qt/.complete ]]; then
        echo "Qt $upstream for $kind: cached in $qt"
        return 0
    fi
    rm -rf "$qt"
    local work start=$SECONDS
    work=$(mktemp -d "${TMPDIR:-/tmp}/zun-qt.XXXXXX")
    echo "Building Qt $upstream for $kind into $qt"
    (cd "$work" && logged apt-get source -qq "qt6-base=$version")
    [[ -z ${qt_patch:-} ]] || (cd "$work"/qt6-base-*/ && "$qt_patch")
    if ! cmake -S "$work"/qt6-base-*/ -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX="$qt" \
        -DBUILD_SHARED_LIBS=OFF -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        "$@" >"$work/configure.log" 2>&1; then
        tail -n 40 "$work/configure.log"
        return 1
    fi
    echo "Qt configured in $((SECONDS - start)) s"
    if ! cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1; then
        tail -n 40 "$work/build.log"
        return 1
    fi
    cmake --install "$work/build" >/dev/null
    touch "$qt/.complete"
    rm -rf "$work"
    echo "Qt built in $((SECONDS - start)) s"
}
