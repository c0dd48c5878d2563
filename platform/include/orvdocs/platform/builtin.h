// Classes built into the platform itself: creatable in every process without a
// registration step (the XML DOM document service is one).
#pragma once

#include "unknwn.h"

// Creates one object of a built-in class: the same contract as
// IClassFactory::CreateInstance (ppv is never null when the runtime calls it).
using PFNBUILTINCREATE = HRESULT (*)(IUnknown* pUnkOuter, REFIID riid, void** ppv);

// Makes rclsid creatable in this process. CoGetClassObject and CoCreateInstance
// find it after the class objects registered with CoRegisterClassObject and
// before the registry; it counts as an in-process server. progId (may be null)
// is answered by CLSIDFromProgID and ProgIDFromCLSID, compared without regard to
// ASCII case. Registering the same class again replaces its creator and adds the
// new ProgID as an alias; ProgIDFromCLSID keeps answering the first one.
// Thread-safe and callable from static initialisers; a registration lasts for
// the life of the process.
void RegisterBuiltinClass(REFCLSID rclsid, const char16_t* progId, PFNBUILTINCREATE create);

namespace orv {
using ::RegisterBuiltinClass;
}
