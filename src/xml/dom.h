// A new document of the DOM service, for the readers and writers of the
// library's XML forms.
#pragma once

#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/msxml.h>

namespace orv::xml {

// Creates an empty DOM document. A failure of the DOM service (or a null
// result) is raised as a ComError naming IXMLDOMDocument.
ComPtr<IXMLDOMDocument> NewXmlDocument();

// Creates an empty DOM document for an object's own XML form. A failure is
// reported with message 117 as coming from the class clsid and returned; call
// it without holding the object's lock.
HRESULT CreateXmlDocument(REFCLSID clsid, ComPtr<IXMLDOMDocument>* dom) noexcept;

}  // namespace orv::xml
