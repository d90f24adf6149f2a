"""Reads filled distribution plan documents for the tests with python-docx, an independent reader,
and makes the templates the tests fill.

  docx_tool.py read FILE            prints the document as JSON: its paragraphs (text, style,
                                    the first run's bold and size), its tables (the text of each
                                    cell, a merged cell once), the page size in mm, the texts of
                                    the headers and footers, the paragraph styles' bold and size
                                    and the text's East Asian font and size; the text of every
                                    table row (rows inside content controls too), and the cells,
                                    headers, footers and text boxes that hold no paragraph; for
                                    each table row its properties: "h" a header row repeated on
                                    every page, "s" a row that cannot split, "k" every paragraph
                                    of the row kept with the next
  docx_tool.py pdftext FILE         LibreOffice converts the document to PDF; prints the text
                                    pdftotext reads from it
  docx_tool.py word OUT             writes a template as Word saves one: python-docx's own
                                    template, fields split into several runs of different
                                    formatting with spelling marks and a bookmark among them,
                                    fields in the header and the footer, a claims table
  docx_tool.py plain OUT            a template of paragraphs only, without any table
  docx_tool.py damage KIND IN OUT   writes OUT from IN damaged: crc (a byte of the document part
                                    changed, its checksum not), utf16 (the document part in
                                    UTF-16), nodocument (the document part missing)
  docx_tool.py zip OUT              a zip archive that holds no document
"""
import json
import os
import subprocess
import sys
import tempfile
import zipfile



def run_json(run):
    return {"bold": bool(run.bold), "size": run.font.size.pt if run.font.size else None}


def defaults(d):
    """The East Asian font and the size (pt) the document's text has unless a style says else."""
    ns = {"w": "http://schemas.openxmlformats.org/wordprocessingml/2006/main"}
    rpr = d.styles.element.find("w:docDefaults/w:rPrDefault/w:rPr", ns)
    if rpr is None:
        return None
    fonts, size = rpr.find("w:rFonts", ns), rpr.find("w:sz", ns)
    return {"eastAsia": fonts.get("{%s}eastAsia" % ns["w"]),
            "size": int(size.get("{%s}val" % ns["w"])) / 2}


W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"


def bare(d):
    """The cells, headers, footers and text boxes without a paragraph, which word processors
    report as damage."""
    roots = [d.element] + [r.target_part.element for r in d.part.rels.values()
                           if not r.is_external and r.reltype.endswith(("/header", "/footer"))]
    return [e.tag[len(W):] for root in roots
            for e in root.iter(W + "tc", W + "hdr", W + "ftr", W + "txbxContent")
            if e.find(".//" + W + "p") is None]


def row_marks(row):
    """"h", "s" and "k" for a row's repeated header, cannot-split and kept-with-next."""
    props = row.find(W + "trPr")
    marks = ""
    if props is not None and props.find(W + "tblHeader") is not None:
        marks += "h"
    if props is not None and props.find(W + "cantSplit") is not None:
        marks += "s"
    paragraphs = list(row.iter(W + "p"))
    if paragraphs and all(p.find(W + "pPr/" + W + "keepNext") is not None for p in paragraphs):
        marks += "k"
    return marks


def read(path):
    import docx
    d = docx.Document(path)
    empty = bare(d)
    section = d.sections[0]
    out = {
        "rows": ["".join(t.text or "" for t in r.iter(W + "t")) for r in d.element.body.iter(W + "tr")],
        "bare": empty,
        "rowMarks": [[row_marks(r) for r in t.iter(W + "tr")] for t in d.element.body.iter(W + "tbl")],
        "paragraphs": [dict({"text": p.text, "style": p.style.name},
                            **(run_json(p.runs[0]) if p.runs else {})) for p in d.paragraphs],
        "tables": [],
        "page": [round(section.page_width.mm), round(section.page_height.mm)]
        if section.page_width else None,
        "margins": [round(m.mm) if m is not None else None
                    for m in (section.top_margin, section.bottom_margin,
                              section.left_margin, section.right_margin)],
        "header": [p.text for p in section.header.paragraphs],
        "footer": [p.text for p in section.footer.paragraphs],
        "styles": {s.name: {"bold": s.font.bold, "size": s.font.size.pt if s.font.size else None}
                   for s in d.styles if s.type == 1},
        "defaults": defaults(d),
    }
    for t in d.tables:
        rows = []
        for r in t.rows:
            seen, cells = set(), []
            for c in r.cells:
                if id(c._tc) not in seen:
                    seen.add(id(c._tc))
                    cells.append(c.text)
            rows.append(cells)
        out["tables"].append(rows)
    json.dump(out, sys.stdout, ensure_ascii=False)


