// The interfaces of the outside components: every operation the library calls
// sits at the vtable slot its callers use and takes the argument types they
// pass, every identifier has its registered value, and the dual interfaces
// carry complete dispatch tables.
#include "frame/com.h"
#include "frame/typeinfo.h"
#include "support/typeinfo_check.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// ---------------------------------------------------------------- shape

// An interface is a vtable pointer and nothing else, derived from IDispatch
// when dual and straight from IUnknown when custom.
template <class I, bool Dual>
constexpr bool kShaped = std::is_polymorphic_v<I> && sizeof(I) == sizeof(void*) &&
                         std::is_base_of_v<IUnknown, I> && std::is_base_of_v<IDispatch, I> == Dual;

static_assert(kShaped<IOrvDatabase, true>);
static_assert(kShaped<IOrvDocStore, false>);
static_assert(kShaped<IOrvNumbering, true>);
static_assert(kShaped<IOrvNumberTable, false>);
static_assert(kShaped<IOrvSession, true>);
static_assert(kShaped<IOrvReferenceSource, true>);
static_assert(kShaped<IOrvMonthSource, true>);
static_assert(kShaped<IOrvSettings, true>);
static_assert(kShaped<IOrvShortSetting, true>);
static_assert(kShaped<IOrvDatedOption, true>);
static_assert(kShaped<IOrvDateSetting, true>);
static_assert(kShaped<IOrvListSetting, true>);
static_assert(kShaped<IOrvConfig, true>);
static_assert(kShaped<IOrvCurrencyService, true>);
static_assert(kShaped<IOrvTariffTable, false>);
static_assert(kShaped<IOrvGradeEntry, true>);
static_assert(kShaped<IOrvDateService, true>);
static_assert(kShaped<IOrvMessageService, true>);
static_assert(kShaped<IOrvSumCollector, true>);
static_assert(kShaped<IOrvOutsideDoc, true>);
static_assert(kShaped<IOrvEmployee, true>);
static_assert(kShaped<IOrvEmployeeJob, false>);
static_assert(kShaped<IOrvEmployeeAccounts, true>);
static_assert(kShaped<IOrvItemList, true>);
static_assert(kShaped<IOrvTextList, false>);
static_assert(kShaped<IOrvUnknownList, true>);
static_assert(kShaped<IOrvRefItem, true>);

// ---------------------------------------------------------------- slots

struct UsedSlot {
    const char* member;
    SHORT actual;
    SHORT expected;
};

// A member pointer, accepted only when its type is exactly the signature the
// callers pass (a wrong argument type would compile at the call site through
// conversions and corrupt the call at run time).
template <class Expected, class P>
P Exactly(P pmf) {
    static_assert(std::is_same_v<P, Expected>, "argument types differ from what the callers pass");
    return pmf;
}

