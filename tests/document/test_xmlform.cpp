// The document's XML form: what a new document writes, random documents and
// bodies through FullString and back byte for byte, the extension element's
// length rules, extra sums, and malformed or wrong-length input refused or
// handled as documented, never a crash.
#include "doc_test_util.h"
#include "fake_services.h"

#include "host/OrvSumCollector.h"

#include <cmath>
#include <random>

namespace {

using namespace doctest;

HRESULT CreateSumCollector(IUnknown* outer, REFIID riid, void** ppv) {
    return orv::CreateInstance<orv::host::OrvSumCollector>(outer, riid, ppv);
}

std::u16string FullStringOf(IOrvDocument* doc) {
    ComPtr<IOrvObjAsXmlString> form;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())), S_OK);
    Bstr text;
    EXPECT_EQ(form->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

HRESULT PutFullString(IOrvDocument* doc, std::u16string_view text) {
    ComPtr<IOrvObjAsXmlString> form;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())), S_OK);
    return form->put_FullString(Bstr(text));
}

std::string BodyOf(IOrvDocument* doc, LONG* length) {
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    Bstr body;
    EXPECT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(ext->get_Length(length), S_OK);
    return std::string(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
}

void SetBody(IOrvDocument* doc, const std::string& bytes, LONG length) {
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    ASSERT_EQ(ext->put_Body(Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())))), S_OK);
    ASSERT_EQ(ext->put_Length(length), S_OK);
}

// The element "ORVDOCUMENT" of a text, for reading its attributes.
ComPtr<IXMLDOMElement> Root(std::u16string_view text) {
    ComPtr<IXMLDOMDocument> dom;
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(dom.GetAddressOf())),
              S_OK);
    VARIANT_BOOL ok = 0;
    EXPECT_EQ(dom->loadXML(Bstr(text), &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    ComPtr<IXMLDOMElement> root;
    EXPECT_EQ(dom->get_documentElement(root.GetAddressOf()), S_OK);
    return root;
}

std::u16string Attr(IXMLDOMElement* e, const char16_t* name, bool* present = nullptr) {
    orv::Variant v;
    EXPECT_TRUE(SUCCEEDED(e->getAttribute(Bstr(name), v.Out())));
    if (present) *present = v.vt == VT_BSTR;
    return v.vt == VT_BSTR ? std::u16string(v.bstrVal, SysStringLen(v.bstrVal)) : std::u16string();
}

std::size_t Find(const std::u16string& text, const char16_t* what) { return text.find(what); }

// A document holding everything the XML form carries.
struct State {
    Bytes record;
    ULONG address, stamp;
    LONG condition, at;
    DATE recalculation;
    std::string body;
    LONG length;
};

State RandomState(std::mt19937& rng) {
    State s{};
    for (auto& b : s.record) b = static_cast<unsigned char>(rng());
    s.address = static_cast<ULONG>(rng());
    s.stamp = static_cast<ULONG>(rng());
    s.condition = static_cast<LONG>(rng() % 5) - 1;
    s.at = static_cast<LONG>(rng() % 3);
    s.recalculation = (rng() % 2) ? 0.0 : 20000.0 + static_cast<double>(rng() % 40000) / 4.0;
    std::size_t n = rng() % 300;
    for (std::size_t i = 0; i < n; ++i) s.body.push_back(static_cast<char>(rng()));
    s.length = static_cast<LONG>(s.body.size());
    return s;
}

void Apply(IOrvDocument* doc, const State& s) {
    Bstr rec = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(s.record.data()), 304));
    ASSERT_EQ(doc->put_DocRecord(rec), S_OK);
    ASSERT_EQ(doc->put_DB_ADDR(s.address), S_OK);
    ASSERT_EQ(doc->put_TimeStamp(s.stamp), S_OK);
    ASSERT_EQ(doc->put_RecordCondition(s.condition), S_OK);
    ASSERT_EQ(doc->put_AT(s.at), S_OK);
    ASSERT_EQ(doc->put_RecalculationDate(s.recalculation), S_OK);
    SetBody(doc, s.body, s.length);
}