def pdftext(path):
    """LibreOffice, a second independent reader, converts the document to PDF in a folder of its
    own, with a profile of its own; poppler reads the text back."""
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["soffice", "--headless", "--norestore",
                        "-env:UserInstallation=file://" + tmp + "/profile",
                        "--convert-to", "pdf", "--outdir", tmp, path],
                       check=True, capture_output=True, timeout=120)
        pdf = os.path.join(tmp, os.path.splitext(os.path.basename(path))[0] + ".pdf")
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], check=True,
                              capture_output=True).stdout.decode("utf-8")
    sys.stdout.write(text)


def split_runs(paragraph, pieces):
    """Appends runs to the paragraph, one for each (text, bold) piece, with a spelling mark and a
    bookmark between them as Word leaves them."""
    from docx.oxml import OxmlElement
    from docx.oxml.ns import qn
    for k, (text, bold) in enumerate(pieces):
        if k == 1:
            paragraph._p.append(OxmlElement("w:proofErr"))
            paragraph._p[-1].set(qn("w:type"), "spellStart")
        if k == 2:
            mark = OxmlElement("w:bookmarkStart")
            mark.set(qn("w:id"), "0")
            mark.set(qn("w:name"), "_GoBack")
            paragraph._p.append(mark)
        run = paragraph.add_run(text)
        run.bold = bold


def word(out):
    import docx
    from docx.shared import Pt
    d = docx.Document()
    section = d.sections[0]
    split_runs(section.header.paragraphs[0], [("案号：«案", False), ("件名", True), ("称»", False)])
    split_runs(section.footer.paragraphs[0], [("«法院", False), ("名称»第1页", False)])
    title = d.add_paragraph()
    split_runs(title, [("«法", True), ("院名称»", False), ("执行款分配方案", True)])
    title.runs[0].font.size = Pt(22)
    split_runs(d.add_paragraph(), [("说明：«分配", False), ("说明»。«未知字段»留着", False)])
    split_runs(d.add_paragraph(), [("«", False), ("分配合计大写", True), ("»", False), ("。", False)])
    table = d.add_table(rows=3, cols=3)
    for cell, text in zip(table.rows[0].cells, ["债权人", "分配金额", "合计"]):
        cell.text = text
    row = table.rows[1].cells
    split_runs(row[0].paragraphs[0], [("«序号». «债", False), ("权人", True), ("»", False)])
    split_runs(row[1].paragraphs[0], [("«分配金额»", True)])
    split_runs(row[2].paragraphs[0], [("«案件名称»", False)])
    split_runs(table.rows[2].cells[1].paragraphs[0], [("«分配", False), ("合计»", False)])
    d.add_paragraph("余款«余款»元。")
    d.save(out)


def plain(out):
    import docx
    d = docx.Document()
    d.add_paragraph("«法院名称»")
    d.add_paragraph("«债权人»：«分配合计»（«分配合计大写»）")
    d.save(out)


def damage(kind, src, dst):
    with zipfile.ZipFile(src) as z:
        parts = {n: z.read(n) for n in z.namelist()}
    name = "word/document.xml"
    if kind == "crc":
        with zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED) as z:
            for n, data in parts.items():
                z.writestr(n, data, zipfile.ZIP_STORED if n == name else zipfile.ZIP_DEFLATED)
        with open(dst, "rb") as f:
            data = f.read()
        assert "执行款分配方案".encode("utf-8") in data
        with open(dst, "wb") as f:
            f.write(data.replace("执行款分配方案".encode("utf-8"), "执行款分配方桉".encode("utf-8"), 1))
        return
    if kind == "utf16":
        text = parts[name].decode("utf-8").replace('encoding="UTF-8"', 'encoding="UTF-16"')
        parts[name] = text.encode("utf-16")
    else:
        del parts[name]
    with zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED) as z:
        for n, data in parts.items():
            z.writestr(n, data)


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "read":
        read(sys.argv[2])
    elif command == "pdftext":
        pdftext(sys.argv[2])
    elif command == "word":
        word(sys.argv[2])
    elif command == "plain":
        plain(sys.argv[2])
    elif command == "damage":
        damage(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        with zipfile.ZipFile(sys.argv[2], "w") as z:
            z.writestr("说明.txt", "不是文档")
