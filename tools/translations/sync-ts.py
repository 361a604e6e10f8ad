#!/usr/bin/env python3
"""Brings the Qt Linguist tables of translations/ in line with the program's own table
(src/base/UiText.cpp): every id of the table gets a message, keyed by its id, with the
Russian text as the source. A translation already there is kept; one whose Russian source
changed is marked unfinished for the translator to look at, as is the empty translation of
a new id. Ids the table no longer holds are dropped. lrelease leaves unfinished messages
out, so the test of the tables names the ids still to be translated.

Usage: tools/translations/sync-ts.py [CODE...]
  without codes: every translations/mervolante_<code>.ts; a code without a file starts a
  table of that language (for example: tools/translations/sync-ts.py de)
"""
import glob
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
QT_LANGUAGES = {"en": "en_GB", "pl": "pl_PL", "de": "de_DE", "it": "it_IT", "lt": "lt_LT"}


def program_table():
    src = open(os.path.join(ROOT, "src", "base", "UiText.cpp"), encoding="utf-8").read()
    body = src[src.index("kTexts[] = {"):src.index("constexpr bool IsSortedUnique")]
    entries = []
    for m in re.finditer(r'\{(\d+),\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\}', body):
        raw = "".join(re.findall(r'"((?:[^"\\]|\\.)*)"', m.group(2)))
        text, i = "", 0
        while i < len(raw):
            if raw[i] != "\\":
                text += raw[i]
                i += 1
                continue
            n = raw[i + 1]
            if n == "x":
                text += chr(int(raw[i + 2:i + 4], 16))
                i += 4
            else:
                text += {"n": "\n", "r": "\r", '"': '"', "\\": "\\"}[n]
                i += 2
        entries.append((int(m.group(1)), text))
    return entries


def escape(text):
    out = []
    for ch in text:
        if ch in "&<>\"'":
            out.append({"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&apos;"}[ch])
        elif ord(ch) < 0x20 and ch != "\n":
            out.append('<byte value="x%x"/>' % ord(ch))
        else:
            out.append(ch)
    return "".join(out)


MESSAGE = re.compile(r'<message id="(\d+)">\s*<source>(.*?)</source>\s*<translation( type="unfinished")?>(.*?)'
                     r'</translation>\s*</message>', re.S)


def sync(code):
    path = os.path.join(ROOT, "translations", "mervolante_%s.ts" % code)
    known = {}
    if os.path.exists(path):
        for m in MESSAGE.finditer(open(path, encoding="utf-8").read()):
            known[int(m.group(1))] = (m.group(2), bool(m.group(3)), m.group(4))
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
             '<TS version="2.1" language="%s" sourcelanguage="ru_RU">' % QT_LANGUAGES.get(code, code),
             "<context>", "    <name></name>"]
    open_ids = []
    for id_, text in program_table():
        source = escape(text)
        old_source, unfinished, translation = known.get(id_, (None, True, ""))
        unfinished = unfinished or old_source != source
        if unfinished:
            open_ids.append(id_)
        lines += ['    <message id="%d">' % id_, "        <source>%s</source>" % source,
                  "        <translation%s>%s</translation>" % (' type="unfinished"' if unfinished else "", translation),
                  "    </message>"]
    lines += ["</context>", "</TS>", ""]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    print("%s: %s" % (os.path.relpath(path, ROOT), "to translate: %s" % open_ids if open_ids else "complete"))


def main():
    codes = sys.argv[1:] or [re.match(r".*mervolante_(\w+)\.ts$", p).group(1)
                             for p in sorted(glob.glob(os.path.join(ROOT, "translations", "mervolante_*.ts")))]
    for code in codes:
        sync(code)


if __name__ == "__main__":
    main()
