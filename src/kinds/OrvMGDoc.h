// Schedules by financing source (type 356), kept under "MGGRAFICS":
//
//   <MGGRAFICS><LINE FR="source" GRTOTAL="total" GRAFIC="schedule"/>...</MGGRAFICS>
//
// one "LINE" per financing source that a put or the extension named, in
// ascending order of the source code. Every code is a valid index: a source
// without a line reads as the empty text and 0.0, and a put creates its line.
// On reading, a later "LINE" for a source replaces an earlier one.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

#include <map>
#include <string>

namespace orv {

class OrvMGDoc : public ExtensionKind<OrvMGDoc, &CLSID_OrvMGDoc, IOrvMGDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"MGGRAFICS";

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_Grafic(LONG lFinRoot, BSTR* pVal) override;
    HRESULT put_Grafic(LONG lFinRoot, BSTR newVal) override;
    HRESULT get_GrTotal(LONG lFinRoot, double* pVal) override;
    HRESULT put_GrTotal(LONG lFinRoot, double newVal) override;

private:
    struct Line {
        std::u16string grafic;
        double total = 0.0;
    };
    std::map<LONG, Line> lines_;
};

}  // namespace orv
