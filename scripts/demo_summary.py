#!/usr/bin/env python3
"""Prints what the stand-in simulator received during the demo, one block per weather
application: the surface weather of each METAR applied and each winds-aloft level written,
with the on-screen messages. Given the program's tick lines too, it names the nearest
station when a neighbour's report went in because that station had none.

    demo_summary.py SIMULATOR_LOG [TICKS_FILE]"""
import json
import sys

LAYERS = (("layer 1", 0x0F2E, 0x0F2C, 0x0F30), ("layer 2", 0x0F26, 0x0F24, 0x0F28),
          ("layer 3", 0x0F1E, 0x0F1C, 0x0F20))
LEVELS = (3, 6, 9, 12, 18, 24, 30, 34, 39)


def signed16(data):
    value = int.from_bytes(bytes.fromhex(data)[:2], "little")
    return value - 0x10000 if value >= 0x8000 else value


def unsigned16(data):
    return int.from_bytes(bytes.fromhex(data)[:2], "little")


def degrees(value):
    return round(value * 360 / 65534)


def surface_block(values, message):
    lines = [f"METAR applied: {message[len('Stratocue->'):].split(' ')[0]}   \"{message}\""]
    if 0x0F72 in values:
        direction = f"{degrees(unsigned16(values[0x0F74])):03d} deg" if 0x0F74 in values else "no direction"
        lines.append(f"  wind        {direction} at {signed16(values[0x0F72])} kt, gust {signed16(values.get(0x0F78, '0000'))} kt")
    else:
        lines.append("  wind        left to the winds aloft (aircraft high above the station)")
    if 0x0F8C in values:
        lines.append(f"  visibility  {signed16(values[0x0F8C]) / 100:g} mi")
    clouds = []
    for name, base, top, coverage in LAYERS:
        eighths = unsigned16(values.get(coverage, "0000")) * 8 / 65535
        if eighths > 0:
            clouds.append(f"{name} {eighths:.0f}/8 {signed16(values.get(base, '0000'))}-{signed16(values.get(top, '0000'))} m")
    lines.append("  clouds      " + (", ".join(clouds) if clouds else "none"))
    if 0x0F42 in values:
        lines.append(f"  temperature {signed16(values[0x0F42]) / 256:g} C at {signed16(values.get(0x0F40, '0000'))} m")
    if 0x04D4 in values:
        lines.append(f"  dew point   {signed16(values[0x04D4]) / 256:g} C")
    if 0x0F48 in values:
        lines.append(f"  pressure    {signed16(values[0x0F48]) / 16:g} hPa")
    if 0x04D2 in values:
        intensity, kind = bytes.fromhex(values[0x04D2])[:2]
        lines.append(f"  precip      type {kind}, intensity code {intensity}")
    return lines


def winds_aloft_block(values, message):
    # "Stratocue->FD Winds Aloft SFO: 250 /15 /2"
    station, rest = message.split("FD Winds Aloft ", 1)[1].split(": ", 1)
    direction, speed, level_temp = (part.strip() for part in rest.split("/"))
    written = signed16(values.get(0x0F42, "0000")) / 256
    # The written temperature is the level's raised by 1.8 degrees per thousand feet.
    thousands = (written - float(level_temp)) / 1.8
    level = min(LEVELS, key=lambda k: abs(k - thousands))
    return [f"Winds aloft applied: {station} {level}K level, {direction} deg at {speed} kt, "
            f"{level_temp} C at the level   \"{message}\""]


def silent_stations(ticks_path):
    """Each nearest station that had no report, with the station whose report was in use
    while it was the nearest, in the order the flight met them."""
    pairs = []
    if not ticks_path:
        return pairs
    with open(ticks_path, encoding="utf-8", errors="replace") as ticks:
        for line in ticks:
            if not line.startswith("{"):
                continue
            main_window = json.loads(line).get("frmMain", {})
            nearest, report = main_window.get("lblTEMPID", ""), main_window.get("txtMETARstr", "").split(" ")
            in_use = report[0] if len(report) > 1 and report[1].endswith("Z") and report[1][:-1].isdigit() else ""
            if nearest and in_use and in_use != nearest and (nearest, in_use) not in pairs:
                pairs.append((nearest, in_use))
    return pairs


def chosen_stations(ticks_path):
    """The nearest station shown when each report text first appeared in "Current METAR"."""
    chosen = {}
    if not ticks_path:
        return chosen
    with open(ticks_path, encoding="utf-8", errors="replace") as ticks:
        for line in ticks:
            if line.startswith("{"):
                main_window = json.loads(line).get("frmMain", {})
                chosen.setdefault(main_window.get("txtMETARstr", "")[:40], main_window.get("lblTEMPID", ""))
    return chosen


def main(path, ticks_path=None):
    chosen = chosen_stations(ticks_path)
    values = {}
    blocks = 0
    with open(path, encoding="utf-8") as log:
        for line in log:
            entry = json.loads(line)
            if "message" in entry:
                message = entry["message"]
                block = winds_aloft_block(values, message) if "FD Winds Aloft" in message else surface_block(values, message)
                station = message[len("Stratocue->"):].split(" ")[0]
                nearest = chosen.get(message[len("Stratocue->"):][:40], station)
                if "FD Winds Aloft" not in message and nearest not in ("", station):
                    block[0] += f"   (nearest station {nearest} has no report: {station} is the nearest that has one)"
                print(f"[{entry['t']:7.1f} s] " + "\n".join(block))
                values = {}
                blocks += 1
            elif entry.get("size") == 2 or entry.get("offset") == "0x04D2":
                values[int(entry["offset"], 16)] = entry["data"]
    print(f"{blocks} weather applications with on-screen messages")
    for nearest, in_use in silent_stations(ticks_path):
        print(f"nearest station {nearest} had no report: the report in use was {in_use}'s")


if __name__ == "__main__":
    main(*sys.argv[1:3])
