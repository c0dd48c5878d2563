"""Wrappers hold their object exactly as long as the script holds the wrapper."""
import gc

import orvdocs
import orvdocs.host
from orvdocs import _core
from orvdocs.client import Dispatch
from orvdocs.host import open_store

S_OK, S_FALSE = 0, 1


def settle():
    gc.collect()
    return _core.dll_can_unload_now()


def test_a_dropped_document_leaves_no_object():
    assert settle() == S_OK
    doc = Dispatch("OrvDocs.OrvDocument")
    assert settle() == S_FALSE
    del doc
    assert settle() == S_OK


def test_bound_methods_results_and_errors_release_their_objects():
    store = open_store(":memory:")
    doc = store.NewDocument(store.OpenPipe(), 21)
    method = doc.Dcms
    specific = doc.GetSpecificObj()
    try:
        doc.Dcms(99)
    except orvdocs.com_error as e:
        kept = e
    del doc, store
    assert settle() == S_FALSE  # the bound method still holds the document
    del method
    assert settle() == S_FALSE  # and the specific object its own
    del specific
    assert settle() == S_OK
    assert kept.hresult < 0


def test_objects_handed_between_objects_and_stores():
    store = open_store(":memory:")
    pipe = store.OpenPipe()
    for _ in range(50):
        doc = store.NewDocument(pipe, 7)
        doc.Update(pipe)
        ext, _ = doc.GetDocExtension(pipe)
    found = store.GetDocuments(pipe, None, 7, None, None)
    assert found.Count == 50
    del doc, ext
    assert settle() == S_FALSE  # the list holds the documents, and the store is alive
    del found, store
    assert settle() == S_OK


def test_a_cycle_through_a_failed_conversion_leaks_nothing():
    doc = Dispatch("OrvDocs.OrvDocument")
    for _ in range(100):
        try:
            doc.SetDcms(1, object())
        except TypeError:
            pass
    del doc
    assert settle() == S_OK


def test_threads_share_a_store_while_calls_run_without_the_interpreter_lock():
    import threading
    store = open_store(":memory:")
    errors = []

    def work():
        try:
            pipe = store.OpenPipe()
            for i in range(200):
                doc = store.NewDocument(pipe, 7)
                doc.lDcId = i
                doc.Update(pipe)
            store.ClosePipe(pipe)
        except Exception as e:  # reported to the main thread
            errors.append(e)

    threads = [threading.Thread(target=work) for _ in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert errors == []
    assert orvdocs.host.document_count(store) == 800
    del store, threads
    assert settle() == S_OK
