"""OrvDocs for Python: the library's automation objects, late-bound.

Importing the package registers the library's classes and the host's outside
components for this process (with ORVDOCS_REGISTRY naming a registry file that
already holds the classes, that file is used as it is)::

    from orvdocs.client import Dispatch
    doc = Dispatch("OrvDocs.OrvDocument")
"""
from . import _core


class com_error(Exception):
    """A failed call: the status, its text, the member's error report and the failing argument.

    ``hresult`` is a signed 32-bit int (E_INVALIDARG is -2147024809);
    ``excepinfo`` is ``(wcode, source, description, helpfile, helpcontext, scode)``
    when the member raised an exception (DISP_E_EXCEPTION), else None;
    ``argerror`` the number of the script's argument that failed to convert, else None.
    """

    def __init__(self, hresult, strerror, excepinfo=None, argerror=None):
        super().__init__(hresult, strerror, excepinfo, argerror)
        self.hresult = hresult
        self.strerror = strerror
        self.excepinfo = excepinfo
        self.argerror = argerror

    def __str__(self):
        text = "(%d, %r, %r, %r)" % (self.hresult, self.strerror, self.excepinfo, self.argerror)
        return text


_core._set_error_class(com_error)

from . import client  # noqa: E402  (sets the byte-string members before any object is made)

_core.initialize()

from . import host  # noqa: E402

__all__ = ["client", "host", "com_error"]
