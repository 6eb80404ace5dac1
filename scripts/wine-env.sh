# Sourced by the scripts that run Windows programs of the build under Wine.
# Sets WINEPREFIX to a prefix of the build tree (never the user's own) unless
# WINEPREFIX_OWN=1, and prepares it once.
: "${root:?}"
if [ "${WINEPREFIX_OWN:-0}" != 1 ]; then
  export WINEPREFIX="$root/build/windows/wineprefix"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# File names above ASCII travel as UTF-8 between Wine and Linux.
export LC_ALL=C.UTF-8
if [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
  echo "Preparing Wine prefix ${WINEPREFIX:-$HOME/.wine}"
  mkdir -p "${WINEPREFIX:-$HOME/.wine}"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
