#include "host/store/StoreText.h"

#include "frame/errors.h"
#include "host/store/DocumentRows.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/xmlstring.h>

#include <pugixml.hpp>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <sstream>

namespace orv::host {
namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days{year{1960} / December / 31};

[[noreturn]] void Bad(const pugi::xml_node& node, const std::string& what) {
    throw store::StoreError(E_INVALIDARG, std::string("The store text has ") + what + " in <" + node.name() + ">");
}

LONG Long(const pugi::xml_node& node, const char* name, LONG fallback = 0) {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return fallback;
    const std::string text = a.value();
    LONG v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        Bad(node, std::string("a ") + name + " that is not a whole number (\"" + text + "\")");
    return v;
}

LONG Day(const pugi::xml_node& node, const char* name) {
    LONG day = 0;
    if (!ParseDay(node.attribute(name).value(), &day))
        Bad(node, std::string("a ") + name + " that is not a date yyyy-mm-dd (\"" + node.attribute(name).value() + "\")");
    return day;
}

LONGLONG Money(const pugi::xml_node& node, const char* name) {
    LONGLONG raw = 0;
    const char* text = node.attribute(name).value();
    if (*text && !ParseMoney(text, &raw)) Bad(node, std::string("a ") + name + " that is not an amount (\"" + text + "\")");
    return raw;
}

std::string Hex(const unsigned char* data, std::size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out(size * 2, '0');
    for (std::size_t i = 0; i < size; ++i) {
        out[2 * i] = digits[data[i] >> 4];
        out[2 * i + 1] = digits[data[i] & 15];
    }
    return out;
}

template <std::size_t N>
void Unhex(const pugi::xml_node& node, const char* name, std::array<unsigned char, N>* out) {
    const std::string text = node.attribute(name).value();
    if (text.size() != 2 * N) Bad(node, std::string("a ") + name + " of " + std::to_string(text.size()) + " characters, not " + std::to_string(2 * N));
    auto nibble = [&](char c) -> unsigned {
        if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
        if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
        Bad(node, std::string("a ") + name + " with a character that is not an upper-case hexadecimal digit");
    };
    for (std::size_t i = 0; i < N; ++i) (*out)[i] = static_cast<unsigned char>(nibble(text[2 * i]) << 4 | nibble(text[2 * i + 1]));
}

void SetDay(pugi::xml_node node, const char* name, LONG day) {
    if (day != 0) node.append_attribute(name) = DayText(day).c_str();
}

// ------------------------------------------------------------- documents

ComPtr<IOrvDocument> NewDocumentObject() {
    ComPtr<IOrvDocument> doc;
    Check(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                           reinterpret_cast<void**>(doc.GetAddressOf())),
          IID_IOrvDocument);
    return doc;
}

// The store keeps a document's extension body byte for byte with its Length;
// a document's own XML form may carry only part of the body (it writes the
// first Length bytes, and some kinds keep Length in characters). So the text
// form writes the whole body and the Length beside the document's element, as
// "STOREBODY" (hexadecimal; absent: stored without a body) and "STORELENGTH",
// and reading takes them over what the document's form gave.
constexpr const char* kBodyAttr = "STOREBODY";
constexpr const char* kLengthAttr = "STORELENGTH";

