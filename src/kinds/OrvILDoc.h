// Writ of execution (type 15). Record fields (h: the hundredths of DcSum3):
//   AccountId       low 16 bits of h, sign-extended
//   BankDepartment  high 16 bits of h as decimal text ("" for 0)
//   ListNumber      LReserv2;  OutsidePost dcShort(1)
//   PostProc        dcLong(0), the percentage in ten-thousandths
//   format flag     dcLong(1): not 0, the extension is XML; 0, the older byte record
// The recipient's full text and code live in the extension:
//   <ILDOCEX RCPNT="full text" RCODE="code"/>
// The older byte record holds the recipient as an OEM text at byte 0 and,
// when the body is longer than 76 bytes, an addition at byte 76; the full
// text is then "recipient до addition". UpdateExtension writes the XML form
// and sets the format flag to 1.
//
// The full text reads "name ПСП№ (series number)" (or with "ПСП#"): Recipient
// is the name part, RecipientPassSeria and RecipientPassNumber the passport.
#pragma once

#include "kinds/ExtensionFields.h"
#include "kinds/RecordFields.h"

#include <orvdocs/typelib/kinds_loan_piece.h>

#include <string>

namespace orv {

// The recipient's name and passport, taken from the full text.
struct WritRecipient {
    std::u16string name;    // the full text when it has no passport marker
    std::u16string series;
    std::u16string number;
};
WritRecipient SplitRecipient(std::u16string_view full);

class OrvILDoc : public ExtensionKind<OrvILDoc, &CLSID_OrvILDoc, IOrvILDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"ILDOCEX";

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT get_Recipient(BSTR* pVal) override;
    HRESULT put_Recipient(BSTR newVal) override;
    HRESULT get_AccountId(LONG* pVal) override;
    HRESULT put_AccountId(LONG newVal) override;
    HRESULT get_ListNumber(LONG* pVal) override;
    HRESULT put_ListNumber(LONG newVal) override;
    HRESULT get_BankDepartment(BSTR* pVal) override;
    HRESULT put_BankDepartment(BSTR newVal) override;
    HRESULT get_FullRecipient(BSTR* pVal) override;
    HRESULT put_FullRecipient(BSTR) override { return E_NOTIMPL; }
    HRESULT get_RecipientPassSeria(BSTR* pVal) override;
    HRESULT get_RecipientPassNumber(BSTR* pVal) override;
    HRESULT get_OutsidePost(LONG* pVal) override;
    HRESULT put_OutsidePost(LONG newVal) override;
    HRESULT get_RecipientPassType(BSTR* pVal) override;
    HRESULT put_RecipientPassType(BSTR) override { return S_OK; }
    HRESULT get_PostProc(double* pVal) override;
    HRESULT put_PostProc(double newVal) override;
    HRESULT InitFromExtension() override;
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT UpdateExtension() override;
    HRESULT get_RecipientCode(BSTR* pVal) override;
    HRESULT put_RecipientCode(BSTR newVal) override;

private:
    void Load();
    HRESULT GetPart(std::u16string WritRecipient::*part, BSTR* pVal);

    std::u16string full_;
    std::u16string code_;
};

}  // namespace orv
