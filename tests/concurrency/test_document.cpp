// One document called from several threads at once: whole states put through
// FullString and DocRecord, single properties put beside them, and readers
// that must always find one whole state (or, for a single property, one whole
// value), never a mixture.
#include "concurrency/race_util.h"

#include "document/OrvDocument.h"
#include "host/registration.h"

#include <array>
#include <map>

namespace racetest {
namespace {

constexpr int kSeeds = 6;

// The values of state s.
LONG T1Of(int s) { return 10 + s; }
LONG IdOf(int s) { return 200 + s; }
DATE DnOf(int s) { return 45000.0 + s; }
LONG LongOf(int s, int i) { return s * 1000 + i * 7 + 1; }
// Above 2^31 hundredths, so the sum spans the sum field and the high word.
CY SumOf(int s) { return Cy((s + 1) * 300000000000000LL + s); }
std::u16string MemoOf(int s) { return u"memo " + std::u16string(30, static_cast<char16_t>(u'A' + s)); }
std::u16string OsnOf(int s) { return u"osn " + std::u16string(20, static_cast<char16_t>(u'a' + s)); }
ULONG AddressOf(int s) { return 5000u + static_cast<ULONG>(s); }
std::string BodyOf(int s) { return "<EXT N=\"" + std::to_string(s) + "\">" + std::string(40, static_cast<char>('k' + s)) + "</EXT>"; }

ComPtr<IOrvDocument> NewDocument() {
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    return doc;
}

// A document in state s: record fields, fields beside the record and an
// extension body, each derived from s.
ComPtr<IOrvDocument> DocumentInState(int s) {
    ComPtr<IOrvDocument> doc = NewDocument();
    EXPECT_EQ(doc->put_lDcType(7), S_OK);
    EXPECT_EQ(doc->put_T1(T1Of(s)), S_OK);
    EXPECT_EQ(doc->put_lDcId(IdOf(s)), S_OK);
    EXPECT_EQ(doc->put_dtDn(DnOf(s)), S_OK);
    EXPECT_EQ(doc->put_dtDk(DnOf(s) + 30), S_OK);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(doc->put_dcLong(i, LongOf(s, i)), S_OK);
    EXPECT_EQ(doc->put_Dcsum1(SumOf(s)), S_OK);
    EXPECT_EQ(doc->put_Memo(Bstr(MemoOf(s))), S_OK);
    EXPECT_EQ(doc->put_DcOsn(Bstr(OsnOf(s))), S_OK);
    EXPECT_EQ(doc->put_DB_ADDR(AddressOf(s)), S_OK);
    EXPECT_EQ(doc->put_TimeStamp(70u + static_cast<ULONG>(s)), S_OK);
    EXPECT_EQ(doc->put_RecalculationDate(46000.0 + s), S_OK);
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc.As(&ext), S_OK);
    const std::string body = BodyOf(s);
    Bstr bytes = Bstr::Attach(SysAllocStringByteLen(body.data(), static_cast<UINT>(body.size())));
    EXPECT_EQ(ext->put_Body(bytes.Get()), S_OK);
    EXPECT_EQ(ext->put_Length(static_cast<LONG>(body.size())), S_OK);
    return doc;
}

struct States {
    std::array<std::u16string, kSeeds> full;  // FullString of each state
    std::array<std::string, kSeeds> record;   // DocRecord of each state
    std::map<std::u16string, int> fullSeed;
    std::map<std::string, int> recordSeed;

    States() {
        for (int s = 0; s < kSeeds; ++s) {
            ComPtr<IOrvDocument> doc = DocumentInState(s);
            ComPtr<IOrvObjAsXmlString> xml;
            EXPECT_EQ(doc.As(&xml), S_OK);
            Bstr text, rec;
            EXPECT_EQ(xml->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
            EXPECT_EQ(doc->get_DocRecord(rec.ReleaseAndGetAddressOf()), S_OK);
            full[s] = Text(text.Get());
            record[s] = Bytes(rec.Get());
            fullSeed[full[s]] = s;
            recordSeed[record[s]] = s;
        }
    }
};

class ConcurrentDocument : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DllRegisterServer(), S_OK);
        ASSERT_EQ(orv::host::RegisterHostComponents(&host_), S_OK);
        ASSERT_EQ(states_.fullSeed.size(), static_cast<std::size_t>(kSeeds)) << "every state has its own text";
        ASSERT_EQ(states_.recordSeed.size(), static_cast<std::size_t>(kSeeds)) << "every state has its own record";
    }
    void TearDown() override { host_.Revoke(); }

    orv::host::Registration host_;
    States states_;
};

