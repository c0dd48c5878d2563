// The orvdocs tool's subcommands on a store: init, import, export, list,
// show, history, restore, and the ones without a store: convert, register.
#include "cli.h"
#include "json.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <unistd.h>

namespace orv::cli {

namespace {

const std::string& NeedWord(const Args& a, std::size_t i, const char* what) {
    if (a.words.size() <= i) throw Usage{std::string(Tr("missing ", "не указано: ")) + what};
    return a.words[i];
}

void NoMoreWords(const Args& a, std::size_t n) {
    if (a.words.size() > n) throw Usage{std::string(Tr("unexpected argument: ", "лишний аргумент: ")) + a.words[n]};
}

// The documents of a store the service selects (employee, type, period), in
// address order.
std::vector<ComPtr<IOrvDocument>> Select(const Store& store, IUnknown* employee, LONG type, DATE from, DATE to) {
    ComPtr<IUnknown> unknown;
    Check(store.Db()->GetDocuments(store.Pipe(), employee, type, from, to, unknown.GetAddressOf()),
          Tr("reading the documents", "чтение документов"));
    ComPtr<IOrvUnknownList> list;
    Check(unknown.As(&list), "IOrvUnknownList");
    std::vector<ComPtr<IOrvDocument>> out;
    list->Reset();
    for (;;) {
        ComPtr<IUnknown> item;
        if (list->Next(item.GetAddressOf()) != S_OK || !item) break;
        ComPtr<IOrvDocument> doc;
        if (SUCCEEDED(item.As(&doc))) out.push_back(doc);
    }
    return out;
}

// The text of a file as the store's text form: a store text as it is; a
// document or a document list wrapped in one.
std::string AsStoreText(const std::string& text) {
    pugi::xml_document dom;
    if (!dom.load_buffer(text.data(), text.size())) return text;  // the service names the fault
    const pugi::xml_node root = dom.document_element();
    const std::string name = root.name();
    if (name == "ORVSTORE") return text;
    pugi::xml_document out;
    pugi::xml_node store = out.append_child("ORVSTORE");
    if (name == "ORVDOCUMENT") {
        store.append_copy(root);
    } else if (name == "ORVDOCLIST") {
        for (pugi::xml_node doc : root.children("ORVDOCUMENT")) store.append_copy(doc);
    } else {
        throw Refused{std::string(Tr("not a store, document or document list: <", "это не хранилище, документ или список документов: <")) + name + ">", E_INVALIDARG};
    }
    std::ostringstream s;
    out.save(s, "", pugi::format_raw);
    return s.str();
}

// A progress bar on standard error when it is a terminal.
class Progress {
public:
    explicit Progress(std::size_t total) : total_(total), on_(isatty(2) && total > 1) {}
    void Step(std::size_t done, const std::string& what) {
        if (!on_) return;
        const int width = 30;
        const int filled = static_cast<int>(done * width / total_);
        std::fprintf(stderr, "\r[%s%s] %zu/%zu %-40.40s", std::string(filled, '#').c_str(),
                     std::string(width - filled, ' ').c_str(), done, total_, what.c_str());
        if (done == total_) std::fprintf(stderr, "\n");
        std::fflush(stderr);
    }

private:
    std::size_t total_;
    bool on_;
};

LONG DocType(IOrvDocument* d) {
    LONG t = 0;
    d->get_lDcType(&t);
    return t;
}
ULONG DocAddress(IOrvDocument* d) {
    ULONG a = 0;
    d->get_DB_ADDR(&a);
    return a;
}

void PrintProperties(const std::vector<Property>& props, const char* indent) {
    std::size_t width = 0;
    for (const auto& p : props) width = std::max(width, p.name.size());
    for (const auto& p : props)
        std::printf("%s%-*s  %s\n", indent, static_cast<int>(width), p.name.c_str(), p.text.c_str());
}

std::string JsonObject(const std::vector<Property>& props) {
    std::string s = "{";
    for (std::size_t i = 0; i < props.size(); ++i)
        s += (i ? ", " : "") + JsonString(props[i].name) + ": " + props[i].json;
    return s + "}";
}

}  // namespace

int Init(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    NoMoreWords(a, 1);
    if (std::filesystem::exists(path))
        throw Refused{std::string(Tr("the file exists already: ", "файл уже есть: ")) + path};
    Runtime rt;
    Store store(path, true);
    std::printf("%s %s\n", Tr("store created:", "хранилище создано:"), path.c_str());
    return 0;
}

int Import(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    if (a.words.size() < 2) throw Usage{Tr("missing the files to import", "не указаны файлы для загрузки")};
    std::vector<std::string> texts;
    for (std::size_t i = 1; i < a.words.size(); ++i) texts.push_back(AsStoreText(ReadFile(a.words[i])));
    Runtime rt;
    Store store(path, false);
    LONG before = 0, after = 0;
    store.View()->get_DocumentCount(&before);
    // One transaction for all files: a file refused leaves the store as it was.
    Check(store.Db()->BeginTransaction(store.Pipe()), "BeginTransaction");
    Progress progress(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const HRESULT hr = store.View()->ImportText(Bstr::FromUtf8(texts[i]));
        if (FAILED(hr)) {
            const std::string text = store.LastError();
            store.Db()->RollbackTransaction(store.Pipe());
            throw Refused{a.words[i + 1] + ": " + text, hr};
        }
        progress.Step(i + 1, a.words[i + 1]);
    }
    Check(store.Db()->CommitTransaction(store.Pipe()), "CommitTransaction");
    store.View()->get_DocumentCount(&after);
    std::printf(Tr("%zu file(s) imported; the store holds %d documents (%+d)\n",
                   "загружено файлов: %zu; в хранилище документов: %d (%+d)\n"),
                texts.size(), after, after - before);
    return 0;
}

int Export(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    NoMoreWords(a, 1);
    const bool filtered = a.Has("employee") || a.Has("type") || a.Has("from") || a.Has("to");
    const LONG type = a.Has("type") ? ParseLong(a.Get("type"), Tr("not a type", "это не тип")) : 0;
    const DATE from = a.Has("from") ? ParseDate(a.Get("from")) : 0;
    const DATE to = a.Has("to") ? ParseDate(a.Get("to")) : 0;
    Runtime rt;
    Store store(path, false);
    Bstr text;
    Check(store.View()->ExportText(text.ReleaseAndGetAddressOf()), Tr("exporting", "выгрузка"));
    std::string out = text.Utf8();
    if (filtered) {
        // The store's text form limited to the selected documents (and, with
        // --employee, to that employee); reference data stays, so the result
        // loads into another store as it is.
        ComPtr<IUnknown> employee;
        LONG employeeId = 0;
        if (a.Has("employee")) {
            employee = store.Employee(a.Get("employee"));
            ComPtr<IOrvEmployee> who;
            if (SUCCEEDED(employee.As(&who))) who->get_Id(&employeeId);
        }
        std::set<ULONG> keep;
        for (const auto& d : Select(store, employee.Get(), type, from, to)) keep.insert(DocAddress(d.Get()));
        pugi::xml_document dom;
        if (!dom.load_buffer(out.data(), out.size())) throw Refused{Tr("the export does not parse", "выгрузка не разбирается")};
        pugi::xml_node root = dom.document_element();
        std::vector<pugi::xml_node> drop;
        for (pugi::xml_node n : root.children()) {
            const std::string name = n.name();
            if (name == "EMPLOYEE") {
                if (a.Has("employee") && n.attribute("ID").as_int() != employeeId) {
                    drop.push_back(n);
                    continue;
                }
                for (pugi::xml_node d : n.children("ORVDOCUMENT"))
                    if (!keep.count(d.attribute("DBK").as_uint())) drop.push_back(d);
            } else if (name == "ORVDOCUMENT" && !keep.count(n.attribute("DBK").as_uint())) {
                drop.push_back(n);
            }
        }
        for (auto& n : drop) n.parent().remove_child(n);
        std::ostringstream s;
        dom.save(s, "  ", pugi::format_default);
        out = s.str();
    }
    if (a.Has("output")) {
        std::FILE* f = std::fopen(a.Get("output").c_str(), "wb");
        if (!f) throw Refused{std::string(Tr("cannot write ", "не записывается файл ")) + a.Get("output")};
        std::fwrite(out.data(), 1, out.size(), f);
        std::fclose(f);
    } else {
        std::fwrite(out.data(), 1, out.size(), stdout);
        if (!out.empty() && out.back() != '\n') std::printf("\n");
    }
    return 0;
}

int List(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    NoMoreWords(a, 1);
    if (!a.Has("employee")) throw Usage{Tr("missing --employee", "не указан --employee")};
    const LONG type = a.Has("type") ? ParseLong(a.Get("type"), Tr("not a type", "это не тип")) : 0;
    DATE first = 0, last = 0;
    if (a.Has("month")) ParseMonth(a.Get("month"), &first, &last);
    Runtime rt;
    Store store(path, false);
    ComPtr<IUnknown> employee = store.Employee(a.Get("employee"));
    const auto all = Select(store, employee.Get(), 0, 0, 0);

    // The employee's documents go into a document list; its cursor picks
    // them: by type and month with the list's own period test (the document's
    // period meets the month), else every entry of the type.
    ComPtr<IOrvDocList> list;
    Check(CoCreateInstance(CLSID_OrvDocList, nullptr, CLSCTX_ALL, IID_IOrvDocList, reinterpret_cast<void**>(list.GetAddressOf())),
          "OrvDocList");
    std::set<LONG> types;
    for (const auto& d : all) {
        LONG r = 0;
        Check(list->AddItem(d.Get(), &r), "AddItem");
        types.insert(DocType(d.Get()));
    }
    if (type) types = {type};
    std::vector<ComPtr<IOrvDocument>> chosen;
    for (LONG t : types) {
        Check(list->Reset(), "Reset");
        for (;;) {
            ComPtr<IUnknown> item;
            HRESULT hr;
            if (a.Has("month")) {
                hr = list->NextT0InPeriod(t, first, last, item.GetAddressOf());
            } else {
                LONG r = 0;
                hr = list->Next(item.GetAddressOf(), &r);
            }
            Check(hr, "NextT0InPeriod");
            if (hr != S_OK || !item) break;
            ComPtr<IOrvDocument> doc;
            if (FAILED(item.As(&doc))) continue;
            if (!a.Has("month") && type && DocType(doc.Get()) != type && !(type == 1 || type == 48)) continue;
            chosen.push_back(doc);
        }
        if (!a.Has("month")) break;  // the plain walk saw every entry once
    }
    if (!a.Has("month") && type) {
        // Types 1 and 48 are one family for the cursor's type tests; the plain walk keeps them together too.
        std::erase_if(chosen, [&](const ComPtr<IOrvDocument>& d) {
            const LONG t = DocType(d.Get());
            return !(t == type || ((type == 1 || type == 48) && (t == 1 || t == 48)));
        });
    }
    std::sort(chosen.begin(), chosen.end(), [](const auto& x, const auto& y) { return DocAddress(x.Get()) < DocAddress(y.Get()); });
    chosen.erase(std::unique(chosen.begin(), chosen.end(), [](const auto& x, const auto& y) { return DocAddress(x.Get()) == DocAddress(y.Get()); }),
                 chosen.end());

    struct Row {
        ULONG id;
        LONG type;
        std::string from, to, text;
    };
    std::vector<Row> rows;
    for (const auto& d : chosen) {
        DATE dn = 0, dk = 0;
        d->get_dtDn(&dn);
        d->get_dtDk(&dk);
        Bstr text;
        d->get_DisplayString(text.ReleaseAndGetAddressOf());
        rows.push_back({DocAddress(d.Get()), DocType(d.Get()), DateText(dn), DateText(dk), text.Utf8()});
    }
    if (a.Has("json")) {
        std::printf("[");
        for (std::size_t i = 0; i < rows.size(); ++i)
            std::printf("%s\n  {\"id\": %u, \"type\": %d, \"from\": %s, \"to\": %s, \"text\": %s}", i ? "," : "", rows[i].id,
                        rows[i].type, JsonString(rows[i].from).c_str(), JsonString(rows[i].to).c_str(),
                        JsonString(rows[i].text).c_str());
        std::printf("%s]\n", rows.empty() ? "" : "\n");
        return 0;
    }
    std::printf("%8s  %5s  %-10s  %-10s  %s\n", Tr("ID", "ИД"), Tr("type", "тип"), Tr("from", "с"), Tr("to", "по"),
                Tr("text", "текст"));
    for (const auto& r : rows)
        std::printf("%8u  %5d  %-10s  %-10s  %s\n", r.id, r.type, r.from.c_str(), r.to.c_str(), r.text.c_str());
    std::printf(Tr("%zu document(s)\n", "документов: %zu\n"), rows.size());
    return 0;
}

namespace {

// A document's extension body as bytes and its length; present is false
// when the document has no body.
struct ExtensionBytes {
    bool present = false;
    std::string bytes;
    LONG length = 0;
};

ExtensionBytes ExtensionOf(IOrvDocument* doc) {
    ExtensionBytes out;
    ComPtr<IOrvDocExtension> ext;
    if (FAILED(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())))) return out;
    Bstr body;
    if (FAILED(ext->get_Body(body.ReleaseAndGetAddressOf())) || !body.Get()) return out;
    out.bytes.assign(reinterpret_cast<const char*>(body.Get()), SysStringByteLen(body.Get()));
    ext->get_Length(&out.length);
    // As the store takes it: an empty body of length 0 is no body.
    out.present = !(out.bytes.empty() && out.length == 0);
    return out;
}

