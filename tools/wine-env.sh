# Shared helpers of the Wine scripts (sourced, not run): the prefix of a build folder, its one-time
# creation, and an Xvfb display owned by that prefix for runs without a screen.

pagina_wine_env() {
  export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEARCH=win64
}

# Prints the prefix of the build folder that holds $1 (a program or a folder inside a build).
pagina_wine_prefix_for() {
  local dir
  if [ -d "$1" ]; then dir=$(cd "$1" && pwd); else dir=$(cd "$(dirname "$1")" && pwd); fi
  local start=$dir
  while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" = "/" ] && dir=$start
  echo "$dir/wineprefix"
}

# The Japanese system fonts the programs ask for, played by Debian's IPA fonts: the proportional
# ones for the P fonts, so texts keep the widths the windows were laid out for.
pagina_wine_font_replacements() {
  local reg
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"%s"="%s"\r\n' 'ＭＳ Ｐゴシック' IPAPGothic 'ＭＳ ゴシック' IPAGothic 'ＭＳ Ｐ明朝' IPAPMincho \
      'ＭＳ 明朝' IPAMincho 'MS PGothic' IPAPGothic 'MS Gothic' IPAGothic 'MS UI Gothic' IPAPGothic \
      'MS PMincho' IPAPMincho 'MS Mincho' IPAMincho
  } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 || true
  rm -f "$reg"
}

# Creates $WINEPREFIX once. Many tests may start at the same moment: the lock serialises them, and
# the ready marker is written only after wineboot and its server have finished, so nobody uses a
# half-made prefix (system.reg appears long before the prefix is complete).
pagina_wine_ensure_prefix() {
  local ready="$WINEPREFIX/.pagina-ready"
  [ -f "$ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock -w 600 9 || { echo "wine-env: timed out waiting for the prefix lock $WINEPREFIX.lock" >&2; exit 1; }
    if [ ! -f "$ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      # A crashing test must fail, not wait for somebody to close the crash dialog.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
      pagina_wine_font_replacements
      wineserver -w
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-env: wineboot did not create the prefix $WINEPREFIX" >&2
        exit 1
      fi
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# The Xvfb of a prefix is described by "$WINEPREFIX.xvfb": "<display> <pid>".
pagina_prefix_display() {
  local f="$WINEPREFIX.xvfb" disp pid
  [ -f "$f" ] || return 1
  read -r disp pid <"$f" || return 1
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then echo "$disp"; return 0; fi
  return 1
}

# Starts an Xvfb on a free display (chosen by Xvfb itself, so parallel starts cannot collide) and
# prints "<display> <pid>".
pagina_xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$fdfile" >/dev/null 2>&1 &
  local pid=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$fdfile" ]; then
      local n
      n=$(tr -dc '0-9' <"$fdfile")
      rm -f "$fdfile"
      echo ":$n $pid"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$fdfile"
  kill "$pid" 2>/dev/null || true
  echo "wine-env: Xvfb did not start" >&2
  return 1
}

# Stops the Xvfb recorded in $1 ("<display> <pid>" file) by its own pid.
pagina_xvfb_stop_file() {
  local f=$1 disp pid
  [ -f "$f" ] || return 0
  read -r disp pid <"$f" || true
  if [ -n "${pid:-}" ] && [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = "Xvfb" ]; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$f"
}
