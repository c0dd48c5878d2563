// The core families of the type library: identifiers against the catalogue's
// printed values, the dispatch tables of the dual interfaces, and the slot
// layout of the custom interfaces that other components call by position.
#include "support/typeinfo_check.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using orv::test::CheckTypeInfoTable;
using orv::test::DispIdOf;

// Reads the braced registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
bool ParseGuid(std::u16string_view s, GUID* out) {
    if (s.size() != 38 || s.front() != u'{' || s.back() != u'}') return false;
    std::vector<std::uint8_t> bytes;
    std::size_t i = 1;
    for (int group : {8, 4, 4, 4, 12}) {
        for (int k = 0; k < group; k += 2, i += 2) {
            auto nib = [](char16_t c) -> int {
                if (c >= u'0' && c <= u'9') return c - u'0';
                if (c >= u'A' && c <= u'F') return c - u'A' + 10;
                return -1;
            };
            const int hi = nib(s[i]), lo = nib(s[i + 1]);
            if (hi < 0 || lo < 0) return false;
            bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        }
        if (i < 37 && s[i++] != u'-') return false;
    }
    out->Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
    out->Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    out->Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int k = 0; k < 8; ++k) out->Data4[k] = bytes[8 + k];
    return true;
}

struct NamedGuid {
    const char16_t* text;
    const GUID* value;
};

void ExpectGuids(const std::vector<NamedGuid>& rows) {
    std::set<std::u16string> seen;
    for (const auto& row : rows) {
        SCOPED_TRACE(orv::Utf16ToUtf8(row.text));
        GUID parsed{};
        ASSERT_TRUE(ParseGuid(row.text, &parsed));
        EXPECT_TRUE(parsed == *row.value);
        EXPECT_TRUE(seen.insert(row.text).second) << "identifier listed twice";
    }
}

