"""Lists an employee's documents of one month from a store.

    python3 list_documents.py STORE_FILE PERSONNEL_NUMBER YYYY-MM
"""
import calendar
import datetime
import sys

import orvdocs  # noqa: F401  (registers the library for this process)
from orvdocs.host import open_store


def documents(store, pipe, employee, first, last):
    found = store.GetDocuments(pipe, employee, 0, first, last)  # 0: every type
    found.Reset()
    while True:
        doc = found.Next()
        if doc is None:
            return
        yield doc


def main(path, tab_num, month):
    year, mon = (int(part) for part in month.split("-"))
    first = datetime.date(year, mon, 1)
    last = datetime.date(year, mon, calendar.monthrange(year, mon)[1])
    store = open_store(path)
    pipe = store.OpenPipe()
    employee = store.FindEmployee(pipe, tab_num)
    if employee is None:
        sys.exit("no employee with personnel number %s" % tab_num)
    print("%s (%s), documents of %02d.%d:" % (employee.FullName, employee.TabNum, mon, year))
    count = 0
    for doc in documents(store, pipe, employee, first, last):
        end = doc.dtDk.strftime("%d.%m.%Y") if doc.dtDk.year > 1899 else "open"
        print("  type %4d  %s - %-10s  %s" % (doc.lDcType, doc.dtDn.strftime("%d.%m.%Y"), end, doc.Memo))
        count += 1
    print("%d documents" % count)
    store.ClosePipe(pipe)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
