// The one header a host needs: the platform API, the DOM service, every
// interface and identifier of the library and of the outside components.
#pragma once

#include <orvdocs/platform/platform.h>
#include <orvdocs/typelib/typelib.h>
#include <orvdocs/frame/outside.h>
#include <orvdocs/automation.h>

// The entry points liborvdocs.so exports (a host that links the library may
// call DllRegisterServer directly).
extern "C" {
HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
HRESULT DllCanUnloadNow();
HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
}
