#!/usr/bin/env python3
"""Writes the preview pages expected for each script of the demo library, from
the texts the library was built from (fixtures/demo/tools/scripts_text.py), so
that the program's page composition and wizard are checked against pages
made without them.

A page is the script's three parts, as stored (CR LF line breaks), with the
wizard's values substituted (each definition line replaces the first
occurrence of its key in each part), between the fixed lines of the page,
the lines joined by CR LF with none after the last; the text is ISO-8859-1.
NN.htm has the defaults substituted, NN-changed.htm the values that the
wizard test enters (CHANGED below).

Usage: make_pages.py FIXTURES_DIR   (writes NN.htm and NN-changed.htm beside this script)
"""

import os
import sys

sys.path.insert(0, os.path.join(sys.argv[1], "demo", "tools"))
from scripts_text import SCRIPTS  # noqa: E402
from wizard import parse_line  # noqa: E402


def changed(key):
    """The value the wizard test enters for a key: texts with bytes beyond
    ASCII, odd colour rows picked (red 16 * n, green 0x20, blue 0xA0 + n),
    even ones pasted, numbers 40 + n, file row 1 a file chosen in its dialog
    (its bare name), the other file rows left at their defaults."""
    n = int(key[-2] if key.endswith("#") else key[-1])
    if key.startswith("#Text"):
        return "Text %d: caf\xe9 \x80 & <b>" % n
    if key.startswith("#Color"):
        return "#%02X20%02X" % (16 * n, 0xA0 + n) if n % 2 else "#ABCD0%d" % n
    if key.startswith("#Int_"):
        return str(40 + n)
    if key == "#File1#":
        return "chosen picture.gif"
    return None


def substituted(script, values):
    parts = [script["head"], script["bodytag"], script["body"]]
    for line in script["wizard"]:
        d = parse_line(line)
        if d is None:
            continue
        value = values(d)
        for i, text in enumerate(parts):
            pos = text.find(d["key"])
            if pos >= 0:
                parts[i] = text[:pos] + value + text[pos + len(d["key"]):]
    return parts


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def page(head, bodytag, body):
    lines = ["<html>", "<head>", crlf(head), "</head>", "<body " + crlf(bodytag) + ">", crlf(body),
             "</body>", "</html>"]
    return "\r\n".join(lines).encode("iso-8859-1")


here = os.path.dirname(os.path.abspath(__file__))
for n, s in enumerate(SCRIPTS, 1):
    with open(os.path.join(here, "%02d.htm" % n), "wb") as f:
        f.write(page(*substituted(s, lambda d: d["default"])))
    with open(os.path.join(here, "%02d-changed.htm" % n), "wb") as f:
        f.write(page(*substituted(s, lambda d: changed(d["key"]) or d["default"])))
with open(os.path.join(here, "empty.htm"), "wb") as f:
    f.write(page("", "", ""))
with open(os.path.join(here, "malformed.htm"), "wb") as f:
    f.write(page("", "", '<h1 align="center"><font color="#FF0000"><br><br>'
                         'database disk image is malformed!!!</font></h1>'))
