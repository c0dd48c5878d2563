"""Late-bound property reads through the Python package, to set beside bench_dispatch.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_dispatch.py [--repeat 5] [--number 200000]

Reads the host reference item's Kind (a LONG) and Name (a BSTR), as
bench_dispatch's DispatchGetLong and DispatchGetString do from C++ with the
dispatch identifier looked up once. Prints the median time per read over the
repeats, both in processor time (as Google Benchmark's CPU column) and in
wall-clock time, one thread.
"""
import argparse
import statistics
import time
import timeit

import orvdocs  # noqa: F401
from orvdocs.client import Dispatch


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--number", type=int, default=200000)
    args = parser.parse_args()

    item = Dispatch("OrvHost.RefItem")
    item.Kind = 4
    item.Name = "Тверь"
    doc = Dispatch("OrvDocs.OrvDocument")
    doc.SetDcms(1, 5)

    class Plain:
        Kind = 4

    plain = Plain()
    cases = [
        ("python attribute of a plain object (reference)", lambda: plain.Kind),
        ("item.Kind (LONG) through the wrapper", lambda: item.Kind),
        ("item.Name (BSTR) through the wrapper", lambda: item.Name),
        ("doc.Dcms(1) (indexed CY) through the wrapper", lambda: doc.Dcms(1)),
    ]
    print("%-50s %10s %10s" % ("read", "CPU", "wall"))
    for title, fn in cases:
        cpu = timeit.repeat(fn, repeat=args.repeat, number=args.number, timer=time.process_time)
        wall = timeit.repeat(fn, repeat=args.repeat, number=args.number)
        print("%-50s %7.1f ns %7.1f ns" % (title, statistics.median(cpu) / args.number * 1e9,
                                          statistics.median(wall) / args.number * 1e9))


if __name__ == "__main__":
    main()
