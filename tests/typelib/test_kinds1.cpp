// Interfaces of the sick-leave, vacation, grade, timesheet, contract and
// pattern-kind families: identifiers, member counts, dispatch identifiers,
// slot order and signatures.
#include "support/typeinfo_check.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using orv::ti::Interface;
using orv::ti::Member;

template <class I>
const Interface& Info() {
    return TypeInfoOf(static_cast<const I*>(nullptr));
}

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

IID FromText(const char16_t* text) {
    IID iid{};
    EXPECT_EQ(IIDFromString(text, &iid), S_OK) << "unparsable identifier text";
    return iid;
}

struct DualCase {
    const Interface& info;
    const IID& iid;
    const char16_t* catalogueText;  // as printed in the interface catalogue
    std::size_t members;            // entries of the interface, a get and a put counting twice
};

const std::vector<DualCase>& DualCases() {
    static const std::vector<DualCase> cases = {
        {Info<IOrvBLDoc>(), IID_IOrvBLDoc, u"{2CCA7543-11CA-11D4-B910-0000C0A3E6F3}", 38},
        {Info<IOrvBLDocProtocol>(), IID_IOrvBLDocProtocol, u"{2CCA7545-11CA-11D4-B910-0000C0A3E6F3}", 83},
        {Info<IOrvBLProtHistoryItem>(), IID_IOrvBLProtHistoryItem, u"{2CCA7547-11CA-11D4-B910-0000C0A3E6F3}", 18},
        {Info<IOrvBlProtPayMonthItem>(), IID_IOrvBlProtPayMonthItem, u"{2CCA7549-11CA-11D4-B910-0000C0A3E6F3}", 44},
        {Info<IOrvOTDoc>(), IID_IOrvOTDoc, u"{4DB88743-8936-11D4-B964-0000C0A3E6F3}", 23},
        {Info<IOrvOKDoc>(), IID_IOrvOKDoc, u"{57A1C5F3-FA41-11D3-B90B-0000C0A3E6F3}", 33},
        {Info<IOrvTCDoc>(), IID_IOrvTCDoc, u"{46E7DA0E-BEF3-470E-9FCF-D442FC519B2E}", 37},
        {Info<IOrvTDDoc>(), IID_IOrvTDDoc, u"{D5E7E7F3-F165-4E39-8F80-93EACF8DCE1B}", 49},
        {Info<IOrvVVDoc>(), IID_IOrvVVDoc, u"{B22C1673-B9BA-42F6-AA02-CE88B4CAED8E}", 2},
        {Info<IOrvSRDoc>(), IID_IOrvSRDoc, u"{3F4194F2-1197-4FA1-9557-F7FCDA4E202B}", 8},
        {Info<IOrvTVDoc>(), IID_IOrvTVDoc, u"{608652A9-E2C4-4755-92C0-17A586D17DF2}", 14},
        {Info<IOrvZZDoc>(), IID_IOrvZZDoc, u"{36B862C7-1C5E-476F-BB64-80DAB6DD6E92}", 8},
        {Info<IOrvMGDoc>(), IID_IOrvMGDoc, u"{2868A321-A3D5-428D-B4DE-AF6DD5C1754B}", 8},
        {Info<IOrvMIDoc>(), IID_IOrvMIDoc, u"{75F17C8D-A191-45B8-A910-616CC2758D8A}", 8},
        {Info<IOrvIJDoc>(), IID_IOrvIJDoc, u"{0B46D7AD-E8DA-4F9C-9EF2-375B984FB990}", 8},
        {Info<IOrvJBDoc>(), IID_IOrvJBDoc, u"{F819F2F0-97BD-4784-B82F-19E81FB8DB26}", 20},
        {Info<IOrvMDDoc>(), IID_IOrvMDDoc, u"{E55825E8-C993-4D9D-B52E-6042FE323FF0}", 10},
        {Info<IOrvMYDoc>(), IID_IOrvMYDoc, u"{96AC1DB3-8DA4-4157-AF41-783483E0A864}", 28},
    };
    return cases;
}

std::string NameOf(const Interface& info) { return orv::Utf16ToUtf8(info.name); }

// Members of a table sorted by vtable slot.
std::vector<Member> BySlot(const Interface& info) {
    std::vector<Member> m(info.members, info.members + info.count);
    std::sort(m.begin(), m.end(), [](const Member& a, const Member& b) { return a.slot < b.slot; });
    return m;
}

