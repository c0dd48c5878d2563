// The kinds whose fields are texts and dates in the attributes of their root
// (ZZ, MI, MD, TV, JB, MY), driven by one table: each field's attribute and
// property, written, read back, read from bodies written by hand.
#include "kind_support.h"

#include "kinds/pattern_kinds.h"

#include <functional>
#include <optional>
#include <tuple>
#include <vector>

namespace {

using kinds_test::Body;
using kinds_test::SetBody;
using kinds_test::Take;
using kinds_test::Utf8;

struct Value {
    std::u16string text;
    DATE date = 0.0;
};

template <class I>
orv::ComPtr<I> As(IUnknown* object) {
    orv::ComPtr<I> itf;
    EXPECT_EQ(object->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(itf.GetAddressOf())), S_OK);
    return itf;
}

// One property and the attribute it is kept in.
struct Field {
    const char16_t* attribute;
    bool isDate;
    std::function<HRESULT(IUnknown*, const Value&)> put;
    std::function<HRESULT(IUnknown*, Value*)> get;  // null Value*: a null out-pointer
};

template <class I>
Field TextField(const char16_t* attribute, HRESULT (I::*get)(BSTR*), HRESULT (I::*put)(BSTR)) {
    return {attribute, false,
            [put](IUnknown* o, const Value& v) { return (As<I>(o).Get()->*put)(orv::Bstr(v.text)); },
            [get](IUnknown* o, Value* v) {
                if (!v) return (As<I>(o).Get()->*get)(nullptr);
                BSTR text = nullptr;
                HRESULT hr = (As<I>(o).Get()->*get)(&text);
                EXPECT_NE(text, nullptr) << "a text get answers a string, never null";
                v->text = Take(text);
                return hr;
            }};
}

template <class I>
Field DateField(const char16_t* attribute, HRESULT (I::*get)(DATE*), HRESULT (I::*put)(DATE)) {
    return {attribute, true, [put](IUnknown* o, const Value& v) { return (As<I>(o).Get()->*put)(v.date); },
            [get](IUnknown* o, Value* v) { return (As<I>(o).Get()->*get)(v ? &v->date : nullptr); }};
}

struct Kind {
    const char* name;
    HRESULT (*create)(IOrvDocument*, IUnknown**) noexcept;
    const char16_t* root;
    bool omitsEmpty;  // empty texts and zero dates are not written
    std::function<HRESULT(IUnknown*)> init, update;
    std::function<HRESULT(IUnknown*, VARIANT_BOOL*)> initialized;  // null: no such property
    std::vector<Field> fields;
    std::u16string children;  // the written form of what the root holds besides attributes
};

template <class T, class I>
Kind MakeKind(const char* name, const char16_t* root, bool omitsEmpty, std::vector<Field> fields) {
    Kind k{name, &orv::CreateSpecific<T>, root, omitsEmpty,
           [](IUnknown* o) { return As<I>(o)->InitFromExtension(); },
           [](IUnknown* o) { return As<I>(o)->UpdateExtension(); }, nullptr, std::move(fields), {}};
    if constexpr (requires(I* i, VARIANT_BOOL* p) { i->get_IsInitialized(p); })
        k.initialized = [](IUnknown* o, VARIANT_BOOL* p) { return As<I>(o)->get_IsInitialized(p); };
    return k;
}

