#!/usr/bin/env python3
"""index.html of the gallery: a grid of its pictures, a row per language and a
column per view, each picture linking to itself at full size.

    index-page.py <gallery folder>

Reads the folder's shots.json, which kestrix-gallery writes.
"""
import html
import json
import os
import sys

STYLE = """body { font-family: sans-serif; margin: 1em; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 6px; vertical-align: top; }
th[scope=row] { text-align: left; white-space: nowrap; }
img { width: 350px; display: block; }
.text { font-size: 12px; max-width: 350px; margin-top: 4px; }
.missing, .error { color: #b00; }"""


def text(value):
    return html.escape(value).replace("\n", "<br>")


def cell(row, view):
    shot = row["shots"].get(view)
    if not shot:
        return '<td class="missing">not taken</td>'
    file = html.escape(shot["file"])
    alt = html.escape(shot["text"].replace("\n", " "))
    return ('<td><a href="%s"><img src="%s" alt="%s" loading="lazy"></a>'
            '<div class="text" lang="%s" dir="auto">%s</div></td>'
            % (file, file, alt, html.escape(row["tag"]), text(shot["text"])))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    with open(os.path.join(folder, "shots.json"), encoding="utf-8") as f:
        shots = json.load(f)
    lines = ['<!DOCTYPE html>', '<html lang="en">', '<head>', '<meta charset="utf-8">',
             '<title>Kestrix Office installer: every view in every language</title>',
             '<style>', STYLE, '</style>', '</head>', '<body>',
             '<h1>Kestrix Office installer under Wine</h1>', '<table>',
             '<tr><th>Language</th>' + ''.join('<th>%s</th>' % text(v) for v in shots["views"])
             + '</tr>']
    for row in shots.get("rows", []):
        error = '<div class="error">%s</div>' % text(row["error"]) if row["error"] else ''
        lines.append('<tr><th scope="row">%s<br>%s%s</th>'
                     % (text(row["name"]), html.escape(row["tag"]), error))
        lines += [cell(row, view) for view in shots["views"]]
        lines.append('</tr>')
    lines += ['</table>', '</body>', '</html>']
    with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print("gallery: %s" % os.path.join(folder, "index.html"))


if __name__ == "__main__":
    main()
