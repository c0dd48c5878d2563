// Compiled-in type information of the dual interfaces.
//
// Each dual interface has one table, written next to its declaration's family
// as a list of its members given by member function pointer:
//
//   ORV_TYPEINFO_BEGIN(IOrvLPDoc, u"IOrvLPDoc Interface")
//       ORV_GET(1, get_OrvDocument, u"pVal")
//       ORV_PUT(2, put_dtDn, u"newVal:DATE")
//       ORV_METHOD(3, CalcInterest, u"lPipeId,pOption,pResult")
//   ORV_TYPEINFO_END()
//
// Parameter types are deduced from the member's signature, so a declaration
// and its table cannot drift apart. The parameter list names each parameter
// in order, comma-separated; ":DATE" or ":BOOL" marks a double or a 16-bit
// integer that is really a DATE or a VARIANT_BOOL, which C++ cannot tell apart.
//
// Each entry also carries the member's dispatch thunk, instantiated from the
// member pointer: it does nothing but the call. Finding the member, checking
// and coercing arguments and packing results is the dispatch layer's work
// (frame/dispatch.cpp), shared by every member of every interface.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

namespace orv::ti {

// Automation type of one C++ parameter type; VT_BYREF for out-pointers.
template <class T, class = void>
struct VarTypeOf;
template <> struct VarTypeOf<LONG> { static constexpr VARTYPE vt = VT_I4; };
template <> struct VarTypeOf<ULONG> { static constexpr VARTYPE vt = VT_UI4; };
template <> struct VarTypeOf<SHORT> { static constexpr VARTYPE vt = VT_I2; };
template <> struct VarTypeOf<USHORT> { static constexpr VARTYPE vt = VT_UI2; };
template <> struct VarTypeOf<BYTE> { static constexpr VARTYPE vt = VT_UI1; };
template <> struct VarTypeOf<LONGLONG> { static constexpr VARTYPE vt = VT_I8; };
template <> struct VarTypeOf<float> { static constexpr VARTYPE vt = VT_R4; };
template <> struct VarTypeOf<double> { static constexpr VARTYPE vt = VT_R8; };
template <> struct VarTypeOf<CY> { static constexpr VARTYPE vt = VT_CY; };
template <> struct VarTypeOf<BSTR> { static constexpr VARTYPE vt = VT_BSTR; };
template <> struct VarTypeOf<VARIANT> { static constexpr VARTYPE vt = VT_VARIANT; };
template <> struct VarTypeOf<IDispatch*> { static constexpr VARTYPE vt = VT_DISPATCH; };
// Any other interface pointer travels as VT_UNKNOWN and is asked for its interface.
template <class I>
struct VarTypeOf<I*, std::enable_if_t<std::is_base_of_v<IUnknown, I> && !std::is_same_v<I, IDispatch>>> {
    static constexpr VARTYPE vt = VT_UNKNOWN;
};
// Out-pointers.
template <class T>
struct VarTypeOf<T*, std::enable_if_t<!std::is_base_of_v<IUnknown, T> && !std::is_same_v<T, OLECHAR>>> {
    static constexpr VARTYPE vt = VarTypeOf<T>::vt | VT_BYREF;
};
template <class T>
struct VarTypeOf<const T> : VarTypeOf<T> {};

// The dispatch thunk of a member: calls the member on `self` (the interface
// pointer the table describes) with its arguments, one prepared variant per
// parameter in declaration order. The dispatch layer has already coerced each
// in-argument to the parameter's type and pointed each out-argument's `byref`
// at storage for the result, so the thunk only reads the values (see ArgOf).
using Thunk = HRESULT (*)(IUnknown* self, VARIANT* args);

// The most parameters a dispatch member may have (checked where its table is built).
inline constexpr std::size_t kMaxDispatchParams = 32;

struct Member {
    DISPID dispid;
    INVOKEKIND kind;
    const char16_t* name;
    const char16_t* paramSpec;  // "a,b:DATE,c"
    const VARTYPE* types;       // deduced, one per parameter
    SHORT paramCount;
    SHORT slot;                 // vtable slot of the member (0 to 2 are IUnknown's)
    Thunk thunk;                // calls the member with prepared arguments
    const IID* const* iids;     // per parameter: the interface a pointer parameter is asked for, or null
};

struct Interface {
    const IID* iid;
    const char16_t* name;
    const char16_t* help;
    const Member* members;
    std::size_t count;
};

// One prepared argument in the member's own C++ type. Values sit at the start
// of the variant's union, out-pointers in `byref`, interfaces in `punkVal`.
template <class T>
inline T ArgOf(VARIANT& v) noexcept {
    if constexpr (std::is_same_v<T, BSTR>) {
        return v.bstrVal;
    } else if constexpr (std::is_pointer_v<T>) {
        if constexpr (std::is_base_of_v<IUnknown, std::remove_pointer_t<T>>)
            return static_cast<T>(v.punkVal);
        else
            return static_cast<T>(v.byref);
    } else if constexpr (std::is_same_v<T, VARIANT>) {
        return v;
    } else {
        static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= sizeof(v.llVal));
        T x;
        std::memcpy(&x, &v.llVal, sizeof x);
        return x;
    }
}

