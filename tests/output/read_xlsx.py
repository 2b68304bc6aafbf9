#!/usr/bin/python3
"""Reads an xlsx file with openpyxl and prints what the tests check as JSON.

Run with Debian's /usr/bin/python3, which sees the python3-openpyxl package.
Every sheet gives its cell values row by row, the look of every non-empty cell
(fill, borders, number format, font), the widths of the columns set, the auto-filter,
the print titles and the page set-up.
"""
import json
import sys

import openpyxl


def look(cell):
    border = cell.border
    return {
        "fill": cell.fill.fill_type,
        "colour": cell.fill.fgColor.rgb if cell.fill.fill_type else None,
        "borders": [side.style for side in (border.left, border.right, border.top, border.bottom)],
        "format": cell.number_format,
        "bold": bool(cell.font.b),
        "size": cell.font.sz,
    }


def sheet(ws):
    setup = ws.page_setup
    fit = ws.sheet_properties.pageSetUpPr
    return {
        "name": ws.title,
        "rows": [[cell.value for cell in row] for row in ws.iter_rows()],
        "looks": {cell.coordinate: look(cell) for row in ws.iter_rows() for cell in row if cell.has_style},
        "widths": {key: dim.width for key, dim in ws.column_dimensions.items() if dim.customWidth},
        "autoFilter": ws.auto_filter.ref,
        "printTitleRows": ws.print_title_rows,
        "orientation": setup.orientation,
        "fitToPage": bool(fit.fitToPage) if fit is not None else False,
        # An absent attribute means the file format's default, 1.
        "fitToWidth": 1 if setup.fitToWidth is None else int(setup.fitToWidth),
        "fitToHeight": 1 if setup.fitToHeight is None else int(setup.fitToHeight),
    }


def main():
    book = openpyxl.load_workbook(sys.argv[1])
    json.dump({"sheets": [sheet(ws) for ws in book.worksheets]}, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main()
