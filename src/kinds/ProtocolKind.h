// The kinds that hold nothing but one average-earnings protocol (OR, VO).
// They keep no copy of it: every Protocol get builds a new protocol object
// from the extension ("<root>/MAINPROT/BLPR5"), every put rewrites the whole
// extension body as the root with "MAINPROT" holding the protocol.
#pragma once

#include "kinds/KindBase.h"

namespace orv {

namespace avgprot {
// The bodies of Protocol get and put for a document and root element name.
// Get: null (S_OK) when the document has no extension. Put: nothing written
// when the argument is not a protocol; E_POINTER without an extension.
ComPtr<IDispatch> ReadProtocol(IOrvDocument* document, const char16_t* root);
void WriteProtocol(IOrvDocument* document, const char16_t* root, IDispatch* protocol);
}  // namespace avgprot

template <class Derived, const CLSID* Clsid, class I>
class ProtocolKind : public SpecificObject<Derived, Clsid, I, IDispatch> {
public:
    HRESULT get_Protocol(IDispatch** pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        return this->Locked([&] {
            *pVal = avgprot::ReadProtocol(this->Document(), Derived::kRoot).Detach();
            return S_OK;
        });
    }
    HRESULT put_Protocol(IDispatch* newVal) override {
        return this->Locked([&] {
            avgprot::WriteProtocol(this->Document(), Derived::kRoot, newVal);
            return S_OK;
        });
    }
};

}  // namespace orv
