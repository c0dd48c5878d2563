#include "sickleave/OrvBLDocProtocol.h"

#include "frame/messages.h"
#include "kinds/ExtensionFields.h"
#include "sickleave/AccessType.h"
#include "sickleave/OrvBLProtItems.h"
#include "sickleave/ValueElements.h"
#include "xml/attributes.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

#include <variant>
#include <vector>

namespace orv {
namespace {

using V = OrvBLDocProtocol::Values;
using Member = std::variant<CY V::*, LONG V::*, SHORT V::*, double V::*, std::u16string V::*>;

// The element name the premium-based average shares: the embedded text's
// root and the scalar SrednFromPrem (see ReadCalculation).
constexpr const OLECHAR* kSrednFromPremName = u"SREDNFROMPREM";

struct Scalar {
    const OLECHAR* name;
    Member member;
};

// The scalars in the order they are written.
const Scalar kScalars[] = {
    {u"BLUSEDDAYS", &V::blUsedDays},
    {u"BLUSEDHOURS", &V::blUsedHours},
    {u"BLUSEDPERCENT", &V::blUsedProcent},
    {u"CALCFROMKLADORTARIF", &V::calcFromOkladOrTarif},
    {u"CALCINDAYS", &V::calcInDays},
    {u"CALVALUES", &V::calendarValues},
    {u"FIRSTFACTSREDN", &V::firstFactSredn},
    {u"HISTORYCOUNT", &V::historyCount},
    {u"IF1P12PREMHBENTERED", &V::if1p12PremHBEntered},
    {u"IF32TYPEANDPROCHBCHANGED", &V::if32TypeAndProcHBChanged},
    {u"IFPERCENTHBENTERED", &V::ifProcentHBEntered},
    {u"IFSREDNHBENTERED", &V::ifSrednHBEntered},
    {u"LENGTHAFTERLOWERINGPROC", &V::lengthAfterLoweringProc},
    {u"LENGTHBEFORELOWERINGPROC", &V::lengthBeforeLoweringProc},
    {u"LIMITSUM", &V::limitSum},
    {u"PAYMONTHCOUNT", &V::payMonthCount},
    {u"SECONDSREDN", &V::secondSredn},
    {u"STAGYEARS", &V::stagYears},
    {u"SUMFROMHIGHPROC", &V::sumFromHighProc},
    {u"SUMFROMLOWPROC", &V::sumFromLowProc},
    {u"TOTBLSUM", &V::totBlSum},
    {u"TOTSUMFORSREDN", &V::totSumForSredn},
    {u"ENTEREDPREMIUM", &V::enteredPremiumSumm},
    {u"USEDPERCENT", &V::usedProcent},
    {u"TOTSUMFORSREDN2", &V::totSumForSredn2},
    {u"TOTBLSUM2", &V::totBlSum2},
    {u"T0", &V::originatorType},
    {kSrednFromPremName, &V::srednFromPrem},
    {u"DN", &V::dn},
    {u"DK", &V::dk},
    {u"STYPE", &V::sType},
    {u"NUM", &V::number},
    {u"CALC2011", &V::calcType2011},
};

// The embedded texts: their element names (the roots of the texts) in the
// order they are written and read.
struct Embedded {
    const OLECHAR* name;
    std::u16string V::*member;
};
const Embedded kEmbedded[] = {
    {u"PREMPROT", &V::xmlPremProtocol},
    {u"DRPREMPROT", &V::xmlDirectPremProtocol},
    {kSrednFromPremName, &V::xmlSrednFromPrem},
};

constexpr const OLECHAR* kRoot = u"BLPR5";
constexpr const OLECHAR* kCalculation = u"BLPROTOCOL";
constexpr const OLECHAR* kAccess = u"AT";

// What Clean resets: everything but the originator's type and the number.
void Reset(V& values) {
    V fresh;
    fresh.originatorType = values.originatorType;
    fresh.number = std::move(values.number);
    values = std::move(fresh);
}

ComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* context, const OLECHAR* path) {
    ComPtr<IXMLDOMNode> node;
    if (Check(context->selectSingleNode(Bstr(path), node.GetAddressOf()), IID_IXMLDOMNode) != S_OK) return {};
    return node;
}

std::vector<ComPtr<IXMLDOMElement>> SelectElements(IXMLDOMNode* context, const OLECHAR* path) {
    std::vector<ComPtr<IXMLDOMElement>> found;
    ComPtr<IXMLDOMNodeList> list;
    Check(context->selectNodes(Bstr(path), list.GetAddressOf()), IID_IXMLDOMNode);
    if (!list) return found;
    LONG count = 0;
    Check(list->get_length(&count), IID_IXMLDOMNodeList);
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> node;
        Check(list->get_item(i, node.GetAddressOf()), IID_IXMLDOMNodeList);
        ComPtr<IXMLDOMElement> element;
        if (node && SUCCEEDED(node.As(&element)) && element) found.push_back(std::move(element));
    }
    return found;
}

