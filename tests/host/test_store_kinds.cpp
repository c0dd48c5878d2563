// Specific documents and lists calculating from the reference data the
// store holds (data/store/reference.xml): tariff table and settings, the
// central bank rate, the allowance-type table, the sick-leave types allowed
// and the session's access type, and entries an instance list stores.
#include "store_test_util.h"

#include "host/OrvStoreComponents.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <vector>

namespace storetest {
namespace {

DATE Date(WORD y, WORD m, WORD d) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    DATE out = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &out));
    return out;
}

class StoreKinds : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = OpenFile(dir_.File("store.db"));
        ASSERT_TRUE(db_);
        ASSERT_EQ(Import(db_.Get(), DataFile("reference.xml")), S_OK);
        ASSERT_EQ(Import(db_.Get(), DataFile("employees.xml")), S_OK);
    }
    // A new document of the type connected to the service, and its specific object.
    template <class I>
    ComPtr<I> Kind(LONG type, ComPtr<IOrvDocument>* docOut = nullptr) {
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(db_->NewDocument(0, type, unknown.GetAddressOf()), S_OK);
        ComPtr<IOrvDocument> doc;
        EXPECT_EQ(unknown.As(&doc), S_OK);
        ComPtr<IUnknown> specific;
        EXPECT_EQ(doc->GetSpecificObj(specific.GetAddressOf()), S_OK);
        ComPtr<I> kind;
        if (specific) {
            EXPECT_EQ(specific.As(&kind), S_OK);
        }
        if (docOut) *docOut = doc;
        return kind;
    }
    ComPtr<IUnknown> Setting(LONG id) {
        ComPtr<IUnknown> settingsUnknown;
        EXPECT_EQ(db_->get_Settings(settingsUnknown.GetAddressOf()), S_OK);
        ComPtr<IOrvSettings> settings;
        EXPECT_EQ(settingsUnknown.As(&settings), S_OK);
        ComPtr<IUnknown> setting;
        EXPECT_EQ(settings->get_Setting(id, setting.GetAddressOf()), S_OK);
        return setting;
    }

    Registered registered_;
    TempDir dir_;
    ComPtr<IOrvDatabase> db_;
};

// Figures: nominal x coefficient, then whole units from 2023-01-01 on (setting
// 506), up when the grade's flag is set; a fixed sum stands as it is.
TEST_F(StoreKinds, SalaryGradeAmountsFromTheStoredTariffTable) {
    struct Case {
        DATE on;
        LONG grade;
        LONGLONG expected;  // raw currency
        const char* why;
    } cases[] = {
        {Date(2024, 3, 15), 3, 123450000, "10000 x 1.2345 = 12345, already whole"},
        {Date(2024, 3, 15), 6, 250000000, "the fixed sum of grade 6"},
        {Date(2025, 3, 15), 4, 160000000, "12000 x 1.3333 = 15999.60, to the nearest unit"},
        {Date(2025, 3, 15), 5, 174810000, "12000 x 1.4567 = 17480.40, up by the grade's flag"},
        {Date(2025, 3, 15), 3, 150000000, "12000 x 1.25, the 2025 table"},
    };
    for (const Case& c : cases) {
        auto ok = Kind<IOrvOKDoc>(1);
        ASSERT_TRUE(ok);
        ASSERT_EQ(ok->put_Razryad(c.grade), S_OK);
        CY amount{};
        ASSERT_EQ(ok->GetAmountBeSmart(0, c.on, db_.Get(), &amount), S_OK) << c.why;
        EXPECT_EQ(amount.int64, c.expected) << c.why;
    }
    // 2025's table has no grade 6: the amount is refused.
    auto ok = Kind<IOrvOKDoc>(1);
    ASSERT_EQ(ok->put_Razryad(6), S_OK);
    CY amount{};
    EXPECT_TRUE(FAILED(ok->GetAmountBeSmart(0, Date(2025, 3, 15), db_.Get(), &amount)));
}

// 100000.00 x rate x 3/4 x days / 365, rounded to hundredths.
TEST_F(StoreKinds, LoanInterestAtTheStoredCentralBankRate) {
    ComPtr<IUnknown> rate = Setting(orv::host::kSettingBankRate);
    ASSERT_TRUE(rate);
    auto zm = Kind<IOrvZMDoc>(301);
    ASSERT_TRUE(zm);
    ASSERT_EQ(zm->put_Loaned(Date(2024, 1, 1), Cy(1000000000)), S_OK);
    CY sum{};
    ASSERT_EQ(zm->CalcInterest(Date(2024, 3, 1), rate.Get(), &sum), S_OK);
    EXPECT_EQ(sum.int64, 10191800) << "16 %, 31 days: 1019.1780";

    auto later = Kind<IOrvZMDoc>(301);
    ASSERT_EQ(later->put_Loaned(Date(2025, 8, 1), Cy(1000000000)), S_OK);
    ASSERT_EQ(later->CalcInterest(Date(2025, 8, 1), rate.Get(), &sum), S_OK);
    EXPECT_EQ(sum.int64, 11465800) << "18 % from 2025-07-28, 31 days: 1146.5753";
}