TEST(XmlForm, NewDocumentWritesItsRecordAndThreeZeros) {
    auto doc = NewDocument();
    std::u16string text = FullStringOf(doc.Get());
    auto root = Root(text);
    Bstr name;
    ASSERT_EQ(root->get_tagName(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"ORVDOCUMENT");
    EXPECT_EQ(Attr(root.Get(), u"DOCRECORD"), std::u16string(608, u'0'));
    EXPECT_EQ(Attr(root.Get(), u"DBK"), u"0");
    EXPECT_EQ(Attr(root.Get(), u"CONDITION"), u"0");
    EXPECT_EQ(Attr(root.Get(), u"TIMESTAMP"), u"0");
    for (const char16_t* absent : {u"RCLDATE", u"AT"}) {
        bool present = true;
        Attr(root.Get(), absent, &present);
        EXPECT_FALSE(present) << orv::Utf16ToUtf8(absent);
    }
    VARIANT_BOOL children = VARIANT_TRUE;
    ASSERT_TRUE(SUCCEEDED(root->hasChildNodes(&children)));
    EXPECT_EQ(children, VARIANT_FALSE);
    // Attributes in the order written.
    EXPECT_LT(Find(text, u"DOCRECORD="), Find(text, u"DBK="));
    EXPECT_LT(Find(text, u"DBK="), Find(text, u"CONDITION="));
    EXPECT_LT(Find(text, u"CONDITION="), Find(text, u"TIMESTAMP="));
}

TEST(XmlForm, EverythingItCarriesIsWrittenInOrder) {
    auto doc = NewDocument();
    Bytes rec = RandomRecord(5, 10);
    PutRecord(doc.Get(), rec);
    ASSERT_EQ(doc->put_DB_ADDR(0xFFFFFFFEu), S_OK);
    ASSERT_EQ(doc->put_RecalculationDate(45000.5), S_OK);
    ASSERT_EQ(doc->put_AT(1), S_OK);
    ASSERT_EQ(doc->put_TimeStamp(7), S_OK);
    SetBody(doc.Get(), std::string("\x01\xAB\x00\xFF", 4), 4);
    ClassRegistration sums(CLSID_OrvSumCollector, &CreateSumCollector);
    ComPtr<IOrvSumCollector> c;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&c), S_OK);
    ASSERT_EQ(c->put_Sum(0, Cy(125000)), S_OK);
    ASSERT_EQ(doc->AddSumCollector(9, c.Get()), S_OK);
    ASSERT_EQ(doc->AddSumCollector(-4, c.Get()), S_OK);

    std::u16string text = FullStringOf(doc.Get());
    auto root = Root(text);
    std::u16string hex;
    for (unsigned char b : rec) {
        const char16_t* digits = u"0123456789ABCDEF";
        hex.push_back(digits[b >> 4]);
        hex.push_back(digits[b & 15]);
    }
    EXPECT_EQ(Attr(root.Get(), u"DOCRECORD"), hex);
    EXPECT_EQ(Attr(root.Get(), u"DBK"), u"-2");  // a 32-bit integer
    EXPECT_EQ(Attr(root.Get(), u"RCLDATE"), u"45000.5");
    EXPECT_EQ(Attr(root.Get(), u"AT"), u"1");
    std::size_t order[] = {Find(text, u"DOCRECORD="), Find(text, u"DBK="),       Find(text, u"RCLDATE="),
                           Find(text, u"CONDITION="), Find(text, u"TIMESTAMP="), Find(text, u"AT="),
                           Find(text, u"<DOCEXTENSION"), Find(text, u"<EXTRASUMS")};
    for (std::size_t i = 1; i < std::size(order); ++i) EXPECT_LT(order[i - 1], order[i]) << i;
    EXPECT_NE(Find(text, u"<DOCEXTENSION LEN=\"4\" BODY=\"01AB00FF\"/>"), std::u16string::npos);
    // One SMS per collector, ascending identifiers, the document's key first.
    std::size_t first = Find(text, u"<SMS ID=\"-4\"");
    std::size_t second = Find(text, u"<SMS ID=\"9\"");
    ASSERT_NE(first, std::u16string::npos);
    ASSERT_NE(second, std::u16string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(Find(text, u"SUM=\"12.5\""), std::u16string::npos);

    // Read back into another document.
    auto copy = NewDocument();
    ASSERT_EQ(PutFullString(copy.Get(), text), S_OK);
    EXPECT_EQ(RecordOf(copy.Get()), rec);
    ComPtr<IUnknown> back;
    ASSERT_EQ(copy->get_ExSum(9, back.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> backSums;
    ASSERT_EQ(back.As(&backSums), S_OK);
    CY v{};
    ASSERT_EQ(backSums->get_Sum(0, &v), S_OK);
    EXPECT_EQ(v.int64, 125000);
    ASSERT_EQ(copy->get_ExSum(-4, back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(FullStringOf(copy.Get()), text);
}

TEST(XmlForm, RandomDocumentsComeBackByteForByte) {
    std::mt19937 rng(2024);
    for (int i = 0; i < 300; ++i) {
        State s = RandomState(rng);
        auto doc = NewDocument();
        Apply(doc.Get(), s);
        std::u16string text = FullStringOf(doc.Get());
        auto copy = NewDocument();
        SetBody(copy.Get(), "left over", 9);
        ASSERT_EQ(PutFullString(copy.Get(), text), S_OK) << i;
        // DocRecord put rewrote a type 66; the XML carries the record as it is.
        EXPECT_EQ(RecordOf(copy.Get()), RecordOf(doc.Get())) << i;
        ULONG u = 0;
        LONG l = 0;
        DATE d = 0;
        ASSERT_EQ(copy->get_DB_ADDR(&u), S_OK);
        EXPECT_EQ(u, s.address) << i;
        ASSERT_EQ(copy->get_TimeStamp(&u), S_OK);
        EXPECT_EQ(u, s.stamp) << i;
        ASSERT_EQ(copy->get_RecordCondition(&l), S_OK);
        EXPECT_EQ(l, s.condition) << i;
        ASSERT_EQ(copy->get_AT(&l), S_OK);
        EXPECT_EQ(l, s.at) << i;
        ASSERT_EQ(copy->get_RecalculationDate(&d), S_OK);
        EXPECT_EQ(d, s.recalculation) << i;
        LONG length = -1;
        std::string body = BodyOf(copy.Get(), &length);
        VARIANT_BOOL init = 0;
        ASSERT_EQ(copy->get_ExtensionInitialized(&init), S_OK);
        if (s.body.empty()) {
            // No DOCEXTENSION is written: the extension stays as it was.
            EXPECT_EQ(body, "left over") << i;
            EXPECT_EQ(init, VARIANT_FALSE) << i;
        } else {
            EXPECT_EQ(body, s.body) << i;
            EXPECT_EQ(length, s.length) << i;
            EXPECT_EQ(init, VARIANT_TRUE) << i;
        }
        // Written again, the same text.
        if (!s.body.empty()) {
            EXPECT_EQ(FullStringOf(copy.Get()), text) << i;
        }
    }
}

TEST(XmlForm, ExtensionLengthRules) {
    // A Length below the body's bytes carries only that many.
    auto doc = NewDocument();
    SetBody(doc.Get(), "ABCDEFGH", 3);
    std::u16string text = FullStringOf(doc.Get());
    EXPECT_NE(Find(text, u"LEN=\"3\" BODY=\"414243\""), std::u16string::npos);
    auto copy = NewDocument();
    ASSERT_EQ(PutFullString(copy.Get(), text), S_OK);
    LONG length = 0;
    EXPECT_EQ(BodyOf(copy.Get(), &length), "ABC");
    EXPECT_EQ(length, 3);

    // A Length beyond them: the bytes there are, and the Length as written.
    SetBody(doc.Get(), "AB", 50);
    ASSERT_EQ(PutFullString(copy.Get(), FullStringOf(doc.Get())), S_OK);
    EXPECT_EQ(BodyOf(copy.Get(), &length), "AB");
    EXPECT_EQ(length, 50);

    // LEN 0 clears the extension and leaves ExtensionInitialized at 0.
    SetBody(copy.Get(), "full", 4);
    ASSERT_EQ(copy->put_ExtensionInitialized(VARIANT_TRUE), S_OK);
    std::u16string zeros(608, u'0');
    ASSERT_EQ(PutFullString(copy.Get(), u"<ORVDOCUMENT DOCRECORD=\"" + zeros + u"\"><DOCEXTENSION LEN=\"0\" BODY=\"4142\"/></ORVDOCUMENT>"), S_OK);
    EXPECT_EQ(BodyOf(copy.Get(), &length), "");
    EXPECT_EQ(length, 0);
    VARIANT_BOOL init = 1;
    ASSERT_EQ(copy->get_ExtensionInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_FALSE);

    // A huge LEN with a short BODY allocates nothing big and keeps what is there.
    ASSERT_EQ(PutFullString(copy.Get(), u"<ORVDOCUMENT DOCRECORD=\"" + zeros +
                                            u"\"><DOCEXTENSION LEN=\"2000000000\" BODY=\"41G2x\"/></ORVDOCUMENT>"),
              S_OK);
    EXPECT_EQ(BodyOf(copy.Get(), &length), std::string("\x41\x02", 2));  // "G" reads as 0
    EXPECT_EQ(length, 2000000000);
}

TEST(XmlForm, OnlyCapitalHexDigitsAreRead) {
    auto doc = NewDocument();
    std::u16string record = u"0A0a1F1f" + std::u16string(600, u'0');
    ASSERT_EQ(PutFullString(doc.Get(), u"<ORVDOCUMENT DOCRECORD=\"" + record + u"\" DBK=\"12\"/>"), S_OK);
    Bytes r = RecordOf(doc.Get());
    EXPECT_EQ(r[0], 0x0A);
    EXPECT_EQ(r[1], 0x00);
    EXPECT_EQ(r[2], 0x1F);
    EXPECT_EQ(r[3], 0x10);
    ULONG address = 0;
    ASSERT_EQ(doc->get_DB_ADDR(&address), S_OK);
    EXPECT_EQ(address, 12u);  // the absent attributes read as 0
    LONG l = 1;
    ASSERT_EQ(doc->get_AT(&l), S_OK);
    EXPECT_EQ(l, 0);
}

// A recalculation date beyond the doubles is read as an infinity; what the
// document then writes must come back the same (found by fuzzing).
TEST(XmlForm, ARecalculationDateBeyondTheDoublesComesBackAsWritten) {
    const std::u16string zeros(608, u'0');
    for (const char16_t* date : {u"1e400", u"-9" u"9999999999999999999999999999999e999", u"C1C8F4EBF245000.5"}) {
        SCOPED_TRACE(orv::Utf16ToUtf8(date));
        auto doc = NewDocument();
        ASSERT_EQ(PutFullString(doc.Get(), u"<ORVDOCUMENT DOCRECORD=\"" + zeros + u"\" RCLDATE=\"" + date + u"\"/>"),
                  S_OK);
        DATE read = 0;
        ASSERT_EQ(doc->get_RecalculationDate(&read), S_OK);
        EXPECT_TRUE(std::isinf(read));
        const std::u16string written = FullStringOf(doc.Get());
        auto again = NewDocument();
        ASSERT_EQ(PutFullString(again.Get(), written), S_OK);
        EXPECT_EQ(FullStringOf(again.Get()), written);
        DATE readAgain = 0;
        ASSERT_EQ(again->get_RecalculationDate(&readAgain), S_OK);
        EXPECT_EQ(readAgain, read);
    }
}

TEST(XmlForm, BadInputIsRefusedAndChangesNothing) {
    ClassRegistration sums(CLSID_OrvSumCollector, &CreateSumCollector);
    auto doc = NewDocument();
    PutRecord(doc.Get(), RandomRecord(12, 10));
    ASSERT_EQ(doc->put_DB_ADDR(99), S_OK);
    SetBody(doc.Get(), "keep", 4);
    ComPtr<IOrvSumCollector> c;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&c), S_OK);
    ASSERT_EQ(doc->AddSumCollector(1, c.Get()), S_OK);
    std::u16string before = FullStringOf(doc.Get());

    std::u16string zeros(608, u'0');
    struct Case {
        std::u16string text;
        HRESULT expected;
    };
    const Case cases[] = {
        {u"", E_POINTER},
        {u"<ORVDOCUMENT DOCRECORD=\"00\"", E_POINTER},  // does not parse
        {u"<OTHER DOCRECORD=\"" + zeros + u"\"/>", E_POINTER},
        {u"<ORVDOCUMENT DBK=\"5\"/>", E_INVALIDARG},  // no record
        {u"<ORVDOCUMENT DOCRECORD=\"" + zeros.substr(2) + u"\"/>", E_INVALIDARG},
        {u"<ORVDOCUMENT DOCRECORD=\"" + zeros + u"00\"/>", E_INVALIDARG},
        {u"<ORVDOCUMENT DOCRECORD=\"" + zeros + u"0\"/>", E_INVALIDARG},
        {u"not xml at all <<<", E_POINTER},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(PutFullString(doc.Get(), k.text), k.expected) << orv::Utf16ToUtf8(k.text.substr(0, 40));
        EXPECT_EQ(FullStringOf(doc.Get()), before);
    }

    ComPtr<IOrvObjAsXmlString> form;
    ASSERT_EQ(doc.As(&form), S_OK);
    EXPECT_EQ(form->ParseIn(nullptr, 0), E_POINTER);
    EXPECT_EQ(form->ParseFrom(nullptr, 0), E_POINTER);
    EXPECT_EQ(form->ParseIn(doc.Get(), 0), E_NOINTERFACE);  // not an element
    EXPECT_EQ(form->get_ShortString(nullptr), E_NOTIMPL);
    EXPECT_EQ(form->put_ShortString(nullptr), E_NOTIMPL);
    EXPECT_EQ(form->get_FullString(nullptr), E_POINTER);
}

TEST(XmlForm, ExtraSumsAreReadWithTheFirstOfEachIdentifier) {
    std::u16string zeros(608, u'0');
    std::u16string text = u"<ORVDOCUMENT DOCRECORD=\"" + zeros +
                          u"\"><EXTRASUMS><SMS ID=\"5\" SUM=\"1\"/><SMS ID=\"3\" SUM=\"2\"/>"
                          u"<SMS ID=\"5\" SUM=\"9\"/></EXTRASUMS></ORVDOCUMENT>";
    auto doc = NewDocument();
    ComPtr<IUnknown> old;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&old), S_OK);
    ASSERT_EQ(doc->AddSumCollector(8, old.Get()), S_OK);
    // Without the collector class the reading fails with the creation's status.
    EXPECT_EQ(PutFullString(doc.Get(), text), REGDB_E_CLASSNOTREG);

    ClassRegistration sums(CLSID_OrvSumCollector, &CreateSumCollector);
    ASSERT_EQ(PutFullString(doc.Get(), text), S_OK);
    ComPtr<IUnknown> c;
    EXPECT_EQ(doc->get_ExSum(8, c.GetAddressOf()), S_FALSE);  // the collectors held before are gone
    ASSERT_EQ(doc->get_ExSum(5, c.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> five;
    ASSERT_EQ(c.As(&five), S_OK);
    CY v{};
    ASSERT_EQ(five->get_Sum(0, &v), S_OK);
    EXPECT_EQ(v.int64, 10000);  // the first SMS with ID 5
    ASSERT_EQ(doc->get_ExSum(3, c.ReleaseAndGetAddressOf()), S_OK);
    LONG id = 0;
    ASSERT_EQ(doc->ResetSumCollectors(), S_OK);
    ASSERT_EQ(doc->NextSumCollector(&id, c.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(id, 3);
}

// A class object whose objects cannot be created.
HRESULT CannotCreate(IUnknown*, REFIID, void** ppv) {
    if (ppv) *ppv = nullptr;
    return E_OUTOFMEMORY;
}

TEST(XmlForm, AMissingXmlServiceIsReportedWithItsMessage) {
    HostEnvironment host;
    SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    auto doc = NewDocument();
    {
        ClassRegistration broken(CLSID_DOMDocument40, &CannotCreate);
        BSTR text = reinterpret_cast<BSTR>(1);
        ComPtr<IOrvObjAsXmlString> form;
        ASSERT_EQ(doc.As(&form), S_OK);
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(form->get_FullString(&text), E_OUTOFMEMORY);
        EXPECT_EQ(text, nullptr);
        EXPECT_EQ(TakeErrorInfo().description, u"Ioeaea i?e iiaee??aiee e MS XML");
        EXPECT_EQ(form->put_FullString(Bstr(u"<ORVDOCUMENT/>")), E_OUTOFMEMORY);
        EXPECT_EQ(host.Messages().size(), 2u);
    }
    SetThreadUILanguage(LANG_NEUTRAL);
    EXPECT_FALSE(FullStringOf(doc.Get()).empty());
}

}  // namespace