Kind WithChildren(std::u16string children, Kind kind) {
    kind.children = std::move(children);
    return kind;
}

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        MakeKind<orv::OrvZZDoc, IOrvZZDoc>(
            "ZZ", u"ZZDOCEX", true,
            {TextField(u"RCP", &IOrvZZDoc::get_Recipient, &IOrvZZDoc::put_Recipient),
             TextField(u"ADDR", &IOrvZZDoc::get_AddressString, &IOrvZZDoc::put_AddressString)}),
        MakeKind<orv::OrvMIDoc, IOrvMIDoc>(
            "MI", u"MIDOCEX", false,
            {TextField(u"FirstInsp", &IOrvMIDoc::get_FirstInspection, &IOrvMIDoc::put_FirstInspection),
             TextField(u"NumFLG", &IOrvMIDoc::get_NumberFLG, &IOrvMIDoc::put_NumberFLG),
             TextField(u"SGEdu", &IOrvMIDoc::get_SanGigienEdu, &IOrvMIDoc::put_SanGigienEdu)}),
        MakeKind<orv::OrvMDDoc, IOrvMDDoc>(
            "MD", u"MDDOCEX", true,
            {TextField(u"SNUM", &IOrvMDDoc::get_SprNumber, &IOrvMDDoc::put_SprNumber),
             TextField(u"SSROK", &IOrvMDDoc::get_SprSrok, &IOrvMDDoc::put_SprSrok),
             DateField(u"SID", &IOrvMDDoc::get_SprIssueDate, &IOrvMDDoc::put_SprIssueDate)}),
        MakeKind<orv::OrvTVDoc, IOrvTVDoc>(
            "TV", u"TVEXT", false,
            {TextField(u"NR", &IOrvTVDoc::get_NormGrafic, &IOrvTVDoc::put_NormGrafic),
             TextField(u"FT", &IOrvTVDoc::get_FactGrafic, &IOrvTVDoc::put_FactGrafic)}),
        WithChildren(u"<SFPR/>", MakeKind<orv::OrvJBDoc, IOrvJBDoc>(
            "JB", u"JBDOCEX", false,
            {TextField(u"NM", &IOrvJBDoc::get_Name, &IOrvJBDoc::put_Name),
             TextField(u"POSI", &IOrvJBDoc::get_Position, &IOrvJBDoc::put_Position),
             TextField(u"KURS", &IOrvJBDoc::get_Kurs, &IOrvJBDoc::put_Kurs),
             TextField(u"SFB", &IOrvJBDoc::get_StagFullBefore, &IOrvJBDoc::put_StagFullBefore),
             TextField(u"SCB", &IOrvJBDoc::get_StagContBefore, &IOrvJBDoc::put_StagContBefore),
             TextField(u"LS", &IOrvJBDoc::get_LgStag, &IOrvJBDoc::put_LgStag),
             TextField(u"MCS", &IOrvJBDoc::get_MaxContStag, &IOrvJBDoc::put_MaxContStag)})),
        MakeKind<orv::OrvMYDoc, IOrvMYDoc>(
            "MY", u"MYDOCEX", false,
            {TextField(u"VK", &IOrvMYDoc::get_MilitaryOffice, &IOrvMYDoc::put_MilitaryOffice),
             TextField(u"SA", &IOrvMYDoc::get_MilitaryRank, &IOrvMYDoc::put_MilitaryRank),
             TextField(u"CA", &IOrvMYDoc::get_ReserveCategory, &IOrvMYDoc::put_ReserveCategory),
             TextField(u"AC", &IOrvMYDoc::get_SpecialtyCode, &IOrvMYDoc::put_SpecialtyCode),
             TextField(u"ACNAM", &IOrvMYDoc::get_SpecialtyName, &IOrvMYDoc::put_SpecialtyName),
             TextField(u"CN", &IOrvMYDoc::get_FitnessCategory, &IOrvMYDoc::put_FitnessCategory),
             TextField(u"TCKNUM", &IOrvMYDoc::get_TicketNumber, &IOrvMYDoc::put_TicketNumber),
             DateField(u"TCKDAT", &IOrvMYDoc::get_TicketDate, &IOrvMYDoc::put_TicketDate),
             TextField(u"GRP", &IOrvMYDoc::get_RegistrationGroup, &IOrvMYDoc::put_RegistrationGroup),
             TextField(u"OTM", &IOrvMYDoc::get_RegistrationMark, &IOrvMYDoc::put_RegistrationMark),
             DateField(u"SRVST", &IOrvMYDoc::get_ServiceStart, &IOrvMYDoc::put_ServiceStart),
             DateField(u"SRVEND", &IOrvMYDoc::get_ServiceEnd, &IOrvMYDoc::put_ServiceEnd)}),
    };
    return kinds;
}

orv::ComPtr<IUnknown> Create(const Kind& kind, IOrvDocument* doc) {
    orv::ComPtr<IUnknown> object;
    EXPECT_EQ(kind.create(doc, object.GetAddressOf()), S_OK) << kind.name;
    return object;
}

// A value per field, each different from the others: texts with Cyrillic
// letters and the characters XML escapes, dates with a time of day.
Value Sample(std::size_t i) {
    return {u"Значение \"" + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u"\" <&> 'ё'",
            45000.75 + static_cast<double>(i)};
}

void PutAll(const Kind& kind, IUnknown* object, const std::function<Value(std::size_t)>& value) {
    for (std::size_t i = 0; i < kind.fields.size(); ++i)
        ASSERT_EQ(kind.fields[i].put(object, value(i)), S_OK) << kind.name << " " << Utf8(kind.fields[i].attribute);
}

