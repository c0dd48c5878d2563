"""Builds a sample store: the repository's reference data and employees, a loan and a sick leave.

    python3 make_sample_store.py STORE_FILE [DATA_DIR]

DATA_DIR is the folder holding reference.xml and employees.xml (default: the
repository's data/store). An existing file is replaced.
"""
import datetime
import os
import sys
from decimal import Decimal

import orvdocs
from orvdocs.client import Dispatch
from orvdocs.host import import_text, open_store

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_DATA = os.path.join(HERE, "..", "..", "data", "store")

LOAN = 301
SICK_LEAVE = 21


def new_document(store, pipe, kind, start, end, memo):
    doc = store.NewDocument(pipe, kind)
    doc.dtDn = start
    doc.dtDk = end
    doc.Memo = memo
    return doc


def add_loan(store, pipe):
    doc = new_document(store, pipe, LOAN, datetime.date(2025, 1, 1), datetime.date(2026, 12, 31),
                       "Заём на покупку жилья")
    doc.Dcsum1 = Decimal("600000.00")
    loan = doc.GetSpecificObj()
    loan.InitFromExtension()
    loan.SetLoaned(datetime.date(2025, 1, 1), Decimal("400000.00"))
    loan.SetLoaned(datetime.date(2025, 7, 1), Decimal("200000.00"))
    for month in range(2, 13):
        loan.SetRemitted(datetime.date(2025, month, 1), Decimal("25000.00"))
    loan.UpdateExtension()
    doc.Update(pipe)
    return doc.DB_ADDR


def add_sick_leave(store, pipe):
    doc = new_document(store, pipe, SICK_LEAVE, datetime.date(2026, 11, 24), datetime.date(2026, 12, 8),
                       "Больничный лист 910123456789")
    doc.lDcdpod = 12
    sheet = doc.GetSpecificObj()
    sheet.CalDaysBased = True
    sheet.StartOfBulleten = True
    sheet.YearsForAverage = "2024 2025"
    sheet.MedicalInstitution = "Городская поликлиника № 3"
    sheet.DoctorFIO = "Сидорова Анна Викторовна"

    protocol = Dispatch("OrvDocs.OrvBLDocProtocol")
    protocol.Number = "910123456789"
    protocol.SType = 12
    protocol.Dn = datetime.date(2026, 11, 24)
    protocol.Dk = datetime.date(2026, 12, 8)
    protocol.BlUsedDays = 15
    protocol.BlUsedProcent = 80
    protocol.FirstFactSredn = Decimal("1972.60")
    for year, earned, limit in ((2024, "690000.00", "2225000.00"), (2025, "750000.00", "2759000.00")):
        item = Dispatch("OrvDocs.OrvBLProtHistoryItem")
        item.Year = year
        item.Month = datetime.date(year, 1, 1)
        item.SumForSredn = Decimal(earned)
        item.YearLimit = Decimal(limit)
        protocol.AddHistoryItem(item)
    protocol.HistoryCount = 2
    total = Decimal(0)
    for month, days, company, amount in ((11, 7, 3, "11046.56"), (12, 8, 0, "12624.64")):
        item = Dispatch("OrvDocs.OrvBlProtPayMonthItem")
        item.Month = datetime.date(2026, month, 1)
        item.Days = days
        item.CompanyDays = company
        item.Sum = Decimal(amount)
        protocol.AddPayMonthItem(item)
        total += Decimal(amount)
    protocol.PayMonthCount = 2
    protocol.TotBlSum = total
    sheet.BlProtocol = protocol
    sheet.UpdateExtension()
    doc.Update(pipe)
    return doc.DB_ADDR


def main(path, data_dir=DEFAULT_DATA):
    if os.path.exists(path):
        os.remove(path)
    store = open_store(path)
    for name in ("reference.xml", "employees.xml"):
        with open(os.path.join(data_dir, name), encoding="utf-8") as f:
            import_text(store, f.read())
    pipe = store.OpenPipe()
    loan = add_loan(store, pipe)
    sick = add_sick_leave(store, pipe)
    store.ClosePipe(pipe)
    print("sample store %s: loan at address %d, sick leave at address %d" % (path, loan, sick))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(*sys.argv[1:3])
