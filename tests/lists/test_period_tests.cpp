// The four ways a document's period meets a date or a period, over a table of
// documents that touch, overlap, contain and miss the asked month by exactly
// one day on each side, open-ended documents and zero dates; walked by the
// list's own cursor and by enumerators, with the type family 1/48.
#include "lists/lists_test_util.h"

#include <functional>
#include <set>

namespace liststest {
namespace {

const DATE kOpen = Day(2049, 12, 31);

// The asked period is March 2024. Expected: overlaps, inside, covers, on
// 1 March, on 31 March.
struct Row {
    DATE dn, dk;
    bool overlaps, inside, covers, onFirst, onLast;
    const char* what;
};
const Row kRows[] = {
    {Day(2024, 3, 5), Day(2024, 3, 20), true, true, false, false, false, "inside"},
    {Day(2024, 3, 1), Day(2024, 3, 31), true, true, true, true, true, "equal"},
    {Day(2024, 2, 10), Day(2024, 3, 1), true, false, false, true, false, "touches the start"},
    {Day(2024, 3, 31), Day(2024, 4, 15), true, false, false, false, true, "touches the end"},
    {Day(2024, 2, 10), Day(2024, 2, 29), false, false, false, false, false, "ends one day before"},
    {Day(2024, 4, 1), Day(2024, 4, 10), false, false, false, false, false, "starts one day after"},
    {Day(2024, 2, 15), Day(2024, 3, 10), true, false, false, true, false, "overlaps the start"},
    {Day(2024, 3, 20), Day(2024, 4, 10), true, false, false, false, true, "overlaps the end"},
    {Day(2024, 2, 29), Day(2024, 4, 1), true, false, true, true, true, "contains by one day each side"},
    {Day(2024, 2, 1), kOpen, true, false, true, true, true, "open-ended from before"},
    {Day(2024, 4, 1), kOpen, false, false, false, false, false, "open-ended from one day after"},
    {Day(2024, 2, 1), 0.0, false, false, false, false, false, "no end date"},
    {0.0, Day(2024, 3, 15), true, false, false, true, false, "no start date"},
    {0.0, 0.0, false, false, false, false, false, "no dates"},
    {Day(2024, 3, 1), Day(2024, 3, 30), true, true, false, true, false, "inside, one day short of the end"},
    {Day(2024, 3, 2), Day(2024, 3, 31), true, true, false, false, true, "inside, one day after the start"},
    {Day(2024, 3, 31), Day(2024, 3, 31), true, true, false, false, true, "the last day alone"},
    {Day(2024, 3, 20), Day(2024, 3, 10), true, true, false, false, false, "end before start"},
};

constexpr LONG kType = 5;
constexpr LONG kOtherType = 7;

// The table as a list: each row once as type 5 (id = row + 1) and once as
// type 7 (id = 100 + row), interleaved.
ComPtr<IOrvDocList> TableList() {
    ComPtr<IOrvDocList> list = NewList();
    LONG row = 0;
    for (const Row& r : kRows) {
        ComPtr<IOrvDocument> doc = MakeDoc({kType, row + 1, r.dn, r.dk});
        Add(list.Get(), doc.Get());
        ComPtr<IOrvDocument> other = MakeDoc({kOtherType, 100 + row, r.dn, r.dk});
        Add(list.Get(), other.Get());
        ++row;
    }
    return list;
}

std::vector<LONG> Expected(bool Row::*column) {
    std::vector<LONG> ids;
    LONG row = 0;
    for (const Row& r : kRows) {
        ++row;
        if (r.*column) ids.push_back(row);
    }
    return ids;
}

using Step = std::function<HRESULT(IUnknown**)>;

std::vector<LONG> Walk(const Step& step) {
    std::vector<LONG> ids;
    for (int guard = 0; guard < 1000; ++guard) {
        ComPtr<IUnknown> doc;
        HRESULT hr = step(doc.ReleaseAndGetAddressOf());
        if (hr == S_FALSE) {
            EXPECT_EQ(doc.Get(), nullptr);
            break;
        }
        EXPECT_EQ(hr, S_OK);
        if (hr != S_OK) break;
        ids.push_back(IdOf(doc.Get()));
    }
    return ids;
}

class PeriodTests : public ::testing::Test {
protected:
    const DATE s = Day(2024, 3, 1), e = Day(2024, 3, 31);
    ComPtr<IOrvDocList> list = TableList();
};

TEST_F(PeriodTests, EachTestSelectsExactlyTheRowsOfItsColumnInListOrder) {
    IOrvDocList* l = list.Get();
    l->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return l->NextT0InPeriod(kType, s, e, p); }), Expected(&Row::overlaps));
    l->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return l->NextT0CoveredByPeriod(kType, s, e, p); }), Expected(&Row::inside));
    l->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return l->NextT0CoveringPeriod(kType, s, e, p); }), Expected(&Row::covers));
    LONG result = -7;
    l->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return l->NextT0OnDate(kType, s, p, &result); }), Expected(&Row::onFirst));
    EXPECT_EQ(result, 1) << "the end of a date walk sets plResult to 1";
    l->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return l->NextT0OnDate(kType, e, p, &result); }), Expected(&Row::onLast));
}

