// The outside specific document of type code 410 over a real generic
// document: the child's name, birth date and birth year live in the record,
// and the object keeps its document alive.
#include "host/OrvOutsideDoc.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

namespace {

using orv::Bstr;
using orv::ComPtr;

class OutsideDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DllRegisterServer(), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                                   reinterpret_cast<void**>(doc_.GetAddressOf())),
                  S_OK);
        ASSERT_EQ(doc_->put_lDcType(410), S_OK);
        ASSERT_EQ(orv::CreateObject<orv::host::OrvOutsideDoc>(&child_), S_OK);
    }
    ComPtr<IOrvDocument> doc_;
    ComPtr<IOrvOutsideDoc> child_;
};

TEST_F(OutsideDocTest, WithoutADocumentEveryPropertyIsRefused) {
    Bstr name;
    DATE date = 1;
    LONG year = 1;
    EXPECT_EQ(child_->get_Name(name.ReleaseAndGetAddressOf()), E_POINTER);
    EXPECT_EQ(child_->put_Name(Bstr(u"x")), E_POINTER);
    EXPECT_EQ(child_->get_BirthDate(&date), E_POINTER);
    EXPECT_EQ(date, 0.0);
    EXPECT_EQ(child_->put_BirthYear(2000), E_POINTER);
    EXPECT_EQ(child_->get_BirthYear(&year), E_POINTER);
    ComPtr<IUnknown> held;
    EXPECT_EQ(child_->get_OrvDocument(held.GetAddressOf()), S_FALSE);
    EXPECT_EQ(held.Get(), nullptr);
    EXPECT_EQ(child_->get_Name(nullptr), E_POINTER);
}

TEST_F(OutsideDocTest, TheChildsDataLivesInTheRecord) {
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(doc_.As(&unknown), S_OK);
    ASSERT_EQ(child_->put_OrvDocument(unknown.Get()), S_OK);

    ASSERT_EQ(child_->put_Name(Bstr(u"Иванова Мария")), S_OK);
    Bstr memo;
    ASSERT_EQ(doc_->get_Memo(memo.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(memo.View(), u"Иванова Мария");

    // 2015-06-01 is day number 19875 (automation date 42156).
    ASSERT_EQ(child_->put_BirthDate(42156.0), S_OK);
    LONG dat1 = 0;
    ASSERT_EQ(doc_->get_DcDat1(&dat1), S_OK);
    EXPECT_EQ(dat1, 19875);
    DATE date = 0;
    ASSERT_EQ(child_->get_BirthDate(&date), S_OK);
    EXPECT_EQ(date, 42156.0);

    // The year comes from the date until a year of its own is put.
    LONG year = 0;
    ASSERT_EQ(child_->get_BirthYear(&year), S_OK);
    EXPECT_EQ(year, 2015);
    ASSERT_EQ(child_->put_BirthYear(2016), S_OK);
    LONG stored = 0;
    ASSERT_EQ(doc_->get_dcLong(0, &stored), S_OK);
    EXPECT_EQ(stored, 2016);
    ASSERT_EQ(child_->get_BirthYear(&year), S_OK);
    EXPECT_EQ(year, 2016);
    // Before 1961 the day number is negative and still reads back.
    ASSERT_EQ(child_->put_BirthDate(20000.0), S_OK);  // 1954-10-03
    ASSERT_EQ(child_->put_BirthYear(0), S_OK);
    ASSERT_EQ(child_->get_BirthYear(&year), S_OK);
    EXPECT_EQ(year, 1954);
    ASSERT_EQ(child_->put_BirthDate(0.0), S_OK);
    ASSERT_EQ(child_->get_BirthYear(&year), S_OK);
    EXPECT_EQ(year, 0);
}

TEST_F(OutsideDocTest, TheDocumentIsKeptAndCanBeLetGo) {
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(doc_.As(&unknown), S_OK);
    ASSERT_EQ(child_->put_OrvDocument(unknown.Get()), S_OK);
    // Something that is not a document is refused; the document stays.
    ComPtr<IUnknown> other;
    ASSERT_EQ(child_.As(&other), S_OK);
    EXPECT_EQ(child_->put_OrvDocument(other.Get()), E_NOINTERFACE);
    ComPtr<IUnknown> held;
    ASSERT_EQ(child_->get_OrvDocument(held.GetAddressOf()), S_OK);
    EXPECT_EQ(held.Get(), unknown.Get());
    held.Reset();

    // The object alone keeps the document alive.
    ASSERT_EQ(doc_->put_Memo(Bstr(u"Петров")), S_OK);
    doc_.Reset();
    unknown.Reset();
    Bstr name;
    ASSERT_EQ(child_->get_Name(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"Петров");
    ASSERT_EQ(child_->put_OrvDocument(nullptr), S_OK);
    EXPECT_EQ(child_->get_Name(name.ReleaseAndGetAddressOf()), E_POINTER);
}

TEST_F(OutsideDocTest, TheGenericDocumentHandsItOutForType410) {
    orv::host::Registration reg;
    ASSERT_EQ(orv::host::RegisterHostComponents(&reg), S_OK);
    ASSERT_EQ(doc_->put_Memo(Bstr(u"Сидоров")), S_OK);
    ComPtr<IUnknown> specific;
    ASSERT_EQ(doc_->GetSpecificObj(specific.GetAddressOf()), S_OK);
    ComPtr<IOrvOutsideDoc> child;
    ASSERT_EQ(specific.As(&child), S_OK);
    Bstr name;
    ASSERT_EQ(child->get_Name(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"Сидоров");
    ComPtr<IUnknown> held, self;
    ASSERT_EQ(child->get_OrvDocument(held.GetAddressOf()), S_OK);
    ASSERT_EQ(doc_.As(&self), S_OK);
    EXPECT_EQ(held.Get(), self.Get());
    reg.Revoke();
}

}  // namespace
