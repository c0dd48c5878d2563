// Vaccinations by index 1, 2, ... (type 362), kept under "IJDOCEX":
//
//   <IJDOCEX><IJ NDX="index" SER="series" NAME="name" DT="date"/>...</IJDOCEX>
//
// one "IJ" per entry, in ascending order of the index. An index below 1 is
// refused with E_INVALIDARG. An absent entry reads as the empty text and 0.0;
// a put creates the entry (its other fields empty or 0.0) or replaces one
// field. On reading, "IJ" elements with an index below 1 are skipped and a
// later one for an index replaces an earlier one. The interface has no
// IsInitialized; the extension frame keeps the flag all the same.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

#include <map>
#include <string>

namespace orv {

class OrvIJDoc : public ExtensionKind<OrvIJDoc, &CLSID_OrvIJDoc, IOrvIJDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"IJDOCEX";

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IJName(LONG lIndex, BSTR* pVal) override { return GetText(lIndex, &Entry::name, pVal); }
    HRESULT put_IJName(LONG lIndex, BSTR newVal) override { return PutText(lIndex, &Entry::name, newVal); }
    HRESULT get_IJDate(LONG lIndex, DATE* pVal) override;
    HRESULT put_IJDate(LONG lIndex, DATE newVal) override;
    HRESULT get_IJSeria(LONG lIndex, BSTR* pVal) override { return GetText(lIndex, &Entry::seria, pVal); }
    HRESULT put_IJSeria(LONG lIndex, BSTR newVal) override { return PutText(lIndex, &Entry::seria, newVal); }

private:
    struct Entry {
        std::u16string name;
        std::u16string seria;
        DATE date = 0.0;
    };
    static bool IsIndex(LONG index) noexcept { return index >= 1; }
    HRESULT GetText(LONG index, std::u16string Entry::*field, BSTR* pVal);
    HRESULT PutText(LONG index, std::u16string Entry::*field, BSTR newVal);

    std::map<LONG, Entry> entries_;
};

}  // namespace orv
