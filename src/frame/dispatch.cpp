// Late-bound calls and type information of the dual interfaces, answered from
// the compiled-in tables (frame/typeinfo.h). Everything here is shared by every
// member of every interface; the only per-member code is the member's thunk.
//
// Invoke, in this order:
//   1. the member: the first table entry with the dispid whose kind is among
//      the flags (DISP_E_MEMBERNOTFOUND otherwise);
//   2. named arguments: only DISPID_PROPERTYPUT, and only for puts, where it
//      is required (DISP_E_PARAMNOTOPTIONAL without it, DISP_E_NONAMEDARGS for
//      any other);
//   3. the count: all parameters, or all but the last out-pointer of a get or
//      method, which then becomes the result (DISP_E_BADPARAMCOUNT otherwise);
//   4. every argument coerced or checked before the object is touched
//      (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, DISP_E_PARAMNOTOPTIONAL, with the
//      failing argument's index in rgvarg);
//   5. the call; a failure becomes DISP_E_EXCEPTION with EXCEPINFO filled from
//      the error information the member left; success writes the out-values.
#include "frame/com.h"

#include <orvdocs/platform/strings.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

namespace orv::detail {
namespace {

constexpr HRESULT TYPE_E_WRONGTYPEKIND = ORV_HR(0x8002802Au);
constexpr HRESULT TYPE_E_BADMODULEKIND = ORV_HR(0x800288BDu);
constexpr std::size_t kMaxParams = ti::kMaxDispatchParams;

// ------------------------------------------------------------ member facts

// Names compare as automation clients expect: ASCII letters without regard to case.
bool EqualNoCase(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// The name of parameter `index` in a member's parameter list ("a,b:DATE,c"),
// without its mark; empty when the list has no such parameter.
std::u16string_view ParamName(const ti::Member& m, int index) noexcept {
    std::u16string_view text = m.paramSpec ? m.paramSpec : u"";
    for (int i = 0; i < index; ++i) {
        const std::size_t comma = text.find(u',');
        if (comma == std::u16string_view::npos) return {};
        text.remove_prefix(comma + 1);
    }
    text = text.substr(0, text.find(u','));
    return text.substr(0, text.find(u':'));
}

// The mark (":DATE" or ":BOOL") of parameter `index` in a parameter list, as
// the automation type it stands for; VT_EMPTY when there is none.
VARTYPE MarkOf(const char16_t* paramText, int index) noexcept {
    if (!paramText) return VT_EMPTY;
    const char16_t* p = paramText;
    for (int i = 0; i < index; ++i) {
        while (*p && *p != u',') ++p;
        if (!*p) return VT_EMPTY;
        ++p;
    }
    while (*p && *p != u',' && *p != u':') ++p;
    if (*p != u':') return VT_EMPTY;
    ++p;
    auto is = [p](const char16_t* word) {
        std::size_t n = 0;
        for (; word[n]; ++n)
            if (p[n] != word[n]) return false;
        return p[n] == 0 || p[n] == u',';
    };
    if (is(u"DATE")) return VT_DATE;
    if (is(u"BOOL")) return VT_BOOL;
    return VT_EMPTY;
}

// The automation type of a parameter (of the value an out-pointer points at).
VARTYPE ParamType(const ti::Member& m, int index) noexcept {
    const VARTYPE base = static_cast<VARTYPE>(m.types[index] & ~VT_BYREF);
    if (base == VT_R8 || base == VT_I2) {
        if (VARTYPE mark = MarkOf(m.paramSpec, index)) return mark;
    }
    return base;
}

bool IsOut(const ti::Member& m, int index) noexcept { return (m.types[index] & VT_BYREF) != 0; }

// A get or a method whose last parameter is an out-pointer may leave that
// parameter to the dispatch layer, which hands its value back as the result.
bool HasRetval(const ti::Member& m) noexcept {
    return m.paramCount > 0 && IsOut(m, m.paramCount - 1) &&
           (m.kind == INVOKE_PROPERTYGET || m.kind == INVOKE_FUNC);
}

const ti::Member* FindMember(const ti::Interface& info, DISPID id, WORD flags) noexcept {
    for (std::size_t i = 0; i < info.count; ++i) {
        const ti::Member& m = info.members[i];
        if (m.dispid == id && (static_cast<WORD>(m.kind) & flags)) return &m;
    }
    return nullptr;
}

const ti::Member* FindMemberById(const ti::Interface& info, MEMBERID id) noexcept {
    for (std::size_t i = 0; i < info.count; ++i)
        if (info.members[i].dispid == id) return &info.members[i];
    return nullptr;
}

// ------------------------------------------------------------ arguments

bool IsMissing(const VARIANT& v) noexcept { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

// Conversion failures the caller sees: an overflow stays one, memory
// exhaustion too, everything else is a type mismatch.
HRESULT ConversionStatus(HRESULT hr) noexcept {
    if (hr == DISP_E_OVERFLOW || hr == E_OUTOFMEMORY) return hr;
    return DISP_E_TYPEMISMATCH;
}

// Two automation types with the same storage, so that a reference to one can
// receive the other: DATE and double, VARIANT_BOOL and short.
bool SameStorage(VARTYPE have, VARTYPE want) noexcept {
    if (have == want) return true;
    auto date = [](VARTYPE t) { return t == VT_DATE || t == VT_R8; };
    auto boolean = [](VARTYPE t) { return t == VT_BOOL || t == VT_I2; };
    return (date(have) && date(want)) || (boolean(have) && boolean(want));
}

std::size_t StorageSize(VARTYPE vt) noexcept {
    switch (vt) {
        case VT_I1:
        case VT_UI1: return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL: return 2;
        case VT_I4:
        case VT_UI4:
        case VT_R4:
        case VT_INT:
        case VT_UINT:
        case VT_ERROR: return 4;
        default: return 8;  // VT_R8, VT_DATE, VT_CY, VT_I8, VT_UI8
    }
}

// The arguments of one call, prepared for the thunk, and what they own.
class CallFrame {
public:
    explicit CallFrame(int count) noexcept : count_(count) {
        for (int i = 0; i < count_; ++i) {
            VariantInit(&args_[i]);
            VariantInit(&outs_[i]);
            targets_[i] = nullptr;
        }
    }
    ~CallFrame() {
        for (int i = 0; i < count_; ++i) {
            if (owned_ & (1u << i)) VariantClear(&args_[i]);
            VariantClear(&outs_[i]);
        }
    }
    CallFrame(const CallFrame&) = delete;
    CallFrame& operator=(const CallFrame&) = delete;

    VARIANT* Args() noexcept { return args_; }

    // An in-argument: coerced to the parameter's type; a value of exactly that
    // type is passed as it is (borrowed from the caller).
    HRESULT In(const ti::Member& m, int index, const VARIANT& given) noexcept {
        const VARIANT* src = &given;
        if (src->vt == (VT_BYREF | VT_VARIANT)) {
            if (!src->pvarVal) return DISP_E_TYPEMISMATCH;
            src = src->pvarVal;
        }
        if (IsMissing(*src)) return DISP_E_PARAMNOTOPTIONAL;
        VARIANT& dst = args_[index];
        const VARTYPE want = ParamType(m, index);
        if (want == VT_VARIANT) {
            if (!(src->vt & VT_BYREF)) {
                dst = *src;
                return S_OK;
            }
            HRESULT hr = VariantCopyInd(&dst, src);
            if (FAILED(hr)) return ConversionStatus(hr);
            owned_ |= 1u << index;
            return S_OK;
        }
        if (src->vt == want) {
            dst = *src;
        } else {
            HRESULT hr = VariantChangeType(&dst, src, 0, want);
            if (FAILED(hr)) return ConversionStatus(hr);
            owned_ |= 1u << index;
        }
        // A pointer to a specific interface: the object is asked for it.
        if (const IID* iid = m.iids[index]; iid && dst.punkVal) {
            IUnknown* itf = nullptr;
            HRESULT hr = dst.punkVal->QueryInterface(*iid, reinterpret_cast<void**>(&itf));
            if (owned_ & (1u << index)) VariantClear(&dst);
            if (FAILED(hr) || !itf) {
                owned_ &= ~(1u << index);
                return DISP_E_TYPEMISMATCH;
            }
            dst.vt = VT_UNKNOWN;
            dst.punkVal = itf;
            owned_ |= 1u << index;
        }
        return S_OK;
    }

    // An out-argument: the member writes into storage of its own; `given` is
    // the caller's reference the value goes to afterwards, or null when the
    // value is the call's result.
    HRESULT Out(const ti::Member& m, int index, VARIANT* given) noexcept {
        const VARTYPE want = ParamType(m, index);
        VARIANT& out = outs_[index];
        if (want == VT_VARIANT) {
            args_[index].byref = &out;
        } else {
            out.vt = want;  // a zero value of the type: null for strings and interfaces
            args_[index].byref = &out.llVal;
        }
        args_[index].vt = static_cast<VARTYPE>(VT_BYREF | want);
        if (!given || IsMissing(*given)) return S_OK;  // the value is the result, or dropped
        const bool isRef = (given->vt & VT_BYREF) && given->byref;
        if (isRef && given->vt == (VT_BYREF | VT_VARIANT)) {
            targets_[index] = given;
            return S_OK;
        }
        if (isRef && want != VT_VARIANT && SameStorage(static_cast<VARTYPE>(given->vt & ~VT_BYREF), want)) {
            targets_[index] = given;
            return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
    }

    // After a successful call: out-values into the caller's references, the
    // result value into *result.
    void Deliver(int retval, VARIANT* result) noexcept {
        for (int i = 0; i < count_; ++i) {
            if (targets_[i]) WriteThrough(targets_[i], outs_[i]);
        }
        if (result) {
            VariantInit(result);
            if (retval >= 0) {
                *result = outs_[retval];
                VariantInit(&outs_[retval]);
            }
        }
    }

private:
    // Replaces what a caller's reference holds (freeing the old string,
    // interface or variant) with an out-value, which moves there.
    static void WriteThrough(VARIANT* target, VARIANT& value) noexcept {
        if (target->vt == (VT_BYREF | VT_VARIANT)) {
            VariantClear(target->pvarVal);
            *target->pvarVal = value;
        } else {
            switch (value.vt) {
                case VT_BSTR:
                    SysFreeString(*target->pbstrVal);
                    *target->pbstrVal = value.bstrVal;
                    break;
                case VT_UNKNOWN:
                case VT_DISPATCH:
                    if (*target->ppunkVal) (*target->ppunkVal)->Release();
                    *target->ppunkVal = value.punkVal;
                    break;
                default:
                    std::memcpy(target->byref, &value.llVal, StorageSize(value.vt));
                    break;
            }
        }
        VariantInit(&value);
    }

    int count_;
    std::uint32_t owned_ = 0;  // in-arguments whose values this frame made (and frees)
    VARIANT args_[kMaxParams];
    VARIANT outs_[kMaxParams];
    VARIANT* targets_[kMaxParams];
};
static_assert(kMaxParams <= 32, "the ownership mask has 32 bits");

void FillExcepInfo(EXCEPINFO* excep, HRESULT hr) noexcept {
    *excep = EXCEPINFO{};
    excep->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return;
    info->GetSource(&excep->bstrSource);
    info->GetDescription(&excep->bstrDescription);
    info->GetHelpFile(&excep->bstrHelpFile);
    info->GetHelpContext(&excep->dwHelpContext);
}

HRESULT InvokeMember(const ti::Interface& info, IUnknown* self, DISPID id, WORD flags, DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    if (!params || (params->cArgs && !params->rgvarg) || params->cNamedArgs > params->cArgs ||
        (params->cNamedArgs && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    const ti::Member* m = FindMember(info, id, flags);
    if (!m) return DISP_E_MEMBERNOTFOUND;

    const UINT given = params->cArgs;
    const int count = m->paramCount;
    int retval = -1;
    if (m->kind == INVOKE_PROPERTYPUT || m->kind == INVOKE_PROPERTYPUTREF) {
        if (params->cNamedArgs == 0) return DISP_E_PARAMNOTOPTIONAL;  // the new value is not marked
        if (params->cNamedArgs > 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_NONAMEDARGS;
        if (given != static_cast<UINT>(count)) return DISP_E_BADPARAMCOUNT;
    } else {
        if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
        if (given == static_cast<UINT>(count)) {
            // every parameter given
        } else if (HasRetval(*m) && given + 1 == static_cast<UINT>(count)) {
            retval = count - 1;
        } else {
            return DISP_E_BADPARAMCOUNT;
        }
    }

    // Parameter i is rgvarg[given - 1 - i]: automation passes them last first.
    CallFrame frame(count);
    for (int i = 0; i < count; ++i) {
        VARIANT* arg = i == retval ? nullptr : &params->rgvarg[given - 1 - static_cast<UINT>(i)];
        HRESULT hr = IsOut(*m, i) ? frame.Out(*m, i, arg) : frame.In(*m, i, *arg);
        if (FAILED(hr)) {
            if (argErr && hr != E_OUTOFMEMORY) *argErr = given - 1 - static_cast<UINT>(i);
            return hr;
        }
    }

    SetErrorInfo(0, nullptr);  // what the thread reported before is not this member's failure
    const HRESULT hr = m->thunk(self, frame.Args());
    if (FAILED(hr)) {
        if (excep) FillExcepInfo(excep, hr);
        return DISP_E_EXCEPTION;
    }
    frame.Deliver(retval, result);
    return hr;
}

// ------------------------------------------------------------ type information

// One allocation per GetFuncDesc: the description, its parameters and the
// types their pointers point at.
struct FuncDescBlock {
    FUNCDESC desc;
    ELEMDESC params[kMaxParams];
    TYPEDESC pointees[kMaxParams];
};

// The type information object of one dual interface.
class TypeInfoObject final : public ITypeInfo {
public:
    explicit TypeInfoObject(const ti::Interface& info) noexcept : info_(info) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_ITypeInfo) return E_NOINTERFACE;
        *ppv = static_cast<ITypeInfo*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }

    // The interface as the vtable sees it: dual, its own members only (the
    // seven of IUnknown and IDispatch are not described), slots of this build.
    HRESULT GetTypeAttr(TYPEATTR** ppTypeAttr) override {
        if (!ppTypeAttr) return E_INVALIDARG;
        *ppTypeAttr = nullptr;
        auto* attr = new (std::nothrow) TYPEATTR{};
        if (!attr) return E_OUTOFMEMORY;
        SHORT lastSlot = 6;
        for (std::size_t i = 0; i < info_.count; ++i)
            if (info_.members[i].slot > lastSlot) lastSlot = info_.members[i].slot;
        attr->guid = *info_.iid;
        attr->lcid = 0;
        attr->memidConstructor = MEMBERID_NIL;
        attr->memidDestructor = MEMBERID_NIL;
        attr->cbSizeInstance = sizeof(void*);
        attr->typekind = TKIND_INTERFACE;
        attr->cFuncs = static_cast<WORD>(info_.count);
        attr->cVars = 0;
        attr->cImplTypes = 0;
        attr->cbSizeVft = static_cast<WORD>((lastSlot + 1) * sizeof(void*));
        attr->cbAlignment = alignof(void*);
        attr->wTypeFlags = TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
        attr->wMajorVerNum = 1;
        attr->wMinorVerNum = 0;
        attr->tdescAlias.vt = VT_EMPTY;
        *ppTypeAttr = attr;
        return S_OK;
    }
    HRESULT GetTypeComp(ITypeComp** ppTComp) override {
        if (ppTComp) *ppTComp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) override {
        if (!ppFuncDesc) return E_INVALIDARG;
        *ppFuncDesc = nullptr;
        if (index >= info_.count) return TYPE_E_ELEMENTNOTFOUND;
        const ti::Member& m = info_.members[index];
        auto* block = new (std::nothrow) FuncDescBlock{};
        if (!block) return E_OUTOFMEMORY;
        FUNCDESC& d = block->desc;
        d.memid = m.dispid;
        d.lprgscode = nullptr;
        d.lprgelemdescParam = m.paramCount ? block->params : nullptr;
        d.funckind = FUNC_PUREVIRTUAL;
        d.invkind = m.kind;
        d.callconv = CC_STDCALL;
        d.cParams = m.paramCount;
        d.cParamsOpt = 0;
        d.oVft = static_cast<SHORT>(m.slot * static_cast<SHORT>(sizeof(void*)));
        d.cScodes = 0;
        d.elemdescFunc.tdesc.vt = VT_HRESULT;
        d.wFuncFlags = 0;
        const bool retval = HasRetval(m);
        for (int i = 0; i < m.paramCount; ++i) {
            ELEMDESC& e = block->params[i];
            const VARTYPE type = ParamType(m, i);
            if (IsOut(m, i)) {
                block->pointees[i].vt = type;
                e.tdesc.vt = VT_PTR;
                e.tdesc.lptdesc = &block->pointees[i];
                e.paramdesc.wParamFlags = PARAMFLAG_FOUT;
                if (retval && i == m.paramCount - 1) e.paramdesc.wParamFlags |= PARAMFLAG_FRETVAL;
            } else {
                e.tdesc.vt = type;
                e.paramdesc.wParamFlags = PARAMFLAG_FIN;
            }
            e.paramdesc.pparamdescex = nullptr;
        }
        *ppFuncDesc = &block->desc;
        return S_OK;
    }
    HRESULT GetVarDesc(UINT, VARDESC** ppVarDesc) override {
        if (!ppVarDesc) return E_INVALIDARG;
        *ppVarDesc = nullptr;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    // The member's name, then its parameters' names (the first table entry
    // with the id: a property's get).
    HRESULT GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) override {
        if (!rgBstrNames || !pcNames) return E_INVALIDARG;
        *pcNames = 0;
        const ti::Member* m = FindMemberById(info_, memid);
        if (!m) return TYPE_E_ELEMENTNOTFOUND;
        UINT n = 0;
        auto add = [&](std::u16string_view name) {
            if (n >= cMaxNames) return true;
            rgBstrNames[n] = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
            if (!rgBstrNames[n]) return false;
            ++n;
            return true;
        };
        bool ok = add(m->name);
        for (int i = 0; ok && i < m->paramCount; ++i) {
            const std::u16string_view name = ParamName(*m, i);
            if (name.empty()) break;
            ok = add(name);
        }
        if (!ok) {
            for (UINT i = 0; i < n; ++i) SysFreeString(rgBstrNames[i]);
            return E_OUTOFMEMORY;
        }
        *pcNames = n;
        return S_OK;
    }
    HRESULT GetRefTypeOfImplType(UINT, HREFTYPE* pRefType) override {
        if (!pRefType) return E_INVALIDARG;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT GetImplTypeFlags(UINT, INT* pImplTypeFlags) override {
        if (!pImplTypeFlags) return E_INVALIDARG;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) override {
        return DispatchGetIDsOfNames(info_, IID_NULL, rgszNames, cNames, pMemId);
    }
    HRESULT Invoke(PVOID pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                   EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
        if (!pvInstance) return E_INVALIDARG;
        // pvInstance is the interface this type information describes.
        return DispatchInvoke(info_, static_cast<IUnknown*>(pvInstance), memid, IID_NULL, wFlags, pDispParams,
                              pVarResult, pExcepInfo, puArgErr);
    }
    HRESULT GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                             BSTR* pBstrHelpFile) override {
        const char16_t* name = nullptr;
        const char16_t* doc = nullptr;
        if (memid == MEMBERID_NIL) {
            name = info_.name;
            doc = info_.help;
        } else {
            const ti::Member* m = FindMemberById(info_, memid);
            if (!m) return TYPE_E_ELEMENTNOTFOUND;
            name = m->name;  // members carry no help strings
        }
        if (pBstrName) {
            *pBstrName = SysAllocString(name);
            if (!*pBstrName) return E_OUTOFMEMORY;
        }
        if (pBstrDocString) {
            *pBstrDocString = doc ? SysAllocString(doc) : nullptr;
            if (doc && !*pBstrDocString) {
                if (pBstrName) {
                    SysFreeString(*pBstrName);
                    *pBstrName = nullptr;
                }
                return E_OUTOFMEMORY;
            }
        }
        if (pdwHelpContext) *pdwHelpContext = 0;
        if (pBstrHelpFile) *pBstrHelpFile = nullptr;
        return S_OK;
    }
    HRESULT GetDllEntry(MEMBERID, INVOKEKIND, BSTR* pBstrDllName, BSTR* pBstrName, WORD* pwOrdinal) override {
        if (pBstrDllName) *pBstrDllName = nullptr;
        if (pBstrName) *pBstrName = nullptr;
        if (pwOrdinal) *pwOrdinal = 0;
        return TYPE_E_BADMODULEKIND;
    }
    HRESULT GetRefTypeInfo(HREFTYPE, ITypeInfo** ppTInfo) override {
        if (!ppTInfo) return E_INVALIDARG;
        *ppTInfo = nullptr;
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT AddressOfMember(MEMBERID, INVOKEKIND, PVOID* ppv) override {
        if (ppv) *ppv = nullptr;
        return TYPE_E_BADMODULEKIND;
    }
    HRESULT CreateInstance(IUnknown*, REFIID, PVOID* ppvObj) override {
        if (!ppvObj) return E_INVALIDARG;
        *ppvObj = nullptr;
        return TYPE_E_WRONGTYPEKIND;
    }
    HRESULT GetMops(MEMBERID, BSTR* pBstrMops) override {
        if (!pBstrMops) return E_INVALIDARG;
        *pBstrMops = nullptr;
        return S_OK;
    }
    // The tables stand alone: no type library object is built around them.
    HRESULT GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) override {
        if (ppTLib) *ppTLib = nullptr;
        if (pIndex) *pIndex = 0;
        return E_NOTIMPL;
    }
    void ReleaseTypeAttr(TYPEATTR* pTypeAttr) override { delete pTypeAttr; }
    void ReleaseFuncDesc(FUNCDESC* pFuncDesc) override {
        // desc is the first member of its block.
        delete reinterpret_cast<FuncDescBlock*>(pFuncDesc);
    }
    void ReleaseVarDesc(VARDESC*) override {}

private:
    ~TypeInfoObject() = default;

    const ti::Interface& info_;
    std::atomic<ULONG> refs_{0};
};

// One type information object per interface, made on first request. The
// cache holds one reference to each until the module goes; callers hold theirs.
struct TypeInfoCache {
    std::mutex lock;
    std::unordered_map<const ti::Interface*, TypeInfoObject*> objects;
};

TypeInfoCache& Cache() {
    static auto* cache = new TypeInfoCache;  // lives until the process ends
    return *cache;
}

}  // namespace

HRESULT DispatchGetIDsOfNames(const ti::Interface& info, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!ids || (count && !names)) return E_POINTER;
    if (count == 0) return E_INVALIDARG;
    try {
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        if (!names[0]) return DISP_E_UNKNOWNNAME;
        const std::u16string_view want(names[0], WStrLen(names[0]));
        const ti::Member* found = nullptr;
        for (std::size_t m = 0; m < info.count && !found; ++m)
            if (EqualNoCase(want, info.members[m].name)) found = &info.members[m];
        if (!found) return DISP_E_UNKNOWNNAME;
        ids[0] = found->dispid;
        // Further names are the member's parameters, numbered from 0 in declaration order.
        HRESULT result = S_OK;
        for (UINT i = 1; i < count; ++i) {
            bool matched = false;
            if (names[i]) {
                const std::u16string_view param(names[i], WStrLen(names[i]));
                for (DISPID index = 0; index < found->paramCount && !matched; ++index) {
                    const std::u16string_view name = ParamName(*found, index);
                    if (!name.empty() && EqualNoCase(param, name)) {
                        ids[i] = index;
                        matched = true;
                    }
                }
            }
            if (!matched) result = DISP_E_UNKNOWNNAME;
        }
        return result;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT DispatchGetTypeInfo(const ti::Interface& info, UINT index, ITypeInfo** ppTInfo) {
    if (!ppTInfo) return E_POINTER;
    *ppTInfo = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    try {
        TypeInfoCache& cache = Cache();
        std::lock_guard<std::mutex> guard(cache.lock);
        TypeInfoObject*& slot = cache.objects[&info];
        if (!slot) {
            slot = new (std::nothrow) TypeInfoObject(info);
            if (!slot) {
                cache.objects.erase(&info);
                return E_OUTOFMEMORY;
            }
            slot->AddRef();  // the cache's reference
        }
        slot->AddRef();
        *ppTInfo = slot;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void ReleaseTypeInfoCache() noexcept {
    TypeInfoCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    for (auto& [info, object] : cache.objects) object->Release();
    cache.objects.clear();
}

HRESULT DispatchInvoke(const ti::Interface& info, IUnknown* self, DISPID id, REFIID riid, WORD flags,
                       DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!self) return E_POINTER;
    try {
        return InvokeMember(info, self, id, flags, params, result, excep, argErr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace orv::detail
