"""Reads exported workbooks for the export tests with openpyxl, an independent reader, and
builds a template variant whose first worksheet is not where a writer would guess it.

  xlsx_tool.py read FILE [SHEET]    prints the sheet (index, default 0) as JSON
  xlsx_tool.py shown FILE           prints the texts of the first sheet's cells as LibreOffice
                                    reads them ({"B9": text}), _xHHHH_ escapes decoded
  xlsx_tool.py variant IN OUT       writes OUT from IN: the first sheet moved to
                                    xl/worksheets/other/data.xml (absolute Target, x: prefix),
                                    a second sheet "旧表" in xl/worksheets/sheet1.xml
  xlsx_tool.py formula IN OUT       writes OUT from IN with a formula in C9 and the
                                    calculation chain that lists it
  xlsx_tool.py zip OUT              writes a zip archive that holds no workbook
  xlsx_tool.py damage KIND IN OUT   writes OUT from IN damaged: KIND sheet-crc or styles-crc
                                    (a byte of that part changed, its checksum not), utf16 (the
                                    worksheet in UTF-16), chain-sheet or chain-rels (a calculation
                                    chain relationship that points at the worksheet or at the
                                    workbook's relationships part)
"""
import json
import re
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"


def cell_json(c):
    b = c.border
    fill = c.fill
    return {
        "v": c.value,
        "t": c.data_type,
        "fmt": c.number_format,
        "bold": bool(c.font.b),
        "size": c.font.sz,
        "fill": fill.fgColor.rgb if fill.fill_type == "solid" else None,
        "border": " ".join(str(s.style) for s in (b.left, b.right, b.top, b.bottom)),
        "h": c.alignment.horizontal,
        "vert": c.alignment.vertical,
        "wrap": bool(c.alignment.wrap_text),
    }


def read(path, index):
    import openpyxl
    wb = openpyxl.load_workbook(path)
    ws = wb.worksheets[index]
    ps = ws.page_setup
    out = {
        "sheets": wb.sheetnames,
        "title": ws.title,
        "merged": sorted(str(r) for r in ws.merged_cells.ranges),
        "freeze": ws.freeze_panes,
        "paper": ps.paperSize,
        "orientation": ps.orientation,
        "fitToWidth": ps.fitToWidth,
        "fitToHeight": ps.fitToHeight,
        "fitToPage": bool(ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage),
        "printTitles": ws.print_title_rows,
        "footer": ws.oddFooter.center.text,
        "widths": {k: v.width for k, v in ws.column_dimensions.items() if v.width},
        "heights": {str(k): v.height for k, v in ws.row_dimensions.items() if v.height},
        "cells": {c.coordinate: cell_json(c) for c in ws._cells.values()},
    }
    with zipfile.ZipFile(path) as z:
        out["parts"] = sorted(z.namelist())
        out["firstPart"] = z.namelist()[0]
        types = z.read("[Content_Types].xml").decode("utf-8")
        rels = z.read("xl/_rels/workbook.xml.rels").decode("utf-8")
    out["overrides"] = re.findall(r'PartName="([^"]+)"', types)
    out["relTargets"] = re.findall(r'Target="([^"]+)"', rels)
    json.dump(out, sys.stdout, ensure_ascii=False)


def shown(path):
    """LibreOffice, a second independent reader, saves the first sheet as CSV (UTF-8, every
    text quoted, values as stored) in a folder of its own, with a profile of its own."""
    import csv
    import os
    import subprocess
    import tempfile
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["soffice", "--headless", "--norestore",
                        "-env:UserInstallation=file://" + tmp + "/profile",
                        "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,false,false",
                        "--outdir", tmp, path], check=True, capture_output=True, timeout=120)
        name = os.path.splitext(os.path.basename(path))[0] + ".csv"
        with open(os.path.join(tmp, name), newline="", encoding="utf-8") as f:
            rows = list(csv.reader(f))
    cells = {}
    for r, row in enumerate(rows, start=1):
        for c, text in enumerate(row):
            if text:
                cells[column_name(c + 1) + str(r)] = text
    json.dump(cells, sys.stdout, ensure_ascii=False)


def column_name(col):
    name = ""
    while col > 0:
        col, rest = divmod(col - 1, 26)
        name = chr(ord("A") + rest) + name
    return name


def read_parts(src):
    with zipfile.ZipFile(src) as z:
        return {n: z.read(n) for n in z.namelist()}


def write_parts(dst, parts):
    with zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            z.writestr(name, data)


def add_text(parts, name, old, new):
    parts[name] = parts[name].decode("utf-8").replace(old, new, 1).encode("utf-8")


