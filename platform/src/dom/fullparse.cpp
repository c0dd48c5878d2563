// Documents with a DOCTYPE: read by libxml2, a conforming XML 1.0 processor.
//
// Such a document may declare entities and attribute defaults in its internal
// subset, and its declarations have rules of their own; pugixml knows none of
// this. libxml2 checks the document, expands the internal entities and adds
// the declared default attributes; its tree is written back as text (with the
// DOCTYPE, without entity references) for pugixml to read as usual. Nothing
// external is read: no DTD is loaded and the external entity loader of the
// process is one that refuses, so a reference to an external entity is not
// expanded.
#include "fullparse.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <cstring>
#include <mutex>
#include <new>

namespace orv::dom {

namespace {

xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternal);
    });
}

struct CtxtOwner {
    xmlParserCtxtPtr p = nullptr;
    ~CtxtOwner() {
        if (p) xmlFreeParserCtxt(p);
    }
};
struct DocOwner {
    xmlDocPtr p = nullptr;
    ~DocOwner() {
        if (p) xmlFreeDoc(p);
    }
};
struct BufferOwner {
    xmlBufferPtr p = nullptr;
    ~BufferOwner() {
        if (p) xmlBufferFree(p);
    }
};

void Fill(FullParseError& err, const xmlError* e, const char* fallback) {
    err.reason = e && e->message ? e->message : fallback;
    while (!err.reason.empty() && (err.reason.back() == '\n' || err.reason.back() == ' ')) err.reason.pop_back();
    err.line = e && e->line > 0 ? e->line : 1;
    err.column = e && e->int2 > 0 ? e->int2 : 1;
}

}  // namespace

bool ReadWithDoctype(const char* text, std::size_t size, std::string& out, FullParseError& err) {
    InitOnce();
    CtxtOwner ctxt{xmlNewParserCtxt()};
    if (!ctxt.p) throw std::bad_alloc();
    const int options = XML_PARSE_NOENT | XML_PARSE_DTDATTR | XML_PARSE_NONET | XML_PARSE_NOERROR |
                        XML_PARSE_NOWARNING;
    DocOwner doc{xmlCtxtReadMemory(ctxt.p, text, static_cast<int>(size), nullptr, "UTF-8", options)};
    if (!doc.p || !ctxt.p->wellFormed) {
        Fill(err, xmlCtxtGetLastError(ctxt.p), "The document is not well-formed");
        return false;
    }
    // The declaration as written (libxml2 would write one of its own).
    out.clear();
    if (size >= 5 && std::memcmp(text, "<?xml", 5) == 0) {
        const char* close = static_cast<const char*>(::memmem(text, size, "?>", 2));
        if (close) out.assign(text, static_cast<std::size_t>(close + 2 - text));
    }
    BufferOwner buf{xmlBufferCreate()};
    if (!buf.p) throw std::bad_alloc();
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buf.p, "UTF-8", XML_SAVE_NO_DECL | XML_SAVE_AS_XML);
    if (!save) throw std::bad_alloc();
    const long written = xmlSaveDoc(save, doc.p);
    xmlSaveClose(save);
    if (written < 0) {
        Fill(err, nullptr, "The document could not be expanded");
        return false;
    }
    out.append(reinterpret_cast<const char*>(xmlBufferContent(buf.p)), static_cast<std::size_t>(xmlBufferLength(buf.p)));
    return true;
}

}  // namespace orv::dom
