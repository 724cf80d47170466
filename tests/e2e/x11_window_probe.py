#!/usr/bin/env python3
"""Measures from a second process how quickly the windowed program's event loop answers, on
the X display in DISPLAY: finds the top-level window whose title starts with
"Stratocue 2002" and, every 100 ms, pings it with the window manager's _NET_WM_PING (which
the toolkit answers from its event loop), printing one line per probe:

    SECONDS_SINCE_EPOCH ROUND_TRIP_MS CAPTION

(the time the probe was sent; "timeout" after the round trip when no answer came within
10 s). It ends when the window is gone or after --seconds N.

    x11_window_probe.py [--seconds N]

Needs python3-xlib (Debian's package).
"""
import argparse
import sys
import time

from Xlib import X, Xatom, display, error
from Xlib.protocol import event

TITLE_PREFIX = "Stratocue 2002"
PROBE_INTERVAL = 0.1
ANSWER_TIMEOUT = 10.0


def caption_of(screen, window):
    name = window.get_full_property(screen.intern_atom("_NET_WM_NAME"), screen.intern_atom("UTF8_STRING"))
    if name is None:
        name = window.get_full_property(Xatom.WM_NAME, X.AnyPropertyType)
    if name is None:
        return ""
    value = name.value
    return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)


def find_main_window(screen):
    """The top-level window titled "Stratocue 2002...", also below a window manager's frame."""
    pending = list(screen.screen().root.query_tree().children)
    while pending:
        window = pending.pop()
        try:
            if caption_of(screen, window).startswith(TITLE_PREFIX):
                return window
            pending.extend(window.query_tree().children)
        except error.BadWindow:
            continue  # gone meanwhile
    return None


def ping(screen, window, serial):
    """Sends one _NET_WM_PING and waits for its answer; the round trip in ms, or None."""
    protocols = screen.intern_atom("WM_PROTOCOLS")
    ping_atom = screen.intern_atom("_NET_WM_PING")
    message = event.ClientMessage(window=window, client_type=protocols,
                                  data=(32, [ping_atom, serial, window.id, 0, 0]))
    start = time.monotonic()
    window.send_event(message, event_mask=X.NoEventMask)
    screen.flush()
    while time.monotonic() - start < ANSWER_TIMEOUT:
        while screen.pending_events():
            answer = screen.next_event()
            if (answer.type == X.ClientMessage and answer.client_type == protocols
                    and answer.data[1][1] == serial and answer.data[1][2] == window.id):
                return (time.monotonic() - start) * 1000
        time.sleep(0.001)
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float)
    options = parser.parse_args()
    deadline = None if options.seconds is None else time.monotonic() + options.seconds
    time_left = lambda: deadline is None or time.monotonic() < deadline

    screen = display.Display()
    # The answer goes to the root window, to whoever listens there for its changes or its
    # children's (the toolkit we use names the former, window managers the latter).
    screen.screen().root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
    window = None
    while window is None and time_left():
        window = find_main_window(screen)
        if window is None:
            time.sleep(PROBE_INTERVAL)
    if window is None:
        print(f'x11_window_probe: no window titled "{TITLE_PREFIX}..."', file=sys.stderr)
        return 1

    serial = 0
    next_probe = time.monotonic()
    while time_left():
        serial += 1
        sent_at = time.time()
        try:
            round_trip = ping(screen, window, serial)
            caption = caption_of(screen, window)
        except error.BadWindow:
            return 0  # the window is gone: the program has closed it
        answered = f"{round_trip:.1f} " if round_trip is not None else f"{ANSWER_TIMEOUT * 1000:.1f} timeout "
        print(f"{sent_at:.3f} {answered}{caption}", flush=True)
        next_probe = max(next_probe + PROBE_INTERVAL, time.monotonic())
        time.sleep(max(0.0, next_probe - time.monotonic()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
