#!/usr/bin/env python3
"""Turns the help text (UTF-8, a small line markup) into the RTF help document, in a Windows
code page (1251 unless told otherwise) with \\'hh escapes as a Windows editor saves it.

Markup, one paragraph per line:
  = text      title                    == text     section heading
  ### NAME    parameter heading        #### NAME   heading of a dependent parameter
  @ text      second heading line      - text      list item
  **text**    bold inside a paragraph  blank line  nothing

Usage: tools/help/make-help-rtf.py [SOURCE] [TARGET] [CODEPAGE]
(defaults: tools/help/mervolante.txt and docs/mervolante.rtf beside this script's project;
1251 for Russian, 1252 for English, 1250 for Polish:
  tools/help/make-help-rtf.py tools/help/mervolante_en.txt docs/mervolante_en.rtf 1252
  tools/help/make-help-rtf.py tools/help/mervolante_pl.txt docs/mervolante_pl.rtf 1250)
"""
import os
import re
import sys

# Per code page: the document's language and the fonts' character set.
CODE_PAGES = {1251: (1049, 204), 1252: (1033, 0), 1250: (1045, 238)}
CODE_PAGE = 1251


def header(code_page):
    language, charset = CODE_PAGES[code_page]
    return (
        "{\\rtf1\\ansi\\ansicpg%d\\deff0\\deflang%d" % (code_page, language) +
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset%d Times New Roman;}{\\f1\\fswiss\\fprq2\\fcharset%d Arial;}}\r\n"
        % (charset, charset) + HEADER_REST)


HEADER_REST = (
    "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green51\\blue153;\\red153\\green0\\blue0;"
    "\\red110\\green110\\blue110;}\r\n"
    "{\\*\\generator mervolante help 1.0;}\\viewkind4\\uc1\r\n"
)


def escape(text):
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 0x80:
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp%d" % CODE_PAGE)[0])
            except UnicodeEncodeError:
                code = ord(ch)
                out.append("\\u%d?" % (code - 0x10000 if code >= 0x8000 else code))
    return "".join(out)


def inline(text):
    parts = re.split(r"\*\*(.+?)\*\*", text)
    out = []
    for i, part in enumerate(parts):
        out.append("{\\b %s}" % escape(part) if i % 2 else escape(part))
    return "".join(out)


def convert(lines):
    body = []
    indent = 0
    for raw in lines:
        line = raw.rstrip("\n").rstrip()
        if not line:
            continue
        if line.startswith("== "):
            indent = 0
            body.append("\\pard\\sb240\\sa60\\f1{\\b\\fs30\\cf2 %s}\\f0\\par" % escape(line[3:]))
        elif line.startswith("= "):
            indent = 0
            body.append("\\pard\\qc\\sa120\\f1{\\b\\fs40\\cf2 %s}\\f0\\par" % escape(line[2:]))
        elif line.startswith("#### "):
            indent = 360
            body.append("\\pard\\li360\\sb120{\\b\\fs22\\cf3 %s}\\par" % escape(line[5:]))
        elif line.startswith("### "):
            indent = 0
            body.append("\\pard\\sb200\\sa40{\\b\\fs24\\cf3 %s}\\par" % escape(line[4:]))
        elif line.startswith("@ "):
            body.append("\\pard\\li%d{\\b\\i\\fs18\\cf4 %s}\\par" % (indent, escape(line[2:])))
        elif line.startswith("- "):
            body.append("\\pard\\li%d\\fi-240\\bullet\\tab %s\\par" % (indent + 360, inline(line[2:])))
        else:
            body.append("\\pard\\li%d\\sa60 %s\\par" % (indent, inline(line)))
    return header(CODE_PAGE) + "\r\n".join(body) + "\r\n}\r\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "tools", "help", "mervolante.txt")
    target = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "docs", "mervolante.rtf")
    global CODE_PAGE
    CODE_PAGE = int(sys.argv[3]) if len(sys.argv) > 3 else 1251
    with open(source, encoding="utf-8") as f:
        rtf = convert(f)
    with open(target, "wb") as f:
        f.write(rtf.encode("ascii"))


if __name__ == "__main__":
    main()
