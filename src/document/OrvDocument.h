// The generic payroll document.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvDocument
    : public CoClass<OrvDocument, &CLSID_OrvDocument, Pending<IOrvDocument>, ISupportErrorInfo,
                     Aggregated<IOrvDocExtension>, IDispatch, Pending<IOrvDocumentDisp>, Pending<IOrvObjAsXmlString>> {
public:
    // Creates the document's extension object, aggregated with the document.
    HRESULT FinalConstruct();
    IUnknown* InnerUnknown(REFIID) noexcept { return extension_.Get(); }

private:
    ComPtr<IUnknown> extension_;  // the extension's own (inner) IUnknown
};

}  // namespace orv
