"""The export benchmark's comparison: the same cells written into the same template by openpyxl.

  export_openpyxl.py TEMPLATE OUT CELLS RUNS

CELLS holds one cell a line: row, column, kind (n for a number, s for a text), text, separated
by tabs (tab, CR and LF in a text written as \\t, \\r, \\n). As the program does, a cell in the
pattern row 9 or below takes the style of the same column's cell in row 9. Prints the median
milliseconds of RUNS runs of load, fill and save (the interpreter's start is not counted).
"""
import copy
import statistics
import sys
import time

import openpyxl


def load_cells(path):
    cells = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            row, col, kind, text = line.rstrip("\n").split("\t", 3)
            text = text.replace("\\t", "\t").replace("\\r", "\r").replace("\\n", "\n")
            cells.append((int(row), int(col), float(text) if kind == "n" else text))
    return cells


def fill(template, out, cells):
    wb = openpyxl.load_workbook(template)
    ws = wb.worksheets[0]
    pattern = {c: ws.cell(9, c)._style for c in range(1, 8)}
    for row, col, value in cells:
        cell = ws.cell(row, col)
        if row >= 9 and not cell.has_style:
            cell._style = copy.copy(pattern[col])
        cell.value = value if value != "" else None
    wb.save(out)


def main():
    template, out, cells_file, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    cells = load_cells(cells_file)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        fill(template, out, cells)
        times.append((time.perf_counter() - start) * 1000)
    print("%.3f" % statistics.median(times))


main()
