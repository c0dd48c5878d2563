// The list of texts: texts in the order they were added, read back by a
// 0-based index. The library fills one with the other personnel numbers of a
// personnel-number document.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>

#include <string>
#include <vector>

namespace orv::host {

class OrvTextList : public CoClass<OrvTextList, &CLSID_OrvTextList, IOrvTextList> {
public:
    HRESULT get_Count(LONG* pVal) override;
    // E_INVALIDARG for an index outside 0 .. Count - 1.
    HRESULT get_Item(LONG lIndex, BSTR* pbstrText) override;
    // Appends a copy of the text (a null text is the empty text).
    HRESULT Add(BSTR bstrText) override;

private:
    std::vector<std::u16string> items_;
};

}  // namespace orv::host
