#!/usr/bin/env python3
"""Makes the fuzz targets' seeds in fuzz/seeds/<target>/ from a weather corpus folder.

    fuzz/make_seeds.py CORPUS_DIR

CORPUS_DIR holds metars.txt and metars-odd.txt (one report a line), fd/ (bulletins as
text, also the data service's winds-aloft answers), fdpages/<set>/<region>_fd1.shtml (the seven pages of one winds-aloft run), icao.txt
and fdwinds.txt. The station files shipped in data/ and hand-made blocks, frames and
servers.txt files complete the seeds. The seeds are kept in the repository; run this only
to make them again.
"""
import json
import pathlib
import shutil
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SEEDS = ROOT / "fuzz" / "seeds"
FD_REGIONS = ["sfo", "slc", "chicago", "ftworth", "boston", "miami", "alaska"]


def write(target, name, data):
    folder = SEEDS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode("latin-1"))


def every_nth(lines, count):
    step = max(1, len(lines) // count)
    return lines[::step][:count]


def vatsim_page(report):
    return (b"<!DOCTYPE html>\r\n<html>\r\n<head><title>Current weather</title></head>\r\n<body>\r\n"
            b"<table class=\"metar\">\r\n<tr><td>" + report + b"\r\n</td></tr>\r\n</table>\r\n</body>\r\n</html>\r\n")


def service_page(report):
    return (b"<HTML>\r\n<HEAD><TITLE>Current weather observation</TITLE></HEAD>\r\n<BODY>\r\n"
            b"<FONT FACE=\"Arial\"><B>The observation is:</B>\r\n<BR><BR>\r\n<PRE><TT>\r\n" + report +
            b"\r\n</TT></PRE>\r\n</FONT>\r\n</BODY>\r\n</HTML>\r\n")


def metar_seeds(corpus):
    plain = (corpus / "metars.txt").read_bytes().splitlines()
    odd = (corpus / "metars-odd.txt").read_bytes().splitlines()
    unusual = [line for line in odd if any(byte > 127 for byte in line) or len(line) > 180]
    reports = every_nth(plain, 150) + every_nth(odd, 80) + unusual[:30]
    for number, report in enumerate(reports):
        write("metar_decoder", f"report-{number:03d}", report)
    for number, report in enumerate(every_nth(reports, 40)):
        station = report.split(b" ")[0][:4]
        write("metar_page_vatsim", f"page-{number:02d}", station + b"\n" + vatsim_page(report))
        write("metar_page_nws", f"page-{number:02d}", station + b"\n" + service_page(report))
    for number in range(20):
        lines = reports[number * 7:number * 7 + 3]
        station = lines[1].split(b" ")[0][:4]
        prefix = b"METAR " if number % 4 == 0 else b""
        write("metar_service", f"answer-{number:02d}", station + b"\n" + b"\r\n".join(prefix + line for line in lines))
    write("metar_service", "empty-answer", b"KSFO\n")
    write("metar_service", "other-station", b"KSFO\nKOAK 061753Z 30008KT 8SM -RA BKN030 OVC050 14/11 A2996\n")
    write("metar_page_vatsim", "not-found", b"KXYZ\n<html><body><p>No METAR found for KXYZ</p></body></html>\r\n")
    write("metar_page_nws", "not-found", b"KXYZ\n<HTML><BODY><P>Sorry, station KXYZ was not found.</P></BODY></HTML>")
    write("metar_page_vatsim", "no-tag", b"KSFO\n" + b"x" * 60 + b">KSFO 121756Z 28012KT 10SM FEW010 15/09 A3001")


def fd_seeds(corpus):
    for run in sorted((corpus / "fdpages").iterdir()):
        pages = [(run / f"{region}_fd1.shtml").read_bytes() for region in FD_REGIONS]
        write("fd_bulletin", f"run-{run.name}", b"15\n" + b"\f".join(pages))
        write("fd_bulletin", f"run-{run.name}-cold", b"M05\n" + b"\f".join(pages[:3]))
    for bulletin in sorted((corpus / "fd").iterdir()):
        if bulletin.stem.startswith(("lilymara", "otgapps", "faa-portal-FBAK31-06")):
            continue  # the same bulletins again
        text = bulletin.read_bytes()
        page = text if bulletin.suffix == ".html" else b"<html><body>\n<PRE>\n" + text + b"</PRE>\n</body></html>\n"
        write("fd_bulletin", bulletin.stem, b"7\n" + page)


def windtemp_seeds(corpus):
    bulletins = {path.stem: path.read_bytes() for path in sorted((corpus / "fd").iterdir()) if path.suffix == ".txt"}
    for name in ("pyiem-FD1US1", "pyiem-FD1US1_controlchar", "pyiem-FD3CN3", "faa-portal-FBAK31-031352",
                 "faa-portal-FBHW31-031352", "faa-portal-FBOC31-031537", "pyiem-FD0HW9"):
        write("fd_windtemp", name, b"15\n" + bulletins[name])
    write("fd_windtemp", "two-regions", b"M02\n" + bulletins["faa-portal-FBAK31-031352"] + b"\f" +
          bulletins["faa-portal-FBHW31-031352"])


def gfs_seeds():
    """Answers of the forecast model service: the hour on the first line, then the JSON."""
    levels = [900, 800, 725, 650, 500, 400, 300, 250, 200]
    times = ["2026-12-08T11:00", "2026-12-08T12:00"]
    units = {"time": "iso8601"}
    hourly = {"time": times}
    for n, hpa in enumerate(levels):
        units[f"wind_speed_{hpa}hPa"], units[f"wind_direction_{hpa}hPa"], units[f"temperature_{hpa}hPa"] = "kn", "°", "°C"
        hourly[f"wind_speed_{hpa}hPa"] = [4.5 + 20 * n, 210.0 + n]
        hourly[f"wind_direction_{hpa}hPa"] = [355.0, 5.0 * n]
        hourly[f"temperature_{hpa}hPa"] = [6.5 - 8 * n, 1.5 - 9 * n]
    answer = {"latitude": 52.375, "longitude": 4.875, "generationtime_ms": 0.2, "utc_offset_seconds": 0,
              "timezone": "GMT", "timezone_abbreviation": "GMT", "elevation": 0.0,
              "hourly_units": units, "hourly": hourly}
    for hour in times:
        write("gfs_answer", f"hour-{hour[-5:-3]}", (hour + "\n" + json.dumps(answer)).encode())
    write("gfs_answer", "error", b'2026-12-08T12:00\n{"error":true,"reason":"Latitude must be in range of -90 to 90\xc2\xb0."}')
    hourly["wind_speed_300hPa"][1] = None
    write("gfs_answer", "null-value", ("2026-12-08T12:00\n" + json.dumps(answer)).encode())


def station_seeds(corpus):
    shipped_metar = (ROOT / "data" / "icao.txt").read_bytes()
    shipped_fd = (ROOT / "data" / "fdwinds.txt").read_bytes()
    metar_lines = shipped_metar.split(b"\r\n")
    fd_lines = shipped_fd.split(b"\r\n")
    for number, line in enumerate(every_nth(metar_lines, 80) + every_nth(fd_lines, 30)):
        write("station_line", f"line-{number:03d}", line)
    for number, line in enumerate([b"SOUTH,S,33,56,E,151,10,6", b"KTRM,N,33,38,W,116,10,-34", b"X,N,1,2,W,3,4,5"]):
        write("station_line", f"edge-{number}", line)
    write("station_file", "shipped-head", b"\r\n".join(metar_lines[:120]) + b"\f" + b"\r\n".join(fd_lines[:60]))
    write("station_file", "comments-and-blanks",
          b"// METAR stations\r\n\r\n" + b"\r\n".join(metar_lines[:20]) + b"\r\n\r\n\f// FD\r" + b"\r".join(fd_lines[:20]))
    corpus_metar = (corpus / "icao.txt").read_bytes().splitlines()
    corpus_fd = (corpus / "fdwinds.txt").read_bytes().splitlines()
    write("station_file", "line-feeds-only", b"\n".join(corpus_metar[:40]) + b"\f" + b"\n".join(corpus_fd[:40]))


def server_seeds():
    write("server_addresses", "all-three",
          "metar_vatsim=http://127.0.0.1:8080\nmetar_nws=http://127.0.0.1:8080\nfdwinds=http://127.0.0.1:8080\n")
    write("server_addresses", "comments-and-blanks",
          "# local servers\r\n\r\n  metar_nws = http://localhost:9000/ \r\nunknown=x\nno equals here\nfdwinds=\n")
    write("server_addresses", "slashes", "fdwinds=http://127.0.0.1:1///\nmetar_vatsim=////\n")


def block(records):
    """A request block as a client lays it out: (type, offset, data) records, then the end.
    Type 1 is the link's read, 4 the read of clients with 64-bit addresses, 2 a write."""
    out = b""
    token = 0
    for kind, offset, data in records:
        if kind == 1:
            token += 1
            out += struct.pack("<iiiI", 1, offset, len(data), token) + data
        elif kind == 4:
            token += 1
            out += struct.pack("<iiiQ", 4, offset, len(data), 0x00007FF600000000 + token) + data
        else:
            out += struct.pack("<iii", 2, offset, len(data)) + data
    return out + struct.pack("<i", 0)


def link_seeds():
    tick = [(1, 0x0564, b"\0" * 4), (1, 0x056C, b"\0" * 4), (1, 0x0E9E, b"\0" * 2), (1, 0x0238, b"\0" * 3)]
    write("request_block", "tick-reads", block(tick))
    write("request_block", "reads-and-writes", block(tick + [(2, 0x0F42, b"\x10\x27"), (2, 0x3380, b"Hello\0")]))
    write("request_block", "version-check", block([(1, 0x3304, b"\0" * 4), (1, 0x3308, b"\0" * 4)]))
    write("request_block", "no-end", block(tick)[:-4])
    write("request_block", "past-the-offsets", block([(1, 0xFFFE, b"\0" * 4)]))
    write("request_block", "version-check-64bit",
          block([(4, 0x3304, b"\0" * 4), (4, 0x3308, b"\0" * 4), (2, 0x330A, b"\0\0")]))
    write("request_block", "reads-64bit-and-32bit", block([(4, 0x0564, b"\0" * 4), (1, 0x056C, b"\0" * 4),
                                                          (2, 0x0F42, b"\x10\x27"), (4, 0x0F42, b"\0" * 2)]))

    # Reply scan: record count, (kind and offset, size) per record, then 6-byte patches.
    write("reply_scan", "one-read", bytes([0, 0, 4]))
    write("reply_scan", "tick-like", bytes([13] + [0, 4, 3, 4, 6, 2, 9, 2, 12, 2, 15, 3] * 2 + [0, 4, 3, 4]))
    write("reply_scan", "read-write-read", bytes([2, 18, 4, 23, 2, 21, 4]))
    write("reply_scan", "discard-and-empty", bytes([3, 1, 4, 0, 0, 2, 0, 0, 8]))
    write("reply_scan", "patched-size", bytes([0, 0, 4]) + struct.pack("<Hi", 8, 6))
    write("reply_scan", "patched-token", bytes([1, 0, 4, 3, 4]) + struct.pack("<Hi", 12, 2))
    write("reply_scan", "patched-end", bytes([0, 0, 4]) + struct.pack("<Hi", 20, 1))

    name = b"FSASMLIB:IPC:1A2B:1"
    frame = struct.pack("<IIQqI", 0x4B4C5153, 0xC000, 0xC000, 0, len(name)) + name
    write("sim_frame", "open", frame)
    write("sim_frame", "short-name", frame[:-3])
    write("sim_frame", "no-name", struct.pack("<IIQqI", 0x4B4C5153, 0xC001, 1, -1, 0))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    corpus = pathlib.Path(sys.argv[1])
    if SEEDS.exists():
        shutil.rmtree(SEEDS)
    metar_seeds(corpus)
    fd_seeds(corpus)
    windtemp_seeds(corpus)
    station_seeds(corpus)
    server_seeds()
    link_seeds()
    gfs_seeds()
    for folder in sorted(SEEDS.iterdir()):
        files = list(folder.iterdir())
        print(f"{folder.name}: {len(files)} seeds, {sum(f.stat().st_size for f in files)} bytes")


if __name__ == "__main__":
    main()
