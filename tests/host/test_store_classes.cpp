// The library's classes over the host's store-backed components: months and
// traces through the month source, the employee's accounts in the host's
// account list, banks with their lists, the dated options, and documents
// carried whole through the store's text form.
#include "store_test_util.h"

#include "host/OrvStoreComponents.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

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

// Day numbers of the records: days after 1960-12-31.
SHORT DayNumber(DATE date) { return static_cast<SHORT>(static_cast<LONG>(date) - 22281); }

template <std::size_t N>
std::string Hex(const std::array<unsigned char, N>& bytes) {
    std::string out;
    char two[3];
    for (unsigned char b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        out += two;
    }
    return out;
}

template <std::size_t N>
void PutLE(std::array<unsigned char, N>& r, std::size_t at, LONGLONG v, int width) {
    for (int i = 0; i < width; ++i) r[at + i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

// A month record whose bytes tell the months apart, with the month's first
// day (a day number) at offset 2, where the month keeps its MonthDate.
std::array<unsigned char, 144> MonthBytes(unsigned char mark, DATE month) {
    std::array<unsigned char, 144> r{};
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<unsigned char>(mark + i);
    PutLE(r, 2, DayNumber(month), 2);
    return r;
}

// A trace record: id, code, the first sum slot in hundredths and the end
// date of the department period (a day number).
std::array<unsigned char, 84> TraceBytes(SHORT id, SHORT code, LONG slot0, SHORT endDay) {
    std::array<unsigned char, 84> r{};
    PutLE(r, 0, id, 2);
    PutLE(r, 2, code, 2);
    PutLE(r, 6, slot0, 4);
    PutLE(r, 36, endDay, 2);
    return r;
}

class StoreClasses : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = OpenFile(dir_.File("store.db"));
        ASSERT_TRUE(db_);
        ASSERT_EQ(Import(db_.Get(), DataFile("reference.xml")), S_OK);
        ASSERT_EQ(Import(db_.Get(), DataFile("employees.xml")), S_OK);
    }
    ComPtr<IUnknown> Employee(LONG id) {
        ComPtr<IUnknown> e;
        EXPECT_EQ(db_->GetEmployee(0, id, e.GetAddressOf()), S_OK);
        return e;
    }
    template <class I>
    ComPtr<I> Create(REFCLSID clsid) {
        ComPtr<I> object;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, uuidof<I>(),
                                   reinterpret_cast<void**>(object.GetAddressOf())),
                  S_OK);
        return object;
    }
    // Stores three months of employee 1 around a year's end, with traces.
    void StoreMonths() {
        std::string text = "<ORVSTORE><EMPLOYEE ID=\"1\" TABNUM=\"0001\" NAME=\"Иванов Иван Иванович\" "
                           "BIRTH=\"1985-04-12\" FIRSTENTER=\"2015-03-01\" SECONDENTER=\"2021-09-01\" ACCOUNTSTATUS=\"1\">";
        const struct {
            const char* day;
            DATE date;
            unsigned char mark;
            LONG sum;
            DATE end;
        } months[] = {{"2024-12-01", Date(2024, 12, 1), 0x10, 12345, Date(2021, 8, 31)},
                      {"2025-01-01", Date(2025, 1, 1), 0x20, 50000, Date(2021, 9, 1)},
                      {"2025-02-01", Date(2025, 2, 1), 0x30, -700, 0.0}};
        for (const auto& m : months) {
            text += std::string("<MONTH MONTH=\"") + m.day + "\" RECORD=\"" + Hex(MonthBytes(m.mark, m.date)) + "\">";
            text += "<TRACE CODE=\"1000\" RECORD=\"" +
                    Hex(TraceBytes(1, 1000, m.sum, m.end == 0.0 ? 0 : DayNumber(m.end))) + "\"/>";
            text += "<TRACE CODE=\"1001\" RECORD=\"" + Hex(TraceBytes(1, 1001, 3, 0)) + "\"/>";
            text += "</MONTH>";
        }
        text += "</EMPLOYEE></ORVSTORE>";
        ASSERT_EQ(Import(db_.Get(), text), S_OK);
    }
    std::vector<ComPtr<IOrvMonth>> Months(IUnknown* employee, DATE from, DATE to) {
        ComPtr<IOrvMonthSource> source;
        EXPECT_EQ(db_.As(&source), S_OK);
        ComPtr<IUnknown> unknown;
        EXPECT_EQ(source->GetMonths(0, employee, from, to, unknown.GetAddressOf()), S_OK);
        std::vector<ComPtr<IOrvMonth>> out;
        ComPtr<IOrvUnknownList> list;
        if (!unknown || FAILED(unknown.As(&list))) return out;
        list->Reset();
        for (ComPtr<IUnknown> item; list->Next(item.ReleaseAndGetAddressOf()) == S_OK;) {
            ComPtr<IOrvMonth> month;
            EXPECT_EQ(item.As(&month), S_OK);
            out.push_back(month);
        }
        return out;
    }

    Registered registered_;
    TempDir dir_;
    ComPtr<IOrvDatabase> db_;
};

