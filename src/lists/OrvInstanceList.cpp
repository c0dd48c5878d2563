#include "lists/OrvInstanceList.h"

#include "xml/dom.h"

#include "lists/ListXml.h"
#include "xml/attributes.h"
#include "xml/lenient.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>
#include <orvdocs/platform/text.h>

#include <algorithm>
#include <string>

namespace orv {
namespace {

constexpr const OLECHAR* kRoot = u"ORVINSTLIST";
constexpr const OLECHAR* kClassId = u"CLSID";
constexpr const OLECHAR* kListId = u"LISTID";
constexpr const OLECHAR* kItem = u"ORVINSTITEM";
constexpr const OLECHAR* kNoSource = u"#0*1; \tБез источника";
constexpr const OLECHAR* kClassNotRegistered = u"Класс %s не зарегистрирован";
// Bit of GetPipedString's parameter: leave out flagged entries.
constexpr LONG kSkipFlagged = 0x1000;
// The longest search text compared.
constexpr std::size_t kMaxSearch = 512;

LONG Number(IOrvRefItem* item) {
    LONG value = 0;
    Check(item->get_Index(&value), IID_IOrvRefItem);
    return value;
}
std::u16string Text(IOrvRefItem* item, HRESULT (IOrvRefItem::*member)(BSTR*)) {
    Bstr value;
    Check((item->*member)(value.ReleaseAndGetAddressOf()), IID_IOrvRefItem);
    return std::u16string(value.View());
}
bool Flagged(IOrvRefItem* item) {
    SHORT flag = 0;
    Check(item->get_Flag2(&flag), IID_IOrvRefItem);
    return flag != 0;
}

// Upper case without the process locale: Latin a-z and the Cyrillic letters.
std::u16string Upper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
        else if (c >= 0x0430 && c <= 0x044F)
            c = static_cast<char16_t>(c - 0x20);
        else if (c >= 0x0450 && c <= 0x045F)
            c = static_cast<char16_t>(c - 0x50);
    }
    return out;
}

std::u16string_view SearchText(BSTR text) {
    std::u16string_view view = text ? std::u16string_view(text, SysStringLen(text)) : std::u16string_view();
    return view.substr(0, std::min(view.size(), kMaxSearch));
}

// The code read as a whole number, as the C runtime reads one: blanks, a
// sign, then digits up to the first other character.
LONG CodeNumber(std::u16string_view code) {
    std::size_t i = 0;
    while (i < code.size() && (code[i] == u' ' || (code[i] >= u'\t' && code[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < code.size() && (code[i] == u'-' || code[i] == u'+')) negative = code[i++] == u'-';
    unsigned long long value = 0;
    for (; i < code.size() && code[i] >= u'0' && code[i] <= u'9'; ++i) value = value * 10 + (code[i] - u'0');
    return static_cast<LONG>(static_cast<unsigned long>(negative ? 0 - value : value));
}

std::u16string Decimal(LONG value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

OrvInstanceList::Entry OrvInstanceList::MakeEntry(ComPtr<IUnknown> unknown, LONG* number) {
    Entry entry{std::move(unknown), nullptr};
    entry.unknown->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(entry.item.GetAddressOf()));
    *number = entry.item ? Number(entry.item.Get()) : 0;
    return entry;
}

void OrvInstanceList::Commit(Entry entry, LONG number) {
    entries_.push_back(std::move(entry));
    // A later entry with the same number takes the number over.
    if (entries_.back().item) index_[number] = entries_.back().unknown.Get();
}

void OrvInstanceList::Append(ComPtr<IUnknown> unknown) {
    LONG number = 0;
    Entry entry = MakeEntry(std::move(unknown), &number);
    Commit(std::move(entry), number);
}

template <class F>
IUnknown* OrvInstanceList::FindFirst(F&& matches) {
    for (const Entry& entry : entries_)
        if (entry.item && matches(entry.item.Get())) return entry.unknown.Get();
    return nullptr;
}

HRESULT OrvInstanceList::Reset() {
    return Locked([&] {
        cursor_ = 0;
        return S_OK;
    });
}

HRESULT OrvInstanceList::AddItem(IUnknown* punkItem) {
    if (!punkItem) return E_POINTER;
    return Locked([&] {
        Append(punkItem);
        return S_OK;
    });
}

HRESULT OrvInstanceList::Next(IUnknown** ppunkItem) {
    if (!ppunkItem) return E_POINTER;
    *ppunkItem = nullptr;
    return Locked([&] {
        if (cursor_ >= entries_.size()) return S_FALSE;
        return entries_[cursor_++].unknown.CopyTo(ppunkItem);
    });
}

HRESULT OrvInstanceList::Next2(IDispatch** pItem) {
    if (!pItem) return E_POINTER;
    *pItem = nullptr;
    ComPtr<IUnknown> item;
    HRESULT hr = Next(item.GetAddressOf());
    if (hr != S_OK || !item) return hr;
    return item->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(pItem));
}

HRESULT OrvInstanceList::get_Item(LONG lItemCode, IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        IUnknown* found = nullptr;
        if (!index_.empty()) {
            auto it = index_.find(lItemCode);
            if (it != index_.end()) found = it->second;
        } else {
            found = FindFirst([&](IOrvRefItem* item) { return Number(item) == lItemCode; });
        }
        if (!found) return S_FALSE;
        found->AddRef();
        *pVal = found;
        return S_OK;
    });
}

