#!/usr/bin/env python3
"""Notes when each of the headless program's tick lines arrives, to measure how long the
program was held between two ticks.

    tick_times.py TICKS_FILE --pid PID --out FILE

Polls TICKS_FILE every 10 ms until the program PID has ended, appending "seconds tick" per
tick line to FILE (seconds since the epoch, as `date +%s.%N` gives them).
    tick_times.py --gaps FILE --from SECONDS --to SECONDS [--every]
prints the largest time between two tick lines of which the later arrived within that span;
with --every, how many such gaps there were, the largest, and the smallest and largest of
the others.
"""
import argparse
import json
import os
import sys
import time

from tick_watch import alive

POLL_SECONDS = 0.01


def follow(ticks_path, pid, out_path):
    pending = ""
    with open(ticks_path, encoding="utf-8", errors="replace") as ticks, open(out_path, "a", encoding="ascii") as out:
        while True:
            running = alive(pid)
            pending += ticks.read()
            *lines, pending = pending.split("\n")
            now = time.time()
            for line in lines:
                if line.startswith("{"):
                    out.write(f"{now:.3f} {json.loads(line).get('tick')}\n")
            out.flush()
            if not running:
                return 0
            time.sleep(POLL_SECONDS)


def largest_gap(times_path, start, end, every):
    times = [float(line.split()[0]) for line in open(times_path, encoding="ascii") if line.strip()]
    gaps = [b - a for a, b in zip(times, times[1:]) if start <= b <= end]
    if not every:
        print(f"{max(gaps, default=0):.3f}")
        return 0
    largest = max(gaps, default=0)
    others = sorted(gaps)[:-1]
    print(f"{len(gaps)} gaps, the largest {largest:.3f} s, the others "
          f"{min(others, default=0):.3f} to {max(others, default=0):.3f} s")
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("ticks", nargs="?")
    parser.add_argument("--pid", type=int)
    parser.add_argument("--out")
    parser.add_argument("--gaps")
    parser.add_argument("--from", dest="start", type=float, default=0)
    parser.add_argument("--to", dest="end", type=float, default=float("inf"))
    parser.add_argument("--every", action="store_true")
    arguments = parser.parse_args()
    if arguments.gaps:
        return largest_gap(arguments.gaps, arguments.start, arguments.end, arguments.every)
    while not os.path.exists(arguments.ticks):
        time.sleep(POLL_SECONDS)
    return follow(arguments.ticks, arguments.pid, arguments.out)


if __name__ == "__main__":
    sys.exit(main())
