# Sourced by the browser build: Debian's emscripten dressed as the emsdk layout that Qt's
# CMake expects. Qt reads $EMSDK/.emscripten for the compiler's root and runs emcc there;
# Debian has no emsdk, so a folder of three entries stands in for one.
export EMSCRIPTEN=/usr/share/emscripten
# emcc's JavaScript optimiser needs Debian's node modules where Node.js is not Debian's.
export NODE_PATH=/usr/share/nodejs:/usr/lib/nodejs${NODE_PATH:+:$NODE_PATH}
EMSDK=${ZUN_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zun-mitologia}/emsdk
export EMSDK
if [[ ! -x $EMSDK/upstream/emscripten/emcc ]]; then
    mkdir -p "$EMSDK/upstream/emscripten"
    echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$EMSDK/.emscripten"
    ln -sfn /usr/bin/emcc "$EMSDK/upstream/emscripten/emcc"
    ln -sfn "$EMSCRIPTEN/cmake" "$EMSDK/upstream/emscripten/cmake"
fi
# emcc and its helpers are Python scripts run by the first python3 on PATH; a version
# manager's shim there (pyenv) costs each of the thousands of calls a shell or two.
export PATH=/usr/bin:$PATH