// "1 Name, 2 Other, ..." -> each name must carry that dispid (as a get, a
// method or a put-only property), and the table may hold no other names.
void ExpectDispIds(const Interface& info, const std::string& list) {
    SCOPED_TRACE(NameOf(info));
    std::set<std::u16string> listed;
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find(',', pos);
        if (end == std::string::npos) end = list.size();
        std::string item = list.substr(pos, end - pos);
        item.erase(0, item.find_first_not_of(' '));
        const std::size_t blank = item.find(' ');
        ASSERT_NE(blank, std::string::npos) << item;
        const DISPID expected = std::stoi(item.substr(0, blank));
        const std::u16string name = U16(item.substr(blank + 1));
        listed.insert(name);
        DISPID got = orv::test::DispIdOf(info, name, INVOKE_PROPERTYGET);
        if (got < 0) got = orv::test::DispIdOf(info, name, INVOKE_FUNC);
        if (got < 0) got = orv::test::DispIdOf(info, name, INVOKE_PROPERTYPUT);
        EXPECT_EQ(got, expected) << item;
        pos = end + 1;
    }
    for (std::size_t i = 0; i < info.count; ++i)
        EXPECT_TRUE(listed.count(info.members[i].name)) << "unlisted member " << orv::Utf16ToUtf8(info.members[i].name);
}

template <class P>
std::vector<VARTYPE> TypesOf(P) {
    using S = orv::ti::Signature<P>;
    return std::vector<VARTYPE>(S::types, S::types + S::arity);
}

template <class P>
int SlotOf(P pmf) {
    return orv::ti::VtableSlotOf(pmf);
}

constexpr VARTYPE ByRef(VARTYPE vt) { return static_cast<VARTYPE>(vt | VT_BYREF); }

TEST(Kinds1Typelib, EveryDualTableIsConsistentWithItsCatalogueEntry) {
    for (const auto& c : DualCases()) {
        SCOPED_TRACE(NameOf(c.info));
        orv::test::CheckTypeInfoTable(c.info);
        EXPECT_EQ(c.info.count, c.members);
        EXPECT_TRUE(IsEqualIID(FromText(c.catalogueText), c.iid));
        ASSERT_NE(c.info.iid, nullptr);
        EXPECT_TRUE(IsEqualIID(*c.info.iid, c.iid));
        EXPECT_EQ(orv::Utf16ToUtf8(c.info.help), NameOf(c.info) + " Interface");
    }
}

TEST(Kinds1Typelib, CustomInterfacesCarryTheirCatalogueIdentifiers) {
    EXPECT_TRUE(IsEqualIID(FromText(u"{68EAA380-6F4F-11D4-B956-0000C0A3E6F3}"), uuidof<IOrvENUMBlTypes>()));
    EXPECT_TRUE(IsEqualIID(FromText(u"{7DE4425E-E275-4B2F-B448-149943B93381}"), uuidof<IOrvOTProtocol>()));
}

// Slots follow dispatch identifiers, a property's get before its put.
TEST(Kinds1Typelib, SlotsRunInDispatchIdentifierOrder) {
    for (const auto& c : DualCases()) {
        SCOPED_TRACE(NameOf(c.info));
        const auto members = BySlot(c.info);
        for (std::size_t i = 1; i < members.size(); ++i) {
            const Member& a = members[i - 1];
            const Member& b = members[i];
            EXPECT_LE(a.dispid, b.dispid) << orv::Utf16ToUtf8(b.name) << " precedes a lower dispid";
            if (a.dispid == b.dispid) {
                EXPECT_EQ(a.kind, INVOKE_PROPERTYGET) << orv::Utf16ToUtf8(a.name);
                EXPECT_EQ(b.kind, INVOKE_PROPERTYPUT) << orv::Utf16ToUtf8(b.name);
            }
        }
    }
}

// Every property can be written as well as read, except the few read-only ones.
TEST(Kinds1Typelib, PropertiesHaveBothAccessorsUnlessReadOnly) {
    const std::set<std::string> readOnly = {"IOrvBLDocProtocol.HistoryList", "IOrvBLDocProtocol.PayMonthList",
                                            "IOrvTDDoc.OtProtocol", "IOrvTDDoc.OrvDocument"};
    for (const auto& c : DualCases()) {
        for (std::size_t i = 0; i < c.info.count; ++i) {
            const Member& m = c.info.members[i];
            if (m.kind != INVOKE_PROPERTYGET) continue;
            const std::string full = NameOf(c.info) + "." + orv::Utf16ToUtf8(m.name);
            const bool hasPut = orv::test::DispIdOf(c.info, m.name, INVOKE_PROPERTYPUT) >= 0;
            EXPECT_EQ(hasPut, !readOnly.count(full)) << full;
        }
    }
}