std::string UnhexText(const pugi::xml_node& node, const char* name) {
    const std::string text = node.attribute(name).value();
    if (text.size() % 2 != 0) Bad(node, std::string("a ") + name + " of an odd number of characters");
    auto nibble = [&](char c) -> unsigned {
        if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
        if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
        Bad(node, std::string("a ") + name + " with a character that is not an upper-case hexadecimal digit");
    };
    std::string out(text.size() / 2, '\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(nibble(text[2 * i]) << 4 | nibble(text[2 * i + 1]));
    return out;
}

void ImportDocument(store::Store& s, const pugi::xml_node& node, LONG employee) {
    const bool wholeBody = node.attribute(kBodyAttr) || node.attribute(kLengthAttr);
    std::string body;
    LONG length = 0;
    if (wholeBody) {
        body = UnhexText(node, kBodyAttr);
        length = Long(node, kLengthAttr);
    }
    pugi::xml_document own;
    pugi::xml_node copy = own.append_copy(node);
    copy.remove_attribute(kBodyAttr);
    copy.remove_attribute(kLengthAttr);
    std::ostringstream text;
    copy.print(text, "", pugi::format_raw);
    ComPtr<IOrvDocument> doc = NewDocumentObject();
    ComPtr<IOrvObjAsXmlString> xml;
    Check(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf())), IID_IOrvDocument);
    if (FAILED(xml->put_FullString(Bstr::FromUtf8(text.str()).Get()))) Bad(node, "a document the library does not read");
    store::DocumentRow row;
    const char16_t* refusal = nullptr;
    if (ReadDocumentRow(doc.Get(), true, &row, &refusal) != S_OK)
        Bad(node, "a document whose parts cannot be stored (" + Utf16ToUtf8(refusal ? refusal : u"") + ")");
    Check(doc->get_DB_ADDR(&row.address), IID_IOrvDocument);
    Check(doc->get_TimeStamp(&row.stamp), IID_IOrvDocument);
    if (wholeBody) {
        row.hasBody = static_cast<bool>(node.attribute(kBodyAttr));
        row.body = std::move(body);
        row.length = length;
    }
    row.employee = employee;
    s.WriteDocument(row, row.address != 0 ? store::WriteMode::Replace : store::WriteMode::New, true);
}

void ExportDocument(const store::DocumentRow& row, pugi::xml_node parent) {
    ComPtr<IOrvDocument> doc = NewDocumentObject();
    BSTR record = SysAllocStringByteLen(reinterpret_cast<const char*>(row.record.data()), static_cast<UINT>(row.record.size()));
    if (!record) throw std::bad_alloc();
    Bstr owned = Bstr::Attach(record);
    Check(doc->put_DocRecord(owned.Get()), IID_IOrvDocument);
    Check(doc->put_DB_ADDR(row.address), IID_IOrvDocument);
    Check(doc->put_TimeStamp(row.stamp), IID_IOrvDocument);
    ComPtr<IOrvDocExtension> extension;
    Check(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(extension.GetAddressOf())), IID_IOrvDocument);
    FillDocumentExtension(extension.Get(), row);
    AttachCollectors(doc.Get(), row.collectors);
    ComPtr<IOrvObjAsXmlString> xml;
    Check(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf())), IID_IOrvDocument);
    Bstr text;
    Check(xml->get_FullString(text.ReleaseAndGetAddressOf()), IID_IOrvObjAsXmlString);
    pugi::xml_document fragment;
    const std::string utf8 = text.Utf8();
    if (!fragment.load_buffer(utf8.data(), utf8.size()))
        throw store::StoreError(E_UNEXPECTED, "The document at address " + std::to_string(row.address) + " gave no XML form");
    pugi::xml_node added = parent.append_copy(fragment.document_element());
    if (row.hasBody)
        added.append_attribute(kBodyAttr) =
            Hex(reinterpret_cast<const unsigned char*>(row.body.data()), row.body.size()).c_str();
    added.append_attribute(kLengthAttr) = row.length;
}

// ------------------------------------------------------------ the parts

void ImportEmployee(store::Store& s, const pugi::xml_node& node) {
    store::EmployeeRow e;
    e.id = Long(node, "ID");
    if (e.id == 0) Bad(node, "no ID");
    e.tabNum = node.attribute("TABNUM").value();
    e.fullName = node.attribute("NAME").value();
    e.birth = Day(node, "BIRTH");
    e.resignation = Day(node, "RESIGNATION");
    e.firstEnter = Day(node, "FIRSTENTER");
    e.secondEnter = Day(node, "SECONDENTER");
    e.accountStatus = Long(node, "ACCOUNTSTATUS");
    s.PutEmployee(e);
    for (pugi::xml_node child : node.children()) {
        const std::string name = child.name();
        if (name == "JOB") {
            s.PutJob({e.id, Day(child, "FROM"), Long(child, "DEPARTMENT"), Long(child, "POSITION"), Long(child, "GRADE")});
        } else if (name == "ACCOUNT") {
            s.PutAccount({e.id, Long(child, "ID"), child.attribute("CODE").value(), child.attribute("NAME").value()});
        } else if (name == "MONTH") {
            store::MonthRow m;
            m.employee = e.id;
            m.monthDay = Day(child, "MONTH");
            Unhex(child, "RECORD", &m.record);
            for (pugi::xml_node t : child.children("TRACE")) {
                store::TraceRow& tr = m.traces.emplace_back();
                tr.code = Long(t, "CODE");
                Unhex(t, "RECORD", &tr.record);
            }
            s.PutMonth(m);
        } else if (name == "ORVDOCUMENT") {
            ImportDocument(s, child, e.id);
        } else if (child.type() == pugi::node_element) {
            Bad(child, "an element the store does not know");
        }
    }
}

