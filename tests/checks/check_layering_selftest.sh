#!/usr/bin/env bash
# The layering check must pass on a sound tree and fail on each kind of fault it exists for.
set -u
check=${1:?usage: check_layering_selftest.sh CHECK_SCRIPT}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/src/link" "$tmp/src/app/shell" "$tmp/src/appmodel/logs" "$tmp/src/emulators/display" "$tmp/sim/wire"
printf '#include <string>\n#include "platform/Clock.h"\n#include "Local.h"\n' > "$tmp/src/link/Clean.cpp"
printf '#include <wx/frame.h>\n#include "appmodel/logs/LogList.h"\n' > "$tmp/src/app/shell/Frame.cpp"
printf '#include "programdata/CVexa3Doc.h"\n' > "$tmp/src/appmodel/logs/LogList.h"
printf '#include "platform/Clock.h"\n' > "$tmp/src/emulators/display/Engine.h"
printf '#include "wire/Bytes.h"\n' > "$tmp/sim/wire/Frame.h"
"$check" "$tmp" >/dev/null || { echo "check failed on a sound tree"; "$check" "$tmp"; exit 1; }

expect_fail() {  # file text reason
  printf '%s\n' "$2" > "$tmp/$1"
  if "$check" "$tmp" >/dev/null; then echo "check missed: $3"; exit 1; fi
  rm -f "$tmp/$1"
}
expect_fail src/link/Dirty.h '  #  include "wx/string.h"' "a wx include in src/link"
expect_fail src/link/Up.cpp '#include "programdata/CVexa3Doc.h"' "link including programdata"
expect_fail src/appmodel/logs/Up.h '#include "app/shell/CMainFrame.h"' "appmodel including app"
expect_fail src/emulators/display/Side.h '#include "link/ComStream.h"' "the display core including link"
expect_fail sim/wire/Product.h '#include "link/Crc32.h"' "the simulator including the product"
exit 0
