#include "components/core/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>

TextEncodingError::TextEncodingError(const QString& message, char32_t offending)
    : std::runtime_error(message.toStdString()), message_(message), offending_(offending)
{
}

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Conversion tables built once from glibc's CP932 converter. Decoding uses
// a table per byte pair; encoding asks the same converter which code it
// prefers for each character, so duplicates (NEC and IBM rows) come out the
// way Windows writes them.
struct Tables {
    std::array<char16_t, 256> single{};              // one-byte characters
    std::array<char16_t, 256 * 256> pair{};          // two-byte characters
    std::unordered_map<char16_t, uint16_t> encoder;  // BMP character -> code

    Tables()
    {
        iconv_t toUtf16 = iconv_open("UTF-16LE", "CP932");
        iconv_t fromUtf16 = iconv_open("CP932", "UTF-16LE");
        if (toUtf16 == (iconv_t)-1 || fromUtf16 == (iconv_t)-1)
            throw std::runtime_error("glibc has no CP932 converter");
        single.fill(kReplacement);
        pair.fill(kReplacement);
        for (int b = 0; b < 256; ++b) {
            if (sjis::isLeadByte(b))
                continue;
            char in[1] = {char(b)};
            single[b] = convertOne(toUtf16, in, 1);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!sjis::isLeadByte(lead))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                char in[2] = {char(lead), char(trail)};
                pair[lead * 256 + trail] = convertOne(toUtf16, in, 2);
            }
        }
        auto learn = [&](char16_t c) {
            if (c == kReplacement || encoder.count(c))
                return;
            char in[2] = {char(c & 0xFF), char(c >> 8)};
            char out[4];
            char* ip = in;
            char* op = out;
            size_t il = 2, ol = sizeof out;
            iconv(fromUtf16, nullptr, nullptr, nullptr, nullptr);
            if (iconv(fromUtf16, &ip, &il, &op, &ol) == size_t(-1))
                return;
            size_t n = sizeof out - ol;
            encoder[c] = n == 1 ? uint8_t(out[0]) : uint16_t(uint8_t(out[0]) << 8 | uint8_t(out[1]));
        };
        for (char16_t c : single)
            learn(c);
        for (char16_t c : pair)
            learn(c);
        iconv_close(toUtf16);
        iconv_close(fromUtf16);
        // Characters Linux input methods produce for JIS code points.
        const std::pair<char16_t, char16_t> twins[] = {
            {0x301C, 0xFF5E}, {0x2212, 0xFF0D}, {0x2016, 0x2225}, {0x00A2, 0xFFE0},
            {0x00A3, 0xFFE1}, {0x00AC, 0xFFE2}, {0x2014, 0x2015},
        };
        for (auto [variant, twin] : twins)
            if (!encoder.count(variant) && encoder.count(twin))
                encoder[variant] = encoder[twin];
    }

    static char16_t convertOne(iconv_t cd, char* in, size_t len)
    {
        char out[8];
        char* ip = in;
        char* op = out;
        size_t il = len, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1) || il != 0 || sizeof out - ol != 2)
            return kReplacement;
        return char16_t(uint8_t(out[0]) | uint8_t(out[1]) << 8);
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// Encodes text, stopping at the first character CP932 cannot hold.
bool encodeInto(const QString& text, SjisString* out, char32_t* offending)
{
    const Tables& t = tables();
    if (out)
        out->reserve(out->size() + text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) || QChar::isLowSurrogate(c)) {
            if (offending) {
                *offending = (QChar::isHighSurrogate(c) && i + 1 < text.size())
                                 ? QChar::surrogateToUcs4(c, text[i + 1].unicode())
                                 : char32_t(c);
            }
            return false;
        }
        if (c < 0x80) {
            if (out)
                out->push_back(char(c));
            continue;
        }
        auto it = t.encoder.find(c);
        if (it == t.encoder.end()) {
            if (offending)
                *offending = c;
            return false;
        }
        if (out) {
            if (it->second > 0xFF)
                out->push_back(char(it->second >> 8));
            out->push_back(char(it->second & 0xFF));
        }
    }
    return true;
}

// Text as it shows, and the byte offset where each of its characters
// starts (one more entry: the end of the bytes). A two-byte character is a
// lead byte whose pair is a character; any other byte is one character.
struct Characters {
    QString text;
    std::vector<std::size_t> starts;
};

