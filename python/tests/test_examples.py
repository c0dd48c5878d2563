"""Every example script, run on the sample store the builder example makes."""
import re
from decimal import Decimal

from conftest import run_example
from orvdocs.host import open_store


def test_an_employees_month(sample_store):
    path, loan, _ = sample_store
    out = run_example("list_documents.py", path, "0001", "2025-11")
    lines = [line for line in out.splitlines() if line.startswith("  type")]
    assert out.splitlines()[0].startswith("Иванов")
    store = open_store(path)
    pipe = store.OpenPipe()
    employee = store.FindEmployee(pipe, "0001")
    import datetime
    found = store.GetDocuments(pipe, employee, 0, datetime.date(2025, 11, 1), datetime.date(2025, 11, 30))
    assert len(lines) == found.Count > 0
    assert "%d documents" % found.Count in out
    assert any("type  301" in line for line in lines)  # the loan, tied to no employee, meets the month


def test_a_loans_interest_for_a_year(sample_store):
    path, loan, _ = sample_store
    out = run_example("loan_interest.py", path, loan, 2025)
    months = re.findall(r"interest +(-?\d+\.\d{4})$", out, re.M)
    assert len(months) == 12
    total = Decimal(re.search(r"interest for the year: (\S+)", out).group(1))
    assert total == sum(Decimal(m) for m in months) > 0


def test_a_sick_leave_protocol(sample_store):
    path, _, sick = sample_store
    out = run_example("sick_leave.py", path, sick)
    assert "910123456789" in out and "Сидорова" in out
    earned = re.findall(r"earnings (\d{4}): (\S+)", out)
    assert [year for year, _ in earned] == ["2024", "2025"]
    paid = [Decimal(s) for s in re.findall(r"paid \d\d\.\d{4}: .* (\S+)$", out, re.M)]
    benefit = Decimal(re.search(r"benefit (\S+)", out).group(1))
    assert len(paid) == 2 and sum(paid) == benefit


def test_a_bad_address_is_reported(sample_store):
    import subprocess
    import sys
    import os
    from conftest import EXAMPLES
    done = subprocess.run([sys.executable, os.path.join(EXAMPLES, "sick_leave.py"), sample_store[0], "999"],
                          capture_output=True, text=True)
    assert done.returncode != 0 and "999" in done.stderr
