// The vacation document (type code 22 and the kinds that carry a vacation
// protocol). Built so far: the hand-over from its generic document and the
// enumeration of the vacation types (IOrvENUMBlTypes, without a filter). The
// members of IOrvOTDoc and IOrvOTProtocol answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "sickleave/TypeTable.h"
#include "typelib/not_built.h"

namespace orv {

class OrvOTDoc : public SpecificObject<OrvOTDoc, &CLSID_OrvOTDoc, Pending<IOrvOTDoc>, IDispatch,
                                       TearOff<IOrvENUMBlTypes, TypeTableTearOff<OrvOTDoc>>, Pending<IOrvOTProtocol>> {
public:
    static std::span<const TypeRow> TypeRows() noexcept { return VacationTypeRows(); }
    static constexpr auto kTypeFilter = TypeTableEnumerator::Filter::None;
};

}  // namespace orv
