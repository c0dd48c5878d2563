// Fakes of the outside components the month classes call, and helpers of the
// month tests: the database service's month source, the employee's place of
// work, the minimum-wage table (a dated option), the configuration object,
// and builders of traces, trace lists and months.
#pragma once

#include "host/OrvMessageService.h"
#include "host/OrvUnknownList.h"
#include "host/registration.h"
#include "month/OrvMTrace.h"
#include "month/OrvMonth.h"
#include "month/OrvMonthList.h"
#include "support/stubs.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace monthtest {

using orv::Bstr;
using orv::ComPtr;

inline constexpr CLSID CLSID_FakeMonthSource = {0x7E1A1601, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 16}};
inline constexpr CLSID CLSID_FakeEmployee = {0x7E1A1602, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 16}};
inline constexpr CLSID CLSID_FakeWageTable = {0x7E1A1603, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 16}};
inline constexpr CLSID CLSID_FakeConfig = {0x7E1A1604, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 16}};

inline CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}
// An amount in whole hundredths (kopecks) as a currency.
inline CY Kop(LONGLONG hundredths) { return Cy(hundredths * 100); }

// Automation date of a calendar day.
inline DATE Day(WORD year, WORD month, WORD day) {
    SYSTEMTIME st{};
    st.wYear = year, st.wMonth = month, st.wDay = day;
    DATE d = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &d));
    return d;
}

// The database service's month source: answers GetMonths with the months
// whose date lies in the window asked (to 0: no end), in the order held, and
// records every window asked.
class FakeMonthSource
    : public orv::CoClass<FakeMonthSource, &CLSID_FakeMonthSource, orv::Stubbed<IOrvMonthSource>, IDispatch> {
public:
    std::vector<ComPtr<IOrvMonth>> months;
    struct Ask {
        LONG pipe;
        IUnknown* employee;
        DATE from, to;
    };
    std::vector<Ask> asked;
    HRESULT failWith = S_OK;
    bool answerNull = false;
    IUnknown* extra = nullptr;  // appended to every answer when set (not counted)

    HRESULT GetMonths(LONG pipe, IUnknown* employee, DATE from, DATE to, IUnknown** list) override {
        asked.push_back({pipe, employee, from, to});
        *list = nullptr;
        if (FAILED(failWith)) return failWith;
        if (answerNull) return S_OK;
        ComPtr<IOrvUnknownList> out;
        EXPECT_EQ(orv::CreateObject<orv::host::OrvUnknownList>(&out), S_OK);
        for (const auto& m : months) {
            DATE d = 0;
            m->get_MonthDate(&d);
            if (d >= from && (to == 0.0 || d <= to)) out->Add(m.Get());
        }
        if (extra) out->Add(extra);
        return out->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(list));
    }
};

// The employee: its place of work on a date.
class FakeEmployee : public orv::CoClass<FakeEmployee, &CLSID_FakeEmployee, orv::Stubbed<IOrvEmployeeJob>> {
public:
    LONG dep = 0, position = 0, grade = 0;
    HRESULT failWith = S_OK;
    std::vector<std::pair<LONG, DATE>> asked;  // pipe and date
    HRESULT GetDepAndPosition(LONG pipe, DATE date, LONG* d, LONG* p, LONG* g) override {
        asked.emplace_back(pipe, date);
        if (FAILED(failWith)) {
            *d = 99;  // a failing employee may leave anything behind
            return failWith;
        }
        *d = dep, *p = position, *g = grade;
        return S_OK;
    }
};

// The minimum-wage table: a value per date (the latest entry on or before
// the date), answered as a currency variant; 0 before the first entry.
class FakeWageTable
    : public orv::CoClass<FakeWageTable, &CLSID_FakeWageTable, orv::Stubbed<IOrvDatedOption>, IDispatch> {
public:
    std::map<DATE, LONGLONG> wages;  // from date -> raw currency
    VARTYPE answerType = VT_CY;
    HRESULT failWith = S_OK;
    std::vector<DATE> asked;
    HRESULT get_Value(DATE date, VARIANT* out) override {
        asked.push_back(date);
        if (FAILED(failWith)) return failWith;
        LONGLONG value = 0;
        for (const auto& [from, wage] : wages)
            if (from <= date) value = wage;
        VariantInit(out);
        out->vt = answerType;
        if (answerType == VT_BSTR) {
            out->bstrVal = SysAllocString(u"100");
        } else {
            out->cyVal.int64 = value;
        }
        return S_OK;
    }
};