// The interface a pointer parameter of type T is asked for when it arrives as
// another interface: null for everything but pointers to a specific interface
// (IUnknown and IDispatch parameters are converted with VariantChangeType).
template <class T>
constexpr const IID* IidOfParam() {
    if constexpr (std::is_pointer_v<T>) {
        using I = std::remove_cv_t<std::remove_pointer_t<T>>;
        if constexpr (std::is_base_of_v<IUnknown, I> && !std::is_same_v<I, IUnknown> && !std::is_same_v<I, IDispatch>)
            return &uuidof<I>();
        else
            return nullptr;
    } else {
        return nullptr;
    }
}

template <class F>
struct Signature;
template <class I, class... A>
struct Signature<HRESULT (I::*)(A...)> {
    using Owner = I;
    static constexpr std::size_t arity = sizeof...(A);
    static_assert(arity <= kMaxDispatchParams, "too many parameters for a dispatch member");
    static constexpr VARTYPE types[sizeof...(A) + 1] = {VarTypeOf<A>::vt..., VT_EMPTY};
    static constexpr const IID* iids[sizeof...(A) + 1] = {IidOfParam<A>()..., nullptr};

    // The per-member code of the dispatch layer: the call itself, nothing else.
    template <auto Pmf>
    static HRESULT Call(IUnknown* self, [[maybe_unused]] VARIANT* args) {
        return CallWith<Pmf>(static_cast<I*>(self), args, std::index_sequence_for<A...>{});
    }
    template <auto Pmf, std::size_t... N>
    static HRESULT CallWith(I* self, [[maybe_unused]] VARIANT* args, std::index_sequence<N...>) {
        return (self->*Pmf)(ArgOf<A>(args[N])...);
    }
};

// The vtable slot a pointer to a virtual member designates. In the Itanium C++
// ABI such a pointer holds 1 + the byte offset of the member's vtable entry.
template <class P>
SHORT VtableSlotOf(P pmf) {
    static_assert(sizeof(P) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &pmf, sizeof raw);
    return (raw[0] & 1) ? static_cast<SHORT>((raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*))) : SHORT(-1);
}

// The property name of an accessor: its member name without the "get_",
// "put_" or "putref_" prefix, pointing into the same literal. Evaluated while
// compiling; an accessor whose name lacks the prefix does not compile.
template <std::size_t N, std::size_t P>
consteval const char16_t* AccessorName(const char16_t (&member)[N], const char16_t (&prefix)[P]) {
    for (std::size_t i = 0; i + 1 < P; ++i)
        if (i + 1 >= N || member[i] != prefix[i])
            throw "the accessor's name does not start with its prefix";
    return &member[P - 1];
}

template <auto Pmf>
Member MakeMember(DISPID dispid, INVOKEKIND kind, const char16_t* name, const char16_t* params) {
    using S = Signature<decltype(Pmf)>;
    return Member{dispid, kind, name, params, S::types, static_cast<SHORT>(S::arity), VtableSlotOf(Pmf),
                  &S::template Call<Pmf>, S::iids};
}

}  // namespace orv::ti

#define ORV_TYPEINFO_BEGIN(I, help)                          \
    const ::orv::ti::Interface& TypeInfoOf(const I*) {       \
        using Self = I;                                      \
        static const char16_t* const kName = u"" #I;         \
        static const char16_t* const kHelp = help;           \
        static const ::orv::ti::Member kMembers[] = {
#define ORV_TYPEINFO_END()                                                                 \
    }                                                                                      \
    ;                                                                                      \
    static const ::orv::ti::Interface kInfo{&uuidof<Self>(), kName, kHelp, kMembers,     \
                                            sizeof(kMembers) / sizeof(kMembers[0])};       \
    return kInfo;                                                                          \
    }

#define ORV_GET(id, m, params) ::orv::ti::MakeMember<&Self::m>(id, INVOKE_PROPERTYGET, ::orv::ti::AccessorName(u"" #m, u"get_"), params),
#define ORV_PUT(id, m, params) ::orv::ti::MakeMember<&Self::m>(id, INVOKE_PROPERTYPUT, ::orv::ti::AccessorName(u"" #m, u"put_"), params),
#define ORV_PUTREF(id, m, params) \
    ::orv::ti::MakeMember<&Self::m>(id, INVOKE_PROPERTYPUTREF, ::orv::ti::AccessorName(u"" #m, u"putref_"), params),
#define ORV_METHOD(id, m, params) ::orv::ti::MakeMember<&Self::m>(id, INVOKE_FUNC, u"" #m, params),
