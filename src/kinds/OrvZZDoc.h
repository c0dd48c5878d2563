// Recipient and address (type 332): two texts in the attributes of "ZZDOCEX".
// Only texts that are not empty are written.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

namespace orv {

namespace zz {
inline constexpr ext::AttributeField kFields[] = {
    {u"RCP", ext::FieldType::Text},   // Recipient
    {u"ADDR", ext::FieldType::Text},  // AddressString
};
enum : std::size_t { kRecipient, kAddress };
}  // namespace zz

class OrvZZDoc
    : public AttributeKind<OrvZZDoc, &CLSID_OrvZZDoc, zz::kFields, IOrvZZDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"ZZDOCEX";
    static constexpr ext::EmptyFields kEmptyFields = ext::EmptyFields::Omitted;

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_Recipient(BSTR* pVal) override { return GetText(zz::kRecipient, pVal); }
    HRESULT put_Recipient(BSTR newVal) override { return PutText(zz::kRecipient, newVal); }
    HRESULT get_AddressString(BSTR* pVal) override { return GetText(zz::kAddress, pVal); }
    HRESULT put_AddressString(BSTR newVal) override { return PutText(zz::kAddress, newVal); }
};

}  // namespace orv
