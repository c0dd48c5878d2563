// The collector map of a document (order, replacement, enumeration, release),
// collectors attached by the database service and copied by Clone, and the
// year-based sum across year boundaries, whole years and empty periods.
#include "doc_test_util.h"
#include "fake_services.h"

#include "host/OrvDateService.h"
#include "host/OrvSumCollector.h"

namespace {

using namespace doctest;

inline constexpr CLSID CLSID_Token = {0x7E1A0042, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};

// A collector stand-in that counts the live objects (and answers no sum interface).
class Token : public orv::CoClass<Token, &CLSID_Token, IOrvNumberTable> {
public:
    static inline int live = 0;
    Token() { ++live; }
    ~Token() { --live; }
    HRESULT get_Count(LONG*) override { return E_NOTIMPL; }
    HRESULT GetEntry(LONG, LONG*, LONG*) override { return E_NOTIMPL; }
    HRESULT SetNumber(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT GetNumber(LONG, LONG*) override { return E_NOTIMPL; }
};

ComPtr<IUnknown> NewToken() {
    ComPtr<IUnknown> t;
    EXPECT_EQ(orv::CreateObject<Token>(&t), S_OK);
    return t;
}

ComPtr<IOrvSumCollector> NewCollector(std::initializer_list<LONGLONG> sums) {
    ComPtr<IOrvSumCollector> c;
    EXPECT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&c), S_OK);
    LONG i = 0;
    for (LONGLONG s : sums) EXPECT_EQ(c->put_Sum(i++, Cy(s)), S_OK);
    return c;
}

std::vector<std::pair<LONG, IUnknown*>> WalkCollectors(IOrvDocument* doc) {
    std::vector<std::pair<LONG, IUnknown*>> out;
    EXPECT_EQ(doc->ResetSumCollectors(), S_OK);
    for (int guard = 0; guard < 100; ++guard) {
        LONG id = -1;
        ComPtr<IUnknown> c;
        HRESULT hr = doc->NextSumCollector(&id, c.GetAddressOf());
        if (hr == S_FALSE) {
            EXPECT_EQ(id, 0);
            EXPECT_EQ(c.Get(), nullptr);
            break;
        }
        EXPECT_EQ(hr, S_OK);
        ComPtr<IUnknown> identity;
        c.As(&identity);
        out.emplace_back(id, identity.Get());  // the document still holds it
    }
    return out;
}

TEST(SumCollectors, MapKeepsOneCollectorPerIdInAscendingOrder) {
    auto doc = NewDocument();
    auto a = NewToken(), b = NewToken(), c = NewToken(), d = NewToken();
    ASSERT_EQ(doc->AddSumCollector(7, a.Get()), S_OK);
    ASSERT_EQ(doc->put_ExSum(2, b.Get()), S_OK);
    ASSERT_EQ(doc->AddSumCollector(5, c.Get()), S_OK);
    ASSERT_EQ(doc->AddSumCollector(-3, nullptr), S_OK);  // nothing
    auto walk = WalkCollectors(doc.Get());
    ASSERT_EQ(walk.size(), 3u);
    EXPECT_EQ(walk[0], std::make_pair(LONG(2), b.Get()));
    EXPECT_EQ(walk[1], std::make_pair(LONG(5), c.Get()));
    EXPECT_EQ(walk[2], std::make_pair(LONG(7), a.Get()));
    // After the end, Next keeps answering S_FALSE.
    LONG id = 1;
    IUnknown* none = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(doc->NextSumCollector(&id, &none), S_FALSE);
    EXPECT_EQ(none, nullptr);

    // A second collector under an id replaces the first, which is let go.
    int before = Token::live;
    a.Reset();
    EXPECT_EQ(Token::live, before);  // still held by the document
    ASSERT_EQ(doc->AddSumCollector(7, d.Get()), S_OK);
    EXPECT_EQ(Token::live, before - 1);
    ComPtr<IUnknown> got;
    ASSERT_EQ(doc->get_ExSum(7, got.GetAddressOf()), S_OK);
    EXPECT_EQ(got.Get(), d.Get());
    EXPECT_EQ(WalkCollectors(doc.Get()).size(), 3u);

    IUnknown* missing = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(doc->get_ExSum(4, &missing), S_FALSE);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(doc->get_ExSum(4, nullptr), E_POINTER);
    EXPECT_EQ(doc->NextSumCollector(nullptr, &missing), E_POINTER);
    EXPECT_EQ(doc->NextSumCollector(&id, nullptr), E_POINTER);
}

