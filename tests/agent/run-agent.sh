#!/bin/sh
# Starts the KSV-720E test agent (snmpd with the data sets of tests/agent/data) in the background
# for a demo, with the same configuration the tests use.
#
#   tests/agent/run-agent.sh [--port N] [dataset...]   prints PORT=<n> PID=<n> DIR=<dir>
#   tests/agent/run-agent.sh --stop PID                  stops it again
#
# Data sets: device (default), empty, early, sparse, largeN (e.g. large1000), writable, faulty;
# see tests/agent/data/README.md. Credentials: communities public/private, SNMPv3 users noauth,
# md5user, shades, sha256aes (tests/agent/SnmpdAgent.h).
#
# The agent is run by the ksv-agent program (built with the tests); set KSV_AGENT_BIN to use a
# particular build. Stopping PID (ksv-agent) stops snmpd and removes DIR; KSV_AGENT_KEEP_DIR=1
# keeps DIR.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ "${1:-}" = "--stop" ]; then
    pid=${2:?usage: run-agent.sh --stop PID}
    kill -TERM "$pid" 2>/dev/null || { echo "run-agent.sh: no process $pid" >&2; exit 1; }
    i=0
    while kill -0 "$pid" 2>/dev/null; do
        i=$((i + 1))
        if [ "$i" -gt 150 ]; then
            kill -KILL "$pid" 2>/dev/null || true
            break
        fi
        sleep 0.1
    done
    exit 0
fi

bin=${KSV_AGENT_BIN:-}
if [ -z "$bin" ]; then
    # The most recently built ksv-agent of any build directory of the repository.
    bin=$(ls -t "$root"/build*/tests/agent/ksv-agent 2>/dev/null | head -n 1 || true)
fi
if [ -z "$bin" ] || [ ! -x "$bin" ]; then
    echo "run-agent.sh: ksv-agent is not built; build it with" >&2
    echo "  cmake -S $root -B $root/build -G Ninja && cmake --build $root/build --target ksv-agent" >&2
    exit 1
fi

out=$(mktemp "${TMPDIR:-/tmp}/ksv-agent-run.XXXXXX")
setsid "$bin" "$@" >"$out" 2>&1 </dev/null &
pid=$!

# Wait (at most about two minutes: the large data sets take a while) for the line with the port.
i=0
while ! grep -q '^PORT=' "$out" 2>/dev/null; do
    if ! kill -0 "$pid" 2>/dev/null; then
        cat "$out" >&2
        rm -f "$out"
        exit 1
    fi
    i=$((i + 1))
    if [ "$i" -gt 1200 ]; then
        echo "run-agent.sh: the agent did not start in time" >&2
        kill -TERM "$pid" 2>/dev/null || true
        cat "$out" >&2
        rm -f "$out"
        exit 1
    fi
    sleep 0.1
done
grep '^PORT=' "$out"
rm -f "$out"
