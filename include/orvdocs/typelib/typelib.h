// Every interface, class identifier and the library identifier of the type library.
#pragma once

#include <orvdocs/typelib/typelib_core.h>
#include <orvdocs/typelib/typelib_kinds1.h>
#include <orvdocs/typelib/typelib_kinds2.h>
