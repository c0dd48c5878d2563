// The class table of the module: every creatable class with its creator.
#include "frame/module.h"

#include "document/OrvDocExtension.h"
#include "document/OrvDocument.h"
#include "reference/OrvReferences.h"
#include "kinds/all_kinds.h"
#include "sickleave/OrvBLDocProtocol.h"
#include "lists/OrvDocList.h"
#include "lists/OrvInstanceList.h"
#include "month/OrvMTrace.h"
#include "month/OrvMonth.h"
#include "month/OrvMonthList.h"
#include "reference/OrvBank.h"
#include "sickleave/OrvBLProtItems.h"

namespace orv {

namespace {

const ClassEntry kClasses[] = {
    {&CLSID_OrvDocument, u"OrvDocument", &CreateInstance<OrvDocument>, RegistryScript::Standard},
    {&CLSID_OrvDOutsSovm, u"OrvDOutsSovm", &CreateInstance<OrvDOutsSovm>, RegistryScript::Standard},
    {&CLSID_OrvDocList, u"OrvDocList", &CreateInstance<OrvDocList>, RegistryScript::Standard},
    {&CLSID_OrvLPDoc, u"OrvLPDoc", &CreateInstance<OrvLPDoc>, RegistryScript::Standard},
    {&CLSID_OrvDocExtension, u"OrvDocExtension", &CreateInstance<OrvDocExtension>, RegistryScript::Standard},
    {&CLSID_OrvNLDoc, u"OrvNLDoc", &CreateInstance<OrvNLDoc>, RegistryScript::Standard},
    {&CLSID_OrvMPDoc, u"OrvMPDoc", &CreateInstance<OrvMPDoc>, RegistryScript::Standard},
    {&CLSID_OrvAddrRegion, u"OrvAddrRegion", &CreateInstance<OrvAddrRegion>, RegistryScript::Standard},
    {&CLSID_OrvAddrCity, u"OrvAddrCity", &CreateInstance<OrvAddrCity>, RegistryScript::Standard},
    {&CLSID_OrvAddrDistrict, u"OrvAddrDistrict", &CreateInstance<OrvAddrDistrict>, RegistryScript::Standard},
    {&CLSID_OrvInstanceList, u"OrvInstanceList", &CreateInstance<OrvInstanceList>, RegistryScript::Standard},
    {&CLSID_OrvMonth, u"OrvMonth", &CreateInstance<OrvMonth>, RegistryScript::Standard},
    {&CLSID_OrvVlDoc, u"OrvVlDoc", &CreateInstance<OrvVlDoc>, RegistryScript::Standard},
    {&CLSID_OrvAddrCountry, u"OrvAddrCountry", &CreateInstance<OrvAddrCountry>, RegistryScript::Standard},
    {&CLSID_OrvIdType, u"OrvIdType", &CreateInstance<OrvIdType>, RegistryScript::Standard},
    {&CLSID_OrvJobPosition, u"OrvJobPosition", &CreateInstance<OrvJobPosition>, RegistryScript::Standard},
    {&CLSID_OrvUVDoc, u"OrvUVDoc", &CreateInstance<OrvUVDoc>, RegistryScript::Standard},
    {&CLSID_OrvOKDoc, u"OrvOKDoc", &CreateInstance<OrvOKDoc>, RegistryScript::Standard},
    {&CLSID_OrvS1Doc, u"OrvS1Doc", &CreateInstance<OrvS1Doc>, RegistryScript::Standard},
    {&CLSID_OrvERDoc, u"OrvERDoc", &CreateInstance<OrvERDoc>, RegistryScript::Standard},
    {&CLSID_OrvTNDoc, u"OrvTNDoc", &CreateInstance<OrvTNDoc>, RegistryScript::Standard},
    {&CLSID_OrvBLDoc, u"OrvBLDoc", &CreateInstance<OrvBLDoc>, RegistryScript::Standard},
    {&CLSID_OrvBLDocProtocol, u"OrvBLDocProtocol", &CreateInstance<OrvBLDocProtocol>, RegistryScript::Standard},
    {&CLSID_OrvBLProtHistoryItem, u"OrvBLProtHistoryItem", &CreateInstance<OrvBLProtHistoryItem>, RegistryScript::Standard},
    {&CLSID_OrvBlProtPayMonthItem, u"OrvBlProtPayMonthItem", &CreateInstance<OrvBlProtPayMonthItem>, RegistryScript::Standard},
    {&CLSID_OrvSBDoc, u"OrvSBDoc", &CreateInstance<OrvSBDoc>, RegistryScript::Standard},
    {&CLSID_OrvBank, u"OrvBank", &CreateInstance<OrvBank>, RegistryScript::Standard},
    {&CLSID_OrvILDoc, u"OrvILDoc", &CreateInstance<OrvILDoc>, RegistryScript::Standard},
    {&CLSID_OrvMTrace, u"OrvMTrace", &CreateInstance<OrvMTrace>, RegistryScript::Standard},
    {&CLSID_OrvOTDoc, u"OrvOTDoc", &CreateInstance<OrvOTDoc>, RegistryScript::Standard},
    {&CLSID_OrvINDoc, u"OrvINDoc", &CreateInstance<OrvINDoc>, RegistryScript::Standard},
    {&CLSID_OrvSTDoc, u"OrvSTDoc", &CreateInstance<OrvSTDoc>, RegistryScript::Standard},
    {&CLSID_OrvS2Doc, u"OrvS2Doc", &CreateInstance<OrvS2Doc>, RegistryScript::Standard},
    {&CLSID_OrvDRDoc, u"OrvDRDoc", &CreateInstance<OrvDRDoc>, RegistryScript::Standard},
    {&CLSID_OrvMonthList, u"OrvMonthList", &CreateInstance<OrvMonthList>, RegistryScript::Standard},
    {&CLSID_OrvAVDoc, u"OrvAVDoc", &CreateInstance<OrvAVDoc>, RegistryScript::Standard},
    {&CLSID_OrvZMDoc, u"OrvZMDoc", &CreateInstance<OrvZMDoc>, RegistryScript::Standard},
    {&CLSID_OrvJBDoc, u"OrvJBDoc", &CreateInstance<OrvJBDoc>, RegistryScript::Standard},
    {&CLSID_OrvMYDoc, u"OrvMYDoc", &CreateInstance<OrvMYDoc>, RegistryScript::Standard},
    {&CLSID_OrvSRDoc, u"OrvSRDoc", &CreateInstance<OrvSRDoc>, RegistryScript::Standard},
    {&CLSID_OrvTDDoc, u"OrvTDDoc", &CreateInstance<OrvTDDoc>, RegistryScript::Standard},
    {&CLSID_OrvZZDoc, u"OrvZZDoc", &CreateInstance<OrvZZDoc>, RegistryScript::Standard},
    {&CLSID_OrvS3Doc, u"OrvS3Doc", &CreateInstance<OrvS3Doc>, RegistryScript::Standard},
    {&CLSID_OrvXLDoc, u"OrvXLDoc", &CreateInstance<OrvXLDoc>, RegistryScript::Standard},
    {&CLSID_OrvTCDoc, u"OrvTCDoc", &CreateInstance<OrvTCDoc>, RegistryScript::Standard},
    {&CLSID_OrvMDDoc, u"OrvMDDoc", &CreateInstance<OrvMDDoc>, RegistryScript::Standard},
    {&CLSID_OrvZGDoc, u"OrvZGDoc", &CreateInstance<OrvZGDoc>, RegistryScript::Standard},
    {&CLSID_OrvRIDoc, u"OrvRIDoc", &CreateInstance<OrvRIDoc>, RegistryScript::Standard},
    {&CLSID_OrvPSDoc, u"OrvPSDoc", &CreateInstance<OrvPSDoc>, RegistryScript::Standard},
    {&CLSID_OrvVVDoc, u"OrvVVDoc", &CreateInstance<OrvVVDoc>, RegistryScript::Standard},
    {&CLSID_OrvORDoc, u"OrvORDoc", &CreateInstance<OrvORDoc>, RegistryScript::Standard},
    {&CLSID_OrvMGDoc, u"OrvMGDoc", &CreateInstance<OrvMGDoc>, RegistryScript::Standard},
    {&CLSID_OrvMIDoc, u"OrvMIDoc", &CreateInstance<OrvMIDoc>, RegistryScript::Standard},
    {&CLSID_OrvIJDoc, u"OrvIJDoc", &CreateInstance<OrvIJDoc>, RegistryScript::Standard},
    {&CLSID_OrvVODoc, u"OrvVODoc", &CreateInstance<OrvVODoc>, RegistryScript::Standard},
    {&CLSID_OrvBVDoc, u"OrvBVDoc", &CreateInstance<OrvBVDoc>, RegistryScript::Standard},
    {&CLSID_OrvMVDoc, u"OrvMVDoc", &CreateInstance<OrvMVDoc>, RegistryScript::ClsidOnly},
};

}  // namespace

const ClassEntry* ClassTable(std::size_t* count) noexcept {
    if (count) *count = sizeof(kClasses) / sizeof(kClasses[0]);
    return kClasses;
}

}  // namespace orv