void ImportAll(store::Store& s, const pugi::xml_node& root) {
    for (pugi::xml_node node : root.children()) {
        if (node.type() != pugi::node_element) continue;
        const std::string name = node.name();
        if (name == "VALUE") {
            const std::string key = node.attribute("NAME").value();
            if (key.empty()) Bad(node, "no NAME");
            s.SetValue(key, node.attribute("VALUE").value());
        } else if (name == "SETTING") {
            const std::string kind = node.attribute("KIND").value();
            if (kind != "short" && kind != "date" && kind != "list" && kind != "money")
                Bad(node, "a KIND other than short, date, list or money");
            const LONG id = Long(node, "ID");
            s.PutSetting({id, kind, node.attribute("NAME").value()});
            s.ClearSettingValues(id);
            for (pugi::xml_node v : node.children("V")) {
                std::string value = v.attribute("VALUE").value();
                if (kind == "date") {
                    value = std::to_string(Day(v, "VALUE"));
                } else if (kind == "short") {
                    value = std::to_string(Long(v, "VALUE"));
                } else if (kind == "money") {
                    value = std::to_string(Money(v, "VALUE"));
                }
                s.AddSettingValue(id, Day(v, "FROM"), value);
            }
        } else if (name == "NOMINAL") {
            s.PutNominal(Day(node, "FROM"), Money(node, "SUM"));
        } else if (name == "GRADE") {
            s.PutGrade({Day(node, "FROM"), Long(node, "GRADE"), Money(node, "COEFFICIENT"), Long(node, "ROUNDUP"),
                        Money(node, "FIXEDSUM")});
        } else if (name == "CURRENCY") {
            const LONG id = Long(node, "ID");
            s.PutCurrency(id, node.attribute("NAME").value());
            for (pugi::xml_node r : node.children("RATE")) s.PutRate(id, Day(r, "FROM"), Money(r, "RATE"));
        } else if (name == "LIST") {
            const LONG list = Long(node, "ID");
            s.PutList(list, node.attribute("NAME").value());
            for (pugi::xml_node e : node.children("ENTRY")) {
                store::EntryRow row;
                row.list = list;
                row.index = Long(e, "INDEX");
                row.id = Long(e, "ID");
                row.kind = Long(e, "KIND", list);
                row.code = e.attribute("CODE").value();
                row.name = e.attribute("NAME").value();
                row.classId = e.attribute("CLASSID").value();
                row.flags[0] = static_cast<SHORT>(Long(e, "F1"));
                row.flags[1] = static_cast<SHORT>(Long(e, "F2"));
                row.flags[2] = static_cast<SHORT>(Long(e, "F3"));
                s.PutEntry(row);
            }
        } else if (name == "NUMBERS") {
            const LONG table = Long(node, "TABLE");
            s.AddNumberTable(table);
            for (pugi::xml_node n : node.children("NUMBER")) s.SetNumber(table, Long(n, "KEY"), Long(n, "VALUE"));
        } else if (name == "EMPLOYEE") {
            ImportEmployee(s, node);
        } else if (name == "ORVDOCUMENT") {
            ImportDocument(s, node, 0);
        } else {
            Bad(node, "an element the store does not know");
        }
    }
}

}  // namespace

