// Type information of the average-earnings protocol document interfaces.
// Compiled-in type information: one table per dual interface, members in
// vtable order with their dispids and parameter names.
#include "frame/typeinfo.h"
#include <orvdocs/typelib/kinds_average.h>

ORV_TYPEINFO_BEGIN(IOrvORDoc, u"IOrvORDoc Interface")
    ORV_GET(1, get_Protocol, u"pVal")
    ORV_PUT(1, put_Protocol, u"newVal")
ORV_TYPEINFO_END()

ORV_TYPEINFO_BEGIN(IOrvVODoc, u"IOrvVODoc Interface")
    ORV_GET(1, get_Protocol, u"pVal")
    ORV_PUT(1, put_Protocol, u"newVal")
ORV_TYPEINFO_END()

ORV_TYPEINFO_BEGIN(IOrvPSDoc, u"IOrvPSDoc Interface")
    ORV_GET(1, get_Protocol, u"pVal")
    ORV_PUT(1, put_Protocol, u"newVal")
    ORV_GET(2, get_YearsForAverage, u"pVal")
    ORV_PUT(2, put_YearsForAverage, u"newVal")
    ORV_METHOD(3, InitFromExtension, u"")
    ORV_METHOD(4, UpdateExtension, u"")
ORV_TYPEINFO_END()