std::u16string XmlOf(IXMLDOMNode* node) {
    Bstr text;
    Check(node->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
    return std::u16string(text.View());
}

ComPtr<IXMLDOMNode> DeepCopy(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> copy;
    Check(node->cloneNode(VARIANT_TRUE, copy.GetAddressOf()), IID_IXMLDOMNode);
    if (!copy) throw ComError{E_POINTER, IID_IXMLDOMNode};
    return copy;
}

void Append(IXMLDOMNode* parent, IXMLDOMNode* child) {
    ComPtr<IXMLDOMNode> added;
    Check(parent->appendChild(child, added.GetAddressOf()), IID_IXMLDOMNode);
}

ComPtr<IXMLDOMDocument> NewDom() {
    ComPtr<IXMLDOMDocument> xml;
    Check(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                           reinterpret_cast<void**>(xml.GetAddressOf())),
          IID_IXMLDOMDocument);
    if (!xml) throw ComError{E_POINTER, IID_IXMLDOMDocument};
    return xml;
}

// What one "BLPROTOCOL" of this object's access type holds.
struct Calculation {
    V values;
    std::vector<ComPtr<IUnknown>> history, payMonths;
};

void ReadCalculation(IXMLDOMElement* element, Calculation& into) {
    const blvalues::Children children(element);
    for (const Embedded& e : kEmbedded) {
        if (e.member == &V::xmlSrednFromPrem) continue;
        if (IXMLDOMElement* found = children.First(e.name)) into.values.*e.member = XmlOf(found);
    }
    // Both the embedded text and the scalar are "SREDNFROMPREM" children,
    // written in that order. With two or more, the first is the embedded
    // text and the last the scalar; a single one is the scalar (every
    // protocol writes the scalar), so a text written and read comes back the
    // same.
    const auto averages = children.All(kSrednFromPremName);
    if (averages.size() >= 2) into.values.xmlSrednFromPrem = XmlOf(averages.front());
    for (const Scalar& s : kScalars) {
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(into.values.*member)>;
                blvalues::Value value{T{}};
                if (s.name == kSrednFromPremName)
                    blvalues::ReadFrom(averages.empty() ? nullptr : averages.back(), value);
                else
                    blvalues::Read(children, s.name, value);
                into.values.*member = std::get<T>(std::move(value));
            },
            s.member);
    }
    for (IXMLDOMElement* item : children.All(u"HISTORYITEM"))
        into.history.emplace_back(OrvBLProtHistoryItem::ReadElement(item));
    for (IXMLDOMElement* item : children.All(u"PAYMONTHITEM"))
        into.payMonths.emplace_back(OrvBlProtPayMonthItem::ReadElement(item));
}

}  // namespace

