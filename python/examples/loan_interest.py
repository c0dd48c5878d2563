"""Computes a loan's interest month by month for a year at the central bank rate.

    python3 loan_interest.py STORE_FILE LOAN_ADDRESS YEAR
"""
import datetime
import sys
from decimal import Decimal

import orvdocs  # noqa: F401
from orvdocs.host import dated_option, open_store

# The central bank rate (percent) from each date on.
CENTRAL_BANK_RATE = {
    datetime.date(2024, 10, 28): 21.0,
    datetime.date(2025, 6, 9): 20.0,
    datetime.date(2025, 7, 28): 18.0,
    datetime.date(2025, 9, 15): 17.0,
}


def main(path, address, year):
    year = int(year)
    store = open_store(path)
    pipe = store.OpenPipe()
    doc = store.GetDocument(pipe, int(address))
    if doc is None:
        sys.exit("nothing stored at address %s" % address)
    doc.InitInnerDocExtension(pipe)
    loan = doc.GetSpecificObj()
    loan.InitFromExtension()
    rate = dated_option(1, CENTRAL_BANK_RATE)
    print("%s, interest for %d:" % (doc.Memo, year))
    total = Decimal(0)
    for month in range(1, 13):
        first = datetime.date(year, month, 1)
        interest = loan.CalcInterest(first, rate)
        total += interest
        print("  %02d.%d  debt %14s  interest %10s" % (month, year, loan.Debt(first), interest))
    print("interest for the year: %s" % total)
    store.ClosePipe(pipe)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
