#!/usr/bin/env python3
"""Writes the preview page expected for each script of the demo library, from
the texts the library was built from (fixtures/demo/tools/scripts_text.py), so
that the program's page composition is checked against pages made without it.

A page is the script's three parts, as stored (CR LF line breaks), between
the fixed lines of the page, the lines joined by CR LF with none after the
last; the text is ISO-8859-1.

Usage: make_pages.py FIXTURES_DIR   (writes NN.htm beside this script)
"""

import os
import sys

sys.path.insert(0, os.path.join(sys.argv[1], "demo", "tools"))
from scripts_text import SCRIPTS  # noqa: E402


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def page(head, bodytag, body):
    lines = ["<html>", "<head>", crlf(head), "</head>", "<body " + crlf(bodytag) + ">", crlf(body),
             "</body>", "</html>"]
    return "\r\n".join(lines).encode("iso-8859-1")


here = os.path.dirname(os.path.abspath(__file__))
for n, s in enumerate(SCRIPTS, 1):
    with open(os.path.join(here, "%02d.htm" % n), "wb") as f:
        f.write(page(s["head"], s["bodytag"], s["body"]))
with open(os.path.join(here, "empty.htm"), "wb") as f:
    f.write(page("", "", ""))
with open(os.path.join(here, "malformed.htm"), "wb") as f:
    f.write(page("", "", '<h1 align="center"><font color="#FF0000"><br><br>'
                         'database disk image is malformed!!!</font></h1>'))
