// The generic document's life: construction with its extension, destruction,
// and the database service it is connected to.
#include "document/OrvDocument.h"

#include "document/OrvDocExtension.h"
#include "frame/messages.h"

namespace orv {

HRESULT OrvDocument::FinalConstruct() {
    record_.Clear();
    dbAddr_ = 0;
    return CreateInstance<OrvDocExtension>(ControllingUnknown(), IID_IUnknown,
                                           reinterpret_cast<void**>(extension_.ReleaseAndGetAddressOf()));
}

void OrvDocument::FinalRelease() {
    dates_.Reset();
    collectors_.clear();
    position_ = collectors_.end();
    database_.Reset();
    extension_.Reset();
}

HRESULT OrvDocument::get_OrvBD(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    bool missing = false;
    HRESULT hr = Locked([&] {
        if (!database_) {
            missing = true;
            return E_UNEXPECTED;
        }
        return database_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pVal));
    });
    if (missing) ReportError(CLSID_OrvDocument, IDS_NO_DATABASE, 0, nullptr, IID_NULL, 0);
    return hr;
}

HRESULT OrvDocument::put_OrvBD(IUnknown* newVal) {
    // The service is kept through its main interface; a value without it
    // leaves the document unconnected.
    ComPtr<IOrvDatabase> database;
    if (newVal) newVal->QueryInterface(IID_IOrvDatabase, reinterpret_cast<void**>(database.GetAddressOf()));
    return LockedPut([&] { database_.Swap(database); });
}

}  // namespace orv
