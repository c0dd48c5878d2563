// The pay-sum list (type 137): both body formats read from bytes built here
// and written back identically, AddSum and AddSumsXml merges, the table's
// bounds, and bad input that must change nothing.
#include "sum_support.h"

#include "kinds/OrvS1Doc.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using namespace sumtest;

struct Entry {
    LONG code, workType;
    LONGLONG rawSum;
    LONG days, hours, shift;
};

Entry Read(IOrvS1Doc* s1, LONG i) {
    Entry e{};
    CY sum{};
    EXPECT_EQ(s1->get_PayCode(i, &e.code), S_OK);
    EXPECT_EQ(s1->get_WorkType(i, &e.workType), S_OK);
    EXPECT_EQ(s1->get_Sum(i, &sum), S_OK);
    EXPECT_EQ(s1->get_SumDays(i, &e.days), S_OK);
    EXPECT_EQ(s1->get_SumHours(i, &e.hours), S_OK);
    EXPECT_EQ(s1->get_CarSmenNumber(i, &e.shift), S_OK);
    e.rawSum = sum.int64;
    return e;
}

LONG Count(IOrvS1Doc* s1) {
    LONG n = -1;
    EXPECT_EQ(s1->GetElemCount(&n), S_OK);
    return n;
}

std::u16string SumsXml(IOrvS1Doc* s1) {
    BSTR text = nullptr;
    EXPECT_EQ(s1->GetSumsXml(&text), S_OK);
    return Take(text);
}

class PaySums : public ::testing::Test {
protected:
    ComPtr<IOrvS1Doc> Attach(LONG dcdpod) {
        doc_ = Document(137, dcdpod);
        return kindtest::KindOf<IOrvS1Doc>(doc_.Get());
    }
    ComPtr<IOrvDocument> doc_;
};

// ------------------------------------------------------------ older body

TEST_F(PaySums, OlderBodyIsReadRecordByRecordAndWrittenBackByteForByte) {
    const std::string body = S1Record(101, 1, 150050, 10, 80, 2, 5, 6, 7) +
                             S1Record(-202, -3, -2575, -1, 100000, 0, -5, 0, 32767) +
                             S1Record(303, 0, 2147483647, 31, -7, 12, 0, 1, 0);
    ComPtr<IOrvS1Doc> s1 = Attach(0);
    SetBytes(doc_.Get(), body);
    ASSERT_EQ(s1->InitFromExtension(), S_OK);

    EXPECT_EQ(Count(s1.Get()), 3);
    const Entry first = Read(s1.Get(), 0);
    EXPECT_EQ(first.code, 101);
    EXPECT_EQ(first.workType, 1);
    EXPECT_EQ(first.rawSum, 150050LL * 100);  // 1500.50
    EXPECT_EQ(first.days, 10);
    EXPECT_EQ(first.hours, 80);
    EXPECT_EQ(first.shift, 2);
    const Entry second = Read(s1.Get(), 1);
    EXPECT_EQ(second.code, -202);
    EXPECT_EQ(second.workType, -3);
    EXPECT_EQ(second.rawSum, -2575LL * 100);
    EXPECT_EQ(second.days, -1);
    EXPECT_EQ(second.hours, 100000);  // 32-bit hours
    EXPECT_EQ(Read(s1.Get(), 2).rawSum, 2147483647LL * 100);
    EXPECT_EQ(Read(s1.Get(), 3).code, 0);

    // The codes the properties do not show travel in the XML form.
    const std::u16string xml = SumsXml(s1.Get());
    EXPECT_NE(xml.find(u"SPZ=\"-5\""), std::u16string::npos) << Utf8(xml);
    EXPECT_NE(xml.find(u"FR=\"32767\""), std::u16string::npos) << Utf8(xml);

    SetBytes(doc_.Get(), "");  // the write must rebuild the body, not keep it
    ASSERT_EQ(s1->UpdateExtension(), S_OK);
    EXPECT_EQ(Bytes(doc_.Get()), body);
    EXPECT_EQ(Length(doc_.Get()), 90);
}

