#!/usr/bin/env bash
# Runs the X11 desktop tests on a private Xvfb display with openbox; stops
# both again whatever happens. Every wait is bounded.
set -euo pipefail
tests="$1"
shift
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
begin_run x11

export HOME="$work"
start_xvfb "$work/xvfb.log" || { echo "Xvfb did not start"; exit 1; }
start_openbox "$work/openbox.log" || { echo "openbox did not start"; exit 1; }
timeout 120 "$tests" "$@"