void PrintDocument(IOrvDocument* doc, bool json, bool withRecord) {
    const DocumentView v = ViewDocument(doc);
    const std::string record = RecordHex(doc);
    Bstr display;
    doc->get_DisplayString(display.ReleaseAndGetAddressOf());
    if (json) {
        std::printf("{\n  \"id\": %u,\n  \"type\": %d,\n  \"text\": %s,\n  \"record\": %s", DocAddress(doc), DocType(doc),
                    JsonString(display.Utf8()).c_str(), JsonString(record).c_str());
        // The extension body byte for byte, so that convert --from json
        // gives back the whole document.
        const ExtensionBytes body = ExtensionOf(doc);
        if (body.present)
            std::printf(",\n  \"body\": %s,\n  \"length\": %d",
                        JsonString(HexText(reinterpret_cast<const unsigned char*>(body.bytes.data()), body.bytes.size())).c_str(),
                        body.length);
        std::printf(",\n  \"fields\": %s", JsonObject(v.fields).c_str());
        if (!v.extensionName.empty())
            std::printf(",\n  \"extension\": {\"interface\": %s, \"properties\": %s}", JsonString(v.extensionName).c_str(),
                        JsonObject(v.extension).c_str());
        for (const auto& part : v.parts)
            std::printf(",\n  %s: %s", JsonString(part.first).c_str(), JsonObject(part.second).c_str());
        std::printf("\n}\n");
        return;
    }
    std::printf("%s %u, %s %d: %s\n", Tr("document", "документ"), DocAddress(doc), Tr("type", "тип"), DocType(doc),
                display.Utf8().c_str());
    std::printf("%s\n", Tr("record:", "запись:"));
    PrintProperties(v.fields, "  ");
    if (!v.extensionName.empty()) {
        std::printf("%s %s:\n", Tr("extension", "расширение"), v.extensionName.c_str());
        PrintProperties(v.extension, "  ");
    }
    for (const auto& part : v.parts) {
        std::printf("%s:\n", part.first.c_str());
        PrintProperties(part.second, "  ");
    }
    if (withRecord) std::printf("%s %s\n", Tr("record (hex):", "запись (hex):"), record.c_str());
}

}  // namespace

