// The kinds that keep an average-earnings protocol in their extension: OR and
// VO (nothing else, no copy in the object) and PS (with the years taken for
// the average, kept in the object between reading and writing). The real
// protocol object shows the hand-out and storage; a fake one shows what the
// kind asks of it.
#include "document/doc_test_util.h"
#include "fake_protocol.h"
#include "kind_support.h"

#include "kinds/all_kinds.h"

namespace {

using kindtest::FakeProtocol;
using kindtest::NewFakeProtocol;
using kinds_test::Body;
using kinds_test::Utf8;
using orv::Bstr;
using orv::ComPtr;

void SetBodyAndLength(IOrvDocument* doc, std::u16string_view xml) {
    kinds_test::SetBody(doc, xml);
    ASSERT_EQ(kindtest::ExtensionOf(doc)->put_Length(static_cast<LONG>(xml.size() * 2)), S_OK);
}

ComPtr<IOrvBLDocProtocol> AsProtocol(IDispatch* d) {
    ComPtr<IOrvBLDocProtocol> p;
    if (d) {
        EXPECT_EQ(d->QueryInterface(IID_IOrvBLDocProtocol, reinterpret_cast<void**>(p.GetAddressOf())), S_OK);
    }
    return p;
}

// The OR and VO kinds behave alike except for their root.
template <class T, class I>
struct ProtocolKindCase {
    using Kind = T;
    using Interface = I;
};

template <class C>
struct SingleProtocolKinds : ::testing::Test {
    using Kind = typename C::Kind;
    using Interface = typename C::Interface;
    static const char16_t* Root() { return Kind::kRoot; }
    static SHORT Type() { return std::u16string_view(Kind::kRoot) == u"ORDOCEX" ? 30 : 368; }
    ComPtr<Interface> NewKind(IOrvDocument* doc) { return kinds_test::NewKind<Kind, Interface>(doc); }
    doctest::HostEnvironment host;  // the list component the protocol object needs
};
using Cases = ::testing::Types<ProtocolKindCase<orv::OrvORDoc, IOrvORDoc>, ProtocolKindCase<orv::OrvVODoc, IOrvVODoc>>;
TYPED_TEST_SUITE(SingleProtocolKinds, Cases);

TYPED_TEST(SingleProtocolKinds, GetWithoutAStoredProtocolGivesAResetOneWithTheDocumentsAccessType) {
    auto doc = kinds_test::NewDocument(this->Type());
    ASSERT_EQ(doc->put_AT(1), S_OK);
    SetBodyAndLength(doc.Get(), std::u16string(u"<") + this->Root() + u"><MAINPROT/></" + this->Root() + u">");
    auto kind = this->NewKind(doc.Get());
    ComPtr<IDispatch> got;
    ASSERT_EQ(kind->get_Protocol(got.GetAddressOf()), S_OK);
    auto protocol = AsProtocol(got.Get());
    ASSERT_TRUE(protocol);
    LONG at = -1;
    ASSERT_EQ(protocol->GetAccessType(&at), S_OK);
    EXPECT_EQ(at, 1);
    LONG type = -1;
    ASSERT_EQ(protocol->get_SType(&type), S_OK);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(kind->get_Protocol(nullptr), E_POINTER);
}

TYPED_TEST(SingleProtocolKinds, PutReplacesTheBodyAndGetReadsANewObjectFromIt) {
    auto doc = kinds_test::NewDocument(this->Type());
    SetBodyAndLength(doc.Get(), std::u16string(u"<") + this->Root() + u" X=\"1\"><OTHER/></" + this->Root() + u">");
    auto kind = this->NewKind(doc.Get());
    ComPtr<IDispatch> first;
    ASSERT_EQ(kind->get_Protocol(first.GetAddressOf()), S_OK);
    auto protocol = AsProtocol(first.Get());
    ASSERT_EQ(protocol->put_SType(7), S_OK);
    ASSERT_EQ(protocol->put_Number(Bstr(u"N-12")), S_OK);
    ASSERT_EQ(kind->put_Protocol(first.Get()), S_OK);

    const std::u16string body = Body(doc.Get());
    const std::u16string start = std::u16string(u"<") + this->Root() + u"><MAINPROT><BLPR5";
    EXPECT_EQ(body.rfind(start, 0), 0u) << Utf8(body);
    EXPECT_EQ(body.find(u"OTHER"), std::u16string::npos);
    EXPECT_EQ(body.find(u"X=\"1\""), std::u16string::npos);
    EXPECT_EQ(kinds_test::BodyLength(doc.Get()), static_cast<LONG>(body.size() * 2));
    LONG originator = 0;
    ASSERT_EQ(protocol->get_OriginatorType(&originator), S_OK);
    EXPECT_EQ(originator, this->Type());

    ComPtr<IDispatch> second;
    ASSERT_EQ(kind->get_Protocol(second.GetAddressOf()), S_OK);
    EXPECT_NE(second.Get(), first.Get());
    auto read = AsProtocol(second.Get());
    LONG type = 0;
    ASSERT_EQ(read->get_SType(&type), S_OK);
    EXPECT_EQ(type, 7);
    Bstr number;
    ASSERT_EQ(read->get_Number(number.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(number.View(), u"N-12");
}

TYPED_TEST(SingleProtocolKinds, PutTakesTheFirstElementOfTheProtocolText) {
    auto doc = kinds_test::NewDocument(this->Type());
    auto kind = this->NewKind(doc.Get());
    FakeProtocol* fake = nullptr;
    auto protocol = NewFakeProtocol(u"<?xml version=\"1.0\"?><BLPR5 A=\"1\"><H/></BLPR5>", &fake);
    ASSERT_EQ(kind->put_Protocol(protocol.Get()), S_OK);
    EXPECT_EQ(fake->originatorType, this->Type());
    const std::u16string root = this->Root();
    EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(u"<" + root + u"><MAINPROT><BLPR5 A=\"1\"><H/></BLPR5></MAINPROT></" + root + u">"));
    // An empty protocol text stores the root alone.
    fake->text.clear();
    ASSERT_EQ(kind->put_Protocol(protocol.Get()), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(u"<" + root + u"/>"));
}

TYPED_TEST(SingleProtocolKinds, WhatIsNotAProtocolWritesNothing) {
    auto doc = kinds_test::NewDocument(this->Type());
    SetBodyAndLength(doc.Get(), u"<KEEP/>");
    auto kind = this->NewKind(doc.Get());
    ASSERT_EQ(kind->put_Protocol(nullptr), S_OK);
    ComPtr<IDispatch> notAProtocol;
    ASSERT_EQ(kind.As(&notAProtocol), S_OK);  // the kind itself answers IDispatch
    ASSERT_EQ(kind->put_Protocol(notAProtocol.Get()), S_OK);
    EXPECT_EQ(Body(doc.Get()), u"<KEEP/>");
    // A protocol that cannot give its text leaves the body as well.
    FakeProtocol* fake = nullptr;
    auto failing = NewFakeProtocol(u"<BLPR5/>", &fake);
    fake->failFullString = E_OUTOFMEMORY;
    EXPECT_EQ(kind->put_Protocol(failing.Get()), E_OUTOFMEMORY);
    EXPECT_EQ(Body(doc.Get()), u"<KEEP/>");
}

TYPED_TEST(SingleProtocolKinds, AProtocolUnderAnotherRootIsNotRead) {
    auto doc = kinds_test::NewDocument(this->Type());
    const std::u16string other = std::u16string_view(this->Root()) == u"ORDOCEX" ? u"VODOCEX" : u"ORDOCEX";
    SetBodyAndLength(doc.Get(), u"<" + other + u"><MAINPROT><BLPR5><STYPE VAL=\"4\"/></BLPR5></MAINPROT></" + other + u">");
    auto kind = this->NewKind(doc.Get());
    ComPtr<IDispatch> got;
    ASSERT_EQ(kind->get_Protocol(got.GetAddressOf()), S_OK);
    LONG type = -1;
    ASSERT_EQ(AsProtocol(got.Get())->get_SType(&type), S_OK);
    EXPECT_EQ(type, 0);
}

TEST(SingleProtocolKindsAlone, WithoutAnExtensionGetGivesNothingAndWithoutADocumentEPointer) {
    auto kind = kinds_test::NewKind<orv::OrvORDoc, IOrvORDoc>(kinds_test::NewDocumentWithoutExtension().Get());
    IDispatch* got = reinterpret_cast<IDispatch*>(0x1);
    ASSERT_EQ(kind->get_Protocol(&got), S_OK);
    EXPECT_EQ(got, nullptr);
    ComPtr<IOrvVODoc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvVODoc>(&alone), S_OK);
    EXPECT_EQ(alone->get_Protocol(&got), E_POINTER);
    EXPECT_EQ(alone->put_Protocol(nullptr), E_POINTER);
}

// ------------------------------------------------------------------- PS

struct PSDocTest : ::testing::Test {
    doctest::HostEnvironment host;
    void SetUp() override {
        doc = kinds_test::NewDocument(69);
        ps = kinds_test::NewKind<orv::OrvPSDoc, IOrvPSDoc>(doc.Get());
        ASSERT_TRUE(ps);
    }
    std::u16string Years() {
        BSTR t = nullptr;
        EXPECT_EQ(ps->get_YearsForAverage(&t), S_OK);
        return kinds_test::Take(t);
    }
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvPSDoc> ps;
};

TEST_F(PSDocTest, YearsReachTheExtensionOnlyWhenItIsWritten) {
    SetBodyAndLength(doc.Get(), u"<PS YEARSFORAVE=\"2023;2024\"/>");
    ASSERT_EQ(ps->InitFromExtension(), S_OK);
    EXPECT_EQ(Years(), u"2023;2024");
    ASSERT_EQ(ps->put_YearsForAverage(Bstr(u"2024;2025")), S_OK);
    EXPECT_EQ(Body(doc.Get()), u"<PS YEARSFORAVE=\"2023;2024\"/>");
    ASSERT_EQ(ps->UpdateExtension(), S_OK);
    EXPECT_EQ(Body(doc.Get()), u"<PS YEARSFORAVE=\"2024;2025\"/>");
    EXPECT_EQ(kinds_test::BodyLength(doc.Get()), static_cast<LONG>(Body(doc.Get()).size() * 2));
    // An empty text writes no attribute.
    ASSERT_EQ(ps->put_YearsForAverage(nullptr), S_OK);
    ASSERT_EQ(ps->UpdateExtension(), S_OK);
    EXPECT_EQ(Body(doc.Get()), u"<PS/>");
}

TEST_F(PSDocTest, ProtocolPutWritesAtOnceAndAPutOfNothingDropsIt) {
    ASSERT_EQ(ps->put_YearsForAverage(Bstr(u"2025")), S_OK);
    FakeProtocol* fake = nullptr;
    auto protocol = NewFakeProtocol(u"<?xml version=\"1.0\"?><BLPR5 A=\"2\"/>", &fake);
    ASSERT_EQ(ps->put_Protocol(protocol.Get()), S_OK);
    EXPECT_EQ(fake->originatorType, 69);
    EXPECT_EQ(Utf8(Body(doc.Get())), "<PS YEARSFORAVE=\"2025\"><MAINPROT><BLPR5 A=\"2\"/></MAINPROT></PS>");
    ASSERT_EQ(ps->put_Protocol(nullptr), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())), "<PS YEARSFORAVE=\"2025\"/>");
}

