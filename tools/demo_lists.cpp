// Demonstration step: an employee's document list filled from the database
// service, the documents of one month picked by the four period tests, the
// list written as XML and read back, and a few personnel answers.
#include "demo.h"

#include "frame/values.h"

#include <cstdio>
#include <string>
#include <vector>

namespace orv::demo {
namespace {

struct Sample {
    LONG type;
    DATE dn, dk;
    const char16_t* memo;
};

std::string Describe(IUnknown* unknown) {
    ComPtr<IOrvDocument> doc;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(doc.GetAddressOf()))))
        return "(not a document)";
    LONG type = 0, id = 0;
    doc->get_lDcType(&type);
    doc->get_lDcId(&id);
    Bstr memo;
    doc->get_Memo(memo.ReleaseAndGetAddressOf());
    char head[64];
    std::snprintf(head, sizeof head, "type %d, id %d: ", static_cast<int>(type), static_cast<int>(id));
    return head + memo.Utf8();
}

void Select(IOrvDocList* list, const char* title, HRESULT (IOrvDocList::*test)(LONG, DATE, DATE, IUnknown**),
            LONG type, DATE from, DATE to) {
    std::printf("  %s:\n", title);
    Must(list->Reset(), "Reset");
    int found = 0;
    for (;;) {
        ComPtr<IUnknown> doc;
        HRESULT hr = Must((list->*test)(type, from, to, doc.GetAddressOf()), title);
        if (hr != S_OK) break;
        std::printf("    %s\n", Describe(doc.Get()).c_str());
        ++found;
    }
    if (!found) std::printf("    none\n");
}