TEST_F(PaySums, OlderBodyTakesWholeRecordsWithinLengthAndAtMostTheTable) {
    std::string body;
    for (int i = 1; i <= 53; ++i) body += S1Record(static_cast<int16_t>(i), 0, i * 100, 0, 0, 0, 0, 0, 0);
    ComPtr<IOrvS1Doc> s1 = Attach(0);
    SetBytes(doc_.Get(), body);
    ASSERT_EQ(s1->InitFromExtension(), S_OK);
    EXPECT_EQ(Count(s1.Get()), 51);  // two records beyond the table are dropped
    EXPECT_EQ(Read(s1.Get(), 50).code, 51);
    ASSERT_EQ(s1->UpdateExtension(), S_OK);
    EXPECT_EQ(Bytes(doc_.Get()), body.substr(0, 51 * 30));

    // A Length that ends inside the third record reads two; one beyond the
    // body reads only what the body holds.
    ComPtr<IOrvS1Doc> cut = Attach(0);
    SetBytes(doc_.Get(), body.substr(0, 90), 89);
    ASSERT_EQ(cut->InitFromExtension(), S_OK);
    EXPECT_EQ(Count(cut.Get()), 2);
    ComPtr<IOrvS1Doc> over = Attach(0);
    SetBytes(doc_.Get(), body.substr(0, 60), 3000);
    ASSERT_EQ(over->InitFromExtension(), S_OK);
    EXPECT_EQ(Count(over.Get()), 2);
}

TEST_F(PaySums, OlderBodyKeepsNoTextsAndAnEmptyListClearsTheExtension) {
    ComPtr<IOrvS1Doc> s1 = Attach(0);
    ASSERT_EQ(s1->AddSumsXml(Bstr(u"<S1SUMS><S1SUM CODE=\"7\" VAL=\"1.5\" OSN=\"приказ\" MEMO=\"m\"/></S1SUMS>")), S_OK);
    ASSERT_EQ(s1->UpdateExtension(), S_OK);
    EXPECT_EQ(Bytes(doc_.Get()), S1Record(7, 0, 150, 0, 0, 0, 0, 0, 0));

    ComPtr<IOrvS1Doc> back = kindtest::KindOf<IOrvS1Doc>(doc_.Get());
    ASSERT_EQ(back->InitFromExtension(), S_OK);
    EXPECT_EQ(SumsXml(back.Get()), u"<S1SUMS><S1SUM VAL=\"1.5\" CSM=\"0\" FR=\"0\" CODE=\"7\" PJC=\"0\" SPZ=\"0\" "
                                   u"DAYS=\"0\" H=\"0\" VR=\"0\"/></S1SUMS>");

    ASSERT_EQ(back->ClearSums(), S_OK);
    EXPECT_EQ(Length(doc_.Get()), 0);
    EXPECT_EQ(Count(back.Get()), 0);
}

// --------------------------------------------------------------- XML body

TEST_F(PaySums, XmlBodyIsReadAndWrittenBackIdentically) {
    const std::u16string body =
        u"<S1SUMS>"
        u"<S1SUM VAL=\"1500.5\" CSM=\"2\" FR=\"3\" CODE=\"101\" PJC=\"4\" SPZ=\"5\" DAYS=\"10\" H=\"80\" VR=\"1\" "
        u"OSN=\"приказ № 5\" MEMO=\"за март\"/>"
        u"<S1SUM VAL=\"-0.01\" CSM=\"0\" FR=\"0\" CODE=\"202\" PJC=\"0\" SPZ=\"0\" DAYS=\"-1\" H=\"0\" VR=\"0\"/>"
        u"</S1SUMS>";
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    SetText(doc_.Get(), body);
    ASSERT_EQ(s1->InitFromExtension(), S_OK);
    EXPECT_EQ(Count(s1.Get()), 2);
    EXPECT_EQ(Read(s1.Get(), 0).rawSum, 15005000);
    EXPECT_EQ(Read(s1.Get(), 1).rawSum, -100);
    EXPECT_EQ(SumsXml(s1.Get()), body);

    SetText(doc_.Get(), u"");
    ASSERT_EQ(s1->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc_.Get()), body);
    EXPECT_EQ(Length(doc_.Get()), static_cast<LONG>(body.size() * 2));
}

