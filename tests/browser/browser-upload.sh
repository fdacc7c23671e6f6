#!/usr/bin/env bash
# The upload page in a real browser: starts the site on a free port of 127.0.0.1 over a scratch
# folder, sends a changed results store through the page in headless Chromium and checks that the
# site now publishes exactly that file. Exit 77 (skipped) when Chromium or Node is missing.
# Usage: browser-upload.sh KESTRAVA_SITE DATA_DIR
set -euo pipefail
site_bin=$1
data=$2
here=$(cd "$(dirname "$0")" && pwd)

command -v node >/dev/null && [ -x "${CHROMIUM:-/usr/bin/chromium}" ] || { echo "Chromium or Node missing"; exit 77; }
[ "$(node -p 'process.versions.node.split(".")[0]')" -ge 20 ] || { echo "Node.js 20 or later needed"; exit 77; }
if [ ! -d "$here/node_modules/playwright-core" ]; then
    (cd "$here" && npm install --no-audit --no-fund --silent) || { echo "playwright-core unavailable"; exit 77; }
fi

work=$(mktemp -d)
server_pid=
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

mkdir -p "$work/site/Vantor2027"
cp "$data/demo/Resultats2027.ini" "$work/site/Vantor2027/Resultats2027.ini"
printf 'Editeur=kestrava\n' > "$work/site/editors.conf"
"$site_bin" --root "$work/site" --port 0 > "$work/site.log" 2>&1 &
server_pid=$!
port=
for _ in $(seq 50); do
    port=$(sed -n 's|.*http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$work/site.log" | head -1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "the site did not start"; cat "$work/site.log"; exit 1; }

# The editor's store: the demo one with a new introduction text.
sed 's/^Texte=[^\r]*/Texte=Envoi par le navigateur/' "$data/demo/Resultats2027.ini" > "$work/Resultats2027.ini"
! cmp -s "$work/Resultats2027.ini" "$data/demo/Resultats2027.ini" || { echo "the store was not changed"; exit 1; }

heading=$(cd "$here" && timeout 60 node upload.mjs \
    "http://127.0.0.1:$port/Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=kestrava" "$work/Resultats2027.ini")
echo "page: $heading"
[ "$heading" = "Fichier reçu" ] || { echo "unexpected answer page"; cat "$work/site.log"; exit 1; }
cmp "$work/Resultats2027.ini" "$work/site/Vantor2027/Resultats2027.ini"
[ -f "$work/site/Vantor2027/Resultats2027.ini.1" ] || { echo "no backup of the previous file"; exit 1; }
echo "browser upload: published file matches"
