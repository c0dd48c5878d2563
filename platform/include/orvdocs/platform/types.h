// Base types, status codes and identifiers of the component platform.
//
// Widths follow the original platform, never the Linux ones: LONG is 32-bit,
// OLECHAR is a UTF-16 code unit, HRESULT is 32-bit. Status codes and GUIDs
// carry the platform's values so that host code ports unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// Calling-convention and declaration macros kept so that ported host code compiles.
#define STDMETHODCALLTYPE
#define STDAPICALLTYPE
#define WINAPI
#define STDMETHOD(method) virtual HRESULT method
#define STDMETHOD_(type, method) virtual type method
#define STDMETHODIMP HRESULT
#define STDMETHODIMP_(type) type
#define PURE = 0

using BYTE = std::uint8_t;
using CHAR = char;
using UCHAR = unsigned char;
using WORD = std::uint16_t;
using USHORT = std::uint16_t;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using BOOL = std::int32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using SIZE_T = std::size_t;
using FLOAT = float;
using DOUBLE = double;
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LCID = DWORD;
using LANGID = WORD;
using WCHAR = char16_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using PVOID = void*;
using BSTR = OLECHAR*;

// Pointer names as the platform's headers spell them (P... and LP... are the
// same pointer; LPC.../PC... point to const).
using PBYTE = BYTE*;
using LPBYTE = BYTE*;
using PCHAR = CHAR*;
using PUCHAR = UCHAR*;
using PWORD = WORD*;
using LPWORD = WORD*;
using PUSHORT = USHORT*;
using PSHORT = SHORT*;
using PDWORD = DWORD*;
using LPDWORD = DWORD*;
using PULONG = ULONG*;
using PLONG = LONG*;
using LPLONG = LONG*;
using PINT = INT*;
using LPINT = INT*;
using PUINT = UINT*;
using PBOOL = BOOL*;
using LPBOOL = BOOL*;
using PLONGLONG = LONGLONG*;
using PULONGLONG = ULONGLONG*;
using PULONG_PTR = ULONG_PTR*;
using PLONG_PTR = LONG_PTR*;
using PSIZE_T = SIZE_T*;
using PFLOAT = FLOAT*;
using PWCHAR = WCHAR*;
using PWSTR = WCHAR*;
using PCWSTR = const WCHAR*;
using PSTR = char*;
using PCSTR = const char*;
using PHRESULT = HRESULT*;
using LPBSTR = BSTR*;

// Handles: opaque pointers, as there.
using HANDLE = void*;
using PHANDLE = HANDLE*;
using LPHANDLE = HANDLE*;
using VARIANT_BOOL = std::int16_t;
using VARTYPE = std::uint16_t;
using DATE = double;
using DISPID = LONG;
using MEMBERID = DISPID;
using HREFTYPE = DWORD;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Currency: a 64-bit integer holding the value times 10000.
union CY {
    struct {
        ULONG Lo;
        LONG Hi;
    };
    LONGLONG int64;
};

// Opaque module handle; identifies a loaded shared object.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using PHMODULE = HMODULE*;

// ---------------------------------------------------------------- status codes

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr ULONG HRESULT_CODE(HRESULT hr) { return static_cast<ULONG>(hr) & 0xFFFFu; }
constexpr ULONG HRESULT_FACILITY(HRESULT hr) { return (static_cast<ULONG>(hr) >> 16) & 0x1FFFu; }
constexpr ULONG HRESULT_SEVERITY(HRESULT hr) { return (static_cast<ULONG>(hr) >> 31) & 1u; }
constexpr HRESULT MAKE_HRESULT(ULONG sev, ULONG fac, ULONG code) {
    return static_cast<HRESULT>((sev << 31) | (fac << 16) | code);
}
constexpr HRESULT HRESULT_FROM_WIN32(LONG x) {
    return x <= 0 ? static_cast<HRESULT>(x)
                  : static_cast<HRESULT>((static_cast<ULONG>(x) & 0xFFFFu) | (7u << 16) | 0x80000000u);
}

inline constexpr ULONG SEVERITY_SUCCESS = 0;
inline constexpr ULONG SEVERITY_ERROR = 1;
inline constexpr ULONG FACILITY_NULL = 0;
inline constexpr ULONG FACILITY_DISPATCH = 2;
inline constexpr ULONG FACILITY_ITF = 4;
inline constexpr ULONG FACILITY_WIN32 = 7;

