#!/usr/bin/python3
"""Reads a workbook file with readers that are not ours and prints what they
found as JSON: the streams of the compound file, and per sheet every cell's
type, value and number-format text, with the reader's log.

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
    book = xlrd.open_workbook(path, formatting_info=True, verbosity=1, logfile=log)
    sheets = []
    for sheet in book.sheets():
        rows = []
        for r in range(sheet.nrows):
            row = []
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                xf = book.xf_list[cell.xf_index]
                fmt = book.format_map[xf.format_key].format_str
                value = cell.value
                if isinstance(value, float) and value != value:
                    value = "nan"
                row.append([cell.ctype, value, fmt, cell.xf_index])
            rows.append(row)
        sheets.append({
            "name": sheet.name,
            "nrows": sheet.nrows,
            "ncols": sheet.ncols,
            "cells": rows,
            "merged": [list(m) for m in sheet.merged_cells],
        })
    out["sheets"] = sheets
    out["log"] = log.getvalue()
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main()