Characters splitCharacters(std::string_view bytes, sjis::LineBreaks lineBreaks)
{
    const Tables& t = tables();
    Characters out;
    out.text.reserve(qsizetype(bytes.size()));
    out.starts.reserve(bytes.size() + 1);
    std::size_t i = 0;
    while (i < bytes.size()) {
        out.starts.push_back(i);
        const unsigned char b = bytes[i];
        if (lineBreaks == sjis::LineBreaks::Unified && (b == '\r' || b == '\n')) {
            out.text.append(QLatin1Char('\n'));
            i += (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        if (sjis::isLeadByte(b) && i + 1 < bytes.size()) {
            const char16_t c = t.pair[b * 256 + uint8_t(bytes[i + 1])];
            if (c != kReplacement) {
                out.text.append(QChar(c));
                i += 2;
                continue;
            }
        }
        out.text.append(QChar(b < 0x80 ? char16_t(b) : t.single[b]));
        ++i;
    }
    out.starts.push_back(bytes.size());
    return out;
}

// Typed text as bytes; with unified line breaks a '\n' becomes CR LF.
SjisString encodeTyped(const QString& text, sjis::LineBreaks lineBreaks)
{
    if (lineBreaks == sjis::LineBreaks::AsIs)
        return sjis::encode(text);
    SjisString out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k > 0)
            out += "\r\n";
        out += sjis::encode(lines[k]);
    }
    return out;
}

}  // namespace

namespace sjis {

QString decode(std::string_view bytes)
{
    const Tables& t = tables();
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = bytes[i];
        if (isLeadByte(b) && i + 1 < bytes.size()) {
            char16_t c = t.pair[b * 256 + uint8_t(bytes[i + 1])];
            if (c != kReplacement) {
                out.append(QChar(c));
                ++i;
                continue;
            }
        }
        out.append(QChar(b < 0x80 ? char16_t(b) : t.single[b]));
    }
    return out;
}

std::size_t findNonText(std::string_view bytes, std::size_t from)
{
    const Tables& t = tables();
    for (std::size_t i = from; i < bytes.size(); ++i) {
        const unsigned char b = bytes[i];
        if (b >= 0x01 && b < 0x80)
            continue;
        if (!isLeadByte(b)) {
            if (b == 0 || b == 0x80 || b == 0xA0 || b >= 0xFD || t.single[b] == kReplacement)
                return i;
            continue;
        }
        if (i + 1 == bytes.size() || t.pair[b * 256 + uint8_t(bytes[i + 1])] == kReplacement)
            return i;
        ++i;
    }
    return std::string_view::npos;
}

QString excerpt(std::string_view bytes, std::size_t maxBytes)
{
    if (bytes.size() <= maxBytes)
        return decode(bytes);
    return decode(cutBytes(bytes, maxBytes)) + QStringLiteral("…");
}

SjisString encode(const QString& text)
{
    SjisString out;
    char32_t bad = 0;
    if (!encodeInto(text, &out, &bad))
        throw TextEncodingError(sjis::refusalMessage(bad), bad);
    return out;
}

bool canEncode(const QString& text, char32_t* offending)
{
    return encodeInto(text, nullptr, offending);
}

QString decode(std::string_view bytes, LineBreaks lineBreaks)
{
    return lineBreaks == LineBreaks::AsIs ? decode(bytes) : splitCharacters(bytes, lineBreaks).text;
}

QString refusalMessage(char32_t offending)
{
    return QStringLiteral("「%1」は使用できない文字です。\r（この文字はシフトJISで表せないため保存できません。）")
        .arg(QString::fromUcs4(&offending, 1));
}

SjisString encodeEdit(std::string_view originalBytes, const QString& originalText, const QString& editedText,
                      LineBreaks lineBreaks)
{
    const Characters original = splitCharacters(originalBytes, lineBreaks);
    const qsizetype n = originalText.size(), m = editedText.size();
    if (std::size_t(n) + 1 != original.starts.size())
        return encodeTyped(editedText, lineBreaks);
    // The edit replaced the characters between a common beginning and a
    // common end.
    qsizetype p = 0;
    while (p < n && p < m && originalText[p] == editedText[p])
        ++p;
    qsizetype s = 0;
    while (s < n - p && s < m - p && originalText[n - 1 - s] == editedText[m - 1 - s])
        ++s;
    const std::size_t from = original.starts[std::size_t(p)];
    const std::size_t to = original.starts[std::size_t(n - s)];
    SjisString out(originalBytes.substr(0, from));
    out += encodeTyped(editedText.mid(p, m - p - s), lineBreaks);
    out += originalBytes.substr(to);
    return out;
}

