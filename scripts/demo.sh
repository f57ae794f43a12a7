#!/usr/bin/env bash
# Runs the KSV-720E module against a simulated unit: a local snmpd with the device's data on
# 127.0.0.1 (tests/agent/run-agent.sh), started the way the management console starts it.
#
#   scripts/demo.sh [--v3] [--headless] [build-dir]
#
#   --v3        SNMPv3 with authentication and privacy (user "shades", HMAC-SHA and DES) through
#               the device's .cfg file, instead of SNMPv2c with the communities public/private.
#   --headless  the unattended run below even when a display is present.
#   build-dir   where to build (default: build).
#
# With a display (DISPLAY set) the module just opens there; close its window to end the demo.
# Without one it runs under Xvfb: it opens the main window, every view that carries variables
# and the About box through the menu (keyboard navigation with xdotool), saves a screenshot of
# each, prints the start-up time and the module's memory use, and closes everything again.
#
# Everything it starts (agent, Xvfb, module) is stopped on exit. Screenshots go to
# demo-screenshots/v2c/ (demo-screenshots/v3/ with --v3); the demo's working directory (registry
# stand-in, .cfg file, engine-boots file, logs) is <build-dir>/demo-run-v2c/ (-v3/).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
v3=0
headless=0
build=""
for arg in "$@"; do
    case "$arg" in
        --v3) v3=1 ;;
        --headless) headless=1 ;;
        -h | --help)
            sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'
            exit 0
            ;;
        -*)
            echo "demo.sh: unknown option $arg" >&2
            exit 2
            ;;
        *) build=$arg ;;
    esac
done
build=${build:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
kind=v2c
[ "$v3" -eq 1 ] && kind=v3
workdir=$build/demo-run-$kind
shots=$root/demo-screenshots/$kind

say() { printf 'demo: %s\n' "$*"; }

# ---- Install and build ----------------------------------------------------------------------
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKSV_WERROR=ON >/dev/null
cmake --build "$build" --target ksv720e ksv-agent -j "$(nproc)"
module=$build/app/ksv720e

# ---- Stop what we start, whatever happens ------------------------------------------------
agent_pid=""
xvfb_pid=""
module_pid=""
time_pid=""
cleanup() {
    set +e
    if [ -n "$module_pid" ] && kill -0 "$module_pid" 2>/dev/null; then
        kill -TERM "$module_pid" 2>/dev/null
        wait "${time_pid:-$module_pid}" 2>/dev/null
    fi
    [ -n "$agent_pid" ] && "$root/tests/agent/run-agent.sh" --stop "$agent_pid" >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- The simulated unit ---------------------------------------------------------------------
agent_line=$(KSV_AGENT_BIN=$build/tests/agent/ksv-agent "$root/tests/agent/run-agent.sh" device)
port=$(sed -n 's/.*PORT=\([0-9]*\).*/\1/p' <<<"$agent_line")
agent_pid=$(sed -n 's/.*PID=\([0-9]*\).*/\1/p' <<<"$agent_line")
say "agent on 127.0.0.1:$port (pid $agent_pid)"

# ---- What the console provides: registry stand-in and the device's .cfg file -------------
mkdir -p "$workdir"
# The maker's HelpPath key makes the module show only this device's views.
cat >"$workdir/registry.reg" <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Halvora\Modules\HelpPath]
"1.3.6.1.4.1.43917.50.1.1.1"="help\\ksv0001.htm"
EOF
# Without the console's ExePath/MibFile keys the .cfg file is looked up in the working
# directory. Security level and protocols count from 0 in this file.
if [ "$v3" -eq 1 ]; then
    cat >"$workdir/127.0.0.1.cfg" <<EOF
[Program Information]
AgentPort=$port
Version=3
ContextName=
ContextEngineID=
SecurityModel=3
SecurityLevel=2
SecurityName=shades
AuthProtocol=2
PrivProtocol=1
AuthPassword=shaauthpass
PrivPassword=desprivpass
EOF
    version=3
else
    cat >"$workdir/127.0.0.1.cfg" <<EOF
[Program Information]
AgentPort=$port
Version=1
ContextName=
ContextEngineID=
SecurityModel=3
SecurityLevel=0
SecurityName=
AuthProtocol=0
PrivProtocol=0
AuthPassword=
PrivPassword=
EOF
    version=1
fi
args=(/I127.0.0.1 /Rpublic /Wprivate "/v$version")
export KSV720E_REGISTRY=$workdir/registry.reg
cd "$workdir"

# ---- With a display: interactive ----------------------------------------------------------
if [ -n "${DISPLAY:-}" ] && [ "$headless" -eq 0 ]; then
    say "starting: ksv720e ${args[*]} (close the window to end the demo)"
    # In the background, so that an interrupt reaches the trap at once (and ends the module).
    "$module" "${args[@]}" &
    module_pid=$!
    wait "$module_pid" || true
    module_pid=""
    exit 0
fi

# ---- Without one: under Xvfb, driven through the menu ---------------------------------------
rm -rf "$shots"
mkdir -p "$shots"
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$displayfile" >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
done
[ -s "$displayfile" ] || { echo "demo.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(tr -d '\n' <"$displayfile")
rm -f "$displayfile"
say "Xvfb on $DISPLAY"

now_ms() { date +%s%3N; }
# The window whose name is exactly $1 (a regular expression), waited for up to ~20 s.
find_window() {
    local id
    for _ in $(seq 400); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.05
    done
    return 1
}
wait_gone() {
    for _ in $(seq 400); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    return 1
}
shoot() {
    import -window "$1" "$shots/$2"
    say "screenshot $shots/$2"
}
# Whether the window has dark (text) pixels in the rectangle WxH+X+Y.
has_text() {
    local min
    min=$(import -window "$1" -crop "$2" +repage png:- 2>/dev/null |
        convert - -colorspace Gray -format '%[fx:minima]' info: 2>/dev/null || echo 1)
    awk -v m="$min" 'BEGIN { exit !(m < 0.4) }'
}

main_title='^127\.0\.0\.1$'
start_ms=$(now_ms)
# GNU time reports the module's peak memory when it ends.
/usr/bin/time -v -o "$workdir/module-time.txt" "$module" "${args[@]}" >"$workdir/module.log" 2>&1 &
time_pid=$!
for _ in $(seq 200); do
    module_pid=$(pgrep -P "$time_pid" | head -n 1 || true)
    [ -n "$module_pid" ] && break
    sleep 0.01
done
[ -n "$module_pid" ] || { echo "demo.sh: the module did not start" >&2; exit 1; }
main_id=$(find_window "$main_title") || { echo "demo.sh: no main window" >&2; exit 1; }
main_ms=$(now_ms)

# Opens the k-th visible item of "Device Information" from the keyboard: Alt selects the menu
# bar, Down opens the first menu on its first item.
open_view() {
    xdotool windowfocus "$main_id"
    sleep 0.05
    xdotool key alt
    sleep 0.05
    xdotool key Down
    sleep 0.05
    local i
    for ((i = 1; i < $1; i++)); do xdotool key Down; done
    xdotool key Return
}
# Presses the view's Close button, the last button of its command column (the column is
# 116 pixels wide; its buttons are 96 wide, 10 pixels from its left edge).
close_view() {
    local id=$1 y=$2
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + WIDTH - 58)) $((Y + y)) click 1
}

