#!/usr/bin/env python3
"""The long run behind scripts/soak: python3 scripts/soak_run.py BUILD_DIR SOURCE_DIR TICKS

Starts standin-wx (the demo's weather) and standin-sim (a flight up and down the bay) in a
private folder, runs the headless program with a 1 ms tick until it has shown TICKS ticks,
swaps the weather server's reports at a third and at two thirds of the run, ends the
program with SIGTERM and reports memory, descriptors and ticks.
"""
import json
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WARM_UP_SHARE = 0.1        # the first tenth of the ticks warms up: every download and write has run
RSS_GROWTH_LIMIT_KB = 1024
SAMPLE_SECONDS = 1.0
TICK_NUMBER = re.compile(rb'"tick":(\d+)')

# Up and down the bay: San Francisco to Monterey and back, climbing to 3400 m on the way
# south and to 2400 m on the way north; one round takes 240 s, repeated for an hour.
ROUND = [(0, 37.6167, -122.3667, 2), (20, 37.5200, -122.2500, 900), (40, 37.4400, -122.1200, 1900),
         (60, 37.3667, -121.9500, 2900), (80, 37.2500, -121.8800, 3400), (100, 37.0000, -121.8000, 3400),
         (115, 36.8000, -121.8000, 2200), (130, 36.6500, -121.8300, 700), (140, 36.5833, -121.8500, 51),
         (150, 36.5833, -121.8500, 51), (175, 36.9000, -121.8500, 2400), (200, 37.3667, -121.9500, 2400),
         (225, 37.7200, -122.2200, 300), (235, 37.6167, -122.3667, 2)]
ROUNDS = 15


def flight_text():
    lines = ["# up and down the bay, again and again"]
    for round_number in range(ROUNDS):
        start = round_number * 240
        for seconds, latitude, longitude, altitude in ROUND:
            lines.append(f"{start + seconds} {latitude} {longitude} {altitude}")
    return "\n".join(lines) + "\n"


def changed_reports(text, turn):
    """The same stations with other winds and temperatures: wind turned by `turn` degrees."""
    def wind(match):
        direction = (int(match.group(1)) + turn) % 360 or 360
        return f"{direction:03d}{int(match.group(2)) + 5:02d}{match.group(3) or ''}KT"

    def temperature(match):
        return f" {int(match.group(1)) + 3:02d}/{match.group(2)} "

    text = re.sub(r"\b(\d{3})(\d{2})(G\d{2})?KT\b", wind, text)
    return re.sub(r" (\d{2})/(M?\d{2}) ", temperature, text)


def listening_address(process, what):
    line = process.stdout.readline().decode(errors="replace")
    if "listening on" not in line:
        raise SystemExit(f"soak: {what} did not start: {line!r}")
    return line.split("listening on ", 1)[1].strip()


def resources(pid):
    """Resident memory in kB, then the open descriptors: sockets and all the others."""
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        rss = next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))
    sockets = others = 0
    for name in os.listdir(f"/proc/{pid}/fd"):
        try:
            target = os.readlink(f"/proc/{pid}/fd/{name}")
        except FileNotFoundError:
            continue  # closed while we looked
        if target.startswith("socket:"):
            sockets += 1
        else:
            others += 1
    return rss, sockets, others


