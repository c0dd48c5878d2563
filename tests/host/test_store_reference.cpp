// The store's reference data as the library asks for it: the sample data of
// the repository loaded through the text form and exported again, the
// settings in force on dates, currency conversion, the session's access type,
// reference entries, the tariff table, employees, and the months of an
// employee in a date window.
#include "store_test_util.h"

#include "host/OrvStoreComponents.h"
#include "host/store/Store.h"
#include "host/store/StoreText.h"

namespace {

using namespace storetest;

DATE Day(WORD y, WORD m, WORD d) {
    SYSTEMTIME st{};
    st.wYear = y, st.wMonth = m, st.wDay = d;
    DATE date = 0;
    SystemTimeToVariantTime(&st, &date);
    return date;
}

class SampleStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                                   reinterpret_cast<void**>(db_.GetAddressOf())),
                  S_OK);
        ASSERT_EQ(Import(db_.Get(), DataFile("reference.xml")), S_OK);
        ASSERT_EQ(Import(db_.Get(), DataFile("employees.xml")), S_OK);
    }
    template <class I>
    ComPtr<I> Setting(LONG id) {
        ComPtr<IUnknown> settingsObject;
        EXPECT_EQ(db_->get_Settings(settingsObject.GetAddressOf()), S_OK);
        ComPtr<IOrvSettings> settings;
        EXPECT_EQ(settingsObject.As(&settings), S_OK);
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(settings->get_Setting(id, unknown.GetAddressOf()), S_OK);
        ComPtr<I> setting;
        if (unknown) {
            EXPECT_EQ(unknown.As(&setting), S_OK);
        }
        return setting;
    }
    ComPtr<IOrvCurrencyService> Currency() {
        ComPtr<IUnknown> settingsObject;
        EXPECT_EQ(db_->get_Settings(settingsObject.GetAddressOf()), S_OK);
        ComPtr<IOrvCurrencyService> currency;
        EXPECT_EQ(settingsObject.As(&currency), S_OK);
        return currency;
    }
    ComPtr<IOrvReferenceSource> Reference() {
        ComPtr<IOrvReferenceSource> source;
        EXPECT_EQ(db_.As(&source), S_OK);
        return source;
    }
    std::string EntryName(IUnknown* entry) {
        ComPtr<IOrvRefItem> item;
        EXPECT_EQ(entry->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf())), S_OK);
        Bstr name;
        item->get_Name(name.ReleaseAndGetAddressOf());
        return name.Utf8();
    }

    Registered env_;
    ComPtr<IOrvDatabase> db_;
};

