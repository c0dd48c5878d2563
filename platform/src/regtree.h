// The registry's data: a tree of keys per root with typed values, and its text
// file form (described in docs/registry.md).
#pragma once

#include <orvdocs/platform/registry.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv::reg {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users };
inline constexpr std::size_t kRootCount = 4;
// The name a root has in the file ("HKEY_CLASSES_ROOT", ...).
const char* RootName(Root r);

// Key and value names compare without regard to ASCII case; this is the form
// they are compared and ordered in (ASCII letters upper-cased).
std::u16string Fold(std::u16string_view name);

struct Value {
    std::u16string name;  // as set; empty for the default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::u16string name;                                    // as created
    std::vector<Value> values;                              // in the order they were first set
    std::map<std::u16string, std::unique_ptr<Key>> subkeys; // by folded name, so enumeration is sorted

    Key* Subkey(std::u16string_view name) const;
    Value* FindValue(std::u16string_view name);
    // Creates the subkey when missing; `created` tells which happened.
    Key& SubkeyOrCreate(std::u16string_view name, bool* created);
    bool Empty() const { return values.empty() && subkeys.empty(); }
};

struct Tree {
    std::array<Key, kRootCount> roots;
    Tree();
    Key& root(Root r) { return roots[static_cast<std::size_t>(r)]; }
    void Clear();
};

// The file form. Serialize writes a complete file; Parse reads one and, on any
// damage, gives false and a message naming the line and the fault (the tree is
// then left as it was).
std::string Serialize(const Tree& tree);
bool Parse(std::string_view text, Tree& tree, std::string& error);

}  // namespace orv::reg