HRESULT OrvInstanceList::FindText(BSTR Name, BSTR Code, bool byName, bool byCode, IUnknown** ppunkItem) {
    if (!ppunkItem) return E_POINTER;
    *ppunkItem = nullptr;
    return Locked([&] {
        const std::u16string name = Upper(SearchText(Name)), code = Upper(SearchText(Code));
        IUnknown* found = FindFirst([&](IOrvRefItem* item) {
            // A name search passes over flagged entries; a code search does not.
            if (byName && !byCode && Flagged(item)) return false;
            if (byName && Upper(Text(item, &IOrvRefItem::get_Name)) != name) return false;
            if (byCode && Upper(Text(item, &IOrvRefItem::get_Code)) != code) return false;
            return true;
        });
        if (!found) return S_FALSE;
        found->AddRef();
        *ppunkItem = found;
        return S_OK;
    });
}

HRESULT OrvInstanceList::FindItem(BSTR Name, IUnknown** ppunkItem) { return FindText(Name, nullptr, true, false, ppunkItem); }

HRESULT OrvInstanceList::FindByCode(BSTR Code, IUnknown** ppunkItem) {
    return FindText(nullptr, Code, false, true, ppunkItem);
}

HRESULT OrvInstanceList::FindByCodeAndName(BSTR Name, BSTR Code, IUnknown** ppunkItem) {
    return FindText(Name, Code, true, true, ppunkItem);
}

HRESULT OrvInstanceList::FindByCode2(BSTR Code, IDispatch** pItem) {
    if (!pItem) return E_POINTER;
    *pItem = nullptr;
    ComPtr<IUnknown> item;
    HRESULT hr = FindByCode(Code, item.GetAddressOf());
    if (hr != S_OK || !item) return hr;
    return item->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(pItem));
}

HRESULT OrvInstanceList::GetMaxIndex(LONG* plIndex) {
    if (!plIndex) return E_POINTER;
    *plIndex = 0;
    return Locked([&] {
        LONG largest = 0;
        for (const Entry& entry : entries_)
            if (entry.item) largest = std::max(largest, Number(entry.item.Get()));
        *plIndex = largest;
        return S_OK;
    });
}

HRESULT OrvInstanceList::get_ListID(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = listId_;
        return S_OK;
    });
}