std::string DayText(LONG day) {
    if (day == 0) return {};
    const year_month_day ymd{kDayZero + days{day}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    return text;
}

bool ParseDay(const std::string& text, LONG* day) {
    *day = 0;
    if (text.empty()) return true;
    int y = 0;
    unsigned m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &y, &m, &d, &tail) != 3) return false;
    const year_month_day ymd{year{y}, month{m}, ::std::chrono::day{d}};
    if (!ymd.ok()) return false;
    *day = static_cast<LONG>((sys_days{ymd} - kDayZero).count());
    return true;
}

std::string MoneyText(LONGLONG raw) {
    const bool negative = raw < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(raw) : static_cast<unsigned long long>(raw);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    unsigned long long fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04llu", fraction);
        std::string f = digits;
        while (!f.empty() && f.back() == '0') f.pop_back();
        text += "." + f;
    }
    return text;
}

bool ParseMoney(const std::string& text, LONGLONG* raw) {
    *raw = 0;
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    unsigned long long whole = 0, fraction = 0;
    std::size_t digits = 0, decimals = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
        whole = whole * 10 + static_cast<unsigned>(text[at] - '0');
        if (whole > 922337203685477ULL) return false;
    }
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++decimals) {
            if (decimals >= 4) return false;
            fraction = fraction * 10 + static_cast<unsigned>(text[at] - '0');
        }
    }
    if (at != text.size() || digits + decimals == 0) return false;
    for (std::size_t i = decimals; i < 4; ++i) fraction *= 10;
    const long long value = static_cast<long long>(whole * 10000 + fraction);
    *raw = negative ? -value : value;
    return true;
}

void ImportStoreText(store::Store& s, const std::string& utf8) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(utf8.data(), utf8.size());
    if (!parsed)
        throw store::StoreError(E_INVALIDARG, std::string("The store text does not parse: ") + parsed.description() +
                                                  " at offset " + std::to_string(parsed.offset));
    const pugi::xml_node root = doc.child("ORVSTORE");
    if (!root) throw store::StoreError(E_INVALIDARG, "The store text has no <ORVSTORE> element");
    // One write: inside a transaction of the host too, a text refused half
    // way (a value that does not read, a full disk) leaves nothing of it.
    s.Atomically([&] { ImportAll(s, root); });
}

