// Norm and actual schedules (type 250): two texts in the attributes of
// "TVEXT". NormGrafic2 and FactGrafic2 are second names of the same two texts.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

namespace orv {

namespace tv {
inline constexpr ext::AttributeField kFields[] = {
    {u"NR", ext::FieldType::Text},  // NormGrafic, NormGrafic2
    {u"FT", ext::FieldType::Text},  // FactGrafic, FactGrafic2
};
enum : std::size_t { kNorm, kFact };
}  // namespace tv

class OrvTVDoc
    : public AttributeKind<OrvTVDoc, &CLSID_OrvTVDoc, tv::kFields, IOrvTVDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"TVEXT";
    static constexpr ext::EmptyFields kEmptyFields = ext::EmptyFields::Written;

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_NormGrafic(BSTR* pVal) override { return GetText(tv::kNorm, pVal); }
    HRESULT put_NormGrafic(BSTR newVal) override { return PutText(tv::kNorm, newVal); }
    HRESULT get_FactGrafic(BSTR* pVal) override { return GetText(tv::kFact, pVal); }
    HRESULT put_FactGrafic(BSTR newVal) override { return PutText(tv::kFact, newVal); }
    HRESULT get_NormGrafic2(BSTR* pVal) override { return GetText(tv::kNorm, pVal); }
    HRESULT put_NormGrafic2(BSTR newVal) override { return PutText(tv::kNorm, newVal); }
    HRESULT get_FactGrafic2(BSTR* pVal) override { return GetText(tv::kFact, pVal); }
    HRESULT put_FactGrafic2(BSTR newVal) override { return PutText(tv::kFact, newVal); }
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
    // The document is fixed at creation.
    HRESULT put_OrvDocument(IUnknown*) override { return E_NOTIMPL; }
};

}  // namespace orv
