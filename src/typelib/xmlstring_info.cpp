#include "frame/typeinfo.h"
#include <orvdocs/typelib/xmlstring.h>

// Dispatch table of the dual XML form.

ORV_TYPEINFO_BEGIN(IOrvObjAsXmlStringD, u"IOrvObjAsXmlStringD Interface")
    ORV_GET(1, get_ShortString, u"pVal")
    ORV_PUT(1, put_ShortString, u"newVal")
    ORV_GET(2, get_FullString, u"pVal")
    ORV_PUT(2, put_FullString, u"newVal")
    ORV_METHOD(3, ParseIn, u"spRoot,lMode")
    ORV_METHOD(4, ParseFrom, u"pRoot,lMode")
ORV_TYPEINFO_END()
