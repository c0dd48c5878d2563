#include "kinds/OrvERDoc.h"

#include "kinds/RecordFields.h"

#include <iterator>
#include <vector>

namespace orv {
namespace {

constexpr const OLECHAR* kItem = u"ERSUM";
constexpr const char16_t* kNotInitialised = u"Установка курса на дату возможна только после инициализации DocExtension";

struct Rate {
    DATE month;
    LONG finRoot;
    CY rate;
};

std::vector<Rate> ReadRates(IXMLDOMElement* root) {
    std::vector<Rate> read;
    for (const ComPtr<IXMLDOMElement>& el : ext::ChildElements(root, kItem))
        read.push_back({ext::ReadDouble(el.Get(), u"MH"), ext::ReadLong(el.Get(), u"FR"),
                        sums::ReadCurrency(el.Get(), u"VAL")});
    return read;
}

}  // namespace

void OrvERDoc::Decode(IXMLDOMElement* root) {
    std::vector<Rate> read = ReadRates(root);
    rates_.clear();
    for (const Rate& r : read) rates_[{r.month, r.finRoot}] = r.rate;
}

void OrvERDoc::Merge(IXMLDOMElement* root) {
    for (const Rate& r : ReadRates(root)) rates_[{r.month, r.finRoot}] = r.rate;
}

void OrvERDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    for (const auto& [key, rate] : rates_) {
        ComPtr<IXMLDOMElement> el = ext::AppendElement(xml, root, kItem);
        ext::WriteDouble(el.Get(), u"MH", key.first);
        ext::WriteLong(el.Get(), u"FR", key.second);
        sums::WriteCurrency(el.Get(), u"VAL", rate);
    }
}

HRESULT OrvERDoc::GetElemCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(rates_.size());
        return S_OK;
    });
}

HRESULT OrvERDoc::GetRate(DATE dtMonth, LONG lFinRoot, CY* pcyRate) {
    if (!pcyRate) return E_POINTER;
    return Locked([&] {
        auto it = rates_.find({dtMonth, lFinRoot});
        if (it == rates_.end() && lFinRoot != 0) it = rates_.find({dtMonth, 0});
        if (it == rates_.end()) {
            pcyRate->int64 = -1;  // both halves all ones
            return S_FALSE;
        }
        *pcyRate = it->second;
        return S_OK;
    });
}

HRESULT OrvERDoc::SetRate(DATE dtMonth, LONG lFinRoot, CY cyRate) {
    bool refused = false;
    HRESULT hr = Locked([&]() -> HRESULT {
        if (record::Get<VARIANT_BOOL>(Document(), &IOrvDocument::get_ExtensionInitialized) == VARIANT_FALSE) {
            refused = true;
            return E_UNEXPECTED;
        }
        if (!initialized_) Check(InitFromExtension());
        rates_[{dtMonth, lFinRoot}] = cyRate;
        return S_OK;
    });
    // The message is shown after the object's lock is released.
    if (refused) return ReportWithMessage(CLSID_OrvERDoc, kNotInitialised, IID_IOrvERDoc, E_UNEXPECTED);
    return hr;
}

HRESULT OrvERDoc::GetItem(LONG nIndex, DATE* pdtDate, LONG* plFinRoot, CY* pcySum) {
    if (!pdtDate || !plFinRoot || !pcySum) return E_POINTER;
    *pdtDate = 0.0;
    *plFinRoot = 0;
    pcySum->int64 = 0;
    return Locked([&] {
        if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= rates_.size()) return S_FALSE;
        auto it = std::next(rates_.begin(), nIndex);
        *pdtDate = it->first.first;
        *plFinRoot = it->first.second;
        *pcySum = it->second;
        return S_OK;
    });
}

HRESULT OrvERDoc::CalculateRecalculationDate(IUnknown* punkERDoc, DATE* pdtDate) {
    if (!pdtDate) return E_POINTER;
    *pdtDate = 0.0;
    if (!punkERDoc) return E_POINTER;
    // The other list is read before this object's lock is taken: holding it
    // while the other object takes its own would order the two locks one way
    // here and the other way when the same call is made on the other object
    // (two threads comparing the two lists in both directions would deadlock).
    struct Entry {
        DATE month = 0.0;
        LONG finRoot = 0;
        CY rate{};
    };
    std::vector<Entry> theirs;
    HRESULT hr = Guarded([&]() -> HRESULT {
        ComPtr<IOrvERDoc> other;
        Check(punkERDoc->QueryInterface(IID_IOrvERDoc, reinterpret_cast<void**>(other.GetAddressOf())), IID_IOrvERDoc);
        Check(other->InitFromExtension(), IID_IOrvERDoc);
        LONG count = 0;
        Check(other->GetElemCount(&count), IID_IOrvERDoc);
        for (LONG i = 0; i < count; ++i) {
            Entry e;
            Check(other->GetItem(i, &e.month, &e.finRoot, &e.rate), IID_IOrvERDoc);
            theirs.push_back(e);
        }
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    return Locked([&]() -> HRESULT {
        auto mine = rates_.begin();
        for (std::size_t i = 0;; ++i, ++mine) {
            const bool mineEnds = mine == rates_.end();
            const bool otherEnds = i >= theirs.size();
            if (mineEnds && otherEnds) return S_OK;  // equal lists: 0
            if (otherEnds) {
                *pdtDate = mine->first.first;
                return S_OK;
            }
            const Entry& e = theirs[i];
            if (mineEnds) {
                // The other list's first entry without a partner here.
                *pdtDate = e.month;
                return S_OK;
            }
            if (mine->first.first != e.month || mine->first.second != e.finRoot || mine->second.int64 != e.rate.int64) {
                *pdtDate = mine->first.first < e.month ? mine->first.first : e.month;
                return S_OK;
            }
        }
    });
}

}  // namespace orv
