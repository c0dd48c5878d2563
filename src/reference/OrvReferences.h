// The small reference objects: address parts, identity document type and job
// position. Each is a typed face over a reference item, an outside component
// that the object aggregates at construction and that keeps the entry's values;
// the object hands the item its kind number and its class identifier as
// braced text, and every property is one call on the item (IOrvRefItem):
//
//   Index  get/put slots 9/10      Flag1  get/put slots 19/20 (job position)
//   Code   get/put slots 11/12     Flag2  get/put slots 21/22 (job position)
//   Name   get/put slots 13/14     Flag3 = Category, slots 23/24 (job position)
//
// A failing item call ends the member with the item's status (error
// information naming the item's interface).
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/lists.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/reference.h>
#include <orvdocs/typelib/xmlstring.h>

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
    // The item's interface; raises E_POINTER when there is no item.
    ComPtr<IOrvRefItem> Item() {
        if (!item_) throw ComError{E_POINTER, IID_IOrvRefItem};
        ComPtr<IOrvRefItem> item;
        Check(item_->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf())), IID_IOrvRefItem);
        return item;
    }
    // *out = the item's get; the item's status on failure.
    template <class T>
    HRESULT ItemGet(HRESULT (IOrvRefItem::*get)(T*), T* out) {
        if (!out) return E_POINTER;
        *out = T{};
        return this->Locked([&] {
            Check((Item().Get()->*get)(out), IID_IOrvRefItem);
            return S_OK;
        });
    }
    template <class T>
    HRESULT ItemPut(HRESULT (IOrvRefItem::*put)(T), T value) {
        return this->Locked([&] {
            Check((Item().Get()->*put)(value), IID_IOrvRefItem);
            return S_OK;
        });
    }

    ComPtr<IUnknown> item_;  // the item's own (inner) IUnknown
};

// The members every reference object has: Name, Code and Index of the item.
template <class Derived, const CLSID* Clsid, LONG Kind, class... Entries>
class ReferenceEntry : public ReferenceObject<Derived, Clsid, Kind, Entries...> {
public:
    HRESULT get_Name(BSTR* pVal) override { return this->ItemGet(&IOrvRefItem::get_Name, pVal); }
    HRESULT put_Name(BSTR newVal) override { return this->ItemPut(&IOrvRefItem::put_Name, newVal); }
    HRESULT get_Code(BSTR* pVal) override { return this->ItemGet(&IOrvRefItem::get_Code, pVal); }
    HRESULT put_Code(BSTR newVal) override { return this->ItemPut(&IOrvRefItem::put_Code, newVal); }
    HRESULT get_Index(LONG* pVal) override { return this->ItemGet(&IOrvRefItem::get_Index, pVal); }
    HRESULT put_Index(LONG newVal) override { return this->ItemPut(&IOrvRefItem::put_Index, newVal); }
};

class OrvAddrRegion : public ReferenceEntry<OrvAddrRegion, &CLSID_OrvAddrRegion, 3, IOrvAddrRegion, ISupportErrorInfo,
                                            IDispatch, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvAddrCity : public ReferenceEntry<OrvAddrCity, &CLSID_OrvAddrCity, 4, IOrvAddrCity, ISupportErrorInfo, IDispatch,
                                          Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvAddrDistrict
    : public ReferenceEntry<OrvAddrDistrict, &CLSID_OrvAddrDistrict, 7, IOrvAddrDistrict, ISupportErrorInfo, IDispatch,
                            Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvAddrCountry : public ReferenceEntry<OrvAddrCountry, &CLSID_OrvAddrCountry, 6, IOrvAddrCountry, IDispatch,
                                             ISupportErrorInfo, Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};
class OrvIdType : public ReferenceEntry<OrvIdType, &CLSID_OrvIdType, 5, IOrvIdType, IDispatch, ISupportErrorInfo,
                                        Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {};

// The job position: Category and Flag3 are one value of the item (Category
// widens it with its sign and stores the low 16 bits of the long); the four
// stavka members keep nothing, answer S_OK and leave a get's out-value as it was.
class OrvJobPosition
    : public ReferenceEntry<OrvJobPosition, &CLSID_OrvJobPosition, 2, IOrvJobPosition, IDispatch, ISupportErrorInfo,
                            Aggregated<IOrvRefItem>, Aggregated<IOrvObjAsXmlString>> {
public:
    HRESULT get_Category(LONG* pVal) override;
    HRESULT put_Category(LONG newVal) override;
    HRESULT get_Flag1(SHORT* pVal) override { return ItemGet(&IOrvRefItem::get_Flag1, pVal); }
    HRESULT put_Flag1(SHORT newVal) override { return ItemPut(&IOrvRefItem::put_Flag1, newVal); }
    HRESULT get_Flag2(SHORT* pVal) override { return ItemGet(&IOrvRefItem::get_Flag2, pVal); }
    HRESULT put_Flag2(SHORT newVal) override { return ItemPut(&IOrvRefItem::put_Flag2, newVal); }
    HRESULT get_Flag3(SHORT* pVal) override { return ItemGet(&IOrvRefItem::get_Flag3, pVal); }
    HRESULT put_Flag3(SHORT newVal) override { return ItemPut(&IOrvRefItem::put_Flag3, newVal); }
    HRESULT get_xmlStavka(BSTR* pVal) override { return Untouched(pVal); }
    HRESULT put_xmlStavka(BSTR) override { return S_OK; }
    HRESULT get_stavkaRazryad(LONG* pVal) override { return Untouched(pVal); }
    HRESULT put_stavkaRazryad(LONG) override { return S_OK; }
    HRESULT get_stavkaOklad(CY* pVal) override { return Untouched(pVal); }
    HRESULT put_stavkaOklad(CY) override { return S_OK; }
    HRESULT get_stavkaTarif(CY* pVal) override { return Untouched(pVal); }
    HRESULT put_stavkaTarif(CY) override { return S_OK; }

private:
    template <class T>
    HRESULT Untouched(T* pVal) {
        if (!pVal) return E_POINTER;
        return Locked([] { return S_OK; });
    }
};

}  // namespace orv
