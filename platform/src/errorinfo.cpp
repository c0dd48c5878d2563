// Error information: the error object and the current error of each thread.
#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/oleauto.h>
#include <orvdocs/platform/unknwn.h>

#include <atomic>
#include <mutex>
#include <new>
#include <optional>
#include <string>

namespace {

// One error description. It answers IErrorInfo and ICreateErrorInfo on one
// object; IUnknown is the IErrorInfo face, so both faces report the same
// identity.
class ErrorInfo final : public IErrorInfo, public ICreateErrorInfo {
public:
    // ------------------------------------------------------------ IUnknown
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
            *ppv = static_cast<IErrorInfo*>(this);
        } else if (riid == IID_ICreateErrorInfo) {
            *ppv = static_cast<ICreateErrorInfo*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override {
        ULONG n = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (n == 0) delete this;
        return n;
    }

    // ---------------------------------------------------------- IErrorInfo
    HRESULT GetGUID(GUID* pGUID) override {
        if (!pGUID) return E_INVALIDARG;
        std::lock_guard lock(mu_);
        *pGUID = guid_;
        return S_OK;
    }
    HRESULT GetSource(BSTR* out) override { return Get(source_, out); }
    HRESULT GetDescription(BSTR* out) override { return Get(description_, out); }
    HRESULT GetHelpFile(BSTR* out) override { return Get(helpFile_, out); }
    HRESULT GetHelpContext(DWORD* out) override {
        if (!out) return E_INVALIDARG;
        std::lock_guard lock(mu_);
        *out = helpContext_;
        return S_OK;
    }

    // ---------------------------------------------------- ICreateErrorInfo
    HRESULT SetGUID(REFGUID rguid) override {
        std::lock_guard lock(mu_);
        guid_ = rguid;
        return S_OK;
    }
    HRESULT SetSource(LPOLESTR s) override { return Set(source_, s); }
    HRESULT SetDescription(LPOLESTR s) override { return Set(description_, s); }
    HRESULT SetHelpFile(LPOLESTR s) override { return Set(helpFile_, s); }
    HRESULT SetHelpContext(DWORD n) override {
        std::lock_guard lock(mu_);
        helpContext_ = n;
        return S_OK;
    }

private:
    // A text never set is handed out as a null BSTR.
    HRESULT Get(const std::optional<std::u16string>& field, BSTR* out) {
        if (!out) return E_INVALIDARG;
        std::lock_guard lock(mu_);
        *out = nullptr;
        if (!field) return S_OK;
        *out = SysAllocStringLen(field->data(), static_cast<UINT>(field->size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Set(std::optional<std::u16string>& field, LPOLESTR s) {
        try {
            std::optional<std::u16string> copy;
            if (s) copy.emplace(s);
            std::lock_guard lock(mu_);
            field = std::move(copy);
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    std::atomic<ULONG> refs_{1};
    std::mutex mu_;
    GUID guid_ = GUID_NULL;
    std::optional<std::u16string> source_, description_, helpFile_;
    DWORD helpContext_ = 0;
};

thread_local orv::ComPtr<IErrorInfo> t_current;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
    if (!pperrinfo) return E_INVALIDARG;
    *pperrinfo = nullptr;
    auto* e = new (std::nothrow) ErrorInfo;
    if (!e) return E_OUTOFMEMORY;
    *pperrinfo = static_cast<ICreateErrorInfo*>(e);  // the one reference it was born with
    return S_OK;
}

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo) {
    if (dwReserved) return E_INVALIDARG;
    t_current = perrinfo;  // takes a reference, releases the previous one
    return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo) {
    if (dwReserved || !pperrinfo) return E_INVALIDARG;
    *pperrinfo = t_current.Detach();
    return *pperrinfo ? S_OK : S_FALSE;
}
