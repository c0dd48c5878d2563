#include "xml/dom.h"

#include "frame/errors.h"

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

}  // namespace orv::xml
