#!/usr/bin/env bash
# Fails when a core source file includes a wx header. The core folders are compiled without
# the wx include path as well; this check also catches headers that no core target compiles.
set -u
root=${1:?usage: check_layering.sh SOURCE_ROOT}
core_dirs=(src/platform src/link src/programdata src/sidedocs src/emulators/display sim)
found=0
for d in "${core_dirs[@]}"; do
  [ -d "$root/$d" ] || continue
  while IFS= read -r hit; do
    echo "wx include in core: $hit"
    found=1
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]wx/' "$root/$d" \
             --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' 2>/dev/null)
done
exit $found