TEST(Kinds1Typelib, PublishedDispatchIdentifiers) {
    ExpectDispIds(Info<IOrvBLDoc>(),
                  "1 BlProtocol, 2 CalDaysBased, 3 HoursBased, 4 StartOfBulleten, 5 OverTimePlus, 6 xmlBasedProtocol, "
                  "7 InitFromExtension, 8 UpdateExtension, 9 IsInitialized, 10 RelativeName, 11 RelativeBirthDay, "
                  "12 RelativeBirthYear, 13 Vaccination, 14 PainfulIllness, 15 BabyInvalid, 16 RegimeViolation, "
                  "17 YearsForAverage, 18 CompanyFullyPaid, 19 MedicalInstitution, 20 DoctorFIO");
    ExpectDispIds(Info<IOrvBLDocProtocol>(),
                  "1 CalcFromOkladOrTarif, 2 CalcInDays, 3 If32TypeAndProcHBChanged, 4 IfSrednHBEntered, "
                  "5 If1p12PremHBEntered, 6 IfProcentHBEntered, 7 FirstFactSredn, 8 SecondSredn, 9 SumFromHighProc, "
                  "10 SumFromLowProc, 11 TotSumForSredn, 12 TotBlSum, 13 LimitSum, 14 LengthBeforeLoweringProc, "
                  "15 LengthAfterLoweringProc, 16 BlUsedProcent, 17 StagYears, 18 BlUsedDays, 19 BlUsedHours, "
                  "20 HistoryCount, 21 PayMonthCount, 28 CalendarValues, 29 XmlSrednFromPrem, 30 XmlPremProtocol, "
                  "31 EnteredPremiumSumm, 32 UsedProcent, 34 TotSumForSredn2, 35 TotBlSum2, 37 OriginatorType, "
                  "38 SrednFromPrem, 39 Dn, 40 Dk, 42 SType, 43 Number, 46 CalcType2011, 47 XmlDirectPremProtocol, "
                  "22 AddHistoryItem, 23 AddPayMonthItem, 24 HistoryList, 25 PayMonthList, 26 Clean, "
                  "27 SetAccessType, 33 CleanUpHistory, 36 CleanUpPayMonthsAfter, 44 xmlProtocol, 45 GetAccessType");
    ExpectDispIds(Info<IOrvBLProtHistoryItem>(),
                  "5 SumForSredn2, 4 SumForSredn, 3 Month, 2 Hours, 1 Days, 7 NormHours, 6 NormDays, 8 Year, "
                  "9 YearLimit");
    ExpectDispIds(Info<IOrvBlProtPayMonthItem>(),
                  "13 Sum2, 5 Sum, 15 CompanySum, 19 CompanySimpleSum, 9 SecondSredn, 10 ProcSredn, 7 OkladWithNadb, "
                  "6 Oklad, 20 VipSredn, 21 VipBase, 22 WorkedHours, 3 NormHours, 11 MonthLimit, 4 Month, 2 Hours, "
                  "16 CompanyHours, 18 CompanySimpleHours, 8 FirstSredn, 1 Days, 14 CompanyDays, "
                  "17 CompanySimpleDays, 12 NormDays");
    ExpectDispIds(Info<IOrvOTDoc>(),
                  "1 MonthsForSredn, 2 ProtocolAsXml, 3 LastDCur, 4 ExtraDays2, 5 ExtraDays3, 6 OnlyExtraDays, "
                  "7 CalcAllDates, 8 OutOfAccount, 9 DaysOfCompensation, 10 ExtraType, 11 DopOtpCalcType, "
                  "12 IsNotMome");
}