TEST_F(PaySums, ASecondReadOfAnXmlBodyMergesItAgain) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    SetText(doc_.Get(), u"<S1SUMS><S1SUM CODE=\"101\" VAL=\"10\" DAYS=\"2\"/></S1SUMS>");
    ASSERT_EQ(s1->InitFromExtension(), S_OK);
    ASSERT_EQ(s1->InitFromExtension(), S_OK);
    EXPECT_EQ(Read(s1.Get(), 0).rawSum, 200000);
    EXPECT_EQ(Read(s1.Get(), 0).days, 4);
    EXPECT_EQ(Count(s1.Get()), 1);

    // ClearSums writes the empty list, so a fresh read starts from nothing.
    ASSERT_EQ(s1->ClearSums(), S_OK);
    EXPECT_EQ(Text(doc_.Get()), u"<S1SUMS/>");
    ASSERT_EQ(s1->InitFromExtension(), S_OK);
    EXPECT_EQ(Read(s1.Get(), 0).code, 0);
}

TEST_F(PaySums, AnUnreadableBodyLeavesTheTableAsItWas) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG r = 0;
    ASSERT_EQ(s1->AddSum(5, 0, Cy(10000), 1, 2, &r), S_OK);
    SetText(doc_.Get(), u"<S1SUMS><S1SUM CODE=\"9\"");
    EXPECT_EQ(s1->InitFromExtension(), S_OK);
    EXPECT_EQ(Read(s1.Get(), 0).code, 5);
    EXPECT_EQ(Read(s1.Get(), 1).code, 0);
    EXPECT_EQ(Count(s1.Get()), 1);
}

// ------------------------------------------------------------------ merges

TEST_F(PaySums, AddSumMergesOnPayCodeAndWorkTypeAndFillsTheNextFreeEntry) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG r = 99;
    ASSERT_EQ(s1->AddSum(101, 1, Cy(10000), 2, 16, &r), S_OK);
    EXPECT_EQ(r, 0);
    ASSERT_EQ(s1->AddSumMSM(101, 1, Cy(5000), 1, 8, 3, &r), S_OK);
    ASSERT_EQ(s1->AddSum(101, 2, Cy(70000), 0, 0, &r), S_OK);
    EXPECT_EQ(Count(s1.Get()), 2);
    const Entry merged = Read(s1.Get(), 0);
    EXPECT_EQ(merged.rawSum, 15000);
    EXPECT_EQ(merged.days, 3);
    EXPECT_EQ(merged.hours, 24);
    EXPECT_EQ(merged.shift, 3);
    EXPECT_EQ(Read(s1.Get(), 1).workType, 2);
    EXPECT_EQ(Read(s1.Get(), 1).rawSum, 70000);
    EXPECT_EQ(s1->AddSum(1, 1, Cy(1), 0, 0, nullptr), E_POINTER);
}

TEST_F(PaySums, TheFiftySecondDistinctSumIsRefusedAndChangesNothing) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG r = 0;
    for (LONG code = 1; code <= 51; ++code) ASSERT_EQ(s1->AddSum(code, 0, Cy(code), 0, 0, &r), S_OK);
    const std::u16string full = SumsXml(s1.Get());
    r = 0;
    EXPECT_EQ(s1->AddSum(52, 0, Cy(1), 0, 0, &r), S_FALSE);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(s1->AddSumMSM(53, 0, Cy(1), 0, 0, 1, &r), S_FALSE);
    EXPECT_EQ(SumsXml(s1.Get()), full);
    // A sum for a code already held still merges into a full table.
    EXPECT_EQ(s1->AddSum(51, 0, Cy(9), 0, 0, &r), S_OK);
    EXPECT_EQ(Read(s1.Get(), 50).rawSum, 60);
}