void Lists(Context& ctx) {
    const DATE march = Day(2026, 3, 1), marchEnd = Day(2026, 3, 31);
    const Sample samples[] = {
        {304, Day(2024, 9, 1), Day(2049, 12, 31), u"Трудовой договор, бессрочный"},
        {7, Day(2026, 2, 16), Day(2026, 3, 1), u"Аванс, касается 1 марта"},
        {7, Day(2026, 3, 1), Day(2026, 3, 31), u"Аванс за март"},
        {7, Day(2026, 4, 1), Day(2026, 4, 15), u"Аванс за апрель"},
        {41, Day(2026, 3, 10), Day(2026, 3, 20), u"Инвалидность, вторая группа"},
        {7, Day(2026, 2, 1), Day(2026, 2, 28), u"Аванс за февраль"},
        {27, Day(2026, 1, 1), Day(2026, 12, 31), u"Процент"},
    };

    ComPtr<IOrvDocList> list;
    Must(CoCreateInstance(CLSID_OrvDocList, nullptr, CLSCTX_ALL, IID_IOrvDocList,
                          reinterpret_cast<void**>(list.GetAddressOf())),
         "creating the document list");
    LONG nextId = 9001;
    for (const Sample& s : samples) {
        ComPtr<IOrvDocument> doc = NewDocument(ctx.db, ctx.pipe, s.type);
        doc->put_lDcId(nextId++);
        doc->put_dtDn(s.dn);
        doc->put_dtDk(s.dk);
        doc->put_Memo(Bstr(s.memo));
        if (s.type == 41) doc->put_lDcdpod(2);
        if (s.type == 27) doc->put_lDcProc(13);
        Must(doc->Update(ctx.pipe), "Update");
        LONG result = 0;
        Must(list->AddItem(doc.Get(), &result), "AddItem");
    }
    std::printf("An employee's list of %zu documents; March 2026 by the period tests:\n", std::size(samples));
    Select(list.Get(), "advances meeting March (NextT0InPeriod)", &IOrvDocList::NextT0InPeriod, 7, march, marchEnd);
    Select(list.Get(), "advances inside March (NextT0CoveredByPeriod)", &IOrvDocList::NextT0CoveredByPeriod, 7, march,
           marchEnd);
    Select(list.Get(), "contracts covering March (NextT0CoveringPeriod)", &IOrvDocList::NextT0CoveringPeriod, 304,
           march, marchEnd);
    std::printf("  on 15 March (NextT0OnDate, enumerator):\n");
    ComPtr<IOrvENUMDocuments> en;
    Must(list->QueryInterface(IID_IOrvENUMDocuments, reinterpret_cast<void**>(en.GetAddressOf())), "enumerator");
    for (LONG type : {7L, 41L, 304L}) {
        ComPtr<IUnknown> doc;
        LONG result = 0;
        Must(en->Reset(), "Reset");
        if (Must(en->NextT0OnDate(type, Day(2026, 3, 15), doc.GetAddressOf(), &result), "NextT0OnDate") == S_OK)
            std::printf("    %s\n", Describe(doc.Get()).c_str());
    }

    LONG invalid = 0;
    Must(list->IsInvalidOnDate(Day(2026, 3, 15), &invalid), "IsInvalidOnDate");
    CY percent{};
    Must(list->GetPercentFromDocWithId(9007, &percent), "GetPercentFromDocWithId");
    std::printf("Disability group on 15 March: %d; percentage of document 9007: %s\n", static_cast<int>(invalid),
                Utf16ToUtf8(FormatCurrency(percent).view()).c_str());

    // The list as XML and back.
    ComPtr<IOrvObjAsXmlString> xml;
    Must(list.As(&xml), "IOrvObjAsXmlString");
    Bstr overview, full;
    Must(xml->get_ShortString(overview.ReleaseAndGetAddressOf()), "ShortString");
    Must(xml->get_FullString(full.ReleaseAndGetAddressOf()), "FullString");
    std::printf("Short form: %s\n", overview.Utf8().c_str());
    ComPtr<IOrvDocList> copy;
    Must(CoCreateInstance(CLSID_OrvDocList, nullptr, CLSCTX_ALL, IID_IOrvDocList,
                          reinterpret_cast<void**>(copy.GetAddressOf())),
         "creating the document list");
    ComPtr<IOrvObjAsXmlString> copyXml;
    Must(copy.As(&copyXml), "IOrvObjAsXmlString");
    Must(copyXml->put_FullString(full), "FullString put");
    Bstr again;
    Must(copyXml->get_FullString(again.ReleaseAndGetAddressOf()), "FullString");
    std::printf("Full form: %u characters; read back into a new list and written again: %s\n", full.Length(),
                again.View() == full.View() ? "the same text" : "DIFFERENT");
    // The personnel answers for the store's employee 1: hire dates from the
    // employee component, and the accounts to hide from its stored account
    // list against bank documents (type 10) that are not in force.
    ComPtr<IUnknown> employee;
    Must(ctx.db->GetEmployee(ctx.pipe, 1, employee.GetAddressOf()), "GetEmployee");
    if (employee) {
        DATE hired = 0;
        Must(list->GetFirstEnterDate(employee.Get(), &hired), "GetFirstEnterDate");
        SYSTEMTIME st{};
        VariantTimeToSystemTime(hired, &st);
        std::printf("Employee 1 of the store: first hired %02u.%02u.%04u\n", st.wDay, st.wMonth, st.wYear);
        ComPtr<IOrvDocument> bank = NewDocument(ctx.db, ctx.pipe, 10);
        bank->put_lDcId(nextId++);
        bank->put_dtDn(Day(2025, 1, 1));
        bank->put_dtDk(Day(2026, 2, 28));
        bank->put_lDcdpod(7001);  // the salary card's account
        bank->put_Memo(Bstr(u"Перечисление на карту до марта"));
        Must(bank->Update(ctx.pipe), "Update");
        LONG result = 0;
        Must(list->AddItem(bank.Get(), &result), "AddItem");
        ComPtr<IDispatch> hidden;
        Must(list->GetAccountsToHide(employee.Get(), nullptr, Day(2026, 3, 15), ctx.pipe, hidden.GetAddressOf()),
             "GetAccountsToHide");
        ComPtr<IOrvItemList> accounts;
        Must(hidden.As(&accounts), "IOrvItemList");
        std::printf("  accounts to hide on 15 March (the bank document ended in February):");
        accounts->Reset();
        int shown = 0;
        for (ComPtr<IUnknown> item; accounts->Next(item.ReleaseAndGetAddressOf()) == S_OK && item; ++shown) {
            ComPtr<IOrvRefItem> account;
            LONG id = 0;
            Bstr code;
            if (SUCCEEDED(item.As(&account))) {
                account->get_Id(&id);
                account->get_Code(code.ReleaseAndGetAddressOf());
            }
            std::printf(" %d (%s)", static_cast<int>(id), code.Utf8().c_str());
        }
        std::printf("%s\n", shown ? "" : " none");
    }

    HRESULT refused = copyXml->put_FullString(Bstr(u"<ORVDOCLIST><ORVDOCUMENT"));
    LONG left = 0;
    Must(copy->Reset(), "Reset");
    for (ComPtr<IUnknown> doc; copy->Next2(doc.ReleaseAndGetAddressOf()) == S_OK;) ++left;
    std::printf("A cut text is refused (%s) and the list keeps its %d documents\n", Hex(refused).c_str(),
                static_cast<int>(left));
}

}  // namespace

ORV_DEMO_STEP(20, "document list", Lists);

}  // namespace orv::demo