// The pattern kinds keep the property names their extension vocabulary gives.
TEST(Kinds1Typelib, PatternKindsCarryTheirVocabulary) {
    struct Case {
        const Interface& info;
        std::vector<const char*> properties;
        bool extension;
    };
    const Case cases[] = {
        {Info<IOrvVVDoc>(), {"OtProtocol"}, false},
        {Info<IOrvSRDoc>(), {"Hours"}, true},
        {Info<IOrvTVDoc>(), {"NormGrafic", "NormGrafic2", "FactGrafic", "FactGrafic2"}, true},
        {Info<IOrvZZDoc>(), {"Recipient", "AddressString"}, true},
        {Info<IOrvMIDoc>(), {"FirstInspection", "NumberFLG", "SanGigienEdu"}, true},
        {Info<IOrvIJDoc>(), {"IJName", "IJSeria", "IJDate"}, true},
        {Info<IOrvMDDoc>(), {"SprNumber", "SprSrok", "SprIssueDate"}, true},
        {Info<IOrvJBDoc>(),
         {"Name", "Position", "Kurs", "StagFullBefore", "StagContBefore", "LgStag", "MaxContStag",
          "StagFullBeforePeriods"},
         true},
        {Info<IOrvMGDoc>(), {}, true},
        {Info<IOrvMYDoc>(), {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(NameOf(c.info));
        for (const char* p : c.properties) {
            EXPECT_GT(orv::test::DispIdOf(c.info, U16(p), INVOKE_PROPERTYGET), 0) << p;
            EXPECT_GT(orv::test::DispIdOf(c.info, U16(p), INVOKE_PROPERTYPUT), 0) << p;
        }
        EXPECT_EQ(orv::test::DispIdOf(c.info, u"InitFromExtension", INVOKE_FUNC) > 0, c.extension);
        EXPECT_EQ(orv::test::DispIdOf(c.info, u"UpdateExtension", INVOKE_FUNC) > 0, c.extension);
    }
}

TEST(Kinds1Typelib, SignaturesCarryTheDocumentedTypes) {
    EXPECT_EQ(TypesOf(&IOrvOTDoc::CalcAllDates),
              (std::vector<VARTYPE>{VT_UNKNOWN, VT_R8, VT_I4, VT_I4, VT_I4, VT_I4, ByRef(VT_R8), ByRef(VT_R8),
                                    ByRef(VT_R8), ByRef(VT_R8)}));
    EXPECT_EQ(TypesOf(&IOrvOTDoc::get_DopOtpCalcType), (std::vector<VARTYPE>{VT_I4, ByRef(VT_I2)}));
    EXPECT_EQ(TypesOf(&IOrvOKDoc::GetAmountBeSmart), (std::vector<VARTYPE>{VT_I4, VT_R8, VT_UNKNOWN, ByRef(VT_CY)}));
    EXPECT_EQ(TypesOf(&IOrvOKDoc::put_WorkDayLength), (std::vector<VARTYPE>{VT_R4}));
    EXPECT_EQ(TypesOf(&IOrvTCDoc::GetTotalHours), (std::vector<VARTYPE>{ByRef(VT_BSTR), VT_R8, VT_R8}));
    EXPECT_EQ(TypesOf(&IOrvTCDoc::put_DayType), (std::vector<VARTYPE>{VT_I4, VT_I4, VT_I2}));
    EXPECT_EQ(TypesOf(&IOrvTDDoc::put_ResignPosobie), (std::vector<VARTYPE>{VT_DISPATCH}));
    EXPECT_EQ(TypesOf(&IOrvTDDoc::get_AveCompensation), (std::vector<VARTYPE>{ByRef(VT_CY)}));
    EXPECT_EQ(TypesOf(&IOrvBLDocProtocol::get_UsedProcent), (std::vector<VARTYPE>{ByRef(VT_R8)}));
    EXPECT_EQ(TypesOf(&IOrvENUMBlTypes::Next), (std::vector<VARTYPE>{ByRef(VT_BSTR), ByRef(VT_I4)}));
    EXPECT_EQ(TypesOf(&IOrvOTProtocol::AddPaiedInterval),
              (std::vector<VARTYPE>{VT_R8, VT_R8, VT_R8, VT_I4, VT_I4, VT_I4, VT_CY, VT_I2}));
    EXPECT_EQ(TypesOf(&IOrvOTProtocol::get_Flag), (std::vector<VARTYPE>{ByRef(VT_UI4)}));
}

// Custom interfaces have no table: their slots are checked against the listed order.
TEST(Kinds1Typelib, CustomInterfacesKeepTheirListedSlots) {
    EXPECT_EQ(SlotOf(&IOrvENUMBlTypes::Reset), 3);
    EXPECT_EQ(SlotOf(&IOrvENUMBlTypes::Next), 4);
    EXPECT_EQ(SlotOf(&IOrvENUMBlTypes::TypeToName), 5);
    EXPECT_EQ(SlotOf(&IOrvENUMBlTypes::GetPipedString), 6);
    EXPECT_EQ(SlotOf(&IOrvENUMBlTypes::ApplyFilter), 7);

    EXPECT_EQ(SlotOf(&IOrvOTProtocol::Load), 3);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::Save), 4);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::get_Flag), 5);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::get_MonFlag), 31);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::Clean), 39);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::put_NormDaysCommonExtra), 53);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::ReplaceProtocols), 56);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::put_DontAlterExtension), 57);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::CheckAccessType), 58);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::ErasePaiedMonthsAfter), 65);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::AddPaiedInterval), 66);
    EXPECT_EQ(SlotOf(&IOrvOTProtocol::put_MonDirectPrem), 72);
}

}  // namespace
