// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvBank : public CoClass<OrvBank, &CLSID_OrvBank, Pending<IOrvBank>, IDispatch, ISupportErrorInfo, Pending<IOrvObjAsXmlString>> {};

}  // namespace orv
