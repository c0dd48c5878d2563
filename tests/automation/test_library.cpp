// Automation over the whole library: every table answers names and type
// information, every class's IDispatch is its dual interface, interfaces are
// registered and unregistered, and real classes are called by name.
#include "frame/com.h"
#include "frame/module.h"
#include "host/registration.h"
#include "typelib/interfaces.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::string Name(const char16_t* s) { return orv::Utf16ToUtf8(s ? s : u""); }

std::u16string Flip(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 32);
        else if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 32);
    }
    return s;
}

std::vector<std::u16string> ParamNames(const orv::ti::Member& m) {
    std::vector<std::u16string> out;
    std::u16string_view paramText = m.paramSpec ? m.paramSpec : u"";
    while (!paramText.empty()) {
        const std::size_t comma = paramText.find(u',');
        std::u16string_view item = paramText.substr(0, comma);
        out.emplace_back(item.substr(0, item.find(u':')));
        paramText = comma == std::u16string_view::npos ? std::u16string_view() : paramText.substr(comma + 1);
    }
    return out;
}

std::vector<orv::InterfaceEntry> AllDual() {
    std::vector<orv::InterfaceEntry> out;
    std::size_t n = 0;
    const orv::InterfaceEntry* lib = orv::TypeLibraryInterfaces(&n);
    for (std::size_t i = 0; i < n; ++i)
        if (lib[i].typeInfo) out.push_back(lib[i]);
    const orv::InterfaceEntry* outside = orv::OutsideDualInterfaces(&n);
    out.insert(out.end(), outside, outside + n);
    return out;
}

TEST(InterfaceList, HoldsTheTypeLibrarysInterfacesUnderTheirOwnNames) {
    std::size_t n = 0;
    const orv::InterfaceEntry* lib = orv::TypeLibraryInterfaces(&n);
    ASSERT_EQ(n, 67u);
    std::set<std::u16string> iids;
    std::size_t dual = 0;
    for (std::size_t i = 0; i < n; ++i) {
        OLECHAR text[40];
        StringFromGUID2(*lib[i].iid, text, 40);
        EXPECT_TRUE(iids.insert(text).second) << Name(lib[i].name) << " listed twice";
        if (!lib[i].typeInfo) continue;
        ++dual;
        const orv::ti::Interface* info = lib[i].typeInfo();
        EXPECT_EQ(*info->iid, *lib[i].iid) << Name(lib[i].name);
        EXPECT_EQ(Name(info->name), Name(lib[i].name));
    }
    EXPECT_EQ(dual, 59u);
}

