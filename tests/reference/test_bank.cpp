// The bank record: its display name, its XML form both ways against texts
// written here by hand, cloning, and bad input that changes nothing.
#include "fake_lists.h"

#include "reference/OrvBank.h"

#include <gtest/gtest.h>

namespace {

using namespace reftest;

template <class F>
std::u16string Str(F get) {
    BSTR t = nullptr;
    EXPECT_EQ(get(&t), S_OK);
    std::u16string s = t ? std::u16string(t, SysStringLen(t)) : std::u16string();
    SysFreeString(t);
    return s;
}

const char16_t* kEmptyBank =
    u"<ORVBANK CLSID=\"{EA91A066-14F0-11D4-B911-0000C0A3E6F3}\" BIK=\"\" BCMT=\"\" NVSCODE=\"\" CORRACCOUNT=\"\" "
    u"CORRSUBACCOUNT=\"\" INN=\"\" NAME=\"\" OFFICENAME=\"\" KEYVAL=\"0\"><ORVACCLIST/><ORVADDRLIST/></ORVBANK>";

const char16_t* kFullBank =
    u"<ORVBANK CLSID=\"{EA91A066-14F0-11D4-B911-0000C0A3E6F3}\" BIK=\"044525225\" BCMT=\"основной\" "
    u"NVSCODE=\"N7\" CORRACCOUNT=\"30101810400000000225\" CORRSUBACCOUNT=\"12\" INN=\"7707083893\" "
    u"NAME=\"Сбербанк\" OFFICENAME=\"Тверское\" KEYVAL=\"17\" EXPFF=\"3\">"
    u"<ORVACCLIST><E V=\"40817\"/><E V=\"40820\"/></ORVACCLIST><ORVADDRLIST><E V=\"Москва, Вавилова 19\"/></ORVADDRLIST>"
    u"</ORVBANK>";

class Bank : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostClass(CLSID_OrvAccountList, &CreateFakeTextList, &registration_), S_OK);
        ASSERT_EQ(orv::host::RegisterHostClass(CLSID_OrvAddressList, &CreateFakeTextList, &registration_), S_OK);
        bank_ = NewBank();
    }
    void TearDown() override { registration_.Revoke(); }
    static ComPtr<IOrvBank> NewBank() {
        ComPtr<IOrvBank> bank;
        EXPECT_EQ(orv::CreateObject<orv::OrvBank>(&bank), S_OK);
        return bank;
    }
    static ComPtr<IOrvObjAsXmlString> Form(IOrvBank* bank) {
        ComPtr<IOrvObjAsXmlString> form;
        EXPECT_EQ(bank->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())), S_OK);
        return form;
    }
    static std::u16string Full(IOrvBank* bank) {
        return Str([&](BSTR* p) { return Form(bank)->get_FullString(p); });
    }
    static std::vector<std::u16string> Accounts(IOrvBank* bank) {
        ComPtr<IUnknown> list;
        EXPECT_EQ(bank->get_AccountList(list.GetAddressOf()), S_OK);
        return FakeTextList::Of(list.Get());
    }

    orv::host::Registration registration_;
    ComPtr<IOrvBank> bank_;
};

TEST_F(Bank, DisplayNameJoinsCommentOrOfficeWithTheName) {
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_DisplayName(p); }), u"");
    ASSERT_EQ(bank_->put_BankName(Bstr(u"Сбербанк")), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_DisplayName(p); }), u"Сбербанк");
    ASSERT_EQ(bank_->put_BankOfficeName(Bstr(u"Тверское")), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_DisplayName(p); }), u"Сбербанк Ф-л:Тверское");
    ASSERT_EQ(bank_->put_BankComment(Bstr(u"основной")), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_DisplayName(p); }), u"основной : Сбербанк");
    ASSERT_EQ(bank_->put_BankName(nullptr), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_DisplayName(p); }), u"основной : ");
    EXPECT_EQ(bank_->get_DisplayName(nullptr), E_POINTER);
}

