"""Reads the calculation protocol of a stored sick-leave document.

    python3 sick_leave.py STORE_FILE ADDRESS
"""
import sys

import orvdocs  # noqa: F401
from orvdocs.host import open_store


def items(unknown_list):
    unknown_list.Reset()
    while True:
        item = unknown_list.Next()
        if item is None:
            return
        yield item


def day(value):
    return value.strftime("%d.%m.%Y")


def main(path, address):
    store = open_store(path)
    pipe = store.OpenPipe()
    doc = store.GetDocument(pipe, int(address))
    if doc is None:
        sys.exit("nothing stored at address %s" % address)
    doc.InitInnerDocExtension(pipe)
    sheet = doc.GetSpecificObj()
    sheet.InitFromExtension()
    print("%s: issued by %s, doctor %s" % (doc.Memo, sheet.MedicalInstitution, sheet.DoctorFIO))
    p = sheet.BlProtocol
    print("sheet %s, type %d, %s to %s: %d days at %d%%, average %s, benefit %s" % (
        p.Number, p.SType, day(p.Dn), day(p.Dk), p.BlUsedDays, p.BlUsedProcent, p.FirstFactSredn, p.TotBlSum))
    for item in items(p.HistoryList):
        print("  earnings %d: %s (limit %s)" % (item.Year, item.SumForSredn, item.YearLimit))
    for item in items(p.PayMonthList):
        print("  paid %s: %d days (%d by the employer) %s" % (
            item.Month.strftime("%m.%Y"), item.Days, item.CompanyDays, item.Sum))
    store.ClosePipe(pipe)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
