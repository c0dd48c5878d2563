// Declarations and dispatch tables of the sum-list, loan, piece-work,
// certificate, writ, record-field and protocol document interfaces.
#include "support/typeinfo_check.h"

#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/typelib_kinds2.h>

#include <gtest/gtest.h>

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

struct Row {
    const char* name;
    const Interface& info;
    const IID& iid;
    const char16_t* iidText;  // as published in the class catalogue
    std::size_t entries;      // interface entries, a property's get and put counted apart
};

// Every dual interface of this family with its published identifier and size.
const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"IOrvS1Doc", Info<IOrvS1Doc>(), IID_IOrvS1Doc, u"{B03AABB3-FB4B-11D3-B90B-0000C0A3E6F3}", 25},
        {"IOrvS2Doc", Info<IOrvS2Doc>(), IID_IOrvS2Doc, u"{128CBC33-A513-11D4-BCBC-0020AF0E0FA1}", 2},
        {"IOrvS3Doc", Info<IOrvS3Doc>(), IID_IOrvS3Doc, u"{C7EB99C2-47F3-4EA7-B441-D75001087EA4}", 15},
        {"IOrvRIDoc", Info<IOrvRIDoc>(), IID_IOrvRIDoc, u"{6F2BB15B-EB96-429C-99EA-EE70AE3039EF}", 5},
        {"IOrvERDoc", Info<IOrvERDoc>(), IID_IOrvERDoc, u"{7BD6493E-7690-47A8-80A0-C9B999760479}", 11},
        {"IOrvZGDoc", Info<IOrvZGDoc>(), IID_IOrvZGDoc, u"{D84B9F8A-09CD-4E9B-BFC1-04776817116A}", 8},
        {"IOrvMPDoc", Info<IOrvMPDoc>(), IID_IOrvMPDoc, u"{FF5D3317-C7F7-11D3-B8F9-0000C0A3E6F3}", 32},
        {"IOrvMVDoc", Info<IOrvMVDoc>(), IID_IOrvMVDoc, u"{536CAF9A-3921-4D7C-962E-20EE8E97BA1B}", 11},
        {"IOrvLPDoc", Info<IOrvLPDoc>(), IID_IOrvLPDoc, u"{7CEE8933-B9D2-11D3-B8F4-0000C0A3E6F3}", 50},
        {"IOrvZMDoc", Info<IOrvZMDoc>(), IID_IOrvZMDoc, u"{DF2C6310-9263-4623-84CE-9241F8B2512F}", 26},
        {"IOrvXLDoc", Info<IOrvXLDoc>(), IID_IOrvXLDoc, u"{A7C885B1-BAFC-45A2-BC41-2ACCAA4D667B}", 32},
        {"IOrvBVDoc", Info<IOrvBVDoc>(), IID_IOrvBVDoc, u"{ACF244A0-4CB2-43BC-ADB9-9E179D5A7503}", 18},
        {"IOrvILDoc", Info<IOrvILDoc>(), IID_IOrvILDoc, u"{4ECC5A43-1762-11D4-B911-0000C0A3E6F3}", 24},
        {"IOrvUVDoc", Info<IOrvUVDoc>(), IID_IOrvUVDoc, u"{8506E946-F0CF-11D3-B907-0000C0A3E6F3}", 24},
        {"IOrvNLDoc", Info<IOrvNLDoc>(), IID_IOrvNLDoc, u"{7F5F5471-BCE6-11D3-B8F8-0000C0A3E6F3}", 20},
        {"IOrvDRDoc", Info<IOrvDRDoc>(), IID_IOrvDRDoc, u"{8579F0D3-A973-11D4-B96A-0000C0A3E6F3}", 24},
        {"IOrvAVDoc", Info<IOrvAVDoc>(), IID_IOrvAVDoc, u"{ADB9C8F7-8503-4E7D-A618-37554D57DD60}", 11},
        {"IOrvSBDoc", Info<IOrvSBDoc>(), IID_IOrvSBDoc, u"{EA91A063-14F0-11D4-B911-0000C0A3E6F3}", 6},
        {"IOrvINDoc", Info<IOrvINDoc>(), IID_IOrvINDoc, u"{B1ED6206-9FFF-11D4-B965-0000C0A3E6F3}", 4},
        {"IOrvSTDoc", Info<IOrvSTDoc>(), IID_IOrvSTDoc, u"{B1ED6208-9FFF-11D4-B965-0000C0A3E6F3}", 2},
        {"IOrvTNDoc", Info<IOrvTNDoc>(), IID_IOrvTNDoc, u"{4FCC2016-0418-11D4-B90C-0000C0A3E6F3}", 8},
        {"IOrvDOutsSovm", Info<IOrvDOutsSovm>(), IID_IOrvDOutsSovm, u"{4EAF7A61-AFB4-11D3-B8F1-0000C0A3E6F3}", 6},
        {"IOrvVlDoc", Info<IOrvVlDoc>(), IID_IOrvVlDoc, u"{53B95583-DF79-11D3-B905-0000C0A3E6F3}", 6},
        {"IOrvORDoc", Info<IOrvORDoc>(), IID_IOrvORDoc, u"{3D55557C-1C06-4418-8379-34F02F7E4956}", 2},
        {"IOrvVODoc", Info<IOrvVODoc>(), IID_IOrvVODoc, u"{F8ED7A4F-65F3-4605-8136-5AD35EE9B80D}", 2},
        {"IOrvPSDoc", Info<IOrvPSDoc>(), IID_IOrvPSDoc, u"{EBDF7A69-2935-48A3-9F60-49B4FB3C558B}", 6},
    };
    return rows;
}

