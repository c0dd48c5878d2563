// Injected allocation failures through the sick-leave protocol's reading of
// its XML form and the vacation protocols' Load and Save.
#include "oom_walk.h"

#include "sickleave/sickleave_test_util.h"
#include "vacation/vacation_test_util.h"

namespace {

using oomtest::Describe;
using oomtest::Operation;
using orv::Bstr;
using orv::ComPtr;

// ------------------------------------------------------------ sick leave

void FillSickLeave(IOrvBLDocProtocol* p, LONG k) {
    EXPECT_EQ(p->put_BlUsedDays(12 + k), S_OK);
    EXPECT_EQ(p->put_LimitSum(doctest::Cy(15000000 + k)), S_OK);
    EXPECT_EQ(p->put_UsedProcent(0.6), S_OK);
    EXPECT_EQ(p->put_Dn(46023.0 + k), S_OK);
    EXPECT_EQ(p->put_Number(Bstr(u"ЛН 123")), S_OK);
    EXPECT_EQ(p->put_XmlPremProtocol(Bstr(u"<PREMPROT Q=\"1\"><P S=\"10\"/></PREMPROT>")), S_OK);
    for (LONG i = 0; i < 2; ++i) {
        auto history = bltest::NewHistoryItem(20 + i + k, 45658.0 + 31 * i, 500005000 + k);
        EXPECT_EQ(history->put_Year(2025), S_OK);
        EXPECT_EQ(p->AddHistoryItem(history.Get()), S_OK);
    }
    auto month = bltest::NewPayMonth(46023.0, 45000000 + k, 25000);
    EXPECT_EQ(month->put_Days(10), S_OK);
    EXPECT_EQ(p->AddPayMonthItem(month.Get()), S_OK);
}

TEST(ProtocolOom, SickLeaveFullStringRead) {
    doctest::HostEnvironment host;
    auto source = bltest::NewProtocol(0);
    FillSickLeave(source.Get(), 0);
    auto text = std::make_shared<Bstr>(bltest::FullStringOf(source.Get()));
    Operation<ComPtr<IOrvBLDocProtocol>> op{
        [] {
            auto p = bltest::NewProtocol(0);
            FillSickLeave(p.Get(), 5);  // other values and items, replaced by the reading
            return p;
        },
        [](ComPtr<IOrvBLDocProtocol>& p) { return bltest::FullStringOf(p.Get()); },
        [text](ComPtr<IOrvBLDocProtocol>& p, Describe*) { return bltest::FormOf(p.Get())->put_FullString(*text); },
        // A DOM document that cannot be created is message 117 with E_FAIL,
        // whatever the reason (docs/sickleave.md).
        {E_FAIL}};
    oomtest::Report("sick-leave protocol put_FullString", oomtest::Walk(op));
}

// ------------------------------------------------------------ vacation

struct Vacation {
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvOTProtocol> protocol;
};

void FillVacation(IOrvOTProtocol* p, SHORT k) {
    EXPECT_EQ(p->put_TabNum(Bstr(u"0042")), S_OK);
    EXPECT_EQ(p->put_DocumentId(7 + k), S_OK);
    EXPECT_EQ(p->put_MesCount(1 + k), S_OK);
    EXPECT_EQ(p->put_NewEnd(vactest::kJan15), S_OK);
    EXPECT_EQ(p->put_fSredn1(1234.56 + k), S_OK);
    EXPECT_EQ(p->put_TotSum1(vactest::Cy(1005000 + k)), S_OK);
    EXPECT_EQ(p->put_HistoryCount(2), S_OK);
    for (LONG i = 0; i < 2; ++i) {
        EXPECT_EQ(p->put_MonDate(i, vactest::kDec1 - 30 * i), S_OK);
        EXPECT_EQ(p->put_MonSum1(i, vactest::Cy(20000000 + k)), S_OK);
        EXPECT_EQ(p->put_MonInFactor(i, 1.25f), S_OK);
    }
    EXPECT_EQ(p->AddPaiedInterval(vactest::kJan15 + 0.5, vactest::kJan15, vactest::kJan15 + 13, 1, 14, 0,
                                  vactest::Cy(15002500 + k), VARIANT_TRUE),
              S_OK);
}

std::u16string VacationState(Vacation& v) {
    return vactest::BodyText(v.doc.Get()) + u"|" + vactest::ProtocolXml(v.protocol.Get());
}

TEST(ProtocolOom, VacationSave) {
    Operation<Vacation> op{
        [] {
            Vacation v;
            v.doc = vactest::NewDocument(349);
            v.protocol = vactest::Vacation(v.doc.Get());
            FillVacation(v.protocol.Get(), 0);
            return v;
        },
        VacationState,
        [](Vacation& v, Describe*) { return v.protocol->Save(); }};
    oomtest::Report("vacation protocol Save", oomtest::Walk(op));
}

TEST(ProtocolOom, VacationLoad) {
    Operation<Vacation> op{
        [] {
            Vacation v;
            v.doc = vactest::NewDocument(349);
            v.protocol = vactest::Vacation(v.doc.Get());
            FillVacation(v.protocol.Get(), 0);
            EXPECT_EQ(v.protocol->Save(), S_OK);
            FillVacation(v.protocol.Get(), 3);  // changed after saving: Load brings back the saved values
            return v;
        },
        VacationState,
        [](Vacation& v, Describe*) { return v.protocol->Load(); }};
    oomtest::Report("vacation protocol Load", oomtest::Walk(op));
}

}  // namespace