TEST_F(Bank, ANewBankWritesEmptyFieldsAndBothLists) {
    EXPECT_EQ(Full(bank_.Get()), kEmptyBank);
    ASSERT_EQ(Form(bank_.Get())->put_FullString(Bstr(kEmptyBank)), S_OK);
    EXPECT_EQ(Full(bank_.Get()), kEmptyBank);
}

TEST_F(Bank, EveryFieldIsWrittenInItsAttributeAndReadBack) {
    ASSERT_EQ(bank_->put_BankBIK(Bstr(u"044525225")), S_OK);
    ASSERT_EQ(bank_->put_BankComment(Bstr(u"основной")), S_OK);
    ASSERT_EQ(bank_->put_BankNvsCode(Bstr(u"N7")), S_OK);
    ASSERT_EQ(bank_->put_BankCorrAccount(Bstr(u"30101810400000000225")), S_OK);
    ASSERT_EQ(bank_->put_BankCorrSubAccount(Bstr(u"12")), S_OK);
    ASSERT_EQ(bank_->put_Inn(Bstr(u"7707083893")), S_OK);
    ASSERT_EQ(bank_->put_BankName(Bstr(u"Сбербанк")), S_OK);
    ASSERT_EQ(bank_->put_BankOfficeName(Bstr(u"Тверское")), S_OK);
    ASSERT_EQ(bank_->put_KeyVal(17), S_OK);
    ASSERT_EQ(bank_->put_ExportFileFormat(3), S_OK);
    ASSERT_EQ(bank_->put_AccountList(FakeTextList::Make({u"40817", u"40820"}).Get()), S_OK);
    ASSERT_EQ(bank_->put_AddressList(FakeTextList::Make({u"Москва, Вавилова 19"}).Get()), S_OK);
    EXPECT_EQ(Full(bank_.Get()), kFullBank);

    ComPtr<IOrvBank> read = NewBank();
    ASSERT_EQ(Form(read.Get())->put_FullString(Bstr(kFullBank)), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return read->get_BankCorrAccount(p); }), u"30101810400000000225");
    EXPECT_EQ(Str([&](BSTR* p) { return read->get_BankNvsCode(p); }), u"N7");
    LONG v = 0;
    ASSERT_EQ(read->get_KeyVal(&v), S_OK);
    EXPECT_EQ(v, 17);
    ASSERT_EQ(read->get_ExportFileFormat(&v), S_OK);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(Accounts(read.Get()), (std::vector<std::u16string>{u"40817", u"40820"}));
    EXPECT_EQ(Full(read.Get()), kFullBank);
}

TEST_F(Bank, ReadingTakesMissingAttributesAsEmptyAndNumbersByTheLenientRule) {
    ASSERT_EQ(bank_->put_BankName(Bstr(u"старое")), S_OK);
    ASSERT_EQ(bank_->put_AccountList(FakeTextList::Make({u"old"}).Get()), S_OK);
    ASSERT_EQ(Form(bank_.Get())->put_FullString(Bstr(u"<X><ORVBANK KEYVAL=\"1 234\" EXPFF=\"-2\"/></X>")), E_INVALIDARG);
    ASSERT_EQ(Form(bank_.Get())->put_FullString(Bstr(u"<ORVBANK KEYVAL=\"1 234\" EXPFF=\"-2\"/>")), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_BankName(p); }), u"");
    LONG v = 0;
    ASSERT_EQ(bank_->get_KeyVal(&v), S_OK);
    EXPECT_EQ(v, 1234);
    ASSERT_EQ(bank_->get_ExportFileFormat(&v), S_OK);
    EXPECT_EQ(v, -2);
    EXPECT_TRUE(Accounts(bank_.Get()).empty());  // a new, empty list replaced the old one
}

