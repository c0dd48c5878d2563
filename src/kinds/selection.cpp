// Selection of the specific object by a document's type code.
#include "kinds/selection.h"

#include "kinds/all_kinds.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/platform/combase.h>

#include <algorithm>

namespace orv {
namespace {

using Creator = HRESULT (*)(IOrvDocument*, IUnknown**) noexcept;

struct KindRow {
    LONG typeCode;
    Creator create;
};

// Sorted by type code.
const KindRow kKinds[] = {
    {1, &CreateSpecific<OrvOKDoc>},
    {7, &CreateSpecific<OrvAVDoc>},
    {8, &CreateSpecific<OrvMPDoc>},
    {10, &CreateSpecific<OrvSBDoc>},
    {14, &CreateSpecific<OrvINDoc>},
    {15, &CreateSpecific<OrvILDoc>},
    {17, &CreateSpecific<OrvSTDoc>},
    {21, &CreateSpecific<OrvBLDoc>},
    {22, &CreateSpecific<OrvOTDoc>},
    {30, &CreateSpecific<OrvORDoc>},
    {40, &CreateSpecific<OrvLPDoc>},
    {48, &CreateSpecific<OrvOKDoc>},
    {51, &CreateSpecific<OrvTNDoc>},
    {68, &CreateSpecific<OrvVlDoc>},
    {69, &CreateSpecific<OrvPSDoc>},
    {71, &CreateSpecific<OrvDOutsSovm>},
    {91, &CreateSpecific<OrvDRDoc>},
    {92, &CreateSpecific<OrvVODoc>},
    {93, &CreateSpecific<OrvUVDoc>},
    {136, &CreateSpecific<OrvSRDoc>},
    {137, &CreateSpecific<OrvS1Doc>},
    {138, &CreateSpecific<OrvS2Doc>},
    {250, &CreateSpecific<OrvTVDoc>},
    {260, &CreateSpecific<OrvNLDoc>},
    {300, &CreateSpecific<OrvMPDoc>},
    {301, &CreateSpecific<OrvZMDoc>},
    {304, &CreateSpecific<OrvTDDoc>},
    {332, &CreateSpecific<OrvZZDoc>},
    {333, &CreateSpecific<OrvS3Doc>},
    {334, &CreateSpecific<OrvXLDoc>},
    {335, &CreateSpecific<OrvERDoc>},
    {336, &CreateSpecific<OrvTCDoc>},
    {338, &CreateSpecific<OrvZGDoc>},
    {346, &CreateSpecific<OrvRIDoc>},
    {349, &CreateSpecific<OrvVVDoc>},
    {356, &CreateSpecific<OrvMGDoc>},
    {361, &CreateSpecific<OrvMIDoc>},
    {362, &CreateSpecific<OrvIJDoc>},
    {368, &CreateSpecific<OrvVODoc>},
    {369, &CreateSpecific<OrvBVDoc>},
    {396, &CreateSpecific<OrvJBDoc>},
    {402, &CreateSpecific<OrvJBDoc>},
    {403, &CreateSpecific<OrvJBDoc>},
    {404, &CreateSpecific<OrvJBDoc>},
    {405, &CreateSpecific<OrvJBDoc>},
    {407, &CreateSpecific<OrvMDDoc>},
    {408, &CreateSpecific<OrvMYDoc>},
    {411, &CreateSpecific<OrvJBDoc>},
    {413, &CreateSpecific<OrvJBDoc>},
    {414, &CreateSpecific<OrvJBDoc>},
    {420, &CreateSpecific<OrvJBDoc>},
    {421, &CreateSpecific<OrvJBDoc>},
    {423, &CreateSpecific<OrvJBDoc>},
    {424, &CreateSpecific<OrvJBDoc>},
};

// Type code 410 names a document kind served by another component: it is created
// by class identifier and handed the generic document.
constexpr LONG kOutsideKind = 410;

HRESULT CreateOutside(IOrvDocument* document, IUnknown** out) noexcept {
    ComPtr<IOrvOutsideDoc> outside;
    HRESULT hr = CoCreateInstance(CLSID_OrvOutsideDoc, nullptr, CLSCTX_ALL, IID_IOrvOutsideDoc,
                                  reinterpret_cast<void**>(outside.GetAddressOf()));
    if (FAILED(hr)) return hr;
    ComPtr<IUnknown> identity;  // the document's own IUnknown, as the component expects
    hr = document->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf()));
    if (FAILED(hr)) return hr;
    hr = outside->put_OrvDocument(identity.Get());
    if (FAILED(hr)) return hr;
    return outside->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

}  // namespace

HRESULT CreateSpecificObject(LONG typeCode, IOrvDocument* document, IUnknown** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!document) return E_POINTER;
    if (typeCode == kOutsideKind) return CreateOutside(document, out);
    const KindRow* end = kKinds + sizeof(kKinds) / sizeof(kKinds[0]);
    const KindRow* row = std::lower_bound(kKinds, end, typeCode, [](const KindRow& r, LONG code) { return r.typeCode < code; });
    if (row == end || row->typeCode != typeCode) return E_NOINTERFACE;
    return row->create(document, out);
}

bool HasSpecificObject(LONG typeCode) noexcept {
    if (typeCode == kOutsideKind) return true;
    for (const KindRow& r : kKinds)
        if (r.typeCode == typeCode) return true;
    return false;
}

}  // namespace orv
