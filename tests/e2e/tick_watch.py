#!/usr/bin/env python3
"""Follows the headless program's tick lines until one tick shows what a test waits for.

    tick_watch.py TICKS_FILE --pid PID [--after TICK] [--timeout SECONDS]
                  [--resources FILE] CONDITION...

A CONDITION names a control as WINDOW.CONTROL and compares its text:
    frmMain.txtTESTFD=Download Timeout or Error     equal
    frmMain.txtMETARstr^=KSFO                       starts with
    frmStatus.lblFSlat!^=Processing                 does not start with
    readings=Processing: IPC sendmessage failed all retries
                                                    all fourteen readings equal (also ^= and !^=)
Prints the number of the first tick after TICK that meets every condition and exits 0.
Exits 1 when the program ends or SECONDS (default 120) pass first, naming the last tick.
With --resources, appends "seconds rss_kb descriptors" of the program to FILE while it
watches, one line per poll.
"""
import argparse
import json
import os
import sys
import time

READINGS = ["lblFSlat", "lblFSlon", "lblCLud", "lblCLuc", "lblCLub", "lblCLld", "lblCLlc", "lblCLlb",
            "lblCLsd", "lblCLsc", "lblCLsb", "lblTemp", "lblAltitude", "lblClock"]
POLL_SECONDS = 0.1


def parse_condition(text):
    for operator in ("!^=", "^=", "="):
        name, found, expected = text.partition(operator)
        if found:
            return name, operator, expected
    raise SystemExit(f"tick_watch: no comparison in condition {text!r}")


def compare(actual, operator, expected):
    if not isinstance(actual, str):
        return False
    if operator == "=":
        return actual == expected
    if operator == "^=":
        return actual.startswith(expected)
    return not actual.startswith(expected)


def holds(tick, condition):
    name, operator, expected = condition
    if name == "readings":
        status = tick.get("frmStatus", {})
        return all(compare(status.get(label), operator, expected) for label in READINGS)
    window, _, control = name.partition(".")
    return compare(tick.get(window, {}).get(control), operator, expected)


def resources(pid):
    try:
        with open(f"/proc/{pid}/status", encoding="ascii") as status:
            rss = next((line.split()[1] for line in status if line.startswith("VmRSS:")), "0")
        return int(rss), len(os.listdir(f"/proc/{pid}/fd"))
    except (FileNotFoundError, ProcessLookupError, PermissionError):
        return None


def alive(pid):
    """True while the process runs; an ended one waiting for its parent counts as ended."""
    try:
        with open(f"/proc/{pid}/stat", encoding="ascii", errors="replace") as stat:
            return stat.read().rpartition(")")[2].split()[0] != "Z"
    except (FileNotFoundError, ProcessLookupError):
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("ticks")
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--after", type=int, default=0)
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--resources")
    parser.add_argument("conditions", nargs="+")
    arguments = parser.parse_args()
    conditions = [parse_condition(text) for text in arguments.conditions]

    started = time.monotonic()
    deadline = started + arguments.timeout
    last_tick = None
    last_line = ""
    pending = ""
    with open(arguments.ticks, encoding="utf-8", errors="replace") as ticks:
        while True:
            # A sample at every poll, the one that finds the tick included, so that a watch
            # whose tick is already there still leaves one.
            if arguments.resources:
                sample = resources(arguments.pid)
                if sample:
                    with open(arguments.resources, "a", encoding="ascii") as out:
                        out.write(f"{time.monotonic() - started:.2f} {sample[0]} {sample[1]}\n")
            chunk = ticks.read()
            pending += chunk
            *lines, pending = pending.split("\n")
            # Sampled on every poll, the last included: a watch met at its first read (the
            # ticks ran ahead while the simulator was stopped or started) still leaves one.
            if arguments.resources:
                sample = resources(arguments.pid)
                if sample:
                    with open(arguments.resources, "a", encoding="ascii") as out:
                        out.write(f"{time.monotonic() - started:.2f} {sample[0]} {sample[1]}\n")
            for line in lines:
                if not line.startswith("{"):
                    continue
                tick = json.loads(line)
                last_tick = tick.get("tick")
                last_line = line
                if last_tick is not None and last_tick > arguments.after and all(holds(tick, c) for c in conditions):
                    print(last_tick)
                    return 0
            if not chunk:
                if not alive(arguments.pid):
                    print(f"tick_watch: the program ended; last tick {last_tick}", file=sys.stderr)
                    return 1
                if time.monotonic() > deadline:
                    print(f"tick_watch: no tick met {arguments.conditions} within {arguments.timeout} s; "
                          f"last tick {last_tick}: {last_line}", file=sys.stderr)
                    return 1
                time.sleep(POLL_SECONDS)


if __name__ == "__main__":
    sys.exit(main())