TEST(TypelibCoreIds, ClassAndLibraryIdentifiersMatchTheCatalogue) {
    GUID lib{};
    ASSERT_TRUE(ParseGuid(u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}", &lib));
    EXPECT_TRUE(lib == LIBID_ORVDOCSLib);

    const std::vector<NamedGuid> classes = {
    {u"{4EAF7A60-AFB4-11D3-B8F1-0000C0A3E6F3}", &CLSID_OrvDocument},
    {u"{4EAF7A62-AFB4-11D3-B8F1-0000C0A3E6F3}", &CLSID_OrvDOutsSovm},
    {u"{4EAF7A64-AFB4-11D3-B8F1-0000C0A3E6F3}", &CLSID_OrvDocList},
    {u"{7CEE8934-B9D2-11D3-B8F4-0000C0A3E6F3}", &CLSID_OrvLPDoc},
    {u"{A5774BC4-BB63-11D3-B8F8-0000C0A3E6F3}", &CLSID_OrvDocExtension},
    {u"{7F5F5472-BCE6-11D3-B8F8-0000C0A3E6F3}", &CLSID_OrvNLDoc},
    {u"{FF5D3318-C7F7-11D3-B8F9-0000C0A3E6F3}", &CLSID_OrvMPDoc},
    {u"{76576C44-CBEF-11D3-B8FB-0000C0A3E6F3}", &CLSID_OrvAddrRegion},
    {u"{76576C46-CBEF-11D3-B8FB-0000C0A3E6F3}", &CLSID_OrvAddrCity},
    {u"{76576C48-CBEF-11D3-B8FB-0000C0A3E6F3}", &CLSID_OrvAddrDistrict},
    {u"{76576C4A-CBEF-11D3-B8FB-0000C0A3E6F3}", &CLSID_OrvInstanceList},
    {u"{003D4704-D6E8-11D3-B8FE-0000C0A3E6F3}", &CLSID_OrvMonth},
    {u"{53B95584-DF79-11D3-B905-0000C0A3E6F3}", &CLSID_OrvVlDoc},
    {u"{56CCC624-EF3B-11D3-B906-0000C0A3E6F3}", &CLSID_OrvAddrCountry},
    {u"{56CCC629-EF3B-11D3-B906-0000C0A3E6F3}", &CLSID_OrvIdType},
    {u"{1DAFC227-EF97-11D3-B907-0000C0A3E6F3}", &CLSID_OrvJobPosition},
    {u"{8506E947-F0CF-11D3-B907-0000C0A3E6F3}", &CLSID_OrvUVDoc},
    {u"{57A1C5F4-FA41-11D3-B90B-0000C0A3E6F3}", &CLSID_OrvOKDoc},
    {u"{B03AABB4-FB4B-11D3-B90B-0000C0A3E6F3}", &CLSID_OrvS1Doc},
    {u"{795DDDEB-E834-4279-A5D2-41EC465FAC00}", &CLSID_OrvERDoc},
    {u"{4FCC2017-0418-11D4-B90C-0000C0A3E6F3}", &CLSID_OrvTNDoc},
    {u"{2CCA7544-11CA-11D4-B910-0000C0A3E6F3}", &CLSID_OrvBLDoc},
    {u"{2CCA7546-11CA-11D4-B910-0000C0A3E6F3}", &CLSID_OrvBLDocProtocol},
    {u"{2CCA7548-11CA-11D4-B910-0000C0A3E6F3}", &CLSID_OrvBLProtHistoryItem},
    {u"{2CCA754A-11CA-11D4-B910-0000C0A3E6F3}", &CLSID_OrvBlProtPayMonthItem},
    {u"{EA91A064-14F0-11D4-B911-0000C0A3E6F3}", &CLSID_OrvSBDoc},
    {u"{EA91A066-14F0-11D4-B911-0000C0A3E6F3}", &CLSID_OrvBank},
    {u"{4ECC5A44-1762-11D4-B911-0000C0A3E6F3}", &CLSID_OrvILDoc},
    {u"{E261E5A4-392E-11D4-B91A-0000C0A3E6F3}", &CLSID_OrvMTrace},
    {u"{4DB88744-8936-11D4-B964-0000C0A3E6F3}", &CLSID_OrvOTDoc},
    {u"{B1ED6207-9FFF-11D4-B965-0000C0A3E6F3}", &CLSID_OrvINDoc},
    {u"{B1ED6209-9FFF-11D4-B965-0000C0A3E6F3}", &CLSID_OrvSTDoc},
    {u"{128CBC34-A513-11D4-BCBC-0020AF0E0FA1}", &CLSID_OrvS2Doc},
    {u"{8579F0D4-A973-11D4-B96A-0000C0A3E6F3}", &CLSID_OrvDRDoc},
    {u"{072D0114-D000-11D4-B97F-0000C0A3E6F3}", &CLSID_OrvMonthList},
    {u"{6FA21D17-7465-45EC-ADF2-918457A48A06}", &CLSID_OrvAVDoc},
    {u"{634B6D54-14C4-433D-9DD2-B7CCF50DF6D8}", &CLSID_OrvZMDoc},
    {u"{3D9A975E-0BFF-4A39-97F2-6C116D1AFA08}", &CLSID_OrvJBDoc},
    {u"{4BAC92EB-9436-4D84-887F-DCCF14EFDB6E}", &CLSID_OrvMYDoc},
    {u"{20489922-8601-4A55-BED5-D018091BF615}", &CLSID_OrvTVDoc},
    {u"{C8F37513-B20A-48E3-88A0-9A7DC0BFCBFD}", &CLSID_OrvSRDoc},
    {u"{5F399C8C-2E04-423B-AEC9-E15434F0A25C}", &CLSID_OrvTDDoc},
    {u"{6DA2C039-5B97-4F46-B210-F43703972772}", &CLSID_OrvZZDoc},
    {u"{17F70FFE-BFC1-46C3-BAC9-041687694E61}", &CLSID_OrvS3Doc},
    {u"{EF2E0628-DE23-458B-9B54-1454FDD2A6AF}", &CLSID_OrvXLDoc},
    {u"{D1BB6A38-A217-4FEF-BA78-DCED3C5667E3}", &CLSID_OrvTCDoc},
    {u"{AE3B476A-670B-4955-989C-528F976140A5}", &CLSID_OrvMDDoc},
    {u"{B9E4647E-5592-48F9-BE0B-D2B9E6536D36}", &CLSID_OrvZGDoc},
    {u"{FABA5645-D4EC-451A-AF99-66F30B36C7ED}", &CLSID_OrvRIDoc},
    {u"{14DCC2F4-ED16-449F-B858-1C2B18A20DCF}", &CLSID_OrvPSDoc},
    {u"{B73653FD-948E-4B9E-A366-CC4A517D781C}", &CLSID_OrvVVDoc},
    {u"{B904E2A8-4DE0-4C0A-B866-4A227A3DB1C7}", &CLSID_OrvORDoc},
    {u"{9D8E2B1F-97F6-48BA-83C1-A2D87680D0A7}", &CLSID_OrvMGDoc},
    {u"{96D69042-4524-4BFD-844F-E719EE0A3602}", &CLSID_OrvMIDoc},
    {u"{F7259249-2876-43CF-A880-4C870C10F7A6}", &CLSID_OrvIJDoc},
    {u"{B21B0F33-D599-4F75-AC24-94E56DEE39B8}", &CLSID_OrvVODoc},
    {u"{98E24715-FA70-4D50-AF2A-3424AE8B3D89}", &CLSID_OrvBVDoc},
    {u"{42763E76-4722-4D43-84F5-310CE771FA23}", &CLSID_OrvMVDoc},
    };
    EXPECT_EQ(classes.size(), 58u);
    ExpectGuids(classes);
}

TEST(TypelibCoreIds, InterfaceIdentifiersMatchTheCatalogue) {
    ExpectGuids({
    {u"{4EAF7A5F-AFB4-11D3-B8F1-0000C0A3E6F3}", &IID_IOrvDocument},
    {u"{4516FC55-835D-450A-A76C-6B5C369BBCFE}", &IID_IOrvDocumentDisp},
    {u"{A5774BC3-BB63-11D3-B8F8-0000C0A3E6F3}", &IID_IOrvDocExtension},
    {u"{BFDEAAF0-88BB-11D4-B963-0000C0A3E6F3}", &IID_IOrvObjAsXmlString},
    {u"{E8CA8616-259E-497F-916E-C1D988C59094}", &IID_IOrvObjAsXmlStringD},
    {u"{4EAF7A63-AFB4-11D3-B8F1-0000C0A3E6F3}", &IID_IOrvDocList},
    {u"{EFB73BA5-615C-4DEC-A1DD-1AB2A4CAD920}", &IID_IOrvENUMDocuments},
    {u"{76576C49-CBEF-11D3-B8FB-0000C0A3E6F3}", &IID_IOrvInstanceList},
    {u"{003D4703-D6E8-11D3-B8FE-0000C0A3E6F3}", &IID_IOrvMonth},
    {u"{A94589A2-E0AC-46E9-9F7B-EC2D1C69FE58}", &IID_IOrvMonthDisp},
    {u"{5D29A6B0-D112-11D4-B97F-0000C0A3E6F3}", &IID_IOrvM},
    {u"{072D0113-D000-11D4-B97F-0000C0A3E6F3}", &IID_IOrvMonthList},
    {u"{E261E5A3-392E-11D4-B91A-0000C0A3E6F3}", &IID_IOrvMTrace},
    {u"{6D7F8261-501B-493E-98C7-A67F2A213158}", &IID_IOrvDepPeriod},
    {u"{EA91A065-14F0-11D4-B911-0000C0A3E6F3}", &IID_IOrvBank},
    {u"{76576C43-CBEF-11D3-B8FB-0000C0A3E6F3}", &IID_IOrvAddrRegion},
    {u"{76576C45-CBEF-11D3-B8FB-0000C0A3E6F3}", &IID_IOrvAddrCity},
    {u"{76576C47-CBEF-11D3-B8FB-0000C0A3E6F3}", &IID_IOrvAddrDistrict},
    {u"{56CCC623-EF3B-11D3-B906-0000C0A3E6F3}", &IID_IOrvAddrCountry},
    {u"{56CCC628-EF3B-11D3-B906-0000C0A3E6F3}", &IID_IOrvIdType},
    {u"{1DAFC226-EF97-11D3-B907-0000C0A3E6F3}", &IID_IOrvJobPosition},
    });
    // The local reader itself rejects what is not the braced form.
    GUID g{};
    EXPECT_FALSE(ParseGuid(u"4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3", &g));
    EXPECT_FALSE(ParseGuid(u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F}", &g));
    EXPECT_FALSE(ParseGuid(u"{4EAF7A53+AFB4-11D3-B8F1-0000C0A3E6F3}", &g));
}

struct TableRow {
    const orv::ti::Interface& info;
    const IID& iid;
    std::size_t members;
};

std::vector<TableRow> DualTables() {
    return {
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), IID_IOrvDocumentDisp, 111},
        {TypeInfoOf(static_cast<IOrvDocExtension*>(nullptr)), IID_IOrvDocExtension, 5},
        {TypeInfoOf(static_cast<IOrvObjAsXmlStringD*>(nullptr)), IID_IOrvObjAsXmlStringD, 6},
        {TypeInfoOf(static_cast<IOrvDocList*>(nullptr)), IID_IOrvDocList, 31},
        {TypeInfoOf(static_cast<IOrvInstanceList*>(nullptr)), IID_IOrvInstanceList, 15},
        {TypeInfoOf(static_cast<IOrvMonthDisp*>(nullptr)), IID_IOrvMonthDisp, 132},
        {TypeInfoOf(static_cast<IOrvMonthList*>(nullptr)), IID_IOrvMonthList, 9},
        {TypeInfoOf(static_cast<IOrvMTrace*>(nullptr)), IID_IOrvMTrace, 32},
        {TypeInfoOf(static_cast<IOrvBank*>(nullptr)), IID_IOrvBank, 26},
        {TypeInfoOf(static_cast<IOrvAddrRegion*>(nullptr)), IID_IOrvAddrRegion, 6},
        {TypeInfoOf(static_cast<IOrvAddrCity*>(nullptr)), IID_IOrvAddrCity, 6},
        {TypeInfoOf(static_cast<IOrvAddrDistrict*>(nullptr)), IID_IOrvAddrDistrict, 6},
        {TypeInfoOf(static_cast<IOrvAddrCountry*>(nullptr)), IID_IOrvAddrCountry, 6},
        {TypeInfoOf(static_cast<IOrvIdType*>(nullptr)), IID_IOrvIdType, 6},
        {TypeInfoOf(static_cast<IOrvJobPosition*>(nullptr)), IID_IOrvJobPosition, 22},
    };
}