// Every member of every dual table: its name (in any case) gives its dispid,
// its dispid gives back its name and parameter names, its description matches
// the table, and its parameter names give their positions.
TEST(EveryDualInterface, NamesAndIdsRoundTripThroughDispatchAndTypeInfo) {
    for (const orv::InterfaceEntry& e : AllDual()) {
        const orv::ti::Interface& info = *e.typeInfo();
        SCOPED_TRACE(Name(info.name));
        orv::ComPtr<ITypeInfo> ti;
        ASSERT_EQ(orv::detail::DispatchGetTypeInfo(info, 0, ti.GetAddressOf()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(ti->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->guid, *e.iid);
        EXPECT_EQ(attr->cFuncs, info.count);
        ti->ReleaseTypeAttr(attr);

        for (std::size_t i = 0; i < info.count; ++i) {
            const orv::ti::Member& m = info.members[i];
            SCOPED_TRACE(Name(m.name));
            ASSERT_NE(m.thunk, nullptr);
            const std::u16string flipped = Flip(m.name);
            LPOLESTR names[1] = {const_cast<LPOLESTR>(flipped.c_str())};
            DISPID id = DISPID_UNKNOWN;
            EXPECT_EQ(orv::detail::DispatchGetIDsOfNames(info, IID_NULL, names, 1, &id), S_OK);
            EXPECT_EQ(id, m.dispid);
            MEMBERID memid = DISPID_UNKNOWN;
            EXPECT_EQ(ti->GetIDsOfNames(names, 1, &memid), S_OK);
            EXPECT_EQ(memid, m.dispid);

            FUNCDESC* f = nullptr;
            ASSERT_EQ(ti->GetFuncDesc(static_cast<UINT>(i), &f), S_OK);
            EXPECT_EQ(f->memid, m.dispid);
            EXPECT_EQ(f->invkind, m.kind);
            EXPECT_EQ(f->cParams, m.paramCount);
            EXPECT_EQ(f->oVft, static_cast<SHORT>(m.slot * static_cast<SHORT>(sizeof(void*))));
            for (int p = 0; p < m.paramCount; ++p) {
                const bool out = (m.types[p] & VT_BYREF) != 0;
                EXPECT_EQ(f->lprgelemdescParam[p].tdesc.vt == VT_PTR, out) << "parameter " << p;
                EXPECT_EQ((f->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0, out);
            }
            ti->ReleaseFuncDesc(f);

            // The first table entry of a dispid (the get of a property) names it.
            const auto params = ParamNames(m);
            BSTR got[orv::ti::kMaxDispatchParams + 1] = {};
            UINT count = 0;
            ASSERT_EQ(ti->GetNames(m.dispid, got, orv::ti::kMaxDispatchParams + 1, &count), S_OK);
            ASSERT_GE(count, 1u);
            EXPECT_EQ(Name(got[0]), Name(m.name));
            const orv::ti::Member* first = nullptr;
            for (std::size_t k = 0; k < info.count && !first; ++k)
                if (info.members[k].dispid == m.dispid) first = &info.members[k];
            if (first == &m) {
                EXPECT_EQ(count, 1u + params.size());
                for (UINT k = 1; k < count && k <= params.size(); ++k) EXPECT_EQ(Name(got[k]), Name(params[k - 1].c_str()));
                for (std::size_t p = 0; p < params.size(); ++p) {
                    const std::u16string param = Flip(params[p]);
                    LPOLESTR both[2] = {const_cast<LPOLESTR>(flipped.c_str()), const_cast<LPOLESTR>(param.c_str())};
                    DISPID ids[2] = {};
                    EXPECT_EQ(orv::detail::DispatchGetIDsOfNames(info, IID_NULL, both, 2, ids), S_OK);
                    EXPECT_EQ(ids[1], static_cast<DISPID>(p));
                }
            }
            for (UINT k = 0; k < count; ++k) SysFreeString(got[k]);
        }
        // Names that are not members, and members' names with a letter changed.
        std::u16string bogus = std::u16string(info.members[0].name) + u"X";
        LPOLESTR names[1] = {bogus.data()};
        DISPID id = 0;
        EXPECT_EQ(orv::detail::DispatchGetIDsOfNames(info, IID_NULL, names, 1, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }
}

class WithHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostComponents(&host_), S_OK);
        ASSERT_EQ(DllRegisterServer(), S_OK);
    }
    void TearDown() override { host_.Revoke(); }
    orv::host::Registration host_;
};

// IDispatch of every class is the dual interface its type information names.
TEST_F(WithHost, EveryClassAnswersIDispatchWithTheDualInterfaceItDescribes) {
    std::size_t n = 0;
    const orv::ClassEntry* classes = orv::ClassTable(&n);
    ASSERT_GT(n, 50u);
    for (std::size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(Name(classes[i].name));
        orv::ComPtr<IDispatch> disp;
        ASSERT_EQ(classes[i].create(nullptr, IID_IDispatch, reinterpret_cast<void**>(disp.GetAddressOf())), S_OK);
        orv::ComPtr<ITypeInfo> ti;
        ASSERT_EQ(disp->GetTypeInfo(0, 0, ti.GetAddressOf()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(ti->GetTypeAttr(&attr), S_OK);
        const IID described = attr->guid;
        ti->ReleaseTypeAttr(attr);
        orv::ComPtr<IUnknown> dual;
        ASSERT_EQ(disp->QueryInterface(described, reinterpret_cast<void**>(dual.GetAddressOf())), S_OK);
        EXPECT_EQ(dual.Get(), static_cast<IUnknown*>(disp.Get()));
    }
}

std::u16string ReadValue(const std::u16string& key, const char16_t* value = nullptr) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return u"<missing>";
    char16_t buf[256] = {};
    DWORD size = sizeof buf - sizeof(char16_t);
    LSTATUS st = RegQueryValueExW(h, value, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    return st == ERROR_SUCCESS ? std::u16string(buf) : u"<no value>";
}

void WriteValue(const std::u16string& key, const char16_t* text) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((orv::WStrLen(text) + 1) * sizeof(char16_t)));
    RegCloseKey(h);
}

std::u16string InterfaceKey(REFIID iid) {
    OLECHAR text[40];
    StringFromGUID2(iid, text, 40);
    return u"Interface\\" + std::u16string(text);
}

TEST_F(WithHost, RegistrationWritesEveryInterfaceAndRemovesOnlyItsOwn) {
    const std::u16string lib = u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}";
    const std::u16string proxy = u"{00020424-0000-0000-C000-000000000046}";
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvLPDoc)), u"IOrvLPDoc");
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvLPDoc) + u"\\ProxyStubClsid32"), proxy);
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvLPDoc) + u"\\TypeLib"), lib);
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvLPDoc) + u"\\TypeLib", u"Version"), u"1.0");
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvDocument)), u"IOrvDocument");
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvDocument) + u"\\TypeLib"), lib);
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvDocument) + u"\\ProxyStubClsid32"), u"<missing>")
        << "custom interfaces have no automation proxy";
    std::size_t n = 0;
    const orv::InterfaceEntry* all = orv::TypeLibraryInterfaces(&n);
    for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(ReadValue(InterfaceKey(*all[i].iid)), all[i].name);

    // Another library's registration of one of the identifiers is left alone.
    WriteValue(InterfaceKey(IID_IOrvBank) + u"\\TypeLib", u"{11111111-2222-3333-4444-555555555555}");
    ASSERT_EQ(DllUnregisterServer(), S_OK);
    for (std::size_t i = 0; i < n; ++i) {
        if (*all[i].iid == IID_IOrvBank) continue;
        EXPECT_EQ(ReadValue(InterfaceKey(*all[i].iid)), u"<missing>") << Name(all[i].name);
    }
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvBank)), u"IOrvBank");
    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(ReadValue(InterfaceKey(IID_IOrvBank) + u"\\TypeLib"), lib) << "registration takes the key back";
}