TEST_F(PeriodTests, EnumeratorsApplyTheSameBounds) {
    ComPtr<IOrvENUMDocuments> en;
    ASSERT_EQ(list.As(&en), S_OK);
    EXPECT_EQ(Walk([&](IUnknown** p) { return en->NextT0InPeriod(kType, s, e, p); }), Expected(&Row::overlaps));
    LONG result = -7;
    en->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return en->NextT0OnDate(kType, s, p, &result); }), Expected(&Row::onFirst));
    EXPECT_EQ(result, 1);
    en->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return en->NextT0OnDate(kType, e, p, &result); }), Expected(&Row::onLast));
}

TEST_F(PeriodTests, ZeroAndOpenAskedPeriodsAreComparedAsTheyStand) {
    // Start 0: every document whose period reaches day 0 or later and starts
    // by the end; the argument is not checked for start <= end.
    IOrvDocList* l = list.Get();
    l->Reset();
    std::vector<LONG> fromZero = Walk([&](IUnknown** p) { return l->NextT0InPeriod(kType, 0.0, e, p); });
    std::vector<LONG> expected;
    LONG row = 0;
    for (const Row& r : kRows) {
        ++row;
        if (r.dn <= e && r.dk >= 0.0) expected.push_back(row);
    }
    EXPECT_EQ(fromZero, expected);
    EXPECT_EQ(fromZero.size(), std::size(kRows) - 2) << "only the two rows starting in April are left out";

    // An inverted period (end before start) finds the documents that reach
    // from its end to its start: those covering the month.
    l->Reset();
    EXPECT_EQ(Walk([&](IUnknown** p) { return l->NextT0InPeriod(kType, e, s, p); }), Expected(&Row::covers));

    // The zero date meets the documents that start with no date and end on or after it.
    LONG result = 0;
    l->Reset();
    std::vector<LONG> onZero = Walk([&](IUnknown** p) { return l->NextT0OnDate(kType, 0.0, p, &result); });
    ASSERT_EQ(onZero.size(), 2u);
    EXPECT_STREQ(kRows[onZero[0] - 1].what, "no start date");
    EXPECT_STREQ(kRows[onZero[1] - 1].what, "no dates");
}

TEST(PeriodTestsTypes, OneAndFortyEightAreOneFamilyOtherTypesStandAlone) {
    const DATE a = Day(2024, 1, 1), b = Day(2024, 1, 31);
    ComPtr<IOrvDocList> list = ListOf({{1, 1, a, b}, {48, 2, a, b}, {2, 3, a, b}, {49, 4, a, b}, {0, 5, a, b}});
    auto walk = [&](LONG type) {
        list->Reset();
        return Walk([&](IUnknown** p) { return list->NextT0InPeriod(type, a, b, p); });
    };
    EXPECT_EQ(walk(48), (std::vector<LONG>{1, 2}));
    EXPECT_EQ(walk(1), (std::vector<LONG>{1, 2}));
    EXPECT_EQ(walk(2), (std::vector<LONG>{3}));
    EXPECT_EQ(walk(49), (std::vector<LONG>{4}));
    EXPECT_EQ(walk(0), (std::vector<LONG>{5}));
    EXPECT_EQ(walk(3), (std::vector<LONG>{}));
}

}  // namespace
}  // namespace liststest