std::string Lower(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c < 128 ? c : '?')));
    return out;
}

TEST(TypelibCoreTables, EveryDualTableIsCompleteAndConsistent) {
    for (const auto& row : DualTables()) {
        SCOPED_TRACE(orv::Utf16ToUtf8(row.info.name));
        CheckTypeInfoTable(row.info);
        EXPECT_TRUE(*row.info.iid == row.iid) << "table bound to another interface";
        EXPECT_EQ(row.info.count, row.members);
        EXPECT_EQ(row.info.help, std::u16string(row.info.name) + u" Interface");
        // Automation clients look names up without regard to case, so two
        // members whose names differ only in case must be one property.
        std::map<std::string, DISPID> byName;
        for (std::size_t i = 0; i < row.info.count; ++i) {
            const auto& m = row.info.members[i];
            auto [it, fresh] = byName.emplace(Lower(m.name), m.dispid);
            if (!fresh) {
                EXPECT_EQ(it->second, m.dispid) << orv::Utf16ToUtf8(m.name) << " clashes with another name";
            }
        }
        // A property's get and put take the same indices and one value type.
        for (std::size_t i = 0; i < row.info.count; ++i) {
            const auto& get = row.info.members[i];
            if (get.kind != INVOKE_PROPERTYGET) continue;
            for (std::size_t j = 0; j < row.info.count; ++j) {
                const auto& put = row.info.members[j];
                if (put.kind != INVOKE_PROPERTYPUT || put.dispid != get.dispid) continue;
                SCOPED_TRACE(orv::Utf16ToUtf8(get.name));
                ASSERT_EQ(get.paramCount, put.paramCount);
                for (SHORT p = 0; p + 1 < get.paramCount; ++p) EXPECT_EQ(get.types[p], put.types[p]);
                EXPECT_EQ(get.types[get.paramCount - 1], put.types[put.paramCount - 1] | VT_BYREF);
            }
        }
    }
}