// The members of a table in vtable order.
std::vector<const Member*> BySlot(const Interface& info) {
    std::vector<const Member*> out(info.count);
    for (std::size_t i = 0; i < info.count; ++i) {
        const auto slot = static_cast<std::size_t>(info.members[i].slot - 7);
        if (slot < out.size()) out[slot] = &info.members[i];
    }
    return out;
}

std::vector<std::u16string> ParamMarks(const Member& m) {
    std::vector<std::u16string> marks;
    std::u16string_view text(m.paramSpec ? m.paramSpec : u"");
    if (text.empty()) return marks;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(u',', start);
        auto item = text.substr(start, comma == std::u16string_view::npos ? text.npos : comma - start);
        const std::size_t colon = item.find(u':');
        marks.emplace_back(colon == item.npos ? std::u16string() : std::u16string(item.substr(colon + 1)));
        if (comma == std::u16string_view::npos) break;
        start = comma + 1;
    }
    return marks;
}

TEST(TypelibKinds2, EveryTableIsConsistentAndComplete) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        orv::test::CheckTypeInfoTable(row.info);
        EXPECT_EQ(orv::Utf16ToUtf8(row.info.name), row.name);
        EXPECT_EQ(orv::Utf16ToUtf8(row.info.help), std::string(row.name) + " Interface");
        // The published size catches a member missing from the end of a declaration or its table.
        EXPECT_EQ(row.info.count, row.entries);
    }
}

TEST(TypelibKinds2, IdentifiersMatchTheCatalogue) {
    std::set<std::u16string> seen;
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        IID parsed{};
        ASSERT_EQ(CLSIDFromString(row.iidText, &parsed), S_OK);
        EXPECT_TRUE(IsEqualIID(row.iid, parsed));
        EXPECT_EQ(row.info.iid, &row.iid) << "the table names another interface's identifier";
        EXPECT_TRUE(seen.insert(row.iidText).second) << "identifier listed twice";
    }
    // uuidof<> resolves through the same constants the tables use.
    EXPECT_TRUE(IsEqualIID(uuidof<IOrvZMDoc>(), IID_IOrvZMDoc));
    EXPECT_TRUE(IsEqualIID(uuidof<IOrvDOutsSovm>(), IID_IOrvDOutsSovm));
    EXPECT_FALSE(IsEqualIID(IID_IOrvZMDoc, IID_IOrvERDoc));
}

// Slot order is dispatch identifier order: dispids run 1, 2, 3 ... without
// gaps as the vtable goes on, and a property's get sits right before its put.
TEST(TypelibKinds2, SlotsFollowDispidsWithGetBeforePut) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        const auto members = BySlot(row.info);
        DISPID expected = 1;
        const Member* previous = nullptr;
        for (const Member* m : members) {
            ASSERT_NE(m, nullptr);
            SCOPED_TRACE(orv::Utf16ToUtf8(m->name));
            if (previous && previous->dispid == m->dispid) {
                EXPECT_EQ(previous->kind, INVOKE_PROPERTYGET);
                EXPECT_TRUE(m->kind == INVOKE_PROPERTYPUT || m->kind == INVOKE_PROPERTYPUTREF);
            } else {
                EXPECT_EQ(m->dispid, expected);
                expected = m->dispid + 1;
            }
            previous = m;
        }
    }
}

