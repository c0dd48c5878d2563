// The instance list: finding entries by number, code and name, the largest
// number, storing through the reference source, the piped texts for selection
// controls, and the XML form written and read back with each entry recreated
// from its class identifier.
#include "lists/lists_test_util.h"

namespace liststest {
namespace {

std::u16string RefItemClass() {
    OLECHAR text[64];
    StringFromGUID2(CLSID_OrvRefItem, text, 64);
    return text;
}

ComPtr<IOrvRefItem> Item(LONG number, std::u16string_view code, std::u16string_view name, SHORT flag = 0) {
    ComPtr<IOrvRefItem> item;
    EXPECT_EQ(orv::CreateObject<orv::host::OrvRefItem>(&item), S_OK);
    item->put_Index(number);
    item->put_Code(Bstr(code));
    item->put_Name(Bstr(name));
    item->put_Flag2(flag);
    item->put_ClassId(Bstr(RefItemClass()));
    return item;
}

LONG NumberOf(IUnknown* p) {
    ComPtr<IOrvRefItem> item;
    if (!p || FAILED(p->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.ReleaseAndGetAddressOf())))) return -1;
    LONG n = -1;
    item->get_Index(&n);
    return n;
}

class InstanceList : public ::testing::Test {
protected:
    ListsEnvironment env;
    ComPtr<IOrvInstanceList> list;

