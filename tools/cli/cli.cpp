// The orvdocs tool's shared pieces: arguments, text forms, the runtime and
// the store, and reading objects through their type information.
#include "cli.h"

#include <orvdocs/automation.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace orv::cli {

bool Russian() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) return std::strncmp(v, "ru", 2) == 0;
    }
    return false;
}

std::string Args::Get(const std::string& name, const std::string& fallback) const {
    auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

Args ParseArgs(int argc, char** argv, const std::vector<std::string>& valued, const std::vector<std::string>& flags) {
    Args a;
    auto in = [](const std::vector<std::string>& v, const std::string& s) {
        for (const auto& x : v)
            if (x == s) return true;
        return false;
    };
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::string name = arg.substr(2), value;
            const auto eq = name.find('=');
            const bool inlineValue = eq != std::string::npos;
            if (inlineValue) value = name.substr(eq + 1), name.resize(eq);
            if (in(valued, name)) {
                if (!inlineValue) {
                    if (i + 1 >= argc) throw Usage{std::string(Tr("option needs a value: --", "у параметра нет значения: --")) + name};
                    value = argv[++i];
                }
                a.options[name] = value;
            } else if (in(flags, name) && !inlineValue) {
                a.options[name] = "";
            } else {
                throw Usage{std::string(Tr("unknown option: ", "неизвестный параметр: ")) + arg};
            }
        } else {
            a.words.push_back(arg);
        }
    }
    return a;
}

std::string DateText(DATE d) {
    if (d == 0) return {};
    SYSTEMTIME st{};
    if (VariantTimeToSystemTime(d, &st) == 0) return "?";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u.%02u.%04u", st.wDay, st.wMonth, st.wYear);
    return buf;
}

std::string MoneyText(const CY& c) {
    // Rounds the four decimals of the raw value to two, half away from zero.
    long long raw = c.int64;
    const bool negative = raw < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(raw) : static_cast<unsigned long long>(raw);
    v = (v + 50) / 100;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", negative && v ? "-" : "", v / 100, v % 100);
    return buf;
}

std::string HexText(const unsigned char* p, std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) s += digits[p[i] >> 4], s += digits[p[i] & 15];
    return s;
}

namespace {
DATE FromYmd(int y, unsigned m, unsigned d, const std::string& text) {
    const std::chrono::year_month_day ymd{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
    if (!ymd.ok() || y < 100) throw Usage{std::string(Tr("not a date: ", "это не дата: ")) + text};
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y), st.wMonth = static_cast<WORD>(m), st.wDay = static_cast<WORD>(d);
    DATE out = 0;
    SystemTimeToVariantTime(&st, &out);
    return out;
}
}  // namespace

DATE ParseDate(const std::string& text) {
    int y = 0;
    unsigned m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2u.%2u.%4d%c", &d, &m, &y, &tail) == 3 ||
        std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &y, &m, &d, &tail) == 3)
        return FromYmd(y, m, d, text);
    throw Usage{std::string(Tr("not a date (dd.mm.yyyy): ", "это не дата (дд.мм.гггг): ")) + text};
}

void ParseMonth(const std::string& text, DATE* first, DATE* last) {
    int y = 0;
    unsigned m = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2u%c", &y, &m, &tail) != 2 || m < 1 || m > 12)
        throw Usage{std::string(Tr("not a month (yyyy-mm): ", "это не месяц (гггг-мм): ")) + text};
    *first = FromYmd(y, m, 1, text);
    const auto end = std::chrono::year_month_day_last(std::chrono::year(y), std::chrono::month_day_last(std::chrono::month(m)));
    *last = FromYmd(y, m, static_cast<unsigned>(end.day()), text);
}

LONG ParseLong(const std::string& text, const char* what) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || v < INT32_MIN || v > INT32_MAX)
        throw Usage{std::string(what) + ": " + text};
    return static_cast<LONG>(v);
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string ErrorText(const std::string& fallback) {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) == S_OK && info) {
        Bstr d;
        info->GetDescription(d.ReleaseAndGetAddressOf());
        if (!d.View().empty()) return d.Utf8();
    }
    return fallback;
}

void Check(HRESULT hr, const std::string& what) {
    if (FAILED(hr)) {
        const std::string text = ErrorText();
        throw Refused{text.empty() ? what : what + ": " + text, hr};
    }
}

Runtime::Runtime() {
    // The working subcommands register the library in this process only; the
    // registry file is changed by `orvdocs register` alone.
    unsetenv("ORVDOCS_REGISTRY");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Check(orv::host::RegisterHostComponents(&host_), Tr("registering the host components", "регистрация компонентов хоста"));
    Check(DllRegisterServer(), Tr("registering the library", "регистрация библиотеки"));
}

