# Shared by the scripts: install missing Debian packages, configure and build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VELLUMIN_BUILD_DIR:-$ROOT/build}"

install_packages() {
  local wanted missing=()
  wanted=$(grep -Ev '^\s*(#|$)' "$ROOT/scripts/debian-packages.txt")
  for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_all() {
  local log="$BUILD/build.log"
  mkdir -p "$BUILD"
  if ! { cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      && cmake --build "$BUILD" -j "$(nproc)"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "Build failed; the whole log is in $log" >&2
    return 1
  fi
}
