// Fields of the absence document: AbsenceCode DcSum3 (code bits), NewAbsenceCode
// DcDat1, NotInAveList lDcdpod.
#include "kinds/OrvTNDoc.h"

namespace orv {

using namespace record;

namespace {

// New absence codes: 10 is a dismissal; 21, 5 and 6 also keep the employee out
// of the average list.
constexpr LONG kDismissal = 10;

bool IsDismissalCode(const Bstr& code) {
    std::u16string_view text = code.View();
    return !text.empty() && (text[0] == u'\u0443' || text[0] == u'\u0423');  // "у" or "У"
}

}  // namespace

HRESULT OrvTNDoc::get_AbsenceCode(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadCode(d, Sum::DcSum3); });
}
HRESULT OrvTNDoc::put_AbsenceCode(BSTR newVal) {
    return PutField([&](IOrvDocument* d) { WriteCode(d, Sum::DcSum3, newVal); });
}
HRESULT OrvTNDoc::get_NewAbsenceCode(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_DcDat1); });
}
HRESULT OrvTNDoc::put_NewAbsenceCode(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_DcDat1, newVal); });
}
HRESULT OrvTNDoc::get_NotInAveList(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcdpod); });
}
HRESULT OrvTNDoc::put_NotInAveList(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcdpod, newVal); });
}

HRESULT OrvTNDoc::get_IsDissmised(VARIANT_BOOL* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        bool dismissed = IsDismissalCode(ReadCode(d, Sum::DcSum3)) ||
                         Get<LONG>(d, &IOrvDocument::get_DcDat1) == kDismissal;
        return dismissed ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT OrvTNDoc::get_IsOutOfAveList(VARIANT_BOOL* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        LONG code = Get<LONG>(d, &IOrvDocument::get_DcDat1);
        bool out = code == kDismissal || code == 21 || code == 5 || code == 6 ||
                   Get<LONG>(d, &IOrvDocument::get_lDcdpod) != 0 || IsDismissalCode(ReadCode(d, Sum::DcSum3));
        return out ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

}  // namespace orv