// Doubles and 16-bit integers that are plain numbers; every other one in these
// interfaces is a date or a boolean and must carry its mark, or the dispatch
// layer hands out a number where a client expects a date or a boolean.
TEST(TypelibKinds2, DatesAndBooleansAreMarked) {
    const std::set<std::string> plainNumbers = {
        "IOrvMPDoc.NumToBePaid",           "IOrvILDoc.PostProc",
        "IOrvLPDoc.ChildMrotDiscountBase", "IOrvLPDoc.MrotDiscountBase",
        "IOrvLPDoc.SuperMrotDiscountBase", "IOrvLPDoc.TaxTableNumber",
        "IOrvLPDoc.AllowanceOrdered",      "IOrvLPDoc.ProfessionalPercent",
        "IOrvLPDoc.IndexProfessionDiscountType",
    };
    int dates = 0, booleans = 0;
    for (const Row& row : Rows()) {
        for (std::size_t i = 0; i < row.info.count; ++i) {
            const Member& m = row.info.members[i];
            const std::string where = std::string(row.name) + "." + orv::Utf16ToUtf8(m.name);
            const auto marks = ParamMarks(m);
            ASSERT_EQ(marks.size(), static_cast<std::size_t>(m.paramCount)) << where;
            for (SHORT p = 0; p < m.paramCount; ++p) {
                const VARTYPE base = m.types[p] & VT_TYPEMASK;
                if (base != VT_R8 && base != VT_I2) continue;
                if (plainNumbers.count(where)) {
                    EXPECT_TRUE(marks[p].empty()) << where << " parameter " << p;
                    continue;
                }
                // Index parameters of these kinds are never 16-bit, so an unmarked
                // short anywhere else is a forgotten boolean.
                EXPECT_EQ(marks[p], base == VT_R8 ? u"DATE" : u"BOOL") << where << " parameter " << p;
                ++(base == VT_R8 ? dates : booleans);
            }
        }
    }
    EXPECT_GT(dates, 0);
    EXPECT_GT(booleans, 0);
}

struct Spot {
    const Interface& info;
    const char16_t* name;
    INVOKEKIND kind;
    DISPID dispid;
    std::vector<VARTYPE> types;
};

const Member* Find(const Interface& info, std::u16string_view name, INVOKEKIND kind) {
    for (std::size_t i = 0; i < info.count; ++i)
        if (info.members[i].kind == kind && name == info.members[i].name) return &info.members[i];
    return nullptr;
}

// Names, dispids and argument types of members whose numbers and types are
// published, plus a few chosen ones that carry unusual types.
TEST(TypelibKinds2, PublishedMembersKeepTheirDispidsAndTypes) {
    constexpr VARTYPE R = VT_BYREF;
    const std::vector<Spot> spots = {
        {Info<IOrvZMDoc>(), u"ToLoan", INVOKE_PROPERTYPUT, 3, {VT_R8, VT_CY}},
        {Info<IOrvZMDoc>(), u"Debt", INVOKE_PROPERTYGET, 7, {VT_R8, VT_CY | R}},
        {Info<IOrvZMDoc>(), u"IsInitialized", INVOKE_PROPERTYGET, 11, {VT_I2 | R}},
        {Info<IOrvZMDoc>(), u"CalcInterest", INVOKE_FUNC, 15, {VT_R8, VT_UNKNOWN, VT_CY | R}},
        {Info<IOrvZMDoc>(), u"LastError", INVOKE_PROPERTYGET, 17, {VT_BSTR | R}},
        {Info<IOrvZMDoc>(), u"Premium", INVOKE_PROPERTYGET, 18, {VT_R8, VT_CY | R}},
        {Info<IOrvXLDoc>(), u"IsInitialised", INVOKE_PROPERTYPUT, 12, {VT_I4}},
        {Info<IOrvXLDoc>(), u"Coeff", INVOKE_PROPERTYPUT, 14, {VT_I4, VT_R4}},
        {Info<IOrvXLDoc>(), u"ProductName", INVOKE_PROPERTYGET, 15, {VT_I4, VT_BSTR | R}},
        {Info<IOrvXLDoc>(), u"Margin", INVOKE_PROPERTYGET, 17, {VT_I4 | R}},
        {Info<IOrvXLDoc>(), u"GetCalculatedSumByCode", INVOKE_FUNC, 18, {VT_I4, VT_I4 | R, VT_CY | R}},
        {Info<IOrvXLDoc>(), u"MadeTotal", INVOKE_PROPERTYGET, 19, {VT_I4, VT_I4 | R}},
        {Info<IOrvBVDoc>(), u"UpdateExtension", INVOKE_FUNC, 1, {}},
        {Info<IOrvBVDoc>(), u"Clear", INVOKE_FUNC, 3, {}},
        {Info<IOrvBVDoc>(), u"GetSumForYear", INVOKE_FUNC, 8, {VT_I4, VT_CY | R}},
        {Info<IOrvBVDoc>(), u"Period", INVOKE_PROPERTYPUT, 12, {VT_I4, VT_BSTR}},
        {Info<IOrvILDoc>(), u"FullRecipient", INVOKE_PROPERTYPUT, 5, {VT_BSTR}},
        {Info<IOrvILDoc>(), u"RecipientPassType", INVOKE_PROPERTYGET, 9, {VT_BSTR | R}},
        {Info<IOrvILDoc>(), u"PostProc", INVOKE_PROPERTYPUT, 10, {VT_R8}},
        {Info<IOrvILDoc>(), u"RecipientCode", INVOKE_PROPERTYGET, 14, {VT_BSTR | R}},
        {Info<IOrvPSDoc>(), u"Protocol", INVOKE_PROPERTYPUT, 1, {VT_DISPATCH}},
        {Info<IOrvPSDoc>(), u"UpdateExtension", INVOKE_FUNC, 4, {}},
        {Info<IOrvORDoc>(), u"Protocol", INVOKE_PROPERTYGET, 1, {VT_DISPATCH | R}},
        {Info<IOrvLPDoc>(), u"IndexSumDiscountType", INVOKE_PROPERTYPUT, 7, {VT_UI4}},
        {Info<IOrvLPDoc>(), u"Address", INVOKE_PROPERTYGET, 22, {VT_I4, VT_BSTR | R}},
        {Info<IOrvLPDoc>(), u"Address", INVOKE_PROPERTYPUT, 22, {VT_BSTR}},
        {Info<IOrvS1Doc>(), u"AddSumMSM", INVOKE_FUNC, 8, {VT_I4, VT_I4, VT_CY, VT_I4, VT_I4, VT_I4, VT_I4 | R}},
        {Info<IOrvERDoc>(), u"GetItem", INVOKE_FUNC, 9, {VT_I4, VT_R8 | R, VT_I4 | R, VT_CY | R}},
        {Info<IOrvS3Doc>(), u"IsInitialized", INVOKE_FUNC, 3, {VT_I2 | R}},
        {Info<IOrvUVDoc>(), u"FiredCompensationDays", INVOKE_PROPERTYPUT, 7, {VT_R4}},
        {Info<IOrvVlDoc>(), u"OtherTabNumbers", INVOKE_PROPERTYGET, 3, {VT_I4, VT_UNKNOWN | R}},
        {Info<IOrvDOutsSovm>(), u"OrvDocument", INVOKE_PROPERTYPUT, 3, {VT_UNKNOWN}},
    };
    for (const Spot& s : spots) {
        const std::string where = orv::Utf16ToUtf8(s.info.name) + "." + orv::Utf16ToUtf8(s.name);
        SCOPED_TRACE(where);
        EXPECT_EQ(orv::test::DispIdOf(s.info, s.name, s.kind), s.dispid);
        const Member* m = Find(s.info, s.name, s.kind);
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(m->paramCount), s.types.size());
        for (std::size_t p = 0; p < s.types.size(); ++p) EXPECT_EQ(m->types[p], s.types[p]) << "parameter " << p;
    }
}

