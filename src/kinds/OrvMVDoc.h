// The "MVDOC" body of a pay transfer, shared by OrvMPDoc and OrvMVDoc:
//   <MVDOC RCPNT="recipient" NdflPaid="tax paid" PlatPorNumber="order number"
//          PlatPorDate="order date" TotalNachis="total accrued">
//     <SUMS><SUMLIST .../></SUMS>
//   </MVDOC>
// The attributes other than RCPNT are read and written directly in the
// object's XML document (so a put reaches the extension at the next
// UpdateExtension); the recipient is held by OrvMPDoc and written by its
// UpdateExtension.
//
// OrvMVDoc is created by its class identifier and has no member that takes a
// document: created alone it keeps the body in its own XML document
// (InitFromExtension starts an empty "MVDOC", UpdateExtension writes nothing).
// Created by the library on a generic document (CreateSpecific), it reads and
// writes that document's extension exactly as OrvMPDoc does.
#pragma once

#include "kinds/SumLists.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_sums.h>

#include <string>

namespace orv {

class MvdocBody {
public:
    // Loads the extension's body (when there is one) and makes sure the
    // document has an "MVDOC" root; a body that does not parse or has another
    // root gives an empty "MVDOC". Gives the "RCPNT" text.
    std::u16string Load(IOrvDocument* document);
    // Writes the recipient (when given) and hands the text to the extension;
    // nothing without a document or an extension.
    void Store(IOrvDocument* document, const std::u16string* recipient);

    CY GetMoney(const OLECHAR* name);
    void PutMoney(const OLECHAR* name, CY value);
    std::u16string GetText(const OLECHAR* name);
    void PutText(const OLECHAR* name, std::u16string_view value);
    DATE GetDate(const OLECHAR* name);
    void PutDate(const OLECHAR* name, DATE value);

    // The written form of "MVDOC/SUMS/SUMLIST"; empty when it is missing.
    std::u16string SumsXml();
    // Clears, then places the text's element under "MVDOC/SUMS". A text that
    // does not parse is E_INVALIDARG and changes nothing; an empty text only clears.
    HRESULT PutSumsXml(std::u16string_view text);
    // Removes every child of "MVDOC/SUMS".
    void ClearSums();

private:
    IXMLDOMElement* Root();
    ComPtr<IXMLDOMElement> Sums(bool create);

    ComPtr<IXMLDOMDocument> xml_;
    ComPtr<IXMLDOMElement> root_;
};

// Member bodies of the MVDOC properties, shared by MP and MV.
template <class Derived, const CLSID* Clsid, class... Entries>
class MvdocKind : public SpecificObject<Derived, Clsid, Entries...> {
protected:
    HRESULT GetMoney(const OLECHAR* name, CY* pVal) {
        if (!pVal) return E_POINTER;
        pVal->int64 = 0;
        return this->Locked([&] {
            *pVal = body_.GetMoney(name);
            return S_OK;
        });
    }
    HRESULT PutMoney(const OLECHAR* name, CY value) {
        return this->Locked([&] {
            body_.PutMoney(name, value);
            return S_OK;
        });
    }
    HRESULT GetText(const OLECHAR* name, BSTR* pVal) {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        return this->Locked([&] { return ext::CopyText(body_.GetText(name), pVal); });
    }
    HRESULT PutText(const OLECHAR* name, BSTR value) {
        return this->Locked([&] {
            body_.PutText(name, ext::TextOf(value));
            return S_OK;
        });
    }
    HRESULT GetDate(const OLECHAR* name, DATE* pVal) {
        if (!pVal) return E_POINTER;
        *pVal = 0.0;
        return this->Locked([&] {
            *pVal = body_.GetDate(name);
            return S_OK;
        });
    }
    HRESULT PutDate(const OLECHAR* name, DATE value) {
        return this->Locked([&] {
            body_.PutDate(name, value);
            return S_OK;
        });
    }
    HRESULT GetSums(BSTR* pVal) {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        return this->Locked([&] { return ext::CopyText(body_.SumsXml(), pVal); });
    }
    HRESULT PutSums(BSTR value) {
        return this->Locked([&] { return body_.PutSumsXml(ext::TextOf(value)); });
    }
    HRESULT ClearSumsImpl() {
        return this->Locked([&] {
            body_.ClearSums();
            return S_OK;
        });
    }

    MvdocBody body_;
};

class OrvMVDoc : public MvdocKind<OrvMVDoc, &CLSID_OrvMVDoc, IOrvMVDoc, IDispatch> {
public:
    HRESULT InitFromExtension() override;
    HRESULT UpdateExtension() override;
    HRESULT ClearSums() override { return ClearSumsImpl(); }
    HRESULT get_SumsXml(BSTR* pVal) override { return GetSums(pVal); }
    HRESULT put_SumsXml(BSTR newVal) override { return PutSums(newVal); }
    HRESULT get_NdflPaid(CY* pVal) override { return GetMoney(u"NdflPaid", pVal); }
    HRESULT put_NdflPaid(CY newVal) override { return PutMoney(u"NdflPaid", newVal); }
    HRESULT get_PlatPorNumber(BSTR* pVal) override { return GetText(u"PlatPorNumber", pVal); }
    HRESULT put_PlatPorNumber(BSTR newVal) override { return PutText(u"PlatPorNumber", newVal); }
    HRESULT get_PlatPorDate(DATE* pVal) override { return GetDate(u"PlatPorDate", pVal); }
    HRESULT put_PlatPorDate(DATE newVal) override { return PutDate(u"PlatPorDate", newVal); }
};

}  // namespace orv
