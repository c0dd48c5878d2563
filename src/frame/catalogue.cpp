// The class table of the module: every creatable class with its creator.
//
// Classes listed here with Pending<> interfaces are not built yet: they are
// created and answer their interfaces, and their members answer E_NOTIMPL.
#include "frame/module.h"

#include "document/OrvDocExtension.h"
#include "document/OrvDocument.h"
#include "reference/OrvReferences.h"
#include "sickleave/OrvBLDocProtocol.h"
#include "typelib/not_built.h"

namespace orv {

class OrvDOutsSovm : public CoClass<OrvDOutsSovm, &CLSID_OrvDOutsSovm, Pending<IOrvDOutsSovm>, IDispatch, ISupportErrorInfo> {};
class OrvDocList : public CoClass<OrvDocList, &CLSID_OrvDocList, Pending<IOrvDocList>, IDispatch, ISupportErrorInfo, Pending<IOrvObjAsXmlString>, Pending<IOrvObjAsXmlStringD>, TearOff<IOrvENUMDocuments, PendingTearOff<OrvDocList, IOrvENUMDocuments>>> {};
class OrvLPDoc : public CoClass<OrvLPDoc, &CLSID_OrvLPDoc, Pending<IOrvLPDoc>, IDispatch, ISupportErrorInfo> {};
class OrvNLDoc : public CoClass<OrvNLDoc, &CLSID_OrvNLDoc, Pending<IOrvNLDoc>, IDispatch, ISupportErrorInfo> {};
class OrvMPDoc : public CoClass<OrvMPDoc, &CLSID_OrvMPDoc, Pending<IOrvMPDoc>, IDispatch, ISupportErrorInfo> {};
class OrvInstanceList : public CoClass<OrvInstanceList, &CLSID_OrvInstanceList, Pending<IOrvInstanceList>, IDispatch, ISupportErrorInfo, Pending<IOrvObjAsXmlString>> {};
class OrvMonth : public CoClass<OrvMonth, &CLSID_OrvMonth, Pending<IOrvMonth>, ISupportErrorInfo, IDispatch, Pending<IOrvM>,
                                Pending<IOrvMonthDisp>, Pending<IOrvObjAsXmlString>> {
public:
    // Error information is described for both faces of the month.
    static bool SupportsErrorInfo(REFIID riid) { return riid == IID_IOrvMonth || riid == IID_IOrvMonthDisp; }
};
class OrvVlDoc : public CoClass<OrvVlDoc, &CLSID_OrvVlDoc, Pending<IOrvVlDoc>, IDispatch, ISupportErrorInfo> {};
class OrvUVDoc : public CoClass<OrvUVDoc, &CLSID_OrvUVDoc, Pending<IOrvUVDoc>, IDispatch, ISupportErrorInfo> {};
class OrvOKDoc : public CoClass<OrvOKDoc, &CLSID_OrvOKDoc, Pending<IOrvOKDoc>, IDispatch, ISupportErrorInfo> {};
class OrvS1Doc : public CoClass<OrvS1Doc, &CLSID_OrvS1Doc, Pending<IOrvS1Doc>, IDispatch, ISupportErrorInfo> {};
class OrvERDoc : public CoClass<OrvERDoc, &CLSID_OrvERDoc, Pending<IOrvERDoc>, IDispatch, ISupportErrorInfo> {};
class OrvTNDoc : public CoClass<OrvTNDoc, &CLSID_OrvTNDoc, Pending<IOrvTNDoc>, IDispatch, ISupportErrorInfo> {};
class OrvBLDoc : public CoClass<OrvBLDoc, &CLSID_OrvBLDoc, Pending<IOrvBLDoc>, IDispatch, ISupportErrorInfo, TearOff<IOrvENUMBlTypes, PendingTearOff<OrvBLDoc, IOrvENUMBlTypes>>> {};
class OrvBLProtHistoryItem : public CoClass<OrvBLProtHistoryItem, &CLSID_OrvBLProtHistoryItem, Pending<IOrvBLProtHistoryItem>, IDispatch> {};
class OrvBlProtPayMonthItem : public CoClass<OrvBlProtPayMonthItem, &CLSID_OrvBlProtPayMonthItem, Pending<IOrvBlProtPayMonthItem>, IDispatch> {};
class OrvSBDoc : public CoClass<OrvSBDoc, &CLSID_OrvSBDoc, Pending<IOrvSBDoc>, IDispatch, ISupportErrorInfo> {};
class OrvBank : public CoClass<OrvBank, &CLSID_OrvBank, Pending<IOrvBank>, IDispatch, ISupportErrorInfo, Pending<IOrvObjAsXmlString>> {};
class OrvILDoc : public CoClass<OrvILDoc, &CLSID_OrvILDoc, Pending<IOrvILDoc>, IDispatch, ISupportErrorInfo> {};
class OrvMTrace : public CoClass<OrvMTrace, &CLSID_OrvMTrace, Pending<IOrvMTrace>, IDispatch, ISupportErrorInfo, Pending<IOrvDepPeriod>> {};
class OrvOTDoc : public CoClass<OrvOTDoc, &CLSID_OrvOTDoc, Pending<IOrvOTDoc>, IDispatch, TearOff<IOrvENUMBlTypes, PendingTearOff<OrvOTDoc, IOrvENUMBlTypes>>, Pending<IOrvOTProtocol>> {};
class OrvINDoc : public CoClass<OrvINDoc, &CLSID_OrvINDoc, Pending<IOrvINDoc>, IDispatch> {};
class OrvSTDoc : public CoClass<OrvSTDoc, &CLSID_OrvSTDoc, Pending<IOrvSTDoc>, IDispatch> {};
class OrvS2Doc : public CoClass<OrvS2Doc, &CLSID_OrvS2Doc, Pending<IOrvS2Doc>, IDispatch> {};
class OrvDRDoc : public CoClass<OrvDRDoc, &CLSID_OrvDRDoc, Pending<IOrvDRDoc>, IDispatch> {};
class OrvMonthList : public CoClass<OrvMonthList, &CLSID_OrvMonthList, Pending<IOrvMonthList>, IDispatch, Pending<IOrvUnknownList>> {};
class OrvAVDoc : public CoClass<OrvAVDoc, &CLSID_OrvAVDoc, Pending<IOrvAVDoc>, IDispatch, ISupportErrorInfo> {};
class OrvZMDoc : public CoClass<OrvZMDoc, &CLSID_OrvZMDoc, Pending<IOrvZMDoc>, IDispatch, ISupportErrorInfo> {};
class OrvJBDoc : public CoClass<OrvJBDoc, &CLSID_OrvJBDoc, Pending<IOrvJBDoc>, IDispatch> {};
class OrvMYDoc : public CoClass<OrvMYDoc, &CLSID_OrvMYDoc, Pending<IOrvMYDoc>, IDispatch> {};
class OrvTVDoc : public CoClass<OrvTVDoc, &CLSID_OrvTVDoc, Pending<IOrvTVDoc>, IDispatch, ISupportErrorInfo> {};
class OrvSRDoc : public CoClass<OrvSRDoc, &CLSID_OrvSRDoc, Pending<IOrvSRDoc>, IDispatch, ISupportErrorInfo> {};
class OrvTDDoc : public CoClass<OrvTDDoc, &CLSID_OrvTDDoc, Pending<IOrvTDDoc>, IDispatch> {};
class OrvZZDoc : public CoClass<OrvZZDoc, &CLSID_OrvZZDoc, Pending<IOrvZZDoc>, IDispatch, ISupportErrorInfo> {};
class OrvS3Doc : public CoClass<OrvS3Doc, &CLSID_OrvS3Doc, Pending<IOrvS3Doc>, IDispatch, ISupportErrorInfo> {};
class OrvXLDoc : public CoClass<OrvXLDoc, &CLSID_OrvXLDoc, Pending<IOrvXLDoc>, IDispatch> {};
class OrvTCDoc : public CoClass<OrvTCDoc, &CLSID_OrvTCDoc, Pending<IOrvTCDoc>, IDispatch> {};
class OrvMDDoc : public CoClass<OrvMDDoc, &CLSID_OrvMDDoc, Pending<IOrvMDDoc>, IDispatch> {};
class OrvZGDoc : public CoClass<OrvZGDoc, &CLSID_OrvZGDoc, Pending<IOrvZGDoc>, IDispatch, ISupportErrorInfo> {};
class OrvRIDoc : public CoClass<OrvRIDoc, &CLSID_OrvRIDoc, Pending<IOrvRIDoc>, IDispatch> {};
class OrvPSDoc : public CoClass<OrvPSDoc, &CLSID_OrvPSDoc, Pending<IOrvPSDoc>, IDispatch> {};
class OrvVVDoc : public CoClass<OrvVVDoc, &CLSID_OrvVVDoc, Pending<IOrvVVDoc>, IDispatch> {};
class OrvORDoc : public CoClass<OrvORDoc, &CLSID_OrvORDoc, Pending<IOrvORDoc>, IDispatch> {};
class OrvMGDoc : public CoClass<OrvMGDoc, &CLSID_OrvMGDoc, Pending<IOrvMGDoc>, IDispatch> {};
class OrvMIDoc : public CoClass<OrvMIDoc, &CLSID_OrvMIDoc, Pending<IOrvMIDoc>, IDispatch> {};
class OrvIJDoc : public CoClass<OrvIJDoc, &CLSID_OrvIJDoc, Pending<IOrvIJDoc>, IDispatch> {};
class OrvVODoc : public CoClass<OrvVODoc, &CLSID_OrvVODoc, Pending<IOrvVODoc>, IDispatch> {};
class OrvBVDoc : public CoClass<OrvBVDoc, &CLSID_OrvBVDoc, Pending<IOrvBVDoc>, IDispatch> {};
class OrvMVDoc : public CoClass<OrvMVDoc, &CLSID_OrvMVDoc, Pending<IOrvMVDoc>, IDispatch> {};

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