    void SetUp() override { ASSERT_EQ(orv::CreateObject<orv::OrvInstanceList>(&list), S_OK); }
    void Fill() {
        for (auto& item : {Item(3, u"AB", u"Сбербанк"), Item(7, u"10", u"альфа", 1), Item(5, u"02", u"Альфа"),
                           Item(9, u"02", u"Бета")})
            ASSERT_EQ(list->AddItem(item.Get()), S_OK);
    }
    LONG Found(HRESULT hr, IUnknown* p) { return hr == S_OK ? NumberOf(p) : (hr == S_FALSE && !p ? 0 : -100); }
    LONG ByName(const char16_t* name) {
        ComPtr<IUnknown> p;
        Bstr text = name ? Bstr(name) : Bstr();
        HRESULT hr = list->FindItem(text, p.ReleaseAndGetAddressOf());
        return Found(hr, p.Get());
    }
    LONG ByCode(const char16_t* code) {
        ComPtr<IUnknown> p;
        Bstr text(code);
        HRESULT hr = list->FindByCode(text, p.ReleaseAndGetAddressOf());
        return Found(hr, p.Get());
    }
    LONG ByBoth(const char16_t* name, const char16_t* code) {
        ComPtr<IUnknown> p;
        Bstr n(name), c(code);
        HRESULT hr = list->FindByCodeAndName(n, c, p.ReleaseAndGetAddressOf());
        return Found(hr, p.Get());
    }
    LONG ByNumber(LONG number) {
        ComPtr<IUnknown> p;
        HRESULT hr = list->get_Item(number, p.ReleaseAndGetAddressOf());
        return Found(hr, p.Get());
    }
    std::u16string Piped(LONG param) {
        Bstr text;
        EXPECT_EQ(list->GetPipedString(param, text.ReleaseAndGetAddressOf()), S_OK);
        return std::u16string(text.View());
    }
    std::u16string Full() {
        ComPtr<IOrvObjAsXmlString> xml;
        EXPECT_EQ(list.As(&xml), S_OK);
        Bstr text;
        EXPECT_EQ(xml->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
        return std::u16string(text.View());
    }
    HRESULT PutFull(ComPtr<IOrvInstanceList> target, std::u16string_view text) {
        ComPtr<IOrvObjAsXmlString> xml;
        EXPECT_EQ(target.As(&xml), S_OK);
        return xml->put_FullString(Bstr(text));
    }
};

TEST_F(InstanceList, WalksAndFindsByNumber) {
    LONG max = -1;
    EXPECT_EQ(list->GetMaxIndex(&max), S_OK);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(ByNumber(3), 0);
    Fill();
    std::vector<LONG> order;
    for (;;) {
        ComPtr<IUnknown> p;
        if (list->Next(p.ReleaseAndGetAddressOf()) != S_OK) break;
        order.push_back(NumberOf(p.Get()));
    }
    EXPECT_EQ(order, (std::vector<LONG>{3, 7, 5, 9}));
    ComPtr<IDispatch> disp;
    EXPECT_EQ(list->Next2(disp.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(disp.Get(), nullptr);
    ASSERT_EQ(list->Reset(), S_OK);
    ASSERT_EQ(list->Next2(disp.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(NumberOf(disp.Get()), 3);

    EXPECT_EQ(ByNumber(5), 5);
    EXPECT_EQ(ByNumber(4), 0);
    EXPECT_EQ(list->GetMaxIndex(&max), S_OK);
    EXPECT_EQ(max, 9);
    // A later entry with the same number takes the number over.
    ComPtr<IOrvRefItem> again = Item(5, u"X", u"Повтор");
    list->AddItem(again.Get());
    ComPtr<IUnknown> p;
    ASSERT_EQ(list->get_Item(5, p.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(p.Get(), Identity(again.Get()).Get());
    EXPECT_EQ(list->AddItem(nullptr), E_POINTER);
    EXPECT_EQ(list->Next(nullptr), E_POINTER);
    EXPECT_EQ(list->GetMaxIndex(nullptr), E_POINTER);
    EXPECT_EQ(list->get_Item(1, nullptr), E_POINTER);
}

TEST_F(InstanceList, FindsByCodeAndNameWithoutRegardToCase) {
    Fill();
    EXPECT_EQ(ByCode(u"ab"), 3);
    EXPECT_EQ(ByCode(u"AB"), 3);
    EXPECT_EQ(ByCode(u"02"), 5) << "the first entry with the code";
    EXPECT_EQ(ByCode(u"10"), 7) << "a code search does not pass over flagged entries";
    EXPECT_EQ(ByCode(u"A"), 0);
    EXPECT_EQ(ByName(u"СБЕРБАНК"), 3);
    EXPECT_EQ(ByName(u"АЛЬФА"), 5) << "the flagged entry of the same name is passed over";
    EXPECT_EQ(ByName(u"бета"), 9);
    EXPECT_EQ(ByName(nullptr), 0);
    EXPECT_EQ(ByBoth(u"альфа", u"02"), 5);
    EXPECT_EQ(ByBoth(u"бета", u"02"), 9);
    EXPECT_EQ(ByBoth(u"бета", u"10"), 0);
    // The given text is taken to 512 characters.
    std::u16string longName(600, u'я');
    list->AddItem(Item(11, u"L", std::u16string(512, u'Я')).Get());
    EXPECT_EQ(ByName(longName.c_str()), 11);
    ComPtr<IDispatch> disp;
    ASSERT_EQ(list->FindByCode2(Bstr(u"l"), disp.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(NumberOf(disp.Get()), 11);
    EXPECT_EQ(list->FindByCode2(Bstr(u"none"), disp.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(list->FindItem(nullptr, nullptr), E_POINTER);
}

TEST_F(InstanceList, PipedTextsForSelectionControls) {
    EXPECT_EQ(Piped(0x1001), u"#0*1; \tБез источника");
    EXPECT_EQ(Piped(0), u"");
    Fill();
    EXPECT_EQ(Piped(0x1001), u"#0*1; \tБез источника|#2;02\tАльфа|#2;02\tБета|#0;AB\tСбербанк");
    EXPECT_EQ(Piped(1), u"#0*1; \tБез источника|#2;02\tАльфа|#2;02\tБета|#0;AB\tСбербанк|#10;10\tальфа");
    EXPECT_EQ(Piped(0), u"02\tАльфа|02\tБета|AB\tСбербанк|10\tальфа");
    EXPECT_EQ(Piped(0x1000), u"02\tАльфа|02\tБета|AB\tСбербанк");
    EXPECT_EQ(Piped(2), Piped(0));
    EXPECT_EQ(list->GetPipedString(0, nullptr), E_POINTER);
}

TEST_F(InstanceList, StoresNewEntriesThroughTheReferenceSource) {
    ComPtr<IUnknown> sourceUnknown;
    FakeReferenceSource* source = nullptr;
    ASSERT_EQ(orv::CreateObjectWithAccess<FakeReferenceSource>(&sourceUnknown, &source), S_OK);
    ASSERT_EQ(list->put_ListID(12), S_OK);
    LONG index = -1;
    ASSERT_EQ(list->StoreEntry(sourceUnknown.Get(), Bstr(u"Новый"), Bstr(u"N1"), &index), S_OK);
    EXPECT_EQ(index, 100);
    ASSERT_EQ(list->StoreEntryPiped(4, sourceUnknown.Get(), Bstr(u"Второй"), Bstr(u"N2"), &index), S_OK);
    EXPECT_EQ(index, 101);
    ASSERT_EQ(source->calls.size(), 2u);
    EXPECT_FALSE(source->calls[0].piped);
    EXPECT_EQ(source->calls[0].list, 12);
    EXPECT_EQ(source->calls[0].name, u"Новый");
    EXPECT_EQ(source->calls[0].code, u"N1");
    EXPECT_TRUE(source->calls[1].piped);
    EXPECT_EQ(source->calls[1].pipe, 4);
    EXPECT_EQ(ByCode(u"n2"), 101) << "the new entry is in the list";

    source->giveNothing = true;
    ASSERT_EQ(list->StoreEntryPiped(0, sourceUnknown.Get(), Bstr(u"x"), Bstr(u"y"), &index), S_OK);
    EXPECT_EQ(index, 0);
    source->failWith = E_ACCESSDENIED;
    EXPECT_EQ(list->StoreEntry(sourceUnknown.Get(), Bstr(u"x"), Bstr(u"y"), &index), E_ACCESSDENIED);
    EXPECT_EQ(list->StoreEntry(nullptr, Bstr(u"x"), Bstr(u"y"), &index), E_POINTER);
    EXPECT_EQ(list->StoreEntry(sourceUnknown.Get(), Bstr(u"x"), Bstr(u"y"), nullptr), E_POINTER);
    ComPtr<IOrvDocument> notASource = MakeDoc({});
    EXPECT_EQ(list->StoreEntry(notASource.Get(), Bstr(u"x"), Bstr(u"y"), &index), E_NOINTERFACE);
    LONG max = 0;
    list->GetMaxIndex(&max);
    EXPECT_EQ(max, 101);
}

TEST_F(InstanceList, TheXmlFormReadBackEqualsTheListWritten) {
    Fill();
    list->put_ListID(42);
    const std::u16string written = Full();
    EXPECT_NE(written.find(u"<CLSID>{76576C4A-CBEF-11D3-B8FB-0000C0A3E6F3}</CLSID><LISTID>42</LISTID>"),
              std::u16string::npos);
    ComPtr<IOrvInstanceList> copy;
    ASSERT_EQ(orv::CreateObject<orv::OrvInstanceList>(&copy), S_OK);
    ASSERT_EQ(PutFull(copy, written), S_OK);
    LONG id = 0;
    copy->get_ListID(&id);
    EXPECT_EQ(id, 42);
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(copy.As(&xml), S_OK);
    Bstr again;
    ASSERT_EQ(xml->get_FullString(again.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(again.View(), written);
    ComPtr<IUnknown> p;
    ASSERT_EQ(copy->get_Item(7, p.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvRefItem> item;
    ASSERT_EQ(p.As(&item), S_OK);
    SHORT flag = 0;
    item->get_Flag2(&flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(xml->get_ShortString(nullptr), E_NOTIMPL);
}

TEST_F(InstanceList, AnEntryOfAnUnknownClassIsPassedOverWithAMessage) {
    const std::u16string text =
        u"<ORVINSTLIST><LISTID>5</LISTID>"
        u"<ORVINSTITEM><CLSID>{00000000-1111-2222-3333-444444444444}</CLSID></ORVINSTITEM>"
        u"<ORVINSTITEM CLSID=\"" + RefItemClass() + u"\" INDEX=\"8\" CODE=\"K\" NAME=\"Восемь\"/>"
        u"<ORVINSTITEM><CLSID>not a class</CLSID></ORVINSTITEM>"
        u"<ORVINSTITEM><CLSID>" + RefItemClass() + u"</CLSID></ORVINSTITEM>"
        u"</ORVINSTLIST>";
    EXPECT_EQ(PutFull(list, text), S_OK);
    EXPECT_EQ(ByNumber(8), 8);
    LONG count = 0;
    list->Reset();
    for (ComPtr<IUnknown> p; list->Next(p.ReleaseAndGetAddressOf()) == S_OK;) ++count;
    EXPECT_EQ(count, 2);
    const auto messages = env.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"Класс {00000000-1111-2222-3333-444444444444} не зарегистрирован");
    EXPECT_EQ(messages[1], u"Класс not a class не зарегистрирован");
    doctest::ErrorReport report = TakeErrorInfo();
    ASSERT_TRUE(report.present);
    EXPECT_EQ(report.description, messages[1]);
}

TEST_F(InstanceList, MalformedTextsLeaveTheListAsItWas) {
    Fill();
    list->put_ListID(3);
    const std::u16string before = Full();
    EXPECT_EQ(PutFull(list, u"<ORVINSTLIST><LISTID>9</LISTID>"), E_POINTER);
    EXPECT_EQ(PutFull(list, u"<OTHER/>"), E_POINTER);
    for (std::size_t cut = 1; cut < before.size(); cut += 41) EXPECT_TRUE(FAILED(PutFull(list, before.substr(0, cut))));
    EXPECT_EQ(Full(), before);
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    EXPECT_EQ(xml->ParseFrom(nullptr, 0), E_POINTER);
    EXPECT_EQ(xml->ParseIn(nullptr, 0), E_POINTER);
    EXPECT_EQ(Full(), before);
}

}  // namespace
}  // namespace liststest
