// The specific document kinds whose members are not built yet: they are
// created, answer their interfaces and receive their document; their members
// answer E_NOTIMPL until each kind is built in a file of its own.
#pragma once

// The kinds already built, so that the catalogue and the selection see them too.
#include "kinds/OrvAVDoc.h"
#include "kinds/OrvDOutsSovm.h"
#include "kinds/OrvDRDoc.h"
#include "kinds/OrvINDoc.h"
#include "kinds/OrvNLDoc.h"
#include "kinds/OrvSBDoc.h"
#include "kinds/OrvSTDoc.h"
#include "kinds/OrvTNDoc.h"
#include "kinds/OrvUVDoc.h"
#include "kinds/OrvVlDoc.h"
#include "kinds/KindBase.h"
#include "sickleave/OrvBLDoc.h"
#include "vacation/OrvOTDoc.h"
#include "kinds/pattern_kinds.h"
#include "typelib/not_built.h"

namespace orv {

class OrvLPDoc : public SpecificObject<OrvLPDoc, &CLSID_OrvLPDoc, Pending<IOrvLPDoc>, IDispatch, ISupportErrorInfo> {};
class OrvMPDoc : public SpecificObject<OrvMPDoc, &CLSID_OrvMPDoc, Pending<IOrvMPDoc>, IDispatch, ISupportErrorInfo> {};
class OrvOKDoc : public SpecificObject<OrvOKDoc, &CLSID_OrvOKDoc, Pending<IOrvOKDoc>, IDispatch, ISupportErrorInfo> {};
class OrvS1Doc : public SpecificObject<OrvS1Doc, &CLSID_OrvS1Doc, Pending<IOrvS1Doc>, IDispatch, ISupportErrorInfo> {};
class OrvERDoc : public SpecificObject<OrvERDoc, &CLSID_OrvERDoc, Pending<IOrvERDoc>, IDispatch, ISupportErrorInfo> {};
class OrvILDoc : public SpecificObject<OrvILDoc, &CLSID_OrvILDoc, Pending<IOrvILDoc>, IDispatch, ISupportErrorInfo> {};
class OrvS2Doc : public SpecificObject<OrvS2Doc, &CLSID_OrvS2Doc, Pending<IOrvS2Doc>, IDispatch> {};
class OrvZMDoc : public SpecificObject<OrvZMDoc, &CLSID_OrvZMDoc, Pending<IOrvZMDoc>, IDispatch, ISupportErrorInfo> {};
class OrvTDDoc : public SpecificObject<OrvTDDoc, &CLSID_OrvTDDoc, Pending<IOrvTDDoc>, IDispatch> {};
class OrvS3Doc : public SpecificObject<OrvS3Doc, &CLSID_OrvS3Doc, Pending<IOrvS3Doc>, IDispatch, ISupportErrorInfo> {};
class OrvXLDoc : public SpecificObject<OrvXLDoc, &CLSID_OrvXLDoc, Pending<IOrvXLDoc>, IDispatch> {};
class OrvTCDoc : public SpecificObject<OrvTCDoc, &CLSID_OrvTCDoc, Pending<IOrvTCDoc>, IDispatch> {};
class OrvZGDoc : public SpecificObject<OrvZGDoc, &CLSID_OrvZGDoc, Pending<IOrvZGDoc>, IDispatch, ISupportErrorInfo> {};
class OrvRIDoc : public SpecificObject<OrvRIDoc, &CLSID_OrvRIDoc, Pending<IOrvRIDoc>, IDispatch> {};
class OrvPSDoc : public SpecificObject<OrvPSDoc, &CLSID_OrvPSDoc, Pending<IOrvPSDoc>, IDispatch> {};
class OrvORDoc : public SpecificObject<OrvORDoc, &CLSID_OrvORDoc, Pending<IOrvORDoc>, IDispatch> {};
class OrvVODoc : public SpecificObject<OrvVODoc, &CLSID_OrvVODoc, Pending<IOrvVODoc>, IDispatch> {};
class OrvBVDoc : public SpecificObject<OrvBVDoc, &CLSID_OrvBVDoc, Pending<IOrvBVDoc>, IDispatch> {};
class OrvMVDoc : public SpecificObject<OrvMVDoc, &CLSID_OrvMVDoc, Pending<IOrvMVDoc>, IDispatch> {};

}  // namespace orv