std::string ExportStoreText(store::Store& s) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("ORVSTORE");
    for (const char* name : {"access_type", "base_currency", "organization_id", "organization_name", "work_month"}) {
        if (auto v = s.Value(name)) {
            pugi::xml_node n = root.append_child("VALUE");
            n.append_attribute("NAME") = name;
            n.append_attribute("VALUE") = v->c_str();
        }
    }
    for (const auto& setting : s.Settings()) {
        pugi::xml_node n = root.append_child("SETTING");
        n.append_attribute("ID") = setting.id;
        n.append_attribute("KIND") = setting.kind.c_str();
        n.append_attribute("NAME") = setting.name.c_str();
        for (const auto& v : s.SettingValues(setting.id)) {
            pugi::xml_node vn = n.append_child("V");
            SetDay(vn, "FROM", v.fromDay);
            if (setting.kind == "date")
                vn.append_attribute("VALUE") = DayText(static_cast<LONG>(std::stol(v.value))).c_str();
            else if (setting.kind == "money")
                vn.append_attribute("VALUE") = MoneyText(std::stoll(v.value)).c_str();
            else
                vn.append_attribute("VALUE") = v.value.c_str();
        }
    }
    for (const auto& [from, nominal] : s.Nominals()) {
        pugi::xml_node n = root.append_child("NOMINAL");
        SetDay(n, "FROM", from);
        n.append_attribute("SUM") = MoneyText(nominal).c_str();
    }
    for (const auto& g : s.Grades()) {
        pugi::xml_node n = root.append_child("GRADE");
        SetDay(n, "FROM", g.fromDay);
        n.append_attribute("GRADE") = g.grade;
        n.append_attribute("COEFFICIENT") = MoneyText(g.coefficient).c_str();
        n.append_attribute("ROUNDUP") = g.roundUp;
        n.append_attribute("FIXEDSUM") = MoneyText(g.fixedSum).c_str();
    }
    for (const auto& [id, name] : s.Currencies()) {
        pugi::xml_node n = root.append_child("CURRENCY");
        n.append_attribute("ID") = id;
        n.append_attribute("NAME") = name.c_str();
        for (const auto& [from, rate] : s.Rates(id)) {
            pugi::xml_node r = n.append_child("RATE");
            SetDay(r, "FROM", from);
            r.append_attribute("RATE") = MoneyText(rate).c_str();
        }
    }
    for (const auto& [list, name] : s.Lists()) {
        pugi::xml_node n = root.append_child("LIST");
        n.append_attribute("ID") = list;
        n.append_attribute("NAME") = name.c_str();
        for (const auto& e : s.Entries(list)) {
            pugi::xml_node en = n.append_child("ENTRY");
            en.append_attribute("INDEX") = e.index;
            en.append_attribute("ID") = e.id;
            if (e.kind != list) en.append_attribute("KIND") = e.kind;
            en.append_attribute("CODE") = e.code.c_str();
            en.append_attribute("NAME") = e.name.c_str();
            if (!e.classId.empty()) en.append_attribute("CLASSID") = e.classId.c_str();
            const char* flags[] = {"F1", "F2", "F3"};
            for (int i = 0; i < 3; ++i)
                if (e.flags[i] != 0) en.append_attribute(flags[i]) = e.flags[i];
        }
    }
    for (LONG table : s.NumberTables()) {
        pugi::xml_node n = root.append_child("NUMBERS");
        n.append_attribute("TABLE") = table;
        for (const auto& [key, number] : s.Numbers(table)) {
            pugi::xml_node k = n.append_child("NUMBER");
            k.append_attribute("KEY") = key;
            k.append_attribute("VALUE") = number;
        }
    }
    std::vector<LONG> employees;
    for (const auto& e : s.Employees()) {
        employees.push_back(e.id);
        pugi::xml_node n = root.append_child("EMPLOYEE");
        n.append_attribute("ID") = e.id;
        n.append_attribute("TABNUM") = e.tabNum.c_str();
        n.append_attribute("NAME") = e.fullName.c_str();
        SetDay(n, "BIRTH", e.birth);
        SetDay(n, "RESIGNATION", e.resignation);
        SetDay(n, "FIRSTENTER", e.firstEnter);
        SetDay(n, "SECONDENTER", e.secondEnter);
        if (e.accountStatus != 0) n.append_attribute("ACCOUNTSTATUS") = e.accountStatus;
        for (const auto& j : s.Jobs(e.id)) {
            pugi::xml_node jn = n.append_child("JOB");
            SetDay(jn, "FROM", j.fromDay);
            jn.append_attribute("DEPARTMENT") = j.department;
            jn.append_attribute("POSITION") = j.position;
            jn.append_attribute("GRADE") = j.grade;
        }
        for (const auto& a : s.Accounts(e.id)) {
            pugi::xml_node an = n.append_child("ACCOUNT");
            an.append_attribute("ID") = a.id;
            an.append_attribute("CODE") = a.code.c_str();
            an.append_attribute("NAME") = a.name.c_str();
        }
        for (const auto& m : s.Months(e.id, 0, 0)) {
            pugi::xml_node mn = n.append_child("MONTH");
            SetDay(mn, "MONTH", m.monthDay);
            mn.append_attribute("RECORD") = Hex(m.record.data(), m.record.size()).c_str();
            for (const auto& t : m.traces) {
                pugi::xml_node tn = mn.append_child("TRACE");
                tn.append_attribute("CODE") = t.code;
                tn.append_attribute("RECORD") = Hex(t.record.data(), t.record.size()).c_str();
            }
        }
    }
    // Documents under their employee, the others at the end.
    for (ULONG address : s.Addresses()) {
        auto row = s.ReadDocument(address, true);
        if (!row) continue;
        pugi::xml_node parent = root;
        if (row->employee != 0) {
            pugi::xml_node owner = root.find_child_by_attribute("EMPLOYEE", "ID", std::to_string(row->employee).c_str());
            if (owner) parent = owner;
        }
        ExportDocument(*row, parent);
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_indent | pugi::format_no_declaration);
    return out.str();
}

}  // namespace orv::host
