# shellcheck shell=bash
# Shell functions for running the Windows build under Wine in a private prefix; source it.
#
#   wine_prefix_create   makes a fresh prefix in a new temporary folder and exports
#                        WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES (and a TMPDIR of its own);
#                        without an X display, Wine's null graphics driver serves the windows;
#                        the faces of fonts-wine (Tahoma) are copied into it
#   wine_prefix_remove   stops that prefix's wineserver and removes the folder
#   wine_timeout SECONDS COMMAND...   runs a command that talks to Wine under a time limit
#
# Every Wine command runs under `timeout`. Only the prefix made here is ever stopped.

wine_timeout() {
  local seconds=$1
  shift
  timeout --kill-after=10 "$seconds" "$@"
}

wine_prefix_create() {
  local started=$SECONDS
  WINE_PREFIX_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/stratocue-wine.XXXXXX")
  export WINEPREFIX=$WINE_PREFIX_ROOT/prefix
  export TMPDIR=$WINE_PREFIX_ROOT/tmp
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$TMPDIR"
  # A missing 32-bit Wine is reported on every call unless debug output is off (done above).
  wine_timeout 180 wine wineboot --init </dev/null >/dev/null 2>&1
  # Without a display every CreateWindowEx fails (error 1400) unless the null driver is set;
  # it takes effect when the wineserver starts again.
  wine_timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
  # Debian's Wine does not look into the folder of fonts-wine: the prefix gets copies of its
  # faces, so the windows are measured and shown in Tahoma as on Windows and in the
  # screenshots.
  if compgen -G '/usr/share/wine/fonts/*.ttf' >/dev/null; then
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wine_timeout 30 wineserver -k || true
  wine_timeout 60 wineserver -w || true
  # A wineserver that stays up keeps each later start fast (a cold start takes seconds).
  wine_timeout 30 wineserver -p 60
  # Starts Wine's own service processes now, with no pipe of ours open: started by a test,
  # they would hold on to its output pipe and ctest would wait for them.
  wine_timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1
  echo "wine-prefix: $WINEPREFIX ready in $((SECONDS - started)) s"
}

# wine_set_dpi DPI: the prefix's display DPI (HKCU\Control Panel\Desktop LogPixels). Wine
# reads it when its wineserver starts, so the wineserver is ended here; the next Wine
# program starts it anew.
wine_set_dpi() {
  wine_timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1
  wine_timeout 30 wineserver -k || true
  wine_timeout 60 wineserver -w || true
}

wine_prefix_remove() {
  [[ -n "${WINE_PREFIX_ROOT:-}" && -d "$WINE_PREFIX_ROOT" ]] || return 0
  wine_timeout 30 wineserver -k 2>/dev/null || true
  wine_timeout 60 wineserver -w 2>/dev/null || true
  rm -rf "$WINE_PREFIX_ROOT"
  WINE_PREFIX_ROOT=
}