Runtime::~Runtime() {
    host_.Revoke();
    CoUninitialize();
}

Store::Store(const std::string& path, bool create) : path_(path) {
    if (!create && !std::filesystem::exists(path))
        throw Refused{std::string(Tr("no store file: ", "нет файла хранилища: ")) + path};
    const HRESULT hr = orv::host::OpenDatabase(orv::Utf8ToUtf16(path), db_.GetAddressOf());
    Check(hr, std::string(Tr("opening the store ", "открытие хранилища ")) + path);
    Check(db_->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(view_.GetAddressOf())),
          "IOrvMemoryDatabase");
    Check(db_->OpenPipe(&pipe_), "OpenPipe");
}

Store::~Store() {
    if (db_) {
        db_->ClosePipe(pipe_);
        db_->Close();
    }
}

std::string Store::LastError() const {
    Bstr text;
    db_->get_LastError(text.ReleaseAndGetAddressOf());
    return text.View().empty() ? ErrorText() : text.Utf8();
}

ComPtr<IUnknown> Store::Employee(const std::string& key) const {
    ComPtr<IUnknown> sotr;
    char* end = nullptr;
    const long id = std::strtol(key.c_str(), &end, 10);
    if (!key.empty() && !*end && id > 0 && id <= INT32_MAX)
        db_->GetEmployee(pipe_, static_cast<LONG>(id), sotr.GetAddressOf());
    if (!sotr) db_->FindEmployee(pipe_, Bstr::FromUtf8(key), sotr.GetAddressOf());
    if (!sotr) throw Refused{std::string(Tr("unknown employee: ", "неизвестный сотрудник: ")) + key};
    return sotr;
}

ComPtr<IOrvDocument> Store::Document(LONG address) const {
    ComPtr<IUnknown> unknown;
    const HRESULT hr = db_->GetDocument(pipe_, address, unknown.GetAddressOf());
    Check(hr, Tr("reading the document", "чтение документа"));
    ComPtr<IOrvDocument> doc;
    if (!unknown || FAILED(unknown.As(&doc)))
        throw Refused{std::string(Tr("no document with identifier ", "нет документа с идентификатором ")) +
                      std::to_string(address)};
    return doc;
}

namespace {

void ValueTexts(const VARIANT& v, Property& p) {
    switch (v.vt) {
        case VT_EMPTY: case VT_NULL: p.text = ""; p.json = "null"; return;
        case VT_CY: p.text = MoneyText(v.cyVal); p.json = p.text; return;
        case VT_DATE: p.text = DateText(v.date); p.json = JsonString(p.text); return;
        case VT_BOOL: p.text = v.boolVal ? Tr("yes", "да") : Tr("no", "нет"); p.json = v.boolVal ? "true" : "false"; return;
        case VT_BSTR: {
            p.text = Bstr::Attach(SysAllocStringLen(v.bstrVal, SysStringLen(v.bstrVal))).Utf8();
            p.json = JsonString(p.text);
            return;
        }
        case VT_DISPATCH: case VT_UNKNOWN: {
            IUnknown* unk = v.vt == VT_DISPATCH ? v.pdispVal : v.punkVal;
            if (unk) unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(p.object.GetAddressOf()));
            p.text = unk ? Tr("(object)", "(объект)") : "";
            p.json = "null";
            return;
        }
        default: break;
    }
    Variant text;
    if (SUCCEEDED(VariantChangeType(&text, &v, 0, VT_BSTR))) {
        p.text = Bstr::Attach(SysAllocStringLen(text.bstrVal, SysStringLen(text.bstrVal))).Utf8();
        p.json = (v.vt == VT_R4 || v.vt == VT_R8 || v.vt == VT_I1 || v.vt == VT_I2 || v.vt == VT_I4 || v.vt == VT_UI1 ||
                  v.vt == VT_UI2 || v.vt == VT_UI4 || v.vt == VT_INT || v.vt == VT_UINT || v.vt == VT_I8)
                     ? p.text
                     : JsonString(p.text);
    } else {
        p.text = "?";
        p.json = "null";
    }
}

}  // namespace

std::string InterfaceName(IDispatch* object) {
    ComPtr<ITypeInfo> info;
    if (FAILED(object->GetTypeInfo(0, 0, info.GetAddressOf())) || !info) return {};
    Bstr name;
    info->GetDocumentation(-1, name.ReleaseAndGetAddressOf(), nullptr, nullptr, nullptr);
    return name.Utf8();
}

