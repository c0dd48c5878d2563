// Distribution of a sum over pay codes (type 346): a coded list kept as
//   <RISUMS><RISUM CODE="101" VAL="1500.5"/>...</RISUMS>
// and read and written as xmlString (see OrvS2Doc.h), or as one line of
// "code value" pairs separated by "; " (DistributionAsString). The
// distribution can be handed out as a pay-sum list (OrvS1Doc).
#pragma once

#include "kinds/OrvS2Doc.h"

namespace orv {

class OrvRIDoc : public CodedListKind<OrvRIDoc, &CLSID_OrvRIDoc, IOrvRIDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"RISUMS";
    static constexpr const OLECHAR* kItem = u"RISUM";

    HRESULT get_xmlString(BSTR* pVal) override { return GetXmlString(pVal); }
    HRESULT put_xmlString(BSTR newVal) override { return PutXmlString(newVal); }
    HRESULT get_DistributionAsString(BSTR* pVal) override;
    HRESULT put_DistributionAsString(BSTR newVal) override;
    // A new pay-sum list (an OrvS1Doc without a document) holding one entry
    // per code of the distribution in xml ("RISUMS"; a null or empty text
    // takes this object's own distribution), work type 0.
    HRESULT CreateDistributionInPays(BSTR xml, IUnknown** ppSumList) override;
};

}  // namespace orv
