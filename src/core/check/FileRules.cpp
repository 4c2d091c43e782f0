#include "FileRules.h"

#include "core/tree/XmlNavigation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace velkor {

namespace {

constexpr qsizetype MaxFileSize = 1000000;
constexpr qsizetype MaxFileSizeWithAttachment = 3000000;

// The first character refused by the national system, or a UTF-8 error.
struct TextScan
{
    qsizetype invalidAt = -1; // byte offset of the first malformed UTF-8 sequence
    std::optional<char32_t> refused;
    int refusedLine = 0;
    int refusedCount = 0;
    int instructions = 0;         // processing instructions, the XML declaration aside
    QByteArray firstInstruction;  // the first one's target
};

// Decodes one UTF-8 sequence; returns its length, 0 when malformed.
int decodeUtf8(const unsigned char *p, qsizetype available, char32_t &codePoint)
{
    const unsigned char lead = p[0];
    int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || length > available)
        return 0;
    codePoint = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (p[k] & 0x3F);
    }
    static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

// A character reference "&#...;" at `i`, if one starts there.
std::optional<char32_t> characterReference(const QByteArray &bytes, qsizetype i)
{
    if (i + 1 >= bytes.size() || bytes[i + 1] != '#')
        return std::nullopt;
    const qsizetype end = bytes.indexOf(';', i);
    if (end < 0 || end - i > 12)
        return std::nullopt;
    QByteArray digits = bytes.mid(i + 2, end - i - 2);
    bool ok = false;
    const uint value = digits.startsWith('x') ? digits.mid(1).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
    return ok ? std::optional<char32_t>(value) : std::nullopt;
}

// Whether none of eight bytes is 0x7F or above, '&' or '?'.
bool plainAscii(const unsigned char *p)
{
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const auto hasByte = [](std::uint64_t w, unsigned char b) {
        const std::uint64_t x = w ^ (ones * b);
        return ((x - ones) & ~x & highs) != 0;
    };
    return (word & highs) == 0 && !hasByte(word, 0x7F) && !hasByte(word, '&') && !hasByte(word, '?');
}

// Whether the markup at `at` lies inside a comment or a CDATA section,
// where "<?" is text.
bool insideTextSection(const QByteArray &bytes, qsizetype at)
{
    const auto inside = [&](QByteArrayView open, QByteArrayView close) {
        const qsizetype opened = bytes.lastIndexOf(open, at);
        return opened >= 0 && bytes.indexOf(close, opened + open.size()) + close.size() > at;
    };
    return inside("<!--", "-->") || inside("<![CDATA[", "]]>");
}

