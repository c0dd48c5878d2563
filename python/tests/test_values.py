"""The value mapping between Python and automation values, in both directions, at its edges."""
import datetime
from decimal import Decimal

import pytest

from orvdocs.client import CDispatch, Dispatch
from orvdocs.host import dated_option, open_store

CY_MAX = Decimal("922337203685477.5807")
CY_MIN = Decimal("-922337203685477.5808")


@pytest.fixture
def doc():
    return Dispatch("OrvDocs.OrvDocument")


@pytest.fixture
def protocol():
    # Its currency, date and double properties keep the full automation values
    # (a document's record fields have the record's own narrower widths).
    return Dispatch("OrvDocs.OrvBLDocProtocol")


@pytest.fixture
def item():
    return Dispatch("OrvHost.RefItem")


class TestCurrency:
    @pytest.mark.parametrize("value", [CY_MAX, CY_MIN, Decimal("-0.0001"), Decimal("0.0001"), Decimal(0),
                                       Decimal("12345.6789")])
    def test_round_trip_is_exact(self, protocol, value):
        protocol.TotBlSum = value
        back = protocol.TotBlSum
        assert isinstance(back, Decimal)
        assert back == value
        assert back.as_tuple().exponent == -4

    @pytest.mark.parametrize("value", [CY_MAX + Decimal("0.0001"), CY_MIN - Decimal("0.0001"),
                                       Decimal("1e20"), Decimal("NaN"), Decimal("Infinity")])
    def test_outside_the_range_is_refused_before_the_call(self, protocol, value):
        protocol.TotBlSum = Decimal(7)
        with pytest.raises(ValueError):
            protocol.TotBlSum = value
        assert protocol.TotBlSum == Decimal(7)

    def test_a_fifth_decimal_rounds_half_to_even(self, protocol):
        for given, kept in (("0.00005", "0.0000"), ("0.00015", "0.0002"), ("-2.71825", "-2.7182")):
            protocol.TotBlSum = Decimal(given)
            assert protocol.TotBlSum == Decimal(kept)

    def test_the_scripts_decimal_context_plays_no_part(self, protocol):
        import decimal
        with decimal.localcontext() as ctx:
            ctx.prec = 6
            ctx.rounding = decimal.ROUND_DOWN
            protocol.TotBlSum = CY_MAX
            protocol.TotBlSum = Decimal("1.00005")
            assert protocol.TotBlSum == Decimal("1.0000")
            protocol.TotBlSum = Decimal("1.00015")
            assert protocol.TotBlSum == Decimal("1.0002")
            protocol.TotBlSum = CY_MIN
        assert protocol.TotBlSum == CY_MIN

    def test_int_and_float_are_converted_by_the_object(self, protocol):
        protocol.TotBlSum = 15
        assert protocol.TotBlSum == Decimal(15)
        protocol.TotBlSum = 0.5
        assert protocol.TotBlSum == Decimal("0.5")


class TestDates:
    @pytest.mark.parametrize("value", [
        datetime.datetime(1899, 12, 30),              # the zero date
        datetime.datetime(1899, 12, 29, 6, 0),        # the day before, with a time
        datetime.datetime(1850, 3, 15, 23, 59, 59),
        datetime.datetime(1601, 1, 1, 12, 0),
        datetime.datetime(100, 1, 1),
        datetime.datetime(2025, 11, 17, 13, 45, 30),
        datetime.datetime(9999, 12, 31, 23, 59, 59),
    ])
    def test_round_trip(self, protocol, value):
        protocol.Dn = value
        back = protocol.Dn
        assert type(back) is datetime.datetime and back.tzinfo is None
        assert back == value

    def test_a_date_is_midnight(self, protocol):
        protocol.Dn = datetime.date(1812, 9, 7)
        assert protocol.Dn == datetime.datetime(1812, 9, 7)

    def test_before_the_zero_date_days_count_down_and_the_time_up(self, protocol):
        # The automation date's own scale, seen through a double property.
        cases = {datetime.datetime(1899, 12, 29, 6): -1.25, datetime.datetime(1899, 12, 30, 18): 0.75,
                 datetime.datetime(1899, 12, 28, 18): -2.75, datetime.datetime(1900, 1, 1, 12): 2.5}
        for value, scale in cases.items():
            protocol.UsedProcent = value
            assert protocol.UsedProcent == scale
            protocol.UsedProcent = scale
            protocol.Dn = protocol.UsedProcent
            assert protocol.Dn == value

    def test_milliseconds_are_kept(self, protocol):
        protocol.Dn = datetime.datetime(2024, 2, 29, 10, 11, 12, 345000)
        assert protocol.Dn == datetime.datetime(2024, 2, 29, 10, 11, 12, 345000)

    def test_an_aware_date_time_is_refused(self, protocol):
        with pytest.raises(ValueError):
            protocol.Dn = datetime.datetime(2025, 1, 1, tzinfo=datetime.timezone.utc)


