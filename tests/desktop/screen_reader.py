#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Listens to the desktop's accessibility bus as a screen reader does, for the test that watches
the real game (screen_reader_test.cpp).

Writes one JSON object a line on standard output:
  {"ready": true}                      once its listeners are in place;
  {"event": TYPE, "name": ..., "role": ..., "app": ..., "t": MS}
                                       for each event of the kinds a screen reader speaks, with the
                                       moment it arrived on the monotonic clock in milliseconds;
  {"tree": [[DEPTH, ROLE, NAME, [STATES]], ...], "app": NAME}
                                       the accessible tree of the application NAME, for each
                                       "tree NAME" line read on standard input.
"""

import json
import sys
import time

import pyatspi
from gi.repository import GLib

EVENTS = (
    "focus:",
    "object:state-changed:focused",
    "object:property-change:accessible-name",
)


def say(obj):
    sys.stdout.write(json.dumps(obj, ensure_ascii=False) + "\n")
    sys.stdout.flush()


def safe(getter, default=""):
    try:
        return getter()
    except Exception:  # an object gone meanwhile
        return default


def on_event(event):
    arrived = time.monotonic() * 1000.0
    source = event.source
    say({
        "event": event.type,
        "detail": event.detail1,
        "name": safe(lambda: source.name),
        "role": safe(lambda: source.getRoleName()),
        "app": safe(lambda: source.getApplication().name),
        "t": arrived,
    })


def walk(accessible, depth, rows):
    states = safe(lambda: [pyatspi.stateToString(s) for s in accessible.getState().getStates()], [])
    rows.append([depth, safe(lambda: accessible.getRoleName()), safe(lambda: accessible.name), states])
    for i in range(safe(lambda: accessible.childCount, 0)):
        child = safe(lambda: accessible.getChildAtIndex(i), None)
        if child is not None:
            walk(child, depth + 1, rows)


def tree(app_name):
    rows = []
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = safe(lambda: desktop.getChildAtIndex(i), None)
        if app is not None and safe(lambda: app.name) == app_name:
            walk(app, 0, rows)
    say({"tree": rows, "app": app_name})


def on_input(source, condition):
    line = sys.stdin.readline()
    if not line:
        pyatspi.Registry.stop()
        return False
    words = line.split()
    if len(words) == 2 and words[0] == "tree":
        tree(words[1])
    return True


def main():
    pyatspi.Registry.registerEventListener(on_event, *EVENTS)
    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, on_input)
    say({"ready": True})
    pyatspi.Registry.start()


if __name__ == "__main__":
    main()