def formula(src, dst):
    parts = read_parts(src)
    sheet = parts["xl/worksheets/sheet1.xml"].decode("utf-8")
    pattern = re.search(r'<c r="C9" (s="\d+")/>', sheet)
    parts["xl/worksheets/sheet1.xml"] = sheet.replace(
        pattern.group(0), '<c r="C9" %s><f>1+1</f><v>2</v></c>' % pattern.group(1), 1).encode("utf-8")
    parts["xl/calcChain.xml"] = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                                 '<calcChain xmlns="%s"><c r="C9" i="1"/></calcChain>' % MAIN).encode("utf-8")
    add_text(parts, "xl/_rels/workbook.xml.rels", "</Relationships>",
             '<Relationship Id="rIdChain" Type="http://schemas.openxmlformats.org/officeDocument/'
             '2006/relationships/calcChain" Target="calcChain.xml"/></Relationships>')
    add_text(parts, "[Content_Types].xml", "</Types>",
             '<Override PartName="/xl/calcChain.xml" ContentType="application/vnd.openxmlformats-'
             'officedocument.spreadsheetml.calcChain+xml"/></Types>')
    write_parts(dst, parts)


def damage(kind, src, dst):
    parts = read_parts(src)
    if kind.endswith("-crc"):
        name, old, new = {
            "sheet-crc": ("xl/worksheets/sheet1.xml", b'ref="A2:G9"', b'ref="A2:G8"'),
            "styles-crc": ("xl/styles.xml", b'<sz val="11"/>', b'<sz val="12"/>'),
        }[kind]
        with zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED) as z:
            for n, data in parts.items():
                z.writestr(n, data, zipfile.ZIP_STORED if n == name else zipfile.ZIP_DEFLATED)
        with open(dst, "rb") as f:
            data = f.read()
        assert old in data
        with open(dst, "wb") as f:
            f.write(data.replace(old, new, 1))
        return
    if kind == "utf16":
        sheet = parts["xl/worksheets/sheet1.xml"].decode("utf-8")
        parts["xl/worksheets/sheet1.xml"] = sheet.replace('encoding="UTF-8"', 'encoding="UTF-16"').encode("utf-16")
    else:
        target = {"chain-sheet": "worksheets/sheet1.xml", "chain-rels": "_rels/workbook.xml.rels"}[kind]
        add_text(parts, "xl/_rels/workbook.xml.rels", "</Relationships>",
                 '<Relationship Id="rIdChain" Type="http://schemas.openxmlformats.org/officeDocument/'
                 '2006/relationships/calcChain" Target="%s"/></Relationships>' % target)
    write_parts(dst, parts)


def variant(src, dst):
    parts = read_parts(src)
    sheet = parts.pop("xl/worksheets/sheet1.xml").decode("utf-8")
    sheet = re.sub(r"<(/?)(?![?!])([A-Za-z]+)([ />])", r"<\1x:\2\3", sheet)
    sheet = sheet.replace('xmlns="%s"' % MAIN, 'xmlns:x="%s"' % MAIN)
    parts["xl/worksheets/other/data.xml"] = sheet.encode("utf-8")
    parts["xl/worksheets/sheet1.xml"] = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<worksheet xmlns="%s"><sheetData><row r="9"><c r="B9" t="inlineStr"><is><t>旧</t></is>'
        "</c></row></sheetData></worksheet>" % MAIN).encode("utf-8")
    rels = parts["xl/_rels/workbook.xml.rels"].decode("utf-8")
    rels = rels.replace('Target="worksheets/sheet1.xml"', 'Target="/xl/worksheets/other/data.xml"')
    rels = rels.replace("</Relationships>",
                        '<Relationship Id="rIdOld" Type="http://schemas.openxmlformats.org/'
                        'officeDocument/2006/relationships/worksheet" '
                        'Target="worksheets/sheet1.xml"/></Relationships>')
    parts["xl/_rels/workbook.xml.rels"] = rels.encode("utf-8")
    book = parts["xl/workbook.xml"].decode("utf-8")
    book = book.replace("</sheets>", '<sheet name="旧表" sheetId="2" r:id="rIdOld"/></sheets>')
    parts["xl/workbook.xml"] = book.encode("utf-8")
    types = parts["[Content_Types].xml"].decode("utf-8")
    types = types.replace("</Types>",
                          '<Override PartName="/xl/worksheets/other/data.xml" ContentType="application/'
                          'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>')
    parts["[Content_Types].xml"] = types.encode("utf-8")
    write_parts(dst, parts)


if __name__ == "__main__":
    if sys.argv[1] == "read":
        read(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 0)
    elif sys.argv[1] == "shown":
        shown(sys.argv[2])
    elif sys.argv[1] == "variant":
        variant(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "damage":
        damage(sys.argv[2], sys.argv[3], sys.argv[4])
    elif sys.argv[1] == "formula":
        formula(sys.argv[2], sys.argv[3])
    else:
        with zipfile.ZipFile(sys.argv[2], "w") as z:
            z.writestr("说明.txt", "不是工作簿")