#define ORV_HR(x) static_cast<HRESULT>(static_cast<std::uint32_t>(x))
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT NOERROR = 0;
inline constexpr HRESULT E_UNEXPECTED = ORV_HR(0x8000FFFFu);
inline constexpr HRESULT E_NOTIMPL = ORV_HR(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = ORV_HR(0x80004002u);
inline constexpr HRESULT E_POINTER = ORV_HR(0x80004003u);
inline constexpr HRESULT E_ABORT = ORV_HR(0x80004004u);
inline constexpr HRESULT E_FAIL = ORV_HR(0x80004005u);
inline constexpr HRESULT E_ACCESSDENIED = ORV_HR(0x80070005u);
inline constexpr HRESULT E_HANDLE = ORV_HR(0x80070006u);
inline constexpr HRESULT E_OUTOFMEMORY = ORV_HR(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = ORV_HR(0x80070057u);

inline constexpr HRESULT CO_E_NOTINITIALIZED = ORV_HR(0x800401F0u);
inline constexpr HRESULT CO_E_CLASSSTRING = ORV_HR(0x800401F3u);
inline constexpr HRESULT CO_E_DLLNOTFOUND = ORV_HR(0x800401F8u);
inline constexpr HRESULT CO_E_ERRORINDLL = ORV_HR(0x800401F9u);
inline constexpr HRESULT CO_E_OBJNOTREG = ORV_HR(0x800401FBu);
inline constexpr HRESULT RPC_E_CHANGED_MODE = ORV_HR(0x80010106u);
inline constexpr HRESULT REGDB_E_READREGDB = ORV_HR(0x80040150u);
inline constexpr HRESULT REGDB_E_WRITEREGDB = ORV_HR(0x80040151u);
inline constexpr HRESULT REGDB_E_KEYMISSING = ORV_HR(0x80040152u);
inline constexpr HRESULT REGDB_E_INVALIDVALUE = ORV_HR(0x80040153u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = ORV_HR(0x80040154u);
inline constexpr HRESULT REGDB_E_IIDNOTREG = ORV_HR(0x80040155u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = ORV_HR(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = ORV_HR(0x80040111u);
inline constexpr HRESULT CLASS_E_NOTLICENSED = ORV_HR(0x80040112u);
inline constexpr HRESULT SELFREG_E_TYPELIB = ORV_HR(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = ORV_HR(0x80040201u);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = ORV_HR(0x80020001u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = ORV_HR(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = ORV_HR(0x80020004u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = ORV_HR(0x80020005u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = ORV_HR(0x80020006u);
inline constexpr HRESULT DISP_E_NONAMEDARGS = ORV_HR(0x80020007u);
inline constexpr HRESULT DISP_E_BADVARTYPE = ORV_HR(0x80020008u);
inline constexpr HRESULT DISP_E_EXCEPTION = ORV_HR(0x80020009u);
inline constexpr HRESULT DISP_E_OVERFLOW = ORV_HR(0x8002000Au);
inline constexpr HRESULT DISP_E_BADINDEX = ORV_HR(0x8002000Bu);
inline constexpr HRESULT DISP_E_UNKNOWNLCID = ORV_HR(0x8002000Cu);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = ORV_HR(0x8002000Du);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = ORV_HR(0x8002000Eu);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = ORV_HR(0x8002000Fu);
inline constexpr HRESULT DISP_E_BADCALLEE = ORV_HR(0x80020010u);
inline constexpr HRESULT DISP_E_NOTACOLLECTION = ORV_HR(0x80020011u);
inline constexpr HRESULT DISP_E_DIVBYZERO = ORV_HR(0x80020012u);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = ORV_HR(0x8002802Bu);
inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = ORV_HR(0x8002801Du);
inline constexpr HRESULT TYPE_E_CANTLOADLIBRARY = ORV_HR(0x80029C4Au);

// ----------------------------------------------------------------- identifiers

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPCLSID = CLSID*;

inline constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline constexpr bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
inline BOOL IsEqualGUID(REFGUID a, REFGUID b) { return a == b ? TRUE : FALSE; }
inline BOOL IsEqualIID(REFIID a, REFIID b) { return a == b ? TRUE : FALSE; }
inline BOOL IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b ? TRUE : FALSE; }

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; CO_E_CLASSSTRING on any other form.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);
// Writes the braced upper-case form (39 characters with the NUL); returns the
// characters written including the NUL, or 0 when the buffer is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax);

// Interface identifier of an interface type, for templates (ComPtr::As, IID_PPV_ARGS).
template <class I>
struct InterfaceTraits;
#define ORV_DECLARE_IID(Interface)                                   \
    template <>                                                      \
    struct InterfaceTraits<struct Interface> {                       \
        static constexpr const IID& iid() { return IID_##Interface; } \
    }
template <class I>
constexpr const IID& uuidof() {
    return InterfaceTraits<I>::iid();
}
#define IID_PPV_ARGS(pp) ::uuidof<std::remove_pointer_t<std::remove_reference_t<decltype(*(pp))>>>(), reinterpret_cast<void**>(pp)