class Soak:
    def __init__(self, build, root, ticks, work):
        self.build = pathlib.Path(build).resolve()
        self.root = pathlib.Path(root)
        self.ticks = ticks
        self.work = work
        self.link = work / "link"
        self.link.mkdir()
        self.processes = []
        self.weather_port = 0
        self.weather = None

    def prepare(self):
        demo = self.root / "data" / "demo" / "weather"
        reports = (demo / "metars.txt").read_text(encoding="latin-1")
        for name, text in (("weather-a", reports), ("weather-b", changed_reports(reports, 90)),
                           ("weather-c", changed_reports(reports, 200))):
            shutil.copytree(demo / "fd", self.work / name / "fd")
            (self.work / name / "metars.txt").write_text(text, encoding="latin-1")
        shutil.copy(self.root / "data" / "icao.txt", self.work)
        shutil.copy(self.root / "data" / "fdwinds.txt", self.work)
        (self.work / "flight.txt").write_text(flight_text(), encoding="ascii")

    def start(self, arguments, **options):
        process = subprocess.Popen(arguments, **options)
        self.processes.append(process)
        return process

    def start_weather(self, data):
        if self.weather:
            self.weather.send_signal(signal.SIGTERM)
            self.weather.wait(timeout=60)
        self.weather = self.start([self.build / "bin" / "standin-wx", "--data", self.work / data,
                                   "--port", str(self.weather_port)], stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        address = listening_address(self.weather, "standin-wx")
        self.weather_port = int(address.rsplit(":", 1)[1])
        subprocess.run([self.root / "scripts" / "lib" / "write-servers-txt", self.work / "servers.txt", address,
                        "classic"], check=True)

    def run(self):
        self.prepare()
        self.start_weather("weather-a")
        simulator = self.start([self.build / "bin" / "standin-sim", "--socket-dir", self.link, "--flight",
                                self.work / "flight.txt", "--clock", "12:00:00"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
        listening_address(simulator, "standin-sim")

        environment = dict(os.environ, STRATOCUE_LINK_DIR=str(self.link))
        started = time.monotonic()
        program = self.start([self.build / "bin" / "stratocue", "--headless", "--tick-ms", "1"], cwd=self.work,
                             env=environment, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, bufsize=0)
        swaps = {self.ticks // 3: "weather-b", 2 * self.ticks // 3: "weather-c"}
        samples = []  # (seconds, tick, rss kB, sockets, other descriptors)
        gaps = []
        last_tick = 0
        last_line = b""
        next_sample = 0.0
        for line in program.stdout:
            found = TICK_NUMBER.search(line)
            if not found:
                continue
            tick = int(found.group(1))
            if tick != last_tick + 1:
                gaps.append((last_tick, tick))
            last_tick = tick
            last_line = line
            now = time.monotonic() - started
            if now >= next_sample:
                samples.append((now, tick, *resources(program.pid)))
                next_sample = now + SAMPLE_SECONDS
            if tick in swaps:
                self.start_weather(swaps.pop(tick))
            if tick >= self.ticks:
                samples.append((now, tick, *resources(program.pid)))
                program.send_signal(signal.SIGTERM)
                break
        for _ in program.stdout:
            pass  # the lines of the ticks that end the run
        status = program.wait(timeout=120)
        elapsed = time.monotonic() - started
        return self.report(samples, gaps, last_tick, status, elapsed, json.loads(last_line or b"{}"))

    def report(self, samples, gaps, last_tick, status, elapsed, last):
        warm = [s for s in samples if s[1] >= self.ticks * WARM_UP_SHARE]
        checks = []
        if not warm:
            checks.append((False, "no samples after warm-up"))
        else:
            base_rss, base_fds = warm[0][2], warm[0][4]
            peak_rss = max(s[2] for s in warm)
            end_rss = warm[-1][2]
            sockets = [s[3] for s in warm]
            others = [s[4] for s in warm]
            print(f"soak: {last_tick} ticks in {elapsed:.0f} s ({last_tick / elapsed:.0f} ticks/s), "
                  f"{len(samples)} samples")
            print(f"soak: resident memory: {samples[0][2]} kB at tick {samples[0][1]}, {base_rss} kB after warm-up "
                  f"(tick {warm[0][1]}), peak {peak_rss} kB, {end_rss} kB at the end: growth after warm-up "
                  f"{peak_rss - base_rss} kB (peak), {end_rss - base_rss} kB (end)")
            print(f"soak: open descriptors after warm-up: {base_fds} files, pipes and the like at first, "
                  f"{min(others)}..{max(others)} throughout, {others[-1]} at the end; sockets "
                  f"{min(sockets)}..{max(sockets)}")
            checks.append((peak_rss - base_rss < RSS_GROWTH_LIMIT_KB,
                           f"memory after warm-up grows by less than {RSS_GROWTH_LIMIT_KB} kB"))
            # Sockets come and go: a link exchange holds one for its moment, and the transfer
            # keeps one connection to the weather server between downloads while it lasts.
            checks.append((min(others) == max(others) == base_fds and max(sockets) - min(sockets) <= 2,
                           "open descriptors stay constant (at most a passing link socket and a kept connection)"))
        checks.append((not gaps and last_tick >= self.ticks, f"every tick completed, numbered without a gap {gaps[:3]}"))
        checks.append((status == 0, f"SIGTERM ended the program with status {status}"))
        status_window = last.get("frmStatus", {})
        print(f"soak: last tick {last.get('tick')}: station {last.get('frmMain', {}).get('lblTEMPID')}, "
              f"altitude {status_window.get('lblAltitude')}, METAR {last.get('frmMain', {}).get('txtMETARstr')!r}, "
              f"winds aloft {last.get('frmMain', {}).get('txtTESTFD')!r}")
        for ok, what in checks:
            print(("soak: ok:     " if ok else "soak: FAILED: ") + what)
        failed = sum(1 for ok, _ in checks if not ok)
        print(f"soak: {len(checks) - failed} passed, {failed} failed")
        return 1 if failed else 0

    def stop_all(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=60)
                except subprocess.TimeoutExpired:
                    process.kill()


def main():
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    work = pathlib.Path(tempfile.mkdtemp(prefix="stratocue-soak."))
    soak = Soak(sys.argv[1], sys.argv[2], int(sys.argv[3]), work)
    try:
        return soak.run()
    finally:
        soak.stop_all()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
