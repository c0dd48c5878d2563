// The sum collector: extra sums that a document carries under an identifier.
// A collector holds its identifier and a row of amounts (index 0 up); the
// database service attaches collectors to documents, documents copy them
// (Clone, slot 14) and write and read them in their XML form.
//
// XML form: the collector's element (the document's "SMS") carries
//   "ID"    the identifier; written only when the element has no "ID" yet,
//           since the document writes its own key there first and that key
//           stays authoritative; read back into the identifier when present;
//   "SUM"   the amount at index 0, "SUM1", "SUM2", ... the following ones,
//           each a currency value ("12.5", "-3", "0").
// Reading takes the amounts up to the first missing "SUMn" and replaces every
// amount held before. lMode is not used.
// The short form is the amounts joined by ";" ("12.5;0;3"); the full form the
// stand-alone "SMS" element.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/xmlstring.h>

#include <vector>

namespace orv::host {

class OrvSumCollector
    : public CoClass<OrvSumCollector, &CLSID_OrvSumCollector, IOrvSumCollector, IDispatch, IOrvObjAsXmlString> {
public:
    // The largest number of amounts a collector holds.
    static constexpr LONG kMaxSums = 1024;

    HRESULT get_Id(LONG* pVal) override;
    HRESULT put_Id(LONG newVal) override;
    // The number of amounts held (the highest index put, plus one).
    HRESULT get_Count(LONG* pVal) override;
    // Index 0..kMaxSums-1, else E_INVALIDARG; an index not held reads 0 with S_FALSE.
    HRESULT get_Sum(LONG lIndex, CY* pVal) override;
    // Index 0..kMaxSums-1; the row grows with zero amounts up to the index.
    HRESULT put_Sum(LONG lIndex, CY newVal) override;
    // The sum of all amounts; DISP_E_OVERFLOW when it leaves the currency range.
    HRESULT get_Total(CY* pVal) override;
    // Drops every amount; the identifier stays.
    HRESULT Clear() override;
    // A new collector with the same identifier and amounts.
    HRESULT Clone(IUnknown** ppunkCopy) override;

    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

private:
    LONG id_ = 0;
    std::vector<CY> sums_;
};

}  // namespace orv::host
