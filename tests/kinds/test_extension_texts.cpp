// Texts that record-field kinds keep in the document's extension as plain OEM
// bytes: the transfer's 42-byte body of four slots, the NUL-terminated texts
// of the payment and address kinds, and the personnel numbers with their list.
#include "kinds_test_util.h"

#include "host/registration.h"
#include "kinds/OrvDRDoc.h"
#include "kinds/OrvVlDoc.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace kindtest;

// ------------------------------------------------------ transfer body

struct Slot {
    HRESULT (IOrvDRDoc::*put)(BSTR);
    HRESULT (IOrvDRDoc::*get)(BSTR*);
    std::size_t offset, width;
};
const Slot kSlots[] = {
    {&IOrvDRDoc::put_OldDepNum, &IOrvDRDoc::get_OldDepNum, 0, 10},
    {&IOrvDRDoc::put_OldPosition, &IOrvDRDoc::get_OldPosition, 10, 11},
    {&IOrvDRDoc::put_NewDepNum, &IOrvDRDoc::get_NewDepNum, 21, 10},
    {&IOrvDRDoc::put_NewPosition, &IOrvDRDoc::get_NewPosition, 31, 11},
};

TEST(TransferBody, EmptyExtensionReadsNothingAndFirstPutCreatesTheBody) {
    ComPtr<IOrvDocument> doc = NewDocument(SHORT{91});
    ComPtr<IOrvDRDoc> dr = KindOf<IOrvDRDoc>(doc.Get());
    ASSERT_TRUE(dr);
    for (const Slot& s : kSlots) {
        BSTR text = reinterpret_cast<BSTR>(1);
        EXPECT_EQ((dr.Get()->*s.get)(&text), S_FALSE);
        EXPECT_EQ(text, nullptr);
    }
    // 15 Cyrillic letters into the 11-byte slot: 10 are kept.
    ASSERT_EQ(dr->put_OldPosition(Bstr(u"ВодительАвтобуса")), S_OK);
    ComPtr<IOrvDocExtension> ext = ExtensionOf(doc.Get());
    EXPECT_EQ(LengthOf(ext.Get()), 42);
    const std::string body = BodyOf(ext.Get());
    ASSERT_EQ(body.size(), 42u);
    EXPECT_EQ(body.substr(10, 11), std::string("\x82\xAE\xA4\xA8\xE2\xA5\xAB\xEC\x80\xA2\0", 11));
    EXPECT_EQ(body.substr(0, 10), std::string(10, '\0'));
    EXPECT_EQ(body.substr(21), std::string(21, '\0'));
    for (const Slot& s : kSlots) {
        Bstr text;
        EXPECT_EQ((dr.Get()->*s.get)(text.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(Text(text), s.offset == 10 ? u"ВодительАв" : u"");
    }
}

TEST(TransferBody, EachPutChangesOnlyItsSlot) {
    ComPtr<IOrvDocument> doc = NewDocument(SHORT{91});
    ComPtr<IOrvDRDoc> dr = KindOf<IOrvDRDoc>(doc.Get());
    ComPtr<IOrvDocExtension> ext = ExtensionOf(doc.Get());
    // A body filled by hand: every slot full, with its NUL, and a distinct letter.
    std::string start;
    for (std::size_t i = 0; i < 4; ++i) {
        start += std::string(kSlots[i].width - 1, static_cast<char>('A' + i));
        start += '\0';
    }
    for (std::size_t i = 0; i < 4; ++i) {
        PutBody(ext.Get(), start);
        const Slot& s = kSlots[i];
        ASSERT_EQ((dr.Get()->*s.put)(Bstr(u"Цех1")), S_OK);
        std::string expected = start;
        expected.replace(s.offset, s.width, std::string("\x96\xA5\xE5\x31", 4) + std::string(s.width - 4, '\0'));
        EXPECT_EQ(BodyOf(ext.Get()), expected) << i;
        for (std::size_t j = 0; j < 4; ++j) {
            const Slot& other = kSlots[j];
            Bstr text;
            ASSERT_EQ((dr.Get()->*other.get)(text.ReleaseAndGetAddressOf()), S_OK);
            EXPECT_EQ(Text(text), j == i ? u"Цех1" : std::u16string(kSlots[j].width - 1, char16_t(u'A' + j)));
        }
    }
}

TEST(TransferBody, ShortOrUnderstatedBodiesCountAsEmpty) {
    ComPtr<IOrvDocument> doc = NewDocument(SHORT{91});
    ComPtr<IOrvDRDoc> dr = KindOf<IOrvDRDoc>(doc.Get());
    ComPtr<IOrvDocExtension> ext = ExtensionOf(doc.Get());
    const std::string full(42, 'Z');
    struct Case {
        std::string body;
        LONG length;
    };
    const Case cases[] = {{std::string(41, 'Z'), 41}, {full, 41}, {std::string(30, 'Z'), 42}};
    for (const Case& c : cases) {
        PutBody(ext.Get(), c.body);
        ASSERT_EQ(ext->put_Length(c.length), S_OK);
        Bstr text;
        EXPECT_EQ(dr->get_NewDepNum(text.ReleaseAndGetAddressOf()), S_FALSE);
        EXPECT_EQ(text.Get(), nullptr);
        // A put starts again from 42 zero bytes.
        ASSERT_EQ(dr->put_NewDepNum(Bstr(u"7")), S_OK);
        std::string expected(42, '\0');
        expected[21] = '7';
        EXPECT_EQ(BodyOf(ext.Get()), expected);
        EXPECT_EQ(LengthOf(ext.Get()), 42);
    }
}

TEST(TransferBody, ASlotWithoutItsNulEndsAtTheSlot) {
    ComPtr<IOrvDocument> doc = NewDocument(SHORT{91});
    ComPtr<IOrvDRDoc> dr = KindOf<IOrvDRDoc>(doc.Get());
    ComPtr<IOrvDocExtension> ext = ExtensionOf(doc.Get());
    PutBody(ext.Get(), std::string(50, 'Q'));  // longer than 42, no NUL anywhere
    for (const Slot& s : kSlots) {
        Bstr text;
        ASSERT_EQ((dr.Get()->*s.get)(text.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(Text(text), std::u16string(s.width, u'Q'));
    }
    // A put writes back exactly the 42 bytes of the four slots.
    ASSERT_EQ(dr->put_OldDepNum(Bstr(u"")), S_OK);
    EXPECT_EQ(BodyOf(ext.Get()), std::string(10, '\0') + std::string(32, 'Q'));
}

TEST(TransferBody, MissingOrFailingExtension) {
    FakeDocument* fake = nullptr;
    ComPtr<IOrvDocument> bare = NewFakeDocument(&fake, false);
    ComPtr<IOrvDRDoc> dr = Attach<orv::OrvDRDoc, IOrvDRDoc>(bare.Get());
    Bstr text;
    EXPECT_EQ(dr->get_OldDepNum(text.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(dr->put_OldDepNum(Bstr(u"1")), E_UNEXPECTED);

    ComPtr<IOrvDocument> doc = NewFakeDocument(&fake);
    dr = Attach<orv::OrvDRDoc, IOrvDRDoc>(doc.Get());
    fake->failLengthPut = E_ACCESSDENIED;
    EXPECT_EQ(dr->put_OldDepNum(Bstr(u"1")), E_ACCESSDENIED);
    EXPECT_TRUE(fake->body.empty());
    fake->failLengthPut = S_OK;
    fake->failBodyPut = E_OUTOFMEMORY;
    EXPECT_EQ(dr->put_OldDepNum(Bstr(u"1")), E_OUTOFMEMORY);
    fake->failBodyPut = S_OK;
    EXPECT_EQ(dr->put_OldDepNum(Bstr(u"1")), S_OK);
    EXPECT_EQ(fake->body.size(), 42u);
}

// ------------------------------------------ NUL-terminated extension texts

struct TextKind {
    const char* name;
    SHORT type;
    std::function<HRESULT(IUnknown*, BSTR)> put;
    std::function<HRESULT(IUnknown*, BSTR*)> get;
};

void PrintTo(const TextKind& k, std::ostream* os) { *os << k.name; }

template <class I>
TextKind Kind(const char* name, SHORT type, HRESULT (I::*put)(BSTR), HRESULT (I::*get)(BSTR*)) {
    auto as = [](IUnknown* obj) {
        ComPtr<I> k;
        EXPECT_EQ(obj->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(k.GetAddressOf())), S_OK);
        return k;
    };
    return {name, type, [=](IUnknown* o, BSTR v) { return (as(o).Get()->*put)(v); },
            [=](IUnknown* o, BSTR* v) { return (as(o).Get()->*get)(v); }};
}

class ExtensionTextKind : public ::testing::TestWithParam<TextKind> {
protected:
    void SetUp() override {
        doc_ = NewDocument(GetParam().type);
        ASSERT_EQ(orv::CreateSpecificObject(GetParam().type, doc_.Get(), kind_.GetAddressOf()), S_OK);
        ext_ = ExtensionOf(doc_.Get());
    }
    Bstr Read(HRESULT expected = S_OK) {
        Bstr text;
        EXPECT_EQ(GetParam().get(kind_.Get(), text.ReleaseAndGetAddressOf()), expected);
        return text;
    }
    ComPtr<IOrvDocument> doc_;
    ComPtr<IUnknown> kind_;
    ComPtr<IOrvDocExtension> ext_;
};

TEST_P(ExtensionTextKind, TextIsTheWholeBodyWithItsNul) {
    EXPECT_EQ(Read().Get(), nullptr);  // an empty extension
    ASSERT_EQ(GetParam().put(kind_.Get(), Bstr(u"Иванов И.И.1")), S_OK);
    EXPECT_EQ(LengthOf(ext_.Get()), 13);
    EXPECT_EQ(BodyOf(ext_.Get()), std::string("\x88\xA2\xA0\xAD\xAE\xA2 \x88.\x88.1\0", 13));
    EXPECT_EQ(Text(Read()), u"Иванов И.И.1");
    // Record fields are not touched.
    const Record record = RecordOf(doc_.Get());
    ASSERT_EQ(GetParam().put(kind_.Get(), Bstr(u"x")), S_OK);
    EXPECT_EQ(RecordOf(doc_.Get()), record);
}

TEST_P(ExtensionTextKind, EmptyTextClearsTheExtension) {
    ASSERT_EQ(GetParam().put(kind_.Get(), Bstr(u"abc")), S_OK);
    ASSERT_EQ(GetParam().put(kind_.Get(), Bstr(u"")), S_OK);
    EXPECT_EQ(LengthOf(ext_.Get()), 0);
    EXPECT_EQ(BodyOf(ext_.Get()), "");
    EXPECT_EQ(Read().Get(), nullptr);
    ASSERT_EQ(GetParam().put(kind_.Get(), Bstr(u"abc")), S_OK);
    ASSERT_EQ(GetParam().put(kind_.Get(), nullptr), S_OK);
    EXPECT_EQ(LengthOf(ext_.Get()), 0);
}

TEST_P(ExtensionTextKind, BodiesWrittenByOthersReadUpToTheirNul) {
    PutBody(ext_.Get(), std::string("AB\0CD", 5));
    EXPECT_EQ(Text(Read()), u"AB");
    PutBody(ext_.Get(), "XYZ");  // no NUL at all: the body's bytes
    EXPECT_EQ(Text(Read()), u"XYZ");
    PutBody(ext_.Get(), "\x9F");  // one byte, an odd length
    EXPECT_EQ(Text(Read()), u"Я");
}

TEST_P(ExtensionTextKind, DocumentWithoutExtension) {
    FakeDocument* fake = nullptr;
    ComPtr<IOrvDocument> bare = NewFakeDocument(&fake, false);
    ComPtr<IUnknown> kind;
    ASSERT_EQ(orv::CreateSpecificObject(GetParam().type, bare.Get(), kind.GetAddressOf()), S_OK);
    EXPECT_EQ(GetParam().put(kind.Get(), Bstr(u"a")), E_UNEXPECTED);
    Bstr text;
    EXPECT_EQ(GetParam().get(kind.Get(), text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.Get(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExtensionTextKind,
                         ::testing::Values(Kind("AV_Recipient", 7, &IOrvAVDoc::put_Recipient, &IOrvAVDoc::get_Recipient),
                                           Kind("SB_Recipient", 10, &IOrvSBDoc::put_Recipient, &IOrvSBDoc::get_Recipient),
                                           Kind("IN_Address", 14, &IOrvINDoc::put_Address, &IOrvINDoc::get_Address),
                                           Kind("ST_Address", 17, &IOrvSTDoc::put_Address, &IOrvSTDoc::get_Address)),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------ personnel numbers

class PersonnelNumbers : public ::testing::Test {
protected:
    void SetUp() override {
        doc_ = NewDocument(SHORT{68});
        vl_ = KindOf<IOrvVlDoc>(doc_.Get());
        ext_ = ExtensionOf(doc_.Get());
        ASSERT_EQ(doc_->put_ExtensionInitialized(VARIANT_TRUE), S_OK);
        ASSERT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK);
    }
    void TearDown() override { registration_.Revoke(); }

    // The texts of the list handed out, or nothing when there is no list.
    std::vector<std::u16string> Numbers(IOrvVlDoc* vl, HRESULT expected = S_OK, bool* hasList = nullptr) {
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(vl->get_OtherTabNumbers(5, unknown.GetAddressOf()), expected);
        if (hasList) *hasList = unknown != nullptr;
        std::vector<std::u16string> out;
        ComPtr<IOrvTextList> list;
        if (!unknown || FAILED(unknown.As(&list))) return out;
        LONG count = 0;
        EXPECT_EQ(list->get_Count(&count), S_OK);
        for (LONG i = 0; i < count; ++i) {
            Bstr item;
            EXPECT_EQ(list->get_Item(i, item.ReleaseAndGetAddressOf()), S_OK);
            out.push_back(Text(item));
        }
        return out;
    }
    void SetNumbers(std::u16string_view text) { ASSERT_EQ(vl_->put_OtherTabNumbersAsString(Bstr(text)), S_OK); }

    ComPtr<IOrvDocument> doc_;
    ComPtr<IOrvVlDoc> vl_;
    ComPtr<IOrvDocExtension> ext_;
    orv::host::Registration registration_;
};

TEST_F(PersonnelNumbers, TextFillsTheBodyAndIsReadUpToLength) {
    SetNumbers(u"12, 15;;7");
    EXPECT_EQ(BodyOf(ext_.Get()), std::string("12, 15;;7\0", 10));
    EXPECT_EQ(LengthOf(ext_.Get()), 10);
    Bstr text;
    ASSERT_EQ(vl_->get_OtherTabNumbersAsString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Text(text), u"12, 15;;7");

    ASSERT_EQ(ext_->put_Length(4), S_OK);  // the text ends where Length says
    ASSERT_EQ(vl_->get_OtherTabNumbersAsString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Text(text), u"12, ");
    ASSERT_EQ(ext_->put_Length(400), S_OK);  // but never beyond the body
    ASSERT_EQ(vl_->get_OtherTabNumbersAsString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Text(text), u"12, 15;;7");
    ASSERT_EQ(ext_->put_Length(0), S_OK);
    ASSERT_EQ(vl_->get_OtherTabNumbersAsString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.Get(), nullptr);

    SetNumbers(u"");
    EXPECT_EQ(BodyOf(ext_.Get()), "");
    EXPECT_EQ(LengthOf(ext_.Get()), 0);
}

TEST_F(PersonnelNumbers, ListOfTheNumbersBetweenDelimiters) {
    SetNumbers(u"12, 15;;7");
    EXPECT_EQ(Numbers(vl_.Get()), (std::vector<std::u16string>{u"12", u"15", u"7"}));
    SetNumbers(u"-1 2;3:4,5.6\\7/8-9-");
    EXPECT_EQ(Numbers(vl_.Get()), (std::vector<std::u16string>{u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"}));
    SetNumbers(u"А12|Б 0");  // other characters belong to the numbers
    EXPECT_EQ(Numbers(vl_.Get()), (std::vector<std::u16string>{u"А12|Б", u"0"}));
}

TEST_F(PersonnelNumbers, OnlyTheFirst399CharactersAreSplit) {
    SetNumbers(std::u16string(396, u' ') + u"1234 99");
    EXPECT_EQ(Numbers(vl_.Get()), (std::vector<std::u16string>{u"123"}));
    SetNumbers(std::u16string(394, u';') + u"12345");
    EXPECT_EQ(Numbers(vl_.Get()), (std::vector<std::u16string>{u"12345"}));
}

TEST_F(PersonnelNumbers, NoNumbersNoList) {
    bool hasList = true;
    for (std::u16string_view text : {u"", u" ;:,.\\/-", u";;;"}) {
        SetNumbers(text);
        EXPECT_TRUE(Numbers(vl_.Get(), S_OK, &hasList).empty());
        EXPECT_FALSE(hasList) << orv::Utf16ToUtf8(text);
    }
}

TEST_F(PersonnelNumbers, WithoutTheListClassTheStatusOfItsCreation) {
    registration_.Revoke();
    SetNumbers(u"1");
    Numbers(vl_.Get(), REGDB_E_CLASSNOTREG);
    SetNumbers(u"");  // no number, nothing to create
    Numbers(vl_.Get(), S_OK);
}

TEST_F(PersonnelNumbers, ExtensionIsReadFromTheServiceFirstWhenNotYet) {
    FakeDocument* fake = nullptr;
    ComPtr<IOrvDocument> doc = NewFakeDocument(&fake);
    ComPtr<IOrvVlDoc> vl = Attach<orv::OrvVlDoc, IOrvVlDoc>(doc.Get());
    fake->initialized = VARIANT_FALSE;
    fake->bodyFromService = std::string("5-6\0", 4);
    EXPECT_EQ(Numbers(vl.Get()), (std::vector<std::u16string>{u"5", u"6"}));
    EXPECT_EQ(fake->initCalls, 1);
    EXPECT_EQ(fake->lastPipe, 5);
    Numbers(vl.Get());  // initialised now: not asked again
    EXPECT_EQ(fake->initCalls, 1);

    fake->initialized = VARIANT_FALSE;
    fake->failInit = E_FAIL;
    Numbers(vl.Get(), E_FAIL);

    ComPtr<IOrvDocument> bare = NewFakeDocument(&fake, false);
    vl = Attach<orv::OrvVlDoc, IOrvVlDoc>(bare.Get());
    Numbers(vl.Get(), E_POINTER);
    EXPECT_EQ(vl->put_OtherTabNumbersAsString(Bstr(u"1")), E_UNEXPECTED);
}

}  // namespace