int Show(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    const LONG id = ParseLong(NeedWord(a, 1, Tr("the document's identifier", "идентификатор документа")),
                              Tr("not a document identifier", "это не идентификатор документа"));
    NoMoreWords(a, 2);
    Runtime rt;
    Store store(path, false);
    ComPtr<IOrvDocument> doc = store.Document(id);
    LONG result = 0;
    doc->InitInnerDocExtension(store.Pipe(), &result);
    PrintDocument(doc.Get(), a.Has("json"), true);
    return 0;
}

namespace {

// Hex digits into bytes; Refused when a character is not a digit or a
// digit has no pair.
std::string DecodeHex(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) digits += c;
    if (digits.size() % 2)
        throw Refused{Tr("a hex record needs two digits per byte", "в hex-записи нужно по две цифры на байт"), E_INVALIDARG};
    std::string bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        auto value = [&](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            throw Refused{std::string(Tr("not a hex digit: ", "это не шестнадцатеричная цифра: ")) + c, E_INVALIDARG};
        };
        bytes += static_cast<char>(value(digits[i]) * 16 + value(digits[i + 1]));
    }
    return bytes;
}

}  // namespace

namespace {

// The document form --to json writes, read back into a document object: the
// record, the extension body and length when given, and the identifier,
// time stamp and condition from the fields (they are not part of the record).
// Everything else in the text is what these determine and is not read.
void ReadJsonDocument(const std::string& input, IOrvDocument* doc) {
    json::Value root;
    try {
        root = json::Parse(input);
    } catch (const json::SyntaxError& e) {
        throw Refused{std::string(Tr("malformed JSON", "JSON с ошибкой")) + " (" + Tr("line", "строка") + " " +
                      std::to_string(e.line) + ", " + Tr("column", "столбец") + " " + std::to_string(e.column) + ", " +
                      Tr("offset", "смещение") + " " + std::to_string(e.offset) + "): " + e.what()};
    }
    auto refuse = [](const std::string& what) {
        throw Refused{std::string(Tr("not a document in JSON: ", "это не документ в JSON: ")) + what};
    };
    if (root.kind != json::Value::Kind::Object) refuse(Tr("the text is no object", "текст не объект"));
    const json::Value* record = root.Find("record");
    if (!record || record->kind != json::Value::Kind::String) refuse(Tr("\"record\" missing", "нет \"record\""));
    const std::string bytes = DecodeHex(record->text);
    Bstr recordBytes = Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
    Check(doc->put_DocRecord(recordBytes.Get()), Tr("the record is refused", "запись отвергнута"));

    // A whole number member, refused when it is something else.
    auto whole = [&](const json::Value* v, const char* name) -> long long {
        if (v->kind != json::Value::Kind::Number || v->text.find_first_of(".eE") != std::string::npos)
            refuse(std::string(name) + Tr(" is not a whole number", " не целое число"));
        try {
            return std::stoll(v->text);
        } catch (const std::exception&) {
            refuse(std::string(name) + Tr(" is out of range", " вне диапазона"));
        }
        return 0;
    };
    if (const json::Value* fields = root.Find("fields")) {
        if (fields->kind != json::Value::Kind::Object) refuse(Tr("\"fields\" is no object", "\"fields\" не объект"));
        if (const json::Value* v = fields->Find("DB_ADDR"))
            Check(doc->put_DB_ADDR(static_cast<ULONG>(whole(v, "DB_ADDR"))), "DB_ADDR");
        if (const json::Value* v = fields->Find("TimeStamp"))
            Check(doc->put_TimeStamp(static_cast<ULONG>(whole(v, "TimeStamp"))), "TimeStamp");
        if (const json::Value* v = fields->Find("RecordCondition"))
            Check(doc->put_RecordCondition(static_cast<LONG>(whole(v, "RecordCondition"))), "RecordCondition");
    }
    if (const json::Value* body = root.Find("body")) {
        if (body->kind != json::Value::Kind::String) refuse(Tr("\"body\" is no text", "\"body\" не текст"));
        const json::Value* length = root.Find("length");
        if (!length) refuse(Tr("\"body\" without \"length\"", "\"body\" без \"length\""));
        const std::string bodyBytes = DecodeHex(body->text);
        Bstr b = Bstr::Attach(SysAllocStringByteLen(bodyBytes.data(), static_cast<UINT>(bodyBytes.size())));
        ComPtr<IOrvDocExtension> ext;
        Check(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), "IOrvDocExtension");
        Check(ext->put_Body(b.Get()), Tr("the extension body is refused", "тело расширения отвергнуто"));
        Check(ext->put_Length(static_cast<LONG>(whole(length, "length"))), "Length");
    }
}

}  // namespace

