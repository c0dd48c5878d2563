// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvInstanceList : public CoClass<OrvInstanceList, &CLSID_OrvInstanceList, Pending<IOrvInstanceList>, IDispatch, ISupportErrorInfo, Pending<IOrvObjAsXmlString>> {};

}  // namespace orv
