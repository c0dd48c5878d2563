"""Late binding in the manner of win32com.client.

``Dispatch(progid_or_clsid)`` creates an object and returns a ``CDispatch``:
properties are attributes (``doc.lDcType = 7``), methods are called with
positional arguments, a property with arguments is read by calling it
(``doc.Dcms(1)``) and put with the ``Set`` prefix (``doc.SetDcms(1, value)``);
out-parameters come back as the result (a tuple when several).
"""
from . import _core

# Members whose BSTR carries bytes rather than text: they are read as ``bytes``.
# The type information describes both as VT_BSTR, so the package names them.
# Any ``bytes`` value put is passed as a byte string, whatever the member.
BYTE_STRING_MEMBERS = ("DocRecord", "Body")

_core._set_byte_members(BYTE_STRING_MEMBERS)

CDispatch = _core.CDispatch


def Dispatch(progid_or_clsid):
    """Creates the object named by a ProgID or a CLSID text ("{...}") and wraps it."""
    if isinstance(progid_or_clsid, CDispatch):
        return progid_or_clsid
    return _core.Dispatch(str(progid_or_clsid))


def DispatchEx(progid_or_clsid, *_ignored):
    """As Dispatch (every object is in-process)."""
    return Dispatch(progid_or_clsid)


__all__ = ["Dispatch", "DispatchEx", "CDispatch", "BYTE_STRING_MEMBERS"]