TEST_F(SampleStore, SettingsGiveTheValuesInForceOnADate) {
    // 773: the list of the latest period started on or before the date, in
    // the order loaded, so the caller's walk from the end meets the last first.
    auto allowed = Setting<IOrvListSetting>(773);
    ASSERT_TRUE(allowed);
    auto codes = [&](DATE on) {
        LONG n = -1;
        EXPECT_EQ(allowed->get_Count(on, &n), S_OK);
        std::vector<LONG> out;
        for (LONG i = n - 1; i >= 0; --i) {
            VARIANT v;
            VariantInit(&v);
            EXPECT_EQ(allowed->get_Item(i, on, &v), S_OK);
            EXPECT_EQ(v.vt, VT_I4);
            out.push_back(v.lVal);
        }
        return out;
    };
    EXPECT_EQ(codes(Day(2023, 6, 1)), (std::vector<LONG>{9, 5, 3, 2, 1}));
    EXPECT_EQ(codes(Day(2024, 1, 1)), (std::vector<LONG>{15, 12, 9, 5, 3, 2, 1}));
    EXPECT_TRUE(codes(Day(2019, 12, 31)).empty());
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(allowed->get_Item(5, Day(2023, 6, 1), &v), E_INVALIDARG);
    LONG periods = 0;
    ASSERT_EQ(allowed->get_PeriodCount(&periods), S_OK);
    EXPECT_EQ(periods, 2);
    DATE start = 0;
    ASSERT_EQ(allowed->get_PeriodStart(1, &start), S_OK);
    EXPECT_EQ(start, Day(2024, 1, 1));

    // A value added from a new date starts a new period.
    VARIANT code;
    VariantInit(&code);
    code.vt = VT_I4;
    code.lVal = 42;
    ASSERT_EQ(allowed->AddValue(Day(2026, 1, 1), code), S_OK);
    EXPECT_EQ(codes(Day(2026, 2, 1)), (std::vector<LONG>{42}));

    auto grades = Setting<IOrvShortSetting>(475);
    SHORT flag = -1;
    ASSERT_EQ(grades->get_Value(Day(2024, 5, 1), &flag), S_OK);
    EXPECT_EQ(flag, 1);
    auto currencyMode = Setting<IOrvShortSetting>(647);
    ASSERT_EQ(currencyMode->get_Value(Day(2024, 12, 31), &flag), S_OK);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(currencyMode->get_Value(Day(2025, 1, 1), &flag), S_OK);
    EXPECT_EQ(flag, 1);
    ASSERT_EQ(currencyMode->get_Value(Day(2010, 1, 1), &flag), S_OK);
    EXPECT_EQ(flag, 0);
    auto rounding = Setting<IOrvDateSetting>(506);
    DATE from = 0;
    ASSERT_EQ(rounding->get_Value(Day(2024, 5, 1), &from), S_OK);
    EXPECT_EQ(from, Day(2023, 1, 1));

    ComPtr<IUnknown> settingsObject;
    ASSERT_EQ(db_->get_Settings(settingsObject.GetAddressOf()), S_OK);
    ComPtr<IOrvSettings> settings;
    ASSERT_EQ(settingsObject.As(&settings), S_OK);
    ComPtr<IUnknown> none;
    EXPECT_EQ(settings->get_Setting(12345, none.GetAddressOf()), S_FALSE);
    EXPECT_FALSE(none);

    // A settings object the host attaches is handed out instead; null goes back to the store's.
    auto view = View(db_.Get());
    ASSERT_EQ(view->SetSettings(allowed.Get()), S_OK);
    ComPtr<IUnknown> attached;
    ASSERT_EQ(db_->get_Settings(attached.GetAddressOf()), S_OK);
    ComPtr<IUnknown> allowedUnknown, attachedUnknown;
    ASSERT_EQ(allowed.As(&allowedUnknown), S_OK);
    ASSERT_EQ(attached.As(&attachedUnknown), S_OK);
    EXPECT_EQ(attachedUnknown.Get(), allowedUnknown.Get());
    ASSERT_EQ(view->SetSettings(nullptr), S_OK);
    ASSERT_EQ(db_->get_Settings(attached.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(attached.Get(), settingsObject.Get());
}

TEST_F(SampleStore, CurrencyIsConvertedAtTheRateInForce) {
    auto currency = Currency();
    CY result{};
    Bstr text;
    // 100 dollars at 89.6883 on 2024-06-01.
    ASSERT_EQ(currency->Convert(0, Day(2024, 6, 1), Cy(1000000), 840, 0, 0, text.ReleaseAndGetAddressOf(), &result), S_OK);
    EXPECT_EQ(result.int64, 89688300);
    EXPECT_FALSE(text.Utf8().empty());
    // Mode 1 takes the rate of the day number it is given (2025-02-01).
    const LONG day2025 = static_cast<LONG>(Day(2025, 2, 1)) - 22281;
    ASSERT_EQ(currency->Convert(0, Day(2024, 6, 1), Cy(1000000), 840, 1, day2025, nullptr, &result), S_OK);
    EXPECT_EQ(result.int64, 101679700);
    // Hundredths rounded half away from zero: 0.01 euro at 99.1919 is 0.99.
    ASSERT_EQ(currency->Convert(0, Day(2024, 6, 1), Cy(-100), 978, 0, 0, nullptr, &result), S_OK);
    EXPECT_EQ(result.int64, -9900);
    // The base currency stays as it is; a currency without a rate is refused.
    ASSERT_EQ(currency->Convert(0, Day(2024, 6, 1), Cy(1234500), 643, 0, 0, nullptr, &result), S_OK);
    EXPECT_EQ(result.int64, 1234500);
    EXPECT_EQ(currency->Convert(0, Day(2023, 6, 1), Cy(100), 840, 0, 0, nullptr, &result), ORV_E_NO_RATE);
    EXPECT_EQ(currency->Convert(0, Day(2024, 6, 1), Cy(100), 999, 0, 0, nullptr, &result), ORV_E_NO_RATE);
    Bstr name;
    ASSERT_EQ(currency->GetCurrencyName(978, name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.Utf8(), "Евро");
}

TEST_F(SampleStore, TheSessionGivesTheStoredAccessType) {
    ComPtr<IUnknown> sessionObject;
    ASSERT_EQ(db_->get_Session(sessionObject.GetAddressOf()), S_OK);
    ComPtr<IOrvSession> session;
    ASSERT_EQ(sessionObject.As(&session), S_OK);
    LONG access = -1;
    ASSERT_EQ(session->get_AccessType(&access), S_OK);
    EXPECT_EQ(access, 0);
    ASSERT_EQ(Import(db_.Get(), "<ORVSTORE><VALUE NAME=\"access_type\" VALUE=\"2\"/></ORVSTORE>"), S_OK);
    ASSERT_EQ(session->get_AccessType(&access), S_OK);
    EXPECT_EQ(access, 1);
    Bstr organization;
    ASSERT_EQ(session->get_OrganizationName(organization.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(organization.Utf8(), "ООО «Северный завод»");
    ASSERT_EQ(session->put_DepartmentFilter(Bstr(u"1; 10")), S_OK);
    VARIANT_BOOL visible = VARIANT_FALSE;
    ASSERT_EQ(session->IsDepartmentVisible(10, &visible), S_OK);
    EXPECT_EQ(visible, VARIANT_TRUE);
    ASSERT_EQ(session->IsDepartmentVisible(2, &visible), S_OK);
    EXPECT_EQ(visible, VARIANT_FALSE);
}

TEST_F(SampleStore, ReferenceEntriesAndTheTariffTable) {
    auto source = Reference();
    ComPtr<IUnknown> entry;
    ASSERT_EQ(source->GetEntryPiped(1, 2, 20, entry.GetAddressOf()), S_OK);
    EXPECT_EQ(EntryName(entry.Get()), "Механический цех");
    EXPECT_EQ(source->GetEntryPiped(1, 9, 20, entry.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_FALSE(entry);

    // A created entry takes the next index and a new id, and is stored.
    ASSERT_EQ(source->CreateEntryPiped(1, 20, Bstr(u"Склад"), Bstr(u"30"), entry.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvRefItem> item;
    ASSERT_EQ(entry.As(&item), S_OK);
    LONG index = 0, kind = 0, id = 0;
    item->get_Index(&index);
    item->get_Kind(&kind);
    item->get_Id(&id);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(kind, 20);
    EXPECT_NE(id, 0);
    ASSERT_EQ(source->CreateEntry(20, Bstr(u"Гараж"), Bstr(u"31"), entry.ReleaseAndGetAddressOf()), S_OK);
    LONG max = 0;
    ASSERT_EQ(source->GetMaxIndex(20, &max), S_OK);
    EXPECT_EQ(max, 4);
    ASSERT_EQ(source->FindEntryByCode(20, Bstr(u"30"), entry.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(EntryName(entry.Get()), "Склад");
    // A changed entry is stored back at its index.
    ASSERT_EQ(entry.As(&item), S_OK);
    ASSERT_EQ(item->put_Name(Bstr(u"Склад готовой продукции")), S_OK);
    ASSERT_EQ(source->UpdateEntry(entry.Get()), S_OK);
    ASSERT_EQ(source->GetDepartment(3, entry.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(EntryName(entry.Get()), "Склад готовой продукции");
    ComPtr<IUnknown> list;
    ASSERT_EQ(source->GetPositionList(list.GetAddressOf()), S_OK);
    ComPtr<IOrvUnknownList> positions;
    ASSERT_EQ(list.As(&positions), S_OK);
    LONG count = 0;
    ASSERT_EQ(positions->get_Count(&count), S_OK);
    EXPECT_EQ(count, 3);

    // The tariff table: the nominal and the grade table in force on the date.
    ComPtr<IUnknown> tariffObject;
    ASSERT_EQ(source->GetTariffTablePiped(1, tariffObject.GetAddressOf()), S_OK);
    ComPtr<IOrvTariffTable> tariff;
    ASSERT_EQ(tariffObject.As(&tariff), S_OK);
    CY nominal{};
    ASSERT_EQ(tariff->GetNominal(Day(2024, 6, 1), &nominal), S_OK);
    EXPECT_EQ(nominal.int64, 100000000);
    ASSERT_EQ(tariff->GetNominal(Day(2025, 3, 1), &nominal), S_OK);
    EXPECT_EQ(nominal.int64, 120000000);
    ASSERT_EQ(tariff->GetNominal(Day(2022, 12, 31), &nominal), S_OK);
    EXPECT_EQ(nominal.int64, 0);
    ComPtr<IUnknown> gradeObject;
    ASSERT_EQ(tariff->GetGrade(Day(2024, 6, 1), 3, gradeObject.GetAddressOf()), S_OK);
    ComPtr<IOrvGradeEntry> grade;
    ASSERT_EQ(gradeObject.As(&grade), S_OK);
    CY coefficient{}, fixed{};
    LONG roundUp = 0;
    ASSERT_EQ(grade->get_Coefficient(&coefficient), S_OK);
    ASSERT_EQ(grade->get_RoundUp(&roundUp), S_OK);
    ASSERT_EQ(grade->get_FixedSum(&fixed), S_OK);
    EXPECT_EQ(coefficient.int64, 12345);
    EXPECT_EQ(roundUp, 1);
    EXPECT_EQ(fixed.int64, 0);
    ASSERT_EQ(tariff->GetGrade(Day(2024, 6, 1), 6, gradeObject.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(gradeObject.As(&grade), S_OK);
    ASSERT_EQ(grade->get_FixedSum(&fixed), S_OK);
    EXPECT_EQ(fixed.int64, 250000000);
    // The 2025 table replaces the whole 2023 one: grade 6 is gone.
    EXPECT_EQ(tariff->GetGrade(Day(2025, 3, 1), 6, gradeObject.ReleaseAndGetAddressOf()), S_FALSE);
    LONG grades = 0;
    ASSERT_EQ(tariff->GetGradeCount(Day(2025, 3, 1), &grades), S_OK);
    EXPECT_EQ(grades, 5);
}

TEST_F(SampleStore, EmployeesWithTheirJobsAndDocuments) {
    ComPtr<IUnknown> found;
    ASSERT_EQ(db_->FindEmployee(0, Bstr(u"0001"), found.GetAddressOf()), S_OK);
    ComPtr<IOrvEmployee> ivanov;
    ASSERT_EQ(found.As(&ivanov), S_OK);
    LONG id = 0;
    ASSERT_EQ(ivanov->get_Id(&id), S_OK);
    EXPECT_EQ(id, 1);
    DATE first = 0, second = 0, resigned = -1;
    ASSERT_EQ(ivanov->get_FirstEnterDate(&first), S_OK);
    ASSERT_EQ(ivanov->get_SecondEnterDate(&second), S_OK);
    ASSERT_EQ(ivanov->get_ResignationDate(&resigned), S_OK);
    EXPECT_EQ(first, Day(2015, 3, 1));
    EXPECT_EQ(second, Day(2021, 9, 1));
    EXPECT_EQ(resigned, 0.0);

    ComPtr<IOrvEmployeeJob> job;
    ASSERT_EQ(found.As(&job), S_OK);
    LONG dep = -1, position = -1, grade = -1;
    ASSERT_EQ(job->GetDepAndPosition(0, Day(2020, 1, 1), &dep, &position, &grade), S_OK);
    EXPECT_EQ((std::vector<LONG>{dep, position, grade}), (std::vector<LONG>{2, 2, 3}));
    ASSERT_EQ(job->GetDepAndPosition(0, Day(2021, 9, 1), &dep, &position, &grade), S_OK);
    EXPECT_EQ((std::vector<LONG>{dep, position, grade}), (std::vector<LONG>{2, 3, 5}));
    EXPECT_EQ(job->GetDepAndPosition(0, Day(2010, 1, 1), &dep, &position, &grade), S_FALSE);
    EXPECT_EQ((std::vector<LONG>{dep, position, grade}), (std::vector<LONG>{0, 0, 0}));

    ComPtr<IOrvEmployeeAccounts> accounts;
    ASSERT_EQ(found.As(&accounts), S_OK);
    LONG status = 0;
    ASSERT_EQ(accounts->GetStatusOnDate(0, Day(2025, 1, 1), &status), S_OK);
    EXPECT_EQ(status, 1);

    ComPtr<IUnknown> petrova;
    ASSERT_EQ(db_->GetEmployee(0, 2, petrova.GetAddressOf()), S_OK);
    ComPtr<IOrvEmployee> e2;
    ASSERT_EQ(petrova.As(&e2), S_OK);
    ASSERT_EQ(e2->get_ResignationDate(&resigned), S_OK);
    EXPECT_EQ(resigned, Day(2025, 6, 30));
    ComPtr<IUnknown> nobody;
    EXPECT_EQ(db_->GetEmployee(0, 99, nobody.GetAddressOf()), S_FALSE);
    EXPECT_EQ(db_->FindEmployee(0, Bstr(u"9999"), nobody.GetAddressOf()), S_FALSE);

    // Documents by employee: the loaded ones are tied to theirs.
    auto countOf = [&](IUnknown* who, LONG type) {
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(db_->GetDocuments(0, who, type, 0, 0, unknown.GetAddressOf()), S_OK);
        ComPtr<IOrvUnknownList> list;
        EXPECT_EQ(unknown.As(&list), S_OK);
        LONG n = -1;
        list->get_Count(&n);
        return n;
    };
    EXPECT_EQ(countOf(nullptr, 0), 4);
    EXPECT_EQ(countOf(found.Get(), 0), 3);
    EXPECT_EQ(countOf(petrova.Get(), 0), 1);
    EXPECT_EQ(countOf(found.Get(), 1), 1);
}

TEST(StoreText, LoadingAndExportingGiveTheSameStoreBack) {
    Registered env;
    ComPtr<IOrvDatabase> a, b;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&a), S_OK);
    ASSERT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&b), S_OK);
    ASSERT_EQ(Import(a.Get(), DataFile("reference.xml")), S_OK);
    ASSERT_EQ(Import(a.Get(), DataFile("employees.xml")), S_OK);
    Bstr first, second;
    ASSERT_EQ(View(a.Get())->ExportText(first.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(View(b.Get())->ImportText(first.Get()), S_OK);
    ASSERT_EQ(View(b.Get())->ExportText(second.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(first.Utf8(), second.Utf8());
    EXPECT_EQ(Count(b.Get()), 4);
    // The documents kept their addresses, records, bodies and collectors.
    for (ULONG address = 1; address <= 4; ++address) {
        Bstr ra, rb, ba, bb;
        LONG la = 0, lb = 0, ca = 0, cb = 0;
        ASSERT_EQ(View(a.Get())->GetStored(address, ra.ReleaseAndGetAddressOf(), ba.ReleaseAndGetAddressOf(), &la, nullptr), S_OK);
        ASSERT_EQ(View(b.Get())->GetStored(address, rb.ReleaseAndGetAddressOf(), bb.ReleaseAndGetAddressOf(), &lb, nullptr), S_OK);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(ra.Get()), 304), std::string(reinterpret_cast<const char*>(rb.Get()), 304));
        EXPECT_EQ(ba.ByteLength(), bb.ByteLength());
        EXPECT_EQ(la, lb);
        View(a.Get())->GetStoredCollectorCount(address, &ca);
        View(b.Get())->GetStoredCollectorCount(address, &cb);
        EXPECT_EQ(ca, cb);
    }
    LONG timesheetCollectors = 0;
    ASSERT_EQ(View(b.Get())->GetStoredCollectorCount(3, &timesheetCollectors), S_OK);
    EXPECT_EQ(timesheetCollectors, 1);
    // Loading a stored document again replaces it and keeps the old version.
    ASSERT_EQ(View(b.Get())->ImportText(first.Get()), S_OK);
    EXPECT_EQ(Count(b.Get()), 4);
    LONG versions = 0;
    ASSERT_EQ(View(b.Get())->GetVersionCount(1, &versions), S_OK);
    EXPECT_EQ(versions, 1);
}

TEST(StoreText, ATextThatDoesNotReadLoadsNothing) {
    Registered env;
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&db), S_OK);
    auto view = View(db.Get());
    const char* bad[] = {
        "<ORVSTORE><VALUE NAME=\"x\" VALUE=\"1\"/><GRADE FROM=\"2024-13-01\" GRADE=\"1\"/></ORVSTORE>",
        "<ORVSTORE><VALUE NAME=\"x\" VALUE=\"1\"/><NOMINAL FROM=\"2024-01-01\" SUM=\"12,5\"/></ORVSTORE>",
        "<ORVSTORE><VALUE NAME=\"x\" VALUE=\"1\"/><SETTING ID=\"1\" KIND=\"percent\"/></ORVSTORE>",
        "<ORVSTORE><VALUE NAME=\"x\" VALUE=\"1\"/><EMPLOYEE ID=\"1\"><MONTH MONTH=\"2024-01-01\" RECORD=\"00\"/></EMPLOYEE></ORVSTORE>",
        "<ORVSTORE><VALUE NAME=\"x\" VALUE=\"1\"/><ORVDOCUMENT DOCRECORD=\"00\"/></ORVSTORE>",
        "<ORVSTORE><VALUE NAME=\"x\" VALUE=\"1\"/><TABLE/></ORVSTORE>",
        "<ORVSTORE><VALUE NAME=\"x\"",
        "<OTHER/>",
    };
    for (const char* text : bad) {
        EXPECT_EQ(view->ImportText(Bstr::FromUtf8(text)), E_INVALIDARG) << text;
        Bstr error;
        ASSERT_EQ(db->get_LastError(error.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_FALSE(error.Utf8().empty()) << text;
        Bstr exported;
        ASSERT_EQ(view->ExportText(exported.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(exported.Utf8().find("VALUE"), std::string::npos) << text;
    }
    EXPECT_EQ(Count(db.Get()), 0);
}

TEST(StoreText, DatesAndAmountsReadBackWhatIsWritten) {
    using namespace orv::host;
    for (LONG day : {1, 366, 22000, 32767, -1}) {
        LONG back = 0;
        ASSERT_TRUE(ParseDay(DayText(day), &back)) << day;
        EXPECT_EQ(back, day);
    }
    EXPECT_EQ(DayText(1), "1961-01-01");
    LONG day = -1;
    EXPECT_TRUE(ParseDay("", &day));
    EXPECT_EQ(day, 0);
    EXPECT_FALSE(ParseDay("2024-02-30", &day));
    EXPECT_FALSE(ParseDay("1.2.2024", &day));
    for (LONGLONG raw : {0LL, 125000LL, -30001LL, 1LL, 922337203685477LL * 10000 + 5807}) {
        LONGLONG back = 0;
        ASSERT_TRUE(ParseMoney(MoneyText(raw), &back)) << raw;
        EXPECT_EQ(back, raw);
    }
    EXPECT_EQ(MoneyText(125000), "12.5");
    EXPECT_EQ(MoneyText(-30001), "-3.0001");
    LONGLONG raw = 0;
    EXPECT_FALSE(ParseMoney("1.23456", &raw));
    EXPECT_FALSE(ParseMoney(".", &raw));
    EXPECT_FALSE(ParseMoney("1e5", &raw));
}

// The storage call behind the month source: the stored month records (144
// bytes) and trace records (84 bytes) of an employee in a window of months.
TEST(StoreMonths, MonthsOfAnEmployeeInADateWindow) {
    using namespace orv::host::store;
    auto s = OpenSqliteStore(":memory:");
    auto month = [](LONG employee, LONG day, unsigned char mark, std::vector<LONG> traces) {
        MonthRow m;
        m.employee = employee;
        m.monthDay = day;
        m.record.fill(mark);
        for (LONG code : traces) {
            TraceRow& t = m.traces.emplace_back();
            t.code = code;
            t.record.fill(static_cast<unsigned char>(mark + code));
        }
        return m;
    };
    s->PutMonth(month(1, 100, 1, {1, 2}));
    s->PutMonth(month(1, 131, 2, {}));
    s->PutMonth(month(1, 159, 3, {7}));
    s->PutMonth(month(2, 131, 9, {1}));
    auto window = s->Months(1, 131, 159);
    ASSERT_EQ(window.size(), 2u);
    EXPECT_EQ(window[0].monthDay, 131);
    EXPECT_EQ(window[0].record[143], 2);
    EXPECT_TRUE(window[0].traces.empty());
    ASSERT_EQ(window[1].traces.size(), 1u);
    EXPECT_EQ(window[1].traces[0].code, 7);
    EXPECT_EQ(window[1].traces[0].record[83], 10);
    EXPECT_EQ(s->Months(1, 0, 0).size(), 3u);  // 0: no end
    EXPECT_EQ(s->Months(1, 160, 0).size(), 0u);
    // Storing a month again replaces its traces.
    s->PutMonth(month(1, 100, 4, {3}));
    auto first = s->Months(1, 100, 100);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].record[0], 4);
    ASSERT_EQ(first[0].traces.size(), 1u);
    EXPECT_EQ(first[0].traces[0].code, 3);
}

}  // namespace