# The agent version view, first: it also gives the start-up time.
open_view 1
agent_title='^Agent Version Information: 127\.0\.0\.1$'
agent_id=$(find_window "$agent_title") || { echo "demo.sh: no agent version view" >&2; exit 1; }
# Filled once the first value box shows text.
filled=0
for _ in $(seq 400); do
    if has_text "$agent_id" 150x12+150+24; then filled=1; break; fi
    sleep 0.02
done
filled_ms=$(now_ms)
[ "$filled" -eq 1 ] || say "warning: the agent version view did not fill"
sleep 0.3
shoot "$agent_id" 02-agent-version.png
close_view "$agent_id" 52
wait_gone "$agent_title"

sleep 1
shoot "$main_id" 01-main-window.png
idle_rss=$(ps -o rss= -p "$module_pid" | tr -d ' ')

n=3
for view in "2:Volume Information Table" "3:Disk Information Table" "4:UPS Information Table"; do
    k=${view%%:*}
    name=${view#*:}
    title="^$name: 127\\.0\\.0\\.1\$"
    open_view "$k"
    id=$(find_window "$title") || { echo "demo.sh: no window $name" >&2; exit 1; }
    # Filled once the first row shows in the list.
    for _ in $(seq 400); do
        has_text "$id" 30x12+2+22 && break
        sleep 0.02
    done
    sleep 0.3
    file=$(printf '%02d-%s.png' "$n" "$(tr 'A-Z ' 'a-z-' <<<"${name% Table}")")
    shoot "$id" "$file"
    close_view "$id" 90
    wait_gone "$title"
    n=$((n + 1))
done

# The About box: Help is the second menu of the bar, About its only visible item.
xdotool windowfocus "$main_id" 2>/dev/null || true
xdotool key alt
sleep 0.2
xdotool key Right Down Return
about_id=$(find_window '^About KSV-720E Module$') || { echo "demo.sh: no About box" >&2; exit 1; }
sleep 0.3
shoot "$about_id" "$(printf '%02d-about.png' "$n")"
xdotool key Return  # OK has the focus
wait_gone '^About KSV-720E Module$'

views_rss=$(ps -o rss= -p "$module_pid" | tr -d ' ')
say "start-up: main window $((main_ms - start_ms)) ms after the process started; agent version view filled $((filled_ms - start_ms)) ms after it ($((filled_ms - main_ms)) ms of them from the main window through the menu, xdotool steps included)"
say "module memory (RSS): ${idle_rss} KiB idle with the main window, ${views_rss} KiB after every view"
# End the module (it has no other way to be told without a window manager) and read its peak.
kill -TERM "$module_pid"
wait "$time_pid" 2>/dev/null || true
module_pid=""
peak=$(sed -n 's/.*Maximum resident set size (kbytes): *//p' "$workdir/module-time.txt")
say "module peak memory (GNU time, maximum RSS): ${peak:-?} KiB"
say "screenshots in $shots"
