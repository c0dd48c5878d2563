#include "kinds/SumLists.h"

#include "xml/dom.h"

#include "xml/attributes.h"
#include "xml/lenient.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/oleauto.h>

#include <algorithm>
#include <cstring>

namespace orv::sums {

ComPtr<IXMLDOMDocument> ParseXml(std::u16string_view text) {
    if (text.empty()) return {};
    ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(xml->loadXML(Bstr(text), &ok), IID_IXMLDOMDocument);
    if (ok != VARIANT_TRUE) return {};
    return xml;
}

ComPtr<IXMLDOMElement> SelectElement(IXMLDOMNode* node, const OLECHAR* path) {
    ComPtr<IXMLDOMNode> found;
    if (Check(node->selectSingleNode(Bstr(path), found.GetAddressOf()), IID_IXMLDOMNode) != S_OK || !found) return {};
    ComPtr<IXMLDOMElement> element;
    found.As(&element);
    return element;
}

std::u16string XmlOf(IXMLDOMNode* node) {
    Bstr text;
    Check(node->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
    return std::u16string(text.View());
}

CY ReadCurrency(IXMLDOMElement* element, const OLECHAR* name) {
    CY value{};
    Check(GetAttributeCurrency(element, name, &value), IID_IXMLDOMElement);
    return value;
}

void WriteCurrency(IXMLDOMElement* element, const OLECHAR* name, CY value) {
    Check(SetAttribute(element, name, value), IID_IXMLDOMElement);
}

ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* document) {
    ComPtr<IOrvDocExtension> ext;
    if (document) document->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
    return ext;
}

std::string BodyBytes(IOrvDocExtension* ext) {
    LONG length = 0;
    Check(ext->get_Length(&length), IID_IOrvDocExtension);
    Bstr body;
    Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
    const std::size_t n = std::min<std::size_t>(length > 0 ? static_cast<std::size_t>(length) : 0, body.ByteLength());
    if (n == 0) return {};
    return std::string(reinterpret_cast<const char*>(body.Get()), n);
}

void PutBodyBytes(IOrvDocExtension* ext, const std::string& bytes) {
    if (bytes.empty()) {
        Check(ext->Clear(), IID_IOrvDocExtension);
        return;
    }
    Bstr body = Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
    if (!body.Get()) throw std::bad_alloc();
    Check(ext->put_Body(body), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(bytes.size())), IID_IOrvDocExtension);
}

// ------------------------------------------------------------ CodedSums

void CodedSums::Add(LONG code, CY sum) {
    for (Entry& e : entries_) {
        if (e.first == code) {
            e.second.int64 += sum.int64;
            return;
        }
    }
    entries_.emplace_back(code, sum);
}

void CodedSums::Merge(IXMLDOMElement* root, const OLECHAR* item) {
    std::vector<Entry> read;
    for (const ComPtr<IXMLDOMElement>& element : ext::ChildElements(root, item))
        read.emplace_back(ext::ReadLong(element.Get(), u"CODE"), ReadCurrency(element.Get(), u"VAL"));
    for (const Entry& e : read) Add(e.first, e.second);
}

void CodedSums::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root, const OLECHAR* item) const {
    for (const Entry& e : entries_) {
        ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, root, item);
        ext::WriteLong(element.Get(), u"CODE", e.first);
        WriteCurrency(element.Get(), u"VAL", e.second);
    }
}

namespace {

std::u16string CurrencyText(CY value) {
    Variant v(value);
    Variant text;
    Check(VariantChangeType(&text, &v, 0, VT_BSTR));
    return std::u16string(text.bstrVal ? std::u16string_view(text.bstrVal, SysStringLen(text.bstrVal))
                                       : std::u16string_view());
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Splits a piece into its blank-separated words.
std::vector<std::u16string_view> Words(std::u16string_view piece) {
    std::vector<std::u16string_view> words;
    std::size_t i = 0;
    while (i < piece.size()) {
        while (i < piece.size() && IsBlank(piece[i])) ++i;
        std::size_t start = i;
        while (i < piece.size() && !IsBlank(piece[i])) ++i;
        if (i > start) words.push_back(piece.substr(start, i - start));
    }
    return words;
}

bool IsWholeNumber(std::u16string_view word) {
    std::size_t i = (!word.empty() && (word[0] == u'-' || word[0] == u'+')) ? 1 : 0;
    if (i == word.size()) return false;
    for (; i < word.size(); ++i)
        if (word[i] < u'0' || word[i] > u'9') return false;
    return true;
}

bool IsAmount(std::u16string_view word) {
    bool digit = false;
    for (char16_t c : word) {
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c != u'.' && c != u',' && c != u'-' && c != u'+')
            return false;
    }
    return digit;
}

}  // namespace

std::u16string CodedSums::ToLine() const {
    std::u16string line;
    for (const Entry& e : entries_) {
        if (!line.empty()) line += u"; ";
        const std::string code = std::to_string(e.first);
        line.append(code.begin(), code.end());
        line += u' ';
        line += CurrencyText(e.second);
    }
    return line;
}

bool CodedSums::FromLine(std::u16string_view line, CodedSums* out) {
    CodedSums read;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find(u';', start);
        if (end == std::u16string_view::npos) end = line.size();
        std::vector<std::u16string_view> words = Words(line.substr(start, end - start));
        if (!words.empty()) {
            if (words.size() != 2 || !IsWholeNumber(words[0]) || !IsAmount(words[1])) return false;
            read.Add(ReadLongLenient(words[0]), ReadCurrencyLenient(words[1]));
        }
        start = end + 1;
    }
    *out = std::move(read);
    return true;
}

}  // namespace orv::sums
