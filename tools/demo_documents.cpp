// Demonstration step: documents of several kinds created, stored, read back
// and shown, and two refusals with the error report a host shows for them.
// The store is a file: the first run creates the documents; a later run finds
// them, reads them back and changes one, whose earlier versions the store
// keeps.
#include "demo.h"

#include "host/OrvMemoryDatabase.h"

#include <cstdio>

namespace orv::demo {
namespace {

// The documents of a type stored so far.
LONG CountOfType(Context& ctx, LONG type) {
    ComPtr<IUnknown> unknown;
    Must(ctx.db->GetDocuments(ctx.pipe, nullptr, type, 0, 0, unknown.GetAddressOf()), "GetDocuments");
    ComPtr<IOrvUnknownList> list;
    Must(unknown.As(&list), "IOrvUnknownList");
    LONG n = 0;
    list->get_Count(&n);
    return n;
}

void CreateDocuments(Context& ctx) {
    // An advance payment, an outside part-time job, a list of sums and a
    // dismissal, each filled through its record properties.
    auto advance = NewDocument(ctx.db, ctx.pipe, 7);
    advance->put_dtDn(Day(2026, 11, 1));
    advance->put_dtDk(Day(2026, 11, 30));
    advance->put_Dcsum1(Money(15000.50));
    advance->put_Memo(Bstr(u"Аванс за ноябрь"));
    Must(advance->Update(ctx.pipe), "Update");

    auto job = NewDocument(ctx.db, ctx.pipe, 71);
    job->put_lDcProc(101);
    Must(job->Update(ctx.pipe), "Update");

    auto sums = NewDocument(ctx.db, ctx.pipe, 359);
    sums->put_Dcsum1(Money(1.00));
    sums->put_DcSum3(Money(2.50));
    Must(sums->Update(ctx.pipe), "Update");

    auto dismissal = NewDocument(ctx.db, ctx.pipe, 93);
    dismissal->put_dtDn(Day(2026, 12, 1));
    Must(dismissal->Update(ctx.pipe), "Update");

    // A kind that keeps its data in the extension: recipient and address.
    auto recipient = NewDocument(ctx.db, ctx.pipe, 332);
    ComPtr<IUnknown> specific;
    Must(recipient->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
    ComPtr<IOrvZZDoc> zz;
    Must(specific.As(&zz), "IOrvZZDoc");
    zz->put_Recipient(Bstr(u"Петрова Анна Сергеевна"));
    zz->put_AddressString(Bstr(u"г. Екатеринбург, ул. Ленина, 5"));
    Must(zz->UpdateExtension(), "UpdateExtension");
    Must(recipient->Update(ctx.pipe), "Update");
    std::printf("5 documents created and stored\n");
}

// A later run: the advance of the first run gets one more payment line in
// its sum, stored as a change; the store keeps the version it replaces.
void ChangeAdvance(Context& ctx, IOrvMemoryDatabase* store) {
    ComPtr<IUnknown> unknown;
    Must(ctx.db->GetDocuments(ctx.pipe, nullptr, 7, Day(2026, 11, 1), Day(2026, 11, 30), unknown.GetAddressOf()),
         "GetDocuments");
    ComPtr<IOrvUnknownList> list;
    Must(unknown.As(&list), "IOrvUnknownList");
    ComPtr<IUnknown> first;
    if (list->Next(first.GetAddressOf()) != S_OK || !first) return;
    ComPtr<IOrvDocument> advance;
    Must(first.As(&advance), "IOrvDocument");
    CY sum{};
    advance->get_Dcsum1(&sum);
    sum.int64 += 1000000;  // 100.00 more
    advance->put_Dcsum1(sum);
    advance->put_RecordCondition(2);
    Must(advance->Update(ctx.pipe), "Update");
    ULONG address = 0, stamp = 0;
    advance->get_DB_ADDR(&address);
    advance->get_TimeStamp(&stamp);
    LONG versions = 0;
    store->GetVersionCount(address, &versions);
    std::printf("the advance (document %u) changed to %.2f, time stamp %u; %d earlier versions kept:\n", address,
                static_cast<double>(sum.int64) / 10000.0, stamp, versions);
    for (LONG i = 0; i < versions; ++i) {
        ULONG was = 0;
        DATE when = 0;
        LONG pid = 0;
        Bstr user, operation;
        store->GetVersion(address, i, &was, &when, user.ReleaseAndGetAddressOf(), &pid,
                          operation.ReleaseAndGetAddressOf(), nullptr);
        SYSTEMTIME st{};
        VariantTimeToSystemTime(when, &st);
        std::printf("  time stamp %u replaced (%s) %04u-%02u-%02u %02u:%02u UTC by %s, process %d\n", was,
                    operation.Utf8().c_str(), st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, user.Utf8().c_str(),
                    pid);
    }
}

void Documents(Context& ctx) {
    ComPtr<IOrvMemoryDatabase> store;
    Must(ctx.db->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(store.GetAddressOf())), "IOrvMemoryDatabase");
    // The recipient document (type 332) is made only here: finding one means
    // an earlier run stored this step's documents.
    if (CountOfType(ctx, 332) == 0)
        CreateDocuments(ctx);
    else
        ChangeAdvance(ctx, store.Get());

    // Everything read back from the database service.
    LONG count = 0;
    store->get_DocumentCount(&count);
    std::printf("%d documents stored; read back:\n", count);
    for (LONG i = 0; i < count; ++i) {
        ULONG address = 0;
        Must(store->GetAddress(i, &address), "GetAddress");
        ComPtr<IUnknown> unknown;
        Must(ctx.db->GetDocument(ctx.pipe, static_cast<LONG>(address), unknown.GetAddressOf()), "GetDocument");
        ComPtr<IOrvDocument> doc;
        Must(unknown.As(&doc), "IOrvDocument");
        LONG result = 0;
        Must(doc->InitInnerDocExtension(ctx.pipe, &result), "InitInnerDocExtension");
        Show(doc.Get());
        LONG type = 0;
        doc->get_lDcType(&type);
        if (type == 332) {
            ComPtr<IUnknown> specific;
            ComPtr<IOrvZZDoc> zz;
            if (SUCCEEDED(doc->GetSpecificObj(specific.GetAddressOf())) && SUCCEEDED(specific.As(&zz)) &&
                SUCCEEDED(zz->InitFromExtension())) {
                Bstr who;
                zz->get_Recipient(who.ReleaseAndGetAddressOf());
                std::printf("  recipient from the extension: %s\n", who.Utf8().c_str());
            }
        }
    }

    // Refusals and the error report a host shows for them; the host's message
    // service writes the messages that go to the user on standard error.
    std::printf("\n");
    {
        ComPtr<IOrvDocument> loose;
        Must(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                              reinterpret_cast<void**>(loose.GetAddressOf())),
             "creating a document");
        ComPtr<IUnknown> none;
        HRESULT hr = loose->get_OrvBD(none.GetAddressOf());
        ShowErrorReport("asking a document without a database service for it", hr);
        loose->put_lDcType(7);
        hr = loose->put_lDcType(71);
        ShowErrorReport("changing a document's type", hr);
    }
}

ORV_DEMO_STEP(10, "documents", Documents);

}  // namespace
}  // namespace orv::demo
