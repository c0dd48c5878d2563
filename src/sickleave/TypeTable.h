// The enumeration of a fixed table of benefit types (IOrvENUMBlTypes): the
// sick-leave types of OrvBLDoc and the vacation types of OrvOTDoc.
//
// Each query of IOrvENUMBlTypes on those classes gives a new tear-off with its
// own state: a row index (0 at creation) and a filter (a set of type codes,
// empty at creation; an empty filter lets every row pass). The tear-off keeps
// its owner alive and takes its own lock in every member.
#pragma once

#include "frame/com.h"

#include <orvdocs/typelib/sickleave.h>

#include <cstddef>
#include <set>
#include <span>

namespace orv {

struct TypeRow {
    LONG code;
    const char16_t* text;  // begins with the code
};

// The sick-leave types (40 rows, codes 0 to 41 without 30 and 35) and the
// vacation types (12 rows, codes 1 to 12), in code order.
std::span<const TypeRow> SickLeaveTypeRows() noexcept;
std::span<const TypeRow> VacationTypeRows() noexcept;

// The state and behaviour of one enumerator.
class TypeTableEnumerator {
public:
    enum class Filter : unsigned char {
        FromDatabase,  // ApplyFilter adds the codes the database service allows today
        None,          // ApplyFilter does nothing
    };
    // `owner` names the class in error reports.
    TypeTableEnumerator(std::span<const TypeRow> rows, Filter filter, const CLSID& owner) noexcept;
    ~TypeTableEnumerator();
    TypeTableEnumerator(const TypeTableEnumerator&) = delete;
    TypeTableEnumerator& operator=(const TypeTableEnumerator&) = delete;

    HRESULT Reset() noexcept;
    HRESULT Next(BSTR* pbstrTypeName, LONG* plType) noexcept;
    HRESULT TypeToName(LONG lType, BSTR* pName) noexcept;
    HRESULT GetPipedString(BSTR* pString) noexcept;
    HRESULT ApplyFilter(IUnknown* punkOrvBD) noexcept;

private:
    bool Passes(LONG code) const { return filter_.empty() || filter_.count(code) != 0; }

    std::span<const TypeRow> rows_;
    Filter filterKind_;
    const CLSID& owner_;
    CRITICAL_SECTION cs_;
    std::size_t index_ = 0;
    std::set<LONG> filter_;
};

// The tear-off that serves IOrvENUMBlTypes for an owner class.
template <class Owner>
class TypeTableTearOff final : public TearOffOf<Owner, IOrvENUMBlTypes> {
public:
    explicit TypeTableTearOff(Owner* owner)
        : TearOffOf<Owner, IOrvENUMBlTypes>(owner),
          enumerator_(Owner::TypeRows(), Owner::kTypeFilter, Owner::ClassId()) {}

    HRESULT Reset() override { return enumerator_.Reset(); }
    HRESULT Next(BSTR* pbstrTypeName, LONG* plType) override { return enumerator_.Next(pbstrTypeName, plType); }
    HRESULT TypeToName(LONG lType, BSTR* pName) override { return enumerator_.TypeToName(lType, pName); }
    HRESULT GetPipedString(BSTR* pString) override { return enumerator_.GetPipedString(pString); }
    HRESULT ApplyFilter(IUnknown* punkOrvBD) override { return enumerator_.ApplyFilter(punkOrvBD); }

private:
    TypeTableEnumerator enumerator_;
};

}  // namespace orv