std::vector<SjisString> encodeEditedLines(const std::vector<SjisString>& originalLines, const QStringList& editedLines)
{
    std::vector<QString> shown;
    shown.reserve(originalLines.size());
    for (const SjisString& l : originalLines)
        shown.push_back(decode(l));
    const std::size_t n = shown.size(), m = std::size_t(editedLines.size());
    std::size_t head = 0;
    while (head < n && head < m && shown[head] == editedLines[qsizetype(head)])
        ++head;
    std::size_t tail = 0;
    while (tail < n - head && tail < m - head && shown[n - 1 - tail] == editedLines[qsizetype(m - 1 - tail)])
        ++tail;

    // Between the common lines at both ends, the lines left as they were
    // are the longest common subsequence (for a middle too large to compare
    // line by line, none: its lines pair up in order).
    const std::size_t a = n - head - tail, b = m - head - tail;
    const bool compare = a * b <= 4'000'000;
    std::vector<std::uint32_t> common(compare ? (a + 1) * (b + 1) : 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return common[i * (b + 1) + j]; };
    if (compare)
        for (std::size_t i = a; i-- > 0;)
            for (std::size_t j = b; j-- > 0;)
                at(i, j) = shown[head + i] == editedLines[qsizetype(head + j)] ? at(i + 1, j + 1) + 1
                                                                              : std::max(at(i + 1, j), at(i, j + 1));

    std::vector<SjisString> out;
    out.reserve(m);
    out.insert(out.end(), originalLines.begin(), originalLines.begin() + std::ptrdiff_t(head));
    std::vector<std::size_t> removed, added;  // a gap between kept lines
    auto closeGap = [&] {
        for (std::size_t k = 0; k < added.size(); ++k) {
            const QString& edited = editedLines[qsizetype(added[k])];
            out.push_back(k < removed.size()
                              ? encodeEdit(originalLines[removed[k]], shown[removed[k]], edited)
                              : encode(edited));
        }
        removed.clear();
        added.clear();
    };
    std::size_t i = 0, j = 0;
    while (i < a || j < b) {
        if (compare && i < a && j < b && shown[head + i] == editedLines[qsizetype(head + j)]) {
            closeGap();
            out.push_back(originalLines[head + i]);
            ++i;
            ++j;
        } else if (j < b && (i == a || !compare || at(i, j + 1) >= at(i + 1, j))) {
            added.push_back(head + j++);
        } else {
            removed.push_back(head + i++);
        }
    }
    closeGap();
    out.insert(out.end(), originalLines.end() - std::ptrdiff_t(tail), originalLines.end());
    return out;
}

SjisString fromUtf8(std::string_view utf8)
{
    return encode(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

std::string toUtf8(std::string_view bytes)
{
    return decode(bytes).toStdString();
}

SjisString cutBytes(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t len = (isLeadByte(text[end]) && end + 1 < text.size()) ? 2 : 1;
        if (end + len > maxBytes)
            break;
        end += len;
    }
    return SjisString(text.substr(0, end));
}

SjisString trim(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && uint8_t(text[b]) <= 0x20)
        ++b;
    while (e > b && uint8_t(text[e - 1]) <= 0x20)
        --e;
    return SjisString(text.substr(b, e - b));
}

SjisString trimRight(std::string_view text)
{
    std::size_t e = text.size();
    while (e > 0 && uint8_t(text[e - 1]) <= 0x20)
        --e;
    return SjisString(text.substr(0, e));
}

std::size_t characterCount(std::string_view text)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++n)
        if (isLeadByte(text[i]) && i + 1 < text.size())
            ++i;
    return n;
}

bool isCharacterStart(std::string_view text, std::size_t pos)
{
    if (pos > text.size())
        return false;
    std::size_t i = 0;
    while (i < pos)
        i += (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
    return i == pos;
}

std::size_t findCharacters(std::string_view text, std::string_view needle, std::size_t from)
{
    if (from > text.size())
        return std::string_view::npos;
    std::size_t i = 0;
    while (i < from)
        i += (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
    for (; i + needle.size() <= text.size(); i += (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1) {
        if (text.compare(i, needle.size(), needle) == 0)
            return i;
    }
    return std::string_view::npos;
}

}  // namespace sjis
