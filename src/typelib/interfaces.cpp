// The interfaces of the type library and the outside dual interfaces the
// library's classes serve.
#include "typelib/interfaces.h"

#include <orvdocs/frame/lists.h>
#include <orvdocs/typelib/typelib.h>

namespace orv {
namespace {

template <class I>
const ti::Interface* TableOf() {
    return &TypeInfoOf(static_cast<const I*>(nullptr));
}

#define ORV_DUAL(I) {&IID_##I, u"" #I, &TableOf<I>}
#define ORV_CUSTOM(I) {&IID_##I, u"" #I, nullptr}

const InterfaceEntry kTypeLibrary[] = {
    ORV_DUAL(IOrvDocumentDisp),
    ORV_CUSTOM(IOrvDocument),
    ORV_DUAL(IOrvDOutsSovm),
    ORV_DUAL(IOrvDocList),
    ORV_CUSTOM(IOrvObjAsXmlString),
    ORV_DUAL(IOrvObjAsXmlStringD),
    ORV_CUSTOM(IOrvENUMDocuments),
    ORV_DUAL(IOrvLPDoc),
    ORV_DUAL(IOrvDocExtension),
    ORV_DUAL(IOrvNLDoc),
    ORV_DUAL(IOrvMPDoc),
    ORV_DUAL(IOrvAddrRegion),
    ORV_DUAL(IOrvAddrCity),
    ORV_DUAL(IOrvAddrDistrict),
    ORV_DUAL(IOrvInstanceList),
    ORV_DUAL(IOrvMonthDisp),
    ORV_CUSTOM(IOrvMonth),
    ORV_CUSTOM(IOrvM),
    ORV_DUAL(IOrvVlDoc),
    ORV_DUAL(IOrvAddrCountry),
    ORV_DUAL(IOrvIdType),
    ORV_DUAL(IOrvJobPosition),
    ORV_DUAL(IOrvUVDoc),
    ORV_DUAL(IOrvOKDoc),
    ORV_DUAL(IOrvS1Doc),
    ORV_DUAL(IOrvERDoc),
    ORV_DUAL(IOrvTNDoc),
    ORV_DUAL(IOrvBLDoc),
    ORV_CUSTOM(IOrvENUMBlTypes),
    ORV_DUAL(IOrvBLDocProtocol),
    ORV_DUAL(IOrvBLProtHistoryItem),
    ORV_DUAL(IOrvBlProtPayMonthItem),
    ORV_DUAL(IOrvSBDoc),
    ORV_DUAL(IOrvBank),
    ORV_DUAL(IOrvILDoc),
    ORV_DUAL(IOrvMTrace),
    ORV_CUSTOM(IOrvDepPeriod),
    ORV_DUAL(IOrvOTDoc),
    ORV_CUSTOM(IOrvOTProtocol),
    ORV_DUAL(IOrvINDoc),
    ORV_DUAL(IOrvSTDoc),
    ORV_DUAL(IOrvS2Doc),
    ORV_DUAL(IOrvDRDoc),
    ORV_DUAL(IOrvMonthList),
    ORV_DUAL(IOrvAVDoc),
    ORV_DUAL(IOrvZMDoc),
    ORV_DUAL(IOrvJBDoc),
    ORV_DUAL(IOrvMYDoc),
    ORV_DUAL(IOrvTVDoc),
    ORV_DUAL(IOrvSRDoc),
    ORV_DUAL(IOrvTDDoc),
    ORV_DUAL(IOrvZZDoc),
    ORV_DUAL(IOrvS3Doc),
    ORV_DUAL(IOrvXLDoc),
    ORV_DUAL(IOrvTCDoc),
    ORV_DUAL(IOrvMDDoc),
    ORV_DUAL(IOrvZGDoc),
    ORV_DUAL(IOrvRIDoc),
    ORV_DUAL(IOrvPSDoc),
    ORV_DUAL(IOrvVVDoc),
    ORV_DUAL(IOrvORDoc),
    ORV_DUAL(IOrvMGDoc),
    ORV_DUAL(IOrvMIDoc),
    ORV_DUAL(IOrvIJDoc),
    ORV_DUAL(IOrvVODoc),
    ORV_DUAL(IOrvBVDoc),
    ORV_DUAL(IOrvMVDoc),
};

const InterfaceEntry kOutside[] = {
    ORV_DUAL(IOrvUnknownList),
    ORV_DUAL(IOrvRefItem),
};

#undef ORV_DUAL
#undef ORV_CUSTOM

}  // namespace

const InterfaceEntry* TypeLibraryInterfaces(std::size_t* count) noexcept {
    *count = sizeof kTypeLibrary / sizeof kTypeLibrary[0];
    return kTypeLibrary;
}

const InterfaceEntry* OutsideDualInterfaces(std::size_t* count) noexcept {
    *count = sizeof kOutside / sizeof kOutside[0];
    return kOutside;
}

}  // namespace orv