// Every field against expected(i).
void ExpectAll(const Kind& kind, IUnknown* object, const std::function<Value(std::size_t)>& expected) {
    for (std::size_t i = 0; i < kind.fields.size(); ++i) {
        const Field& f = kind.fields[i];
        Value got;
        ASSERT_EQ(f.get(object, &got), S_OK) << kind.name << " " << Utf8(f.attribute);
        if (f.isDate)
            EXPECT_EQ(got.date, expected(i).date) << kind.name << " " << Utf8(f.attribute);
        else
            EXPECT_EQ(Utf8(got.text), Utf8(expected(i).text)) << kind.name << " " << Utf8(f.attribute);
    }
}

Value Empty(std::size_t) { return {}; }

// The flag, or true for a kind without the property (nothing to check).
bool Initialized(const Kind& kind, IUnknown* object) {
    if (!kind.initialized) return true;
    VARIANT_BOOL flag = 1;  // neither true nor false
    EXPECT_EQ(kind.initialized(object, &flag), S_OK);
    EXPECT_TRUE(flag == VARIANT_TRUE || flag == VARIANT_FALSE) << flag;
    return flag == VARIANT_TRUE;
}

TEST(AttributeKinds, WrittenFieldsComeBackInAFreshObjectOnADocumentOfAnyType) {
    for (const Kind& kind : Kinds()) {
        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument(1);  // a salary-grade document
        orv::ComPtr<IUnknown> writer = Create(kind, doc.Get());
        PutAll(kind, writer.Get(), Sample);
        ASSERT_EQ(kind.update(writer.Get()), S_OK) << kind.name;
        const std::u16string written = Body(doc.Get());
        EXPECT_EQ(kinds_test::BodyLength(doc.Get()), static_cast<LONG>(written.size() * 2)) << kind.name;

        orv::ComPtr<IUnknown> reader = Create(kind, doc.Get());
        if (kind.initialized) {
            EXPECT_FALSE(Initialized(kind, reader.Get())) << kind.name;
        }
        ASSERT_EQ(kind.init(reader.Get()), S_OK) << kind.name;
        EXPECT_TRUE(Initialized(kind, reader.Get())) << kind.name;
        ExpectAll(kind, reader.Get(), Sample);
        // Written again unchanged, the body is the same text.
        ASSERT_EQ(kind.update(reader.Get()), S_OK);
        EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(written)) << kind.name;

        // Puts stay in the object until written; reading again restores the body's values.
        PutAll(kind, reader.Get(), [](std::size_t) { return Value{u"changed", 1.5}; });
        EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(written)) << kind.name;
        ASSERT_EQ(kind.init(reader.Get()), S_OK);
        ExpectAll(kind, reader.Get(), Sample);
        for (const Field& f : kind.fields) EXPECT_EQ(f.get(reader.Get(), nullptr), E_POINTER) << kind.name;
    }
}

TEST(AttributeKinds, EachFieldIsKeptInItsOwnAttributeInTableOrder) {
    for (const Kind& kind : Kinds()) {
        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
        orv::ComPtr<IUnknown> object = Create(kind, doc.Get());
        // Plain values, so that the whole root can be spelled out.
        auto plain = [](std::size_t i) { return Value{u"т" + std::u16string(1, static_cast<char16_t>(u'0' + i)), 45000.75 + static_cast<double>(i)}; };
        PutAll(kind, object.Get(), plain);
        ASSERT_EQ(kind.update(object.Get()), S_OK);
        std::u16string expected = u"<" + std::u16string(kind.root);
        for (std::size_t i = 0; i < kind.fields.size(); ++i) {
            // A date is written as a double, its time of day kept.
            const std::u16string value = kind.fields[i].isDate ? orv::Utf8ToUtf16(std::to_string(45000 + i) + ".75")
                                                               : plain(i).text;
            expected += u" " + std::u16string(kind.fields[i].attribute) + u"=\"" + value + u"\"";
        }
        expected += kind.children.empty() ? u"/>" : u">" + kind.children + u"</" + std::u16string(kind.root) + u">";
        EXPECT_EQ(Utf8(kinds_test::RootXml(doc.Get(), kind.root)), Utf8(expected)) << kind.name;
    }
}

