#include "document/OrvDocument.h"

#include "document/OrvDocExtension.h"

namespace orv {

HRESULT OrvDocument::FinalConstruct() {
    return CreateInstance<OrvDocExtension>(ControllingUnknown(), IID_IUnknown,
                                           reinterpret_cast<void**>(extension_.ReleaseAndGetAddressOf()));
}

}  // namespace orv