TEST_F(PaySums, AddSumsXmlMergesEqualEntriesAndKeepsDifferentTextsApart) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG r = 0;
    ASSERT_EQ(s1->AddSum(300, 0, Cy(1000000), 0, 0, &r), S_OK);  // 100.00, no texts
    ASSERT_EQ(s1->AddSumsXml(Bstr(u"<S1SUMS>"
                                  u"<S1SUM CODE=\"101\" VR=\"1\" VAL=\"10,5\" DAYS=\"1\" H=\"8\" CSM=\"1\" OSN=\"a\"/>"
                                  u"<S1SUM CODE=\"101\" VR=\"1\" VAL=\"2\" DAYS=\"1\" H=\"8\" CSM=\"1\" OSN=\"a\"/>"
                                  u"<S1SUM CODE=\"101\" VR=\"1\" VAL=\"7\" OSN=\"b\"/>"
                                  u"<S1SUM CODE=\"101\" VR=\"1\" VAL=\"7\" OSN=\"a\" FR=\"2\"/>"
                                  u"<S1SUM CODE=\"0\" VAL=\"999\"/>"
                                  u"<S1SUM VAL=\"999\"/>"
                                  u"<S1SUM CODE=\"300\" VAL=\"0.25\"/>"
                                  u"</S1SUMS>")),
              S_OK);
    EXPECT_EQ(Count(s1.Get()), 4);
    EXPECT_EQ(Read(s1.Get(), 0).rawSum, 1002500);  // 100 + 0.25 (overlapping code, same empty texts)
    const Entry a = Read(s1.Get(), 1);
    EXPECT_EQ(a.rawSum, 125000);  // 10.5 + 2
    EXPECT_EQ(a.days, 2);
    EXPECT_EQ(a.hours, 16);
    EXPECT_EQ(a.shift, 2);
    EXPECT_EQ(Read(s1.Get(), 2).rawSum, 70000);  // basis "b"
    EXPECT_EQ(Read(s1.Get(), 3).rawSum, 70000);  // financing source 2
    EXPECT_EQ(Read(s1.Get(), 4).code, 0);
}

TEST_F(PaySums, AddSumsXmlStopsSilentlyWhenTheTableIsFull) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG r = 0;
    for (LONG code = 1; code <= 50; ++code) ASSERT_EQ(s1->AddSum(code, 0, Cy(100), 0, 0, &r), S_OK);
    EXPECT_EQ(s1->AddSumsXml(Bstr(u"<S1SUMS><S1SUM CODE=\"60\" VAL=\"1\"/><S1SUM CODE=\"61\" VAL=\"1\"/>"
                                  u"<S1SUM CODE=\"1\" VAL=\"1\"/></S1SUMS>")),
              S_OK);
    EXPECT_EQ(Read(s1.Get(), 50).code, 60);
    EXPECT_EQ(Count(s1.Get()), 51);
    EXPECT_EQ(Read(s1.Get(), 0).rawSum, 100);  // the elements after the refused one are not read
}

TEST_F(PaySums, AddSumsXmlRefusesTextThatIsNotXmlAndChangesNothing) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG r = 0;
    ASSERT_EQ(s1->AddSum(1, 0, Cy(100), 0, 0, &r), S_OK);
    const std::u16string before = SumsXml(s1.Get());
    EXPECT_EQ(s1->AddSumsXml(Bstr(u"<S1SUMS><S1SUM CODE=\"2\" VAL=\"1\"></S1SUMS>")), E_INVALIDARG);
    EXPECT_EQ(s1->AddSumsXml(Bstr(u"<OTHER><S1SUM CODE=\"2\" VAL=\"1\"/></OTHER>")), S_OK);
    EXPECT_EQ(s1->AddSumsXml(nullptr), S_OK);
    EXPECT_EQ(SumsXml(s1.Get()), before);
}

// ------------------------------------------------------- fields and bounds

