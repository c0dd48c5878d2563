#include "vacation/OrvOTDoc.h"

#include "xml/dom.h"

#include "frame/values.h"
#include "kinds/ExtensionFields.h"
#include "sickleave/AccessType.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

#include <cmath>
#include <utility>

namespace orv {

namespace {

constexpr ULONG kLowHalf = 0x0000FFFFu;
constexpr ULONG kHighHalf = 0xFFFF0000u;

ULONG Bits(LONG v) noexcept { return static_cast<ULONG>(v); }
LONG FromBits(ULONG v) noexcept { return static_cast<LONG>(v); }

ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* document) {
    ComPtr<IOrvDocExtension> ext;
    document->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
    if (!ext) throw ComError{E_POINTER, IID_IOrvDocExtension};
    return ext;
}

Bstr BodyOf(IOrvDocExtension* ext) {
    Bstr body;
    Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
    return body;
}

// The root element of a parsed body named root, or null.
ComPtr<IXMLDOMElement> LoadRoot(IXMLDOMDocument* xml, const Bstr& body, const char16_t* root) {
    if (body.ByteLength() < sizeof(OLECHAR)) return {};
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(xml->loadXML(body, &ok), IID_IXMLDOMDocument);
    if (ok != VARIANT_TRUE) return {};
    ComPtr<IXMLDOMNode> node;
    if (Check(xml->selectSingleNode(Bstr(root), node.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !node) return {};
    ComPtr<IXMLDOMElement> element;
    node.As(&element);
    return element;
}

// The "Protocols" element of the vacation protocols under a root.
ComPtr<IXMLDOMElement> ProtocolsUnder(IXMLDOMElement* root, bool contract) {
    return ext::ChildElement(root, contract ? u"MAINPROT/Protocols[attribute::T0 = 22]"
                                            : u"Protocols[attribute::T0 = 22]");
}

}  // namespace

// ---------------------------------------------------------------- IOrvOTDoc

template <class Get, class Put, class Change>
HRESULT OrvOTDoc::ChangeLong(Get get, Put put, Change change) {
    return Locked([&] {
        IOrvDocument* doc = Document();
        LONG value = 0;
        Check(get(doc, &value), IID_IOrvDocument);
        Check(put(doc, change(value)), IID_IOrvDocument);
        return S_OK;
    });
}

HRESULT OrvOTDoc::get_MonthsForSredn(SHORT* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_LReserv2(&v), IID_IOrvDocument);
        *pVal = static_cast<SHORT>((Bits(v) >> 16) & 0xFF);
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_MonthsForSredn(SHORT newVal) {
    return ChangeLong([](IOrvDocument* d, LONG* v) { return d->get_LReserv2(v); },
                      [](IOrvDocument* d, LONG v) { return d->put_LReserv2(v); },
                      [&](LONG v) { return FromBits((Bits(newVal) << 16) | (Bits(v) & 0xFF00FFFFu)); });
}

HRESULT OrvOTDoc::get_ProtocolAsXml(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = BuildXml().Detach();
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_ProtocolAsXml(BSTR) { return E_NOTIMPL; }

HRESULT OrvOTDoc::get_LastDCur(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_LReserv2(&v), IID_IOrvDocument);
        *pVal = DayNumberToDate(static_cast<SHORT>(Bits(v) & kLowHalf));
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_LastDCur(DATE newVal) {
    return ChangeLong([](IOrvDocument* d, LONG* v) { return d->get_LReserv2(v); },
                      [](IOrvDocument* d, LONG v) { return d->put_LReserv2(v); },
                      [&](LONG v) {
                          const auto day = static_cast<uint16_t>(DateToDayNumber(newVal));
                          return FromBits((Bits(v) & kHighHalf) | day);
                      });
}

HRESULT OrvOTDoc::get_ExtraDays2(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_dcLong(0, &v), IID_IOrvDocument);
        *pVal = FromBits(Bits(v) & kLowHalf);
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_ExtraDays2(LONG newVal) {
    return ChangeLong([](IOrvDocument* d, LONG* v) { return d->get_dcLong(0, v); },
                      [](IOrvDocument* d, LONG v) { return d->put_dcLong(0, v); },
                      [&](LONG v) { return FromBits((Bits(v) & kHighHalf) | (Bits(newVal) & kLowHalf)); });
}

HRESULT OrvOTDoc::get_ExtraDays3(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_dcLong(0, &v), IID_IOrvDocument);
        *pVal = FromBits(Bits(v) >> 16);
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_ExtraDays3(LONG newVal) {
    return ChangeLong([](IOrvDocument* d, LONG* v) { return d->get_dcLong(0, v); },
                      [](IOrvDocument* d, LONG v) { return d->put_dcLong(0, v); },
                      [&](LONG v) { return FromBits((Bits(v) & kLowHalf) | (Bits(newVal) << 16)); });
}

// OnlyExtraDays and IsNotMome share dcShort(1); -1 there is the unset state,
// which a put first turns into an explicit 1.
namespace {
HRESULT PutFlagBit(IOrvDocument* doc, SHORT bit, VARIANT_BOOL on) {
    SHORT v = 0;
    Check(doc->get_dcShort(1, &v), IID_IOrvDocument);
    if (v == -1) Check(doc->put_dcShort(1, 1), IID_IOrvDocument);
    Check(doc->get_dcShort(1, &v), IID_IOrvDocument);
    v = static_cast<SHORT>(on ? (v | bit) : (v & ~bit));
    Check(doc->put_dcShort(1, v), IID_IOrvDocument);
    return S_OK;
}
}  // namespace

HRESULT OrvOTDoc::get_OnlyExtraDays(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return Locked([&] {
        SHORT v = 0;
        Check(Document()->get_dcShort(1, &v), IID_IOrvDocument);
        *pVal = (v & 0x01) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_OnlyExtraDays(VARIANT_BOOL newVal) {
    return Locked([&] { return PutFlagBit(Document(), 0x01, newVal); });
}

HRESULT OrvOTDoc::get_IsNotMome(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return Locked([&] {
        SHORT v = 0;
        Check(Document()->get_dcShort(1, &v), IID_IOrvDocument);
        *pVal = (v != -1 && (v & 0x02)) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_IsNotMome(VARIANT_BOOL newVal) {
    return Locked([&] { return PutFlagBit(Document(), 0x02, newVal); });
}

HRESULT OrvOTDoc::CalcAllDates(IUnknown*, DATE, LONG, LONG, LONG, LONG, DATE*, DATE*, DATE*, DATE*) {
    // The leave's dates are worked out by the host; the call only answers.
    return S_OK;
}

HRESULT OrvOTDoc::get_OutOfAccount(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_dcLong(2, &v), IID_IOrvDocument);
        *pVal = static_cast<VARIANT_BOOL>(static_cast<uint16_t>(Bits(v) >> 16));
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_OutOfAccount(VARIANT_BOOL newVal) { return put_ExtraType(newVal); }

HRESULT OrvOTDoc::get_ExtraType(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_dcLong(2, &v), IID_IOrvDocument);
        *pVal = static_cast<SHORT>(static_cast<uint16_t>(Bits(v) >> 16));
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_ExtraType(LONG newVal) {
    return ChangeLong([](IOrvDocument* d, LONG* v) { return d->get_dcLong(2, v); },
                      [](IOrvDocument* d, LONG v) { return d->put_dcLong(2, v); },
                      [&](LONG v) { return FromBits((Bits(v) & kLowHalf) | (Bits(newVal) << 16)); });
}

HRESULT OrvOTDoc::get_DaysOfCompensation(double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_dcLong(4, &v), IID_IOrvDocument);
        *pVal = v / 10000.0;
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_DaysOfCompensation(double newVal) {
    return Locked([&] {
        // Four decimals by the platform's conversion to currency; only the
        // raw low 32 bits fit the field.
        VARIANT in, out;
        VariantInit(&in);
        VariantInit(&out);
        in.vt = VT_R8;
        in.dblVal = newVal;
        Check(VariantChangeType(&out, &in, 0, VT_CY), IID_NULL);
        const auto raw = static_cast<LONG>(static_cast<ULONG>(static_cast<uint64_t>(out.cyVal.int64)));
        Check(Document()->put_dcLong(4, raw), IID_IOrvDocument);
        return S_OK;
    });
}

HRESULT OrvOTDoc::get_DopOtpCalcType(LONG DopOtpNumber, SHORT* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    if (DopOtpNumber < 1 || DopOtpNumber > 4) return E_INVALIDARG;
    return Locked([&] {
        LONG v = 0;
        Check(Document()->get_lDcRsrv(1, &v), IID_IOrvDocument);
        *pVal = static_cast<SHORT>((Bits(v) >> ((DopOtpNumber - 1) * 8)) & 0x0F);
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_DopOtpCalcType(LONG DopOtpNumber, SHORT newVal) {
    if (DopOtpNumber < 1 || DopOtpNumber > 4) return E_INVALIDARG;
    const unsigned shift = static_cast<unsigned>(DopOtpNumber - 1) * 8;
    return ChangeLong([](IOrvDocument* d, LONG* v) { return d->get_lDcRsrv(1, v); },
                      [](IOrvDocument* d, LONG v) { return d->put_lDcRsrv(1, v); },
                      [&](LONG v) {
                          return FromBits((Bits(v) & ~(0x0Fu << shift)) | (Bits(newVal) << shift));
                      });
}

// ----------------------------------------------------------- IOrvOTProtocol

void OrvOTDoc::RefreshAccessType() {
    IOrvDocument* doc = Document();
    VARIANT_BOOL connected = VARIANT_FALSE;
    Check(doc->get_IsConnectedToDB(&connected), IID_IOrvDocument);
    if (!connected) return;
    ComPtr<IUnknown> service;
    Check(doc->get_OrvBD(service.GetAddressOf()), IID_IOrvDocument);
    if (!service) return;
    accessType_ = AccessTypeFromDatabase(service.Get());
}

Bstr OrvOTDoc::BuildXml() {
    IOrvDocument* doc = Document();
    LONG type = 0;
    Check(doc->get_lDcType(&type), IID_IOrvDocument);
    const char16_t* rootName = vacation::RootForType(type);
    const bool contract = type == 304;

    if (!xml_) xml_ = orv::xml::NewXmlDocument();
    ComPtr<IXMLDOMElement> root;
    if (contract) {
        // The contract keeps its own content; only the protocols are replaced.
        ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
        root = LoadRoot(xml_.Get(), BodyOf(ext.Get()), rootName);
    }
    if (!root) {
        VARIANT_BOOL ok = VARIANT_FALSE;
        xml_->loadXML(Bstr(u""), &ok);  // empties the document
        Check(xml_->createElement(Bstr(rootName), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(xml_->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    }
    ComPtr<IXMLDOMElement> parent = root;
    if (contract) {
        parent = ext::ChildElement(root.Get(), u"MAINPROT");
        if (!parent) parent = ext::AppendElement(xml_.Get(), root.Get(), u"MAINPROT");
        while (ComPtr<IXMLDOMElement> old = ProtocolsUnder(parent.Get(), false)) {
            ComPtr<IXMLDOMNode> removed;
            Check(parent->removeChild(old.Get(), removed.GetAddressOf()), IID_IXMLDOMElement);
        }
    }
    vacation::AppendProtocols(xml_.Get(), parent.Get(), set_, tabNum_, documentId_);
    Bstr text;
    Check(xml_->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
    return text;
}

HRESULT OrvOTDoc::Load() {
    return Locked([&] {
        IOrvDocument* doc = Document();
        LONG type = 0, flags = 0;
        Check(doc->get_lDcType(&type), IID_IOrvDocument);
        Check(doc->get_Dfl(&flags), IID_IOrvDocument);
        ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
        Bstr body = BodyOf(ext.Get());

        // Read into a new set, so that a failure leaves the object as it was.
        vacation::ProtocolSet loaded;
        if ((flags & 0x04) != 0 || type != 22) {
            if (!xml_) xml_ = orv::xml::NewXmlDocument();
            if (ComPtr<IXMLDOMElement> root = LoadRoot(xml_.Get(), body, vacation::RootForType(type))) {
                if (ComPtr<IXMLDOMElement> protocols = ProtocolsUnder(root.Get(), type == 304))
                    vacation::ReadProtocols(protocols.Get(), loaded);
            }
        } else if (body.Get()) {
            vacation::DecodeLegacyBody(reinterpret_cast<const unsigned char*>(body.Get()), body.ByteLength(), loaded);
        }
        set_ = std::move(loaded);
        return S_OK;
    });
}

HRESULT OrvOTDoc::Save() {
    return Locked([&] {
        if (dontAlterExtension_) return S_OK;
        IOrvDocument* doc = Document();
        ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
        Bstr text = BuildXml();
        Check(ext->put_Body(text), IID_IOrvDocExtension);
        Check(ext->put_Length(static_cast<LONG>(text.ByteLength())), IID_IOrvDocExtension);
        return S_OK;
    });
}

HRESULT OrvOTDoc::Clean() {
    return Locked([&] {
        RefreshAccessType();
        set_.records[vacation::ProtocolSet::Index(accessType_, 0)].Clear();
        set_.records[vacation::ProtocolSet::Index(accessType_, 1)].Clear();
        CurrentPaid().clear();
        BuildXml();  // the tree of the emptied protocols, not written
        return S_OK;
    });
}

HRESULT OrvOTDoc::get_Flag(ULONG* pVal) {
    return GetHead(vacation::head::kFlag, pVal, [](const vacation::ProtocolRecord& r, std::size_t o) {
        return static_cast<ULONG>(static_cast<LONG>(vacation::GetShort(r, o)));
    });
}

HRESULT OrvOTDoc::put_Flag(ULONG newVal) {
    return PutHead(vacation::head::kFlag, newVal, [](vacation::ProtocolRecord& r, std::size_t o, ULONG v) {
        vacation::PutShort(r, o, static_cast<SHORT>(static_cast<uint16_t>(v & kLowHalf)));
    });
}

HRESULT OrvOTDoc::get_CurrentProtocol(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = current_;
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_CurrentProtocol(LONG newVal) {
    if (newVal != 0 && newVal != 1) return E_INVALIDARG;
    return Locked([&] {
        current_ = newVal;
        return S_OK;
    });
}

HRESULT OrvOTDoc::ReplaceProtocols() {
    return Locked([&] {
        RefreshAccessType();
        std::swap(set_.records[vacation::ProtocolSet::Index(accessType_, 0)],
                  set_.records[vacation::ProtocolSet::Index(accessType_, 1)]);
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_DontAlterExtension(VARIANT_BOOL newVal) {
    return Locked([&] {
        dontAlterExtension_ = newVal ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvOTDoc::CheckAccessType() {
    return Locked([&] {
        RefreshAccessType();
        return S_OK;
    });
}

HRESULT OrvOTDoc::get_TabNum(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(tabNum_, pVal); });
}

HRESULT OrvOTDoc::put_TabNum(BSTR newVal) {
    return Locked([&] {
        tabNum_ = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvOTDoc::get_DocumentId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = documentId_;
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_DocumentId(LONG newVal) {
    return Locked([&] {
        documentId_ = newVal;
        return S_OK;
    });
}

HRESULT OrvOTDoc::get_PaiedMonthIndexation(DATE dtMonth, double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        const vacation::PaidMonths& months = CurrentPaid();
        auto it = months.find(std::floor(dtMonth));
        if (it != months.end()) *pVal = it->second.factor;
        return S_OK;
    });
}

HRESULT OrvOTDoc::put_PaiedMonthIndexation(DATE dtMonth, double newVal) {
    const double key = std::floor(dtMonth);
    if (!std::isfinite(key)) return E_INVALIDARG;
    return Locked([&] {
        vacation::PaidMonth& m = CurrentPaid()[key];
        m.month = key;
        m.factor = newVal;
        return S_OK;
    });
}

HRESULT OrvOTDoc::ErasePaiedMonthsAfter(DATE dtStartMonth) {
    if (std::isnan(dtStartMonth)) return E_INVALIDARG;
    return Locked([&] {
        vacation::PaidMonths& months = CurrentPaid();
        // The first month not earlier than the date (not floored) and all
        // after it; a month's key is its date.
        months.erase(months.lower_bound(dtStartMonth), months.end());
        return S_OK;
    });
}

HRESULT OrvOTDoc::AddPaiedInterval(DATE dtMonth, DATE Dn, DATE Dk, LONG IntType, LONG Days, LONG Hours, CY Sum,
                                   VARIANT_BOOL InDays) {
    const double key = std::floor(dtMonth);
    if (!std::isfinite(key)) return E_INVALIDARG;
    return Locked([&] {
        vacation::PaidInterval interval{Dn, Dk, IntType, Days, Hours, Sum, InDays != VARIANT_FALSE};
        vacation::PaidMonths& months = CurrentPaid();
        auto [it, created] = months.try_emplace(key);
        if (created) it->second.month = key;
        try {
            it->second.intervals.push_back(interval);
        } catch (...) {
            if (created) months.erase(it);
            throw;
        }
        return S_OK;
    });
}

}  // namespace orv