HRESULT OrvBLDocProtocol::FinalConstruct() {
    HRESULT hr = CoCreateInstance(CLSID_OrvUnknownList, nullptr, CLSCTX_ALL, IID_IOrvUnknownList,
                                  reinterpret_cast<void**>(history_.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return hr;
    return CoCreateInstance(CLSID_OrvUnknownList, nullptr, CLSCTX_ALL, IID_IOrvUnknownList,
                            reinterpret_cast<void**>(payMonths_.ReleaseAndGetAddressOf()));
}

HRESULT OrvBLDocProtocol::GetText(std::u16string Values::*member, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    auto lock = Lock();
    const std::u16string& text = values_.*member;
    if (text.empty()) return S_OK;
    *pVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT OrvBLDocProtocol::PutText(std::u16string Values::*member, BSTR newVal) {
    return Locked([&] {
        values_.*member = ext::TextOf(newVal);
        return S_OK;
    });
}

void OrvBLDocProtocol::Empty(IOrvUnknownList* list) { Check(list->RemoveAll(), IID_IOrvUnknownList); }

HRESULT OrvBLDocProtocol::AddHistoryItem(IUnknown* punkHistoryItem) {
    return Locked([&] { return Check(history_->Add(punkHistoryItem), IID_IOrvUnknownList); });
}

HRESULT OrvBLDocProtocol::AddPayMonthItem(IUnknown* punkPayMonthItem) {
    return Locked([&] { return Check(payMonths_->Add(punkPayMonthItem), IID_IOrvUnknownList); });
}

HRESULT OrvBLDocProtocol::get_HistoryList(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    auto lock = Lock();
    *pVal = history_.Get();
    (*pVal)->AddRef();
    return S_OK;
}

HRESULT OrvBLDocProtocol::get_PayMonthList(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    auto lock = Lock();
    *pVal = payMonths_.Get();
    (*pVal)->AddRef();
    return S_OK;
}

HRESULT OrvBLDocProtocol::Clean() {
    return Locked([&] {
        Reset(values_);
        Empty(history_.Get());
        Empty(payMonths_.Get());
        return S_OK;
    });
}

HRESULT OrvBLDocProtocol::SetAccessType(IUnknown* punkOrvBD) {
    return Locked([&] {
        accessType_ = AccessTypeFromDatabase(punkOrvBD);
        return S_OK;
    });
}

HRESULT OrvBLDocProtocol::GetAccessType(LONG* pVal) {
    if (!pVal) return E_POINTER;
    auto lock = Lock();
    *pVal = accessType_;
    return S_OK;
}

void OrvBLDocProtocol::SetAccess(LONG accessType) noexcept {
    auto lock = Lock();
    accessType_ = accessType;
}

HRESULT OrvBLDocProtocol::CleanUpHistory() {
    return Locked([&] {
        Empty(history_.Get());
        values_.historyCount = 0;
        return S_OK;
    });
}

HRESULT OrvBLDocProtocol::CleanUpPayMonthsAfter(DATE dtStartToClean) {
    return Locked([&] {
        // Everything is read first; the object changes only when the walk
        // went through.
        ComPtr<IOrvUnknownList> kept;
        Check(CoCreateInstance(CLSID_OrvUnknownList, nullptr, CLSCTX_ALL, IID_IOrvUnknownList,
                               reinterpret_cast<void**>(kept.GetAddressOf())),
              IID_IOrvUnknownList);
        LONG count = 0;
        // Sums in unsigned 64 bits: a total that runs out of range wraps
        // instead of overflowing.
        unsigned long long dropped = 0, dropped2 = 0;
        Check(payMonths_->Reset(), IID_IOrvUnknownList);
        for (;;) {
            ComPtr<IUnknown> element;
            Check(payMonths_->Next(element.GetAddressOf()), IID_IOrvUnknownList);
            if (!element) break;
            ComPtr<IOrvBlProtPayMonthItem> item;
            if (FAILED(element.As(&item)) || !item) {
                // Not a pay month: kept where it is, not counted.
                Check(kept->Add(element.Get()), IID_IOrvUnknownList);
                continue;
            }
            DATE month = 0.0;
            Check(item->get_Month(&month), IID_IOrvBlProtPayMonthItem);
            if (month < dtStartToClean) {
                Check(kept->Add(element.Get()), IID_IOrvUnknownList);
                ++count;
                continue;
            }
            CY sum{}, sum2{};
            Check(item->get_Sum(&sum), IID_IOrvBlProtPayMonthItem);
            Check(item->get_Sum2(&sum2), IID_IOrvBlProtPayMonthItem);
            dropped += static_cast<unsigned long long>(sum.int64);
            dropped2 += static_cast<unsigned long long>(sum2.int64);
        }
        values_.totBlSum.int64 =
            static_cast<LONGLONG>(static_cast<unsigned long long>(values_.totBlSum.int64) - dropped);
        values_.totBlSum2.int64 =
            static_cast<LONGLONG>(static_cast<unsigned long long>(values_.totBlSum2.int64) - dropped2);
        payMonths_ = std::move(kept);
        values_.payMonthCount = count;
        return S_OK;
    });
}

// ------------------------------------------------------------- the XML form

HRESULT OrvBLDocProtocol::NewXml(ComPtr<IXMLDOMDocument>* xml) {
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(xml->ReleaseAndGetAddressOf()));
    if (SUCCEEDED(hr) && *xml) return S_OK;
    return ReportWithMessage(CLSID_OrvBLDocProtocol, IDS_XML_CONNECT, IID_IOrvBLDocProtocol, E_FAIL);
}

void OrvBLDocProtocol::Serialise(IXMLDOMDocument* xml) {
    ComPtr<IXMLDOMElement> root;
    Check(xml->createElement(Bstr(kRoot), root.GetAddressOf()), IID_IXMLDOMDocument);
    Append(xml, root.Get());
    ComPtr<IXMLDOMElement> calculation = ext::AppendElement(xml, root.Get(), kCalculation);
    const char16_t digit[2] = {static_cast<char16_t>(u'0' + (accessType_ != 0 ? 1 : 0)), 0};
    Check(SetAttribute(calculation.Get(), kAccess, std::u16string_view(digit, 1)), IID_IXMLDOMElement);

    for (const Embedded& e : kEmbedded) {
        const std::u16string& text = values_.*e.member;
        if (text.empty()) continue;
        ComPtr<IXMLDOMDocument> scratch = NewDom();
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(scratch->loadXML(Bstr(text), &ok), IID_IXMLDOMDocument);
        if (ok != VARIANT_TRUE) {
            // The DOM service's own error code for the text it refused.
            HRESULT code = E_FAIL;
            ComPtr<IXMLDOMParseError> error;
            if (SUCCEEDED(scratch->get_parseError(error.GetAddressOf())) && error) {
                LONG reported = 0;
                if (SUCCEEDED(error->get_errorCode(&reported)) && FAILED(reported)) code = reported;
            }
            throw ComError{code, IID_IXMLDOMDocument};
        }
        ComPtr<IXMLDOMElement> embedded;
        Check(scratch->get_documentElement(embedded.GetAddressOf()), IID_IXMLDOMDocument);
        if (embedded) Append(calculation.Get(), embedded.Get());
    }

    for (const Scalar& s : kScalars) {
        std::visit([&](auto member) { blvalues::Write(xml, calculation.Get(), s.name, blvalues::Value(values_.*member)); },
                   s.member);
    }

    Check(history_->Reset(), IID_IOrvUnknownList);
    for (;;) {
        ComPtr<IUnknown> element;
        Check(history_->Next(element.GetAddressOf()), IID_IOrvUnknownList);
        ComPtr<IOrvBLProtHistoryItem> item;
        if (!element || FAILED(element.As(&item)) || !item) break;
        OrvBLProtHistoryItem::WriteElement(xml, calculation.Get(), item.Get());
    }
    Check(payMonths_->Reset(), IID_IOrvUnknownList);
    for (;;) {
        ComPtr<IUnknown> element;
        Check(payMonths_->Next(element.GetAddressOf()), IID_IOrvUnknownList);
        ComPtr<IOrvBlProtPayMonthItem> item;
        if (!element || FAILED(element.As(&item)) || !item) break;
        OrvBlProtPayMonthItem::WriteElement(xml, calculation.Get(), item.Get());
    }

    // The calculations of the other access types, as they were read.
    if (keptZero_) Append(root.Get(), DeepCopy(keptZero_.Get()).Get());
    if (keptOther_) Append(root.Get(), DeepCopy(keptOther_.Get()).Get());

    element_ = nullptr;
    Check(root.As(&element_), IID_IXMLDOMElement);
}

HRESULT OrvBLDocProtocol::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> xml;
    if (HRESULT hr = NewXml(&xml); FAILED(hr)) return hr;
    return Locked([&] {
        Serialise(xml.Get());
        return Check(xml->get_xml(pVal), IID_IXMLDOMDocument);
    });
}

HRESULT OrvBLDocProtocol::get_xmlProtocol(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> xml;
    if (HRESULT hr = NewXml(&xml); FAILED(hr)) return hr;
    return Locked([&] {
        Serialise(xml.Get());
        return Check(element_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pVal)), IID_IXMLDOMNode);
    });
}

