#include "kinds/OrvS1Doc.h"

#include "frame/values.h"
#include "kinds/RecordFields.h"

#include <cstring>

namespace orv {
namespace {

constexpr const OLECHAR* kItem = u"S1SUM";

void Put16(std::string& out, std::size_t at, LONG v) {
    const auto u = static_cast<uint16_t>(v);
    out[at] = static_cast<char>(u & 0xFF);
    out[at + 1] = static_cast<char>(u >> 8);
}
void Put32(std::string& out, std::size_t at, LONG v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}
LONG Get16(const std::string& in, std::size_t at) {
    const auto u = static_cast<uint16_t>(static_cast<unsigned char>(in[at]) | (static_cast<unsigned char>(in[at + 1]) << 8));
    return static_cast<int16_t>(u);
}
LONG Get32(const std::string& in, std::size_t at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return static_cast<int32_t>(u);
}

bool SameKey(const S1Entry& a, const S1Entry& b) {
    return a.payCode == b.payCode && a.workType == b.workType && a.shpz == b.shpz && a.project == b.project &&
           a.finRoot == b.finRoot && a.basis == b.basis && a.memo == b.memo;
}

void AddAmounts(S1Entry& to, const S1Entry& from) {
    to.sum.int64 += from.sum.int64;
    to.days += from.days;
    to.hours += from.hours;
    to.carSmen += from.carSmen;
}

}  // namespace

// --------------------------------------------------------------- S1Table

int S1Table::Used() const noexcept {
    int n = 0;
    while (n < kSize && entries_[static_cast<std::size_t>(n)].payCode != 0) ++n;
    return n;
}

void S1Table::Clear() noexcept {
    entries_.fill(S1Entry{});
    count_ = 0;
}

bool S1Table::Add(LONG payCode, LONG workType, CY sum, LONG days, LONG hours, const LONG* carSmen) {
    for (int i = 0; i < kSize; ++i) {
        S1Entry& e = (*this)[i];
        if (e.payCode == 0) {
            e.payCode = payCode;
            e.workType = workType;
            e.sum = sum;
            e.days = days;
            e.hours = hours;
            if (carSmen) e.carSmen = *carSmen;
            if (count_ < i + 1) count_ = i + 1;
            return true;
        }
        if (e.payCode == payCode && e.workType == workType) {
            e.sum.int64 += sum.int64;
            e.days += days;
            e.hours += hours;
            if (carSmen) e.carSmen += *carSmen;
            return true;
        }
    }
    return false;
}

bool S1Table::Merge(const S1Entry& item) {
    const int used = Used();
    for (int i = 0; i < used; ++i) {
        if (SameKey((*this)[i], item)) {
            AddAmounts((*this)[i], item);
            return true;
        }
    }
    if (used == kSize) return false;
    (*this)[used] = item;
    count_ = used + 1;
    return true;
}

std::string S1Table::ToRecords() const {
    const int n = Used();
    std::string out(kRecordSize * static_cast<std::size_t>(n), '\0');
    for (int i = 0; i < n; ++i) {
        const S1Entry& e = (*this)[i];
        const std::size_t at = kRecordSize * static_cast<std::size_t>(i);
        Put16(out, at + 0, e.payCode);
        Put16(out, at + 2, e.workType);
        Put32(out, at + 4, CurrencyToHundredths(e.sum));
        Put16(out, at + 8, e.days);
        Put32(out, at + 10, e.hours);
        Put16(out, at + 14, e.carSmen);
        Put16(out, at + 16, e.shpz);
        Put16(out, at + 18, e.project);
        Put16(out, at + 20, e.finRoot);
    }
    return out;
}

void S1Table::FromRecords(const std::string& bytes) {
    std::size_t n = bytes.size() / kRecordSize;
    if (n > static_cast<std::size_t>(kSize)) n = kSize;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = kRecordSize * i;
        S1Entry e;
        e.payCode = Get16(bytes, at + 0);
        e.workType = Get16(bytes, at + 2);
        e.sum = HundredthsToCurrency(Get32(bytes, at + 4));
        e.days = Get16(bytes, at + 8);
        e.hours = Get32(bytes, at + 10);
        e.carSmen = Get16(bytes, at + 14);
        e.shpz = Get16(bytes, at + 16);
        e.project = Get16(bytes, at + 18);
        e.finRoot = Get16(bytes, at + 20);
        entries_[i] = std::move(e);
    }
    count_ = static_cast<LONG>(n);
}

// --------------------------------------------------------------- OrvS1Doc

void OrvS1Doc::Merge(IXMLDOMElement* root) {
    std::vector<S1Entry> items;
    for (const ComPtr<IXMLDOMElement>& el : ext::ChildElements(root, kItem)) {
        IXMLDOMElement* x = el.Get();
        S1Entry e;
        e.payCode = ext::ReadLong(x, u"CODE");
        if (e.payCode == 0) continue;
        e.workType = ext::ReadLong(x, u"VR");
        e.sum = sums::ReadCurrency(x, u"VAL");
        e.days = ext::ReadLong(x, u"DAYS");
        e.hours = ext::ReadLong(x, u"H");
        e.carSmen = ext::ReadLong(x, u"CSM");
        e.shpz = ext::ReadLong(x, u"SPZ");
        e.project = ext::ReadLong(x, u"PJC");
        e.finRoot = ext::ReadLong(x, u"FR");
        e.basis = ext::ReadText(x, u"OSN");
        e.memo = ext::ReadText(x, u"MEMO");
        items.push_back(std::move(e));
    }
    for (const S1Entry& e : items)
        if (!table_.Merge(e)) break;
}

