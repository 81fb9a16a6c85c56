# Sourced by the other scripts: a display (Xvfb when none is set) and a Wine
# prefix of the project's own inside the build folder, made once, with the
# Mono and Gecko installers disabled and a virtual desktop so that windows get
# their frame drawn by Wine.
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# A prefix of its own may be given (WINEPREFIX), as two checkouts or two
# build trees under test at once need.
export WINEPREFIX="${WINEPREFIX:-$top/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    kz_xvfb_pid=$!
    export DISPLAY=":$n"
    trap 'wineserver -k 2>/dev/null || true; kill $kz_xvfb_pid 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: making a prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
fi

# Wine does not look for its own fonts (Marlett for the caption buttons,
# Symbol, Tahoma, MS Sans Serif) where Debian's fonts-wine puts them: give the
# prefix a copy of each, also when the prefix was made before they were
# installed.
for font in $(dpkg -L fonts-wine 2>/dev/null | grep -E '\.(ttf|fon)$'); do
  [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] || cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