TEST_F(PSDocTest, TheKeptProtocolIsHandedOutAsANewObject) {
    ASSERT_EQ(doc->put_AT(1), S_OK);
    SetBodyAndLength(doc.Get(), u"<PS><MAINPROT><BLPR5><STYPE VAL=\"9\"/></BLPR5></MAINPROT></PS>");
    ComPtr<IDispatch> first, second;
    ASSERT_EQ(ps->get_Protocol(first.GetAddressOf()), S_OK);  // reads the extension first
    auto p = AsProtocol(first.Get());
    ASSERT_TRUE(p);
    LONG at = -1;
    ASSERT_EQ(p->GetAccessType(&at), S_OK);
    EXPECT_EQ(at, 1);
    // A real protocol stored and handed out again keeps its fields.
    ASSERT_EQ(p->put_SType(11), S_OK);
    ASSERT_EQ(ps->put_Protocol(first.Get()), S_OK);
    ASSERT_EQ(ps->get_Protocol(second.GetAddressOf()), S_OK);
    EXPECT_NE(first.Get(), second.Get());
    LONG type = 0;
    ASSERT_EQ(AsProtocol(second.Get())->get_SType(&type), S_OK);
    EXPECT_EQ(type, 11);
    EXPECT_EQ(Body(doc.Get()).rfind(u"<PS><MAINPROT><BLPR5", 0), 0u);
}

TEST_F(PSDocTest, ReadingHappensOnceAndAFailedWriteKeepsTheObject) {
    SetBodyAndLength(doc.Get(), u"<PS YEARSFORAVE=\"2020\"/>");
    ASSERT_EQ(ps->InitFromExtension(), S_OK);
    SetBodyAndLength(doc.Get(), u"<PS YEARSFORAVE=\"1999\"/>");
    ASSERT_EQ(ps->InitFromExtension(), S_OK);
    EXPECT_EQ(Years(), u"2020");
    EXPECT_EQ(ps->get_YearsForAverage(nullptr), E_POINTER);

    auto kind = kinds_test::NewKind<orv::OrvPSDoc, IOrvPSDoc>(kinds_test::NewDocumentWithoutExtension().Get());
    // The fake document answers no record member (its access type fails) and
    // has no extension to write into.
    EXPECT_EQ(kind->InitFromExtension(), E_NOTIMPL);
    EXPECT_EQ(kind->UpdateExtension(), E_POINTER);
}

}  // namespace
