"""Failed calls raise orvdocs.com_error with the fields of the failure; unknown names raise AttributeError."""
import pytest

import orvdocs
from orvdocs.client import Dispatch
from orvdocs.host import open_store

DISP_E_EXCEPTION = -2147352567
DISP_E_TYPEMISMATCH = -2147352571
DISP_E_BADPARAMCOUNT = -2147352562
E_INVALIDARG = -2147024809


@pytest.fixture
def doc():
    return Dispatch("OrvDocs.OrvDocument")


class TestComError:
    def test_a_member_that_fails_reports_through_excepinfo(self, doc):
        with pytest.raises(orvdocs.com_error) as err:
            doc.Dcms(99)
        e = err.value
        assert e.hresult == DISP_E_EXCEPTION
        assert e.args == (e.hresult, e.strerror, e.excepinfo, e.argerror)
        assert isinstance(e.strerror, str) and e.strerror
        wcode, source, description, helpfile, helpcontext, scode = e.excepinfo
        assert scode == E_INVALIDARG  # signed, as scripts compare it
        assert source == "OrvDocs.OrvDocument.1"
        assert "2" in description  # the text names the valid range
        assert (wcode, helpfile, helpcontext) == (0, None, 0)
        assert e.argerror is None

    def test_a_failed_put_leaves_the_value(self, doc):
        doc.SetDcms(1, 5)
        with pytest.raises(orvdocs.com_error):
            doc.SetDcms(3, 6)
        assert doc.Dcms(1) == 5

    def test_a_type_mismatch_names_the_scripts_argument(self, doc):
        with pytest.raises(orvdocs.com_error) as err:
            doc.Dcms("first")
        assert err.value.hresult == DISP_E_TYPEMISMATCH
        assert err.value.excepinfo is None
        assert err.value.argerror == 0
        with pytest.raises(orvdocs.com_error) as err:
            doc.SetDcms(1, "not money")
        assert err.value.hresult == DISP_E_TYPEMISMATCH
        assert err.value.argerror == 1  # the new value comes after the index
        store = open_store(":memory:")
        with pytest.raises(orvdocs.com_error) as err:
            store.NewDocument(1, "seven")
        assert (err.value.hresult, err.value.argerror) == (DISP_E_TYPEMISMATCH, 1)

    def test_a_wrong_count_of_arguments(self, doc):
        with pytest.raises(orvdocs.com_error) as err:
            doc.Dcms(1, 2, 3)
        assert err.value.hresult == DISP_E_BADPARAMCOUNT
        assert err.value.argerror is None

    def test_unknown_classes_fail_with_the_runtimes_status(self):
        for name in ("OrvDocs.NoSuchClass", "{00000000-0000-0000-0000-000000000001}"):
            with pytest.raises(orvdocs.com_error) as err:
                Dispatch(name)
            assert -2**31 <= err.value.hresult < 0
            assert err.value.excepinfo is None

    def test_a_refused_store_file_says_which_file(self, tmp_path):
        bad = tmp_path / "notes.txt"
        bad.write_text("not a store")
        with pytest.raises(orvdocs.com_error) as err:
            open_store(bad)
        assert err.value.excepinfo is not None
        assert "notes.txt" in err.value.excepinfo[2]
        assert err.value.excepinfo[5] == err.value.hresult


class TestUnknownNames:
    def test_get_set_and_call(self, doc):
        with pytest.raises(AttributeError):
            doc.NoSuchMember
        with pytest.raises(AttributeError):
            doc.NoSuchMember = 1
        with pytest.raises(AttributeError):
            doc.SetNoSuchMember(1, 2)
        assert not hasattr(doc, "lDcTyp")
        assert hasattr(doc, "LDCTYPE")

    def test_set_of_a_method_is_not_a_put(self, doc):
        with pytest.raises(AttributeError):
            doc.SetUpdate(1)
