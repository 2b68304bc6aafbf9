#!/usr/bin/python3
"""Writes the hand-made hostile inputs of the fuzz targets (run by hand; the
files are committed, and every build replays them):

  /usr/bin/python3 fuzz/make_hostile_inputs.py

fuzz/crashes/<target>/ gets inputs that once crashed or ran away:
  sheetreader       text nested 60,000 elements deep inside a cell (inline and
                    shared strings), a directory entry naming 66 and 250 bytes,
                    a sector chain running in a circle, cell texts of 2 MiB
  live_soap         a result and a faultstring nested 100,000 elements deep
  registrationform  a club and a surname of one 512 KiB run, text nested deep
fuzz/corpus/sheetreader/ gets seeds for the paths organisers' sheets take:
  shared strings with rich runs, number formats and dates, the 1904 system,
  a stray cell far right, several sheets, cells without references.
"""
import io
import os
import struct
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def write(folder, name, data):
    path = os.path.join(ROOT, "fuzz", folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def xlsx(sheets, shared=None, styles=None, workbook_pr=""):
    """An .xlsx of the given sheets (name, sheet data XML) in this order."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("_rels/.rels", '<Relationships xmlns="%s"><Relationship Id="r1" Type="%s/officeDocument" '
                   'Target="xl/workbook.xml"/></Relationships>' % (PKG, REL))
        entries = "".join('<sheet name="%s" sheetId="%d" r:id="s%d"/>' % (name, i + 1, i + 1)
                          for i, (name, _) in enumerate(sheets))
        z.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s">%s<sheets>%s</sheets></workbook>'
                   % (MAIN, REL, workbook_pr, entries))
        rels = "".join('<Relationship Id="s%d" Type="%s/worksheet" Target="worksheets/sheet%d.xml"/>'
                       % (i + 1, REL, i + 1) for i in range(len(sheets)))
        if shared is not None:
            rels += '<Relationship Id="t" Type="%s/sharedStrings" Target="sharedStrings.xml"/>' % REL
            z.writestr("xl/sharedStrings.xml", '<sst xmlns="%s">%s</sst>' % (MAIN, shared))
        if styles is not None:
            rels += '<Relationship Id="y" Type="%s/styles" Target="styles.xml"/>' % REL
            z.writestr("xl/styles.xml", '<styleSheet xmlns="%s">%s</styleSheet>' % (MAIN, styles))
        z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="%s">%s</Relationships>' % (PKG, rels))
        for i, (_, data) in enumerate(sheets):
            z.writestr("xl/worksheets/sheet%d.xml" % (i + 1),
                       '<worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>' % (MAIN, data))
    return out.getvalue()


def nested(depth, text="x"):
    return "<i>" * depth + text + "</i>" * depth


def patched_xls(patch):
    """The committed players.xls with one change made by `patch(bytes, entries)`."""
    with open(os.path.join(ROOT, "tests", "output", "fixtures", "players.xls"), "rb") as f:
        data = bytearray(f.read())
    directory = (struct.unpack_from("<I", data, 48)[0] + 1) * 512
    patch(data, directory)
    return bytes(data)


def long_name(length):
    def patch(data, directory):
        struct.pack_into("<H", data, directory + 128 + 64, length)  # the entry after the root
    return patch


def circular_chain(data, directory):
    # The first stream: its first sector points at itself, in the short
    # allocation table for a stream below 4096 bytes, else in the main one.
    entry = directory + 128
    start = struct.unpack_from("<I", data, entry + 116)[0]
    short = struct.unpack_from("<I", data, entry + 120)[0] < 4096
    table = (struct.unpack_from("<I", data, 60 if short else 76)[0] + 1) * 512
    if data[entry + 66] != 2 or start >= 128:
        raise SystemExit("players.xls does not start its first stream where expected")
    struct.pack_into("<I", data, table + 4 * start, start)


def main():
    deep = nested(60000)
    write("crashes/sheetreader", "inline_text_nested_60000.xlsx",
          xlsx([("A", '<row r="1"><c r="A1" t="inlineStr"><is><t>%s</t></is></c></row>' % deep)]))
    write("crashes/sheetreader", "shared_text_nested_60000.xlsx",
          xlsx([("A", '<row r="1"><c r="A1" t="s"><v>0</v></c></row>')], shared="<si><t>%s</t></si>" % deep))
    run = "A" * (2 * 1024 * 1024)
    write("crashes/sheetreader", "cell_texts_of_2_mib.xlsx",
          xlsx([("A", '<row r="1"><c r="A1" t="inlineStr"><is><t>%s</t></is></c><c r="B1" t="s"><v>0</v></c></row>'
                 % run)], shared="<si><t>%s</t></si>" % run))
    write("crashes/sheetreader", "directory_name_of_66_bytes.xls", patched_xls(long_name(66)))
    write("crashes/sheetreader", "directory_name_of_250_bytes.xls", patched_xls(long_name(250)))
    write("crashes/sheetreader", "sector_chain_in_a_circle.xls", patched_xls(circular_chain))

    env = '<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body>'
    write("crashes/live_soap", "result_nested_100000.xml",
          (env + '<r:GetKlassenResponse xmlns:r="urn:x"><return>%s</return></r:GetKlassenResponse></e:Body>'
           '</e:Envelope>' % nested(100000)).encode())
    write("crashes/live_soap", "faultstring_nested_100000.xml",
          (env + "<e:Fault><faultcode>e:Server</faultcode><faultstring>%s</faultstring></e:Fault></e:Body>"
           "</e:Envelope>" % nested(100000)).encode())

    with open(os.path.join(ROOT, "fuzz", "corpus", "registrationform", "fields.xml"), "rb") as f:
        fields = f.read().decode()
    short_run = "A" * (512 * 1024)
    write("crashes/registrationform", "club_of_512_kib.xml",
          fields.replace("<w:t>TT</w:t>", "<w:t>%s</w:t>" % short_run, 1).encode())
    write("crashes/registrationform", "surname_of_512_kib.xml",
          fields.replace("<w:t>Meier</w:t>", "<w:t>%s</w:t>" % short_run, 1).encode())
    write("crashes/registrationform", "club_nested_60000.xml",
          fields.replace("<w:t>TT</w:t>", "<w:t>%s</w:t>" % deep, 1).encode())

    styles = ('<numFmts><numFmt numFmtId="170" formatCode="&quot;am &quot;d/m/yy"/>'
              '<numFmt numFmtId="172" formatCode="[h]:mm"/></numFmts>'
              '<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="170"/><xf numFmtId="21"/>'
              '<xf numFmtId="172"/></cellXfs>')
    write("corpus/sheetreader", "shared_rich_formats.xlsx", xlsx(
        [("Meldungen", '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>'
                       '<c r="C1" t="inlineStr"><is><r><t>Ver</t></r><r><t>ein</t></r></is></c></row>'
                       '<row r="2"><c r="A2" t="s"><v>2</v></c><c r="B2" s="1"><v>30000</v></c>'
                       '<c r="C2" s="2"><v>45000.5</v></c><c r="D2" s="3"><v>0.75</v></c>'
                       '<c r="E2" s="4"><v>1.25</v></c><c r="F2" t="b"><v>0</v></c>'
                       '<c r="G2" t="e"><v>#WERT!</v></c><c r="H2" t="d"><v>2024-02-29T00:00:00</v></c></row>'),
         ("Zweites", '<row r="1"><c r="A1" t="inlineStr"><is><t>nicht gelesen</t></is></c></row>')],
        shared='<si><t>Name</t></si><si><r><t>Vor</t></r><r><t>name</t></r><rPh><t>x</t></rPh></si>'
               '<si><t xml:space="preserve"> Müller </t></si>',
        styles=styles))
    write("corpus/sheetreader", "date1904_stray_far_cell.xlsx", xlsx(
        [("A", '<row r="1"><c r="A1" t="inlineStr"><is><t>Name</t></is></c><c r="XFD1"><v>1</v></c></row>'
               '<row><c s="1"><v>0</v></c><c><v>-1.5E+3</v></c></row>')],
        styles='<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs>',
        workbook_pr='<workbookPr date1904="true"/>'))
    write("corpus/sheetreader", "stray_far_cell.xml",
          b'<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="XFD1" t="s"><v>1</v></c></row>'
          b'<row r="3"><c r="B3"><v>2</v></c></row><row r="1048576"><c r="C1048576"><v>3</v></c></row>'
          b'</sheetData></worksheet>')


if __name__ == "__main__":
    main()