TEST(SumCollectors, CleaningReleasesEveryCollectorAndEndsAWalk) {
    int before = Token::live;
    {
        auto doc = NewDocument();
        for (LONG id : {1, 2, 3}) ASSERT_EQ(doc->AddSumCollector(id, NewToken().Get()), S_OK);
        EXPECT_EQ(Token::live, before + 3);
        ASSERT_EQ(doc->ResetSumCollectors(), S_OK);
        LONG id = 0;
        ComPtr<IUnknown> c;
        ASSERT_EQ(doc->NextSumCollector(&id, c.GetAddressOf()), S_OK);
        c.Reset();
        ASSERT_EQ(doc->CleanSumCollectors(), S_OK);
        EXPECT_EQ(Token::live, before);
        EXPECT_EQ(doc->NextSumCollector(&id, c.GetAddressOf()), S_FALSE);  // no Reset in between
        ASSERT_EQ(doc->AddSumCollector(9, NewToken().Get()), S_OK);
        ASSERT_EQ(doc->AddSumCollector(8, NewToken().Get()), S_OK);
        EXPECT_EQ(Token::live, before + 2);
    }
    EXPECT_EQ(Token::live, before);  // the document released them when it went
}

TEST(SumCollectors, TheDatabaseServiceAttachesThemUnlessTheRecordIsNew) {
    FakeDatabase* db = nullptr;
    auto holder = Make(&db);
    db->collectors[4] = NewToken();
    db->collectors[1] = NewToken();
    auto doc = NewDocument();
    EXPECT_EQ(doc->InitCollectors(3), E_POINTER);  // no service
    ASSERT_EQ(doc->put_OrvBD(holder.Get()), S_OK);
    ASSERT_EQ(doc->InitCollectors(3), S_OK);
    EXPECT_EQ(db->calls[7], 1);
    EXPECT_EQ(db->lastPipe, 3);
    ComPtr<IUnknown> id;
    doc.As(&id);
    EXPECT_EQ(db->lastDocument, id.Get());
    auto walk = WalkCollectors(doc.Get());
    ASSERT_EQ(walk.size(), 2u);
    EXPECT_EQ(walk[0].first, 1);
    EXPECT_EQ(walk[1].first, 4);

    db->failWith = E_ACCESSDENIED;
    EXPECT_EQ(doc->InitCollectors(3), E_ACCESSDENIED);
    ASSERT_EQ(doc->MakeAsNew(), S_OK);
    EXPECT_EQ(doc->InitCollectors(3), S_OK);  // a new record asks nothing
    EXPECT_EQ(db->calls[7], 2);
}

