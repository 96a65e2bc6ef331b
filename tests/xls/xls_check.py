#!/usr/bin/python3
"""Reads a workbook file with readers that are not ours and prints what they
found as JSON: the streams of the compound file, the cell formats (XF
records) as the reader took them, and per sheet every cell that holds a
record (blank ones included) with its type, value, number-format text and
XF index, with the reader's log.

usage: xls_check.py FILE [STREAM_OUT]
STREAM_OUT, when given, receives the bytes of the stream "Workbook".
"""
import io
import json
import sys

import olefile
import xlrd


def main():
    path = sys.argv[1]
    out = {}
    ole = olefile.OleFileIO(path)
    out["streams"] = ["/".join(e) for e in ole.listdir()]
    if len(sys.argv) > 2:
        with open(sys.argv[2], "wb") as f:
            f.write(ole.openstream("Workbook").read())
    ole.close()

    log = io.StringIO()
    # Ragged rows: a row is as long as its last cell, so a sheet with a few
    # cells far apart is read without walking its whole extent.
    book = xlrd.open_workbook(path, formatting_info=True, verbosity=1, logfile=log, ragged_rows=True)
    out["xfs"] = [[xf.is_style, xf.parent_style_index, xf.format_key] for xf in book.xf_list]
    sheets = []
    for sheet in book.sheets():
        cells = []
        for r in range(sheet.nrows):
            for c in range(sheet.row_len(r)):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                xf = book.xf_list[cell.xf_index]
                fmt = book.format_map[xf.format_key].format_str
                value = cell.value
                if isinstance(value, float) and value != value:
                    value = "nan"
                cells.append([r, c, cell.ctype, value, fmt, cell.xf_index])
        sheets.append({
            "name": sheet.name,
            "nrows": sheet.nrows,
            "ncols": sheet.ncols,
            "cells": cells,
            "merged": [list(m) for m in sheet.merged_cells],
        })
    out["sheets"] = sheets
    out["log"] = log.getvalue()
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main()
