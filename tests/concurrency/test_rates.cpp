// Two rate lists (type 335) compared in both directions from two threads at
// once: each comparison reads the other list before it takes its own lock, so
// the two never wait for each other, and both directions give the same date.
#include "concurrency/race_util.h"

#include "host/registration.h"
#include "sumkinds/sum_support.h"

namespace racetest {
namespace {

constexpr DATE kFeb = 46054.0;

class ConcurrentRates : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK); }
    void TearDown() override { registration_.Revoke(); }
    ComPtr<IOrvERDoc> NewList(std::u16string_view body) {
        ComPtr<IOrvDocument> doc = sumtest::Document(335, 1);
        docs_.push_back(doc);
        sumtest::SetText(doc.Get(), body);
        ComPtr<IOrvERDoc> er = kindtest::KindOf<IOrvERDoc>(doc.Get());
        EXPECT_EQ(er->InitFromExtension(), S_OK);
        return er;
    }
    orv::host::Registration registration_;
    std::vector<ComPtr<IOrvDocument>> docs_;
};

TEST_F(ConcurrentRates, ListsComparedBothWaysAtOnceGiveOneDate) {
    ComPtr<IOrvERDoc> a = NewList(u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"92.5\"/>"
                                  u"<ERSUM MH=\"46054\" FR=\"0\" VAL=\"95\"/></ERSUMS>");
    ComPtr<IOrvERDoc> b = NewList(u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"92.5\"/>"
                                  u"<ERSUM MH=\"46054\" FR=\"0\" VAL=\"97\"/></ERSUMS>");
    ASSERT_TRUE(a && b);
    DATE first = 0;
    ASSERT_EQ(a->CalculateRecalculationDate(b.Get(), &first), S_OK);
    ASSERT_EQ(first, kFeb);
    Findings found;
    RunTogether(
        2, 150,
        [&](int w, int) {
            IOrvERDoc* mine = w == 0 ? a.Get() : b.Get();
            IOrvERDoc* other = w == 0 ? b.Get() : a.Get();
            DATE d = 0;
            found.Expect(mine->CalculateRecalculationDate(other, &d) == S_OK && d == kFeb,
                         "the comparison gave " + std::to_string(d));
        },
        1,
        [&](int) {
            LONG count = 0;
            found.Expect(a->GetElemCount(&count) == S_OK && count == 2, "the list changed its length");
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
}

}  // namespace
}  // namespace racetest