// The configuration object: one minimum wage for every date.
class FakeConfig : public orv::CoClass<FakeConfig, &CLSID_FakeConfig, orv::Stubbed<IOrvConfig>, IDispatch> {
public:
    LONGLONG wage = 0;
    std::vector<DATE> asked;
    HRESULT get_MinimumWage(DATE date, CY* out) override {
        asked.push_back(date);
        out->int64 = wage;
        return S_OK;
    }
};

// A fake object of class T with direct access to it.
template <class T>
struct Fake {
    ComPtr<IUnknown> unknown;
    T* object = nullptr;
    Fake() { EXPECT_EQ(orv::CreateObjectWithAccess<T>(&unknown, &object), S_OK); }
    T* operator->() const { return object; }
};

inline ComPtr<IOrvMTrace> NewTrace(LONG code = 0) {
    ComPtr<IOrvMTrace> t;
    EXPECT_EQ(orv::CreateObject<orv::OrvMTrace>(&t), S_OK);
    if (code) {
        EXPECT_EQ(t->put_T0(code), S_OK);
    }
    return t;
}

inline ComPtr<IOrvUnknownList> NewList() {
    ComPtr<IOrvUnknownList> l;
    EXPECT_EQ(orv::CreateObject<orv::host::OrvUnknownList>(&l), S_OK);
    return l;
}

inline ComPtr<IOrvMonth> NewMonth() {
    ComPtr<IOrvMonth> m;
    EXPECT_EQ(orv::CreateObject<orv::OrvMonth>(&m), S_OK);
    return m;
}

template <class I>
inline ComPtr<I> As(IUnknown* p) {
    ComPtr<I> out;
    EXPECT_EQ(p->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(out.GetAddressOf())), S_OK);
    return out;
}

// The traces of a list, in order.
inline std::vector<ComPtr<IOrvMTrace>> TracesOf(IOrvUnknownList* list) {
    std::vector<ComPtr<IOrvMTrace>> out;
    list->Reset();
    for (;;) {
        ComPtr<IUnknown> item;
        list->Next(item.GetAddressOf());
        if (!item) break;
        out.push_back(As<IOrvMTrace>(item.Get()));
    }
    return out;
}

inline LONG T0Of(IOrvMTrace* t) {
    LONG v = 0;
    EXPECT_EQ(t->get_T0(&v), S_OK);
    return v;
}
inline LONG ConditionOf(IOrvMTrace* t) {
    LONG v = 0;
    EXPECT_EQ(t->get_RecordCondition(&v), S_OK);
    return v;
}
inline LONGLONG SumOf(IOrvMTrace* t, LONG slot) {
    CY v{};
    EXPECT_EQ(t->get_Sum(slot, &v), S_OK);
    return v.int64;
}

template <std::size_t N>
using Bytes = std::array<unsigned char, N>;

template <std::size_t N>
inline Bstr RecordBstr(const Bytes<N>& bytes) {
    return Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(bytes.data()), N));
}
template <std::size_t N>
inline Bytes<N> BytesOf(BSTR s) {
    Bytes<N> out{};
    EXPECT_EQ(SysStringByteLen(s), N);
    if (SysStringByteLen(s) >= N) std::memcpy(out.data(), s, N);
    return out;
}
template <std::size_t N>
inline Bytes<N> PatternBytes(unsigned seed) {
    Bytes<N> b{};
    for (std::size_t i = 0; i < N; ++i) b[i] = static_cast<unsigned char>((i * 37 + seed * 11 + 5) & 0xFF);
    return b;
}

inline std::u16string Text(BSTR s) { return s ? std::u16string(s, SysStringLen(s)) : std::u16string(); }

// The error information of the calling thread (taken, so it is cleared).
struct ErrorReport {
    bool present = false;
    std::u16string description;
    GUID guid{};
};
inline ErrorReport TakeErrorInfo() {
    ErrorReport r;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return r;
    r.present = true;
    Bstr d;
    info->GetDescription(d.ReleaseAndGetAddressOf());
    info->GetGUID(&r.guid);
    r.description = Text(d);
    return r;
}

// The host components registered, with the messages kept in memory.
class HostEnvironment {
public:
    HostEnvironment() {
        EXPECT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK);
        previous_ = orv::host::SetMessageSink(messages_);
    }
    ~HostEnvironment() {
        orv::host::SetMessageSink(previous_);
        registration_.Revoke();
    }
    std::vector<std::u16string> Messages() const { return messages_->Messages(); }

private:
    orv::host::Registration registration_;
    std::shared_ptr<orv::host::MemoryMessageSink> messages_ = std::make_shared<orv::host::MemoryMessageSink>();
    std::shared_ptr<orv::host::MessageSink> previous_;
};
}  // namespace monthtest