HRESULT OrvInstanceList::put_ListID(LONG newVal) {
    return Locked([&] {
        listId_ = newVal;
        return S_OK;
    });
}

HRESULT OrvInstanceList::StoreEntry(IUnknown* punkOrvBD, BSTR bstrName, BSTR bstrCode, LONG* pIndex) {
    return StoreEntryPiped(-1, punkOrvBD, bstrName, bstrCode, pIndex);
}

HRESULT OrvInstanceList::StoreEntryPiped(LONG lPipeId, IUnknown* punkOrvBD, BSTR bstrName, BSTR bstrCode,
                                         LONG* pIndex) {
    if (!pIndex) return E_POINTER;
    *pIndex = 0;
    if (!punkOrvBD) return E_POINTER;
    return Locked([&] {
        ComPtr<IOrvReferenceSource> source;
        Check(punkOrvBD->QueryInterface(IID_IOrvReferenceSource, reinterpret_cast<void**>(source.GetAddressOf())),
              IID_IOrvReferenceSource);
        ComPtr<IUnknown> created;
        if (lPipeId >= 0)
            Check(source->CreateEntryPiped(lPipeId, listId_, bstrName, bstrCode, created.GetAddressOf()),
                  IID_IOrvReferenceSource);
        else
            Check(source->CreateEntry(listId_, bstrName, bstrCode, created.GetAddressOf()), IID_IOrvReferenceSource);
        if (!created) return S_OK;
        Append(created);
        if (const Entry& added = entries_.back(); added.item) *pIndex = Number(added.item.Get());
        return S_OK;
    });
}

HRESULT OrvInstanceList::GetPipedString(LONG lParam, BSTR* pResult) {
    if (!pResult) return E_POINTER;
    *pResult = nullptr;
    return Locked([&] {
        const bool skipFlagged = (lParam & kSkipFlagged) != 0;
        const bool numbered = (lParam & ~kSkipFlagged) == 1;
        struct Row {
            std::u16string name, code;
        };
        std::vector<Row> rows;
        for (const Entry& entry : entries_) {
            if (!entry.item) continue;
            if (skipFlagged && Flagged(entry.item.Get())) continue;
            rows.push_back({Text(entry.item.Get(), &IOrvRefItem::get_Name), Text(entry.item.Get(), &IOrvRefItem::get_Code)});
        }
        // By name, then by code, then in list order; texts compared as they are.
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return a.name != b.name ? a.name < b.name : a.code < b.code;
        });
        std::u16string text;
        if (numbered) text = kNoSource;
        for (const Row& row : rows) {
            if (numbered) {
                text += u"|#";
                text += Decimal(CodeNumber(row.code));
                text += u';';
            } else if (&row != &rows.front()) {
                text += u'|';
            }
            text += row.code;
            text += u'\t';
            text += row.name;
        }
        Bstr result(text);
        *pResult = result.Detach();
        return S_OK;
    });
}

// ------------------------------------------------------------- XML form

HRESULT OrvInstanceList::get_ShortString(BSTR* pVal) {
    if (pVal) *pVal = nullptr;
    return E_NOTIMPL;
}

HRESULT OrvInstanceList::put_ShortString(BSTR) { return E_NOTIMPL; }

HRESULT OrvInstanceList::ParseIn(IUnknown* spRoot, LONG) {
    if (!spRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMNode> root;
        Check(spRoot->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(root.GetAddressOf())), IID_IXMLDOMNode);
        ComPtr<IXMLDOMDocument> owner = lists::OwnerOf(root.Get());
        OLECHAR classText[64];
        StringFromGUID2(CLSID_OrvInstanceList, classText, 64);
        lists::AppendTextElement(owner.Get(), root.Get(), kClassId, classText);
        lists::AppendTextElement(owner.Get(), root.Get(), kListId, Decimal(listId_));
        for (const Entry& entry : entries_) {
            ComPtr<IOrvObjAsXmlString> form;
            Check(entry.unknown.As(&form), IID_IOrvObjAsXmlString);
            ComPtr<IXMLDOMElement> item = lists::AppendElement(owner.Get(), root.Get(), kItem);
            Check(form->ParseIn(item.Get(), 0), IID_IOrvObjAsXmlString);
        }
        return S_OK;
    });
}

