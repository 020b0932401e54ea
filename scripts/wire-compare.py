#!/usr/bin/env python3
"""Compares two folders made by scripts/wire-session.sh (before and after a change).

    scripts/wire-compare.py BEFORE AFTER

For each quma-cli command on each link: the frames sent and received, byte for byte and in order;
what it printed and its exit status; the median time between two requests. Then the files the
session wrote (CSV, profile, spreadsheets, report), leaving out what holds the time of day. Then
every recording of the test suites: the frames sent. A suite on a noisy link or a real clock may
send a different number of polls and repeats; such a recording is reported apart when its other
requests are the same and in the same order. Exit status 0 when nothing differs, 1 otherwise.
"""
import difflib
import json
import re
import statistics
import sys
import zipfile
from pathlib import Path

# A poll (read registers 1..131) on TCP without its transaction id, and on the serial line.
POLL_BODIES = {"00000006010400010083", ":01040001008377\r\n"}


def frames(path):
    out = []
    for line in path.read_text(errors="replace").splitlines():
        row = json.loads(line)
        if "dir" in row:
            out.append((row["dir"], row["hex"], row["link"], int(row["mono_ns"])))
    return out


def sent(rows):
    return [hexed for direction, hexed, _, _ in rows if direction == "out"]


def requests_apart_from_polls(rows):
    """The requests with polls left out, TCP transaction ids cleared and repeats collapsed."""
    kept = []
    for direction, hexed, link, _ in rows:
        if direction != "out":
            continue
        body = hexed[4:] if link == "tcp" else bytes.fromhex(hexed).decode("latin-1").lower()
        if body in POLL_BODIES or (kept and kept[-1] == body):
            continue
        kept.append(body)
    return kept


def median_gap_ms(rows):
    times = [t for direction, _, _, t in rows if direction == "out"]
    gaps = [(b - a) / 1e6 for a, b in zip(times, times[1:])]
    return statistics.median(gaps) if gaps else 0.0


def printed(path, root):
    text = path.read_text(errors="replace") if path.exists() else ""
    text = text.replace(str(root), "OUT")
    return re.sub(r"in [0-9.]+ ms", "in X ms", text)


def same_file(a, b):
    if a.suffix == ".xlsx":
        with zipfile.ZipFile(a) as za, zipfile.ZipFile(b) as zb:
            names = [n for n in za.namelist() if n != "docProps/core.xml"]
            return names == [n for n in zb.namelist() if n != "docProps/core.xml"] and all(
                za.read(n) == zb.read(n) for n in names)
    ta, tb = a.read_bytes(), b.read_bytes()
    for pattern in (rb'"read_at": "[^"]*"', rb"<tr><td>[^<]*</td><td>\d{4}-\d\d-\d\d \d\d:\d\d:\d\d</td></tr>"):
        ta, tb = re.sub(pattern, b"", ta), re.sub(pattern, b"", tb)
    return ta == tb


def main(before, after):
    differences = 0
    for link in ("tcp", "serial"):
        da, db = before / f"cli-{link}", after / f"cli-{link}"
        for ra in sorted(da.glob("*.jsonl")):
            rb = db / ra.name
            a, b = frames(ra), frames(rb) if rb.exists() else []
            same_out = sent(a) == sent(b)
            same_in = [f[:2] for f in a if f[0] != "out"] == [f[:2] for f in b if f[0] != "out"]
            same_print = all(printed(ra.with_suffix(s), before) == printed(rb.with_suffix(s), after)
                             for s in (".stdout", ".stderr"))
            ok = same_out and same_in and same_print
            differences += not ok
            print(f"{link:6} command {ra.stem}: {len(sent(a))}/{len(sent(b))} sent "
                  f"{'same' if same_out else 'DIFFERENT'}, received {'same' if same_in else 'DIFFERENT'}, "
                  f"printed {'same' if same_print else 'DIFFERENT'}, median gap "
                  f"{median_gap_ms(a):.0f}/{median_gap_ms(b):.0f} ms")
        for fa in sorted(p for p in da.iterdir() if p.suffix in (".csv", ".json", ".xlsx", ".html")):
            fb = db / fa.name
            ok = fb.exists() and same_file(fa, fb)
            differences += not ok
            print(f"{link:6} file {fa.name}: {'same' if ok else 'DIFFERENT'}")
            if not ok and fb.exists() and fa.suffix != ".xlsx":
                lines = difflib.unified_diff(fa.read_text(errors="replace").splitlines(),
                                             fb.read_text(errors="replace").splitlines(), lineterm="", n=0)
                for line in list(lines)[2:12]:
                    print(f"         {line}")
    equal = apart = 0
    sa, sb = before / "suites", after / "suites"
    names_a = {p.name for p in sa.glob("*.jsonl")}
    names_b = {p.name for p in sb.glob("*.jsonl")}
    for name in sorted(names_a & names_b):
        a, b = frames(sa / name), frames(sb / name)
        if sent(a) == sent(b):
            equal += 1
        elif requests_apart_from_polls(a) == requests_apart_from_polls(b):
            apart += 1
            print(f"suite {name}: {len(sent(a))}/{len(sent(b))} sent; the same requests in the same "
                  "order apart from polls and repeats")
        else:
            differences += 1
            print(f"suite {name}: {len(sent(a))}/{len(sent(b))} sent, DIFFERENT")
    print(f"suites: {equal} recordings sent the same bytes, {apart} the same requests apart from "
          f"polls and repeats; only before: {len(names_a - names_b)}, only after: "
          f"{len(names_b - names_a)}")
    for name in sorted(names_a ^ names_b):
        print(f"  only {'before' if name in names_a else 'after'}: {name}")
    print("no difference" if differences == 0 else f"{differences} differences")
    return 1 if differences else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(Path(sys.argv[1]), Path(sys.argv[2])))
