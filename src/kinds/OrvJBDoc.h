// Job record (types 396, 402-405, 411, 413, 414, 420, 421, 423, 424): seven
// texts in the attributes of "JBDOCEX" and the periods of service before, an
// XML text kept as the content of the child element "SFPR".
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

#include <string>

namespace orv {

namespace jb {
inline constexpr ext::AttributeField kFields[] = {
    {u"NM", ext::FieldType::Text},    // Name
    {u"POSI", ext::FieldType::Text},  // Position
    {u"KURS", ext::FieldType::Text},  // Kurs
    {u"SFB", ext::FieldType::Text},   // StagFullBefore
    {u"SCB", ext::FieldType::Text},   // StagContBefore
    {u"LS", ext::FieldType::Text},    // LgStag
    {u"MCS", ext::FieldType::Text},   // MaxContStag
};
enum : std::size_t { kName, kPosition, kKurs, kStagFullBefore, kStagContBefore, kLgStag, kMaxContStag };
}  // namespace jb

class OrvJBDoc : public AttributeKind<OrvJBDoc, &CLSID_OrvJBDoc, jb::kFields, IOrvJBDoc, IDispatch> {
    using Base = AttributeKind<OrvJBDoc, &CLSID_OrvJBDoc, jb::kFields, IOrvJBDoc, IDispatch>;

public:
    static constexpr const OLECHAR* kRoot = u"JBDOCEX";
    static constexpr ext::EmptyFields kEmptyFields = ext::EmptyFields::Written;

    // The attributes, then the periods: the written form of every node under
    // "SFPR", in order (empty without the element).
    void Decode(IXMLDOMElement* root);
    // The attributes, then "SFPR" holding the top-level nodes of the periods
    // text. A text that is neither a document nor a sequence of nodes raises
    // E_INVALIDARG: the extension keeps its body and the fields their values.
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_Name(BSTR* pVal) override { return GetText(jb::kName, pVal); }
    HRESULT put_Name(BSTR newVal) override { return PutText(jb::kName, newVal); }
    HRESULT get_Position(BSTR* pVal) override { return GetText(jb::kPosition, pVal); }
    HRESULT put_Position(BSTR newVal) override { return PutText(jb::kPosition, newVal); }
    HRESULT get_Kurs(BSTR* pVal) override { return GetText(jb::kKurs, pVal); }
    HRESULT put_Kurs(BSTR newVal) override { return PutText(jb::kKurs, newVal); }
    HRESULT get_StagFullBefore(BSTR* pVal) override { return GetText(jb::kStagFullBefore, pVal); }
    HRESULT put_StagFullBefore(BSTR newVal) override { return PutText(jb::kStagFullBefore, newVal); }
    HRESULT get_StagContBefore(BSTR* pVal) override { return GetText(jb::kStagContBefore, pVal); }
    HRESULT put_StagContBefore(BSTR newVal) override { return PutText(jb::kStagContBefore, newVal); }
    HRESULT get_LgStag(BSTR* pVal) override { return GetText(jb::kLgStag, pVal); }
    HRESULT put_LgStag(BSTR newVal) override { return PutText(jb::kLgStag, newVal); }
    HRESULT get_MaxContStag(BSTR* pVal) override { return GetText(jb::kMaxContStag, pVal); }
    HRESULT put_MaxContStag(BSTR newVal) override { return PutText(jb::kMaxContStag, newVal); }
    HRESULT get_StagFullBeforePeriods(BSTR* pVal) override;
    HRESULT put_StagFullBeforePeriods(BSTR newVal) override;

private:
    std::u16string periods_;
};

}  // namespace orv
