#!/usr/bin/env bash
# The installer as a Windows user runs it, under Wine (WINEPREFIX, DISPLAY
# and the rest set by scripts/windows-test): a silent per-user install puts
# the program, its tips and its help in place with a Start menu entry and an
# "Apps & features" entry; the installed program starts; the silent
# uninstall removes every program file, the entries and the start-with-system
# value "VLMN" and keeps the user's library, unless /RemoveLibrary is given.
#   installer-under-wine.sh <Vellumin-...-Setup.exe>
set -euo pipefail
SETUP=$1
fail() {
  echo "FAIL (installer): $*" >&2
  exit 1
}
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"  # wait_for

UNINSTALL='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KestrelayVellumin'
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
LIBRARY='HKCU\Software\Kestrelay\Kestrelay Ardentry\Vellumin'
appdata=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
dir="$(winepath -u "$appdata")/Programs/Kestrelay Vellumin"
menu="$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Kestrelay Vellumin.lnk"

install() {
  timeout 120 wine "$SETUP" /S || fail "the silent install failed"
  for file in kvlmn.exe kvlmn.tip kvlmn.chm uninstall.exe; do
    [ -s "$dir/$file" ] || fail "no $file in $dir"
  done
  [ -f "$menu" ] || fail "no Start menu entry"
  local entry
  entry=$(reg_query "$UNINSTALL") || fail "no Uninstall key"
  for value in 'DisplayName    REG_SZ    Kestrelay Vellumin' 'Publisher    REG_SZ    Kestrelay' \
    "DisplayVersion    REG_SZ    $VERSION"; do
    grep -qF "$value" <<<"$entry" || fail "the Uninstall key lacks '$value': $entry"
  done
  grep -q 'UninstallString    REG_SZ    ".*uninstall.exe" /CurrentUser$' <<<"$entry" \
    || fail "UninstallString: $entry"
}

# The uninstaller copies itself away and returns at once: wait for its work.
uninstall() {
  timeout 120 wine "$dir/uninstall.exe" /CurrentUser /S "$@" || fail "the silent uninstall failed"
  wait_for 300 bash -c "! [ -e '$dir' ]" || fail "files left behind: $(ls -A "$dir")"
  wait_for 100 bash -c "! wine reg query '$UNINSTALL' >/dev/null 2>&1" || fail "the Uninstall key stayed"
  [ ! -f "$menu" ] || fail "the Start menu entry stayed"
  if reg_query "$RUN" /v VLMN >/dev/null; then fail "the Run value VLMN stayed"; fi
}

VERSION=$(basename "$SETUP" | sed -E 's/^Vellumin-(.*)-Setup\.exe$/\1/')
# A user who never ran the program: no keys of ours (the registry check of
# the tests before planted some).
wine reg delete 'HKCU\Software\Kestrelay' /f >/dev/null 2>&1 || true
install

# The installed program starts: the splash, then (a first start) the tip
# of the day, a window of the program's own; then it is ended.
wine "$dir/kvlmn.exe" >/dev/null 2>&1 &
program=$!
wait_for 300 xdotool search --name '^Tip Of The Day' || fail "the installed program showed no tip of the day"
kill "$program" 2>/dev/null || true
wineserver -k 2>/dev/null || true
wait "$program" 2>/dev/null || true

# A start-with-system value and a library, as the program leaves them.
wine reg add "$RUN" /v VLMN /d "\"C:\\x\\kvlmn.exe\"" /f >/dev/null 2>&1
wine reg add "$LIBRARY\\Options" /v ShowTips /t REG_DWORD /d 0 /f >/dev/null 2>&1
uninstall
reg_query "$LIBRARY\\Options" >/dev/null || fail "the uninstall removed the library"

install
uninstall /RemoveLibrary
if reg_query "$LIBRARY" >/dev/null; then fail "/RemoveLibrary kept the library"; fi
echo "installer under Wine: ok"
