#!/usr/bin/env python3
"""Checks the write log of a smoothed station change: the first weather at once, the new one
moving at most at the ramp's rates until it reaches the new report's values."""
import json
import sys

# Offset: (units per minute, around a circle of this many units or None)
RATES = {
    "0x0F48": (16.0, None),           # 1 hPa
    "0x0F72": (6.0, None),            # 6 knots
    "0x0F74": (30 * 65534 / 360, 65534),  # 30 degrees
}
FIRST = {"0x0F48": 1013 * 16, "0x0F72": 10, "0x0F74": 310 * 65534 // 360}
SECOND = {"0x0F48": 1019 * 16, "0x0F72": 30, "0x0F74": 40 * 65534 // 360}
PRESSURE_MINUTES = 6.0


def value16(data, circle):
    value = int.from_bytes(bytes.fromhex(data), "little")
    if circle is None and value >= 0x8000:
        value -= 0x10000
    return value


def moved(a, b, circle):
    if circle is None:
        return b - a
    d = (b - a) % circle
    return d - circle if d > circle // 2 else d


def main(log_path, ticks_path):
    entries = [json.loads(line) for line in open(log_path, encoding="utf-8")]
    ticks = [json.loads(line) for line in open(ticks_path, encoding="utf-8")]
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    expect(ticks and all(t["frmMain"].get("chkSMOOTH") == 1 for t in ticks if t["frmMain"]["exists"]),
           "the box is checked in every tick line")
    messages = [(e["t"], e["message"]) for e in entries if "message" in e]
    change = [t for t, m in messages if m.startswith("Stratocue->KOAK")]
    expect(messages and messages[0][1].startswith("Stratocue->KSFO"), f"first message is KSFO's: {messages[:1]}")
    expect(change, "Oakland's report was written")
    if failures:
        print("\n".join(failures))
        return 1
    change_s = change[0]  # seconds since the simulator started

    for offset, (rate, circle) in RATES.items():
        writes = [(e["t"], value16(e["data"], circle)) for e in entries if e.get("offset") == offset]
        expect(writes and writes[0][1] == FIRST[offset], f"{offset}: the first weather at once: {writes[:1]}")
        after = [w for w in writes if w[0] >= change_s]
        before = [w for w in writes if w[0] < change_s]
        expect(after and after[-1][1] == SECOND[offset], f"{offset}: reaches {SECOND[offset]}: {after[-1:]}")
        previous = before[-1] if before else None
        for write in after:
            if previous is not None:
                seconds = write[0] - previous[0]
                step = abs(moved(previous[1], write[1], circle))
                bound = rate * (seconds + 0.5) / 60 + 1
                expect(step <= bound, f"{offset}: step {step} in {seconds:.1f} s above the rate ({bound:.1f})")
            previous = write

    pressure = [(e["t"], value16(e["data"], None)) for e in entries if e.get("offset") == "0x0F48"]
    reached = [t for t, v in pressure if t >= change_s and v == SECOND["0x0F48"]]
    if reached:
        minutes = (reached[0] - change_s) / 60
        expect(PRESSURE_MINUTES - 0.2 <= minutes <= PRESSURE_MINUTES + 0.5,
               f"the pressure reached the new value in {minutes:.2f} minutes")
    if failures:
        print("\n".join(failures))
        return 1
    print(f"the pressure reached the new value {minutes:.2f} minutes after the station change")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
