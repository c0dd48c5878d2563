// Late binding for C++ hosts: names to dispatch identifiers, arguments into
// DISPPARAMS, EXCEPINFO into the result.
#include <orvdocs/automation.h>

#include <orvdocs/platform/comptr.h>

#include <new>
#include <vector>

namespace orv {
namespace {

// Builds the DISPPARAMS of a call: arguments reversed, a put's value marked
// with DISPID_PROPERTYPUT. The variants are borrowed, not copied.
DispResult Call(IDispatch* disp, DISPID id, WORD flags, std::span<const VARIANT> args) {
    DispResult r;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (put && args.empty()) {
        r.hr = r.status = E_INVALIDARG;  // a put needs its value
        return r;
    }
    std::vector<VARIANT> rgvarg(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{rgvarg.data(), put ? &named : nullptr, static_cast<UINT>(rgvarg.size()), put ? 1u : 0u};
    EXCEPINFO excep{};
    UINT argErr = 0;
    r.hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, r.value.Out(), &excep, &argErr);
    r.status = r.hr;
    if (r.hr == DISP_E_EXCEPTION) {
        if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
        if (excep.scode) r.status = excep.scode;
        if (excep.bstrSource) r.source.assign(excep.bstrSource, SysStringLen(excep.bstrSource));
        if (excep.bstrDescription) r.description.assign(excep.bstrDescription, SysStringLen(excep.bstrDescription));
    }
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    if ((r.hr == DISP_E_TYPEMISMATCH || r.hr == DISP_E_OVERFLOW || r.hr == DISP_E_PARAMNOTOPTIONAL) &&
        argErr < rgvarg.size())
        r.argErr = static_cast<UINT>(rgvarg.size()) - 1 - argErr;
    return r;
}

DispResult Failed(HRESULT hr) {
    DispResult r;
    r.hr = r.status = hr;
    return r;
}

// Runs a call, turning memory exhaustion into its status.
template <class F>
DispResult Guard(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return Failed(E_OUTOFMEMORY);  // an empty result allocates nothing
    }
}

std::span<const VARIANT> Span(std::initializer_list<Variant> list, std::vector<VARIANT>* storage) {
    storage->assign(list.begin(), list.end());  // shallow copies of the caller's variants
    return *storage;
}

}  // namespace

HRESULT GetDispId(IDispatch* disp, std::u16string_view name, DISPID* id) noexcept {
    if (!disp || !id) return E_POINTER;
    *id = DISPID_UNKNOWN;
    try {
        std::u16string text(name);
        LPOLESTR names[] = {text.data()};
        return disp->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

DispResult InvokeById(IDispatch* disp, DISPID id, WORD flags, std::span<const VARIANT> args) noexcept {
    if (!disp) return Failed(E_POINTER);
    return Guard([&] { return Call(disp, id, flags, args); });
}

DispResult InvokeByName(IDispatch* disp, std::u16string_view name, WORD flags, std::span<const VARIANT> args) noexcept {
    if (!disp) return Failed(E_POINTER);
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = GetDispId(disp, name, &id);
    if (FAILED(hr)) return Failed(hr);
    return InvokeById(disp, id, flags, args);
}

DispResult Invoke(IDispatch* disp, std::u16string_view name, std::initializer_list<Variant> args) noexcept {
    return Guard([&] {
        std::vector<VARIANT> storage;
        return InvokeByName(disp, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, Span(args, &storage));
    });
}

DispResult GetProperty(IDispatch* disp, std::u16string_view name, std::initializer_list<Variant> index) noexcept {
    return Guard([&] {
        std::vector<VARIANT> storage;
        return InvokeByName(disp, name, DISPATCH_PROPERTYGET, Span(index, &storage));
    });
}

DispResult PutProperty(IDispatch* disp, std::u16string_view name, std::initializer_list<Variant> index,
                       const VARIANT& value) noexcept {
    return Guard([&] {
        std::vector<VARIANT> storage(index.begin(), index.end());
        storage.push_back(value);
        return InvokeByName(disp, name, DISPATCH_PROPERTYPUT, storage);
    });
}

DispResult PutProperty(IDispatch* disp, std::u16string_view name, const VARIANT& value) noexcept {
    return InvokeByName(disp, name, DISPATCH_PROPERTYPUT, std::span<const VARIANT>(&value, 1));
}

DispResult PutPropertyRef(IDispatch* disp, std::u16string_view name, const VARIANT& value) noexcept {
    return InvokeByName(disp, name, DISPATCH_PROPERTYPUTREF, std::span<const VARIANT>(&value, 1));
}

Variant ByRef(VARTYPE vt, void* p) noexcept {
    Variant v;
    v.vt = static_cast<VARTYPE>(VT_BYREF | (vt & ~VT_BYREF));
    v.byref = p;
    return v;
}

Variant ByRef(VARIANT* target) noexcept {
    Variant v;
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = target;
    return v;
}

}  // namespace orv
