// The personnel answers of the document list: hire and resignation dates from
// the employment contracts and the employee's own dates, the date moved before
// a resignation, disability, income-tax status, percentage, children and the
// accounts not to be shown.
#include "lists/lists_test_util.h"

#include "frame/values.h"
#include "host/OrvMemoryDatabase.h"

namespace liststest {
namespace {

constexpr LONG kContract = 304;

LONG DayNumber(DATE date) { return static_cast<LONG>(date) - 22281; }

class Personnel : public ::testing::Test {
protected:
    ListsEnvironment env;
    ComPtr<IUnknown> employeeUnknown;
    FakeEmployee* employee = nullptr;
    ComPtr<IOrvDocList> list = NewList();

    void SetUp() override {
        ASSERT_EQ(orv::CreateObjectWithAccess<FakeEmployee>(&employeeUnknown, &employee), S_OK);
    }
    // A contract from start; end is its DcDat1 as a date (0: open-ended); the
    // period's own end dtDk is given apart.
    ComPtr<IOrvDocument> Contract(DATE start, DATE end, DATE dk = 0.0) {
        ComPtr<IOrvDocument> doc = MakeDoc({kContract, 0, start, dk});
        doc->put_DcDat1(end == 0.0 ? 0 : DayNumber(end));
        Add(list.Get(), doc.Get());
        return doc;
    }
    ComPtr<IOrvDocument> Doc(LONG type, DATE dn, DATE dk, LONG id = 0) {
        ComPtr<IOrvDocument> doc = MakeDoc({type, id, dn, dk});
        Add(list.Get(), doc.Get());
        return doc;
    }
    DATE FirstEnter() {
        DATE d = -1;
        EXPECT_EQ(list->GetFirstEnterDate(employeeUnknown.Get(), &d), S_OK);
        return d;
    }
    DATE EnterFromContracts(DATE on) {
        DATE d = -1;
        EXPECT_EQ(list->GetEnterDateFromTds(on, &d), S_OK);
        return d;
    }
    DATE ResignationOn(DATE on) {
        DATE d = -1;
        EXPECT_EQ(list->GetResignationDateOnDate(employeeUnknown.Get(), on, &d), S_OK);
        return d;
    }
    DATE Resignation() {
        DATE d = -1;
        EXPECT_EQ(list->GetResignationDate(employeeUnknown.Get(), &d), S_OK);
        return d;
    }
    DATE Corrected(DATE in) {
        DATE d = -1;
        EXPECT_EQ(list->CorrectDateWithResignationInMonth(employeeUnknown.Get(), in, &d), S_OK);
        return d;
    }
};

TEST_F(Personnel, FirstEnterDateTakesTheEarliestOfHireContractsAndSecondHire) {
    employee->firstEnter = Day(2020, 5, 1);
    EXPECT_EQ(FirstEnter(), Day(2020, 5, 1)) << "no contracts: the hire date";
    Contract(Day(2021, 1, 1), 0.0);
    EXPECT_EQ(FirstEnter(), Day(2020, 5, 1)) << "a later contract does not count";
    Contract(Day(2019, 3, 1), 0.0);
    EXPECT_EQ(FirstEnter(), Day(2019, 3, 1));
    employee->secondEnter = Day(2019, 3, 1);
    EXPECT_EQ(FirstEnter(), Day(2019, 3, 1));
    employee->secondEnter = Day(2018, 1, 1);
    EXPECT_EQ(FirstEnter(), Day(2018, 1, 1)) << "a second hire not later wins";
    employee->secondEnter = Day(2019, 3, 2);
    EXPECT_EQ(FirstEnter(), Day(2019, 3, 1));
    // A contract without a start makes the smallest start 0: the hire date again.
    employee->secondEnter = 0.0;
    Contract(0.0, 0.0);
    EXPECT_EQ(FirstEnter(), Day(2020, 5, 1));
}

TEST_F(Personnel, EnterDateFromContractsIsTheFirstInListOrderStartedByTheDate) {
    EXPECT_EQ(EnterFromContracts(Day(2024, 1, 1)), 0.0);
    Doc(303, Day(2010, 1, 1), 0.0);
    Contract(Day(2021, 1, 1), 0.0);
    Contract(Day(2019, 3, 1), 0.0);
    Contract(Day(2022, 6, 1), 0.0);
    EXPECT_EQ(EnterFromContracts(Day(2020, 1, 1)), Day(2019, 3, 1));
    EXPECT_EQ(EnterFromContracts(Day(2021, 1, 1)), Day(2021, 1, 1)) << "the date itself counts";
    EXPECT_EQ(EnterFromContracts(Day(2020, 12, 31)), Day(2019, 3, 1));
    EXPECT_EQ(EnterFromContracts(0.0), Day(2021, 1, 1)) << "no date: any contract";
    EXPECT_EQ(EnterFromContracts(Day(2019, 2, 28)), 0.0);
}

TEST_F(Personnel, AStoredResignationDateWinsWhateverTheContractsSay) {
    employee->resignation = Day(2024, 3, 15);
    Contract(Day(2020, 1, 1), Day(2030, 1, 1));
    EXPECT_EQ(ResignationOn(Day(2024, 1, 1)), Day(2024, 3, 14));
    EXPECT_EQ(Resignation(), Day(2024, 3, 14));
}

TEST_F(Personnel, ResignationFromContractsTakesTheLatestEndStartedBeforeTheDate) {
    Contract(Day(2020, 1, 1), Day(2023, 6, 30), Day(2023, 6, 30));
    Contract(Day(2021, 1, 1), Day(2022, 12, 31), Day(2022, 12, 31));  // an earlier end does not lower it
    Contract(Day(2024, 2, 1), Day(2024, 12, 31), Day(2024, 12, 31));
    EXPECT_EQ(ResignationOn(Day(2024, 1, 1)), Day(2023, 6, 30));
    EXPECT_EQ(ResignationOn(Day(2024, 2, 1)), Day(2023, 6, 30)) << "a contract starting on the date does not count";
    EXPECT_EQ(ResignationOn(Day(2024, 2, 2)), Day(2024, 12, 31));
    EXPECT_EQ(ResignationOn(Day(2020, 1, 1)), 0.0) << "no contract started before";
    EXPECT_EQ(Resignation(), Day(2024, 12, 31)) << "without a date every contract counts";
}

TEST_F(Personnel, OpenEndedContractsInTheResignationSearch) {
    // An open-ended first contract stands for "no end" and later ends do not reach it.
    Contract(Day(2020, 1, 1), 0.0, Day(2020, 12, 31));
    Contract(Day(2021, 1, 1), Day(2023, 6, 30), Day(2023, 6, 30));
    EXPECT_EQ(ResignationOn(Day(2024, 1, 1)), 0.0);
    EXPECT_EQ(Resignation(), 0.0);
}

TEST_F(Personnel, AnOpenEndedContractAfterAClosedOneKeepsTheClosedEnd) {
    Contract(Day(2020, 1, 1), Day(2022, 12, 31), Day(2022, 12, 31));
    ComPtr<IOrvDocument> open = Contract(Day(2023, 1, 1), 0.0, 0.0);
    EXPECT_EQ(ResignationOn(Day(2024, 1, 1)), Day(2022, 12, 31));
    EXPECT_EQ(Resignation(), Day(2022, 12, 31));
    // When the open-ended contract's period holds the date there is no resignation.
    open->put_dtDk(Day(2049, 12, 31));
    EXPECT_EQ(ResignationOn(Day(2024, 1, 1)), 0.0);
    EXPECT_EQ(ResignationOn(Day(2023, 1, 1)), 0.0) << "in force from its first day";
    EXPECT_EQ(ResignationOn(Day(2022, 12, 31)), Day(2022, 12, 31)) << "not yet started";
    EXPECT_EQ(Resignation(), Day(2022, 12, 31)) << "the search without a date has no such check";
}

TEST_F(Personnel, TheEmployeeIsRequiredAndItsFailuresPassedOn) {
    DATE d = 0;
    EXPECT_EQ(list->GetResignationDate(nullptr, &d), E_POINTER);
    EXPECT_EQ(list->GetFirstEnterDate(employeeUnknown.Get(), nullptr), E_POINTER);
    ComPtr<IOrvDocument> notAnEmployee = MakeDoc({});
    EXPECT_EQ(list->GetResignationDateOnDate(notAnEmployee.Get(), 0.0, &d), E_NOINTERFACE);
    employee->failDates = E_ACCESSDENIED;
    EXPECT_EQ(list->GetFirstEnterDate(employeeUnknown.Get(), &d), E_ACCESSDENIED);
    EXPECT_EQ(d, 0.0);
}

TEST_F(Personnel, CorrectDateMovesADateBeforeAResignationInAnEarlierMonth) {
    employee->resignation = Day(2024, 2, 10);
    EXPECT_EQ(Corrected(Day(2024, 3, 31)), Day(2024, 3, 31)) << "the last day of a month stays";
    EXPECT_EQ(Corrected(Day(2024, 3, 15)), Day(2024, 2, 29));
    EXPECT_EQ(Corrected(Day(2024, 3, 15) + 0.5), Day(2024, 2, 29));
    EXPECT_EQ(Corrected(Day(2024, 2, 15)), Day(2024, 2, 15)) << "a resignation in the same month";
    employee->resignation = Day(2024, 3, 20);
    EXPECT_EQ(Corrected(Day(2024, 3, 15)), Day(2024, 3, 15));
    // Without any resignation the rule compares 0 with the month's first day.
    employee->resignation = 0.0;
    EXPECT_EQ(Corrected(Day(2024, 3, 15)), Day(2024, 2, 29));
    EXPECT_EQ(Corrected(Day(2024, 2, 29)), Day(2024, 2, 29));
}

TEST_F(Personnel, DisabilityIsTheFirstGroupFromOneToThreeInForce) {
    auto status = [&](DATE on) {
        LONG s = -1;
        EXPECT_EQ(list->IsInvalidOnDate(on, &s), S_OK);
        return s;
    };
    ComPtr<IOrvDocument> none = Doc(41, Day(2024, 1, 1), Day(2024, 6, 30));
    ComPtr<IOrvDocument> fourth = Doc(41, Day(2024, 1, 1), Day(2024, 6, 30));
    ComPtr<IOrvDocument> second = Doc(41, Day(2024, 2, 1), Day(2024, 3, 31));
    ComPtr<IOrvDocument> third = Doc(41, Day(2024, 1, 1), Day(2024, 12, 31));
    ComPtr<IOrvDocument> otherType = Doc(40, Day(2020, 1, 1), Day(2030, 1, 1));
    fourth->put_lDcdpod(4);
    second->put_lDcdpod(2);
    third->put_lDcdpod(3);
    otherType->put_lDcdpod(1);
    EXPECT_EQ(status(Day(2024, 1, 31)), 3);
    EXPECT_EQ(status(Day(2024, 2, 1)), 2);
    EXPECT_EQ(status(Day(2024, 3, 31)), 2);
    EXPECT_EQ(status(Day(2024, 4, 1)), 3);
    EXPECT_EQ(status(Day(2025, 1, 1)), 0);
    EXPECT_EQ(list->IsInvalidOnDate(0.0, nullptr), E_POINTER);
}

TEST_F(Personnel, DisabilityOnTheResignationDayInsideTheMonth) {
    auto status = [&](DATE on, bool check) {
        LONG s = -1;
        EXPECT_EQ(list->IsInvalidOnDate2(employeeUnknown.Get(), on, check ? VARIANT_TRUE : VARIANT_FALSE, &s), S_OK);
        return s;
    };
    ComPtr<IOrvDocument> doc = Doc(41, Day(2024, 3, 1), Day(2024, 3, 19));
    doc->put_lDcdpod(1);
    EXPECT_EQ(status(Day(2024, 3, 25), false), 0);
    EXPECT_EQ(status(Day(2024, 3, 10), false), 1);
    employee->resignation = Day(2024, 3, 20);  // the last working day is 19 March
    EXPECT_EQ(status(Day(2024, 3, 25), true), 1) << "found by the resignation day";
    EXPECT_EQ(status(Day(2024, 3, 25), false), 0);
    employee->resignation = Day(2024, 2, 20);
    EXPECT_EQ(status(Day(2024, 3, 25), true), 0) << "a resignation in an earlier month";
    // A resignation after the month: its day is not in the month either.
    doc->put_dtDk(Day(2024, 4, 30));
    employee->resignation = Day(2024, 4, 2);
    EXPECT_EQ(status(Day(2024, 2, 25), true), 0);
    EXPECT_EQ(status(Day(2024, 4, 1), true), 1);
}

TEST_F(Personnel, IncomeTaxMaskFromResignationAndEntryDates) {
    const DATE month = Day(2024, 3, 1), end = Day(2024, 3, 31);
    auto mask = [&] {
        LONG m = -1, s = -1;
        EXPECT_EQ(list->GetNdflStatusInPeriod(employeeUnknown.Get(), month, end, 1, &m, &s), S_OK);
        return m;
    };
    employee->firstEnter = Day(2020, 1, 1);
    EXPECT_EQ(mask(), 0);
    employee->resignation = Day(2024, 3, 16);
    EXPECT_EQ(mask(), 1);
    employee->resignation = Day(2024, 2, 16);
    EXPECT_EQ(mask(), 1 + 2);
    employee->resignation = 0.0;
    employee->firstEnter = Day(2024, 3, 10);
    EXPECT_EQ(mask(), 8);
    employee->firstEnter = Day(2024, 4, 10);
    EXPECT_EQ(mask(), 4 + 8);
    // A contract started by the end gives the entry date before the hire date.
    Contract(Day(2024, 2, 1), 0.0, Day(2049, 12, 31));
    EXPECT_EQ(mask(), 0);
    LONG m = 0, s = 0;
    EXPECT_EQ(list->GetNdflStatusInPeriod(employeeUnknown.Get(), month, end, 0, nullptr, &s), E_POINTER);
    EXPECT_EQ(list->GetNdflStatusInPeriod(employeeUnknown.Get(), month, end, 0, &m, nullptr), E_POINTER);
}

TEST_F(Personnel, IncomeTaxStatusInItsOrderOfSources) {
    const DATE month = Day(2024, 3, 1), end = Day(2024, 3, 31);
    auto status = [&](LONG param) {
        LONG m = -1, s = -1;
        EXPECT_EQ(list->GetNdflStatusInPeriod(employeeUnknown.Get(), month, end, param, &m, &s), S_OK);
        return s;
    };
    EXPECT_EQ(status(0), 0);
    ComPtr<IOrvDocument> contract = Contract(Day(2024, 3, 5), 0.0, Day(2024, 3, 20));
    EXPECT_EQ(status(0), 1) << "a contract meeting the period";
    contract->put_dtDn(Day(2024, 4, 1));
    contract->put_dtDk(Day(2024, 4, 30));
    EXPECT_EQ(status(0), 0);

    ComPtr<IOrvDocument> old = Doc(40, Day(2024, 1, 1), Day(2024, 3, 10));
    old->put_dcShort(1, 3);
    EXPECT_EQ(status(0), 2) << "type 40 with 3 meeting the period";
    ComPtr<IOrvDocument> oldInForce = Doc(40, Day(2024, 3, 31), Day(2024, 12, 31));
    oldInForce->put_dcShort(1, 5);
    EXPECT_EQ(status(2), 1) << "the one in force at the end comes first";
    ComPtr<IOrvDocument> zero = Doc(40, Day(2024, 3, 1), Day(2024, 12, 31));
    EXPECT_EQ(status(2), 1) << "type 40 with 0 does not count";

    ComPtr<IOrvDocument> meeting = Doc(390, Day(2024, 2, 1), Day(2024, 3, 1));
    meeting->put_lDcdpod(3);
    meeting->put_lDcProc(1);
    ComPtr<IOrvDocument> inForce = Doc(390, Day(2024, 3, 1), Day(2024, 12, 31));
    inForce->put_lDcdpod(6);
    EXPECT_EQ(status(0), 3) << "without lDcProc the one in force does not count for Param 0";
    EXPECT_EQ(status(1), 6);
    EXPECT_EQ(status(2), 1) << "Param 2 skips type 390";
    inForce->put_lDcdpod(0);
    EXPECT_EQ(status(1), 1) << "a status 0 of type 390 falls through to type 40";
}

TEST_F(Personnel, PercentOfATypeTwentySevenDocument) {
    auto percent = [&](LONG id) {
        CY p = orv::MakeCurrency(-1);
        EXPECT_EQ(list->GetPercentFromDocWithId(id, &p), S_OK);
        return p.int64;
    };
    ComPtr<IOrvDocument> withSum = Doc(27, 0.0, 0.0, 1);
    withSum->put_Dcms(2, orv::MakeCurrency(125000));
    withSum->put_lDcProc(40);
    ComPtr<IOrvDocument> withWhole = Doc(27, 0.0, 0.0, 2);
    withWhole->put_lDcProc(15);
    ComPtr<IOrvDocument> otherType = Doc(28, 0.0, 0.0, 3);
    otherType->put_Dcms(2, orv::MakeCurrency(125000));
    EXPECT_EQ(percent(1), 125000);
    EXPECT_EQ(percent(2), 150000);
    EXPECT_EQ(percent(3), 0);
    EXPECT_EQ(percent(4), 0);
    EXPECT_EQ(list->GetPercentFromDocWithId(1, nullptr), E_POINTER);
}

TEST_F(Personnel, ChildrenAsPipedText) {
    Bstr text;
    ASSERT_EQ(list->GetChildrenPipedString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"");
    ComPtr<IOrvDocument> a = Doc(410, 0.0, 0.0, 5), other = Doc(41, 0.0, 0.0, 8), b = Doc(410, 0.0, 0.0, 6),
                         c = Doc(410, 0.0, 0.0, 7);
    a->put_Memo(Bstr(u"Иван"));
    a->put_DcDat1(DayNumber(Day(2015, 6, 1)));
    a->put_dcLong(0, 1999);
    b->put_Memo(Bstr(u"Мария"));
    b->put_dcLong(0, 2018);
    c->put_Memo(Bstr(u"Пётр"));
    other->put_Memo(Bstr(u"не ребенок"));
    ASSERT_EQ(list->GetChildrenPipedString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"5: Иван\t01.06.2015|6: Мария\t2018|7: Пётр\t");
    EXPECT_EQ(list->GetChildrenPipedString(nullptr), E_POINTER);
}

TEST_F(Personnel, AccountsOfBankDocumentsNotInForceAreHidden) {
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                               reinterpret_cast<void**>(db.ReleaseAndGetAddressOf())),
              S_OK);
    const DATE on = Day(2024, 6, 15);
    auto bank = [&](DATE dn, DATE dk, LONG account) {
        ComPtr<IOrvDocument> doc = Doc(10, dn, dk);
        doc->put_lDcdpod(account);  // the payment's AccountId
        doc->put_OrvBD(db.Get());
    };
    bank(Day(2024, 1, 1), Day(2024, 6, 14), 501);  // ended the day before
    bank(Day(2024, 6, 15), Day(2024, 6, 15), 502);  // in force on the day itself
    bank(Day(2024, 6, 16), Day(2024, 12, 31), 501); // starts the day after
    bank(Day(2023, 1, 1), Day(2023, 12, 31), 503);
    Doc(11, Day(2020, 1, 1), Day(2020, 1, 2));

