// Vacation protocol holder (type 349): OtProtocol is the vacation object
// (OrvOTDoc) bound to the same generic document, created on the first get and
// kept for this object's life. Through its IOrvOTProtocol the host loads and
// saves the protocols, which for this type live under the extension root
// "VVDOCEX".
#pragma once

#include "kinds/KindBase.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

namespace orv {

class OrvVVDoc : public SpecificObject<OrvVVDoc, &CLSID_OrvVVDoc, IOrvVVDoc, IDispatch> {
public:
    // The kept vacation object (an added reference); the first call creates
    // it. E_POINTER when this object has no document.
    HRESULT get_OtProtocol(IUnknown** pVal) override;
    // Replaces the kept object with one that answers IOrvOTProtocol
    // (E_NOINTERFACE otherwise, keeping the old one); null forgets it, so the
    // next get creates a new one.
    HRESULT put_OtProtocol(IUnknown* newVal) override;

private:
    ComPtr<IUnknown> protocol_;
};

}  // namespace orv
