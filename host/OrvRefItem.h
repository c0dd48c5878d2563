// The reference item: one entry of a host reference table (kind, owner class,
// index, code, name, database key and three 16-bit flags). The library's
// reference classes aggregate it; it writes and reads itself as the XML
// element's attributes "KIND", "CLSID", "INDEX", "CODE", "NAME", "ID", "F1", "F2", "F3".
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/xmlstring.h>

#include <string>

namespace orv::host {

class OrvRefItem : public CoClass<OrvRefItem, &CLSID_OrvRefItem, IOrvRefItem, IDispatch, IOrvObjAsXmlString> {
public:
    HRESULT get_Kind(LONG* pVal) override;
    HRESULT put_Kind(LONG newVal) override;
    HRESULT get_Index(LONG* pVal) override;
    HRESULT put_Index(LONG newVal) override;
    HRESULT get_Code(BSTR* pVal) override;
    HRESULT put_Code(BSTR newVal) override;
    HRESULT get_Name(BSTR* pVal) override;
    HRESULT put_Name(BSTR newVal) override;
    HRESULT get_Id(LONG* pVal) override;
    HRESULT put_Id(LONG newVal) override;
    HRESULT get_ClassId(BSTR* pVal) override;
    HRESULT put_ClassId(BSTR newVal) override;
    HRESULT get_Flag1(SHORT* pVal) override;
    HRESULT put_Flag1(SHORT newVal) override;
    HRESULT get_Flag2(SHORT* pVal) override;
    HRESULT put_Flag2(SHORT newVal) override;
    HRESULT get_Flag3(SHORT* pVal) override;
    HRESULT put_Flag3(SHORT newVal) override;

    // The short form is the entry's name; the full form its "REFITEM" element.
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

private:
    template <class T>
    HRESULT Get(const T& field, T* out);
    template <class T>
    HRESULT Put(T& field, T value);
    HRESULT GetText(const std::u16string& field, BSTR* out);
    HRESULT PutText(std::u16string& field, BSTR value);

    LONG kind_ = 0;
    LONG index_ = 0;
    LONG id_ = 0;
    SHORT flags_[3] = {0, 0, 0};
    std::u16string code_, name_, classId_;
};

}  // namespace orv::host
