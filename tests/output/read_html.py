#!/usr/bin/python3
# Reads every .html file of a folder with html5lib, the parser of the HTML
# standard that browsers follow, and prints as JSON per file: the text of every
# table's cells row by row, the links and frames with their targets, the body's
# text, and the targets that name no file of the folder. The bytes are decoded as
# the page's own charset declaration says.
import json
import os
import re
import sys
import urllib.parse

import html5lib

NS = "{http://www.w3.org/1999/xhtml}"


def raw_text(element):
    # The text as a browser lays it out: <br> a line break, other white space
    # (blanks, tabs, line ends; not the no-break space) one blank.
    parts = [re.sub(r"[ \t\n\r\f]+", " ", element.text or "")]
    for child in element:
        parts.append("\n" if child.tag == NS + "br" else raw_text(child))
        parts.append(re.sub(r"[ \t\n\r\f]+", " ", child.tail or ""))
    return "".join(parts)


def text(element):
    return "\n".join(line.strip(" ") for line in raw_text(element).split("\n")).strip("\n")


def direct_rows(table):
    # The rows of this table, not of tables inside its cells.
    rows = []
    for child in table:
        if child.tag == NS + "tr":
            rows.append(child)
        elif child.tag in (NS + "tbody", NS + "thead", NS + "tfoot"):
            rows.extend(r for r in child if r.tag == NS + "tr")
    return rows


def read(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        document = html5lib.parse(f.read(), treebuilder="etree")
    tables = []
    for table in document.iter(NS + "table"):
        rows = []
        for row in direct_rows(table):
            rows.append([text(cell) for cell in row if cell.tag in (NS + "td", NS + "th")])
        tables.append(rows)
    links = [{"href": a.get("href"), "text": text(a)} for a in document.iter(NS + "a")]
    frames = [frame.get("src") for frame in document.iter(NS + "frame")]
    missing = []
    for target in [link["href"] for link in links] + frames:
        path = urllib.parse.unquote(target, encoding="utf-8", errors="strict")
        if not os.path.isfile(os.path.join(folder, path)):
            missing.append(target)
    body = document.find(NS + "body")
    heads = [text(h) for h in document.iter() if h.tag in (NS + "h1", NS + "h2")]
    charset = [m.get("content") for m in document.iter(NS + "meta")]
    return {
        "tables": tables,
        "links": links,
        "frames": frames,
        "missing": missing,
        "headings": heads,
        "meta": charset,
        "body": text(body) if body is not None else "",
    }


def main():
    folder = sys.argv[1]
    pages = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".html"):
            pages[name] = read(folder, name)
    json.dump(pages, sys.stdout, ensure_ascii=True)


if __name__ == "__main__":
    main()
