// The address parts, identity document type and job position: each hands its
// aggregated reference item its kind and class identifier, and every property
// is the item's value.
#include "fake_lists.h"

#include "reference/OrvReferences.h"

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

class References : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostClass(CLSID_OrvRefItem, &orv::host::CreateRefItem, &registration_), S_OK);
    }
    void TearDown() override { registration_.Revoke(); }

    template <class T, class I>
    static ComPtr<I> New() {
        ComPtr<I> object;
        EXPECT_EQ(orv::CreateObject<T>(&object), S_OK);
        return object;
    }
    static ComPtr<IOrvRefItem> ItemOf(IUnknown* object) {
        ComPtr<IOrvRefItem> item;
        EXPECT_EQ(object->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf())), S_OK);
        return item;
    }
    template <class T, class I>
    static void ExpectKindAndClass(LONG kind, const char16_t* clsid) {
        ComPtr<I> object = New<T, I>();
        ASSERT_TRUE(object);
        ComPtr<IOrvRefItem> item = ItemOf(object.Get());
        LONG k = 0;
        ASSERT_EQ(item->get_Kind(&k), S_OK);
        EXPECT_EQ(k, kind);
        EXPECT_EQ(Str([&](BSTR* p) { return item->get_ClassId(p); }), clsid);
        // The item answers for the object: one identity.
        ComPtr<IUnknown> a, b;
        object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(a.GetAddressOf()));
        item->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(b.GetAddressOf()));
        EXPECT_EQ(a.Get(), b.Get());
    }
    template <class I>
    static void ExpectNameCodeIndexAreTheItems(I* object) {
        ComPtr<IOrvRefItem> item = ItemOf(object);
        ASSERT_EQ(object->put_Name(Bstr(u"Москва")), S_OK);
        EXPECT_EQ(Str([&](BSTR* p) { return item->get_Name(p); }), u"Москва");
        ASSERT_EQ(item->put_Code(Bstr(u"77")), S_OK);
        EXPECT_EQ(Str([&](BSTR* p) { return object->get_Code(p); }), u"77");
        ASSERT_EQ(object->put_Index(12), S_OK);
        LONG i = 0;
        ASSERT_EQ(item->get_Index(&i), S_OK);
        EXPECT_EQ(i, 12);
        EXPECT_EQ(object->get_Index(nullptr), E_POINTER);
        EXPECT_EQ(object->get_Name(nullptr), E_POINTER);
    }

    orv::host::Registration registration_;
};

TEST_F(References, EachClassHandsItsItemItsKindAndClassIdentifier) {
    ExpectKindAndClass<orv::OrvAddrRegion, IOrvAddrRegion>(3, u"{76576C44-CBEF-11D3-B8FB-0000C0A3E6F3}");
    ExpectKindAndClass<orv::OrvAddrCity, IOrvAddrCity>(4, u"{76576C46-CBEF-11D3-B8FB-0000C0A3E6F3}");
    ExpectKindAndClass<orv::OrvAddrCountry, IOrvAddrCountry>(6, u"{56CCC624-EF3B-11D3-B906-0000C0A3E6F3}");
    ExpectKindAndClass<orv::OrvAddrDistrict, IOrvAddrDistrict>(7, u"{76576C48-CBEF-11D3-B8FB-0000C0A3E6F3}");
    ExpectKindAndClass<orv::OrvIdType, IOrvIdType>(5, u"{56CCC629-EF3B-11D3-B906-0000C0A3E6F3}");
    ExpectKindAndClass<orv::OrvJobPosition, IOrvJobPosition>(2, u"{1DAFC227-EF97-11D3-B907-0000C0A3E6F3}");
}

TEST_F(References, NameCodeAndIndexAreTheItemsValues) {
    ExpectNameCodeIndexAreTheItems(New<orv::OrvAddrRegion, IOrvAddrRegion>().Get());
    ExpectNameCodeIndexAreTheItems(New<orv::OrvAddrCity, IOrvAddrCity>().Get());
    ExpectNameCodeIndexAreTheItems(New<orv::OrvAddrCountry, IOrvAddrCountry>().Get());
    ExpectNameCodeIndexAreTheItems(New<orv::OrvAddrDistrict, IOrvAddrDistrict>().Get());
    ExpectNameCodeIndexAreTheItems(New<orv::OrvIdType, IOrvIdType>().Get());
    ExpectNameCodeIndexAreTheItems(New<orv::OrvJobPosition, IOrvJobPosition>().Get());
}