#define USED(I, m, slot, args) \
    UsedSlot { #I "::" #m, orv::ti::VtableSlotOf(Exactly<HRESULT(I::*) args>(&I::m)), slot }

// Every slot the library calls, with the argument types it passes. Slots of
// IOrvEmployee, IOrvEmployeeAccounts and IOrvItemList are this
// implementation's choice; the library's callers rely on them just the same.
const std::vector<UsedSlot>& UsedSlots() {
    static const std::vector<UsedSlot> rows = {
        USED(IOrvDatabase, get_Settings, 17, (IUnknown**)),
        USED(IOrvDatabase, get_Session, 28, (IUnknown**)),
        USED(IOrvDocStore, GetDocExtension, 3, (LONG, IOrvDocument*, IUnknown**, LONG*)),
        USED(IOrvDocStore, InitDocExtension, 4, (LONG, IOrvDocument*, LONG*)),
        USED(IOrvDocStore, UpdateDocument, 5, (LONG, IUnknown*)),
        USED(IOrvDocStore, InitDocExtensionNoPipe, 6, (IOrvDocument*, LONG*)),
        USED(IOrvDocStore, InitCollectors, 7, (LONG, IUnknown*)),
        USED(IOrvNumbering, get_NumberTable, 11, (IUnknown**)),
        USED(IOrvNumberTable, GetNumber, 6, (LONG, LONG*)),
        USED(IOrvSession, get_AccessType, 30, (LONG*)),
        USED(IOrvReferenceSource, GetEntryPiped, 12, (LONG, LONG, LONG, IUnknown**)),
        USED(IOrvReferenceSource, GetTariffTablePiped, 38, (LONG, IUnknown**)),
        USED(IOrvReferenceSource, CreateEntry, 41, (LONG, BSTR, BSTR, IUnknown**)),
        USED(IOrvReferenceSource, CreateEntryPiped, 64, (LONG, LONG, BSTR, BSTR, IUnknown**)),
        USED(IOrvMonthSource, GetMonths, 32, (LONG, IUnknown*, DATE, DATE, IUnknown**)),
        USED(IOrvSettings, get_Setting, 8, (LONG, IUnknown**)),
        USED(IOrvShortSetting, get_Value, 8, (DATE, SHORT*)),
        USED(IOrvDateSetting, get_Value, 8, (DATE, DATE*)),
        USED(IOrvListSetting, get_Count, 13, (DATE, LONG*)),
        USED(IOrvListSetting, get_Item, 14, (LONG, DATE, VARIANT*)),
        USED(IOrvDatedOption, get_Value, 8, (DATE, VARIANT*)),
        USED(IOrvConfig, get_MinimumWage, 12, (DATE, CY*)),
        USED(IOrvCurrencyService, Convert, 10, (LONG, DATE, CY, LONG, LONG, LONG, BSTR*, CY*)),
        USED(IOrvTariffTable, GetNominal, 3, (DATE, CY*)),
        USED(IOrvTariffTable, GetGrade, 5, (DATE, LONG, IUnknown**)),
        USED(IOrvGradeEntry, get_Coefficient, 7, (CY*)),
        USED(IOrvGradeEntry, get_RoundUp, 9, (LONG*)),
        USED(IOrvGradeEntry, get_FixedSum, 13, (CY*)),
        USED(IOrvDateService, DayToText, 13, (LONG, BSTR*)),
        USED(IOrvDateService, YearStart, 14, (LONG, SHORT*)),
        USED(IOrvDateService, MonthOrdinal, 15, (LONG, LONG*)),
        USED(IOrvDateService, MonthEnd, 16, (LONG, SHORT*)),
        USED(IOrvDateService, MonthStart, 17, (LONG, SHORT*)),
        USED(IOrvDateService, YearEnd, 18, (LONG, SHORT*)),
        USED(IOrvDateService, MonthStartDate, 24, (DATE, DATE*)),
        USED(IOrvDateService, ShiftDate, 25, (DATE, LONG, DATE*)),
        USED(IOrvMessageService, ShowMessage, 10, (BSTR)),
        USED(IOrvSumCollector, Clone, 14, (IUnknown**)),
        USED(IOrvOutsideDoc, put_OrvDocument, 14, (IUnknown*)),
        USED(IOrvEmployee, get_ResignationDate, 11, (DATE*)),
        USED(IOrvEmployee, get_FirstEnterDate, 12, (DATE*)),
        USED(IOrvEmployee, get_SecondEnterDate, 13, (DATE*)),
        USED(IOrvEmployeeJob, GetDepAndPosition, 6, (LONG, DATE, LONG*, LONG*, LONG*)),
        USED(IOrvEmployeeAccounts, GetStatusOnDate, 7, (LONG, DATE, LONG*)),
        USED(IOrvEmployeeAccounts, GetAccountList, 8, (LONG, IUnknown**)),
        USED(IOrvItemList, Reset, 7, ()),
        USED(IOrvItemList, Add, 8, (IUnknown*)),
        USED(IOrvItemList, Next, 9, (IUnknown**)),
        USED(IOrvItemList, RemoveAll, 11, ()),
        USED(IOrvTextList, Add, 5, (BSTR)),
        USED(IOrvUnknownList, Reset, 7, ()),
        USED(IOrvUnknownList, Add, 8, (IUnknown*)),
        USED(IOrvUnknownList, Next, 9, (IUnknown**)),
        USED(IOrvUnknownList, RemoveAll, 11, ()),
        USED(IOrvRefItem, put_Kind, 8, (LONG)),
        USED(IOrvRefItem, get_Index, 9, (LONG*)),
        USED(IOrvRefItem, put_Index, 10, (LONG)),
        USED(IOrvRefItem, get_Code, 11, (BSTR*)),
        USED(IOrvRefItem, put_Code, 12, (BSTR)),
        USED(IOrvRefItem, get_Name, 13, (BSTR*)),
        USED(IOrvRefItem, put_Name, 14, (BSTR)),
        USED(IOrvRefItem, put_ClassId, 18, (BSTR)),
        USED(IOrvRefItem, get_Flag1, 19, (SHORT*)),
        USED(IOrvRefItem, put_Flag1, 20, (SHORT)),
        USED(IOrvRefItem, get_Flag2, 21, (SHORT*)),
        USED(IOrvRefItem, put_Flag2, 22, (SHORT)),
        USED(IOrvRefItem, get_Flag3, 23, (SHORT*)),
        USED(IOrvRefItem, put_Flag3, 24, (SHORT)),
    };
    return rows;
}
#undef USED

TEST(OutsideInterfaces, EveryCalledOperationSitsAtItsSlot) {
    for (const auto& row : UsedSlots()) {
        EXPECT_EQ(row.actual, row.expected) << row.member;
    }
}

// ---------------------------------------------------------- identifiers

struct Identifier {
    const GUID* value;
    const char16_t* text;
};

TEST(OutsideInterfaces, IdentifiersHaveTheirRegisteredValues) {
    const Identifier ids[] = {
        {&IID_IOrvDatabase, u"{B98F10A5-70BD-11D3-B8CF-0000C0A3E6F3}"},
        {&IID_IOrvDocStore, u"{F256D1B0-BB76-11D3-B8F8-0000C0A3E6F3}"},
        {&IID_IOrvNumbering, u"{3D1591B0-9910-11D3-B8E4-0000C0A3E6F3}"},
        {&IID_IOrvNumberTable, u"{0F21F930-9FF1-11D3-B8E9-0000C0A3E6F3}"},
        {&IID_IOrvSession, u"{44EA52B4-8B39-4B7D-9123-181D6D83A913}"},
        {&IID_IOrvReferenceSource, u"{E4BDDBF1-94EE-11D3-B8E3-0000C0A3E6F3}"},
        {&IID_IOrvMonthSource, u"{976F7D62-7D94-11D3-B8D2-0000C0A3E6F3}"},
        {&IID_IOrvSettings, u"{53EB5503-EC1A-11D3-B906-0000C0A3E6F3}"},
        {&IID_IOrvShortSetting, u"{53EB5507-EC1A-11D3-B906-0000C0A3E6F3}"},
        {&IID_IOrvDatedOption, u"{53EB5509-EC1A-11D3-B906-0000C0A3E6F3}"},
        {&IID_IOrvDateSetting, u"{53EB550B-EC1A-11D3-B906-0000C0A3E6F3}"},
        {&IID_IOrvListSetting, u"{53EB550F-EC1A-11D3-B906-0000C0A3E6F3}"},
        {&IID_IOrvConfig, u"{9DA35829-975D-11D3-B8E4-0000C0A3E6F3}"},
        {&IID_IOrvCurrencyService, u"{3B40B9F1-1797-11D4-B911-0000C0A3E6F3}"},
        {&IID_IOrvTariffTable, u"{D3238700-D599-11D4-B981-0000C0A3E6F3}"},
        {&IID_IOrvGradeEntry, u"{57128BC6-5FD2-11D4-B94B-0000C0A3E6F3}"},
        {&IID_IOrvDateService, u"{6D8F1553-9760-11D3-B8E4-0000C0A3E6F3}"},
        {&CLSID_OrvDateService, u"{6D8F1554-9760-11D3-B8E4-0000C0A3E6F3}"},
        {&IID_IOrvMessageService, u"{7A645FA8-EB58-11D3-B906-0000C0A3E6F3}"},
        {&CLSID_OrvMessageService, u"{7A645FA9-EB58-11D3-B906-0000C0A3E6F3}"},
        {&IID_IOrvSumCollector, u"{75AAFDB3-CE6D-11D4-B97E-0000C0A3E6F3}"},
        {&CLSID_OrvSumCollector, u"{75AAFDB4-CE6D-11D4-B97E-0000C0A3E6F3}"},
        {&IID_IOrvOutsideDoc, u"{3ABAD66F-BEA6-48B5-8428-8BDF9F0BADF8}"},
        {&CLSID_OrvOutsideDoc, u"{9471DD35-1340-4BC4-8A01-8EC10677C850}"},
        {&IID_IOrvEmployee, u"{AB8C7B63-7E04-11D3-B8D2-0000C0A3E6F3}"},
        {&IID_IOrvEmployeeJob, u"{D23EB391-CCEC-11D3-B8FB-0000C0A3E6F3}"},
        {&IID_IOrvEmployeeAccounts, u"{E4BDDBF0-94EE-11D3-B8E3-0000C0A3E6F3}"},
        {&IID_IOrvItemList, u"{EA91A067-14F0-11D4-B911-0000C0A3E6F3}"},
        {&CLSID_OrvAccountList, u"{EA91A06A-14F0-11D4-B911-0000C0A3E6F3}"},
        {&CLSID_OrvAddressList, u"{D8C13752-FE2E-11D3-B90B-0000C0A3E6F3}"},
        {&IID_IOrvTextList, u"{E9D16661-DEB7-11D3-B905-0000C0A3E6F3}"},
        {&CLSID_OrvTextList, u"{FFA9C42C-DEB4-11D3-B905-0000C0A3E6F3}"},
        {&IID_IOrvUnknownList, u"{FFA9C429-DEB4-11D3-B905-0000C0A3E6F3}"},
        {&CLSID_OrvUnknownList, u"{FFA9C42A-DEB4-11D3-B905-0000C0A3E6F3}"},
        {&IID_IOrvRefItem, u"{B04E4DA3-B9F5-11D3-B8F6-0000C0A3E6F3}"},
        {&CLSID_OrvRefItem, u"{B04E4DA4-B9F5-11D3-B8F6-0000C0A3E6F3}"},
    };
    for (const auto& id : ids) {
        const std::string text = orv::Utf16ToUtf8(id.text);
        CLSID parsed{};
        ASSERT_EQ(CLSIDFromString(id.text, &parsed), S_OK) << text;
        EXPECT_TRUE(IsEqualGUID(parsed, *id.value)) << text;
    }
}

// An interface found by type (ComPtr::As, IID_PPV_ARGS) is asked for by its own identifier.
static_assert(&uuidof<IOrvDatabase>() == &IID_IOrvDatabase);
static_assert(&uuidof<IOrvDocStore>() == &IID_IOrvDocStore);
static_assert(&uuidof<IOrvNumbering>() == &IID_IOrvNumbering);
static_assert(&uuidof<IOrvNumberTable>() == &IID_IOrvNumberTable);
static_assert(&uuidof<IOrvSession>() == &IID_IOrvSession);
static_assert(&uuidof<IOrvReferenceSource>() == &IID_IOrvReferenceSource);
static_assert(&uuidof<IOrvMonthSource>() == &IID_IOrvMonthSource);
static_assert(&uuidof<IOrvSettings>() == &IID_IOrvSettings);
static_assert(&uuidof<IOrvShortSetting>() == &IID_IOrvShortSetting);
static_assert(&uuidof<IOrvDatedOption>() == &IID_IOrvDatedOption);
static_assert(&uuidof<IOrvDateSetting>() == &IID_IOrvDateSetting);
static_assert(&uuidof<IOrvListSetting>() == &IID_IOrvListSetting);
static_assert(&uuidof<IOrvConfig>() == &IID_IOrvConfig);
static_assert(&uuidof<IOrvCurrencyService>() == &IID_IOrvCurrencyService);
static_assert(&uuidof<IOrvTariffTable>() == &IID_IOrvTariffTable);
static_assert(&uuidof<IOrvGradeEntry>() == &IID_IOrvGradeEntry);
static_assert(&uuidof<IOrvDateService>() == &IID_IOrvDateService);
static_assert(&uuidof<IOrvMessageService>() == &IID_IOrvMessageService);
static_assert(&uuidof<IOrvSumCollector>() == &IID_IOrvSumCollector);
static_assert(&uuidof<IOrvOutsideDoc>() == &IID_IOrvOutsideDoc);
static_assert(&uuidof<IOrvEmployee>() == &IID_IOrvEmployee);
static_assert(&uuidof<IOrvEmployeeJob>() == &IID_IOrvEmployeeJob);
static_assert(&uuidof<IOrvEmployeeAccounts>() == &IID_IOrvEmployeeAccounts);
static_assert(&uuidof<IOrvItemList>() == &IID_IOrvItemList);
static_assert(&uuidof<IOrvTextList>() == &IID_IOrvTextList);

// ------------------------------------------------------- dispatch tables

struct DualTable {
    const orv::ti::Interface& info;
    const IID* iid;
    SHORT lastSlot;  // the interface's last member
};

template <class I>
DualTable Dual(SHORT lastSlot) {
    return {TypeInfoOf(static_cast<const I*>(nullptr)), &uuidof<I>(), lastSlot};
}

// Each dual interface's table lists every member from slot 7 to its last, so
// that a host's implementation answers IDispatch for all of them, and names
// the members the library calls as the declaration does.
TEST(OutsideInterfaces, DualInterfacesCarryCompleteDispatchTables) {
    const DualTable tables[] = {
        Dual<IOrvDatabase>(28),        Dual<IOrvNumbering>(11),   Dual<IOrvSession>(30),
        Dual<IOrvReferenceSource>(64), Dual<IOrvMonthSource>(32), Dual<IOrvSettings>(8),
        Dual<IOrvShortSetting>(8),     Dual<IOrvDatedOption>(8),  Dual<IOrvDateSetting>(8),
        Dual<IOrvListSetting>(14),     Dual<IOrvConfig>(12),      Dual<IOrvCurrencyService>(10),
        Dual<IOrvGradeEntry>(13),      Dual<IOrvDateService>(25), Dual<IOrvMessageService>(10),
        Dual<IOrvSumCollector>(14),    Dual<IOrvOutsideDoc>(14),  Dual<IOrvEmployee>(13),
        Dual<IOrvEmployeeAccounts>(8), Dual<IOrvItemList>(11),
    };
    std::map<std::string, std::map<SHORT, std::string>> tableMembers;
    for (const auto& t : tables) {
        const std::string name = orv::Utf16ToUtf8(t.info.name);
        SCOPED_TRACE(name);
        orv::test::CheckTypeInfoTable(t.info);
        EXPECT_EQ(t.info.iid, t.iid);
        EXPECT_EQ(static_cast<SHORT>(6 + t.info.count), t.lastSlot);
        for (std::size_t i = 0; i < t.info.count; ++i) {
            const auto& m = t.info.members[i];
            const char* prefix = m.kind == INVOKE_PROPERTYGET ? "get_" : m.kind == INVOKE_PROPERTYPUT ? "put_" : "";
            tableMembers[name][m.slot] = prefix + orv::Utf16ToUtf8(m.name);
        }
    }
    // The called members of the dual interfaces, found in their tables at their slots.
    for (const auto& row : UsedSlots()) {
        const std::string full = row.member;
        const std::string iface = full.substr(0, full.find("::"));
        auto it = tableMembers.find(iface);
        if (it == tableMembers.end()) continue;  // custom, or an interface tabled elsewhere
        EXPECT_EQ(it->second[row.expected], full.substr(full.find("::") + 2)) << full;
    }
}

// -------------------------------------------- calls through the raw vtable

// A caller that knows only slot numbers (as one built against the original
// 32-bit interfaces does) reaches the same member as a call by name.
template <class Fn, class I>
Fn SlotFunction(I* object, int slot) {
    void** vtable = *reinterpret_cast<void***>(object);
    return reinterpret_cast<Fn>(vtable[slot]);
}

class NumberTable final : public IOrvNumberTable {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = (riid == IID_IUnknown || riid == IID_IOrvNumberTable) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT get_Count(LONG* pVal) override {
        *pVal = static_cast<LONG>(numbers_.size());
        return S_OK;
    }
    HRESULT GetEntry(LONG, LONG*, LONG*) override { return E_NOTIMPL; }
    HRESULT SetNumber(LONG lKey, LONG lNumber) override {
        numbers_[lKey] = lNumber;
        return S_OK;
    }
    HRESULT GetNumber(LONG lKey, LONG* plNumber) override {
        auto it = numbers_.find(lKey);
        *plNumber = it == numbers_.end() ? 0 : it->second;
        return S_OK;
    }

private:
    std::map<LONG, LONG> numbers_;
};

class MessageService : public orv::CoClass<MessageService, &CLSID_OrvMessageService, IOrvMessageService, IDispatch> {
public:
    HRESULT get_Caption(BSTR* pVal) override { return pVal ? (*pVal = nullptr, S_OK) : E_POINTER; }
    HRESULT put_Caption(BSTR) override { return S_OK; }
    HRESULT get_Count(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = static_cast<LONG>(shown.size());
        return S_OK;
    }
    HRESULT ShowMessage(BSTR bstrText) override {
        shown.emplace_back(bstrText ? bstrText : u"");
        return S_OK;
    }
    std::vector<std::u16string> shown;
};

TEST(OutsideInterfaces, CallsBySlotNumberReachTheNamedMember) {
    NumberTable table;
    ASSERT_EQ(table.SetNumber(27, 15), S_OK);
    ASSERT_EQ(table.SetNumber(28, 16), S_OK);
    using GetNumberFn = HRESULT (*)(IOrvNumberTable*, LONG, LONG*);
    LONG number = -1;
    EXPECT_EQ(SlotFunction<GetNumberFn>(static_cast<IOrvNumberTable*>(&table), 6)(&table, 27, &number), S_OK);
    EXPECT_EQ(number, 15);
    EXPECT_EQ(SlotFunction<GetNumberFn>(static_cast<IOrvNumberTable*>(&table), 6)(&table, 99, &number), S_OK);
    EXPECT_EQ(number, 0);

    // A host implementation built with the class toolkit, called at slot 10
    // the way the library's error reporting calls it.
    orv::ComPtr<IUnknown> unknown;
    MessageService* service = nullptr;
    ASSERT_EQ(orv::CreateObjectWithAccess<MessageService>(&unknown, &service), S_OK);
    orv::ComPtr<IOrvMessageService> messages;
    ASSERT_EQ(unknown->QueryInterface(IID_PPV_ARGS(messages.GetAddressOf())), S_OK);
    using ShowFn = HRESULT (*)(IOrvMessageService*, BSTR);
    orv::Bstr text(u"Класс не зарегистрирован");
    EXPECT_EQ(SlotFunction<ShowFn>(messages.Get(), 10)(messages.Get(), text.Get()), S_OK);
    ASSERT_EQ(service->shown.size(), 1u);
    EXPECT_EQ(service->shown[0], u"Класс не зарегистрирован");

    // Its IDispatch answers names from the compiled-in table.
    orv::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(unknown->QueryInterface(IID_PPV_ARGS(dispatch.GetAddressOf())), S_OK);
    OLECHAR name[] = u"ShowMessage";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, orv::test::DispIdOf(TypeInfoOf(static_cast<const IOrvMessageService*>(nullptr)), u"ShowMessage",
                                      INVOKE_FUNC));
    EXPECT_NE(id, DISPID_UNKNOWN);
}

}  // namespace
