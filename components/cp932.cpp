#include "components/cp932.h"

#include <iconv.h>

#include <array>
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

QString refusalMessage(char32_t c)
{
    return QStringLiteral("「%1」は使用できない文字です。\r（この文字はシフトJISで表せないため保存できません。）")
        .arg(QString::fromUcs4(&c, 1));
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

SjisString encode(const QString& text)
{
    SjisString out;
    char32_t bad = 0;
    if (!encodeInto(text, &out, &bad))
        throw TextEncodingError(refusalMessage(bad), bad);
    return out;
}

bool canEncode(const QString& text, char32_t* offending)
{
    return encodeInto(text, nullptr, offending);
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
    std::size_t i = 0;
    while (i < pos)
        i += (isLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
    return i == pos;
}

std::size_t findCharacters(std::string_view text, std::string_view needle, std::size_t from)
{
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