TextScan scan(const QByteArray &bytes)
{
    TextScan result;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    const auto found = [&](char32_t character, qsizetype at) {
        if (result.refusedCount++ == 0) {
            result.refused = character;
            result.refusedLine = 1 + int(std::count(data, data + at, '\n'));
        }
    };
    for (qsizetype i = 0; i < size;) {
        // Most of an invoice is plain ASCII with nothing to look at: skip it
        // eight bytes at a time, then byte by byte.
        while (i + 8 <= size && plainAscii(data + i))
            i += 8;
        while (i < size && data[i] < 0x7F && data[i] != '&' && data[i] != '?')
            ++i;
        if (i == size)
            break;
        if (data[i] == '?') {
            // "<?" opens a processing instruction, or the XML declaration
            // at the very start (after a byte-order mark, if any).
            const qsizetype start = i - 1;
            const bool declaration = (start == 0 || (start == 3 && bytes.startsWith("\xEF\xBB\xBF")))
                                     && bytes.mid(start, 6).startsWith("<?xml") && start + 5 < size
                                     && QByteArrayView(" \t\r\n").contains(bytes[start + 5]);
            if (start >= 0 && data[start] == '<' && !declaration && !insideTextSection(bytes, start)) {
                if (result.instructions++ == 0) {
                    qsizetype end = i + 1;
                    while (end < size && !QByteArrayView(" \t\r\n?").contains(bytes[end]))
                        ++end;
                    result.firstInstruction = bytes.mid(i + 1, end - i - 1);
                }
            }
            ++i;
            continue;
        }
        if (data[i] == '&') {
            // A character reference counts as the character it stands for.
            const std::optional<char32_t> referenced = characterReference(bytes, i);
            if (referenced && isRefusedCharacter(*referenced))
                found(*referenced, i);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const int length = decodeUtf8(data + i, size - i, codePoint);
        if (length == 0) {
            result.invalidAt = i;
            return result;
        }
        if (isRefusedCharacter(codePoint))
            found(codePoint, i);
        i += length;
    }
    return result;
}

// The encoding an XML declaration names, if it names one.
QByteArray declaredEncoding(const QByteArray &bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const QByteArray declaration = bytes.left(std::max<qsizetype>(bytes.indexOf("?>"), 0));
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    qsizetype open = at;
    while (open < declaration.size() && declaration[open] != '"' && declaration[open] != '\'')
        ++open;
    const qsizetype close = open < declaration.size() ? declaration.indexOf(declaration[open], open + 1) : -1;
    return close < 0 ? QByteArray() : declaration.mid(open + 1, close - open - 1);
}

QString hexCode(char32_t codePoint)
{
    return QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

bool isRefusedCharacter(char32_t c)
{
    return (c >= 0x7F && c <= 0x84) || (c >= 0x86 && c <= 0x9F) || (c >= 0xFDD0 && c <= 0xFDEF)
           || (c & 0xFFFE) == 0xFFFE;
}

std::vector<Finding> checkFileRules(const InvoiceDocument &document)
{
    std::vector<Finding> findings;
    const QByteArray &bytes = document.sourceBytes();
    const bool pasted = document.sourceKind() == InvoiceDocument::SourceKind::Text;
    if (pasted) {
        findings.push_back({Mark::Info, QStringLiteral("Faktura wklejona jako tekst: sprawdzono ten tekst zapisany w UTF-8; "
                                                       "oryginalny plik może się różnić.")});
    }

    const TextScan text = scan(bytes);
    const QByteArray encoding = declaredEncoding(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        findings.push_back({Mark::Error, QStringLiteral("Plik zaczyna się znacznikiem kolejności bajtów (BOM); KSeF przyjmuje UTF-8 bez BOM.")});
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        findings.push_back({Mark::Error, QStringLiteral("Plik jest zapisany w UTF-16; KSeF przyjmuje tylko UTF-8.")});
    else if (text.invalidAt >= 0)
        findings.push_back({Mark::Error, QStringLiteral("Plik nie jest poprawnym tekstem UTF-8 (bajt %1).").arg(text.invalidAt + 1)});
    else if (!encoding.isEmpty() && encoding.compare("UTF-8", Qt::CaseInsensitive) != 0)
        findings.push_back({Mark::Error, QStringLiteral("Deklaracja XML podaje kodowanie %1; KSeF przyjmuje tylko UTF-8.")
                                             .arg(QString::fromLatin1(encoding))});
    else
        findings.push_back({Mark::Ok, QStringLiteral("Kodowanie UTF-8 bez znacznika BOM.")});

    if (text.instructions > 0)
        findings.push_back({Mark::Error, QStringLiteral("Plik zawiera instrukcje przetwarzania (%1, pierwsza: <?%2 ...?>); KSeF ich nie przyjmuje.")
                                             .arg(text.instructions)
                                             .arg(QString::fromUtf8(text.firstInstruction))});
    else
        findings.push_back({Mark::Ok, QStringLiteral("Brak instrukcji przetwarzania.")});

    if (text.refused)
        findings.push_back({Mark::Error, QStringLiteral("Znaki niedozwolone w KSeF: %1, pierwszy %2 w linii %3.")
                                             .arg(text.refusedCount)
                                             .arg(hexCode(*text.refused))
                                             .arg(text.refusedLine)});
    else if (text.invalidAt < 0)
        findings.push_back({Mark::Ok, QStringLiteral("Brak znaków niedozwolonych w KSeF.")});

    const bool attachment = FaPath(document, "n:Faktura/n:Zalacznik").selectFirst() != nullptr;
    const qsizetype limit = attachment ? MaxFileSizeWithAttachment : MaxFileSize;
    const QString size = QStringLiteral("Rozmiar %1 (limit %2%3).")
                             .arg(countOf(bytes.size(), "bajt", "bajty", "bajtów"))
                             .arg(limit)
                             .arg(attachment ? QStringLiteral(" z załącznikiem") : QString());
    findings.push_back({bytes.size() <= limit ? Mark::Ok : Mark::Error, size});
    return findings;
}

} // namespace velkor
