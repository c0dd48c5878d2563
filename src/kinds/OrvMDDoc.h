// Medical certificate (type 407): number, term and issue date in the
// attributes of "MDDOCEX". Empty texts and a zero date are not written.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

namespace orv {

namespace md {
inline constexpr ext::AttributeField kFields[] = {
    {u"SNUM", ext::FieldType::Text},   // SprNumber
    {u"SSROK", ext::FieldType::Text},  // SprSrok
    {u"SID", ext::FieldType::Date},    // SprIssueDate
};
enum : std::size_t { kNumber, kSrok, kIssueDate };
}  // namespace md

class OrvMDDoc : public AttributeKind<OrvMDDoc, &CLSID_OrvMDDoc, md::kFields, IOrvMDDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"MDDOCEX";
    static constexpr ext::EmptyFields kEmptyFields = ext::EmptyFields::Omitted;

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_SprNumber(BSTR* pVal) override { return GetText(md::kNumber, pVal); }
    HRESULT put_SprNumber(BSTR newVal) override { return PutText(md::kNumber, newVal); }
    HRESULT get_SprSrok(BSTR* pVal) override { return GetText(md::kSrok, pVal); }
    HRESULT put_SprSrok(BSTR newVal) override { return PutText(md::kSrok, newVal); }
    HRESULT get_SprIssueDate(DATE* pVal) override { return GetDate(md::kIssueDate, pVal); }
    HRESULT put_SprIssueDate(DATE newVal) override { return PutDate(md::kIssueDate, newVal); }
};

}  // namespace orv
