// The outside specific document of type code 410: a child of the employee.
// The generic document hands itself over through OrvDocument put (slot 14);
// the object keeps that reference for its whole life and shows the child's
// data, all of it kept in the generic document's record:
//   Name       the document's Memo (at most 45 characters in the record);
//   BirthDate  the document's DcDat1 as a day number (0: not known);
//   BirthYear  the document's dcLong index 0; when that is 0, the year of
//              BirthDate (0 when that is not known either). Put stores
//              dcLong index 0 only.
// Without a generic document every property answers E_POINTER, and
// OrvDocument get gives null with S_FALSE. The lock guards only the held
// reference: the document is called outside it, under its own lock.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/document.h>

namespace orv::host {

class OrvOutsideDoc : public CoClass<OrvOutsideDoc, &CLSID_OrvOutsideDoc, IOrvOutsideDoc, IDispatch> {
public:
    HRESULT get_Name(BSTR* pVal) override;
    HRESULT put_Name(BSTR newVal) override;
    HRESULT get_BirthDate(DATE* pVal) override;
    HRESULT put_BirthDate(DATE newVal) override;
    HRESULT get_BirthYear(LONG* pVal) override;
    HRESULT put_BirthYear(LONG newVal) override;
    HRESULT get_OrvDocument(IUnknown** pVal) override;
    // A null value lets the held document go; an object that is not a
    // document gives E_NOINTERFACE and keeps the one held.
    HRESULT put_OrvDocument(IUnknown* newVal) override;

private:
    // The held document, or null (taken under the lock).
    ComPtr<IOrvDocument> Document();

    ComPtr<IOrvDocument> document_;
};

}  // namespace orv::host