int Convert(const Args& a) {
    NoMoreWords(a, 0);
    const std::string to = a.Get("to", "xml");
    if (to != "xml" && to != "hex" && to != "json") throw Usage{std::string(Tr("unknown form: ", "неизвестная форма: ")) + to};
    const std::string input = ReadStdin();
    std::string from = a.Get("from");
    if (from.empty()) {
        const auto at = input.find_first_not_of(" \t\r\n");
        from = at != std::string::npos && input[at] == '<' ? "xml" : "hex";
    }
    if (from != "xml" && from != "hex" && from != "json") throw Usage{std::string(Tr("unknown input form: ", "неизвестная входная форма: ")) + from};
    Runtime rt;
    ComPtr<IOrvDocument> doc = NewDocumentObject();
    if (from == "json") {
        ReadJsonDocument(input, doc.Get());
    } else if (from == "hex") {
        const std::string bytes = DecodeHex(input);
        Bstr record = Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
        Check(doc->put_DocRecord(record.Get()), Tr("the record is refused", "запись отвергнута"));
    } else {
        ComPtr<IOrvObjAsXmlString> xml;
        Check(doc.As(&xml), "IOrvObjAsXmlString");
        const HRESULT hr = xml->put_FullString(Bstr::FromUtf8(input));
        if (FAILED(hr)) {
            const std::string text = ErrorText();
            throw Refused{std::string(Tr("the XML form is refused", "XML-форма отвергнута")) + (text.empty() ? "" : ": " + text), hr};
        }
    }
    if (to == "hex") std::printf("%s\n", RecordHex(doc.Get()).c_str());
    else if (to == "xml") std::printf("%s\n", DocumentXml(doc.Get()).c_str());
    else PrintDocument(doc.Get(), true, true);
    return 0;
}

