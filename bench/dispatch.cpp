// A property read by name against the same read through the vtable, on the
// host's reference item: the dispatch identifier is looked up once, then each
// read is one IDispatch::Invoke. The ratio of the two is the cost of late binding.
#include <orvdocs/orvdocs.h>

#include "host/registration.h"

#include <benchmark/benchmark.h>

namespace {

struct Item {
    orv::ComPtr<IOrvRefItem> item;
    Item() {
        orv::host::CreateRefItem(nullptr, IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf()));
        item->put_Kind(4);
        orv::Bstr name(u"Тверь");
        item->put_Name(name);
    }
    DISPID Id(const char16_t* name) {
        DISPID id = DISPID_UNKNOWN;
        orv::GetDispId(item.Get(), name, &id);
        return id;
    }
};

void VtableGetLong(benchmark::State& state) {
    Item obj;
    LONG v = 0;
    for (auto _ : state) {
        obj.item->get_Kind(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(VtableGetLong);

void DispatchGetLong(benchmark::State& state) {
    Item obj;
    const DISPID id = obj.Id(u"Kind");
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    for (auto _ : state) {
        obj.item->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        benchmark::DoNotOptimize(result.lVal);
    }
}
BENCHMARK(DispatchGetLong);

// With the name looked up on every call, as a naive script host does.
void DispatchGetLongByNameEachTime(benchmark::State& state) {
    Item obj;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    for (auto _ : state) {
        LPOLESTR name = const_cast<LPOLESTR>(u"Kind");
        DISPID id = DISPID_UNKNOWN;
        obj.item->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
        obj.item->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        benchmark::DoNotOptimize(result.lVal);
    }
}
BENCHMARK(DispatchGetLongByNameEachTime);

void VtableGetString(benchmark::State& state) {
    Item obj;
    for (auto _ : state) {
        BSTR s = nullptr;
        obj.item->get_Name(&s);
        benchmark::DoNotOptimize(s);
        SysFreeString(s);
    }
}
BENCHMARK(VtableGetString);

void DispatchGetString(benchmark::State& state) {
    Item obj;
    const DISPID id = obj.Id(u"Name");
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    for (auto _ : state) {
        VARIANT result;
        VariantInit(&result);
        obj.item->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        benchmark::DoNotOptimize(result.bstrVal);
        VariantClear(&result);
    }
}
BENCHMARK(DispatchGetString);

// A put whose value needs a conversion (text to a 16-bit integer).
void DispatchPutConverted(benchmark::State& state) {
    Item obj;
    const DISPID id = obj.Id(u"Flag1");
    orv::Variant value(std::u16string_view(u"7"));
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    for (auto _ : state) {
        HRESULT hr = obj.item->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(hr);
    }
}
BENCHMARK(DispatchPutConverted);

}  // namespace

BENCHMARK_MAIN();
