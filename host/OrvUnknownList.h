// The list component: an ordered list of counted object references with a
// walk cursor.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>

#include <vector>

namespace orv::host {

class OrvUnknownList : public CoClass<OrvUnknownList, &CLSID_OrvUnknownList, IOrvUnknownList, IDispatch> {
public:
    HRESULT Reset() override;
    HRESULT Add(IUnknown* punk) override;
    HRESULT Next(IUnknown** ppunk) override;
    HRESULT get_Count(LONG* pVal) override;
    HRESULT RemoveAll() override;

private:
    std::vector<ComPtr<IUnknown>> items_;
    std::size_t cursor_ = 0;
};

}  // namespace orv::host
