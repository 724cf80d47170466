#!/usr/bin/env python3
"""Checks the stand-in simulator's write log and the program's tick lines of the end-to-end run."""
import json
import sys


def value16(data):
    value = int.from_bytes(bytes.fromhex(data), "little")
    return value - 0x10000 if value >= 0x8000 else value


KSFO_MESSAGE = "Stratocue->KSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002..."
KSFO_PRESSURE = 1016 * 16  # A3002
FALLBACK_PRESSURE = 1013 * 16


def check_weather_back(log_path, started_at, reopen_tick_at, after_open="-"):
    """The first weather a restarted stand-in got: the KSFO report in hand (after the winds
    aloft in hand, as the winds-aloft writer goes first), written by the tick that opened
    the link again, and never a fallback. That tick is told by the stand-in's times counted
    from STARTED_AT (no earlier than its start), or, where its start is known less well
    ("-"), by the report following the link's opening write within AFTER_OPEN seconds (less
    than a tick)."""
    entries = [json.loads(line) for line in open(log_path, encoding="utf-8")]
    failures = []
    messages = [e for e in entries if "message" in e]
    reports = [e for e in messages if not e["message"].startswith("Stratocue->FD Winds Aloft")]
    if not reports:
        failures.append("no report reached the restarted simulator")
    else:
        first = reports[0]
        if first["message"] != KSFO_MESSAGE:
            failures.append(f"first report is the KSFO report in hand: {first['message']!r}")
        winds = messages[:messages.index(first)]
        if any(not e["message"].startswith("Stratocue->FD Winds Aloft SFO: ") for e in winds):
            failures.append(f"only the winds aloft in hand before it: {winds}")
        pressures = [value16(e["data"]) for e in entries[:entries.index(first)] if e.get("offset") == "0x0F48"]
        if pressures != [KSFO_PRESSURE]:
            failures.append(f"one pressure {KSFO_PRESSURE} written before it: {pressures}")
        if started_at != "-" and reopen_tick_at != "-" and float(started_at) + first["t"] > float(reopen_tick_at) + 0.1:
            failures.append(f"written {float(started_at) + first['t'] - float(reopen_tick_at):.3f} s after the reopen tick")
        opened = next((e for e in entries if e.get("offset") == "0x330A"), None)
        if after_open != "-" and (opened is None or first["t"] - opened["t"] > float(after_open)):
            failures.append(f"not written within {after_open} s of the link's opening: {opened}, {first}")
    for entry in messages:
        if "Downloading" in entry["message"]:
            failures.append(f"a download fallback reached it: {entry['message']!r}")
    for entry in entries:
        if entry.get("offset") == "0x0F48" and entry.get("size") == 2 and value16(entry["data"]) == FALLBACK_PRESSURE:
            failures.append("1013 hPa reached it")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


def main(log_path, ticks_path):
    entries = [json.loads(line) for line in open(log_path, encoding="utf-8")]
    ticks = [json.loads(line) for line in open(ticks_path, encoding="utf-8")]
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    messages = [e["message"] for e in entries if "message" in e]
    expect(messages and messages[0] == KSFO_MESSAGE,
           f"first message is the KSFO report: {messages[:1]}")
    winds = [m for m in messages if m.startswith("Stratocue->FD Winds Aloft SFO: ")]
    expect(winds, f"a winds-aloft level of SFO was written: {messages}")

    # The first full surface write, up to its message.
    first = {}
    for entry in entries:
        if "message" in entry:
            break
        if entry.get("size") == 2:
            first[entry["offset"]] = value16(entry["data"])
    expected = {
        "0x0F48": KSFO_PRESSURE,
        "0x0F42": 17 * 256,    # temperature, aircraft on the ground
        "0x04D4": 9 * 256,     # dew point
        "0x0F8C": 1000,        # 10 statute miles
        "0x0F72": 12,          # wind speed
        "0x0F78": 20,          # gust
        "0x0F28": 16384,       # FEW on layer 2
        "0x0F20": -32768,      # SCT on layer 3 (32768 as a 16-bit word)
        "0x0F74": value16(int(280 * 65534 // 360).to_bytes(2, "little").hex()),
    }
    for offset, value in expected.items():
        expect(first.get(offset) == value, f"{offset} written as {value}, got {first.get(offset)}")

    last = ticks[-1] if ticks else {}
    expect(last.get("frmMain", {}).get("caption") == "Stratocue 2002 Active", "the link opened: Active")
    expect(last.get("frmStatus", {}).get("lblSim") == "FS2002", "the simulator's name")
    expect(last.get("frmStatus", {}).get("lblVer") == "2.810d", "the interface version")
    expect(last.get("frmMain", {}).get("lblTEMPID") == "KSFO", "the last tick shows KSFO")
    expect(last.get("frmMain", {}).get("txtTESTFD", "").startswith("SFO 3K:"), "the winds-aloft summary of SFO")
    expect(last.get("frmStatus", {}).get("lblMETARalt") == "1016", "the decoded altimeter setting")
    expect(int(last.get("frmStatus", {}).get("lblAltitude", "0")) >= 2900, "the aircraft climbed")

    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(expected) + 9 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "--weather-back":
        # check_write_log.py --weather-back PART_LOG STARTED_AT|- REOPEN_TICK_AT [AFTER_OPEN]
        sys.exit(check_weather_back(*sys.argv[2:6]))
    sys.exit(main(sys.argv[1], sys.argv[2]))