// The fields that only a whole record put writes, read from a record (by a
// document of the reader's own): the seed they all derive from, or -1 when
// they do not derive from one seed.
int RecordOnlySeed(IOrvDocument* scratch, const std::string& record) {
    Bstr rec = Bstr::Attach(SysAllocStringByteLen(record.data(), static_cast<UINT>(record.size())));
    if (scratch->put_DocRecord(rec.Get()) != S_OK) return -1;
    LONG t1 = 0, id = 0;
    DATE dn = 0;
    scratch->get_T1(&t1);
    scratch->get_lDcId(&id);
    scratch->get_dtDn(&dn);
    const int s = static_cast<int>(t1) - 10;
    if (s < 0 || s >= kSeeds || id != IdOf(s) || dn != DnOf(s)) return -1;
    for (int i = 0; i < 5; ++i) {
        LONG v = 0;
        scratch->get_dcLong(i, &v);
        if (v != LongOf(s, i)) return -1;
    }
    Bstr osn;
    scratch->get_DcOsn(osn.ReleaseAndGetAddressOf());
    return Text(osn.Get()) == OsnOf(s) ? s : -1;
}

bool IsMemo(const std::u16string& text) {
    for (int s = 0; s < kSeeds; ++s)
        if (text == MemoOf(s)) return true;
    return false;
}
bool IsSum(CY v) {
    for (int s = 0; s < kSeeds; ++s)
        if (v.int64 == SumOf(s).int64) return true;
    return false;
}

