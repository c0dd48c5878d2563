#include "host/store/DocumentRows.h"

#include "frame/errors.h"
#include "host/OrvSumCollector.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/xmlstring.h>

#include <cstring>

namespace orv::host {

HRESULT ReadDocumentRow(IOrvDocument* doc, bool takeExtension, store::DocumentRow* row, const char16_t** refusal) {
    {
        Bstr record;
        Check(doc->get_DocRecord(record.ReleaseAndGetAddressOf()), IID_IOrvDocument);
        if (record.ByteLength() < row->record.size()) {
            *refusal = u"The document gave a record shorter than 304 bytes";
            return E_UNEXPECTED;
        }
        std::memcpy(row->record.data(), record.Get(), row->record.size());
    }
    if (takeExtension) {
        ComPtr<IOrvDocExtension> extension;
        Check(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(extension.GetAddressOf())),
              IID_IOrvDocument);
        Bstr body;
        Check(extension->get_Length(&row->length), IID_IOrvDocExtension);
        Check(extension->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
        row->body.assign(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
        row->hasBody = !(row->body.empty() && row->length == 0);
    }
    row->collectors.clear();
    Check(doc->ResetSumCollectors(), IID_IOrvDocument);
    for (;;) {
        LONG id = 0;
        ComPtr<IUnknown> held;
        if (Check(doc->NextSumCollector(&id, held.GetAddressOf()), IID_IOrvDocument) != S_OK) break;
        ComPtr<IOrvSumCollector> collector;
        ComPtr<IOrvObjAsXmlString> text;
        if (!held ||
            FAILED(held->QueryInterface(IID_IOrvSumCollector, reinterpret_cast<void**>(collector.GetAddressOf()))) ||
            FAILED(held->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(text.GetAddressOf())))) {
            *refusal = u"A sum collector of the document cannot be copied";
            return E_NOINTERFACE;
        }
        Bstr xml;
        Check(text->get_FullString(xml.ReleaseAndGetAddressOf()), IID_IOrvObjAsXmlString);
        if (!xml.Get()) {
            *refusal = u"A sum collector of the document gave no copy";
            return E_UNEXPECTED;
        }
        row->collectors.push_back({id, xml.Utf8()});
    }
    return S_OK;
}

void FillDocumentExtension(IOrvDocExtension* extension, const store::DocumentRow& row) {
    if (!row.hasBody || (row.body.empty() && row.length == 0)) {
        Check(extension->Clear(), IID_IOrvDocExtension);
        return;
    }
    BSTR body = SysAllocStringByteLen(row.body.data(), static_cast<UINT>(row.body.size()));
    if (!body) throw std::bad_alloc();
    Bstr owned = Bstr::Attach(body);
    Check(extension->put_Body(owned.Get()), IID_IOrvDocExtension);
    Check(extension->put_Length(row.length), IID_IOrvDocExtension);
}

void AttachCollectors(IOrvDocument* doc, const std::vector<store::CollectorRow>& collectors) {
    for (const auto& c : collectors) {
        ComPtr<IOrvObjAsXmlString> made;
        Check(CreateObject<OrvSumCollector>(&made), IID_IOrvSumCollector);
        Check(made->put_FullString(Bstr::FromUtf8(c.xml).Get()), IID_IOrvObjAsXmlString);
        Check(doc->AddSumCollector(c.id, made.Get()), IID_IOrvDocument);
    }
}

}  // namespace orv::host