TEST(AttributeKinds, EmptyFieldsAreOmittedOnlyWhereTheKindSaysSo) {
    for (const Kind& kind : Kinds()) {
        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
        orv::ComPtr<IUnknown> object = Create(kind, doc.Get());
        // Only the last field set: the others are empty or 0.0.
        const std::size_t last = kind.fields.size() - 1;
        ASSERT_EQ(kind.fields[last].put(object.Get(), Sample(last)), S_OK);
        ASSERT_EQ(kind.update(object.Get()), S_OK);
        orv::ComPtr<IXMLDOMElement> root = kinds_test::BodyRoot(doc.Get(), kind.root);
        ASSERT_TRUE(root) << kind.name;
        for (std::size_t i = 0; i < last; ++i) {
            std::optional<std::u16string> text = kinds_test::Attr(root.Get(), kind.fields[i].attribute);
            if (kind.omitsEmpty)
                EXPECT_FALSE(text) << kind.name << " " << Utf8(kind.fields[i].attribute);
            else
                EXPECT_EQ(Utf8(text.value_or(u"absent")), kind.fields[i].isDate ? "0" : "") << kind.name;
        }
        // Read back over other values, the omitted fields are empty again.
        orv::ComPtr<IUnknown> reader = Create(kind, doc.Get());
        PutAll(kind, reader.Get(), Sample);
        ASSERT_EQ(kind.init(reader.Get()), S_OK);
        ExpectAll(kind, reader.Get(), [&](std::size_t i) { return i == last ? Sample(i) : Value{}; });
    }
}

TEST(AttributeKinds, HandWrittenBodiesAreReadInAnyOrderWithMissingAttributesAsEmpty) {
    // Dates in the forms a person may type.
    const std::pair<std::u16string, double> dates[] = {
        {u"45 000,5", 45000.5}, {u"4.5001e4", 45001.0}, {u"-45000.25", -45000.25}};
    for (const Kind& kind : Kinds()) {
        // Attributes in reverse order, the first field missing, an unknown child.
        std::u16string body = u"<?xml version=\"1.0\"?>\r\n<" + std::u16string(kind.root);
        std::vector<Value> expected(kind.fields.size());
        std::size_t dateCount = 0;
        for (std::size_t i = kind.fields.size(); i-- > 1;) {
            std::u16string text = u"текст " + std::u16string(1, static_cast<char16_t>(u'a' + i));
            if (kind.fields[i].isDate) {
                std::tie(text, expected[i].date) = dates[dateCount++ % 3];
            } else {
                expected[i].text = text;
            }
            body += u" " + std::u16string(kind.fields[i].attribute) + u"='" + text + u"'";
        }
        body += u"><UNKNOWN A=\"1\"/></" + std::u16string(kind.root) + u">";

        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
        SetBody(doc.Get(), body);
        orv::ComPtr<IUnknown> object = Create(kind, doc.Get());
        PutAll(kind, object.Get(), Sample);  // overwritten by what the body says
        ASSERT_EQ(kind.init(object.Get()), S_OK) << kind.name;
        ExpectAll(kind, object.Get(), [&](std::size_t i) { return expected[i]; });
    }
}

TEST(AttributeKinds, WithoutTheRootOrWithoutAnExtensionTheFieldsStayAsTheyWere) {
    const std::u16string bodies[] = {u"", u"<OTHERDOCEX RCP='x' NM='y'/>", u"<ZZDOCEX RCP='unclosed'>", u"not xml"};
    for (const Kind& kind : Kinds()) {
        for (const std::u16string& body : bodies) {
            orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
            SetBody(doc.Get(), body);
            orv::ComPtr<IUnknown> fresh = Create(kind, doc.Get());
            ASSERT_EQ(kind.init(fresh.Get()), S_OK) << kind.name << " " << Utf8(body);
            EXPECT_TRUE(Initialized(kind, fresh.Get())) << kind.name;
            ExpectAll(kind, fresh.Get(), Empty);

            orv::ComPtr<IUnknown> changed = Create(kind, doc.Get());
            PutAll(kind, changed.Get(), Sample);
            ASSERT_EQ(kind.init(changed.Get()), S_OK);
            ExpectAll(kind, changed.Get(), Sample);
            EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(body)) << "reading writes nothing";
        }
        // A document without an extension: nothing to read or write, no failure.
        orv::ComPtr<IOrvDocument> bare = kinds_test::NewDocumentWithoutExtension();
        orv::ComPtr<IUnknown> object = Create(kind, bare.Get());
        PutAll(kind, object.Get(), Sample);
        EXPECT_EQ(kind.update(object.Get()), S_OK) << kind.name;
        EXPECT_EQ(kind.init(object.Get()), S_OK) << kind.name;
        EXPECT_TRUE(Initialized(kind, object.Get())) << kind.name;
        ExpectAll(kind, object.Get(), Sample);
    }
}

}  // namespace