// Writers replace the whole document through its XML form; readers take the
// XML form, the record and single properties, and each read is one state.
TEST_F(ConcurrentDocument, FullStringPutsAreReadAsWholeStates) {
    ComPtr<IOrvDocument> doc = NewDocument();
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(doc.As(&xml), S_OK);
    ASSERT_EQ(xml->put_FullString(Bstr(states_.full[0])), S_OK);
    {
        Bstr back;
        ASSERT_EQ(xml->get_FullString(back.ReleaseAndGetAddressOf()), S_OK);
        ASSERT_EQ(Text(back.Get()), states_.full[0]) << "the XML form reads back as it was put";
    }
    Findings found;
    std::array<std::atomic<int>, kSeeds> seen{};
    RunTogether(
        2, 60,
        [&](int w, int i) {
            const int s = (w * 3 + i) % kSeeds;
            found.Expect(xml->put_FullString(Bstr(states_.full[s])) == S_OK, "put_FullString failed");
        },
        3,
        [&](int r) {
            thread_local int turn = 0;
            switch ((turn++ + r) % 4) {
                case 0: {
                    Bstr text;
                    if (!found.Expect(xml->get_FullString(text.ReleaseAndGetAddressOf()) == S_OK, "get_FullString failed")) return;
                    auto it = states_.fullSeed.find(Text(text.Get()));
                    if (found.Expect(it != states_.fullSeed.end(), "FullString mixes states: " + Bstr(Text(text.Get())).Utf8()))
                        seen[it->second].fetch_add(1);
                    break;
                }
                case 1: {
                    Bstr rec;
                    if (!found.Expect(doc->get_DocRecord(rec.ReleaseAndGetAddressOf()) == S_OK, "get_DocRecord failed")) return;
                    found.Expect(states_.recordSeed.count(Bytes(rec.Get())) == 1, "DocRecord mixes states");
                    break;
                }
                case 2: {
                    CY sum{};
                    found.Expect(doc->get_Dcsum1(&sum) == S_OK && IsSum(sum), "Dcsum1 is no state's sum: " + std::to_string(sum.int64));
                    break;
                }
                default: {
                    Bstr memo;
                    ULONG address = 0;
                    found.Expect(doc->get_Memo(memo.ReleaseAndGetAddressOf()) == S_OK && IsMemo(Text(memo.Get())),
                                 "Memo is no state's memo: " + memo.Utf8());
                    found.Expect(doc->get_DB_ADDR(&address) == S_OK && address >= AddressOf(0) &&
                                     address < AddressOf(kSeeds), "DB_ADDR is no state's address");
                    break;
                }
            }
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
    // The last state put stands whole.
    Bstr last;
    ASSERT_EQ(xml->get_FullString(last.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(states_.fullSeed.count(Text(last.Get())), 1u);
}

// A writer replaces the record whole while another puts single properties
// (Memo, the 64-bit Dcsum1) of other states: the fields only the record put
// writes always come from one state, and each property is one state's value.
TEST_F(ConcurrentDocument, RecordAndPropertyPutsNeverTearAField) {
    ComPtr<IOrvDocument> doc = DocumentInState(0);
    // Each reader decodes the records it reads with a document of its own.
    std::array<ComPtr<IOrvDocument>, 2> scratches = {NewDocument(), NewDocument()};
    Findings found;
    RunTogether(
        2, 300,
        [&](int w, int i) {
            const int s = (i * 5 + w) % kSeeds;
            if (w == 0) {
                Bstr rec = Bstr::Attach(SysAllocStringByteLen(states_.record[s].data(),
                                                             static_cast<UINT>(states_.record[s].size())));
                found.Expect(doc->put_DocRecord(rec.Get()) == S_OK, "put_DocRecord failed");
            } else if (i % 2) {
                found.Expect(doc->put_Memo(Bstr(MemoOf(s))) == S_OK, "put_Memo failed");
            } else {
                found.Expect(doc->put_Dcsum1(SumOf(s)) == S_OK, "put_Dcsum1 failed");
            }
        },
        2,
        [&](int r) {
            IOrvDocument* scratch = scratches[r].Get();
            Bstr rec;
            if (!found.Expect(doc->get_DocRecord(rec.ReleaseAndGetAddressOf()) == S_OK, "get_DocRecord failed")) return;
            found.Expect(RecordOnlySeed(scratch, Bytes(rec.Get())) >= 0, "the record's own fields mix states");
            Bstr memo;
            CY sum{};
            scratch->get_Memo(memo.ReleaseAndGetAddressOf());
            scratch->get_Dcsum1(&sum);
            found.Expect(IsMemo(Text(memo.Get())), "the record holds a torn Memo: " + memo.Utf8());
            found.Expect(IsSum(sum), "the record holds a torn Dcsum1: " + std::to_string(sum.int64));
            LONG t1 = 0;
            found.Expect(doc->get_T1(&t1) == S_OK && t1 >= T1Of(0) && t1 < T1Of(kSeeds), "T1 is no state's");
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
}

// Two documents compared in both directions from two threads at once: each
// comparison reads the other record before it takes its own lock, so the two
// never wait for each other, and both directions give the same answer.
TEST_F(ConcurrentDocument, DocumentsComparedBothWaysAtOnceGiveOneAnswer) {
    ComPtr<IOrvDocument> a = DocumentInState(0);
    ComPtr<IOrvDocument> b = DocumentInState(1);
    ComPtr<IOrvDocument> same = DocumentInState(0);
    ASSERT_EQ(a->Compare(b.Get()), S_FALSE);
    ASSERT_EQ(a->Compare(same.Get()), S_OK);
    Findings found;
    RunTogether(
        2, 200,
        [&](int w, int) {
            found.Expect((w == 0 ? a->Compare(b.Get()) : b->Compare(a.Get())) == S_FALSE,
                         "different documents compared equal or failed");
        },
        1,
        [&](int) {
            found.Expect(same->Compare(a.Get()) == S_OK, "equal documents compared different or failed");
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
}

}  // namespace
}  // namespace racetest