class TestText:
    @pytest.mark.parametrize("value", ["", "Тверь", "𝄞 music, 😀 face", "a\x00b", "\U0010FFFF", "x" * 10000])
    def test_round_trip(self, item, value):
        item.Name = value
        assert item.Name == value

    def test_a_lone_surrogate_survives(self, item):
        item.Name = "\ud83d-"
        assert item.Name == "\ud83d-"

    def test_a_document_memo_keeps_its_code_page(self, doc):
        # The memo lives in the record in code page 866: Cyrillic stays, other scripts do not.
        doc.Memo = "Аванс"
        assert doc.Memo == "Аванс"


class TestNumbersAndFlags:
    def test_long_edges(self, item):
        for value in (2**31 - 1, -2**31, 0):
            item.Kind = value
            assert item.Kind == value

    def test_a_long_overflow_is_a_com_error_and_a_huge_int_a_value_error(self, item):
        import orvdocs
        with pytest.raises(orvdocs.com_error) as err:
            item.Kind = 2**31
        assert err.value.argerror == 0
        with pytest.raises(ValueError):
            item.Kind = 2**70

    def test_bool(self, protocol):
        for value in (True, False):
            protocol.CalcInDays = value
            assert protocol.CalcInDays is value

    def test_float(self, protocol):
        for value in (0.8, -1e300, 5e-324):
            protocol.UsedProcent = value
            assert protocol.UsedProcent == value

    def test_an_unsupported_type_is_a_type_error(self, doc):
        with pytest.raises(TypeError):
            doc.lDcType = [1]


class TestBytesObjectsAndEmpty:
    def test_the_record_is_bytes_and_goes_back(self, doc):
        record = doc.DocRecord
        assert isinstance(record, bytes) and len(record) == 304
        doc.lDcType = 301
        changed = doc.DocRecord
        assert changed != record
        doc.DocRecord = record
        assert doc.lDcType != 301 and doc.DocRecord == record

    def test_an_extension_body_keeps_odd_lengths_and_any_byte(self):
        store = open_store(":memory:")
        doc = store.NewDocument(store.OpenPipe(), 7)
        ext, _ = doc.GetDocExtension(1)
        for body in (b"", b"\x01", bytes(range(256)), b"\x00\xff\x00"):
            ext.Body = body
            assert ext.Body == body

    def test_objects_come_back_as_wrappers_of_the_same_object(self, doc):
        store = open_store(":memory:")
        doc.OrvBD = store
        assert isinstance(doc.OrvBD, CDispatch)
        assert doc.OrvBD == store
        assert hash(doc.OrvBD) == hash(store)

    def test_empty_is_none(self):
        rate = dated_option(3, {datetime.date(2025, 1, 1): 21.0, datetime.date(2025, 6, 9): Decimal("20.5")})
        assert rate.Value(datetime.date(2024, 12, 31)) is None
        assert rate.Value(datetime.date(2025, 3, 1)) == 21.0
        assert rate.Value(datetime.date(2025, 6, 9)) == Decimal("20.5")
        assert rate.Id == 3
