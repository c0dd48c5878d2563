// Pay sums of one month (type 137): a fixed table of 51 entries of pay code,
// work type, sum, days, hours, shift number, cost and project codes,
// financing source, basis and memo. The used entries are the leading ones:
// the first entry whose pay code is 0 ends the list.
//
// The generic document's lDcdpod chooses the body: not 0, the XML list
//   <S1SUMS><S1SUM VAL=".." CSM=".." FR=".." CODE=".." PJC=".." SPZ=".."
//                  DAYS=".." H=".." VR=".." OSN=".." MEMO=".."/>...</S1SUMS>
// (OSN and MEMO only when not empty); 0, the older byte body of 30-byte
// records (S1Table::ToRecords), which keeps no texts.
#pragma once

#include "kinds/SumLists.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_sums.h>

#include <array>
#include <string>

namespace orv {

struct S1Entry {
    LONG payCode = 0;
    LONG workType = 0;
    CY sum{};
    LONG days = 0;
    LONG hours = 0;
    LONG carSmen = 0;
    LONG shpz = 0;
    LONG project = 0;
    LONG finRoot = 0;
    std::u16string basis;
    std::u16string memo;
};

// The table and its element count, without any COM around it.
class S1Table {
public:
    static constexpr int kSize = 51;
    static constexpr std::size_t kRecordSize = 30;

    S1Entry& operator[](int i) noexcept { return entries_[static_cast<std::size_t>(i)]; }
    const S1Entry& operator[](int i) const noexcept { return entries_[static_cast<std::size_t>(i)]; }
    LONG Count() const noexcept { return count_; }
    void SetCount(LONG count) noexcept { count_ = count; }

    // Leading entries with a pay code.
    int Used() const noexcept;
    void Clear() noexcept;

    // AddSum / AddSumMSM: adds to the first entry of the same pay code and
    // work type, or fills the first free one (the count then covers it).
    // False when the table is full and nothing matches.
    bool Add(LONG payCode, LONG workType, CY sum, LONG days, LONG hours, const LONG* carSmen);
    // AddSumsXml for one element: adds to the first used entry equal in every
    // code and text, or fills the first free one with all fields. False when full.
    bool Merge(const S1Entry& e);

    // The used entries as consecutive 30-byte records: code (int16), work
    // type (int16), sum (int32 hundredths), days (int16), hours (int32),
    // shift (int16), cost code (int16), project (int16), financing source
    // (int16), eight zero bytes; little-endian. Values beyond 16 bits keep
    // their low 16 bits.
    std::string ToRecords() const;
    // Copies the whole records of the bytes into entries 0.. (at most 51;
    // further records are dropped) with empty texts; the count becomes their number.
    void FromRecords(const std::string& bytes);

private:
    std::array<S1Entry, kSize> entries_{};
    LONG count_ = 0;
};

class OrvS1Doc : public SumListKind<OrvS1Doc, &CLSID_OrvS1Doc, IOrvS1Doc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"S1SUMS";

    void Merge(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);
    void ClearList() noexcept { table_.Clear(); }

    HRESULT get_PayCode(LONG lIndex, LONG* pVal) override { return GetField(lIndex, pVal, &S1Entry::payCode); }
    HRESULT put_PayCode(LONG lIndex, LONG newVal) override { return PutField(lIndex, newVal, &S1Entry::payCode); }
    HRESULT get_WorkType(LONG lIndex, LONG* pVal) override { return GetField(lIndex, pVal, &S1Entry::workType); }
    HRESULT put_WorkType(LONG lIndex, LONG newVal) override { return PutField(lIndex, newVal, &S1Entry::workType); }
    HRESULT get_Sum(LONG lIndex, CY* pVal) override { return GetField(lIndex, pVal, &S1Entry::sum); }
    HRESULT put_Sum(LONG lIndex, CY newVal) override { return PutField(lIndex, newVal, &S1Entry::sum); }
    HRESULT get_SumDays(LONG lIndex, LONG* pVal) override { return GetField(lIndex, pVal, &S1Entry::days); }
    HRESULT put_SumDays(LONG lIndex, LONG newVal) override { return PutField(lIndex, newVal, &S1Entry::days); }
    HRESULT get_SumHours(LONG lIndex, LONG* pVal) override { return GetField(lIndex, pVal, &S1Entry::hours); }
    HRESULT put_SumHours(LONG lIndex, LONG newVal) override { return PutField(lIndex, newVal, &S1Entry::hours); }
    HRESULT get_CarSmenNumber(LONG lIndex, LONG* pVal) override { return GetField(lIndex, pVal, &S1Entry::carSmen); }
    HRESULT put_CarSmenNumber(LONG lIndex, LONG newVal) override {
        return PutField(lIndex, newVal, &S1Entry::carSmen);
    }
    HRESULT AddSum(LONG lBPayCode, LONG lWorkType, CY Sum, LONG lSumDays, LONG lSumHours, LONG* plResult) override;
    HRESULT AddSumMSM(LONG lBPayCode, LONG lWorkType, CY Sum, LONG lSumDays, LONG lSumHours, LONG lCarSmen,
                      LONG* plResult) override;
    HRESULT ClearSums() override { return ClearSumsImpl(); }
    HRESULT AddSumsXml(BSTR xmlStr) override { return AddSumsXmlImpl(xmlStr); }
    HRESULT GetSumsXml(BSTR* pstrXml) override { return GetSumsXmlImpl(pstrXml); }
    HRESULT GetElemCount(LONG* pVal) override;
    HRESULT InitFromExtension() override;
    HRESULT UpdateExtension() override;
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
    HRESULT get_WorkingDays(LONG* pVal) override;
    HRESULT put_WorkingDays(LONG newVal) override;
    HRESULT get_WorkingHours(LONG* pVal) override;
    HRESULT put_WorkingHours(LONG newVal) override;

private:
    template <class T>
    HRESULT GetField(LONG index, T* out, T S1Entry::*field) {
        if (!out) return E_POINTER;
        if (index < 0 || index >= S1Table::kSize) return E_INVALIDARG;
        return Locked([&] {
            *out = table_[index].*field;
            return S_OK;
        });
    }
    template <class T>
    HRESULT PutField(LONG index, T value, T S1Entry::*field) {
        if (index < 0 || index >= S1Table::kSize) return E_INVALIDARG;
        return Locked([&] {
            table_[index].*field = value;
            return S_OK;
        });
    }
    HRESULT Add(LONG payCode, LONG workType, CY sum, LONG days, LONG hours, const LONG* carSmen, LONG* plResult);
    bool XmlBody();

    S1Table table_;
};

}  // namespace orv
