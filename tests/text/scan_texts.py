#!/usr/bin/env python3
"""Fails when a string literal outside the text table is a run-time text:
every one is a row of src/text/text_table.inc, so the Chinese build can show
it in Chinese.

Two checks: a literal outside src/text that looks like display text (a
non-ASCII character, two words with a blank between them, or a word followed
by '!'), and a literal anywhere in src/ that repeats an English text of the
table. Comments and static_assert messages are not looked at.
Usage: scan_texts.py SRC_DIR
"""
import pathlib
import re
import sys

# Literals that look like display text but are not run-time texts of the
# table, each with its reason. Keep it short.
ALLOWED = {
    # First line of an appended log file: file content, the same in both
    # builds, that readers of the log files look for.
    "Quorix Log File!",
}

# Layout captions that read like a row of the table and stay the layout's.
SAME_AS_A_ROW = {
    "&Download",  # the "&Command" menu's item, beside the toolbar's caption
}

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
LOOKS_SHOWN = re.compile(r'[^\x00-\x7f]|[A-Za-z]{2,} +[A-Za-z]|[A-Za-z]{2,}!')


def strip_comments(code):
    # Removes // and /* */ comments, keeping string literals (and line count).
    out, i, n = [], 0, len(code)
    while i < n:
        c = code[i]
        if c == '"' or c == "'":
            j = i + 1
            while j < n and code[j] != c:
                j += 2 if code[j] == "\\" else 1
            out.append(code[i:j + 1])
            i = j + 1
        elif code.startswith("//", i):
            j = code.find("\n", i)
            i = n if j < 0 else j
        elif code.startswith("/*", i):
            j = code.find("*/", i + 2)
            out.append("\n" * code.count("\n", i, j))
            i = n if j < 0 else j + 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def table_keys(src):
    table = (src / "text" / "text_table.inc").read_text(encoding="utf-8")
    return {m.group(1) for m in re.finditer(r'^TEXT\(\w+, "((?:[^"\\]|\\.)*)", ', table, re.M)}


def findings(src):
    keys = table_keys(src)
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        in_text = (src / "text") in path.parents
        code = strip_comments(path.read_text(encoding="utf-8"))
        for number, line in enumerate(code.split("\n"), 1):
            if line.lstrip().startswith(("#include", "static_assert")):
                continue
            for literal in LITERAL.findall(line):
                where = f"{path.relative_to(src.parent)}:{number}: \"{literal}\""
                if literal in keys and literal not in SAME_AS_A_ROW:
                    yield where + " repeats a row of the table"
                elif not in_text and LOOKS_SHOWN.search(literal) and literal not in ALLOWED:
                    yield where


def main():
    found = list(findings(pathlib.Path(sys.argv[1]).resolve()))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} literal(s) outside src/text look like run-time texts: "
              "make them rows of src/text/text_table.inc (or allow them here with the reason)")
        return 1
    print("no run-time text outside the text table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
