// The small reference objects: address parts, identity document type and job
// position. Each is a typed face over a reference item, an outside component
// that the object aggregates at construction and that keeps the entry's values.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

// Creates the reference item aggregated with the object, then hands it the
// object's kind number and its class identifier as braced text.
HRESULT CreateReferenceItem(IUnknown* outer, LONG kind, REFCLSID clsid, ComPtr<IUnknown>* inner) noexcept;

template <class Derived, const CLSID* Clsid, LONG Kind, class... Entries>
class ReferenceObject : public CoClass<Derived, Clsid, Entries...> {
public:
    static constexpr LONG kKind = Kind;
    HRESULT FinalConstruct() { return CreateReferenceItem(this->ControllingUnknown(), Kind, *Clsid, &item_); }
    IUnknown* InnerUnknown(REFIID) noexcept { return item_.Get(); }

protected:
    ComPtr<IUnknown> item_;  // the item's own (inner) IUnknown
};

class OrvAddrRegion : public ReferenceObject<OrvAddrRegion, &CLSID_OrvAddrRegion, 3, Pending<IOrvAddrRegion>,
                                             ISupportErrorInfo, IDispatch, Aggregated<IOrvRefItem>,
                                             Aggregated<IOrvObjAsXmlString>> {};
class OrvAddrCity : public ReferenceObject<OrvAddrCity, &CLSID_OrvAddrCity, 4, Pending<IOrvAddrCity>, ISupportErrorInfo,
                                           IDispatch, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvAddrDistrict
    : public ReferenceObject<OrvAddrDistrict, &CLSID_OrvAddrDistrict, 7, Pending<IOrvAddrDistrict>, ISupportErrorInfo,
                             IDispatch, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvAddrCountry
    : public ReferenceObject<OrvAddrCountry, &CLSID_OrvAddrCountry, 6, Pending<IOrvAddrCountry>, IDispatch,
                             ISupportErrorInfo, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvIdType : public ReferenceObject<OrvIdType, &CLSID_OrvIdType, 5, Pending<IOrvIdType>, IDispatch,
                                         ISupportErrorInfo, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvJobPosition
    : public ReferenceObject<OrvJobPosition, &CLSID_OrvJobPosition, 2, Pending<IOrvJobPosition>, IDispatch,
                             ISupportErrorInfo, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};

}  // namespace orv
