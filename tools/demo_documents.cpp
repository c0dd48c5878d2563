// Demonstration step: documents of several kinds created, stored, read back
// and shown, and two refusals with the error report a host shows for them.
#include "demo.h"

#include "host/OrvMemoryDatabase.h"

#include <cstdio>

namespace orv::demo {
namespace {

void Documents(Context& ctx) {
    // An advance payment, an outside part-time job, a list of sums and a
    // dismissal, each filled through its record properties.
    {
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
    }

    // Everything read back from the database service.
    ComPtr<IOrvMemoryDatabase> store;
    Must(ctx.db->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(store.GetAddressOf())), "IOrvMemoryDatabase");
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
