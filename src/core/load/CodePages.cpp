#include "CodePages.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <libxml/encoding.h>
#include <windows.h>

#include <array>
#include <string>
#endif

namespace velkor {

#if defined(Q_OS_WIN)
namespace {

// The character of each byte in the code page, from Windows' own tables;
// 0 where the code page leaves the byte undefined.
template <unsigned CodePage>
const std::array<char16_t, 256> &codePageTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> characters{};
        for (int byte = 1; byte < 256; ++byte) {
            const char in = char(byte);
            wchar_t out = 0;
            if (MultiByteToWideChar(CodePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) == 1)
                characters[byte] = char16_t(out);
        }
        return characters;
    }();
    return table;
}

// libxml2's input converter: the code page's bytes into UTF-8. Converts as
// much as fits, reports in *inlen and *outlen how much was read and written,
// and returns the bytes written, or -2 at an undefined byte.
template <unsigned CodePage>
int decodeCodePage(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    const auto &table = codePageTable<CodePage>();
    int read = 0, written = 0, result = 0;
    for (; read < *inlen; ++read) {
        const char16_t c = table[in[read]];
        if (c == 0) {
            result = -2;
            break;
        }
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (written + size > *outlen)
            break;
        if (size == 1) {
            out[written] = (unsigned char)c;
        } else if (size == 2) {
            out[written] = (unsigned char)(0xC0 | (c >> 6));
            out[written + 1] = (unsigned char)(0x80 | (c & 0x3F));
        } else {
            out[written] = (unsigned char)(0xE0 | (c >> 12));
            out[written + 1] = (unsigned char)(0x80 | ((c >> 6) & 0x3F));
            out[written + 2] = (unsigned char)(0x80 | (c & 0x3F));
        }
        written += size;
    }
    *inlen = read;
    *outlen = written;
    return result < 0 ? result : written;
}

template <unsigned CodePage>
void registerCodePage()
{
    const std::string number = std::to_string(CodePage);
    // Creating the handler registers it under its name.
    xmlNewCharEncodingHandler(("windows-" + number).c_str(), decodeCodePage<CodePage>, nullptr);
    xmlAddEncodingAlias(("windows-" + number).c_str(), ("cp" + number).c_str());
}

} // namespace

void registerWindowsCodePages()
{
    static const bool registered = [] {
        registerCodePage<1250>();
        registerCodePage<1251>();
        registerCodePage<1252>();
        registerCodePage<1253>();
        registerCodePage<1254>();
        registerCodePage<1255>();
        registerCodePage<1256>();
        registerCodePage<1257>();
        registerCodePage<1258>();
        return true;
    }();
    Q_UNUSED(registered);
}
#else
void registerWindowsCodePages() {}
#endif

} // namespace velkor