// Dispids the list and month interfaces publish.
TEST(TypelibCoreTables, PublishedDispidsOfListsAndMonths) {
    const auto& docList = TypeInfoOf(static_cast<IOrvDocList*>(nullptr));
    const auto& instList = TypeInfoOf(static_cast<IOrvInstanceList*>(nullptr));
    const auto& monthList = TypeInfoOf(static_cast<IOrvMonthList*>(nullptr));
    struct Row {
        const orv::ti::Interface& info;
        const char16_t* name;
        INVOKEKIND kind;
        DISPID dispid;
    } rows[] = {
        {docList, u"AddItem", INVOKE_FUNC, 1},
        {docList, u"LockList", INVOKE_FUNC, 5},
        {docList, u"DocumentOnId", INVOKE_PROPERTYGET, 7},
        {docList, u"NextT0CoveringPeriod", INVOKE_FUNC, 12},
        {docList, u"DocumentOnSOId", INVOKE_PROPERTYGET, 14},
        {docList, u"NextT0InPeriod3", INVOKE_FUNC, 19},
        {docList, u"IsInvalidOnDate2", INVOKE_FUNC, 27},
        {docList, u"GetPercentFromDocWithId", INVOKE_FUNC, 31},
        {instList, u"Item", INVOKE_PROPERTYGET, 4},
        {instList, u"ListID", INVOKE_PROPERTYGET, 8},
        {instList, u"ListID", INVOKE_PROPERTYPUT, 8},
        {instList, u"StoreEntry", INVOKE_FUNC, 9},
        {instList, u"FindByCode2", INVOKE_FUNC, 14},
        {monthList, u"FirstMonth", INVOKE_PROPERTYGET, 3},
        {monthList, u"Size", INVOKE_FUNC, 5},
        {monthList, u"Next2", INVOKE_PROPERTYGET, 7},
        {monthList, u"CalcSnTaxOnDate", INVOKE_FUNC, 9},
    };
    for (const auto& r : rows)
        EXPECT_EQ(DispIdOf(r.info, r.name, r.kind), r.dispid) << orv::Utf16ToUtf8(r.name);
    // Get-only members have no put.
    EXPECT_EQ(DispIdOf(docList, u"DocumentOnId", INVOKE_PROPERTYPUT), -1);
    EXPECT_EQ(DispIdOf(monthList, u"Next2", INVOKE_PROPERTYPUT), -1);
    const auto& doc = TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr));
    EXPECT_EQ(DispIdOf(doc, u"IsConnectedToDB", INVOKE_PROPERTYPUT), -1);
    EXPECT_EQ(DispIdOf(doc, u"DisplayString", INVOKE_PROPERTYPUT), -1);
    EXPECT_NE(DispIdOf(doc, u"OrvBD", INVOKE_PROPERTYPUT), -1);
}

