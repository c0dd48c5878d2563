// Tax allowances (type 40). Most values are packed into fields of the generic
// document's record (h: the hundredths of a sum field; bits count from 0 at
// the least significant bit):
//
//   DiscountInSum Dcsum1            IndexMrotDiscountType       h(DcSum3) bits 0-7
//   SuperMrot h(DcSum2)             IndexChildMrotDiscountType  h(DcSum3) bits 8-15
//   AdditionalMrot DcDat1           IndexSuperMrotDiscountType  h(DcSum3) bits 16-23
//   ChildType h(Dcms(0))            IndexSumDiscountType        h(DcSum3) bits 24-31
//   CancelPersonalOnly h(Dcms(1)) bit 0, Chernobyl bit 1, CancelDiscount Dfl bit 5
//   ChildMrotDiscountBase dcLong(0) bits 0-15, MrotDiscountBase bits 16-31
//   SuperMrotDiscountBase dcLong(1) bits 16-31, TaxTableNumber dcShort(1)
//   AllowanceOrdered dcLong(2) bits 16-31, Version dcLong(3)
//   ProfessionalPercent dcLong(4) bits 0-15, IndexProfessionDiscountType bits 16-31
//
// A put of a packed value replaces only its own bits. The address and the
// tax office's notification live in the extension: with Version not 0 as
//   <LPDOCEX ADDRESS=".." UN="number" UC="office code" UD="date"/>
// and with Version 0 (older documents) as the address alone in OEM bytes.
// Writing always uses the XML form and sets Version to 1.
#pragma once

#include "kinds/ExtensionFields.h"
#include "kinds/RecordFields.h"

#include <orvdocs/typelib/kinds_sums.h>

#include <string>

