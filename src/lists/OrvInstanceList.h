// The instance list: a numbered list of reference entries of one table
// (reference items of the host), found by number, code or name, stored
// through the database service, given as piped text for selection controls
// and written and read as XML, each entry recreated from its class identifier.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/lists.h>
#include <orvdocs/typelib/xmlstring.h>

#include <map>
#include <string_view>
#include <vector>

namespace orv {

class OrvInstanceList
    : public CoClass<OrvInstanceList, &CLSID_OrvInstanceList, IOrvInstanceList, IDispatch, ISupportErrorInfo,
                     IOrvObjAsXmlString> {
public:
    HRESULT Reset() override;
    HRESULT AddItem(IUnknown* punkItem) override;
    HRESULT Next(IUnknown** ppunkItem) override;
    HRESULT Next2(IDispatch** pItem) override;
    HRESULT get_Item(LONG lItemCode, IUnknown** pVal) override;
    HRESULT FindItem(BSTR Name, IUnknown** ppunkItem) override;
    HRESULT FindByCode(BSTR Code, IUnknown** ppunkItem) override;
    HRESULT FindByCode2(BSTR Code, IDispatch** pItem) override;
    HRESULT FindByCodeAndName(BSTR Name, BSTR Code, IUnknown** ppunkItem) override;
    HRESULT GetMaxIndex(LONG* plIndex) override;
    HRESULT get_ListID(LONG* pVal) override;
    HRESULT put_ListID(LONG newVal) override;
    HRESULT StoreEntry(IUnknown* punkOrvBD, BSTR bstrName, BSTR bstrCode, LONG* pIndex) override;
    HRESULT StoreEntryPiped(LONG lPipeId, IUnknown* punkOrvBD, BSTR bstrName, BSTR bstrCode, LONG* pIndex) override;
    HRESULT GetPipedString(LONG lParam, BSTR* pResult) override;

    // The short form does not exist (E_NOTIMPL). The full form is the
    // "ORVINSTLIST" element; reading it adds the entries read to the list and
    // changes nothing when one of them fails to read itself.
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

private:
    struct Entry {
        ComPtr<IUnknown> unknown;
        ComPtr<IOrvRefItem> item;  // null when the entry does not serve the item interface
    };
    // An entry with its item interface and number (raises when the number
    // cannot be read); then appended and indexed by its number, which cannot
    // fail but for memory. Caller holds the lock.
    static Entry MakeEntry(ComPtr<IUnknown> unknown, LONG* number);
    void Commit(Entry entry, LONG number);
    void Append(ComPtr<IUnknown> unknown);
    // The first entry (serving the item interface) that matches, or null.
    template <class F>
    IUnknown* FindFirst(F&& matches);
    HRESULT FindText(BSTR Name, BSTR Code, bool byName, bool byCode, IUnknown** ppunkItem);

    std::vector<Entry> entries_;
    std::map<LONG, IUnknown*> index_;  // number -> entry (the entry is held by entries_)
    std::size_t cursor_ = 0;
    LONG listId_ = 0;
};

}  // namespace orv
