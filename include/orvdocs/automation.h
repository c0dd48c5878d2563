// Late binding for C++ hosts: calls a member of an automation object by its
// name with variants, as a script does.
//
//   orv::DispResult r = orv::GetProperty(disp, u"Dcms", {orv::Variant(SHORT(3))});
//   if (r.Succeeded()) ... r.value ...
//   orv::PutProperty(disp, u"Memo", orv::Variant(u"text"));
//   LONG result = 0;
//   orv::Invoke(disp, u"InitInnerDocExtension", {orv::Variant(LONG(7)), orv::ByRef(VT_I4, &result)});
//
// Arguments are given in declaration order (the helper reverses them for
// IDispatch::Invoke). A value is converted by the object to the parameter's
// type; an out-parameter takes a reference (ByRef) or, when it is the last
// parameter of a get or method and left out, comes back as the result.
#pragma once

#include <orvdocs/platform/strings.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// The outcome of a call by name.
struct DispResult {
    HRESULT hr = S_OK;      // what IDispatch::Invoke (or GetIDsOfNames) returned
    HRESULT status = S_OK;  // the member's own status when it failed (hr is then DISP_E_EXCEPTION), else hr
    Variant value;          // the result; empty for puts and for members without one
    // With DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW or DISP_E_PARAMNOTOPTIONAL: the
    // failing argument, counted from 0 in the order the arguments were given.
    UINT argErr = 0;
    std::u16string source;       // the error report of a failed member, when it left one
    std::u16string description;

    bool Succeeded() const noexcept { return SUCCEEDED(hr); }
};

// The dispatch identifier of a member name (any case).
HRESULT GetDispId(IDispatch* disp, std::u16string_view name, DISPID* id) noexcept;

// The general call: flags as for IDispatch::Invoke. With DISPATCH_PROPERTYPUT
// or DISPATCH_PROPERTYPUTREF the last argument is the new value.
DispResult InvokeById(IDispatch* disp, DISPID id, WORD flags, std::span<const VARIANT> args) noexcept;
DispResult InvokeByName(IDispatch* disp, std::u16string_view name, WORD flags,
                        std::span<const VARIANT> args) noexcept;

// A method or property get, called as scripts do (DISPATCH_METHOD | DISPATCH_PROPERTYGET).
DispResult Invoke(IDispatch* disp, std::u16string_view name, std::initializer_list<Variant> args = {}) noexcept;
// A property get; index holds the arguments of an indexed property.
DispResult GetProperty(IDispatch* disp, std::u16string_view name, std::initializer_list<Variant> index = {}) noexcept;
// A property put, plain or indexed.
DispResult PutProperty(IDispatch* disp, std::u16string_view name, const VARIANT& value) noexcept;
DispResult PutProperty(IDispatch* disp, std::u16string_view name, std::initializer_list<Variant> index,
                       const VARIANT& value) noexcept;
// A property put by reference (DISPATCH_PROPERTYPUTREF), for putref members.
DispResult PutPropertyRef(IDispatch* disp, std::u16string_view name, const VARIANT& value) noexcept;

// An argument that refers to a caller's variable, for out-parameters: a value
// of type vt at p (VT_BYREF | vt), or any variant (VT_BYREF | VT_VARIANT),
// which receives the out-value with its own type. The variable must hold a
// valid value (a string, interface or variant there is freed when replaced).
Variant ByRef(VARTYPE vt, void* p) noexcept;
Variant ByRef(VARIANT* target) noexcept;

}  // namespace orv
