#!/usr/bin/env python3
"""Builds the label-sheet catalogue text (resources/labelformats.txt) from the
rectangular sheet templates of gLabels (Debian package glabels-data).

The program never reads gLabels files: it compiles the generated text in. Run this
again only to refresh the catalogue:

    tools/make_label_catalogue.py [TEMPLATE_DIR] > resources/labelformats.txt

Row format (one sheet type per line; a line without ";" names the maker):
    name;top;left;width;height;columns;rows;row pitch;column pitch;paper;
in centimetres with a decimal comma; "_" in a name stands for a blank. A pitch is
left empty when there is only one column (row); the paper code is empty for A4
portrait, "L" for US Letter, "A5" for A5.
"""

import glob
import os
import sys
import xml.etree.ElementTree as ET

DEFAULT_DIR = "/usr/share/libglabels-3.0/templates"

# Makers whose sheets users look for under a familiar name, in the order they are
# listed first; gLabels brands not named here keep their own name.
PREFERRED_MAKERS = [
    "AOne", "APLI", "Avery Standard", "Avery A4/A5", "Herma", "Hisago",
    "MACO/Wilson Jones Standard", "Sigel", "RAJA", "Zweckform", "May+Spies",
    "ALFAC-DECAdry", "Agipa",
]

BRAND_NAMES = {
    "apli": "APLI",
    "maco": "MACO/Wilson Jones Standard",
    "mayspies": "May+Spies",
    "decadry": "ALFAC-DECAdry",
    "q-connect": "Q-Connect",
}

PAPER_CODES = {"A4": "", "US-Letter": "L", "A5": "A5"}
PAPER_MM = {"A4": (210.0, 297.0), "US-Letter": (215.9, 279.4), "A5": (148.0, 210.0)}

# Rows users know from older catalogues. They are kept exactly as written, under
# their makers, and replace a generated row of the same name.
FIXED_ROWS = [
    ("AOne", "28171;2;1,65;9,02;4,23;2;6;4,23;9,27;;"),
    ("Avery A4/A5", "J8169;0,47;1,02;13,9;9,91;2;2;10,17;13,9;A4Q;"),
    ("Avery A4/A5", "L7410-5M_L;1,35;0,5;20;5,4;1;5;5,4;;;"),
    ("MACO/Wilson Jones Standard", "ML-0100;0;0;21,59;27,94;1;1;;;L;"),
    ("Avery Standard", "2160 Mini;1,27;2,06;6,67;2,54;1;4;2,54;;;"),
    ("Hisago", "OP874;2,54;1,78;7,11;6,99;2;3;6,99;7,36;B5;"),
    ("Zweckform", "4702;1,42;0,97;4,57;1;4;12;1;4,82;A5Q;"),
    ("RAJA", "ES-4;0,85;0;10,5;14;2;2;14;10,5;;"),
]

UNIT_MM = {"pt": 25.4 / 72.0, "in": 25.4, "mm": 1.0, "cm": 10.0, "pc": 25.4 / 6.0}


def to_mm(text):
    """gLabels lengths: a number with an optional unit; no unit means points."""
    text = (text or "").strip()
    if not text:
        return 0.0
    for unit, factor in UNIT_MM.items():
        if text.endswith(unit):
            return float(text[: -len(unit)]) * factor
    return float(text) * UNIT_MM["pt"]


def cm_text(mm):
    value = round(mm / 10.0, 4)
    text = ("%.4f" % value).rstrip("0").rstrip(".")
    if text in ("-0", ""):
        text = "0"
    return text.replace(".", ",")


def maker_of(brand, paper):
    if brand.lower() == "avery":
        return "Avery Standard" if paper == "US-Letter" else "Avery A4/A5"
    return BRAND_NAMES.get(brand.lower(), brand)


def sheet_row(part, paper, label, layout):
    width, height = to_mm(label.get("width")), to_mm(label.get("height"))
    nx, ny = int(layout.get("nx")), int(layout.get("ny"))
    x0, y0 = to_mm(layout.get("x0")), to_mm(layout.get("y0"))
    dx, dy = to_mm(layout.get("dx")), to_mm(layout.get("dy"))
    if nx < 1 or ny < 1 or width <= 0 or height <= 0:
        return None
    if (nx > 1 and dx + 0.01 < width) or (ny > 1 and dy + 0.01 < height):
        return None  # overlapping labels: not a plain grid
    page_w, page_h = PAPER_MM[paper]
    right = x0 + (nx - 1) * dx + width if nx > 1 else x0 + width
    bottom = y0 + (ny - 1) * dy + height if ny > 1 else y0 + height
    if right > page_w + 0.5 or bottom > page_h + 0.5 or x0 < 0 or y0 < 0:
        return None  # does not fit the paper it claims
    name = part.strip().replace(" ", "_")
    if ";" in name or not name:
        return None
    fields = [
        name, cm_text(y0), cm_text(x0), cm_text(width), cm_text(height), str(nx), str(ny),
        cm_text(dy) if ny > 1 else "", cm_text(dx) if nx > 1 else "", PAPER_CODES[paper],
    ]
    return ";".join(fields) + ";"


def parse_plain(path):
    """Some template files declare the gLabels namespace and some do not."""
    root = ET.parse(path).getroot()
    for element in root.iter():
        if element.tag.startswith("{"):
            element.tag = element.tag.split("}", 1)[1]
    return root


def read_templates(folder):
    """(brand, part) -> Template element, plus the equivalents in file order."""
    templates, equivalents, order = {}, [], []
    for path in sorted(glob.glob(os.path.join(folder, "*-templates.xml"))):
        for t in parse_plain(path).iter("Template"):
            key = (t.get("brand", ""), t.get("part", ""))
            if t.get("equiv"):
                equivalents.append((key, (key[0], t.get("equiv"))))
            elif key not in templates:
                templates[key] = t
            order.append(key)
    return templates, equivalents, order


def row_of(template, part):
    paper = template.get("size")
    if paper not in PAPER_CODES:
        return None
    labels = template.findall("Label-rectangle")
    if len(labels) != 1:
        return None
    layouts = labels[0].findall("Layout")
    if len(layouts) != 1:
        return None
    return maker_of(template.get("brand", ""), paper), sheet_row(part, paper, labels[0], layouts[0])


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_DIR
    templates, equivalents, order = read_templates(folder)
    equiv = dict(equivalents)
    rows = {}  # maker -> {name: row}
    for key in order:
        base = templates.get(key) or templates.get(equiv.get(key, ("", "")))
        if base is None:
            continue
        found = row_of(base, key[1])
        if not found or not found[1]:
            continue
        maker, row = found
        rows.setdefault(maker, {}).setdefault(row.split(";", 1)[0].upper(), row)
    for maker, row in FIXED_ROWS:
        rows.setdefault(maker, {})[row.split(";", 1)[0].upper()] = row
    makers = [m for m in PREFERRED_MAKERS if m in rows]
    makers += sorted((m for m in rows if m not in PREFERRED_MAKERS), key=str.lower)
    out = sys.stdout
    for maker in makers:
        out.write(maker + "\n")
        for name in sorted(rows[maker], key=lambda n: (n.lower(), n)):
            out.write(rows[maker][name] + "\n")


if __name__ == "__main__":
    main()
