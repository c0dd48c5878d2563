"""Properties, properties with arguments, methods and their out-parameters."""
import datetime
from decimal import Decimal

import pytest

from orvdocs.client import CDispatch, Dispatch
from orvdocs.host import PROGIDS, open_store


@pytest.fixture
def doc():
    return Dispatch("OrvDocs.OrvDocument")


class TestProperties:
    def test_names_match_in_any_case(self, doc):
        doc.LDCTYPE = 41
        assert doc.ldctype == 41 and doc.lDcType == 41

    def test_indexed_get_and_set_keep_each_index(self, doc):
        values = [Decimal("1.5"), Decimal("-2.25"), Decimal("1000000")]
        for i, v in enumerate(values):
            doc.SetDcms(i, v)
        assert [doc.Dcms(i) for i in range(3)] == values

    def test_the_set_prefix_is_case_sensitive_as_in_win32com(self, doc):
        with pytest.raises(AttributeError):
            doc.setDcms(0, 1)

    def test_a_plain_property_can_be_put_with_set_too(self, doc):
        doc.SetlDcType(7)
        assert doc.lDcType == 7

    def test_an_object_property_is_a_plain_put(self, doc):
        store = open_store(":memory:")
        doc.OrvBD = store
        assert doc.OrvBD == store
        doc.OrvBD = open_store(":memory:")
        assert doc.OrvBD != store


class TestMethods:
    def test_one_out_parameter_is_the_result(self):
        store = open_store(":memory:")
        first, second = store.OpenPipe(), store.OpenPipe()
        assert isinstance(first, int) and second == first + 1

    def test_several_out_parameters_are_a_tuple(self):
        store = open_store(":memory:")
        pipe = store.OpenPipe()
        doc = store.NewDocument(pipe, 7)
        result = doc.GetDocExtension(pipe)
        assert isinstance(result, tuple) and len(result) == 2
        ext, code = result
        assert isinstance(ext, CDispatch) and isinstance(code, int)

    def test_out_parameters_may_be_given_as_placeholders(self):
        store = open_store(":memory:")
        pipe = store.OpenPipe()
        doc = store.NewDocument(pipe, 7)
        ext, code = doc.GetDocExtension(pipe, None, None)
        assert ext.Length == doc.GetDocExtension(pipe)[0].Length

    def test_a_method_without_arguments_is_called(self):
        store = open_store(":memory:")
        pipe = store.OpenPipe()
        doc = store.NewDocument(pipe, 7)
        doc.dtDn = datetime.date(2025, 3, 1)
        doc.Update(pipe)
        assert doc.DB_ADDR > 0
        again = store.GetDocument(pipe, doc.DB_ADDR)
        assert again.dtDn == datetime.datetime(2025, 3, 1)
        assert store.GetDocument(pipe, doc.DB_ADDR + 100) is None


class TestCreation:
    def test_by_clsid_text_and_by_progid_give_the_same_class(self):
        for progid, clsid in PROGIDS.items():
            a, b = Dispatch(progid), Dispatch(clsid)
            assert a._interface_name == b._interface_name

    def test_host_components_by_progid(self):
        dates = Dispatch("OrvHost.DateService")
        assert isinstance(dates, CDispatch)
        items = Dispatch("orvhost.unknownlist")
        items.Add(Dispatch("OrvHost.RefItem"))
        assert items.Count == 1

    def test_a_wrapper_passes_through_dispatch(self, doc):
        assert Dispatch(doc) is doc


def test_a_registry_file_is_written_once_and_then_used(tmp_path):
    import os
    import subprocess
    import sys
    registry = tmp_path / "registry.file"
    env = dict(os.environ, ORVDOCS_REGISTRY=str(registry))
    script = ("import orvdocs\nfrom orvdocs.client import Dispatch\n"
              "print(Dispatch('OrvDocs.OrvDocument')._interface_name)")
    outs = []
    for _ in range(2):
        done = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True)
        assert done.returncode == 0, done.stderr
        outs.append((done.stdout, registry.stat().st_mtime_ns))
    assert outs[0][0] == outs[1][0] == "IOrvDocumentDisp\n"
    assert outs[0][1] == outs[1][1]  # the second process registered nothing
