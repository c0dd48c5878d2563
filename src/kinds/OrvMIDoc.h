// Medical inspection (type 361): three texts in the attributes of "MIDOCEX".
// The interface has no IsInitialized; the extension frame keeps the flag all
// the same.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

namespace orv {

namespace mi {
inline constexpr ext::AttributeField kFields[] = {
    {u"FirstInsp", ext::FieldType::Text},  // FirstInspection
    {u"NumFLG", ext::FieldType::Text},     // NumberFLG
    {u"SGEdu", ext::FieldType::Text},      // SanGigienEdu
};
enum : std::size_t { kFirstInspection, kNumberFLG, kSanGigienEdu };
}  // namespace mi

class OrvMIDoc : public AttributeKind<OrvMIDoc, &CLSID_OrvMIDoc, mi::kFields, IOrvMIDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"MIDOCEX";
    static constexpr ext::EmptyFields kEmptyFields = ext::EmptyFields::Written;

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_FirstInspection(BSTR* pVal) override { return GetText(mi::kFirstInspection, pVal); }
    HRESULT put_FirstInspection(BSTR newVal) override { return PutText(mi::kFirstInspection, newVal); }
    HRESULT get_NumberFLG(BSTR* pVal) override { return GetText(mi::kNumberFLG, pVal); }
    HRESULT put_NumberFLG(BSTR newVal) override { return PutText(mi::kNumberFLG, newVal); }
    HRESULT get_SanGigienEdu(BSTR* pVal) override { return GetText(mi::kSanGigienEdu, pVal); }
    HRESULT put_SanGigienEdu(BSTR newVal) override { return PutText(mi::kSanGigienEdu, newVal); }
};

}  // namespace orv
