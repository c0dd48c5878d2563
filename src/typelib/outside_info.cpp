// Type information of the outside interfaces the library's own classes serve.
#include "frame/typeinfo.h"

#include <orvdocs/frame/outside.h>

ORV_TYPEINFO_BEGIN(IOrvUnknownList, u"IOrvUnknownList Interface")
    ORV_METHOD(1, Reset, u"")
    ORV_METHOD(2, Add, u"punk")
    ORV_METHOD(3, Next, u"ppunk")
    ORV_GET(4, get_Count, u"pVal")
    ORV_METHOD(5, RemoveAll, u"")
ORV_TYPEINFO_END()

ORV_TYPEINFO_BEGIN(IOrvRefItem, u"IOrvRefItem Interface")
    ORV_GET(1, get_Kind, u"pVal")
    ORV_PUT(1, put_Kind, u"newVal")
    ORV_GET(2, get_Index, u"pVal")
    ORV_PUT(2, put_Index, u"newVal")
    ORV_GET(3, get_Code, u"pVal")
    ORV_PUT(3, put_Code, u"newVal")
    ORV_GET(4, get_Name, u"pVal")
    ORV_PUT(4, put_Name, u"newVal")
    ORV_GET(5, get_Id, u"pVal")
    ORV_PUT(5, put_Id, u"newVal")
    ORV_GET(6, get_ClassId, u"pVal")
    ORV_PUT(6, put_ClassId, u"newVal")
    ORV_GET(7, get_Flag1, u"pVal")
    ORV_PUT(7, put_Flag1, u"newVal")
    ORV_GET(8, get_Flag2, u"pVal")
    ORV_PUT(8, put_Flag2, u"newVal")
    ORV_GET(9, get_Flag3, u"pVal")
    ORV_PUT(9, put_Flag3, u"newVal")
ORV_TYPEINFO_END()
