#!/usr/bin/env python3
"""Checks that the stand-in simulator got the forecast model's winds of one level for the
current UTC hour (or the hour before, for a run that crossed the hour).

    check_model_winds.py WRITE_LOG TICKS GFS_TXT HPA FEET

GFS_TXT is the stand-in's data file (hPa, knots, degrees, Celsius at 00 UTC; each hour adds
one knot and ten degrees); HPA the model level and FEET the bulletin level it stands for."""
import datetime
import json
import sys

IMPLIED_SIGN_FEET = 30000  # from here up the bulletin holds the temperature's magnitude


def value16(data):
    value = int.from_bytes(bytes.fromhex(data), "little")
    return value - 0x10000 if value >= 0x8000 else value


def level_values(gfs_txt, hpa):
    for line in open(gfs_txt, encoding="utf-8"):
        fields = line.split()
        if fields and not fields[0].startswith("#") and int(fields[0]) == hpa:
            return [float(f) for f in fields[1:4]]
    raise SystemExit(f"no level {hpa} in {gfs_txt}")


def expected_writes(knots, degrees, celsius, feet):
    """The writes of the winds-aloft writer for the model's values: through the bulletin's
    coding (nearest ten degrees, 0 as 360, 199 knots at most) and back."""
    speed = min(round(knots), 199)
    direction = round((degrees % 360) / 10) * 10 or 360
    temp = round(celsius)
    if feet >= IMPLIED_SIGN_FEET:
        temp = min(temp, 0)
    written_temp = round(round(feet / 3.285) / (1000 / 3.285) * 1.8 + temp)
    return {"0x0F72": speed, "0x0F74": value16(round(min(direction, 359) * 65534 / 360).to_bytes(2, "little").hex()),
            "0x0F42": written_temp * 256}


def main(log_path, ticks_path, gfs_txt, hpa, feet):
    entries = [json.loads(line) for line in open(log_path, encoding="utf-8")]
    ticks = [json.loads(line) for line in open(ticks_path, encoding="utf-8")]
    knots, degrees, celsius = level_values(gfs_txt, int(hpa))
    now = datetime.datetime.now(datetime.timezone.utc)
    hours = {now.hour, (now - datetime.timedelta(hours=1)).hour}
    candidates = [expected_writes(knots + h, degrees + 10 * h, celsius, int(feet)) for h in sorted(hours)]

    failures = []
    last = {}
    got = None
    for entry in entries:
        if entry.get("message", "").startswith("Stratocue->FD Winds Aloft GFS: "):
            got = {offset: last.get(offset) for offset in ("0x0F72", "0x0F74", "0x0F42")}
            break
        if entry.get("size") == 2:
            last[entry["offset"]] = value16(entry["data"])
    if got is None:
        failures.append("no \"FD Winds Aloft GFS\" message in the write log")
    elif got not in candidates:
        failures.append(f"the {hpa} hPa level of this hour: wanted one of {candidates}, got {got}")
    summary = ticks[-1].get("frmMain", {}).get("txtTESTFD", "") if ticks else ""
    if not summary.startswith("GFS 3K:"):
        failures.append(f"the main window shows the GFS row: {summary!r}")

    for failure in failures:
        print("FAILED:", failure)
    print(f"{2 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:6]))
