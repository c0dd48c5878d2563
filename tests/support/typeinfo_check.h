// Consistency checks of a compiled-in type information table, shared by the
// tests of every interface family.
#pragma once

#include "frame/typeinfo.h"

#include <initializer_list>
#include <string>

namespace orv::test {

// Checks one dual interface's table: members cover the vtable slots after
// IDispatch's without gaps or repeats, every (dispid, kind) pair is unique, a
// property's get and put share one dispid, every parameter is named once,
// :DATE and :BOOL marks stand only on doubles and 16-bit integers, names are
// non-empty. Reports failures through GoogleTest.
void CheckTypeInfoTable(const orv::ti::Interface& info);

// The dispid of a member found by name and kind; -1 when absent.
DISPID DispIdOf(const orv::ti::Interface& info, std::u16string_view name, INVOKEKIND kind);

// The member names of a table, "get:Name", "put:Name", "method:Name", in table order.
std::string MemberListOf(const orv::ti::Interface& info);

}  // namespace orv::test
