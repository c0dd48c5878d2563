// The account list and the address list: an ordered list of entries with a
// walk cursor (IOrvItemList) and an XML form (IOrvObjAsXmlString) in which
// each entry is one "ITEM" child written by the entry itself. Reading an
// element recreates each entry from its "CLSID" attribute (the host's
// reference item when there is none) and lets it read its own element.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/itemlists.h>
#include <orvdocs/frame/lists.h>
#include <orvdocs/typelib/xmlstring.h>

#include <vector>

namespace orv::host {

template <const CLSID* Clsid>
class OrvItemListT
    : public CoClass<OrvItemListT<Clsid>, Clsid, IOrvItemList, IDispatch, IOrvObjAsXmlString> {
public:
    HRESULT Reset() override;
    HRESULT Add(IUnknown* punk) override;
    HRESULT Next(IUnknown** ppunk) override;
    HRESULT get_Count(LONG* pVal) override;
    HRESULT RemoveAll() override;

    // ShortString: the entries' short forms joined by ";" (put: E_NOTIMPL,
    // a short form names no class to recreate an entry from).
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    // FullString: the list as its own element (the root name given below).
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

private:
    std::vector<ComPtr<IUnknown>> items_;
    std::size_t cursor_ = 0;
};

extern template class OrvItemListT<&CLSID_OrvAccountList>;
extern template class OrvItemListT<&CLSID_OrvAddressList>;

using OrvAccountList = OrvItemListT<&CLSID_OrvAccountList>;
using OrvAddressList = OrvItemListT<&CLSID_OrvAddressList>;

}  // namespace orv::host
