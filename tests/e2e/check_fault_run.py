#!/usr/bin/env python3
"""Checks a whole end-to-end run of the headless program after the fact.

    check_fault_run.py TICKS_FILE [--resources FILE --rss-growth-kb N]
                       [--sim-log FILE --message PREFIX ... --no-message PREFIX ...
                        --never-written OFFSET=VALUE ...]

- the ticks are numbered 1, 2, 3 ... without a gap: every tick completed and was shown;
- each of the fourteen readings of every tick shows a value, or "Reading: " or
  "Processing: " followed by one of the link's result texts;
- with --resources: the program's resident memory never grew by N kB or more over its
  first sample;
- with --sim-log: the simulator showed an on-screen message starting with each --message
  PREFIX, none starting with a --no-message PREFIX, and no 16-bit write of VALUE at OFFSET
  (hexadecimal, as the log names it) for each --never-written.
Prints "N passed, N failed" and exits 1 on any failure.
"""
import argparse
import json
import sys

READINGS = ["lblFSlat", "lblFSlon", "lblCLud", "lblCLuc", "lblCLub", "lblCLld", "lblCLlc", "lblCLlb",
            "lblCLsd", "lblCLsc", "lblCLsb", "lblTemp", "lblAltitude", "lblClock"]
RESULT_TEXTS = {
    "Active", "Attempt to Open when already Open", "Cannot link to FSUIPC or WideClient",
    "Failed to Register common message with Windows", "Failed to create Atom for mapping filename",
    "Failed to create a file mapping object", "Failed to open a view to the file map",
    "Incorrect version of FSUIPC, or not FSUIPC", "Sim is not version requested",
    "Call cannot execute, link not Open", "Call cannot execute: no requests accumulated",
    "IPC timed out all retries", "IPC sendmessage failed all retries", "IPC request contains bad data",
    "Maybe running on WideClient, but FS not running on Server, or wrong FSUIPC",
    "Read or Write request cannot be added, memory for Process is full",
}
FAILURE_PREFIXES = ("Reading: ", "Processing: ")


def reading_shown(text):
    if not isinstance(text, str) or text == "":
        return False
    for prefix in FAILURE_PREFIXES:
        if text.startswith(prefix):
            return text[len(prefix):] in RESULT_TEXTS
    return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("ticks")
    parser.add_argument("--resources")
    parser.add_argument("--rss-growth-kb", type=int, default=0)
    parser.add_argument("--sim-log")
    parser.add_argument("--message", action="append", default=[])
    parser.add_argument("--no-message", action="append", default=[])
    parser.add_argument("--never-written", action="append", default=[])
    arguments = parser.parse_args()

    checks = []

    def expect(condition, what):
        checks.append((bool(condition), what))

    ticks = []
    with open(arguments.ticks, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            if line.startswith("{"):
                ticks.append(json.loads(line))
    numbers = [tick.get("tick") for tick in ticks]
    expect(numbers and numbers == list(range(1, len(numbers) + 1)),
           f"{len(numbers)} ticks numbered 1.. without a gap (first {numbers[:3]}, last {numbers[-3:]})")
    bad = [(tick.get("tick"), label, tick.get("frmStatus", {}).get(label)) for tick in ticks for label in READINGS
           if not reading_shown(tick.get("frmStatus", {}).get(label))]
    expect(not bad, f"every reading of every tick shows a value or a result text ({bad[:3]})")

    if arguments.resources:
        samples = [int(line.split()[1]) for line in open(arguments.resources, encoding="ascii") if line.strip()]
        growth = max(samples) - samples[0] if samples else None
        expect(samples and growth < arguments.rss_growth_kb,
               f"resident memory grew by {growth} kB over {len(samples)} samples (bound {arguments.rss_growth_kb} kB; "
               f"first {samples[:1]} kB, least {min(samples, default=None)} kB, most {max(samples, default=None)} kB)")

    if arguments.sim_log:
        messages = []
        written = []
        for line in open(arguments.sim_log, encoding="utf-8", errors="replace"):
            entry = json.loads(line)
            if "message" in entry:
                messages.append(entry["message"])
            elif entry.get("size") == 2:
                written.append((entry["offset"], int.from_bytes(bytes.fromhex(entry["data"]), "little")))
        for prefix in arguments.message:
            expect(any(message.startswith(prefix) for message in messages),
                   f"the simulator showed a message starting {prefix!r} ({len(messages)} messages)")
        for prefix in arguments.no_message:
            shown = [message for message in messages if message.startswith(prefix)]
            expect(not shown, f"the simulator never showed a message starting {prefix!r} ({shown[:2]})")
        for pair in arguments.never_written:
            offset, _, value = pair.partition("=")
            hits = sum(1 for where, data in written if where == offset and data == int(value) & 0xFFFF)
            expect(hits == 0, f"{offset} never written as {value} ({hits} times)")

    failed = [what for ok, what in checks if not ok]
    for ok, what in checks:
        print(("ok:     " if ok else "FAILED: ") + what)
    print(f"{len(checks) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
