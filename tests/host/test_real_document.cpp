// A real generic document's life with the in-memory database service: made
// new, filled, stored through its own Update, read back into a fresh
// document with its extension and collectors, changed and stored again.
#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;

CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

std::string BodyOf(IOrvDocument* doc, LONG* length) {
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    Bstr body;
    EXPECT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(ext->get_Length(length), S_OK);
    return std::string(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
}

TEST(RealDocumentWithMemoryDatabase, StoredReadBackChangedAndStoredAgain) {
    ASSERT_EQ(DllRegisterServer(), S_OK);
    orv::host::Registration reg;
    ASSERT_EQ(orv::host::RegisterHostComponents(&reg), S_OK);
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                               reinterpret_cast<void**>(db.GetAddressOf())),
              S_OK);

    // A new document, filled and stored.
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db->NewDocument(0, 137, unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    LONG result = -1;
    ASSERT_EQ(doc->InitInnerDocExtension(0, &result), S_OK);  // new: nothing is read
    ASSERT_EQ(doc->put_DcSum2(Cy(1234500)), S_OK);
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    const std::string bytes("\x01\x00\x02\xFF\x7F", 5);
    ASSERT_EQ(ext->put_Body(Bstr::Attach(SysAllocStringByteLen(bytes.data(), 5))), S_OK);
    ComPtr<IOrvSumCollector> collector;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvSumCollector, nullptr, CLSCTX_ALL, IID_IOrvSumCollector,
                               reinterpret_cast<void**>(collector.GetAddressOf())),
              S_OK);
    ASSERT_EQ(collector->put_Id(4), S_OK);
    ASSERT_EQ(collector->put_Sum(0, Cy(770000)), S_OK);
    ASSERT_EQ(doc->AddSumCollector(4, collector.Get()), S_OK);
    ASSERT_EQ(doc->Update(0), S_OK);
    ULONG address = 0, stamp = 0;
    LONG condition = -1;
    ASSERT_EQ(doc->get_DB_ADDR(&address), S_OK);
    ASSERT_EQ(doc->get_TimeStamp(&stamp), S_OK);
    ASSERT_EQ(doc->get_RecordCondition(&condition), S_OK);
    EXPECT_EQ(address, 1u);
    EXPECT_EQ(stamp, 1u);
    EXPECT_EQ(condition, 0);

    // Read back into a fresh document: record, extension and collector.
    ASSERT_EQ(db->GetDocument(0, static_cast<LONG>(address), unknown.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvDocument> back;
    ASSERT_EQ(unknown.As(&back), S_OK);
    EXPECT_EQ(back->Compare(doc.Get()), S_OK);
    ASSERT_EQ(back->InitInnerDocExtension(0, &result), S_OK);
    EXPECT_EQ(result, 1);
    LONG length = 0;
    EXPECT_EQ(BodyOf(back.Get(), &length), bytes);
    EXPECT_EQ(length, 5);
    ASSERT_EQ(back->InitCollectors(0), S_OK);
    ComPtr<IUnknown> held;
    ASSERT_EQ(back->get_ExSum(4, held.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> copy;
    ASSERT_EQ(held.As(&copy), S_OK);
    EXPECT_NE(copy.Get(), collector.Get());
    CY amount{};
    ASSERT_EQ(copy->get_Sum(0, &amount), S_OK);
    EXPECT_EQ(amount.int64, 770000);

    // Changed and stored again; the first copy is now out of date.
    ASSERT_EQ(back->put_DcSum2(Cy(500)), S_OK);
    ASSERT_EQ(back->put_RecordCondition(2), S_OK);
    ASSERT_EQ(back->Update(0), S_OK);
    ASSERT_EQ(back->get_TimeStamp(&stamp), S_OK);
    EXPECT_EQ(stamp, 2u);
    ASSERT_EQ(doc->put_RecordCondition(2), S_OK);
    EXPECT_EQ(doc->Update(0), ORV_E_DOCUMENT_CHANGED);
    ComPtr<IOrvMemoryDatabase> memory;
    ASSERT_EQ(db.As(&memory), S_OK);
    Bstr record;
    ASSERT_EQ(memory->GetStored(address, record.ReleaseAndGetAddressOf(), nullptr, nullptr, nullptr), S_OK);
    LONG stored = 0;
    std::memcpy(&stored, reinterpret_cast<const char*>(record.Get()) + 20, 4);  // DcSum2 in hundredths
    EXPECT_EQ(stored, 5);

    // The collector travels in the document's XML form and comes back as one of ours.
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(back->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf())), S_OK);
    Bstr text;
    ASSERT_EQ(xml->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_NE(text.View().find(u"<EXTRASUMS><SMS ID=\"4\" SUM=\"77\"/></EXTRASUMS>"), std::u16string_view::npos)
        << text.Utf8();
    ComPtr<IOrvDocument> fromXml;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                               reinterpret_cast<void**>(fromXml.GetAddressOf())),
              S_OK);
    ASSERT_EQ(fromXml->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.ReleaseAndGetAddressOf())),
              S_OK);
    ASSERT_EQ(xml->put_FullString(text), S_OK);
    ASSERT_EQ(fromXml->get_ExSum(4, held.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(held.As(&copy), S_OK);
    ASSERT_EQ(copy->get_Sum(0, &amount), S_OK);
    EXPECT_EQ(amount.int64, 770000);
    reg.Revoke();
}

TEST(RealDocumentWithMemoryDatabase, NumbersAndCalendarComeFromTheHost) {
    ASSERT_EQ(DllRegisterServer(), S_OK);
    orv::host::Registration reg;
    ASSERT_EQ(orv::host::RegisterHostComponents(&reg), S_OK);
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                               reinterpret_cast<void**>(db.GetAddressOf())),
              S_OK);
    ComPtr<IOrvNumbering> numbering;
    ASSERT_EQ(db.As(&numbering), S_OK);
    ComPtr<IUnknown> tableUnknown;
    ASSERT_EQ(numbering->get_NumberTable(tableUnknown.GetAddressOf()), S_OK);
    ComPtr<IOrvNumberTable> table;
    ASSERT_EQ(tableUnknown.As(&table), S_OK);
    ASSERT_EQ(table->SetNumber(5, 15), S_OK);

    // The number kept for T1 goes in front of the display text.
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db->NewDocument(0, 27, unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    ASSERT_EQ(doc->put_T1(5), S_OK);
    ASSERT_EQ(doc->put_Dcsum1(Cy(15000)), S_OK);
    Bstr text;
    ASSERT_EQ(doc->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"(15) 1.50");
    ASSERT_EQ(doc->put_T1(6), S_OK);
    ASSERT_EQ(doc->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"1.50");

    // Year-based sums count months on the host's calendar: March to August
    // of 2025 (the period ends on 1 September) is half of the year.
    const DATE march1 = 45717.0, september1 = 45901.0, june15 = 45823.0;
    ASSERT_EQ(doc->put_dtDn(march1), S_OK);
    ASSERT_EQ(doc->put_dtDk(september1), S_OK);
    CY result{};
    ASSERT_EQ(doc->CalculateYearBasedSumOnDate(june15, Cy(12000000), &result), S_OK);
    EXPECT_EQ(result.int64, 6000000);
    // Half a month more: 15 of April's 30 days.
    ASSERT_EQ(doc->put_dtDn(march1 + 31 + 15), S_OK);
    ASSERT_EQ(doc->CalculateYearBasedSumOnDate(june15, Cy(12000000), &result), S_OK);
    EXPECT_EQ(result.int64, 4500000);
    reg.Revoke();
}

}  // namespace