TEST_F(References, AnAddressPartTravelsAsTheItemsXml) {
    ComPtr<IOrvAddrCity> city = New<orv::OrvAddrCity, IOrvAddrCity>();
    ASSERT_EQ(city->put_Name(Bstr(u"Москва")), S_OK);
    ASSERT_EQ(city->put_Code(Bstr(u"77")), S_OK);
    ASSERT_EQ(city->put_Index(12), S_OK);
    ComPtr<IOrvObjAsXmlString> form;
    ASSERT_EQ(city->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())), S_OK);
    const std::u16string text = u"<REFITEM KIND=\"4\" CLSID=\"{76576C46-CBEF-11D3-B8FB-0000C0A3E6F3}\" INDEX=\"12\" "
                                u"CODE=\"77\" NAME=\"Москва\" ID=\"0\" F1=\"0\" F2=\"0\" F3=\"0\"/>";
    EXPECT_EQ(Str([&](BSTR* p) { return form->get_FullString(p); }), text);

    ComPtr<IOrvAddrCity> other = New<orv::OrvAddrCity, IOrvAddrCity>();
    ComPtr<IOrvObjAsXmlString> otherForm;
    ASSERT_EQ(other->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(otherForm.GetAddressOf())), S_OK);
    ASSERT_EQ(otherForm->put_FullString(Bstr(text)), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return other->get_Name(p); }), u"Москва");
    LONG i = 0;
    ASSERT_EQ(other->get_Index(&i), S_OK);
    EXPECT_EQ(i, 12);
}

TEST_F(References, JobPositionCategoryAndThirdFlagAreOneValue) {
    ComPtr<IOrvJobPosition> job = New<orv::OrvJobPosition, IOrvJobPosition>();
    ASSERT_EQ(job->put_Category(5), S_OK);
    SHORT f = 0;
    ASSERT_EQ(job->get_Flag3(&f), S_OK);
    EXPECT_EQ(f, 5);
    ASSERT_EQ(job->put_Flag3(-1), S_OK);
    LONG c = 0;
    ASSERT_EQ(job->get_Category(&c), S_OK);
    EXPECT_EQ(c, -1);
    ASSERT_EQ(job->put_Category(0x12345), S_OK);  // the low 16 bits
    ASSERT_EQ(job->get_Category(&c), S_OK);
    EXPECT_EQ(c, 0x2345);

    ASSERT_EQ(job->put_Flag1(7), S_OK);
    ASSERT_EQ(job->put_Flag2(-8), S_OK);
    ComPtr<IOrvRefItem> item = ItemOf(job.Get());
    ASSERT_EQ(item->get_Flag1(&f), S_OK);
    EXPECT_EQ(f, 7);
    ASSERT_EQ(item->get_Flag2(&f), S_OK);
    EXPECT_EQ(f, -8);
}

TEST_F(References, JobPositionRatesKeepNothingAndLeaveTheCallersValue) {
    ComPtr<IOrvJobPosition> job = New<orv::OrvJobPosition, IOrvJobPosition>();
    CY put{};
    put.int64 = 123;
    ASSERT_EQ(job->put_stavkaOklad(put), S_OK);
    CY cy{};
    cy.int64 = 456;
    ASSERT_EQ(job->get_stavkaOklad(&cy), S_OK);
    EXPECT_EQ(cy.int64, 456);
    ASSERT_EQ(job->get_stavkaTarif(&cy), S_OK);
    EXPECT_EQ(cy.int64, 456);
    LONG r = 9;
    ASSERT_EQ(job->put_stavkaRazryad(3), S_OK);
    ASSERT_EQ(job->get_stavkaRazryad(&r), S_OK);
    EXPECT_EQ(r, 9);
    BSTR x = reinterpret_cast<BSTR>(&r);  // a value the member must not touch
    ASSERT_EQ(job->put_xmlStavka(Bstr(u"<S/>")), S_OK);
    ASSERT_EQ(job->get_xmlStavka(&x), S_OK);
    EXPECT_EQ(x, reinterpret_cast<BSTR>(&r));
    EXPECT_EQ(job->get_stavkaOklad(nullptr), E_POINTER);
}

TEST_F(References, AFailingItemCallEndsTheMemberWithItsStatus) {
    registration_.Revoke();
    ASSERT_EQ(orv::host::RegisterHostClass(CLSID_OrvRefItem, &CreateFailingItem, &registration_), S_OK);
    ComPtr<IOrvIdType> id = New<orv::OrvIdType, IOrvIdType>();
    ASSERT_TRUE(id);
    EXPECT_EQ(id->put_Name(Bstr(u"паспорт")), E_ACCESSDENIED);
    LONG i = 0;
    EXPECT_EQ(id->get_Index(&i), E_ACCESSDENIED);
    ComPtr<IOrvJobPosition> job = New<orv::OrvJobPosition, IOrvJobPosition>();
    EXPECT_EQ(job->put_Category(1), E_ACCESSDENIED);
}

TEST_F(References, WithoutTheItemClassNoObjectIsCreated) {
    registration_.Revoke();
    ComPtr<IOrvAddrCity> city;
    EXPECT_EQ(orv::CreateObject<orv::OrvAddrCity>(&city), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(city);
}

}  // namespace