TEST(SumCollectors, CloneCopiesEachCollectorUnderItsId) {
    auto doc = NewDocument();
    auto first = NewCollector({1000000, -50000});
    auto second = NewCollector({70000});
    ASSERT_EQ(doc->AddSumCollector(30, first.Get()), S_OK);
    ASSERT_EQ(doc->AddSumCollector(10, second.Get()), S_OK);
    ComPtr<IUnknown> unk;
    ASSERT_EQ(doc->Clone(unk.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> clone;
    ASSERT_EQ(unk.As(&clone), S_OK);
    auto original = WalkCollectors(doc.Get());
    auto copied = WalkCollectors(clone.Get());
    ASSERT_EQ(copied.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(copied[i].first, original[i].first);
        EXPECT_NE(copied[i].second, original[i].second);  // a copy, not the same object
    }
    ComPtr<IUnknown> copy30;
    ASSERT_EQ(clone->get_ExSum(30, copy30.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> sums;
    ASSERT_EQ(copy30.As(&sums), S_OK);
    CY v{};
    ASSERT_EQ(sums->get_Sum(1, &v), S_OK);
    EXPECT_EQ(v.int64, -50000);
    // Changing the copy leaves the original's collector alone.
    ASSERT_EQ(sums->put_Sum(1, Cy(1)), S_OK);
    ASSERT_EQ(first->get_Sum(1, &v), S_OK);
    EXPECT_EQ(v.int64, -50000);

    // A collector without the sum collector interface cannot be copied.
    ASSERT_EQ(doc->AddSumCollector(20, NewToken().Get()), S_OK);
    IUnknown* none = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(doc->Clone(&none), E_POINTER);
    EXPECT_EQ(none, nullptr);
}

// --------------------------------------------------------- year-based sum

HRESULT CreateDateService(IUnknown* outer, REFIID riid, void** ppv) {
    return orv::CreateInstance<orv::host::OrvDateService>(outer, riid, ppv);
}

DATE DateOf(WORD y, WORD m, WORD d) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    DATE out = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &out));
    return out;
}

struct Period {
    DATE dn, dk;
};

HRESULT YearSum(Period p, DATE onDate, LONGLONG base, LONGLONG* result) {
    auto doc = NewDocument();
    EXPECT_EQ(doc->put_dtDn(p.dn), S_OK);
    EXPECT_EQ(doc->put_dtDk(p.dk), S_OK);
    CY r = Cy(123);
    HRESULT hr = doc->CalculateYearBasedSumOnDate(onDate, Cy(base), &r);
    *result = r.int64;
    return hr;
}

TEST(YearBasedSum, PeriodsOutsideTheYearOrWithoutAnEndGiveZeroWithoutTheDateService) {
    // No date service is registered here: any use of it would fail.
    const LONGLONG base = 12000000;  // 1200.00
    struct Case {
        Period p;
        const char* what;
    };
    const Case cases[] = {
        {{DateOf(2023, 1, 1), DateOf(2023, 12, 31)}, "the year before"},
        {{DateOf(2023, 3, 1), DateOf(2024, 1, 1)}, "ends where the year starts"},
        {{DateOf(2025, 1, 1), DateOf(2025, 6, 1)}, "the year after"},
        {{DateOf(2024, 3, 1), 0.0}, "no end"},
        {{DateOf(2024, 5, 1), DateOf(2024, 5, 1)}, "empty: ends where it starts"},
        {{DateOf(2024, 5, 9), DateOf(2024, 5, 2)}, "ends before it starts"},
    };
    for (const Case& c : cases) {
        LONGLONG r = -1;
        EXPECT_EQ(YearSum(c.p, DateOf(2024, 7, 15), base, &r), S_OK) << c.what;
        EXPECT_EQ(r, 0) << c.what;
    }
    // A period over the whole year gives the base unchanged, to the last unit.
    LONGLONG r = 0;
    ASSERT_EQ(YearSum({DateOf(2023, 12, 1), DateOf(2025, 2, 1)}, DateOf(2024, 2, 29), 12345678, &r), S_OK);
    EXPECT_EQ(r, 12345678);
    ASSERT_EQ(YearSum({DateOf(2024, 1, 1), DateOf(2025, 1, 1)}, DateOf(2024, 12, 31), 12345678, &r), S_OK);
    EXPECT_EQ(r, 12345678);
    // A partial year needs the date service.
    EXPECT_EQ(YearSum({DateOf(2024, 2, 1), DateOf(2024, 4, 1)}, DateOf(2024, 1, 1), base, &r), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(r, 0);
    auto doc = NewDocument();
    EXPECT_EQ(doc->CalculateYearBasedSumOnDate(DateOf(2024, 1, 1), Cy(1), nullptr), E_POINTER);
}

TEST(YearBasedSum, WholeAndPartialMonthsOfTheYear) {
    ClassRegistration dates(CLSID_OrvDateService, &CreateDateService);
    const LONGLONG base = 12000000;  // 1200.00 a year, 100.00 a month
    struct Case {
        Period p;
        DATE on;
        LONGLONG base;
        LONGLONG expected;
        const char* what;
    };
    const Case cases[] = {
        {{DateOf(2024, 2, 1), DateOf(2024, 4, 1)}, DateOf(2024, 8, 8), base, 2000000, "February and March"},
        {{DateOf(2024, 3, 1), DateOf(2024, 7, 1)}, DateOf(2024, 1, 1), base, 4000000, "four whole months"},
        {{DateOf(2024, 2, 1), DateOf(2024, 4, 1)}, DateOf(2024, 8, 8), -base, -2000000, "a negative base"},
        {{DateOf(2023, 1, 16), DateOf(2023, 2, 1)}, DateOf(2023, 5, 5), base, 516100, "16 of 31 days"},
        {{DateOf(2023, 11, 15), DateOf(2024, 3, 1)}, DateOf(2024, 5, 5), base, 2000000, "from before the year"},
        {{DateOf(2024, 10, 16), DateOf(2025, 5, 1)}, DateOf(2024, 5, 5), base, 2516100, "past the year's end"},
        {{DateOf(2024, 2, 10), DateOf(2024, 5, 21)}, DateOf(2024, 5, 5), base, 3334800, "partial at both ends"},
        {{DateOf(2024, 2, 1), DateOf(2024, 3, 1)}, DateOf(2024, 1, 1), 10000000, 833300, "one month of 1000.00"},
        {{DateOf(2024, 2, 1), DateOf(2024, 7, 1)}, DateOf(2024, 1, 1), 10000000, 4166700, "five months of 1000.00"},
        {{DateOf(2024, 2, 29), DateOf(2024, 3, 1)}, DateOf(2024, 6, 1), 29 * 120000, 10000, "one day of February"},
    };
    for (const Case& c : cases) {
        LONGLONG r = -1;
        ASSERT_EQ(YearSum(c.p, c.on, c.base, &r), S_OK) << c.what;
        EXPECT_EQ(r, c.expected) << c.what;
    }
}

TEST(YearBasedSum, TheDateServiceIsCreatedOnceAndKept) {
    auto doc = NewDocument();
    ASSERT_EQ(doc->put_dtDn(DateOf(2024, 2, 10)), S_OK);
    ASSERT_EQ(doc->put_dtDk(DateOf(2024, 5, 21)), S_OK);
    CY r{};
    {
        ClassRegistration dates(CLSID_OrvDateService, &CreateDateService);
        ASSERT_EQ(doc->CalculateYearBasedSumOnDate(DateOf(2024, 1, 1), Cy(12000000), &r), S_OK);
    }
    // The registration is gone; the document still has its date service.
    ASSERT_EQ(doc->CalculateYearBasedSumOnDate(DateOf(2024, 1, 1), Cy(12000000), &r), S_OK);
    EXPECT_EQ(r.int64, 3334800);
}

}  // namespace