    ComPtr<IUnknown> accountsUnknown;
    FakeItemList* accounts = nullptr;
    ASSERT_EQ(orv::CreateObjectWithAccess<FakeItemList>(&accountsUnknown, &accounts), S_OK);
    for (LONG id : {504, 503, 502, 501}) {
        ComPtr<IOrvRefItem> item;
        ASSERT_EQ(orv::CreateObject<orv::host::OrvRefItem>(&item), S_OK);
        item->put_Id(id);
        accounts->Add(item.Get());
    }
    auto hiddenIds = [&](IUnknown* given) {
        ComPtr<IDispatch> result;
        EXPECT_EQ(list->GetAccountsToHide(employeeUnknown.Get(), given, on, 3, result.ReleaseAndGetAddressOf()), S_OK);
        std::vector<LONG> ids;
        ComPtr<IOrvItemList> hidden;
        if (!result || FAILED(result.As(&hidden))) return std::vector<LONG>{-1};
        hidden->Reset();
        for (;;) {
            ComPtr<IUnknown> item;
            if (hidden->Next(item.ReleaseAndGetAddressOf()) != S_OK) break;
            ComPtr<IOrvRefItem> ref;
            item.As(&ref);
            LONG id = 0;
            ref->get_Id(&id);
            ids.push_back(id);
        }
        return ids;
    };
    EXPECT_EQ(hiddenIds(accountsUnknown.Get()), (std::vector<LONG>{503, 501})) << "in the accounts' order, once each";
    EXPECT_EQ(employee->accountListCalls, 0);
    employee->accounts = accountsUnknown;
    EXPECT_EQ(hiddenIds(nullptr), (std::vector<LONG>{503, 501})) << "the employee's own accounts";
    EXPECT_EQ(employee->accountListCalls, 1);
    for (LONG pipe : employee->pipesSeen) EXPECT_EQ(pipe, 3);
    employee->accountStatus = 0;
    EXPECT_TRUE(hiddenIds(accountsUnknown.Get()).empty()) << "not paid through accounts on the date";
    EXPECT_EQ(list->GetAccountsToHide(employeeUnknown.Get(), nullptr, on, 3, nullptr), E_POINTER);
}

}  // namespace
}  // namespace liststest
