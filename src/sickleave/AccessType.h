// The access type of a sick-leave document or protocol, taken from a
// database service: its main interface's session (slot 28, byte offset 0x70)
// asked for IOrvSession, whose AccessType (slot 30, 0x78) gives 1 when it is
// not 0, else 0. A service that answers no session (null) gives 0: without
// a user session only the first calculation exists.
#pragma once

#include "frame/com.h"

namespace orv {

// Raises ComError: E_POINTER (IID_IOrvDatabase) for a null service or one
// without the main interface, the status of a failing call with the
// interface that failed.
LONG AccessTypeFromDatabase(IUnknown* service);

}  // namespace orv
