#include "vacation/ProtocolRecords.h"

#include "frame/values.h"
#include "kinds/ExtensionFields.h"
#include "xml/attributes.h"

#include <orvdocs/platform/strings.h>

#include <algorithm>
#include <bit>
#include <span>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace orv::vacation {

// ------------------------------------------------------------ fields

SHORT GetShort(const ProtocolRecord& r, std::size_t offset) noexcept { return r.Read<SHORT>(offset); }
void PutShort(ProtocolRecord& r, std::size_t offset, SHORT value) noexcept { r.Write<SHORT>(offset, value); }
DATE GetDay(const ProtocolRecord& r, std::size_t offset) noexcept { return DayNumberToDate(r.Read<SHORT>(offset)); }
void PutDay(ProtocolRecord& r, std::size_t offset, DATE value) noexcept {
    r.Write<SHORT>(offset, DateToDayNumber(value));
}
CY GetMoney(const ProtocolRecord& r, std::size_t offset) noexcept {
    return HundredthsToCurrency(r.Read<LONG>(offset));
}
void PutMoney(ProtocolRecord& r, std::size_t offset, CY value) noexcept {
    r.Write<LONG>(offset, CurrencyToHundredths(value));
}
float GetSingle(const ProtocolRecord& r, std::size_t offset) noexcept {
    return std::bit_cast<float>(r.Read<uint32_t>(offset));
}
void PutSingle(ProtocolRecord& r, std::size_t offset, float value) noexcept {
    r.Write<uint32_t>(offset, std::bit_cast<uint32_t>(value));
}

float ToSingle(double value) noexcept {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax) return std::numeric_limits<float>::infinity();
    if (value < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);  // NaN stays NaN
}

const char16_t* RootForType(LONG type) noexcept {
    switch (type) {
        case 349: return u"VVDOCEX";
        case 304: return u"TDDOCEX";
        case 93: return u"UVDOCEX";
        default: return u"OTDOCEX";
    }
}

// ------------------------------------------------------- older bodies

namespace {

constexpr std::size_t kOldestSize = 184, kOlderSize = 344;

void Copy(ProtocolRecord& to, std::size_t toOffset, const unsigned char* from, std::size_t size) noexcept {
    std::memcpy(to.Data() + toOffset, from, size);
}

// 184 bytes: the head up to SumOt, the history count at 38, twelve 12-byte
// month entries from 40 (flag, date, the two sums).
void DecodeOldest(const unsigned char* b, ProtocolRecord& r) noexcept {
    Copy(r, 0, b, 38);
    Copy(r, head::kHistoryCount, b + 38, 2);
    for (std::size_t i = 0; i < kMonthCount; ++i) {
        const unsigned char* m = b + 40 + i * 12;
        Copy(r, MonthField(i, month::kFlag), m, 2);
        Copy(r, MonthField(i, month::kDate), m + 2, 2);
        Copy(r, MonthField(i, month::kSum1), m + 4, 4);
        Copy(r, MonthField(i, month::kSum2), m + 8, 4);
    }
}

// 344 bytes: the whole head, twelve 24-byte month entries from 56 (no direct
// premium, no extra days, no factor, no clean sum).
void DecodeOlder(const unsigned char* b, ProtocolRecord& r) noexcept {
    Copy(r, 0, b, kMonthsOffset);
    for (std::size_t i = 0; i < kMonthCount; ++i) {
        const unsigned char* m = b + kMonthsOffset + i * 24;
        Copy(r, MonthField(i, month::kFlag), m, 2);
        Copy(r, MonthField(i, month::kDate), m + 2, 2);
        Copy(r, MonthField(i, month::kSum1), m + 4, 4);
        Copy(r, MonthField(i, month::kSum2), m + 8, 4);
        Copy(r, MonthField(i, month::kPropPrem), m + 12, 4);
        Copy(r, MonthField(i, month::kNormCommon), m + 16, 2);
        Copy(r, MonthField(i, month::kFactCommon), m + 18, 2);
        Copy(r, MonthField(i, month::kNormEmployee), m + 20, 2);
        Copy(r, MonthField(i, month::kFactEmployee), m + 22, 2);
    }
}

}  // namespace

bool DecodeLegacyBody(const unsigned char* bytes, std::size_t length, ProtocolSet& out) noexcept {
    switch (length) {
        case kOldestSize: DecodeOldest(bytes, out.records[0]); return true;
        case kOlderSize: DecodeOlder(bytes, out.records[0]); return true;
        case kRecordSize:
        case 2 * kRecordSize:
        case 4 * kRecordSize:
            for (std::size_t i = 0; i < length / kRecordSize; ++i)
                Copy(out.records[i], 0, bytes + i * kRecordSize, kRecordSize);
            return true;
        default: return false;
    }
}

