// The reference record of a bank: identification code, correspondent account,
// names, tax number, the lists of its accounts and addresses, and the format
// number of its export file. Its XML form (IOrvObjAsXmlString) is one element
//   <ORVBANK CLSID="{EA91A066-...}" BIK=".." BCMT=".." NVSCODE=".." CORRACCOUNT=".."
//            CORRSUBACCOUNT=".." INN=".." NAME=".." OFFICENAME=".." KEYVAL=".." EXPFF="..">
//     <ORVACCLIST>...</ORVACCLIST><ORVADDRLIST>...</ORVADDRLIST>
//   </ORVBANK>
// ("EXPFF" only when not 0). The two lists are objects of the outside list
// component (CLSID_OrvAccountList, CLSID_OrvAddressList) that write and read
// themselves through their own IOrvObjAsXmlString (mode 0).
#pragma once

#include "frame/com.h"

#include <orvdocs/platform/msxml.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/reference.h>
#include <orvdocs/typelib/xmlstring.h>

#include <array>
#include <string>

namespace orv {

class OrvBank : public CoClass<OrvBank, &CLSID_OrvBank, IOrvBank, IDispatch, ISupportErrorInfo, IOrvObjAsXmlString> {
public:
    // A new bank has an empty account list and an empty address list when
    // the list component is there; without it the bank is created without
    // lists (and writes no list elements).
    HRESULT FinalConstruct();

    HRESULT get_KeyVal(LONG* pVal) override;
    HRESULT put_KeyVal(LONG newVal) override;
    HRESULT get_Inn(BSTR* pVal) override { return GetText(kInn, pVal); }
    HRESULT put_Inn(BSTR newVal) override { return PutText(kInn, newVal); }
    HRESULT get_BankOfficeName(BSTR* pVal) override { return GetText(kOfficeName, pVal); }
    HRESULT put_BankOfficeName(BSTR newVal) override { return PutText(kOfficeName, newVal); }
    HRESULT get_BankName(BSTR* pVal) override { return GetText(kName, pVal); }
    HRESULT put_BankName(BSTR newVal) override { return PutText(kName, newVal); }
    HRESULT get_BankCorrSubAccount(BSTR* pVal) override { return GetText(kCorrSubAccount, pVal); }
    HRESULT put_BankCorrSubAccount(BSTR newVal) override { return PutText(kCorrSubAccount, newVal); }
    HRESULT get_BankCorrAccount(BSTR* pVal) override { return GetText(kCorrAccount, pVal); }
    HRESULT put_BankCorrAccount(BSTR newVal) override { return PutText(kCorrAccount, newVal); }
    HRESULT get_BankBIK(BSTR* pVal) override { return GetText(kBik, pVal); }
    HRESULT put_BankBIK(BSTR newVal) override { return PutText(kBik, newVal); }
    HRESULT get_BankComment(BSTR* pVal) override { return GetText(kComment, pVal); }
    HRESULT put_BankComment(BSTR newVal) override { return PutText(kComment, newVal); }
    HRESULT get_BankNvsCode(BSTR* pVal) override { return GetText(kNvsCode, pVal); }
    HRESULT put_BankNvsCode(BSTR newVal) override { return PutText(kNvsCode, newVal); }
    HRESULT get_AccountList(IUnknown** pVal) override { return GetList(f_.accounts, pVal); }
    HRESULT put_AccountList(IUnknown* newVal) override { return PutList(f_.accounts, newVal); }
    HRESULT get_AddressList(IUnknown** pVal) override { return GetList(f_.addresses, pVal); }
    HRESULT put_AddressList(IUnknown* newVal) override { return PutList(f_.addresses, newVal); }
    HRESULT get_ExportFileFormat(LONG* pVal) override;
    HRESULT put_ExportFileFormat(LONG newVal) override;
    HRESULT get_DisplayName(BSTR* pVal) override;
    HRESULT Clone(IUnknown** ppunkBank) override;

    // ShortString: the bank has no short form (E_NOTIMPL both ways).
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

    // The texts, in the order of the XML form's attributes.
    enum Text { kBik, kComment, kNvsCode, kCorrAccount, kCorrSubAccount, kInn, kName, kOfficeName, kTextCount };

private:
    struct Fields {
        std::array<std::u16string, kTextCount> texts;
        LONG keyVal = 0;
        SHORT exportFormat = 0;
        ComPtr<IUnknown> accounts;
        ComPtr<IUnknown> addresses;
    };

    HRESULT GetText(Text field, BSTR* pVal);
    HRESULT PutText(Text field, BSTR newVal);
    HRESULT GetList(ComPtr<IUnknown>& list, IUnknown** pVal);
    HRESULT PutList(ComPtr<IUnknown>& list, IUnknown* newVal);
    void WriteInto(IXMLDOMElement* root);
    static Fields ReadFrom(IXMLDOMElement* root);

    Fields f_;
};

}  // namespace orv
