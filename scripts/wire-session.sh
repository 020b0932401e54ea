#!/bin/bash
# Records what a build puts on the wire, so that a change meant to keep the protocol as it is can
# be checked byte for byte: run it on the build before the change and on the build after, then
# compare the two folders with scripts/wire-compare.py.
#
#   scripts/wire-session.sh BUILD_DIR OUT_DIR
#
# It plays one quma-cli session on each link (TCP and a serial pseudo-terminal) against a frozen
# quma-sim (status, polls, network identity, both histories as CSV and spreadsheet, setting
# writes, both clears, the clock, a profile, a report, both resets), each command recorded with
# --record, and runs the suites that drive the windows and the engine against the simulator with
# every rig's link recorded (QUMA_TEST_RECORDINGS).
set -u
build=$(realpath "$1")
out=$2
rm -rf "$out" && mkdir -p "$out"
out=$(realpath "$out")
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

cli_session() {
    local link=$1 dir=$out/cli-$1 sim args n=0
    mkdir -p "$dir"
    if [ "$link" = tcp ]; then
        "$build/quma-sim" --frozen --seed 7 --no-battery --tcp 127.0.0.1:0 >"$dir/sim.out" 2>&1 &
    else
        "$build/quma-sim" --frozen --seed 7 --no-battery --no-tcp --pty --link "$dir/pty" \
            >"$dir/sim.out" 2>&1 &
    fi
    sim=$!
    for _ in $(seq 50); do
        grep -q "^TCP: " "$dir/sim.out" 2>/dev/null || [ -e "$dir/pty" ] && break
        sleep 0.1
    done
    if [ "$link" = tcp ]; then
        args=(--tcp "$(sed -n 's/^TCP: //p' "$dir/sim.out")")
    else
        args=(--serial "$dir/pty")
    fi
    step() {
        n=$((n + 1))
        local tag
        tag=$(printf %02d $n)
        (cd "$dir" && timeout 120 "$build/quma-cli" "${args[@]}" --record "$tag.jsonl" "$@" \
            >"$tag.stdout" 2>"$tag.stderr"
            echo "exit $?" >>"$tag.stdout")
    }
    step status
    step watch --count 4
    step netid
    step history alarm --csv alarm.csv
    step history event --csv event.csv
    step write 54=170 55=270 56=460 57=570 58=470 60=540 64=1 68=430
    step write 80=38 81=2 70=5
    step write 73=1 72=0 71=1
    step clear alarm
    step clear event
    step set-time 2026-03-04T05:06:07
    step profile save profile.json
    step history alarm --xlsx alarm.xlsx
    step history event --xlsx event.xlsx
    step report report.html --engineer Kim --note check
    step reset 1
    step reset 2
    step status
    kill $sim
    wait $sim 2>/dev/null
}

cli_session tcp
cli_session serial
mkdir -p "$out/suites"
for suite in tst_config tst_history tst_mainwin tst_live tst_profile tst_profilewin tst_protocol \
    tst_report; do
    QUMA_TEST_RECORDINGS=$out/suites timeout 900 "$build/tests/$suite" >"$out/$suite.out" 2>&1
    echo "$suite exit $?" >>"$out/suites.txt"
done
cat "$out/suites.txt"