int History(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    const LONG id = ParseLong(NeedWord(a, 1, Tr("the document's identifier", "идентификатор документа")),
                              Tr("not a document identifier", "это не идентификатор документа"));
    NoMoreWords(a, 2);
    Runtime rt;
    Store store(path, false);
    LONG count = 0;
    Check(store.View()->GetVersionCount(static_cast<ULONG>(id), &count), "GetVersionCount");
    ULONG currentStamp = 0;
    Bstr currentRecord, currentBody;
    LONG currentLength = 0;
    store.View()->GetStored(static_cast<ULONG>(id), currentRecord.ReleaseAndGetAddressOf(), currentBody.ReleaseAndGetAddressOf(),
                            &currentLength, &currentStamp);
    if (count == 0 && !currentRecord.Get())
        throw Refused{std::string(Tr("no document with identifier ", "нет документа с идентификатором ")) + std::to_string(id)};

    struct Version {
        ULONG stamp = 0;
        DATE when = 0;
        std::string user, operation;
        LONG pid = 0;
        DocumentView view;
    };
    // A document object holding a version's record and extension, read as
    // show reads a stored one: the record fields and the specific kind's
    // properties.
    auto viewOf = [](BSTR record, BSTR body, LONG length) {
        ComPtr<IOrvDocument> doc = NewDocumentObject();
        Check(doc->put_DocRecord(record), "DocRecord");
        if (body) {
            ComPtr<IOrvDocExtension> ext;
            Check(doc.As(&ext), "IOrvDocExtension");
            Check(ext->put_Body(body), "Body");
            Check(ext->put_Length(length), "Length");
        }
        return ViewDocument(doc.Get());
    };
    std::vector<Version> versions;
    for (LONG i = 0; i < count; ++i) {
        Version v;
        Bstr user, op, record, body;
        LONG length = 0;
        Check(store.View()->GetVersion(static_cast<ULONG>(id), i, &v.stamp, &v.when, user.ReleaseAndGetAddressOf(), &v.pid,
                                       op.ReleaseAndGetAddressOf(), record.ReleaseAndGetAddressOf()),
              "GetVersion");
        Check(store.View()->GetVersionExtension(static_cast<ULONG>(id), i, body.ReleaseAndGetAddressOf(), &length),
              "GetVersionExtension");
        v.user = user.Utf8(), v.operation = op.Utf8();
        v.view = viewOf(record.Get(), body.Get(), length);
        versions.push_back(std::move(v));
    }
    DocumentView current;
    if (currentRecord.Get()) current = viewOf(currentRecord.Get(), currentBody.Get(), currentLength);

    // The properties present in both under the same name whose texts differ.
    auto printChanges = [](const std::vector<Property>& was, const std::vector<Property>& now, const char* indent) {
        for (const auto& old : was)
            for (const auto& cur : now)
                if (old.name == cur.name && old.text != cur.text)
                    std::printf("%s%s: %s -> %s\n", indent, old.name.c_str(), old.text.c_str(), cur.text.c_str());
    };
    std::printf(Tr("document %d: %d earlier version(s)\n", "документ %d: прежних версий: %d\n"), id, count);
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const Version& v = versions[i];
        SYSTEMTIME st{};
        VariantTimeToSystemTime(v.when, &st);
        std::printf(Tr("version %u: replaced %s %02u:%02u by %s (process %d), %s\n",
                       "версия %u: заменена %s %02u:%02u, %s (процесс %d), %s\n"),
                    v.stamp, DateText(v.when).c_str(), st.wHour, st.wMinute, v.user.c_str(), v.pid, v.operation.c_str());
        // What the replacement changed: the next version, or the stored one.
        const DocumentView* next = i + 1 < versions.size() ? &versions[i + 1].view : (currentRecord.Get() ? &current : nullptr);
        if (!next) {
            std::printf("  %s\n", Tr("(deleted)", "(удалён)"));
            continue;
        }
        printChanges(v.view.fields, next->fields, "  ");
        // Extension properties only compare within one specific kind.
        if (!v.view.extensionName.empty() && v.view.extensionName == next->extensionName) {
            bool any = false;
            for (const auto& old : v.view.extension)
                for (const auto& cur : next->extension)
                    if (old.name == cur.name && old.text != cur.text) any = true;
            if (any) {
                std::printf("  %s:\n", v.view.extensionName.c_str());
                printChanges(v.view.extension, next->extension, "    ");
            }
        } else if (v.view.extensionName != next->extensionName) {
            std::printf("  %s: %s -> %s\n", Tr("extension", "расширение"),
                        v.view.extensionName.empty() ? "-" : v.view.extensionName.c_str(),
                        next->extensionName.empty() ? "-" : next->extensionName.c_str());
        }
    }
    if (currentRecord.Get()) std::printf(Tr("current version: %u\n", "текущая версия: %u\n"), currentStamp);
    else std::printf("%s\n", Tr("the document is deleted", "документ удалён"));
    return 0;
}