TEST_F(PaySums, IndicesOutsideTheTableAreRefusedAndPutsDoNotEndTheList) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    LONG v = 7;
    CY c = Cy(7);
    for (LONG bad : {-1L, 51L, 0x7FFFFFFFL}) {
        EXPECT_EQ(s1->get_PayCode(bad, &v), E_INVALIDARG);
        EXPECT_EQ(s1->put_PayCode(bad, 1), E_INVALIDARG);
        EXPECT_EQ(s1->get_Sum(bad, &c), E_INVALIDARG);
        EXPECT_EQ(s1->put_SumHours(bad, 1), E_INVALIDARG);
    }
    EXPECT_EQ(s1->get_WorkType(0, nullptr), E_POINTER);
    EXPECT_EQ(s1->GetElemCount(nullptr), E_POINTER);
    EXPECT_EQ(s1->GetSumsXml(nullptr), E_POINTER);

    // Only the pay code decides which entries are used.
    ASSERT_EQ(s1->put_Sum(0, Cy(500)), S_OK);
    EXPECT_EQ(SumsXml(s1.Get()), u"<S1SUMS/>");
    ASSERT_EQ(s1->put_PayCode(0, 42), S_OK);
    ASSERT_EQ(s1->put_PayCode(50, 43), S_OK);
    EXPECT_EQ(SumsXml(s1.Get()).find(u"CODE=\"43\""), std::u16string::npos);
    EXPECT_NE(SumsXml(s1.Get()).find(u"VAL=\"0.05\""), std::u16string::npos);
}

TEST_F(PaySums, WorkingDaysAndHoursAreRecordFieldsOfTheDocument) {
    ComPtr<IOrvS1Doc> s1 = Attach(0);
    ASSERT_EQ(s1->put_WorkingDays(21), S_OK);
    ASSERT_EQ(s1->put_WorkingHours(16850), S_OK);  // 168.50 hours
    LONG dat1 = 0;
    ASSERT_EQ(doc_->get_DcDat1(&dat1), S_OK);
    EXPECT_EQ(dat1, 21);
    CY sum3{};
    ASSERT_EQ(doc_->get_DcSum3(&sum3), S_OK);
    EXPECT_EQ(sum3.int64, 16850LL * 100);
    LONG hours = 0;
    ASSERT_EQ(s1->get_WorkingHours(&hours), S_OK);
    EXPECT_EQ(hours, 16850);

    // Created alone, the object has no document for these.
    ComPtr<IOrvS1Doc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvS1Doc>(&alone), S_OK);
    EXPECT_EQ(alone->get_WorkingDays(&dat1), E_POINTER);
    EXPECT_EQ(alone->UpdateExtension(), E_POINTER);
    LONG r = 0;
    EXPECT_EQ(alone->AddSum(1, 0, Cy(1), 0, 0, &r), S_OK);  // the table itself needs no document
}

TEST_F(PaySums, ConcurrentMergesIntoOneObjectLoseNothing) {
    ComPtr<IOrvS1Doc> s1 = Attach(1);
    constexpr int kThreads = 4, kRounds = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                LONG r = 0;
                s1->AddSum(100 + (i % 5), t % 2, Cy(100), 1, 2, &r);
                if (i % 50 == 0) s1->AddSumsXml(Bstr(u"<S1SUMS><S1SUM CODE=\"900\" VAL=\"1\"/></S1SUMS>"));
            }
        });
    }
    for (std::thread& th : threads) th.join();
    LONGLONG total = 0;
    LONG days = 0;
    for (LONG i = 0; i < Count(s1.Get()); ++i) {
        const Entry e = Read(s1.Get(), i);
        if (e.code == 900) {
            EXPECT_EQ(e.rawSum, kThreads * (kRounds / 50) * 10000LL);
            continue;
        }
        total += e.rawSum;
        days += e.days;
    }
    EXPECT_EQ(Count(s1.Get()), 11);  // five codes by two work types, and the merged text entry
    EXPECT_EQ(total, kThreads * kRounds * 100LL);
    EXPECT_EQ(days, kThreads * kRounds);
}

}  // namespace
