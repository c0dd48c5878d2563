#include "sickleave/AccessType.h"

#include <orvdocs/frame/outside.h>

namespace orv {

LONG AccessTypeFromDatabase(IUnknown* service) {
    ComPtr<IOrvDatabase> database;
    if (!service ||
        FAILED(service->QueryInterface(IID_IOrvDatabase, reinterpret_cast<void**>(database.GetAddressOf()))) ||
        !database)
        throw ComError{E_POINTER, IID_IOrvDatabase};
    ComPtr<IUnknown> sessionObject;
    Check(database->get_Session(sessionObject.GetAddressOf()), IID_IOrvDatabase);
    if (!sessionObject) return 0;  // no user session: the first calculation
    ComPtr<IOrvSession> session;
    Check(sessionObject.As(&session), IID_IOrvSession);
    LONG access = 0;
    Check(session->get_AccessType(&access), IID_IOrvSession);
    return access != 0 ? 1 : 0;
}

}  // namespace orv