const orv::ti::Member* Find(const orv::ti::Interface& info, std::u16string_view name, INVOKEKIND kind) {
    for (std::size_t i = 0; i < info.count; ++i)
        if (info.members[i].kind == kind && name == info.members[i].name) return &info.members[i];
    return nullptr;
}

// Argument types that automation coerces to: the width of each parameter
// matters, and DATE travels as a double that the table marks.
TEST(TypelibCoreTables, ParameterTypesOfRepresentativeMembers) {
    struct Row {
        const orv::ti::Interface& info;
        const char16_t* name;
        INVOKEKIND kind;
        std::vector<VARTYPE> types;
        const char16_t* params;
    } rows[] = {
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), u"Dcms", INVOKE_PROPERTYGET,
         {VT_I2, VT_CY | VT_BYREF}, u"shIndex,pVal"},
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), u"dcShort", INVOKE_PROPERTYPUT, {VT_I4, VT_I2},
         u"nIndex,newVal"},
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), u"DB_ADDR", INVOKE_PROPERTYGET, {VT_UI4 | VT_BYREF},
         u"pVal"},
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), u"NextSumCollector", INVOKE_FUNC,
         {VT_I4 | VT_BYREF, VT_UNKNOWN | VT_BYREF}, u"plId,ppUnk"},
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), u"CalculateYearBasedSumOnDate", INVOKE_FUNC,
         {VT_R8, VT_CY, VT_CY | VT_BYREF}, u"dtOnDate:DATE,cyBaseSum,pcyResult"},
        {TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr)), u"GetSpecificObj2", INVOKE_FUNC,
         {VT_DISPATCH | VT_BYREF}, u"pdispDocument"},
        {TypeInfoOf(static_cast<IOrvDocList*>(nullptr)), u"IsInvalidOnDate2", INVOKE_FUNC,
         {VT_UNKNOWN, VT_R8, VT_I2, VT_I4 | VT_BYREF},
         u"punkSotr,dtInDate:DATE,CheckResignationInMonth:BOOL,pLongInvalidStatus"},
        {TypeInfoOf(static_cast<IOrvMonthList*>(nullptr)), u"GetTaxBasesBeforeLimiting", INVOKE_FUNC,
         {VT_R8, VT_R8, VT_CY, VT_CY, VT_CY, VT_I4, VT_CY | VT_BYREF, VT_CY | VT_BYREF},
         u"dtYearStart:DATE,dtFirstExcludedMonth:DATE,cyTotalBaseWithExcludedMonth,cyTotalLgBaseWithExclMonth,"
         u"cyLimit,iTaxId,pcyNormalBase,pcyLgBase"},
        {TypeInfoOf(static_cast<IOrvMonthDisp*>(nullptr)), u"CalculateMonthSums", INVOKE_FUNC,
         {VT_UNKNOWN, VT_UNKNOWN, VT_VARIANT}, u"punkMrotTable,punkOrvConfig,vtPrevMonth"},
        {TypeInfoOf(static_cast<IOrvMonthDisp*>(nullptr)), u"FactDays", INVOKE_PROPERTYPUT, {VT_I2}, u"newVal"},
        {TypeInfoOf(static_cast<IOrvMonthDisp*>(nullptr)), u"dbk", INVOKE_PROPERTYPUT, {VT_UI4}, u"newVal"},
        {TypeInfoOf(static_cast<IOrvMTrace*>(nullptr)), u"Sum", INVOKE_PROPERTYPUT, {VT_I4, VT_CY}, u"Index,cySum"},
        {TypeInfoOf(static_cast<IOrvJobPosition*>(nullptr)), u"Flag3", INVOKE_PROPERTYGET, {VT_I2 | VT_BYREF},
         u"pVal"},
        {TypeInfoOf(static_cast<IOrvJobPosition*>(nullptr)), u"Category", INVOKE_PROPERTYGET, {VT_I4 | VT_BYREF},
         u"pVal"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(orv::Utf16ToUtf8(r.name));
        const auto* m = Find(r.info, r.name, r.kind);
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->paramCount, static_cast<SHORT>(r.types.size()));
        for (std::size_t i = 0; i < r.types.size(); ++i) EXPECT_EQ(m->types[i], r.types[i]) << "parameter " << i;
        EXPECT_EQ(std::u16string_view(m->paramSpec), r.params);
    }
}

