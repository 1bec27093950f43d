#!/usr/bin/env bash
# The layering check must pass on a clean core and fail once a core file includes wx.
set -u
check=${1:?usage: check_layering_selftest.sh CHECK_SCRIPT}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/src/link" "$tmp/src/app"
printf '#include <string>\n' > "$tmp/src/link/Clean.cpp"
printf '#include <wx/frame.h>\n' > "$tmp/src/app/Frame.cpp"
"$check" "$tmp" >/dev/null || { echo "check failed on a clean core"; exit 1; }
printf '  #  include "wx/string.h"\n' > "$tmp/src/link/Dirty.h"
if "$check" "$tmp" >/dev/null; then echo "check missed a wx include in src/link"; exit 1; fi
exit 0