// ------------------------------------------------------------------ months

TEST_F(StoreClasses, MonthListBuildsFromStoredMonthsWithTheirRecordsAndTraces) {
    StoreMonths();
    ComPtr<IOrvMonthList> list = Create<IOrvMonthList>(CLSID_OrvMonthList);
    ComPtr<IUnknown> employee = Employee(1);
    ASSERT_EQ(list->BuildList(0, Date(2024, 12, 1), Date(2025, 2, 1), employee.Get(), db_.Get()), S_OK);
    LONG size = 0;
    ASSERT_EQ(list->Size(&size), S_OK);
    EXPECT_EQ(size, 3) << "both window ends count; the month of 2025-11 lies outside";

    ComPtr<IUnknown> found;
    ASSERT_EQ(list->FindMonth(Date(2025, 1, 1), found.GetAddressOf()), S_OK);
    ComPtr<IOrvMonth> january;
    ASSERT_EQ(found.As(&january), S_OK);
    Bstr record;
    ASSERT_EQ(january->get_MonthRecord(record.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(record.ByteLength(), 144u);
    const auto expected = MonthBytes(0x20, Date(2025, 1, 1));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.Get()), 144),
              std::string(reinterpret_cast<const char*>(expected.data()), 144));
    // Sum index 0 is slot 0 of trace 1000, index 19 slot 0 of trace 1001.
    ComPtr<IOrvM> januarySums;
    ASSERT_EQ(january.As(&januarySums), S_OK);
    CY sum{};
    ASSERT_EQ(januarySums->get_SumCollector(0, &sum), S_OK);
    EXPECT_EQ(sum.int64, 5000000);
    ASSERT_EQ(januarySums->get_SumCollector(19, &sum), S_OK);
    EXPECT_EQ(sum.int64, 300);

    ASSERT_EQ(list->FindMonth(Date(2025, 2, 1), found.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvMonth> february;
    ASSERT_EQ(found.As(&february), S_OK);
    ComPtr<IOrvM> februarySums;
    ASSERT_EQ(february.As(&februarySums), S_OK);
    ASSERT_EQ(februarySums->get_SumCollector(0, &sum), S_OK);
    EXPECT_EQ(sum.int64, -70000) << "a negative slot is hundredths";
}

TEST_F(StoreClasses, MonthSourceWindowIsByTheMonthsFirstDay) {
    StoreMonths();
    ComPtr<IUnknown> employee = Employee(1);
    EXPECT_EQ(Months(employee.Get(), Date(2024, 12, 1), Date(2024, 12, 1)).size(), 1u);
    EXPECT_EQ(Months(employee.Get(), Date(2024, 12, 2), Date(2025, 1, 31)).size(), 1u);
    EXPECT_EQ(Months(employee.Get(), Date(2025, 1, 2), 0.0).size(), 5u)
        << "February and the sample's 2025-11 and first quarter of 2026";
    EXPECT_EQ(Months(employee.Get(), Date(2025, 1, 2), Date(2025, 12, 31)).size(), 2u);
    auto all = Months(employee.Get(), Date(2000, 1, 1), 0.0);
    ASSERT_EQ(all.size(), 7u);
    DATE first = 0;
    ASSERT_EQ(all[0]->get_MonthDate(&first), S_OK);
    EXPECT_EQ(first, Date(2024, 12, 1));
    EXPECT_TRUE(Months(Employee(2).Get(), 0.0, 0.0).empty()) << "the other employee has no months";

    ComPtr<IOrvMonthSource> source;
    ASSERT_EQ(db_.As(&source), S_OK);
    ComPtr<IUnknown> none;
    EXPECT_EQ(source->GetMonths(0, nullptr, 0.0, 0.0, none.GetAddressOf()), E_POINTER);
    EXPECT_EQ(source->GetMonths(0, employee.Get(), 0.0, 0.0, nullptr), E_POINTER);
    LONG count = 0;
    ASSERT_EQ(source->GetMonthCount(0, employee.Get(), &count), S_OK);
    EXPECT_EQ(count, 7);

    // A year's months: 2025 holds January, February and November.
    ComPtr<IUnknown> year;
    ASSERT_EQ(source->GetYearMonths(0, employee.Get(), Date(2025, 6, 30), year.GetAddressOf()), S_OK);
    ComPtr<IOrvUnknownList> yearList;
    ASSERT_EQ(year.As(&yearList), S_OK);
    ASSERT_EQ(yearList->get_Count(&count), S_OK);
    EXPECT_EQ(count, 3);
    ComPtr<IUnknown> one;
    EXPECT_EQ(source->GetMonth(0, employee.Get(), Date(2025, 3, 1), one.GetAddressOf()), S_FALSE);
    EXPECT_FALSE(one);
    ASSERT_EQ(source->GetMonth(0, employee.Get(), Date(2025, 2, 1), one.GetAddressOf()), S_OK);
    ASSERT_EQ(source->GetLastMonth(0, employee.Get(), one.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvMonth> last;
    ASSERT_EQ(one.As(&last), S_OK);
    DATE lastDate = 0;
    ASSERT_EQ(last->get_MonthDate(&lastDate), S_OK);
    EXPECT_EQ(lastDate, Date(2026, 3, 1));
}

TEST_F(StoreClasses, TraceDepartmentPeriodAsksTheStoredEmployeesJob) {
    StoreMonths();
    ComPtr<IUnknown> employee = Employee(1);
    auto months = Months(employee.Get(), Date(2024, 12, 1), Date(2025, 1, 1));
    ASSERT_EQ(months.size(), 2u);
    // December's trace ends the day before the second job, January's on its first day.
    const LONG expected[2][3] = {{2, 2, 3}, {2, 3, 5}};
    for (std::size_t i = 0; i < 2; ++i) {
        ComPtr<IUnknown> traces;
        ASSERT_EQ(months[i]->get_MTraceList(traces.GetAddressOf()), S_OK);
        ComPtr<IOrvUnknownList> list;
        ASSERT_EQ(traces.As(&list), S_OK);
        list->Reset();
        ComPtr<IUnknown> first;
        ASSERT_EQ(list->Next(first.GetAddressOf()), S_OK);
        ComPtr<IOrvDepPeriod> period;
        ASSERT_EQ(first.As(&period), S_OK);
        LONG dep = -1, position = -1, grade = -1;
        Bstr name;
        DATE on = 0;
        ASSERT_EQ(period->GetDepAndPosition(0, employee.Get(), &dep, &position, &grade, name.ReleaseAndGetAddressOf(), &on), S_OK);
        EXPECT_EQ(dep, expected[i][0]);
        EXPECT_EQ(position, expected[i][1]);
        EXPECT_EQ(grade, expected[i][2]);
    }
}

// ------------------------------------------------------- account lists

std::vector<LONG> Ids(IUnknown* unknown) {
    std::vector<LONG> ids;
    ComPtr<IOrvItemList> list;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IOrvItemList, reinterpret_cast<void**>(list.GetAddressOf()))))
        return {-1};
    list->Reset();
    for (ComPtr<IUnknown> item; list->Next(item.ReleaseAndGetAddressOf()) == S_OK;) {
        ComPtr<IOrvRefItem> ref;
        EXPECT_EQ(item.As(&ref), S_OK);
        LONG id = 0;
        ref->get_Id(&id);
        ids.push_back(id);
    }
    return ids;
}

