// Rates by month and financing source (type 335):
//   <ERSUMS><ERSUM MH="month" FR="source" VAL="rate"/>...</ERSUMS>
// one element per rate, ordered by month and then by source. Reading the
// body replaces the rates held.
#pragma once

#include "kinds/SumLists.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_sums.h>

#include <map>
#include <utility>

namespace orv {

class OrvERDoc : public SumListKind<OrvERDoc, &CLSID_OrvERDoc, IOrvERDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"ERSUMS";

    void Decode(IXMLDOMElement* root);
    void Merge(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);
    void ClearList() noexcept { rates_.clear(); }

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
    HRESULT ClearSums() override { return ClearSumsImpl(); }
    HRESULT GetElemCount(LONG* pVal) override;
    HRESULT GetRate(DATE dtMonth, LONG lFinRoot, CY* pcyRate) override;
    HRESULT SetRate(DATE dtMonth, LONG lFinRoot, CY cyRate) override;
    HRESULT GetItem(LONG nIndex, DATE* pdtDate, LONG* plFinRoot, CY* pcySum) override;
    HRESULT CalculateRecalculationDate(IUnknown* punkERDoc, DATE* pdtDate) override;

private:
    using Key = std::pair<DATE, LONG>;
    std::map<Key, CY> rates_;
};

}  // namespace orv
