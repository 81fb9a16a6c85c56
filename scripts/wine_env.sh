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

# Wine's sound. On a machine without a sound card, Wine's ALSA driver prints
# a dozen "ALSA lib ... cannot find card" lines at every start, which read
# like a failure: the prefix then has no audio driver (an empty "Audio"
# value, Wine's own "no sound" choice) and plays nothing, quietly. Where
# there is a card, or a sound server, Wine chooses its driver as usual. The
# choice is made again each time, so that a prefix follows the machine.
kz_sound_card() {
  grep -qE '^ *[0-9]+ \[' /proc/asound/cards 2>/dev/null && compgen -G '/dev/snd/pcmC*' >/dev/null && return 0
  [ -n "${PULSE_SERVER:-}" ] || [ -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native" ]
}
kz_no_audio_driver() {
  awk '/^\[/ { drivers = ($1 == "[Software\\\\Wine\\\\Drivers]") } drivers && /^"Audio"=""$/ { found = 1 }
       END { exit !found }' "$WINEPREFIX/user.reg"
}
if kz_sound_card; then
  if kz_no_audio_driver; then
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Audio /f >/dev/null 2>&1
    wineserver -w
  fi
elif ! kz_no_audio_driver; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
  wineserver -w
fi

# Wine does not look for its own fonts (Marlett for the caption buttons,
# Symbol, Tahoma, MS Sans Serif) where Debian's fonts-wine puts them: give the
# prefix a copy of each, also when the prefix was made before they were
# installed.
for font in $(dpkg -L fonts-wine 2>/dev/null | grep -E '\.(ttf|fon)$'); do
  [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] || cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
