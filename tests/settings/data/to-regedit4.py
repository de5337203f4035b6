"""Turns a registry editor export (5.00, UTF-16LE) into the older REGEDIT4 form, as the registry
editor writes it: Windows-1252 text, CRLF, and the texts in hex(2) and hex(7) values as
Windows-1252 bytes instead of UTF-16LE. Used by make-fixtures.sh."""
import re
import sys

MAX_HEX_CHARS = 77


def hex_lines(prefix, data):
    out, line_len = prefix, len(prefix)
    for i, byte in enumerate(data):
        out += "%02x" % byte
        if i == len(data) - 1:
            break
        out += ","
        line_len += 3
        if line_len >= MAX_HEX_CHARS:
            out += "\\\r\n  "
            line_len = 2
    return out


def convert(text):
    text = text.lstrip("\ufeff").replace("\\\r\n  ", "")
    lines = text.split("\r\n")
    assert lines[0] == "Windows Registry Editor Version 5.00"
    lines[0] = "REGEDIT4"
    for n, line in enumerate(lines):
        match = re.match(r'^("(?:[^"\\]|\\.)*"|@)=(hex(?:\([0-9a-f]+\))?:)(.*)$', line)
        if match:
            name, kind, digits = match.groups()
            data = bytes(int(d, 16) for d in digits.split(",")) if digits else b""
            if kind in ("hex(2):", "hex(7):"):
                data = data.decode("utf-16-le").encode("cp1252")
            lines[n] = hex_lines(name + "=" + kind, data)
    return "\r\n".join(lines)


source, target = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-16", newline="") as f:
    text = f.read()
with open(target, "wb") as f:
    f.write(convert(text).encode("cp1252"))
