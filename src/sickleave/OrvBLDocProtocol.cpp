#include "sickleave/OrvBLDocProtocol.h"

#include <orvdocs/platform/combase.h>

namespace orv {

HRESULT OrvBLDocProtocol::FinalConstruct() {
    HRESULT hr = CoCreateInstance(CLSID_OrvUnknownList, nullptr, CLSCTX_ALL, IID_IOrvUnknownList,
                                  reinterpret_cast<void**>(history_.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return hr;
    return CoCreateInstance(CLSID_OrvUnknownList, nullptr, CLSCTX_ALL, IID_IOrvUnknownList,
                            reinterpret_cast<void**>(payMonths_.ReleaseAndGetAddressOf()));
}

}  // namespace orv
