#include "support/typeinfo_check.h"

#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace orv::test {
namespace {

std::vector<std::u16string> SplitParams(const char16_t* paramText, std::vector<std::u16string>* marks) {
    std::vector<std::u16string> names;
    if (!paramText || !*paramText) return names;
    std::u16string_view s(paramText);
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t comma = s.find(u',', start);
        std::u16string_view item = s.substr(start, comma == std::u16string_view::npos ? s.size() - start : comma - start);
        std::size_t colon = item.find(u':');
        names.emplace_back(item.substr(0, colon));
        marks->emplace_back(colon == std::u16string_view::npos ? std::u16string() : std::u16string(item.substr(colon + 1)));
        if (comma == std::u16string_view::npos) break;
        start = comma + 1;
    }
    return names;
}

const char* KindName(INVOKEKIND k) {
    switch (k) {
        case INVOKE_PROPERTYGET: return "get";
        case INVOKE_PROPERTYPUT: return "put";
        case INVOKE_PROPERTYPUTREF: return "putref";
        default: return "method";
    }
}

}  // namespace

void CheckTypeInfoTable(const orv::ti::Interface& info) {
    const std::string iface = info.name ? Utf16ToUtf8(info.name) : "?";
    SCOPED_TRACE("interface " + iface);
    ASSERT_NE(info.iid, nullptr);
    ASSERT_GT(info.count, 0u);
    ASSERT_NE(info.help, nullptr);

    std::set<int> slots;
    std::set<std::pair<DISPID, int>> ids;
    std::map<DISPID, std::u16string> nameOfId;
    for (std::size_t i = 0; i < info.count; ++i) {
        const auto& m = info.members[i];
        const std::string name = Utf16ToUtf8(m.name ? m.name : u"");
        SCOPED_TRACE("member " + name);
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(slots.insert(m.slot).second) << "slot " << m.slot << " listed twice";
        EXPECT_TRUE(ids.insert({m.dispid, m.kind}).second) << "dispid " << m.dispid << " repeated for one kind";
        auto [it, fresh] = nameOfId.emplace(m.dispid, m.name);
        if (!fresh) {
            EXPECT_EQ(Utf16ToUtf8(it->second), name) << "dispid " << m.dispid << " names two members";
        }

        std::vector<std::u16string> marks;
        auto params = SplitParams(m.paramSpec, &marks);
        EXPECT_EQ(params.size(), static_cast<std::size_t>(m.paramCount)) << "parameter names do not match the signature";
        std::set<std::u16string> unique;
        for (std::size_t p = 0; p < params.size() && p < static_cast<std::size_t>(m.paramCount); ++p) {
            EXPECT_FALSE(params[p].empty());
            EXPECT_TRUE(unique.insert(params[p]).second) << "parameter named twice";
            const VARTYPE base = m.types[p] & VT_TYPEMASK;
            if (marks[p] == u"DATE") {
                EXPECT_EQ(base, VT_R8) << "DATE mark on a non-double";
            } else if (marks[p] == u"BOOL") {
                EXPECT_EQ(base, VT_I2) << "BOOL mark on a non-16-bit integer";
            } else {
                EXPECT_TRUE(marks[p].empty()) << "unknown mark " << Utf16ToUtf8(marks[p]);
            }
        }
        if (m.kind == INVOKE_PROPERTYGET) {
            ASSERT_GE(m.paramCount, 1);
            EXPECT_TRUE(m.types[m.paramCount - 1] & VT_BYREF) << "a property get ends with its out-pointer";
        }
        if (m.kind == INVOKE_PROPERTYPUT || m.kind == INVOKE_PROPERTYPUTREF) {
            ASSERT_GE(m.paramCount, 1);
            EXPECT_FALSE(m.types[m.paramCount - 1] & VT_BYREF) << "a property put ends with the new value";
        }
    }
    // Slots run without gaps from the first after IDispatch (7) to the last.
    ASSERT_FALSE(slots.empty());
    EXPECT_EQ(*slots.begin(), 7) << "the table does not start at the first slot after IDispatch";
    EXPECT_EQ(*slots.rbegin(), 7 + static_cast<int>(info.count) - 1) << "a member of the interface is missing from its table";
}

DISPID DispIdOf(const orv::ti::Interface& info, std::u16string_view name, INVOKEKIND kind) {
    for (std::size_t i = 0; i < info.count; ++i)
        if (info.members[i].kind == kind && name == info.members[i].name) return info.members[i].dispid;
    return -1;
}

std::string MemberListOf(const orv::ti::Interface& info) {
    std::string out;
    for (std::size_t i = 0; i < info.count; ++i) {
        if (!out.empty()) out += ' ';
        out += KindName(info.members[i].kind);
        out += ':';
        out += Utf16ToUtf8(info.members[i].name);
    }
    return out;
}

}  // namespace orv::test
