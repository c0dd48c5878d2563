// The extension of a document: one opaque body, created with every document
// and aggregated into it, and also creatable alone.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvDocExtension
    : public CoClass<OrvDocExtension, &CLSID_OrvDocExtension, Pending<IOrvDocExtension>, IDispatch, ISupportErrorInfo> {
};

}  // namespace orv
