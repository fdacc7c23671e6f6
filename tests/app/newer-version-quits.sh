#!/usr/bin/env bash
# The real program, under a virtual display, against the project's own site publishing a store
# that announces a newer version: answering Oui ends the program at once, with status 0, and the
# main window never shows. Once with the automatic download at start-up, once through the offer to
# download old results.
# Usage: newer-version-quits.sh KESTRAVA KESTRAVA_SITE REPO
set -uo pipefail
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool absent: test skipped"; exit 77; }
done
# One virtual display for every case, and the program on it (not offscreen as the other tests).
unset QT_QPA_PLATFORM
if [ -z "${NEWER_VERSION_DISPLAY:-}" ]; then
    NEWER_VERSION_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$@"
fi
program=$1 site=$2 repo=$3

work=$(mktemp -d)
site_pid=""
trap '[ -n "$site_pid" ] && kill "$site_pid" 2>/dev/null; rm -rf "$work"' EXIT

"$repo/site/prepare-demo-root" "$work/site" >/dev/null
sed -i 's/^CV=.*/CV=1.1\r/' "$work/site/Vantor2027/Resultats2027.ini"
grep -q '^CV=1.1' "$work/site/Vantor2027/Resultats2027.ini" || { echo "no CV line in the demo store"; exit 1; }
"$site" --root "$work/site" --port 0 >"$work/site.log" 2>&1 &
site_pid=$!
port=""
for _ in $(seq 1 50); do
    port=$(sed -n 's|.*http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$work/site.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "kestrava-site n'a pas démarré"; cat "$work/site.log"; exit 1; }

# The page of the newer version opens in no real browser here.
mkdir -p "$work/browser"
printf '#!/bin/sh\nexit 0\n' >"$work/browser/xdg-open"
chmod +x "$work/browser/xdg-open"

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# One start: the case's name, the user's settings, the age of the local store in days, then the
# titles (patterns) of the boxes to answer with Entrée (Oui), in order.
run_case() {
    local name=$1 settings=$2 age=$3
    shift 3
    local dir=$work/$name
    mkdir -p "$dir/run" "$dir/config/Kestrava" "$dir/runtime"
    chmod 0700 "$dir/runtime"
    install -m 0755 "$program" "$dir/run/Kestrava"
    install -m 0644 "$repo/data/2027.txt" "$repo/data/demo/Resultats2027.ini" "$repo/data/demo/don.L1" "$dir/run/"
    touch -d "-$age days" "$dir/run/Resultats2027.ini"
    printf '[site]\nbase=http://127.0.0.1:%s/\n%s' "$port" "$settings" >"$dir/config/Kestrava/Kestrava.ini"
    # The program writes this report when its window first paints: it must never.
    KESTRAVA_STARTUP_REPORT=$dir/painted XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/runtime \
        PATH=$work/browser:$PATH "$dir/run/Kestrava" >"$dir/out.log" 2>&1 &
    local pid=$!
    local fail=""
    for title in "$@"; do
        local wid=""
        for _ in $(seq 1 300); do
            wid=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)
            [ -n "$wid" ] && break
            visible "Championnat de" && { fail="window shown"; break 2; }
            # A program that could not even reach the display shows nothing: no use waiting.
            kill -0 $pid 2>/dev/null || { fail="ended before showing $title"; break 2; }
            sleep 0.1
        done
        [ -n "$wid" ] || { fail="no box titled $title"; break; }
        # A key pressed before the box takes input is lost: press again while it is there.
        for _ in $(seq 1 10); do
            sleep 0.5
            xdotool windowfocus --sync "$wid" 2>/dev/null
            xdotool key Return
            xdotool search --onlyvisible --name "$title" 2>/dev/null | grep -qx "$wid" || break
        done
    done
    if [ -z "$fail" ]; then
        for _ in $(seq 1 100); do
            kill -0 $pid 2>/dev/null || break
            visible "Championnat de" && { fail="window shown"; break; }
            sleep 0.1
        done
    fi
    if kill -0 $pid 2>/dev/null; then
        [ -n "$fail" ] || fail="still running"
        kill $pid
        wait $pid 2>/dev/null
    else
        wait $pid
        local status=$?
        [ -n "$fail" ] || [ $status -eq 0 ] || fail="status $status"
    fi
    [ -n "$fail" ] || [ ! -e "$dir/painted" ] || fail="the window painted"
    if [ -n "$fail" ]; then
        echo "FAIL: $name: $fail"
        cat "$dir/out.log"
        return 1
    fi
    echo "PASS: $name"
}

# Keys sent to a virtual display can be lost on a busy machine: a case that fails is run once more.
failed=0
run_case automatic $'[data]\nc4=1\n' 1 "^Kestrava Version 1.1$" \
    || run_case automatic-again $'[data]\nc4=1\n' 1 "^Kestrava Version 1.1$" || failed=1
run_case staleness $'[data]\nc4=0\n' 11 "^Mise à jour$" "^Kestrava Version 1.1$" \
    || run_case staleness-again $'[data]\nc4=0\n' 11 "^Mise à jour$" "^Kestrava Version 1.1$" || failed=1
exit $failed
