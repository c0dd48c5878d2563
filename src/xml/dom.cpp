#include "xml/dom.h"

#include "frame/errors.h"
#include "frame/messages.h"

#include <orvdocs/platform/combase.h>

namespace orv::xml {

ComPtr<IXMLDOMDocument> NewXmlDocument() {
    ComPtr<IXMLDOMDocument> xml;
    Check(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                           reinterpret_cast<void**>(xml.GetAddressOf())),
          IID_IXMLDOMDocument);
    if (!xml) throw ComError{E_POINTER, IID_IXMLDOMDocument};
    return xml;
}

HRESULT CreateXmlDocument(REFCLSID clsid, ComPtr<IXMLDOMDocument>* dom) noexcept {
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(dom->ReleaseAndGetAddressOf()));
    if (SUCCEEDED(hr) && !*dom) hr = E_POINTER;
    if (FAILED(hr)) return ReportWithMessage(clsid, IDS_XML_CONNECT, IID_IXMLDOMDocument, hr);
    return S_OK;
}

}  // namespace orv::xml
