# Writes the .xls workbooks of the import tests with LibreOffice, and beside each the CSV that LibreOffice
# itself exports of it (values as shown). Run once, with LibreOffice listening:
#   soffice --headless --accept="socket,host=127.0.0.1,port=2028;urp;" &  /usr/bin/python3 workbooks.py DIR
# The Excel 95 workbook is written by Gnumeric (ssconvert, in the locale tr_TR.UTF-8), as LibreOffice only
# reads that format; its copy with the Macintosh code page is the same file with its CODEPAGE changed.
import subprocess, sys, uno
from com.sun.star.beans import PropertyValue
from com.sun.star.awt import Rectangle
from com.sun.star.table import CellAddress, CellRangeAddress
from com.sun.star.util import Date
from com.sun.star.lang import Locale

out = sys.argv[1]
def prop(n, v):
    p = PropertyValue(); p.Name = n; p.Value = v; return p
ctx = uno.getComponentContext()
ctx = ctx.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", ctx).resolve(
    "uno:socket,host=127.0.0.1,port=2028;urp;StarOffice.ComponentContext")
desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)

def book(null1904=False):
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
    if null1904:
        doc.NullDate = Date(1, 1, 1904)
    return doc

def fill(doc, sheet, rows):
    formats = doc.NumberFormats
    for r, row in enumerate(rows):
        for c, v in enumerate(row):
            if v is None: continue
            cell = sheet.getCellByPosition(c, r)
            if isinstance(v, tuple):  # (value, format)
                key = formats.queryKey(v[1], Locale(), False)
                cell.NumberFormat = key if key != -1 else formats.addNew(v[1], Locale())
                v = v[0]
                if v is None: continue  # a blank that carries a format
            if isinstance(v, str) and v.startswith("="): cell.setFormula(v)
            elif isinstance(v, str): cell.setString(v)
            else: cell.setValue(float(v))

def save(doc, name):
    doc.storeToURL("file://%s/%s" % (out, name), (prop("FilterName", "MS Excel 97"),))
    doc.close(True)

def csv(name):
    doc = desktop.loadComponentFromURL("file://%s/%s" % (out, name), "_blank", 0, (prop("Hidden", True),))
    doc.storeToURL("file://%s/%s.csv" % (out, name[:-4]), (prop("FilterName", "Text - txt - csv (StarCalc)"),
                   prop("FilterOptions", "44,34,76,1,,0,false,true,true,false,false")))
    doc.close(True)

# Formulas of every result kind, constants, blanks that carry a format, a note, a drawing and an embedded
# chart; a second sheet that holds only a chart.
doc = book()
s = doc.Sheets.getByIndex(0); s.Name = "Formüller"
fill(doc, s, [
    ["Kod", "Sayı", "Formül", "Açıklama"],
    ["A-1", 12.5, "=B2*2", "ĞÜŞİÖÇ ığüşöç"],
    ["A-2", -3, '="ab"&"ç"&B3', "metin"],
    ["A-3", 7, "=B4>5", None, (None, "0.00")],
    ["A-4", 1234567.891, "=B5<0", (None, "0.00"), (None, "0.00")],
    ["A-5", 100000000, "=1/0", "=NA()"],
    ["A-6", 0.001, '="a"+1', '=""'],
    ["A-7", -0.25, '=REPT("ğ";300)', '=REPT("x";9000)'],
    ["A-8", 3e15, "=SUM(B2:B8)", '=B9&""'],
])
s.Annotations.insertNew(CellAddress(0, 0, 1), "Bir not")
shape = doc.createInstance("com.sun.star.drawing.RectangleShape")
s.DrawPage.add(shape); shape.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 2000, 1000))
s.Charts.addNewByName("Grafik", Rectangle(1000, 3000, 8000, 5000), (CellRangeAddress(0, 1, 1, 1, 8),), False, False)
doc.Sheets.insertNewByName("Grafik", 1)
doc.Sheets.getByIndex(1).Charts.addNewByName("Yalnız", Rectangle(0, 0, 8000, 5000), (CellRangeAddress(0, 1, 1, 1, 8),), False, False)
save(doc, "formulas_libreoffice.xls")

# Shared strings well past one record, narrow and wide, and texts longer than 16 000 characters.
doc = book()
s = doc.Sheets.getByIndex(0); s.Name = "Metinler"
fill(doc, s, [["Satır %d" % i, "Değer ğüşıöç %d" % (i * 7)] for i in range(1, 900)] +
     [["x" * 17000, ("ğ" + "abc" * 7000)[:20000]]])
save(doc, "strings_libreoffice.xls")

# Dates with and without their time, times of day, and numbers whose format shows no date, in both systems.
for name, null1904 in (("dates1900_libreoffice.xls", False), ("dates1904_libreoffice.xls", True)):
    doc = book(null1904)
    s = doc.Sheets.getByIndex(0); s.Name = "Tarihler"
    day, moment, time = "DD.MM.YYYY", "DD.MM.YYYY HH:MM:SS", "HH:MM:SS"
    fill(doc, s, [
        ["Tarih", "Tarih ve saat", "Saat", "Sayı"],
        [("=DATE(2008;3;5)", day), ("=DATE(2008;3;5)+TIME(14;30;15)", moment), ("=TIME(8;15;0)", time),
         (39512.5, "0.00")],
        [("=DATE(1999;12;31)", day), ("=DATE(2024;2;29)+TIME(23;59;59)", moment), ("=TIME(0;0;1)", time),
         (0.25, "0%")],
        [("=DATE(1904;1;2)", day), ("=DATE(1970;1;1)+TIME(12;0;0)", moment), ("=TIME(12;0;0)", time),
         (1234.5, '#,##0.00 "TL"')],
    ])
    save(doc, name)

for name in ("formulas_libreoffice.xls", "strings_libreoffice.xls", "dates1900_libreoffice.xls", "dates1904_libreoffice.xls"):
    csv(name)

# Excel 95 by Gnumeric in a Turkish locale (so in Windows-1254), from the formulas workbook by way of its
# own format (so that it takes no code page from the .xls), and the same with the Macintosh code page.
subprocess.run(["ssconvert", "%s/formulas_libreoffice.xls" % out, "/tmp/formulas.gnumeric"], check=True)
subprocess.run(["ssconvert", "-T", "Gnumeric_Excel:excel_biff7", "/tmp/formulas.gnumeric", "%s/excel95_gnumeric.xls" % out],
               check=True, env={"LC_ALL": "tr_TR.UTF-8", "PATH": "/usr/bin:/bin"})
data = bytearray(open("%s/excel95_gnumeric.xls" % out, "rb").read())
at = data.find(b"\x42\x00\x02\x00")
data[at + 4:at + 6] = (10000).to_bytes(2, "little")
open("%s/excel95_mac_gnumeric.xls" % out, "wb").write(data)
csv("excel95_gnumeric.xls"); csv("excel95_mac_gnumeric.xls")
