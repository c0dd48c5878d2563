// The library's readers of values that arrive from outside: the lenient
// number readers of attribute texts, the two hexadecimal record decoders,
// OEM record fields and the stored forms of money and dates; and the generic
// document's XML form (FullString) with its record.
//
// Input: byte 0 chooses the family, the rest feeds it.
//
// Checked besides "no crash, no leak, no sanitizer report":
//  - a currency or double written by VariantChangeType is read back by the
//    lenient readers to the same value (the library's own texts come back);
//  - the long reader is the double reader cut towards zero and held to 32 bits;
//  - the decoders write min(pairs, capacity) bytes and read back what
//    EncodeHex wrote;
//  - an OEM field keeps its last byte NUL and gives back every character that
//    has an OEM form;
//  - a FullString the document accepts gives a record equal to the decoded
//    DOCRECORD attribute, and what the document writes it reads back to the
//    same text; a FullString it refuses for its form leaves it as it was.
#include "fuzz_host.h"
#include "fuzz_input.h"

#include "document/DocRecord.h"
#include "frame/oemtext.h"
#include "frame/values.h"
#include "xml/hextext.h"
#include "xml/lenient.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <climits>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orv::Variant;
using orvfuzz::Input;
using orvfuzz::View;

void Lenient(Input& in) {
    const std::uint8_t mode = in.Byte();
    const std::u16string text = orvfuzz::AsText(in.Rest(), mode);
    const CY cy = orv::ReadCurrencyLenient(text);
    const double d = orv::ReadDoubleLenient(text);
    const LONG l = orv::ReadLongLenient(text);
    (void)cy;
    // The long reader: the double reader over 56 characters, cut and held.
    const double head = orv::ReadDoubleLenient(std::u16string_view(text).substr(0, 56));
    LONG expected = 0;
    if (std::isnan(head)) expected = 0;
    else if (head >= 2147483647.0) expected = INT_MAX;
    else if (head <= -2147483648.0) expected = INT_MIN;
    else expected = static_cast<LONG>(head);
    ORV_FUZZ_CHECK(l == expected);
    (void)d;

    // The same text as a variant, and a few other kinds of variant.
    Variant v(text);
    orv::VariantToCurrencyLenient(v);
    orv::VariantToDoubleLenient(v);
    orv::VariantToLongLenient(v);
    Bstr referenced(text);
    BSTR raw = referenced.Get();
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_BSTR | VT_BYREF;
    byRef.pbstrVal = &raw;
    ORV_FUZZ_CHECK(orv::VariantToLongLenient(byRef) == orv::VariantToLongLenient(v));
}

// Values from raw bytes written as text by the platform and read back by the
// lenient readers.
void WrittenTextsComeBack(Input& in) {
    const std::int64_t raw = in.Take<std::int64_t>();
    Variant money(orv::MakeCurrency(raw));
    Variant moneyText;
    ORV_FUZZ_CHECK(VariantChangeType(&moneyText, &money, 0, VT_BSTR) == S_OK);
    ORV_FUZZ_CHECK(orv::ReadCurrencyLenient(View(moneyText.bstrVal)).int64 == raw);
    ORV_FUZZ_CHECK(orv::VariantToCurrencyLenient(money).int64 == raw);

    double d;
    std::memcpy(&d, &raw, sizeof d);
    if (std::isfinite(d)) {
        Variant number(d);
        Variant numberText;
        ORV_FUZZ_CHECK(VariantChangeType(&numberText, &number, 0, VT_BSTR) == S_OK);
        Variant platformRead;
        ORV_FUZZ_CHECK(VariantChangeType(&platformRead, &numberText, 0, VT_R8) == S_OK);
        ORV_FUZZ_CHECK(orv::ReadDoubleLenient(View(numberText.bstrVal)) == platformRead.dblVal);
    }
    // The stored forms of money and dates take every value without a fault.
    orv::CurrencyToHundredths(orv::MakeCurrency(raw));
    orv::RoundCurrencyToHundredths(orv::MakeCurrency(raw));
    orv::MultiplyCurrency(orv::MakeCurrency(raw), in.Take<double>());
    orv::DateToDayNumber(d);
    const auto text = orv::FormatCurrency(orv::MakeCurrency(raw));
    ORV_FUZZ_CHECK(text.length > 0 && text.length < 32 && text.text[text.length] == 0);
    orv::FormatHundredths(static_cast<LONG>(raw));
    orv::FormatRate(static_cast<LONG>(raw >> 32));
    orv::DayNumberToDate(static_cast<SHORT>(raw));
}

void Hex(Input& in) {
    const std::size_t capacity = in.Take<std::uint16_t>() % 700;
    const std::uint8_t mode = in.Byte();
    const std::string_view rest = in.Rest();
    const std::u16string text = orvfuzz::AsText(rest, mode);
    // Exactly `capacity` bytes on the heap, so a write past it is caught.
    auto out = std::make_unique<unsigned char[]>(capacity + 1);
    const std::size_t expected = std::min(text.size() / 2, capacity);
    ORV_FUZZ_CHECK(orv::DecodeDocumentHex(text, out.get(), capacity) == expected);
    ORV_FUZZ_CHECK(orv::DecodeMonthHex(text, out.get(), capacity) == expected);

    // The raw bytes written as hexadecimal come back through both decoders.
    Bstr hex = Bstr::Attach(orv::EncodeHexBstr(rest.data(), rest.size()));
    ORV_FUZZ_CHECK(hex && hex.Length() == 2 * rest.size());
    std::vector<unsigned char> a(rest.size()), b(rest.size());
    ORV_FUZZ_CHECK(orv::DecodeDocumentHex(hex.View(), a.data(), a.size()) == rest.size());
    ORV_FUZZ_CHECK(orv::DecodeMonthHex(hex.View(), b.data(), b.size()) == rest.size());
    ORV_FUZZ_CHECK(std::equal(a.begin(), a.end(), rest.begin(), [](unsigned char x, char y) { return x == static_cast<unsigned char>(y); }));
    ORV_FUZZ_CHECK(std::equal(b.begin(), b.end(), rest.begin(), [](unsigned char x, char y) { return x == static_cast<unsigned char>(y); }));
}

