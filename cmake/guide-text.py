#!/usr/bin/env python3
"""Writes the player's guide (docs/guide.md) as the release's README.txt:
plain text wrapped for a window of 80 columns, with CRLF line ends, so that
Notepad shows it as it should on every Windows version.

    guide-text.py GUIDE.md README.txt

It knows the Markdown the guide uses and no more: headings, paragraphs,
lists, tables, indented or fenced code, `code`, **bold**, [links](...) and
pictures on lines of their own, which a text file cannot show and which are
left out. Anything else is kept as it is written.
"""
import re
import sys
import textwrap

WIDTH = 78


def inline(text):
    """The text of a line without its Markdown marks; code spans as written."""
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) >= 2:
            out.append(part[1:-1])
            continue
        part = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", link, part)
        part = re.sub(r"\*\*(.+?)\*\*", r"\1", part)
        part = re.sub(r"\\([\\`*_{}\[\]()#+\-.!|<>])", r"\1", part)
        out.append(part)
    return "".join(out)


def link(match):
    label, target = match.group(1), match.group(2)
    # Links inside the guide and to the project's files mean nothing in the zip.
    if target.startswith(("http://", "https://")):
        return f"{label} ({target})"
    return label


def wrap(text, first, rest):
    return textwrap.wrap(inline(text), WIDTH, initial_indent=first, subsequent_indent=rest,
                         break_long_words=False, break_on_hyphens=False) or [first.rstrip()]


def table(rows):
    """Each row as an item: its first cell, then the others under their headings."""
    cells = [[c.strip() for c in row.strip().strip("|").split("|")] for row in rows]
    header, body = cells[0], cells[2:]
    out = []
    for row in body:
        out.extend(wrap(row[0], "  * ", "    "))
        for name, cell in zip(header[1:], row[1:]):
            if cell:
                out.extend(wrap(f"{name}: {cell}", "      ", "        "))
        out.append("")
    return out[:-1]


def convert(markdown):
    lines = markdown.split("\n")
    out = []
    i = 0

    def blank():
        if out and out[-1] != "":
            out.append("")

    while i < len(lines):
        line = lines[i]
        stripped = line.strip()
        if not stripped:
            i += 1
            continue
        heading = re.match(r"(#{1,3}) (.*)", line)
        if heading:
            blank()
            title = inline(heading.group(2))
            out.append(title)
            if len(heading.group(1)) < 3:
                out.append(("=" if len(heading.group(1)) == 1 else "-") * len(title))
            out.append("")
            i += 1
        elif re.fullmatch(r"!\[[^\]]*\]\([^)]*\)", stripped):
            i += 1
        elif stripped.startswith("```"):
            blank()
            i += 1
            while i < len(lines) and not lines[i].strip().startswith("```"):
                out.append("    " + lines[i])
                i += 1
            i += 1
            out.append("")
        elif line.startswith("    "):
            blank()
            while i < len(lines) and (lines[i].startswith("    ") or not lines[i].strip()):
                out.append(lines[i].rstrip())
                i += 1
            while out and out[-1] == "":
                out.pop()
            out.append("")
        elif stripped.startswith("|"):
            blank()
            rows = []
            while i < len(lines) and lines[i].strip().startswith("|"):
                rows.append(lines[i])
                i += 1
            out.extend(table(rows))
            out.append("")
        else:
            item = re.match(r"( *)([-*]|\d+\.) (.*)", line)
            if item:
                indent = " " * (len(item.group(1)) + 2)
                marker = "* " if item.group(2) in "-*" else item.group(2) + " "
                text = [item.group(3)]
                i += 1
                # An item runs on over the lines indented under it.
                while i < len(lines) and lines[i].startswith(" ") and lines[i].strip() \
                        and not re.match(r" *([-*]|\d+\.) ", lines[i]):
                    text.append(lines[i].strip())
                    i += 1
                out.extend(wrap(" ".join(text), indent + marker, indent + " " * len(marker)))
                if i < len(lines) and not lines[i].strip():
                    out.append("")
            else:
                text = []
                while i < len(lines) and lines[i].strip() and not re.match(
                        r"(#{1,3} |```|    |\||( *)([-*]|\d+\.) |!\[)", lines[i]):
                    text.append(lines[i].strip())
                    i += 1
                out.extend(wrap(" ".join(text), "", ""))
                out.append("")
    while out and out[-1] == "":
        out.pop()
    return "\r\n".join(out) + "\r\n"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: guide-text.py GUIDE.md README.txt")
    with open(sys.argv[1], encoding="utf-8") as source:
        markdown = source.read()
    wide = [n for n, c in enumerate(markdown) if ord(c) > 127]
    if wide:
        line = markdown.count("\n", 0, wide[0]) + 1
        sys.exit(f"{sys.argv[1]}:{line}: keep the guide to ASCII, which every Notepad shows")
    with open(sys.argv[2], "w", encoding="ascii", newline="") as target:
        target.write(convert(markdown))


if __name__ == "__main__":
    main()
