// The document extension: the extension object itself, and the document's
// operations that fill it from, and store it through, the database service.
#include "document/OrvDocExtension.h"
#include "document/OrvDocument.h"

#include "frame/messages.h"

namespace orv {

// ------------------------------------------------------- the extension object

void OrvDocExtension::FinalRelease() {
    SysFreeString(body_);
    body_ = nullptr;
}

HRESULT OrvDocExtension::get_Length(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = length_;
        return S_OK;
    });
}

HRESULT OrvDocExtension::put_Length(LONG newVal) {
    return Locked([&] {
        length_ = newVal;
        return S_OK;
    });
}

HRESULT OrvDocExtension::get_Body(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        UINT bytes = SysStringByteLen(body_);
        *pVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(body_), bytes);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvDocExtension::put_Body(BSTR newVal) {
    UINT bytes = SysStringByteLen(newVal);
    BSTR copy = nullptr;
    if (bytes > 0) {
        copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(newVal), bytes);
        if (!copy) return E_OUTOFMEMORY;
    }
    return Locked([&] {
        SysFreeString(body_);
        body_ = copy;
        length_ = static_cast<LONG>(bytes);
        return S_OK;
    });
}

HRESULT OrvDocExtension::Clear() {
    return Locked([&] {
        SysFreeString(body_);
        body_ = nullptr;
        length_ = 0;
        return S_OK;
    });
}

// ------------------------------------------------- the document's operations

ComPtr<IOrvDocExtension> OrvDocument::Extension() {
    ComPtr<IOrvDocExtension> extension;
    if (!extension_) throw ComError{E_NOINTERFACE, IID_IOrvDocExtension};
    Check(extension_->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(extension.GetAddressOf())),
          IID_IOrvDocExtension);
    return extension;
}

ComPtr<IOrvDocStore> OrvDocument::Store() {
    ComPtr<IOrvDocStore> store;
    if (!database_) return store;
    Check(database_->QueryInterface(IID_IOrvDocStore, reinterpret_cast<void**>(store.GetAddressOf())),
          IID_IOrvDocStore);
    return store;
}

HRESULT OrvDocument::InitInnerDocExtension(LONG lPipeId, LONG* plResult) {
    if (!plResult) return E_POINTER;
    *plResult = 0;
    bool unconnected = false;
    HRESULT hr = Locked([&] {
        ComPtr<IOrvDocStore> store = Store();
        if (!store) {
            unconnected = true;
            return E_FAIL;
        }
        if (recordCondition_ == 1) {
            // A new record has nothing stored to read.
            extensionInitialized_ = VARIANT_TRUE;
        } else if (skipReadingDocExt_ == 0) {
            // The service fills the extension through this document (re-entering its lock).
            LONG result = 0;
            if (lPipeId >= 0)
                Check(store->InitDocExtension(lPipeId, static_cast<IOrvDocument*>(this), &result), IID_IOrvDocStore);
            else
                Check(store->InitDocExtensionNoPipe(static_cast<IOrvDocument*>(this), &result), IID_IOrvDocStore);
            *plResult = result;
            extensionInitialized_ = VARIANT_TRUE;
        }
        return S_OK;
    });
    if (unconnected) return ReportWithMessage(CLSID_OrvDocument, kMsgNoDatabaseForExtension, IID_IOrvDocumentDisp, E_FAIL);
    return hr;
}

HRESULT OrvDocument::GetDocExtension(LONG lPipeId, IUnknown** ppunkOrvDocExtension, LONG* plResult) {
    if (!ppunkOrvDocExtension || !plResult) return E_POINTER;
    *ppunkOrvDocExtension = nullptr;
    *plResult = 0;
    return Locked([&] {
        ComPtr<IOrvDocStore> store = Store();
        if (!store) return E_POINTER;
        LONG result = 0;
        Check(store->GetDocExtension(lPipeId, static_cast<IOrvDocument*>(this), ppunkOrvDocExtension, &result),
              IID_IOrvDocStore);
        *plResult = result;
        return S_OK;
    });
}

HRESULT OrvDocument::Update(LONG lPipeId) {
    return Locked([&] {
        ComPtr<IOrvDocStore> store = Store();
        if (!store) return E_POINTER;
        Check(store->UpdateDocument(lPipeId, ControllingUnknown()), IID_IOrvDocStore);
        return S_OK;
    });
}

}  // namespace orv
