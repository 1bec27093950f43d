#!/usr/bin/env bash
# Checks every quoted include of the tree against the layers: a folder may include only its own
# layer and the layers below it, and the core folders never include wx. The core folders are
# compiled without the wx include path as well; this check also catches headers that no target
# compiles, and upward includes that would otherwise only show as a link-order surprise.
set -u
root=${1:?usage: check_layering.sh SOURCE_ROOT}
cd "$root" || exit 2
[ -d src ] || [ -d sim ] || exit 0
# One grep over the tree, one awk over its hits: the rules live in the awk program.
grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
     '^[[:space:]]*#[[:space:]]*include' src sim 2>/dev/null |
awk '
BEGIN {
  # folder -> the src/ layers its quoted includes may name; a folder not listed takes the rule
  # of its nearest listed parent.
  allowed["src/platform"] = "platform"
  allowed["src/link"] = "platform link"
  allowed["src/programdata"] = "platform link programdata"
  allowed["src/sidedocs"] = "platform link programdata sidedocs"
  allowed["src/appmodel"] = "platform link programdata sidedocs appmodel"
  allowed["src/app"] = "platform link programdata sidedocs appmodel app"
  allowed["src/emulators/display"] = "platform emulators/display"
  allowed["src/emulators/displayui"] = "platform emulators/display emulators/displayui"
  allowed["src/emulators/farview"] = "platform emulators/display emulators/displayui emulators/farview"
  allowed["src/emulators/panelsim"] = "platform emulators/display emulators/displayui emulators/panelsim"
  allowed["sim"] = ""
  nlayers = split("platform link programdata sidedocs appmodel app emulators/display emulators/displayui emulators/farview emulators/panelsim", layers, " ")
  found = 0
}
{
  file = $0; sub(/:.*/, "", file)
  rest = substr($0, length(file) + 2)
  line = rest; sub(/:.*/, "", line)
  text = substr(rest, length(line) + 2)
  dir = file; sub(/\/[^\/]*$/, "", dir)
  rule = dir
  while (rule != "" && !(rule in allowed)) {
    if (rule !~ /\//) { rule = ""; break }
    sub(/\/[^\/]*$/, "", rule)
  }
  if (rule == "") next
  if (text ~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]wx\//) {
    if (dir !~ /^src\/(app|emulators\/displayui|emulators\/farview|emulators\/panelsim)(\/|$)/) {
      print "wx include in core: " file ":" line; found = 1
    }
    next
  }
  if (!match(text, /^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"/)) next
  path = text; sub(/^[^"]*"/, "", path); sub(/".*/, "", path)
  top = ""
  for (i = 1; i <= nlayers; i++) if (index(path, layers[i] "/") == 1) top = layers[i]
  if (top == "") next
  n = split(allowed[rule], ok, " "); good = 0
  for (i = 1; i <= n; i++) if (ok[i] == top) good = 1
  if (!good) { print "upward or sideways include: " file ":" line " includes " path; found = 1 }
}
END { exit found }'