namespace orv {

class OrvLPDoc : public ExtensionKind<OrvLPDoc, &CLSID_OrvLPDoc, IOrvLPDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"LPDOCEX";

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT get_DiscountInSum(CY* pVal) override;
    HRESULT put_DiscountInSum(CY newVal) override;
    HRESULT get_SuperMrot(LONG* pVal) override;
    HRESULT put_SuperMrot(LONG newVal) override;
    HRESULT get_AdditionalMrot(LONG* pVal) override;
    HRESULT put_AdditionalMrot(LONG newVal) override;
    HRESULT get_IndexMrotDiscountType(ULONG* pVal) override { return GetSumBits(kDiscountTypes, 0, 8, pVal); }
    HRESULT put_IndexMrotDiscountType(ULONG newVal) override { return PutSumBits(kDiscountTypes, 0, 8, newVal); }
    HRESULT get_IndexChildMrotDiscountType(ULONG* pVal) override { return GetSumBits(kDiscountTypes, 8, 8, pVal); }
    HRESULT put_IndexChildMrotDiscountType(ULONG newVal) override { return PutSumBits(kDiscountTypes, 8, 8, newVal); }
    HRESULT get_IndexSuperMrotDiscountType(ULONG* pVal) override { return GetSumBits(kDiscountTypes, 16, 8, pVal); }
    HRESULT put_IndexSuperMrotDiscountType(ULONG newVal) override { return PutSumBits(kDiscountTypes, 16, 8, newVal); }
    HRESULT get_IndexSumDiscountType(ULONG* pVal) override { return GetSumBits(kDiscountTypes, 24, 8, pVal); }
    HRESULT put_IndexSumDiscountType(ULONG newVal) override { return PutSumBits(kDiscountTypes, 24, 8, newVal); }
    HRESULT get_ChildType(LONG* pVal) override;
    HRESULT put_ChildType(LONG newVal) override;
    HRESULT get_CancelPersonalOnly(VARIANT_BOOL* pVal) override { return GetSumFlag(0, pVal); }
    HRESULT put_CancelPersonalOnly(VARIANT_BOOL newVal) override { return PutSumFlag(0, newVal); }
    HRESULT get_Chernobyl(VARIANT_BOOL* pVal) override { return GetSumFlag(1, pVal); }
    HRESULT put_Chernobyl(VARIANT_BOOL newVal) override { return PutSumFlag(1, newVal); }
    HRESULT get_CancelDiscount(VARIANT_BOOL* pVal) override;
    HRESULT put_CancelDiscount(VARIANT_BOOL newVal) override;
    HRESULT get_ChildMrotDiscountBase(SHORT* pVal) override { return GetHalf(0, 0, pVal); }
    HRESULT put_ChildMrotDiscountBase(SHORT newVal) override { return PutHalf(0, 0, newVal); }
    HRESULT get_MrotDiscountBase(SHORT* pVal) override { return GetHalf(0, 16, pVal); }
    HRESULT put_MrotDiscountBase(SHORT newVal) override { return PutHalf(0, 16, newVal); }
    HRESULT get_SuperMrotDiscountBase(SHORT* pVal) override { return GetHalf(1, 16, pVal); }
    HRESULT put_SuperMrotDiscountBase(SHORT newVal) override { return PutHalf(1, 16, newVal); }
    HRESULT get_TaxTableNumber(SHORT* pVal) override;
    HRESULT put_TaxTableNumber(SHORT newVal) override;
    HRESULT get_AllowanceOrdered(SHORT* pVal) override { return GetHalf(2, 16, pVal); }
    HRESULT put_AllowanceOrdered(SHORT newVal) override { return PutHalf(2, 16, newVal); }
    HRESULT get_Version(LONG* pVal) override;
    HRESULT put_Version(LONG newVal) override;
    HRESULT get_ProfessionalPercent(SHORT* pVal) override { return GetHalf(4, 0, pVal); }
    HRESULT put_ProfessionalPercent(SHORT newVal) override { return PutHalf(4, 0, newVal); }
    HRESULT get_IndexProfessionDiscountType(SHORT* pVal) override { return GetHalf(4, 16, pVal); }
    HRESULT put_IndexProfessionDiscountType(SHORT newVal) override { return PutHalf(4, 16, newVal); }
    HRESULT get_NumChildren(LONG lPipeId, LONG* pVal) override { return Count(lPipeId, false, pVal); }
    HRESULT get_NumDependant(LONG lPipeId, LONG* pVal) override { return Count(lPipeId, true, pVal); }
    HRESULT get_Address(LONG lPipeId, BSTR* pVal) override;
    HRESULT put_Address(BSTR newVal) override;
    HRESULT get_UvedomGniCode(BSTR* pVal) override { return GetText(uvedomGniCode_, pVal); }
    HRESULT put_UvedomGniCode(BSTR newVal) override { return PutText(uvedomGniCode_, newVal); }
    HRESULT get_UvedomNumber(BSTR* pVal) override { return GetText(uvedomNumber_, pVal); }
    HRESULT put_UvedomNumber(BSTR newVal) override { return PutText(uvedomNumber_, newVal); }
    HRESULT get_UvedomDate(DATE* pVal) override;
    HRESULT put_UvedomDate(DATE newVal) override;
    HRESULT InitFromExtension() override;
    HRESULT UpdateExtension() override;

private:
    static constexpr record::Sum kDiscountTypes = record::Sum::DcSum3;

    HRESULT GetSumBits(record::Sum field, int shift, int width, ULONG* pVal);
    HRESULT PutSumBits(record::Sum field, int shift, int width, ULONG value);
    HRESULT GetSumFlag(int bit, VARIANT_BOOL* pVal);
    HRESULT PutSumFlag(int bit, VARIANT_BOOL value);
    HRESULT GetHalf(LONG index, int shift, SHORT* pVal);
    HRESULT PutHalf(LONG index, int shift, SHORT value);
    HRESULT GetText(const std::u16string& field, BSTR* pVal);
    HRESULT PutText(std::u16string& field, BSTR value);
    HRESULT Count(LONG pipeId, bool dependants, LONG* pVal);
    void Load();
    void SetVersion(LONG version);

    std::u16string address_;
    std::u16string uvedomNumber_;
    std::u16string uvedomGniCode_;
    DATE uvedomDate_ = 0.0;
};

}  // namespace orv
