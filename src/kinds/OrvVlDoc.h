// The personnel numbers document (type code 68): the main number in the
// record; the other numbers as one text filling the extension body, also
// handed out split into a list of texts.
#pragma once

#include "kinds/RecordFields.h"

#include <string_view>
#include <vector>

namespace orv {

class OrvVlDoc : public RecordKind<OrvVlDoc, &CLSID_OrvVlDoc, IOrvVlDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_MainTabNumber(BSTR* pVal) override;
    HRESULT put_MainTabNumber(BSTR newVal) override;
    HRESULT get_OtherTabNumbersAsString(BSTR* pVal) override;
    HRESULT put_OtherTabNumbersAsString(BSTR newVal) override;
    HRESULT get_OtherTabNumbers(LONG lPipeId, IUnknown** pVal) override;
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }

    // At most this many characters of the text are split into numbers.
    static constexpr std::size_t kMaxNumbersText = 399;
    // The numbers of a text: its pieces between any of " ;:,.\/-", empty
    // pieces left out, of its first kMaxNumbersText characters.
    static std::vector<std::u16string_view> SplitNumbers(std::u16string_view text);
};

}  // namespace orv
