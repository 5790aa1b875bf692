# Reads an .xlsx with openpyxl, a reader independent of the writer, and prints
# what each sheet holds: one line per sheet, then one line per non-empty cell.
#   foglio <TAB> name <TAB> frozen-cell <TAB> title property
#   cella <TAB> row <TAB> col <TAB> n|s|d <TAB> value <TAB> number format <TAB> bold
import sys
import openpyxl

libro = openpyxl.load_workbook(sys.argv[1])
for ws in libro.worksheets:
    print("foglio", ws.title, ws.freeze_panes or "", libro.properties.title or "", sep="\t")
    for riga in ws.iter_rows():
        for c in riga:
            if c.value is None:
                continue
            if c.is_date:
                tipo, valore = "d", c.value.strftime("%d/%m/%Y")
            elif isinstance(c.value, (int, float)):
                tipo, valore = "n", repr(float(c.value))
            else:
                tipo, valore = "s", c.value.replace("\t", " ").replace("\n", " ")
            print("cella", c.row, c.column, tipo, valore, c.number_format, int(bool(c.font.b)), sep="\t")
