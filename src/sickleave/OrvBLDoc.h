// The sick-leave document (type code 21). Built so far: the hand-over from
// its generic document, which takes the access type from the document's
// database service, and the enumeration of the sick-leave types
// (IOrvENUMBlTypes). The members of IOrvBLDoc answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "sickleave/TypeTable.h"
#include "typelib/not_built.h"

namespace orv {

class OrvBLDoc : public SpecificObject<OrvBLDoc, &CLSID_OrvBLDoc, Pending<IOrvBLDoc>, IDispatch, ISupportErrorInfo,
                                       TearOff<IOrvENUMBlTypes, TypeTableTearOff<OrvBLDoc>>> {
public:
    static std::span<const TypeRow> TypeRows() noexcept { return SickLeaveTypeRows(); }
    static constexpr auto kTypeFilter = TypeTableEnumerator::Filter::FromDatabase;

    // The sick-leave document's own step of the hand-over, run right after it
    // receives its document: the access type becomes 1 when the session of
    // the document's database service answers a non-zero access type, else 0.
    // Without a database service it stays 0.
    HRESULT DocumentAttached();

    // The access type handed to every protocol this object creates.
    LONG AccessType() noexcept;

private:
    LONG accessType_ = 0;
};

}  // namespace orv
