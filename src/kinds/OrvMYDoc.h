// Military registration (type 408): texts and dates in the attributes of
// "MYDOCEX", every one written.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

namespace orv {

namespace my {
using ext::FieldType;
inline constexpr ext::AttributeField kFields[] = {
    {u"VK", FieldType::Text},      // MilitaryOffice
    {u"SA", FieldType::Text},      // MilitaryRank
    {u"CA", FieldType::Text},      // ReserveCategory
    {u"AC", FieldType::Text},      // SpecialtyCode
    {u"ACNAM", FieldType::Text},   // SpecialtyName
    {u"CN", FieldType::Text},      // FitnessCategory
    {u"TCKNUM", FieldType::Text},  // TicketNumber
    {u"TCKDAT", FieldType::Date},  // TicketDate
    {u"GRP", FieldType::Text},     // RegistrationGroup
    {u"OTM", FieldType::Text},     // RegistrationMark
    {u"SRVST", FieldType::Date},   // ServiceStart
    {u"SRVEND", FieldType::Date},  // ServiceEnd
};
enum : std::size_t {
    kOffice, kRank, kReserveCategory, kSpecialtyCode, kSpecialtyName, kFitness,
    kTicketNumber, kTicketDate, kGroup, kMark, kServiceStart, kServiceEnd
};
}  // namespace my

class OrvMYDoc : public AttributeKind<OrvMYDoc, &CLSID_OrvMYDoc, my::kFields, IOrvMYDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"MYDOCEX";
    static constexpr ext::EmptyFields kEmptyFields = ext::EmptyFields::Written;

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_MilitaryOffice(BSTR* pVal) override { return GetText(my::kOffice, pVal); }
    HRESULT put_MilitaryOffice(BSTR newVal) override { return PutText(my::kOffice, newVal); }
    HRESULT get_MilitaryRank(BSTR* pVal) override { return GetText(my::kRank, pVal); }
    HRESULT put_MilitaryRank(BSTR newVal) override { return PutText(my::kRank, newVal); }
    HRESULT get_ReserveCategory(BSTR* pVal) override { return GetText(my::kReserveCategory, pVal); }
    HRESULT put_ReserveCategory(BSTR newVal) override { return PutText(my::kReserveCategory, newVal); }
    HRESULT get_SpecialtyCode(BSTR* pVal) override { return GetText(my::kSpecialtyCode, pVal); }
    HRESULT put_SpecialtyCode(BSTR newVal) override { return PutText(my::kSpecialtyCode, newVal); }
    HRESULT get_SpecialtyName(BSTR* pVal) override { return GetText(my::kSpecialtyName, pVal); }
    HRESULT put_SpecialtyName(BSTR newVal) override { return PutText(my::kSpecialtyName, newVal); }
    HRESULT get_FitnessCategory(BSTR* pVal) override { return GetText(my::kFitness, pVal); }
    HRESULT put_FitnessCategory(BSTR newVal) override { return PutText(my::kFitness, newVal); }
    HRESULT get_TicketNumber(BSTR* pVal) override { return GetText(my::kTicketNumber, pVal); }
    HRESULT put_TicketNumber(BSTR newVal) override { return PutText(my::kTicketNumber, newVal); }
    HRESULT get_TicketDate(DATE* pVal) override { return GetDate(my::kTicketDate, pVal); }
    HRESULT put_TicketDate(DATE newVal) override { return PutDate(my::kTicketDate, newVal); }
    HRESULT get_RegistrationGroup(BSTR* pVal) override { return GetText(my::kGroup, pVal); }
    HRESULT put_RegistrationGroup(BSTR newVal) override { return PutText(my::kGroup, newVal); }
    HRESULT get_RegistrationMark(BSTR* pVal) override { return GetText(my::kMark, pVal); }
    HRESULT put_RegistrationMark(BSTR newVal) override { return PutText(my::kMark, newVal); }
    HRESULT get_ServiceStart(DATE* pVal) override { return GetDate(my::kServiceStart, pVal); }
    HRESULT put_ServiceStart(DATE newVal) override { return PutDate(my::kServiceStart, newVal); }
    HRESULT get_ServiceEnd(DATE* pVal) override { return GetDate(my::kServiceEnd, pVal); }
    HRESULT put_ServiceEnd(DATE newVal) override { return PutDate(my::kServiceEnd, newVal); }
};

}  // namespace orv
