// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvDocList : public CoClass<OrvDocList, &CLSID_OrvDocList, Pending<IOrvDocList>, IDispatch, ISupportErrorInfo, Pending<IOrvObjAsXmlString>, Pending<IOrvObjAsXmlStringD>, TearOff<IOrvENUMDocuments, PendingTearOff<OrvDocList, IOrvENUMDocuments>>> {};

}  // namespace orv