// The custom interfaces have no dispatch table; hosts and outside components
// call them by position, so the first and last member of each must sit at the
// slots that follow from its member count.
TEST(TypelibCoreSlots, CustomInterfacesHaveTheirMembersAtFixedSlots) {
    using orv::ti::VtableSlotOf;
    EXPECT_EQ(VtableSlotOf(&IOrvDocument::get_DocRecord), 3);
    EXPECT_EQ(VtableSlotOf(&IOrvDocument::get_IsConnectedToDB), 93);
    EXPECT_EQ(VtableSlotOf(&IOrvDocument::CalculateYearBasedSumOnDate), 113);
    EXPECT_EQ(VtableSlotOf(&IOrvObjAsXmlString::get_ShortString), 3);
    EXPECT_EQ(VtableSlotOf(&IOrvObjAsXmlString::ParseIn), 7);
    EXPECT_EQ(VtableSlotOf(&IOrvObjAsXmlString::ParseFrom), 8);
    EXPECT_EQ(VtableSlotOf(&IOrvENUMDocuments::Reset), 3);
    EXPECT_EQ(VtableSlotOf(&IOrvENUMDocuments::NextT0OnDate), 6);
    EXPECT_EQ(VtableSlotOf(&IOrvMonth::get_FactDays), 3);
    EXPECT_EQ(VtableSlotOf(&IOrvMonth::CalculateMonthSums), 87);
    EXPECT_EQ(VtableSlotOf(&IOrvM::get_MDate), 3);
    EXPECT_EQ(VtableSlotOf(&IOrvM::WriteTraceSum), 49);
    EXPECT_EQ(VtableSlotOf(&IOrvDepPeriod::get_T0), 3);
    EXPECT_EQ(VtableSlotOf(&IOrvDepPeriod::GetDepAndPosition), 43);
}