HRESULT OrvBLDocProtocol::put_xmlProtocol(IUnknown*) { return E_NOTIMPL; }

HRESULT OrvBLDocProtocol::put_FullString(BSTR newVal) {
    ComPtr<IXMLDOMDocument> xml;
    if (HRESULT hr = NewXml(&xml); FAILED(hr)) return hr;
    const std::u16string_view text = newVal ? std::u16string_view(newVal, SysStringLen(newVal)) : std::u16string_view();
    return Locked([&] { return ParseText(xml.Get(), text); });
}

HRESULT OrvBLDocProtocol::ParseText(IXMLDOMDocument* scratch, std::u16string_view text) {
    auto lock = Lock();
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(scratch->loadXML(Bstr(text), &ok), IID_IXMLDOMDocument);
    if (ok != VARIANT_TRUE) return E_INVALIDARG;

    // Everything is read aside first; the object changes only when all of it
    // was read.
    Calculation ours;
    Reset(ours.values);
    ours.values.originatorType = values_.originatorType;
    ours.values.number = values_.number;
    ComPtr<IXMLDOMNode> keptZero, keptOther;

    ComPtr<IXMLDOMNode> protocol = SelectNode(scratch, u"EXT/BLPR5");
    if (!protocol) protocol = SelectNode(scratch, kRoot);
    ComPtr<IXMLDOMNode> context = protocol;
    if (!context) Check(scratch->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(context.GetAddressOf())),
                        IID_IXMLDOMDocument);
    for (const auto& calculation : SelectElements(context.Get(), kCalculation)) {
        LONG access = 0;
        Check(GetAttributeLong(calculation.Get(), kAccess, &access), IID_IXMLDOMElement);
        if (access == accessType_)
            ReadCalculation(calculation.Get(), ours);
        else if (access == 0)
            keptZero = DeepCopy(calculation.Get());
        else
            keptOther = DeepCopy(calculation.Get());
    }

    Empty(history_.Get());
    Empty(payMonths_.Get());
    for (const auto& item : ours.history) Check(history_->Add(item.Get()), IID_IOrvUnknownList);
    for (const auto& item : ours.payMonths) Check(payMonths_->Add(item.Get()), IID_IOrvUnknownList);
    values_ = std::move(ours.values);
    keptZero_ = std::move(keptZero);
    keptOther_ = std::move(keptOther);
    return S_OK;
}

void OrvBLDocProtocol::SetElement(IXMLDOMNode* node) {
    auto lock = Lock();
    element_ = node;
}

HRESULT OrvBLDocProtocol::get_ShortString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return E_NOTIMPL;
}

HRESULT OrvBLDocProtocol::put_ShortString(BSTR) { return E_NOTIMPL; }
HRESULT OrvBLDocProtocol::ParseIn(IUnknown*, LONG) { return S_OK; }
HRESULT OrvBLDocProtocol::ParseFrom(IUnknown*, LONG) { return S_OK; }

}  // namespace orv
