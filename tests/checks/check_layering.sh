#!/usr/bin/env bash
# Checks every quoted include of the tree against the layers: a folder may include only its own
# layer and the layers below it, and the core folders never include wx. The core folders are
# compiled without the wx include path as well; this check also catches headers that no target
# compiles, and upward includes that would otherwise only show as a link-order surprise.
set -u
root=${1:?usage: check_layering.sh SOURCE_ROOT}

# folder (relative to the root) -> the src/ folders its quoted includes may name. A folder not
# listed takes the rule of the nearest listed parent.
declare -A allowed=(
  [src/platform]="platform"
  [src/link]="platform link"
  [src/programdata]="platform link programdata"
  [src/sidedocs]="platform link programdata sidedocs"
  [src/appmodel]="platform link programdata sidedocs appmodel"
  [src/app]="platform link programdata sidedocs appmodel app"
  [src/emulators/display]="platform emulators/display"
  [src/emulators/displayui]="platform emulators/display emulators/displayui"
  [src/emulators/farview]="platform emulators/display emulators/displayui emulators/farview"
  [src/emulators/panelsim]="platform emulators/display emulators/displayui emulators/panelsim"
  [sim]=""
)
# Folders whose code may use wx.
wx_ok_regex='^src/(app|emulators/displayui|emulators/farview|emulators/panelsim)(/|$)'

# Sets `rule` to the nearest listed folder of $1 (empty when none), remembered per folder.
declare -A rule_of=()
rule_for() {
  local d=$1
  if [ -n "${rule_of[$1]+x}" ]; then rule=${rule_of[$1]}; return; fi
  rule=""
  while [ -n "$d" ] && [ "$d" != "." ]; do
    if [ -n "${allowed[$d]+x}" ]; then rule=$d; break; fi
    [[ $d == */* ]] && d=${d%/*} || d=""
  done
  rule_of[$1]=$rule
}

# One grep over the whole tree: every include line as file:line:text.
found=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  rel=${file#"$root"/}
  dir=${rel%/*}
  rule_for "$dir"
  [ -n "$rule" ] || continue
  if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\<\"]wx/ ]]; then
    if ! [[ $dir =~ $wx_ok_regex ]]; then
      echo "wx include in core: $rel:$line"
      found=1
    fi
    continue
  fi
  [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
  path=${BASH_REMATCH[1]}
  # Only includes that name a folder of src/ are layered; a plain name is the folder's own.
  top=""
  for layer in platform link programdata sidedocs appmodel app emulators/display emulators/displayui \
               emulators/farview emulators/panelsim; do
    if [[ $path == "$layer/"* ]]; then top=$layer; fi
  done
  [ -n "$top" ] || continue
  ok=0
  for a in ${allowed[$rule]}; do
    [ "$a" = "$top" ] && ok=1
  done
  if [ $ok -eq 0 ]; then
    echo "upward or sideways include: $rel:$line includes $path"
    found=1
  fi
done < <(find "$root/src" "$root/sim" \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print0 2>/dev/null |
         xargs -0 -r grep -nHE '^[[:space:]]*#[[:space:]]*include')
exit $found