void OrvS1Doc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    const int n = table_.Used();
    for (int i = 0; i < n; ++i) {
        const S1Entry& e = table_[i];
        ComPtr<IXMLDOMElement> el = ext::AppendElement(xml, root, kItem);
        IXMLDOMElement* x = el.Get();
        sums::WriteCurrency(x, u"VAL", e.sum);
        ext::WriteLong(x, u"CSM", e.carSmen);
        ext::WriteLong(x, u"FR", e.finRoot);
        ext::WriteLong(x, u"CODE", e.payCode);
        ext::WriteLong(x, u"PJC", e.project);
        ext::WriteLong(x, u"SPZ", e.shpz);
        ext::WriteLong(x, u"DAYS", e.days);
        ext::WriteLong(x, u"H", e.hours);
        ext::WriteLong(x, u"VR", e.workType);
        if (!e.basis.empty()) ext::WriteText(x, u"OSN", e.basis);
        if (!e.memo.empty()) ext::WriteText(x, u"MEMO", e.memo);
    }
}

HRESULT OrvS1Doc::Add(LONG payCode, LONG workType, CY sum, LONG days, LONG hours, const LONG* carSmen,
                      LONG* plResult) {
    if (!plResult) return E_POINTER;
    *plResult = -1;
    return Locked([&] {
        if (!table_.Add(payCode, workType, sum, days, hours, carSmen)) return S_FALSE;
        *plResult = 0;
        return S_OK;
    });
}

HRESULT OrvS1Doc::AddSum(LONG lBPayCode, LONG lWorkType, CY Sum, LONG lSumDays, LONG lSumHours, LONG* plResult) {
    return Add(lBPayCode, lWorkType, Sum, lSumDays, lSumHours, nullptr, plResult);
}

HRESULT OrvS1Doc::AddSumMSM(LONG lBPayCode, LONG lWorkType, CY Sum, LONG lSumDays, LONG lSumHours, LONG lCarSmen,
                            LONG* plResult) {
    return Add(lBPayCode, lWorkType, Sum, lSumDays, lSumHours, &lCarSmen, plResult);
}

HRESULT OrvS1Doc::GetElemCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = table_.Count();
        return S_OK;
    });
}

bool OrvS1Doc::XmlBody() { return record::Get<LONG>(Document(), &IOrvDocument::get_lDcdpod) != 0; }

HRESULT OrvS1Doc::InitFromExtension() {
    return Locked([&]() -> HRESULT {
        const bool xml = XmlBody();
        ComPtr<IOrvDocExtension> ext = sums::ExtensionOf(Document());
        if (!ext) return S_OK;
        if (xml) {
            Bstr body;
            Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
            ComPtr<IXMLDOMDocument> parsed = sums::ParseXml(body.View());
            if (!parsed) return S_OK;  // a body that does not parse leaves the table as it was
            ComPtr<IXMLDOMElement> root = sums::SelectElement(parsed.Get(), kRoot);
            if (!root) return S_OK;
            Merge(root.Get());
            // The count covers the list as merged: entries the body only
            // added to count as well as the ones it filled.
            table_.SetCount(table_.Used());
            return S_OK;
        }
        const std::string bytes = sums::BodyBytes(ext.Get());
        if (!bytes.empty()) table_.FromRecords(bytes);
        return S_OK;
    });
}

HRESULT OrvS1Doc::UpdateExtension() {
    return Locked([&]() -> HRESULT {
        const bool xml = XmlBody();
        ComPtr<IOrvDocExtension> ext = sums::ExtensionOf(Document());
        if (!ext) return S_OK;
        if (xml) {
            const std::u16string text = ListText();
            Bstr body(text);
            Check(ext->put_Body(body), IID_IOrvDocExtension);
            Check(ext->put_Length(static_cast<LONG>(body.ByteLength())), IID_IOrvDocExtension);
            return S_OK;
        }
        sums::PutBodyBytes(ext.Get(), table_.ToRecords());
        return S_OK;
    });
}

HRESULT OrvS1Doc::get_WorkingDays(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_DcDat1);
        return S_OK;
    });
}

HRESULT OrvS1Doc::put_WorkingDays(LONG newVal) {
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_DcDat1, newVal);
        return S_OK;
    });
}

HRESULT OrvS1Doc::get_WorkingHours(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::ReadHundredths(Document(), record::Sum::DcSum3);
        return S_OK;
    });
}

HRESULT OrvS1Doc::put_WorkingHours(LONG newVal) {
    return Locked([&] {
        record::WriteHundredths(Document(), record::Sum::DcSum3, newVal);
        return S_OK;
    });
}

}  // namespace orv
