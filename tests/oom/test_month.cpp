// Injected allocation failures through a month's XML form (written and read).
#include "oom_walk.h"

#include "month/month_fakes.h"

namespace {

using namespace monthtest;
using oomtest::Describe;
using oomtest::Operation;

std::u16string ShortStringOf(IOrvMonth* m) {
    Bstr text;
    EXPECT_EQ(As<IOrvObjAsXmlString>(m)->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

// A month with a record, an address, a condition and every total set.
ComPtr<IOrvMonth> FullMonth(unsigned seed) {
    auto m = NewMonth();
    EXPECT_EQ(m->put_MonthRecord(RecordBstr(PatternBytes<144>(seed))), S_OK);
    auto r = As<IOrvM>(m.Get());
    EXPECT_EQ(r->put_dbk(4000000000u - seed), S_OK);
    EXPECT_EQ(r->put_RecordCondition(2), S_OK);
    EXPECT_EQ(m->put_TotalTaxable(Cy(1234567 + seed)), S_OK);
    EXPECT_EQ(m->put_TotalIncomeTax(Cy(-98765)), S_OK);
    EXPECT_EQ(m->put_FactDays(17), S_OK);
    return m;
}

TEST(MonthOom, ShortStringWritten) {
    Operation<ComPtr<IOrvMonth>> op{
        [] { return FullMonth(3); },
        [](ComPtr<IOrvMonth>& m) { return ShortStringOf(m.Get()); },
        [](ComPtr<IOrvMonth>& m, Describe* out) {
            BSTR text = nullptr;
            HRESULT hr = As<IOrvObjAsXmlString>(m.Get())->get_ShortString(&text);
            auto owned = std::make_shared<Bstr>(Bstr::Attach(text));
            if (SUCCEEDED(hr) && !text) return E_UNEXPECTED;
            *out = [owned] { return std::u16string(owned->View()); };
            return hr;
        }};
    oomtest::Report("month get_ShortString", oomtest::Walk(op));
}

TEST(MonthOom, ShortStringRead) {
    auto text = std::make_shared<Bstr>(ShortStringOf(FullMonth(4).Get()));
    Operation<ComPtr<IOrvMonth>> op{
        [] { return FullMonth(9); },
        [](ComPtr<IOrvMonth>& m) { return ShortStringOf(m.Get()); },
        [text](ComPtr<IOrvMonth>& m, Describe*) {
            return As<IOrvObjAsXmlString>(m.Get())->put_ShortString(*text);
        }};
    oomtest::Report("month put_ShortString", oomtest::Walk(op));
}

}  // namespace