int Restore(const Args& a) {
    const std::string& path = NeedWord(a, 0, Tr("the store file", "файл хранилища"));
    const LONG id = ParseLong(NeedWord(a, 1, Tr("the document's identifier", "идентификатор документа")),
                              Tr("not a document identifier", "это не идентификатор документа"));
    const LONG stamp = ParseLong(NeedWord(a, 2, Tr("the version", "версия")), Tr("not a version", "это не версия"));
    NoMoreWords(a, 3);
    Runtime rt;
    Store store(path, false);
    ULONG now = 0;
    const HRESULT hr = store.View()->RestoreVersion(static_cast<ULONG>(id), static_cast<ULONG>(stamp), &now);
    if (FAILED(hr)) throw Refused{store.LastError(), hr};
    if (hr == S_FALSE)
        throw Refused{std::string(Tr("document ", "у документа ")) + std::to_string(id) +
                      Tr(" has no kept version ", " нет сохранённой версии ") + std::to_string(stamp)};
    std::printf(Tr("document %d: version %d restored as version %u\n", "документ %d: версия %d восстановлена как версия %u\n"),
                id, stamp, now);
    return 0;
}

int Register(const Args& a) {
    NoMoreWords(a, 0);
    const char* file = std::getenv("ORVDOCS_REGISTRY");
    if (!file || !*file)
        throw Refused{Tr("ORVDOCS_REGISTRY names no registry file", "ORVDOCS_REGISTRY не указывает файл реестра")};
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const bool remove = a.Has("unregister");
    const HRESULT hr = remove ? DllUnregisterServer() : DllRegisterServer();
    const std::string text = ErrorText();
    CoUninitialize();
    if (FAILED(hr))
        throw Refused{std::string(remove ? "DllUnregisterServer" : "DllRegisterServer") + (text.empty() ? "" : ": " + text), hr};
    std::printf("%s %s\n", remove ? Tr("registration removed from", "регистрация удалена из") : Tr("registered in", "зарегистрировано в"),
                file);
    return 0;
}

}  // namespace orv::cli