TEST_F(Bank, BadInputIsRefusedAndLeavesTheBankAsItWas) {
    ASSERT_EQ(Form(bank_.Get())->put_FullString(Bstr(kFullBank)), S_OK);
    for (const char16_t* bad : {u"", u"<ORVBANK", u"<OTHER/>", u"not xml"})
        EXPECT_EQ(Form(bank_.Get())->put_FullString(Bstr(bad)), E_INVALIDARG) << orv::Utf16ToUtf8(bad);
    EXPECT_EQ(Form(bank_.Get())->put_FullString(nullptr), E_INVALIDARG);
    EXPECT_EQ(Full(bank_.Get()), kFullBank);
    EXPECT_EQ(Form(bank_.Get())->ParseIn(nullptr, 0), E_POINTER);
    EXPECT_EQ(Form(bank_.Get())->ParseFrom(nullptr, 0), E_POINTER);
    EXPECT_EQ(Form(bank_.Get())->ParseFrom(bank_.Get(), 0), E_NOINTERFACE);
    BSTR t = nullptr;
    EXPECT_EQ(Form(bank_.Get())->get_ShortString(&t), E_NOTIMPL);
    EXPECT_EQ(Form(bank_.Get())->get_ShortString(nullptr), E_POINTER);

    // Without the list component the read fails whole: nothing is taken.
    registration_.Revoke();
    EXPECT_EQ(Form(bank_.Get())->put_FullString(Bstr(kEmptyBank)), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(Full(bank_.Get()), kFullBank);
}

TEST_F(Bank, ExportFormatIsHeldInSixteenBits) {
    LONG v = 0;
    ASSERT_EQ(bank_->put_ExportFileFormat(0x12345), S_OK);
    ASSERT_EQ(bank_->get_ExportFileFormat(&v), S_OK);
    EXPECT_EQ(v, 0x2345);
    ASSERT_EQ(bank_->put_ExportFileFormat(0xFFFF), S_OK);
    ASSERT_EQ(bank_->get_ExportFileFormat(&v), S_OK);
    EXPECT_EQ(v, -1);
    ASSERT_EQ(bank_->put_ExportFileFormat(0x10000), S_OK);  // 0 in 16 bits: no "EXPFF"
    EXPECT_EQ(Full(bank_.Get()), kEmptyBank);
}

TEST_F(Bank, ACloneIsIndependentWithListsOfItsOwn) {
    ASSERT_EQ(Form(bank_.Get())->put_FullString(Bstr(kFullBank)), S_OK);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(bank_->Clone(unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvBank> clone;
    ASSERT_EQ(unknown.As(&clone), S_OK);
    EXPECT_EQ(Full(clone.Get()), kFullBank);

    ASSERT_EQ(clone->put_BankName(Bstr(u"ВТБ")), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bank_->get_BankName(p); }), u"Сбербанк");
    ComPtr<IUnknown> mine, theirs;
    ASSERT_EQ(bank_->get_AccountList(mine.GetAddressOf()), S_OK);
    ASSERT_EQ(clone->get_AccountList(theirs.GetAddressOf()), S_OK);
    EXPECT_NE(mine.Get(), theirs.Get());
    EXPECT_EQ(FakeTextList::Of(theirs.Get()), FakeTextList::Of(mine.Get()));
    EXPECT_EQ(bank_->Clone(nullptr), E_POINTER);
}

TEST_F(Bank, ListsAreHeldAsGivenAndABankWithoutListsWritesNone) {
    ComPtr<IUnknown> list = FakeTextList::Make({u"a"});
    ASSERT_EQ(bank_->put_AccountList(list.Get()), S_OK);
    ComPtr<IUnknown> got;
    ASSERT_EQ(bank_->get_AccountList(got.GetAddressOf()), S_OK);
    EXPECT_EQ(got.Get(), list.Get());
    ASSERT_EQ(bank_->put_AccountList(nullptr), S_OK);
    ASSERT_EQ(bank_->put_AddressList(nullptr), S_OK);
    EXPECT_EQ(Full(bank_.Get()),
              u"<ORVBANK CLSID=\"{EA91A066-14F0-11D4-B911-0000C0A3E6F3}\" BIK=\"\" BCMT=\"\" NVSCODE=\"\" CORRACCOUNT=\"\" "
              u"CORRSUBACCOUNT=\"\" INN=\"\" NAME=\"\" OFFICENAME=\"\" KEYVAL=\"0\"/>");
}

}  // namespace