// Members a kind must not have: asking for them by name finds nothing.
TEST(TypelibKinds2, ReadOnlyAndAbsentMembersStayAbsent) {
    struct Absent {
        const Interface& info;
        const char16_t* name;
        INVOKEKIND kind;
    };
    const std::vector<Absent> absent = {
        {Info<IOrvZMDoc>(), u"IsInitialized", INVOKE_PROPERTYPUT},
        {Info<IOrvZMDoc>(), u"LastError", INVOKE_PROPERTYPUT},
        {Info<IOrvXLDoc>(), u"IsInitialized", INVOKE_PROPERTYGET},  // this kind spells it IsInitialised
        {Info<IOrvXLDoc>(), u"CalculatedSum", INVOKE_PROPERTYPUT},
        {Info<IOrvBVDoc>(), u"Size", INVOKE_PROPERTYPUT},
        {Info<IOrvBVDoc>(), u"IsInitialized", INVOKE_PROPERTYPUT},
        {Info<IOrvILDoc>(), u"RecipientPassSeria", INVOKE_PROPERTYPUT},
        {Info<IOrvS3Doc>(), u"IsInitialized", INVOKE_PROPERTYGET},  // a method here, not a property
        {Info<IOrvS3Doc>(), u"ActualStartDate", INVOKE_PROPERTYPUT},
        {Info<IOrvS1Doc>(), u"IsInitialized", INVOKE_PROPERTYGET},
        {Info<IOrvTNDoc>(), u"IsDissmised", INVOKE_PROPERTYPUT},
        {Info<IOrvVlDoc>(), u"OtherTabNumbers", INVOKE_PROPERTYPUT},
        {Info<IOrvAVDoc>(), u"OrvDocument", INVOKE_PROPERTYPUT},
    };
    for (const Absent& a : absent)
        EXPECT_EQ(orv::test::DispIdOf(a.info, a.name, a.kind), -1)
            << orv::Utf16ToUtf8(a.info.name) << "." << orv::Utf16ToUtf8(a.name);
}

}  // namespace