HRESULT OrvInstanceList::ParseFrom(IUnknown* pRoot, LONG) {
    if (!pRoot) return E_POINTER;
    std::vector<std::u16string> unknownClasses;  // reported after the lock
    HRESULT hr = Locked([&] {
        ComPtr<IXMLDOMNode> root;
        Check(pRoot->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(root.GetAddressOf())), IID_IXMLDOMNode);
        Bstr listText;
        const bool hasListId = lists::ChildText(root.Get(), kListId, &listText);
        // The entries are read first and added only when all were read.
        std::vector<std::pair<Entry, LONG>> read;
        for (ComPtr<IXMLDOMNode> child = lists::FirstChild(root.Get()); child;
             child = lists::NextSibling(child.Get())) {
            if (!lists::IsElementNamed(child.Get(), kItem)) continue;
            // The class of the entry: a "CLSID" child element, or the
            // "CLSID" attribute that reference items write.
            Bstr classText;
            if (!lists::ChildText(child.Get(), kClassId, &classText)) {
                ComPtr<IXMLDOMElement> element = lists::AsElement(child.Get());
                Check(GetAttributeText(element.Get(), kClassId, classText.ReleaseAndGetAddressOf()),
                      IID_IXMLDOMElement);
            }
            CLSID clsid{};
            ComPtr<IUnknown> object;
            if (FAILED(CLSIDFromString(classText.Get() ? classText.Get() : u"", &clsid)) ||
                FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                        reinterpret_cast<void**>(object.GetAddressOf()))) ||
                !object) {
                unknownClasses.emplace_back(classText.View());
                continue;
            }
            ComPtr<IOrvObjAsXmlString> form;
            Check(object.As(&form), IID_IOrvObjAsXmlString);
            Check(form->ParseFrom(child.Get(), 0), IID_IOrvObjAsXmlString);
            LONG number = 0;
            Entry entry = MakeEntry(std::move(object), &number);
            read.emplace_back(std::move(entry), number);
        }
        if (hasListId) listId_ = ReadLongLenient(listText.View());
        entries_.reserve(entries_.size() + read.size());
        for (auto& [entry, number] : read) Commit(std::move(entry), number);
        return S_OK;
    });
    for (const std::u16string& text : unknownClasses) {
        OLECHAR message[1024];
        wsprintfW(message, kClassNotRegistered, text.c_str());
        ReportWithMessage(CLSID_OrvInstanceList, message, IID_IOrvInstanceList, REGDB_E_CLASSNOTREG);
    }
    return hr;
}

HRESULT OrvInstanceList::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvInstanceList, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        ComPtr<IXMLDOMElement> root = lists::AppendElement(dom.Get(), dom.Get(), kRoot);
        HRESULT written = ParseIn(root.Get(), 0);
        if (FAILED(written)) return written;
        Check(dom->get_xml(pVal), IID_IXMLDOMDocument);
        return S_OK;
    });
}

HRESULT OrvInstanceList::put_FullString(BSTR newVal) {
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvInstanceList, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        VARIANT_BOOL loaded = VARIANT_FALSE;
        const HRESULT load = dom->loadXML(newVal, &loaded);
        if (FAILED(load)) return load;  // out of memory, not a text that does not load
        if (loaded != VARIANT_TRUE) return E_POINTER;
        ComPtr<IXMLDOMNode> node;
        Check(dom->selectSingleNode(Bstr(kRoot), node.GetAddressOf()), IID_IXMLDOMDocument);
        return ParseFrom(node.Get(), 0);
    });
}

}  // namespace orv
