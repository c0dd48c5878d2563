// A new document of the DOM service, for the readers and writers of the
// library's XML forms.
#pragma once

#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/msxml.h>

namespace orv::xml {

// Creates an empty DOM document. A failure of the DOM service (or a null
// result) is raised as a ComError naming IXMLDOMDocument.
ComPtr<IXMLDOMDocument> NewXmlDocument();

}  // namespace orv::xml
