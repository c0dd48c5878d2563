// The average-earnings protocol with the years taken for the average (type
// code 69). Unlike OR and VO it keeps its data in the object between
// InitFromExtension and UpdateExtension: the protocol as the text of its
// "BLPR5" element and the years as a text. Extension body: root "PS" with
// the attribute "YEARSFORAVE" and "MAINPROT" holding the protocol.
#pragma once

#include "kinds/KindBase.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_average.h>

#include <string>

namespace orv {

class OrvPSDoc : public SpecificObject<OrvPSDoc, &CLSID_OrvPSDoc, IOrvPSDoc, IDispatch> {
public:
    // A new protocol object from the kept text, with the document's access type.
    HRESULT get_Protocol(IDispatch** pVal) override;
    // Keeps the protocol's text (none for an object that is not a protocol)
    // and writes the extension at once.
    HRESULT put_Protocol(IDispatch* newVal) override;
    HRESULT get_YearsForAverage(BSTR* pVal) override;
    // Changes the object only; the extension follows at the next write.
    HRESULT put_YearsForAverage(BSTR newVal) override;
    // Reads the extension once; later calls do nothing.
    HRESULT InitFromExtension() override;
    // Writes the body; E_POINTER when the document has no extension.
    HRESULT UpdateExtension() override;

private:
    void EnsureInitialized();
    void Write();

    VARIANT_BOOL initialized_ = VARIANT_FALSE;
    LONG accessType_ = 0;
    std::u16string protocolText_;
    std::u16string years_;
};

}  // namespace orv
