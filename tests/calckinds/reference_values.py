#!/usr/bin/env python3
"""Independent reckoning of the expected figures in the calculating-kind tests.

Run it with python3; it prints each figure that a test states as a constant.
It repeats the arithmetic in IEEE double (Python's float) and single precision
(struct round trip) in the order the rules state, on raw currency units
(value x 10000), without any of the library's code.
"""
import datetime
import struct

def f32(x):
    return struct.unpack('f', struct.pack('f', x))[0]

def trunc(x):
    return int(x)  # toward zero

def round_hundredths(raw):
    q = abs(raw) // 100 * (1 if raw >= 0 else -1)
    r = abs(raw) % 100
    if r >= 50:
        q += 1 if raw >= 0 else -1
    return q * 100

def ole(y, m, d):
    return (datetime.date(y, m, d) - datetime.date(1899, 12, 30)).days

# ---------------------------------------------------------------- piece work
def premium(q, price, c):
    return trunc(float(f32(f32(float(q * price)) * f32(c))) + 0.5)

print('XL example', 2 * 125000 + premium(3, 125000, 1.5))
print('XL half up', premium(1, 1, 0.5), premium(1, -1, 0.5), premium(1, -3, 0.5))
print('XL float step', premium(1000000, 123457, 1.0), 1000000 * 123457)
print('XL coeff 1.15 x 7 x 99.9999', premium(7, 999999, 1.15))

# ---------------------------------------------------------------- loan
def tranche(amount, rate_percent, days):
    return trunc(float(amount) * (rate_percent / 100.0) * 3.0 * 0.25 * days / 365.0)

days_mar = ole(2024, 4, 1) - ole(2024, 3, 1)
a = tranche(1000000000, 16.0, days_mar)
print('ZM one loan', days_mar, a, round_hundredths(a))
days_feb = ole(2024, 3, 1) - ole(2024, 2, 1)
b = tranche(300000000, 10.0, days_feb) + tranche(500000000, 8.0, days_feb)
print('ZM two rates', days_feb, b, round_hundredths(b))
days_feb23 = ole(2023, 3, 1) - ole(2023, 2, 1)
c = tranche(500000000, 8.0, days_feb23)
print('ZM Feb 2023', days_feb23, c, round_hundredths(c))
# rest beyond the loans: loan 20000.00 in March 2002 and a repayment of -5000.00
# in May 2003 give a debt of 25000.00, charged whole at 20 % in July 2003.
days_jul = ole(2003, 8, 1) - ole(2003, 7, 1)
d = tranche(250000000, 20.0, days_jul)
print('ZM rest', days_jul, d, round_hundredths(d))
# the repayment of the month itself is not subtracted: 100000.00 lent in Jan
# 2024, 10000.00 repaid in Feb, 10000.00 in Mar: March's interest is on 90000.00
e = tranche(900000000, 16.0, days_mar)
print('ZM excluded month', e, round_hundredths(e))
# a negative loan (a correction) in the later tranche is carried, not dropped:
# 50000.00 lent in Jan 2024 at 8 %, -10000.00 in Feb at 10 %: 40000.00 at 8 %
g = tranche(400000000, 8.0, days_feb)
print('ZM negative loan carried', g, round_hundredths(g))
# a rate change inside the month (16 % to 18 % on 15 June 2024): the loan of
# 1 June is charged at the rate of its own month's key, 16 %, for 30 days
days_jun = ole(2024, 7, 1) - ole(2024, 6, 1)
h = tranche(1000000000, 16.0, days_jun)
print('ZM rate change inside the month', days_jun, h, round_hundredths(h))
# a twelfth of Dcsum1 by the currency-by-factor rule
for raw in (12000000, 12600, 1000000, 10):
    print('ZM twelfth', raw, round_hundredths(trunc(float(raw) * (1.0 / 12.0))))
# a debt whose interest lands exactly on half a hundredth
for amount in range(1000000, 2000000):
    v = tranche(amount, 73.0, 30)
    if v % 100 == 50:
        print('ZM half', amount, v, round_hundredths(v))
        break

# ---------------------------------------------------------------- salary grade
def scaled(a, f):
    x = float(a) * f
    w = int(x + 0.5) if x >= 0 else -int(-x + 0.5)
    return round_hundredths(w)

print('OK tariff', trunc(float(100000000) * (float(12345) * 0.0001) + 0.5))
print('OK scaled 0.75', scaled(123456789, (10000 - 2500) / 10000.0))
print('OK scaled 1.0', scaled(12350, 1.0), scaled(-12350, 1.0), scaled(12349, 1.0))
print('OK scaled 1.5', scaled(12345, 1.5))
print('OK scaled small', scaled(1, 0.5), scaled(49, 1.0), scaled(50, 1.0), scaled(-50, 1.0))
print('OK scaled large', scaled((2**63 - 1) // 4, 2.0))

# ---------------------------------------------------------------- timesheet
# Weekdays (Monday to Friday) and Saturdays of months of 28 to 31 days.
import calendar
for y, m in ((2023, 2), (2024, 2), (2024, 4), (2024, 3), (2024, 1)):
    n = calendar.monthrange(y, m)[1]
    wd = sum(1 for d in range(1, n + 1) if datetime.date(y, m, d).weekday() < 5)
    sat = sum(1 for d in range(1, n + 1) if datetime.date(y, m, d).weekday() == 5)
    print('TC month', y, m, n, 'days', wd, 'weekdays', sat, 'saturdays')
