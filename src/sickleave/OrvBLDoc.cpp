#include "sickleave/OrvBLDoc.h"

#include <orvdocs/frame/outside.h>

namespace orv {

HRESULT OrvBLDoc::DocumentAttached() {
    return Locked([&] {
        IOrvDocument* document = Document();
        VARIANT_BOOL connected = VARIANT_FALSE;
        Check(document->get_IsConnectedToDB(&connected), IID_IOrvDocument);
        if (!connected) return S_OK;
        ComPtr<IUnknown> service;
        Check(document->get_OrvBD(service.GetAddressOf()), IID_IOrvDocument);
        ComPtr<IOrvDatabase> database;
        Check(service.As(&database), IID_IOrvDatabase);
        ComPtr<IUnknown> sessionObject;
        Check(database->get_Session(sessionObject.GetAddressOf()), IID_IOrvDatabase);
        if (!sessionObject) throw ComError{E_POINTER, IID_IOrvDatabase};
        ComPtr<IOrvSession> session;
        Check(sessionObject.As(&session), IID_IOrvSession);
        LONG access = 0;
        Check(session->get_AccessType(&access), IID_IOrvSession);
        accessType_ = access != 0 ? 1 : 0;
        return S_OK;
    });
}

LONG OrvBLDoc::AccessType() noexcept {
    auto lock = Lock();
    return accessType_;
}

}  // namespace orv