void OemFields(Input& in) {
    const std::size_t width = in.Byte();
    const std::u16string text = orvfuzz::AsText(in.Rest(), width >> 6);
    auto field = std::make_unique<char[]>(width);  // exactly the field
    std::memset(field.get(), 0x55, width);
    orv::WriteOemField(field.get(), width, text.c_str());
    if (width == 0) return;
    ORV_FUZZ_CHECK(field[width - 1] == 0);
    Bstr read = Bstr::Attach(orv::ReadOemField(field.get(), width));
    ORV_FUZZ_CHECK(read);
    const std::u16string_view written = std::u16string_view(text).substr(0, text.find(u'\0'));
    const std::size_t kept = std::min(written.size(), width - 1);
    ORV_FUZZ_CHECK(read.Length() <= kept);
    for (std::size_t i = 0; i < read.Length(); ++i) ORV_FUZZ_CHECK(read.View()[i] == written[i] || read.View()[i] == u'?');
    // Bytes with no NUL in the field: the reader stops at the width.
    std::memset(field.get(), 'A', width);
    Bstr full = Bstr::Attach(orv::ReadOemField(field.get(), width));
    ORV_FUZZ_CHECK(full.Length() == width);
    orv::COemToWChar wide(field.get(), width);
    ORV_FUZZ_CHECK(wide.Length() == width);
    orv::CTCharToOem oem(text.c_str());
    ORV_FUZZ_CHECK(oem.Length() == written.size());
    Bstr record = Bstr::Attach(orv::RecordToBstr(text.data(), text.size() * 2));
    std::vector<char> back(width);
    ORV_FUZZ_CHECK(orv::BstrToRecord(record, back.data(), width) == std::min(width, text.size() * 2));
}

// ------------------------------------------------------------ the document

ComPtr<IOrvObjAsXmlString> NewDocument() {
    ComPtr<IOrvObjAsXmlString> doc;
    ORV_FUZZ_CHECK(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvObjAsXmlString,
                                    reinterpret_cast<void**>(doc.GetAddressOf())) == S_OK);
    return doc;
}

Bstr FullString(IOrvObjAsXmlString* doc) {
    Bstr text;
    ORV_FUZZ_CHECK(doc->get_FullString(text.ReleaseAndGetAddressOf()) == S_OK);
    return text;
}

std::string Record(IOrvObjAsXmlString* form) {
    ComPtr<IOrvDocument> doc;
    ORV_FUZZ_CHECK(form->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(doc.GetAddressOf())) == S_OK);
    Bstr record;
    ORV_FUZZ_CHECK(doc->get_DocRecord(record.ReleaseAndGetAddressOf()) == S_OK);
    ORV_FUZZ_CHECK(record.ByteLength() == orv::docrec::kSize);
    return std::string(reinterpret_cast<const char*>(record.Get()), record.ByteLength());
}

// The DOCRECORD attribute of the text's ORVDOCUMENT element, decoded; empty
// when the text does not load or has none.
std::string RecordAttribute(BSTR text) {
    ComPtr<IXMLDOMDocument> dom;
    ORV_FUZZ_CHECK(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                    reinterpret_cast<void**>(dom.GetAddressOf())) == S_OK);
    VARIANT_BOOL ok = VARIANT_FALSE;
    dom->loadXML(text, &ok);
    ComPtr<IXMLDOMNode> node;
    if (dom->selectSingleNode(Bstr(u"ORVDOCUMENT"), node.GetAddressOf()) != S_OK) return {};
    ComPtr<IXMLDOMElement> element;
    if (node.As(&element) != S_OK) return {};
    Variant value;
    if (element->getAttribute(Bstr(u"DOCRECORD"), value.Out()) != S_OK || value.vt != VT_BSTR) return {};
    std::string bytes(orv::docrec::kSize, '\0');
    orv::DecodeDocumentHex(View(value.bstrVal), bytes.data(), bytes.size());
    return bytes;
}

void Document(Input& in) {
    static orvfuzz::HostEnvironment environment;
    const std::uint8_t mode = in.Byte();
    Bstr text(orvfuzz::AsText(in.Rest(), mode));

    ComPtr<IOrvObjAsXmlString> doc = NewDocument();
    const Bstr before = FullString(doc.Get());
    const HRESULT hr = doc->put_FullString(text);
    const Bstr after = FullString(doc.Get());
    const std::string record = Record(doc.Get());
    if (hr == E_INVALIDARG || hr == E_POINTER) {
        // Refused for its form: nothing was taken.
        ORV_FUZZ_CHECK(after.View() == before.View());
        return;
    }
    if (FAILED(hr)) return;
    ORV_FUZZ_CHECK(record == RecordAttribute(text));

    // What the document writes, another document reads to the same text.
    ComPtr<IOrvObjAsXmlString> copy = NewDocument();
    ORV_FUZZ_CHECK(copy->put_FullString(after) == S_OK);
    ORV_FUZZ_CHECK(FullString(copy.Get()).View() == after.View());
    ORV_FUZZ_CHECK(Record(copy.Get()) == record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    switch (in.Byte() % 5) {
    case 0: Lenient(in); break;
    case 1: WrittenTextsComeBack(in); break;
    case 2: Hex(in); break;
    case 3: OemFields(in); break;
    case 4: Document(in); break;
    }
    return 0;
}