TEST_F(StoreClasses, AccountsToHideComeFromTheStoredEmployeesAccountList) {
    ComPtr<IUnknown> employee = Employee(1);
    ComPtr<IOrvEmployeeAccounts> accounts;
    ASSERT_EQ(employee.As(&accounts), S_OK);
    ComPtr<IUnknown> own;
    ASSERT_EQ(accounts->GetAccountList(0, own.GetAddressOf()), S_OK);
    EXPECT_EQ(Ids(own.Get()), std::vector<LONG>{7001});

    ComPtr<IOrvDocList> list = Create<IOrvDocList>(CLSID_OrvDocList);
    auto bank = [&](DATE dn, DATE dk, LONG account) {
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(db_->NewDocument(0, 10, unknown.GetAddressOf()), S_OK);
        ComPtr<IOrvDocument> doc;
        ASSERT_EQ(unknown.As(&doc), S_OK);
        doc->put_dtDn(dn);
        doc->put_dtDk(dk);
        doc->put_lDcdpod(account);
        LONG result = -1;
        ASSERT_EQ(list->AddItem(doc.Get(), &result), S_OK);
    };
    const DATE on = Date(2025, 6, 15);
    bank(Date(2025, 1, 1), Date(2025, 6, 14), 7001);  // ended the day before: its account is hidden
    ComPtr<IDispatch> hidden;
    ASSERT_EQ(list->GetAccountsToHide(employee.Get(), nullptr, on, 0, hidden.GetAddressOf()), S_OK);
    EXPECT_EQ(Ids(hidden.Get()), std::vector<LONG>{7001});

    bank(Date(2025, 6, 1), Date(2025, 6, 30), 7001);  // one in force as well: still hidden, once
    ASSERT_EQ(list->GetAccountsToHide(employee.Get(), nullptr, on, 0, hidden.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Ids(hidden.Get()), std::vector<LONG>{7001});

    ComPtr<IOrvDocList> current = Create<IOrvDocList>(CLSID_OrvDocList);
    list = current;
    bank(Date(2025, 6, 15), Date(2025, 6, 15), 7001);  // in force on the day itself: shown
    ASSERT_EQ(list->GetAccountsToHide(employee.Get(), nullptr, on, 0, hidden.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_TRUE(Ids(hidden.Get()).empty());

    // The second employee is not paid through accounts.
    ASSERT_EQ(list->GetAccountsToHide(Employee(2).Get(), nullptr, on, 0, hidden.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_TRUE(Ids(hidden.Get()).empty());
}

TEST_F(StoreClasses, PersonnelAnswersUseTheStoredEmployee) {
    ComPtr<IOrvDocList> list = Create<IOrvDocList>(CLSID_OrvDocList);
    DATE d = 0;
    ASSERT_EQ(list->GetFirstEnterDate(Employee(1).Get(), &d), S_OK);
    EXPECT_EQ(d, Date(2015, 3, 1));
    ASSERT_EQ(list->GetResignationDate(Employee(2).Get(), &d), S_OK);
    EXPECT_EQ(d, Date(2025, 6, 29)) << "the list answers the day before the stored dismissal";
}

TEST_F(StoreClasses, BankKeepsItsListsAcrossItsXmlForm) {
    ComPtr<IOrvBank> bank = Create<IOrvBank>(CLSID_OrvBank);
    ComPtr<IUnknown> accountsUnknown;
    ASSERT_EQ(bank->get_AccountList(accountsUnknown.GetAddressOf()), S_OK);
    ComPtr<IOrvItemList> accounts;
    ASSERT_EQ(accountsUnknown.As(&accounts), S_OK);
    ComPtr<IUnknown> employeeAccounts;
    ComPtr<IOrvEmployeeAccounts> ea;
    ASSERT_EQ(Employee(1).As(&ea), S_OK);
    ASSERT_EQ(ea->GetAccountList(0, employeeAccounts.GetAddressOf()), S_OK);
    ComPtr<IOrvItemList> stored;
    ASSERT_EQ(employeeAccounts.As(&stored), S_OK);
    stored->Reset();
    for (ComPtr<IUnknown> item; stored->Next(item.ReleaseAndGetAddressOf()) == S_OK;) accounts->Add(item.Get());
    ComPtr<IOrvRefItem> second;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvRefItem, nullptr, CLSCTX_ALL, IID_IOrvRefItem,
                               reinterpret_cast<void**>(second.GetAddressOf())),
              S_OK);
    second->put_Id(7002);
    second->put_Code(Bstr(u"40817810000000000002"));
    second->put_Name(Bstr(u"Вклад & \"сбережения\""));
    accounts->Add(second.Get());

    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(bank.As(&xml), S_OK);
    Bstr text;
    ASSERT_EQ(xml->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvBank> copy = Create<IOrvBank>(CLSID_OrvBank);
    ComPtr<IOrvObjAsXmlString> copyXml;
    ASSERT_EQ(copy.As(&copyXml), S_OK);
    ASSERT_EQ(copyXml->put_FullString(text.Get()), S_OK);
    Bstr again;
    ASSERT_EQ(copyXml->get_FullString(again.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(again.View(), text.View());

    ComPtr<IUnknown> copied;
    ASSERT_EQ(copy->get_AccountList(copied.GetAddressOf()), S_OK);
    EXPECT_EQ(Ids(copied.Get()), (std::vector<LONG>{7001, 7002}));
    EXPECT_NE(Ids(copied.Get()), std::vector<LONG>{-1});
}

TEST_F(StoreClasses, ItemListRefusesAnEntryOfAnUnknownClassAndKeepsItsEntries) {
    ComPtr<IOrvItemList> list = Create<IOrvItemList>(CLSID_OrvAddressList);
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    ASSERT_EQ(xml->put_FullString(Bstr(u"<ORVADDRLIST><ITEM KIND=\"3\" NAME=\"a\"/><ITEM KIND=\"4\" NAME=\"b\"/></ORVADDRLIST>")),
              S_OK);
    LONG count = 0;
    ASSERT_EQ(list->get_Count(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(FAILED(xml->put_FullString(
        Bstr(u"<ORVADDRLIST><ITEM NAME=\"c\"/><ITEM CLSID=\"{00000000-1111-2222-3333-444444444444}\"/></ORVADDRLIST>"))));
    ASSERT_EQ(list->get_Count(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(xml->put_FullString(Bstr(u"<ORVADDRLIST")), E_INVALIDARG);
    Bstr text;
    ASSERT_EQ(xml->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"a;b");
}

// ------------------------------------------------------------ dated options

TEST_F(StoreClasses, RateAndMinimumWageAreDatedOptionsOfTheStore) {
    ComPtr<IUnknown> settingsUnknown;
    ASSERT_EQ(db_->get_Settings(settingsUnknown.GetAddressOf()), S_OK);
    ComPtr<IOrvSettings> settings;
    ASSERT_EQ(settingsUnknown.As(&settings), S_OK);
    ComPtr<IUnknown> rateUnknown;
    ASSERT_EQ(settings->get_Setting(orv::host::kSettingBankRate, rateUnknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDatedOption> rate;
    ASSERT_EQ(rateUnknown.As(&rate), S_OK);
    auto value = [&](IOrvDatedOption* option, DATE on) {
        orv::Variant v;
        EXPECT_EQ(option->get_Value(on, v.Out()), S_OK);
        EXPECT_EQ(v.vt, VT_CY);
        return v.cyVal.int64;
    };
    EXPECT_EQ(value(rate.Get(), Date(2024, 10, 27)), 190000);
    EXPECT_EQ(value(rate.Get(), Date(2024, 10, 28)), 210000) << "in force from its first day";
    EXPECT_EQ(value(rate.Get(), Date(2022, 12, 31)), 0) << "before the first value";

    ComPtr<IOrvConfig> config;
    ASSERT_EQ(settingsUnknown.As(&config), S_OK);
    CY wage{};
    ASSERT_EQ(config->get_MinimumWage(Date(2024, 12, 31), &wage), S_OK);
    EXPECT_EQ(wage.int64, 192420000);
    ASSERT_EQ(config->get_MinimumWage(Date(2025, 1, 1), &wage), S_OK);
    EXPECT_EQ(wage.int64, 224400000);
    Bstr name;
    ASSERT_EQ(config->get_OrganizationName(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"ООО «Северный завод»");
}

// ---------------------------------------------------- whole bodies

TEST_F(StoreClasses, TextFormCarriesTheWholeBodyAndItsLength) {
    // A body of UTF-16 text whose Length counts characters, as the sick-leave
    // document keeps it: the document's own form writes only Length bytes.
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db_->NewDocument(0, 336, unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc.As(&ext), S_OK);
    const std::u16string body = u"<EXT><BLPR5><BLPROTOCOL AT=\"0\"/></BLPR5></EXT>";
    ASSERT_EQ(ext->put_Body(Bstr(body)), S_OK);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(body.size())), S_OK);
    ASSERT_EQ(doc->Update(0), S_OK);
    ULONG address = 0;
    ASSERT_EQ(doc->get_DB_ADDR(&address), S_OK);

    Bstr exported;
    ASSERT_EQ(View(db_.Get())->ExportText(exported.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvDatabase> other = OpenFile(dir_.File("other.db"));
    ASSERT_EQ(View(other.Get())->ImportText(exported.Get()), S_OK);
    Bstr record, storedBody;
    LONG length = 0;
    ULONG stamp = 0;
    ASSERT_EQ(View(other.Get())->GetStored(address, record.ReleaseAndGetAddressOf(), storedBody.ReleaseAndGetAddressOf(), &length, &stamp),
              S_OK);
    EXPECT_EQ(length, static_cast<LONG>(body.size()));
    ASSERT_EQ(storedBody.ByteLength(), body.size() * 2);
    EXPECT_EQ(std::u16string(storedBody.Get(), body.size()), body);

    Bstr again;
    ASSERT_EQ(View(other.Get())->ExportText(again.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(again.View(), exported.View()) << "export, import, export gives the same text";
}

TEST_F(StoreClasses, SickLeaveWithItsProtocolSurvivesExportAndImportByteForByte) {
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db_->NewDocument(0, 21, unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    doc->put_dtDn(Date(2025, 3, 3));
    doc->put_dtDk(Date(2025, 3, 14));
    ComPtr<IUnknown> specific;
    ASSERT_EQ(doc->GetSpecificObj(specific.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDoc> bl;
    ASSERT_EQ(specific.As(&bl), S_OK);
    ASSERT_EQ(bl->put_MedicalInstitution(Bstr(u"Поликлиника № 3")), S_OK);
    ComPtr<IOrvBLDocProtocol> protocol = Create<IOrvBLDocProtocol>(CLSID_OrvBLDocProtocol);
    protocol->put_Number(Bstr(u"910123456789"));
    protocol->put_BlUsedDays(12);
    ComPtr<IOrvBLProtHistoryItem> year = Create<IOrvBLProtHistoryItem>(CLSID_OrvBLProtHistoryItem);
    year->put_Year(2024);
    year->put_SumForSredn(Cy(6900000000));
    ASSERT_EQ(protocol->AddHistoryItem(year.Get()), S_OK);
    ComPtr<IOrvBlProtPayMonthItem> month = Create<IOrvBlProtPayMonthItem>(CLSID_OrvBlProtPayMonthItem);
    month->put_Month(Date(2025, 3, 1));
    month->put_Days(12);
    month->put_Sum(Cy(189369600));
    ASSERT_EQ(protocol->AddPayMonthItem(month.Get()), S_OK);
    ASSERT_EQ(bl->put_BlProtocol(protocol.Get()), S_OK);
    ASSERT_EQ(bl->UpdateExtension(), S_OK);
    ASSERT_EQ(doc->Update(0), S_OK);
    ULONG address = 0;
    ASSERT_EQ(doc->get_DB_ADDR(&address), S_OK);

    auto stored = [&](IOrvDatabase* db, std::string* body, LONG* length) {
        Bstr record, bytes;
        ULONG stamp = 0;
        ASSERT_EQ(View(db)->GetStored(address, record.ReleaseAndGetAddressOf(), bytes.ReleaseAndGetAddressOf(), length,
                                      &stamp),
                  S_OK);
        body->assign(reinterpret_cast<const char*>(bytes.Get()), bytes.ByteLength());
    };
    std::string body, bodyBack;
    LONG length = 0, lengthBack = 0;
    stored(db_.Get(), &body, &length);
    ASSERT_GT(body.size(), static_cast<std::size_t>(length)) << "Length counts characters, the body holds bytes";

    Bstr exported;
    ASSERT_EQ(View(db_.Get())->ExportText(exported.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvDatabase> other = OpenFile(dir_.File("other.db"));
    ASSERT_EQ(View(other.Get())->ImportText(exported.Get()), S_OK);
    stored(other.Get(), &bodyBack, &lengthBack);
    EXPECT_EQ(bodyBack, body);
    EXPECT_EQ(lengthBack, length);

    // The document read from the other store hands out its whole protocol.
    ComPtr<IUnknown> again;
    ASSERT_EQ(other->GetDocument(0, static_cast<LONG>(address), again.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> againDoc;
    ASSERT_EQ(again.As(&againDoc), S_OK);
    LONG result = 0;
    ASSERT_EQ(againDoc->InitInnerDocExtension(0, &result), S_OK);
    ASSERT_EQ(againDoc->GetSpecificObj(specific.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvBLDoc> againBl;
    ASSERT_EQ(specific.As(&againBl), S_OK);
    ASSERT_EQ(againBl->InitFromExtension(), S_OK);
    ComPtr<IUnknown> protocolBack;
    ASSERT_EQ(againBl->get_BlProtocol(protocolBack.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDocProtocol> p;
    ASSERT_EQ(protocolBack.As(&p), S_OK);
    Bstr number;
    ASSERT_EQ(p->get_Number(number.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(number.View(), u"910123456789");
    ComPtr<IUnknown> months;
    ASSERT_EQ(p->get_PayMonthList(months.GetAddressOf()), S_OK);
    ComPtr<IOrvUnknownList> monthList;
    ASSERT_EQ(months.As(&monthList), S_OK);
    LONG count = 0;
    ASSERT_EQ(monthList->get_Count(&count), S_OK);
    EXPECT_EQ(count, 1);
}

TEST_F(StoreClasses, TextFormRefusesABrokenBody) {
    const std::string text = "<ORVSTORE><ORVDOCUMENT DOCRECORD=\"" + std::string(608, '0') +
                             "\" DBK=\"0\" CONDITION=\"0\" TIMESTAMP=\"0\" STOREBODY=\"ABC\" STORELENGTH=\"1\"/></ORVSTORE>";
    const LONG before = Count(db_.Get());
    EXPECT_EQ(Import(db_.Get(), text), E_INVALIDARG);
    EXPECT_EQ(Count(db_.Get()), before);
}

}  // namespace
}  // namespace storetest