// A reference class's aggregated item, called by name through its own
// IDispatch, behaves as its vtable does; the class's own interface answers
// by name exactly what its vtable answers.
TEST_F(WithHost, ReferenceItemOfACityIsCalledByName) {
    orv::ComPtr<IOrvAddrCity> city;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvAddrCity, nullptr, CLSCTX_ALL, IID_IOrvAddrCity,
                               reinterpret_cast<void**>(city.GetAddressOf())),
              S_OK);
    orv::ComPtr<IOrvRefItem> item;
    ASSERT_EQ(city.As(&item), S_OK);
    IDispatch* itemDisp = item.Get();

    ASSERT_EQ(orv::PutProperty(itemDisp, u"Name", orv::Variant(std::u16string_view(u"Тверь"))).hr, S_OK);
    ASSERT_EQ(orv::PutProperty(itemDisp, u"flag1", orv::Variant(std::u16string_view(u"7"))).hr, S_OK);
    orv::Bstr name;
    SHORT flag = 0;
    ASSERT_EQ(item->get_Name(name.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(item->get_Flag1(&flag), S_OK);
    EXPECT_EQ(name.View(), u"Тверь");
    EXPECT_EQ(flag, 7);

    LONG kind = 0;
    ASSERT_EQ(item->get_Kind(&kind), S_OK);
    orv::DispResult byName = orv::GetProperty(itemDisp, u"Kind");
    ASSERT_EQ(byName.hr, S_OK);
    EXPECT_EQ(byName.value.vt, VT_I4);
    EXPECT_EQ(byName.value.lVal, kind);
    EXPECT_EQ(kind, 4);
    orv::Bstr classId;
    ASSERT_EQ(item->get_ClassId(classId.ReleaseAndGetAddressOf()), S_OK);
    byName = orv::GetProperty(itemDisp, u"ClassId");
    ASSERT_EQ(byName.value.vt, VT_BSTR);
    EXPECT_EQ(std::u16string_view(byName.value.bstrVal), classId.View());

    // The city's own Name: whatever the vtable answers (a value, or E_NOTIMPL
    // while the member is pending), the call by name answers the same.
    orv::Bstr direct;
    const HRESULT hr = city->get_Name(direct.ReleaseAndGetAddressOf());
    orv::ComPtr<IDispatch> cityDisp;
    ASSERT_EQ(city.As(&cityDisp), S_OK);
    orv::DispResult r = orv::GetProperty(cityDisp.Get(), u"Name");
    if (FAILED(hr)) {
        EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(r.status, hr);
    } else {
        ASSERT_EQ(r.hr, hr);
        ASSERT_EQ(r.value.vt, VT_BSTR);
        EXPECT_EQ(std::u16string_view(r.value.bstrVal ? r.value.bstrVal : u""), direct.View());
    }
}

}  // namespace