// The dual twins carry the custom interfaces' members in the same order after
// IDispatch's four: the same member sits four slots later.
TEST(TypelibCoreSlots, DualTwinsFollowTheirCustomInterfaces) {
    using orv::ti::VtableSlotOf;
    const auto& doc = TypeInfoOf(static_cast<IOrvDocumentDisp*>(nullptr));
    EXPECT_EQ(Find(doc, u"IsConnectedToDB", INVOKE_PROPERTYGET)->slot, VtableSlotOf(&IOrvDocument::get_IsConnectedToDB) + 4);
    EXPECT_EQ(Find(doc, u"ExSum", INVOKE_PROPERTYPUT)->slot, VtableSlotOf(&IOrvDocument::put_ExSum) + 4);
    EXPECT_EQ(Find(doc, u"Dcms", INVOKE_PROPERTYGET)->slot, VtableSlotOf(&IOrvDocument::get_Dcms) + 4);
    const auto& xml = TypeInfoOf(static_cast<IOrvObjAsXmlStringD*>(nullptr));
    EXPECT_EQ(Find(xml, u"ParseIn", INVOKE_FUNC)->slot, VtableSlotOf(&IOrvObjAsXmlString::ParseIn) + 4);
    // The month's dual interface: IOrvMonth's members, then IOrvM's.
    const auto& month = TypeInfoOf(static_cast<IOrvMonthDisp*>(nullptr));
    EXPECT_EQ(Find(month, u"CalculateMonthSums", INVOKE_FUNC)->slot, VtableSlotOf(&IOrvMonth::CalculateMonthSums) + 4);
    EXPECT_EQ(Find(month, u"MDate", INVOKE_PROPERTYGET)->slot, VtableSlotOf(&IOrvMonth::CalculateMonthSums) + 4 + 1);
    EXPECT_EQ(Find(month, u"SumCollector", INVOKE_PROPERTYPUT)->slot, VtableSlotOf(&IOrvM::put_SumCollector) + 4 + 85);
    EXPECT_EQ(Find(month, u"WriteTraceSum", INVOKE_FUNC)->slot, 138);
}

}  // namespace