// ---------------------------------------------------------------- XML

namespace {

constexpr const OLECHAR* kVal = u"VAL";

// The scalar elements of a record head, in the order they are written.
enum class Form : unsigned char { Short, Day, Single, Money };
struct Scalar {
    const OLECHAR* element;
    std::size_t offset;
    Form form;
};
constexpr Scalar kHead[] = {
    {u"FLAG", head::kFlag, Form::Short},       {u"MESCOUNT", head::kMesCount, Form::Short},
    {u"MESCOUNT0", head::kMesCount0, Form::Short}, {u"NEWEND", head::kNewEnd, Form::Day},
    {u"STARTFMP", head::kStartFmp, Form::Day}, {u"FSREDN1", head::kSredn1, Form::Single},
    {u"FSREDN2", head::kSredn2, Form::Single}, {u"DTOTSUM1", head::kTotSum1, Form::Money},
    {u"DTOTSUM2", head::kTotSum2, Form::Money}, {u"DSUMOT1", head::kSumOt1, Form::Money},
    {u"DSUMOT2", head::kSumOt2, Form::Money},  {u"DSUMOT", head::kSumOt, Form::Money},
};
// The children of "HDATE" (its own "VAL" is the month's date), in order.
constexpr Scalar kMonth[] = {
    {u"HFLAG", month::kFlag, Form::Short},
    {u"DSUM1", month::kSum1, Form::Money},
    {u"DSUM2", month::kSum2, Form::Money},
    {u"DSUM3", month::kPropPrem, Form::Money},
    {u"DSUM4", month::kDirectPrem, Form::Money},
    {u"DS1CL", month::kCleanSum, Form::Money},
    {u"FCUSED", month::kInFactor, Form::Single},
    {u"NDC", month::kNormCommon, Form::Short},
    {u"FDC", month::kFactCommon, Form::Short},
    {u"NDE", month::kNormEmployee, Form::Short},
    {u"FDE", month::kFactEmployee, Form::Short},
    {u"NDCEX", month::kNormCommonExtra, Form::Short},
    {u"FDCEX", month::kFactCommonExtra, Form::Short},
};

void WriteValue(IXMLDOMElement* element, const OLECHAR* name, const ProtocolRecord& r, std::size_t offset,
                Form form) {
    HRESULT hr = S_OK;
    switch (form) {
        case Form::Short: hr = SetAttribute(element, name, GetShort(r, offset)); break;
        case Form::Day: hr = SetAttribute(element, name, GetDay(r, offset)); break;
        case Form::Single: hr = SetAttribute(element, name, static_cast<double>(GetSingle(r, offset))); break;
        case Form::Money: hr = SetAttribute(element, name, GetMoney(r, offset)); break;
    }
    Check(hr, IID_IXMLDOMElement);
}

void ReadValue(IXMLDOMElement* element, const OLECHAR* name, ProtocolRecord& r, std::size_t offset, Form form) {
    switch (form) {
        case Form::Short: {
            LONG v = 0;
            Check(GetAttributeLong(element, name, &v), IID_IXMLDOMElement);
            PutShort(r, offset, static_cast<SHORT>(static_cast<uint16_t>(v)));
            break;
        }
        case Form::Day: {
            double v = 0.0;
            Check(GetAttributeDouble(element, name, &v), IID_IXMLDOMElement);
            PutDay(r, offset, v);
            break;
        }
        case Form::Single: {
            double v = 0.0;
            Check(GetAttributeDouble(element, name, &v), IID_IXMLDOMElement);
            PutSingle(r, offset, ToSingle(v));
            break;
        }
        case Form::Money: {
            CY v{};
            Check(GetAttributeCurrency(element, name, &v), IID_IXMLDOMElement);
            PutMoney(r, offset, v);
            break;
        }
    }
}

void AppendScalars(IXMLDOMDocument* xml, IXMLDOMElement* parent, std::span<const Scalar> scalars,
                   const ProtocolRecord& r, std::size_t base) {
    for (const Scalar& s : scalars) {
        ComPtr<IXMLDOMElement> e = ext::AppendElement(xml, parent, s.element);
        WriteValue(e.Get(), kVal, r, base + s.offset, s.form);
    }
}

// Reads the first child element of each name in scalars. One walk over the
// children instead of a query per name: a record has 12 + 12 x 13 of them.
void ReadScalars(IXMLDOMElement* parent, std::span<const Scalar> scalars, ProtocolRecord& r, std::size_t base) {
    uint32_t seen = 0;  // the scalars already read (a later element of the same name is passed over)
    ComPtr<IXMLDOMNode> node;
    Check(parent->get_firstChild(node.GetAddressOf()), IID_IXMLDOMElement);
    while (node) {
        DOMNodeType type = NODE_INVALID;
        Check(node->get_nodeType(&type), IID_IXMLDOMNode);
        if (type == NODE_ELEMENT) {
            Bstr name;
            Check(node->get_nodeName(name.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
            for (std::size_t i = 0; i < scalars.size(); ++i) {
                if ((seen & (1u << i)) || name.View() != std::u16string_view(scalars[i].element)) continue;
                seen |= 1u << i;
                ComPtr<IXMLDOMElement> e;
                Check(node.As(&e), IID_IXMLDOMNode);
                ReadValue(e.Get(), kVal, r, base + scalars[i].offset, scalars[i].form);
                break;
            }
        }
        ComPtr<IXMLDOMNode> next;
        Check(node->get_nextSibling(next.GetAddressOf()), IID_IXMLDOMNode);
        node = std::move(next);
    }
}

void WriteOwner(IXMLDOMElement* element, std::u16string_view tabNum, LONG documentId) {
    if (!tabNum.empty()) Check(SetAttribute(element, u"TabNum", tabNum), IID_IXMLDOMElement);
    if (documentId != 0) Check(SetAttribute(element, u"DocId", documentId), IID_IXMLDOMElement);
}

void AppendPaidMonths(IXMLDOMDocument* xml, IXMLDOMElement* parent, const PaidMonths& months) {
    for (const auto& [key, m] : months) {
        ComPtr<IXMLDOMElement> pm = ext::AppendElement(xml, parent, u"PMONTH");
        Check(SetAttribute(pm.Get(), u"DT", m.month), IID_IXMLDOMElement);
        Check(SetAttribute(pm.Get(), u"FAC", m.factor), IID_IXMLDOMElement);
        for (const PaidInterval& i : m.intervals) {
            ComPtr<IXMLDOMElement> e = ext::AppendElement(xml, pm.Get(), u"INTRVL");
            Check(SetAttribute(e.Get(), u"INDAYS", static_cast<SHORT>(i.inDays ? VARIANT_TRUE : VARIANT_FALSE)),
                  IID_IXMLDOMElement);
            Check(SetAttribute(e.Get(), u"SUM", i.sum), IID_IXMLDOMElement);
            Check(SetAttribute(e.Get(), u"DN", i.dn), IID_IXMLDOMElement);
            Check(SetAttribute(e.Get(), u"DK", i.dk), IID_IXMLDOMElement);
            Check(SetAttribute(e.Get(), u"D", i.days), IID_IXMLDOMElement);
            Check(SetAttribute(e.Get(), u"H", i.hours), IID_IXMLDOMElement);
            Check(SetAttribute(e.Get(), u"ITYPE", i.type), IID_IXMLDOMElement);
        }
    }
}

void ReadPaidMonths(IXMLDOMElement* parent, PaidMonths& months) {
    for (const auto& pm : ext::ChildElements(parent, u"PMONTH")) {
        double dt = 0.0, factor = 0.0;
        Check(GetAttributeDouble(pm.Get(), u"DT", &dt), IID_IXMLDOMElement);
        Check(GetAttributeDouble(pm.Get(), u"FAC", &factor), IID_IXMLDOMElement);
        const double key = std::floor(dt);
        if (!std::isfinite(key)) continue;
        PaidMonth& m = months[key];
        m.month = key;
        m.factor = factor;
        for (const auto& e : ext::ChildElements(pm.Get(), u"INTRVL")) {
            PaidInterval i;
            LONG inDays = 0;
            Check(GetAttributeLong(e.Get(), u"INDAYS", &inDays), IID_IXMLDOMElement);
            i.inDays = inDays != 0;
            Check(GetAttributeCurrency(e.Get(), u"SUM", &i.sum), IID_IXMLDOMElement);
            Check(GetAttributeDouble(e.Get(), u"DN", &i.dn), IID_IXMLDOMElement);
            Check(GetAttributeDouble(e.Get(), u"DK", &i.dk), IID_IXMLDOMElement);
            Check(GetAttributeLong(e.Get(), u"D", &i.days), IID_IXMLDOMElement);
            Check(GetAttributeLong(e.Get(), u"H", &i.hours), IID_IXMLDOMElement);
            Check(GetAttributeLong(e.Get(), u"ITYPE", &i.type), IID_IXMLDOMElement);
            m.intervals.push_back(i);
        }
    }
}

// The body of "OTPROTOCOL" or "OTPROTOCOL2": head, history, paid months.
void AppendRecord(IXMLDOMDocument* xml, IXMLDOMElement* element, const ProtocolRecord& r, const PaidMonths& paid) {
    AppendScalars(xml, element, kHead, r, 0);
    ComPtr<IXMLDOMElement> history = ext::AppendElement(xml, element, u"HISTORY");
    const SHORT count = GetShort(r, head::kHistoryCount);
    Check(SetAttribute(history.Get(), u"COUNT", count), IID_IXMLDOMElement);
    const std::size_t written = count <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(count), kMonthCount);
    for (std::size_t i = 0; i < written; ++i) {
        ComPtr<IXMLDOMElement> hdate = ext::AppendElement(xml, history.Get(), u"HDATE");
        WriteValue(hdate.Get(), kVal, r, MonthField(i, month::kDate), Form::Day);
        AppendScalars(xml, hdate.Get(), kMonth, r, MonthField(i, 0));
    }
    AppendPaidMonths(xml, element, paid);
}

void ReadRecord(IXMLDOMElement* element, ProtocolRecord& r) {
    ReadScalars(element, kHead, r, 0);
    ComPtr<IXMLDOMElement> history = ext::ChildElement(element, u"HISTORY");
    if (!history) return;
    ReadValue(history.Get(), u"COUNT", r, head::kHistoryCount, Form::Short);
    std::size_t i = 0;
    for (const auto& hdate : ext::ChildElements(history.Get(), u"HDATE")) {
        if (i == kMonthCount) break;
        ReadValue(hdate.Get(), kVal, r, MonthField(i, month::kDate), Form::Day);
        ReadScalars(hdate.Get(), kMonth, r, MonthField(i, 0));
        ++i;
    }
}

}  // namespace

void ReadProtocols(IXMLDOMElement* protocols, ProtocolSet& out) {
    static constexpr const OLECHAR* kPaths[2] = {u"Protocol[attribute::AT = 0]", u"Protocol[attribute::AT = 1]"};
    for (LONG at = 0; at < 2; ++at) {
        ComPtr<IXMLDOMElement> protocol = ext::ChildElement(protocols, kPaths[at]);
        if (!protocol) continue;
        ComPtr<IXMLDOMElement> first = ext::ChildElement(protocol.Get(), u"OTPROTOCOL");
        if (!first) continue;
        ReadRecord(first.Get(), out.records[ProtocolSet::Index(at, 0)]);
        ReadPaidMonths(first.Get(), out.paid[static_cast<std::size_t>(at)]);
        if (ComPtr<IXMLDOMElement> second = ext::ChildElement(first.Get(), u"OTPROTOCOL2"))
            ReadRecord(second.Get(), out.records[ProtocolSet::Index(at, 1)]);
    }
}

void AppendProtocols(IXMLDOMDocument* xml, IXMLDOMElement* parent, const ProtocolSet& set, std::u16string_view tabNum,
                     LONG documentId) {
    ComPtr<IXMLDOMElement> protocols = ext::AppendElement(xml, parent, u"Protocols");
    WriteOwner(protocols.Get(), tabNum, documentId);
    Check(SetAttribute(protocols.Get(), u"T0", LONG{22}), IID_IXMLDOMElement);
    for (LONG at = 0; at < 2; ++at) {
        ComPtr<IXMLDOMElement> protocol = ext::AppendElement(xml, protocols.Get(), u"Protocol");
        Check(SetAttribute(protocol.Get(), u"Type", std::u16string_view(u"OT")), IID_IXMLDOMElement);
        Check(SetAttribute(protocol.Get(), u"AT", at), IID_IXMLDOMElement);
        const PaidMonths& paid = set.paid[static_cast<std::size_t>(at)];
        ComPtr<IXMLDOMElement> first = ext::AppendElement(xml, protocol.Get(), u"OTPROTOCOL");
        WriteOwner(first.Get(), tabNum, documentId);
        AppendRecord(xml, first.Get(), set.records[ProtocolSet::Index(at, 0)], paid);
        ComPtr<IXMLDOMElement> second = ext::AppendElement(xml, first.Get(), u"OTPROTOCOL2");
        WriteOwner(second.Get(), tabNum, documentId);
        AppendRecord(xml, second.Get(), set.records[ProtocolSet::Index(at, 1)], paid);
    }
}

}  // namespace orv::vacation
