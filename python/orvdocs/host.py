"""The host's outside components: the database service and the others by ProgID.

The host components carry no ProgIDs of their own in the registry; the package
knows them by these names (``Dispatch("OrvHost.DateService")``).
"""
from . import _core

#: ProgID -> CLSID text of the host components the package can create.
PROGIDS = _core.host_progids()


def open_store(path):
    """The SQLite database service on a store file (created when missing) or on ":memory:".

    The result can be put into a document's ``OrvBD``.
    """
    return _core.open_store(str(path))


def import_text(store, xml):
    """Loads the store's text form (an ``ORVSTORE`` element) into the store, all or nothing."""
    _core.import_text(store, xml)


def document_count(store):
    """The number of documents the store holds."""
    return _core.document_count(store)


__all__ = ["open_store", "import_text", "document_count", "PROGIDS"]


def dated_option(option_id, values):
    """An option object whose value in force on a date comes from ``values``.

    ``values`` maps the date each value takes effect to the value (a float for
    a percentage such as the central bank rate, a Decimal for an amount); the
    value asked on a date is that of the latest date not after it, None before
    the first. The object answers IOrvDatedOption, as a loan's ``CalcInterest``
    expects.
    """
    return _core.dated_option(int(option_id), dict(values))


__all__.append("dated_option")