std::vector<Property> ReadProperties(IDispatch* object, const std::vector<std::string>& skip) {
    std::vector<Property> out;
    ComPtr<ITypeInfo> info;
    if (!object || FAILED(object->GetTypeInfo(0, 0, info.GetAddressOf())) || !info) return out;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr)) || !attr) return out;
    const UINT count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(info->GetFuncDesc(i, &fd)) || !fd) continue;
        // A property get without index: no parameter but its result.
        const bool get = fd->invkind == INVOKE_PROPERTYGET &&
                         (fd->cParams == 0 || (fd->cParams == 1 && fd->lprgelemdescParam &&
                                               (fd->lprgelemdescParam[0].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)));
        const MEMBERID id = fd->memid;
        info->ReleaseFuncDesc(fd);
        if (!get) continue;
        Bstr name;
        UINT names = 0;
        BSTR raw = nullptr;
        if (FAILED(info->GetNames(id, &raw, 1, &names)) || names == 0) continue;
        name = Bstr::Attach(raw);
        Property p;
        p.name = name.Utf8();
        bool skipped = false;
        for (const auto& s : skip) skipped = skipped || s == p.name;
        if (skipped) continue;
        DispResult r = InvokeById(object, id, DISPATCH_PROPERTYGET, {});
        if (r.status == E_NOTIMPL || r.hr == E_NOTIMPL) continue;
        if (!r.Succeeded()) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(r.status));
            p.text = std::string(Tr("(refused ", "(отказ ")) + buf + ")";
            p.json = "null";
        } else {
            p.vt = r.value.vt;
            ValueTexts(r.value, p);
        }
        out.push_back(std::move(p));
    }
    return out;
}

ComPtr<IOrvDocument> NewDocumentObject() {
    ComPtr<IOrvDocument> doc;
    Check(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                           reinterpret_cast<void**>(doc.GetAddressOf())),
          "OrvDocument");
    return doc;
}

std::string RecordHex(IOrvDocument* doc) {
    Bstr record;
    Check(doc->get_DocRecord(record.ReleaseAndGetAddressOf()), "DocRecord");
    return HexText(reinterpret_cast<const unsigned char*>(record.Get()), SysStringByteLen(record.Get()));
}

std::string DocumentXml(IOrvDocument* doc) {
    ComPtr<IOrvObjAsXmlString> xml;
    Check(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf())), "IOrvObjAsXmlString");
    Bstr text;
    Check(xml->get_FullString(text.ReleaseAndGetAddressOf()), Tr("writing the XML form", "запись XML-формы"));
    return text.Utf8();
}

DocumentView ViewDocument(IOrvDocument* doc) {
    DocumentView view;
    ComPtr<IDispatch> disp;
    Check(doc->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(disp.GetAddressOf())), "IDispatch");
    // The whole record, the database service and the object links are not
    // fields of the record; the record is shown as hex on its own.
    view.fields = ReadProperties(disp.Get(), {"DocRecord", "OrvBD", "Sotr"});
    for (auto it = view.fields.begin(); it != view.fields.end();) {
        if (it->object) it = view.fields.erase(it);
        else ++it;
    }
    ComPtr<IDispatch> specific;
    if (SUCCEEDED(doc->GetSpecificObj2(specific.GetAddressOf())) && specific) {
        view.extensionName = InterfaceName(specific.Get());
        if (view.extensionName != "IOrvDocument") {
            // A kind kept in the extension body reads its fields from the body
            // only when asked (InitFromExtension); until then they are empty.
            // Kinds without that method are read as they are.
            OLECHAR* name = const_cast<OLECHAR*>(u"InitFromExtension");
            DISPID init = DISPID_UNKNOWN;
            if (SUCCEEDED(specific->GetIDsOfNames(IID_NULL, &name, 1, 0, &init))) {
                DISPPARAMS none{};
                specific->Invoke(init, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
            }
            view.extension = ReadProperties(specific.Get(), {"OrvDoc", "Document", "OrvBD"});
            for (auto it = view.extension.begin(); it != view.extension.end();) {
                if (it->object) {
                    std::string name = it->name;
                    if (name.find("rotocol") != std::string::npos)
                        view.parts.emplace_back(name, ReadProperties(it->object.Get(), {"OrvDoc", "Document", "OrvBD"}));
                    it = view.extension.erase(it);
                } else {
                    ++it;
                }
            }
        } else {
            view.extensionName.clear();
        }
    }
    return view;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Refused{std::string(Tr("cannot read ", "не читается файл ")) + path};
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string ReadStdin() {
    std::ostringstream out;
    out << std::cin.rdbuf();
    return out.str();
}

}  // namespace orv::cli
