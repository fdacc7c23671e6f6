#!/usr/bin/env bash
# The web edition as kestrava-site writes it at start, in a real browser: the index, a matchday and
# a club page at 360 x 740 and 1366 x 768. Screenshots go to SCREENSHOT_DIR. Exit 77 (skipped) when
# Chromium, Node or the browser modules are missing.
# Usage: web-edition.sh KESTRAVA_SITE DATA_DIR SCREENSHOT_DIR
set -euo pipefail
site_bin=$1
data=$2
shots=$3
here=$(cd "$(dirname "$0")" && pwd)

command -v node >/dev/null && [ -x "${CHROMIUM:-/usr/bin/chromium}" ] || { echo "Chromium or Node missing"; exit 77; }
[ "$(node -p 'process.versions.node.split(".")[0]')" -ge 20 ] || { echo "Node.js 20 or later needed"; exit 77; }
if [ ! -d "$here/node_modules/playwright-core" ] || [ ! -d "$here/node_modules/axe-core" ]; then
    (cd "$here" && npm install --no-audit --no-fund --silent) || { echo "browser modules unavailable"; exit 77; }
fi

work=$(mktemp -d)
server_pid=
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

mkdir -p "$work/site/Vantor2027"
cp "$data/demo/Resultats2027.ini" "$work/site/Vantor2027/Resultats2027.ini"
cp "$data/2027.txt" "$work/site/Vantor2027/L12027.txt"
printf 'Editeur=kestrava\n' > "$work/site/editors.conf"
"$site_bin" --root "$work/site" --port 0 > "$work/site.log" 2>&1 &
server_pid=$!
port=
for _ in $(seq 600); do
    [ -z "$port" ] && port=$(sed -n 's|.*http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$work/site.log" | head -1)
    [ -n "$port" ] && [ -f "$work/site/Vantor2027/web/index.html" ] && break
    sleep 0.1
done
[ -f "$work/site/Vantor2027/web/index.html" ] || { echo "no edition written"; cat "$work/site.log"; exit 1; }

cd "$here" && timeout 120 node web-edition.mjs "http://127.0.0.1:$port/Vantor2027/web/" "$shots" \
    index.html journee-13.html club-saint-etienne.html