TEST_F(StoreKinds, AllowanceTypesFromTableEightHalveTheChildren) {
    struct Case {
        ULONG type;
        LONG expected;
    } cases[] = {{3, 5}, {4, 2}, {5, 2}, {0, 5}, {9, 5}};  // "114", "45", "102", none, not in the table
    for (const Case& c : cases) {
        ComPtr<IOrvDocument> doc;
        auto lp = Kind<IOrvLPDoc>(40, &doc);
        ASSERT_TRUE(lp);
        ASSERT_EQ(doc->put_lDcdpod(5), S_OK);
        ASSERT_EQ(lp->put_ChildType(0), S_OK);
        ASSERT_EQ(lp->put_IndexChildMrotDiscountType(c.type), S_OK);
        LONG n = -1;
        ASSERT_EQ(lp->get_NumChildren(0, &n), S_OK);
        EXPECT_EQ(n, c.expected) << "type " << c.type;
    }
}

std::vector<LONG> AllowedTypes(IUnknown* bl, IUnknown* db) {
    ComPtr<IOrvENUMBlTypes> types;
    EXPECT_EQ(bl->QueryInterface(IID_IOrvENUMBlTypes, reinterpret_cast<void**>(types.GetAddressOf())), S_OK);
    EXPECT_EQ(types->ApplyFilter(db), S_OK);
    types->Reset();
    std::vector<LONG> codes;
    Bstr name;
    for (LONG code = 0; types->Next(name.ReleaseAndGetAddressOf(), &code) == S_OK;) codes.push_back(code);
    return codes;
}

TEST_F(StoreKinds, SickLeaveTypesFollowStoredSettingAndAccessTypeTheSession) {
    auto bl = Kind<IOrvBLDoc>(21);
    ASSERT_TRUE(bl);
    // The codes allowed today: those of the 2024 period.
    EXPECT_EQ(AllowedTypes(bl.Get(), db_.Get()), (std::vector<LONG>{1, 2, 3, 5, 9, 12, 15}));
    // A new period from yesterday on replaces the whole list.
    const std::string narrowed = "<ORVSTORE><SETTING ID=\"773\" KIND=\"list\" NAME=\"x\">"
                                 "<V FROM=\"2020-01-01\" VALUE=\"1\"/><V FROM=\"2024-01-01\" VALUE=\"2\"/>"
                                 "<V FROM=\"2024-01-01\" VALUE=\"7\"/></SETTING></ORVSTORE>";
    ASSERT_EQ(Import(db_.Get(), narrowed), S_OK);
    EXPECT_EQ(AllowedTypes(bl.Get(), db_.Get()), (std::vector<LONG>{2, 7}));

    ComPtr<IOrvBLDocProtocol> protocol;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvBLDocProtocol, nullptr, CLSCTX_ALL, IID_IOrvBLDocProtocol,
                               reinterpret_cast<void**>(protocol.GetAddressOf())),
              S_OK);
    LONG access = -1;
    ASSERT_EQ(protocol->SetAccessType(db_.Get()), S_OK);
    ASSERT_EQ(protocol->GetAccessType(&access), S_OK);
    EXPECT_EQ(access, 0);
    ASSERT_EQ(Import(db_.Get(), "<ORVSTORE><VALUE NAME=\"access_type\" VALUE=\"2\"/></ORVSTORE>"), S_OK);
    ASSERT_EQ(protocol->SetAccessType(db_.Get()), S_OK);
    ASSERT_EQ(protocol->GetAccessType(&access), S_OK);
    EXPECT_EQ(access, 1) << "any stored value but 0 is the second calculation";
}

TEST_F(StoreKinds, InstanceListStoresANewEntryThroughTheServiceAndReadsItBack) {
    ComPtr<IOrvInstanceList> list;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvInstanceList, nullptr, CLSCTX_ALL, IID_IOrvInstanceList,
                               reinterpret_cast<void**>(list.GetAddressOf())),
              S_OK);
    ASSERT_EQ(list->put_ListID(40), S_OK);
    LONG index = 0;
    ASSERT_EQ(list->StoreEntry(db_.Get(), Bstr(u"Рабочие"), Bstr(u"В"), &index), S_OK);
    EXPECT_EQ(index, 3) << "after the two entries of the sample list";

    // The service holds it now, with its class to recreate it from.
    ComPtr<IOrvReferenceSource> source;
    ASSERT_EQ(db_.As(&source), S_OK);
    ComPtr<IUnknown> stored;
    ASSERT_EQ(source->GetEntryPiped(0, 3, 40, stored.GetAddressOf()), S_OK);
    ComPtr<IOrvRefItem> item;
    ASSERT_EQ(stored.As(&item), S_OK);
    Bstr name;
    ASSERT_EQ(item->get_Name(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"Рабочие");

    // The list's XML form read into a new list gives the entry back by code.
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    Bstr text;
    ASSERT_EQ(xml->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvInstanceList> reread;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvInstanceList, nullptr, CLSCTX_ALL, IID_IOrvInstanceList,
                               reinterpret_cast<void**>(reread.GetAddressOf())),
              S_OK);
    ComPtr<IOrvObjAsXmlString> rereadXml;
    ASSERT_EQ(reread.As(&rereadXml), S_OK);
    ASSERT_EQ(rereadXml->put_FullString(text.Get()), S_OK);
    ComPtr<IUnknown> found;
    ASSERT_EQ(reread->FindByCode(Bstr(u"В"), found.GetAddressOf()), S_OK);
    ComPtr<IOrvRefItem> foundItem;
    ASSERT_EQ(found.As(&foundItem), S_OK);
    LONG foundIndex = 0;
    ASSERT_EQ(foundItem->get_Index(&foundIndex), S_OK);
    EXPECT_EQ(foundIndex, 3);
}

}  // namespace
}  // namespace storetest
