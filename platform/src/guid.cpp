// GUID text: the braced registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <orvdocs/platform/types.h>

namespace {

constexpr int kGuidChars = 38;  // without the terminating NUL

int HexValue(OLECHAR c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads `digits` hex digits starting at text[pos]; false on any non-hex character.
bool ReadHex(const OLECHAR* text, int pos, int digits, std::uint32_t& out) {
    std::uint32_t v = 0;
    for (int i = 0; i < digits; ++i) {
        const int h = HexValue(text[pos + i]);
        if (h < 0) return false;
        v = (v << 4) | static_cast<std::uint32_t>(h);
    }
    out = v;
    return true;
}

// Strict parse of the braced form. Characters are read in order and reading
// stops at the first mismatch, so a short text fails on its NUL (not a hex
// digit, not a separator) and nothing past it is ever read.
bool ParseBraced(const OLECHAR* text, GUID& out) {
    if (text[0] != u'{') return false;
    std::uint32_t d1, d2, d3, w;
    GUID g{};
    if (!ReadHex(text, 1, 8, d1) || text[9] != u'-') return false;
    if (!ReadHex(text, 10, 4, d2) || text[14] != u'-') return false;
    if (!ReadHex(text, 15, 4, d3) || text[19] != u'-') return false;
    if (!ReadHex(text, 20, 2, w)) return false;
    g.Data4[0] = static_cast<std::uint8_t>(w);
    if (!ReadHex(text, 22, 2, w) || text[24] != u'-') return false;
    g.Data4[1] = static_cast<std::uint8_t>(w);
    for (int i = 0; i < 6; ++i) {
        if (!ReadHex(text, 25 + 2 * i, 2, w)) return false;
        g.Data4[2 + i] = static_cast<std::uint8_t>(w);
    }
    if (text[37] != u'}' || text[38] != 0) return false;
    g.Data1 = d1;
    g.Data2 = static_cast<std::uint16_t>(d2);
    g.Data3 = static_cast<std::uint16_t>(d3);
    out = g;
    return true;
}

HRESULT GuidFromString(LPCOLESTR text, GUID* out) {
    if (!out) return E_INVALIDARG;
    if (!text) {  // a null text stands for the null identifier
        *out = GUID_NULL;
        return S_OK;
    }
    return ParseBraced(text, *out) ? S_OK : CO_E_CLASSSTRING;
}

}  // namespace

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) { return GuidFromString(text, clsid); }

HRESULT IIDFromString(LPCOLESTR text, IID* iid) { return GuidFromString(text, iid); }

int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax) {
    if (!buffer || cchMax < kGuidChars + 1) return 0;
    static constexpr char kHex[] = "0123456789ABCDEF";
    int pos = 0;
    auto put = [&](std::uint32_t v, int digits) {
        for (int i = digits - 1; i >= 0; --i) buffer[pos++] = static_cast<OLECHAR>(kHex[(v >> (4 * i)) & 0xF]);
    };
    buffer[pos++] = u'{';
    put(guid.Data1, 8);
    buffer[pos++] = u'-';
    put(guid.Data2, 4);
    buffer[pos++] = u'-';
    put(guid.Data3, 4);
    buffer[pos++] = u'-';
    put(guid.Data4[0], 2);
    put(guid.Data4[1], 2);
    buffer[pos++] = u'-';
    for (int i = 2; i < 8; ++i) put(guid.Data4[i], 2);
    buffer[pos++] = u'}';
    buffer[pos++] = 0;
    return pos;
}
