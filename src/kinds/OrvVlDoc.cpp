#include "kinds/OrvVlDoc.h"

#include "kinds/ExtensionText.h"

#include <orvdocs/frame/itemlists.h>
#include <orvdocs/platform/combase.h>

#include <algorithm>

namespace orv {

using namespace record;

namespace {

constexpr std::u16string_view kDelimiters = u" ;:,.\\/-";

// The host's list of texts, created by class in any context and started.
void CreateTextList(ComPtr<IUnknown>* unknown, ComPtr<IOrvTextList>* list) {
    Check(CoCreateInstance(CLSID_OrvTextList, nullptr, CLSCTX_ALL, IID_IUnknown,
                           reinterpret_cast<void**>(unknown->ReleaseAndGetAddressOf())),
          IID_IOrvTextList);
    Check(OleRun(unknown->Get()), IID_IOrvTextList);
    Check((*unknown)->QueryInterface(IID_IOrvTextList, reinterpret_cast<void**>(list->ReleaseAndGetAddressOf())),
          IID_IOrvTextList);
}

}  // namespace

std::vector<std::u16string_view> OrvVlDoc::SplitNumbers(std::u16string_view text) {
    text = text.substr(0, std::min(text.size(), kMaxNumbersText));
    std::vector<std::u16string_view> numbers;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t start = text.find_first_not_of(kDelimiters, pos);
        if (start == std::u16string_view::npos) break;
        std::size_t end = text.find_first_of(kDelimiters, start);
        if (end == std::u16string_view::npos) end = text.size();
        numbers.push_back(text.substr(start, end - start));
        pos = end;
    }
    return numbers;
}

HRESULT OrvVlDoc::get_MainTabNumber(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return GetText(d, &IOrvDocument::get_DcOsn); });
}
HRESULT OrvVlDoc::put_MainTabNumber(BSTR newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_DcOsn, newVal); });
}

HRESULT OrvVlDoc::get_OtherTabNumbersAsString(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        ComPtr<IOrvDocExtension> ext = exttext::Find(d);
        return ext ? exttext::ReadLengthText(ext.Get()) : Bstr();
    });
}

HRESULT OrvVlDoc::put_OtherTabNumbersAsString(BSTR newVal) {
    return Locked([&]() -> HRESULT {
        ComPtr<IOrvDocExtension> ext = exttext::Find(Document());
        if (!ext) return E_UNEXPECTED;
        exttext::WriteLengthText(ext.Get(), newVal);
        return S_OK;
    });
}

// The numbers as a list of texts. The document's extension is read from the
// database service first when it has not been yet. No numbers, no list.
HRESULT OrvVlDoc::get_OtherTabNumbers(LONG lPipeId, IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&]() -> HRESULT {
        IOrvDocument* doc = Document();
        if (Get<VARIANT_BOOL>(doc, &IOrvDocument::get_ExtensionInitialized) == VARIANT_FALSE) {
            LONG result = 0;
            Call(doc, &IOrvDocument::InitInnerDocExtension, lPipeId, &result);
        }
        ComPtr<IOrvDocExtension> ext = exttext::Find(doc);
        if (!ext) return E_POINTER;
        Bstr text = exttext::ReadLengthText(ext.Get());
        ComPtr<IUnknown> unknown;
        ComPtr<IOrvTextList> list;
        for (std::u16string_view number : SplitNumbers(text.View())) {
            if (!list) CreateTextList(&unknown, &list);
            Bstr item(number);
            if (!item) throw std::bad_alloc();
            Check(list->Add(item), IID_IOrvTextList);
        }
        *pVal = unknown.Detach();
        return S_OK;
    });
}

}  // namespace orv
