#include "components/formats/legacy_text.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

// A double-byte character, lead byte high; 0 stands for none.
using Code = std::uint16_t;

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// The ASCII signs other than digits and letters, each a full-width sign.
constexpr std::pair<unsigned char, Code> kSigns[] = {
    {0x20, 0x8140}, {0x21, 0x8149}, {0x22, 0x8168}, {0x23, 0x8194}, {0x24, 0x8190}, {0x25, 0x8193},
    {0x26, 0x8195}, {0x27, 0x8166}, {0x28, 0x8169}, {0x29, 0x816A}, {0x2A, 0x8196}, {0x2B, 0x817B},
    {0x2C, 0x8143}, {0x2D, 0x817C}, {0x2E, 0x8144}, {0x2F, 0x815E}, {0x3A, 0x8146}, {0x3B, 0x8147},
    {0x3C, 0x8183}, {0x3D, 0x8181}, {0x3E, 0x8184}, {0x3F, 0x8148}, {0x40, 0x8197}, {0x5B, 0x816D},
    {0x5C, 0x818F}, {0x5D, 0x816E}, {0x5E, 0x814F}, {0x5F, 0x8151}, {0x60, 0x814D}, {0x7B, 0x816F},
    {0x7C, 0x8162}, {0x7D, 0x8170}, {0x7E, 0x8160},
};

// Runs of consecutive bytes, each giving the next character of a text.
struct Run {
    unsigned char first;
    const char* utf8;
};

// The legacy code's kanji, signs and hiragana in its control and upper
// positions, and the katakana of the JIS X 0201 positions 0xA6-0xDD.
constexpr Run kLegacyRuns[] = {
    {0x01, "月火水木金土日年円時分秒百千万π"},
    {0x1D, "大中小"},
    {0xA1, "。「」、・"},
    {0xA6, "ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"},
    {0x86, "をぁぃぅぇぉゃゅょっ"},
    {0x91, "あいうえおかきくけこさしすせそ"},
    {0xE0, "たちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん"},
};

// The half-width kana 0xA6-0xDD in either script; 0xB0 is the long vowel.
constexpr const char* kHalfWidthHiragana =
    "をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん";
constexpr const char* kHalfWidthKatakana =
    "ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";

template <class Table>
void fillRun(Table& table, unsigned char first, const char* utf8)
{
    const SjisString bytes = sj(utf8);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        table[first + i / 2] = Code(std::uint8_t(bytes[i]) << 8 | std::uint8_t(bytes[i + 1]));
}

// Digits, letters and signs of ASCII as full-width characters.
void fillAscii(std::array<Code, 256>& code)
{
    for (unsigned b = '0'; b <= '9'; ++b)
        code[b] = Code(0x8200 | (b + 0x1F));
    for (unsigned b = 'A'; b <= 'Z'; ++b)
        code[b] = Code(0x8200 | (b + 0x1F));
    for (unsigned b = 'a'; b <= 'z'; ++b)
        code[b] = Code(0x8200 | (b + 0x20));
    for (auto [b, c] : kSigns)
        code[b] = c;
}

// Modes 0 and 10: a character per byte; a byte without one is copied.
struct LegacyTable {
    std::array<Code, 256> code{};
    std::array<bool, 256> takesMark{};  // a voicing mark after it raises the trail byte
};

const LegacyTable& legacyTable()
{
    static const LegacyTable table = [] {
        LegacyTable t;
        for (auto [b, c] : kSigns)
            t.code[b] = c;
        for (const Run& r : kLegacyRuns)
            fillRun(t.code, r.first, r.utf8);
        for (std::size_t b = 0; b < 256; ++b)
            t.takesMark[b] = t.code[b] != 0;
        fillAscii(t.code);  // digits and letters take no mark
        return t;
    }();
    return table;
}

// Modes 21 and above.
struct HalfWidthTable {
    std::array<Code, 256> code{};      // a byte's own character; 0: nothing
    std::array<Code, 256> voiced{};    // the character of the byte and 0xDE
    std::array<Code, 256> semiVoiced{};  // of the byte and 0xDF
};

HalfWidthTable makeHalfWidthTable(const char* kana, Code vu)
{
    HalfWidthTable t;
    fillAscii(t.code);
    t.code[0x5E] = 0x81C8;  // ∧
    t.code[0x75] = 0x83CA;  // μ
    t.code[0x78] = 0x817E;  // ×
    t.code[0x5F] = 0x8140;
    t.code[0xA5] = 0x8145;
    fillRun(t.code, 0xA6, kana);
    t.voiced[0xB3] = vu;
    for (unsigned b = 0xB6; b <= 0xC4; ++b)  // ｶ to ﾄ
        t.voiced[b] = Code(t.code[b] + 1);
    for (unsigned b = 0xCA; b <= 0xCE; ++b) {  // ﾊ to ﾎ
        t.voiced[b] = Code(t.code[b] + 1);
        t.semiVoiced[b] = Code(t.code[b] + 2);
    }
    return t;
}

const HalfWidthTable& halfWidthTable(bool hiragana)
{
    static const HalfWidthTable toHiragana = makeHalfWidthTable(kHalfWidthHiragana, 0x82A4);  // う
    static const HalfWidthTable toKatakana = makeHalfWidthTable(kHalfWidthKatakana, 0x8394);  // ヴ
    return hiragana ? toHiragana : toKatakana;
}

bool isHalfWidthLeadByte(unsigned char b) { return (b >= 0x80 && b <= 0xA0) || b >= 0xE0; }

void put(SjisString& out, Code c)
{
    out += char(c >> 8);
    out += char(c & 0xFF);
}

// The walk of one mode over the bytes; false at the first failure.
class Walk {
public:
    explicit Walk(std::string_view in) : in_(in) { out_.reserve(in.size() * 2); }

    SjisString& out() { return out_; }

    void legacy()
    {
        const LegacyTable& t = legacyTable();
        for (std::size_t i = 0; i < in_.size(); ++i) {
            const unsigned char b = at(i);
            Code c = t.code[b];
            if (!c) {
                out_ += char(b);
                continue;
            }
            const unsigned char n = at(i + 1);
            if (t.takesMark[b] && (n == kVoicedMark || n == kSemiVoicedMark)) {
                c = b == 0xB3 && n == kVoicedMark ? Code(0x8394) : Code((c & 0xFF00) | ((c + (n - 0xDD)) & 0xFF));
                ++i;
            }
            put(out_, c);
        }
    }

    bool digitPairs()
    {
        for (std::size_t i = 0; i < in_.size(); i += 2) {
            const unsigned char b = at(i);
            if (b >= '0' && b <= '9')
                out_ += char(b);
            else if (b != 0x21)
                return false;
        }
        return true;
    }

    bool jisPairs(bool dropSpaces)
    {
        for (std::size_t i = 0; i < in_.size(); i += 2) {
            const unsigned cell = at(i), row = at(i + 1);
            if (row == 0x22 && cell >= 0x2F && cell <= 0x3A) {
                put(out_, cell == 0x2F ? 0x878A : cell == 0x30 ? 0x878B : Code(0x8700 | (cell + 0x23)));
                continue;
            }
            if (dropSpaces && cell == 0x21 && row == 0x21)
                continue;
            if (cell < 0x21 || cell == 0x7F)
                return false;
            const unsigned trail = row % 2 ? cell + 0x1F + (cell >= 0x60 ? 1 : 0) : cell + 0x7E;
            const unsigned lead = (row + 1) / 2 + (row <= 0x5E ? 0x70 : 0xB0);
            out_ += char(lead & 0xFF);
            out_ += char(trail & 0xFF);
        }
        return true;
    }

    void halfWidth(bool hiragana)
    {
        const HalfWidthTable& t = halfWidthTable(hiragana);
        for (std::size_t i = 0; i < in_.size(); ++i) {
            const unsigned char b = at(i);
            const bool last = i + 1 == in_.size();
            const unsigned char n = at(i + 1);
            if (b == ' ') {
                if (!last && n != ' ')
                    put(out_, 0x8140);
            } else if (n == kVoicedMark && t.voiced[b]) {
                put(out_, t.voiced[b]);
                ++i;
            } else if (n == kSemiVoicedMark && t.semiVoiced[b]) {
                put(out_, t.semiVoiced[b]);
                ++i;
            } else if (t.code[b]) {
                put(out_, t.code[b]);
            } else if (isHalfWidthLeadByte(b)) {
                out_ += char(b);
                if (!last)
                    out_ += char(n);
                ++i;
            }
        }
    }

private:
    // The byte at i; past the end 0.
    unsigned char at(std::size_t i) const { return i < in_.size() ? static_cast<unsigned char>(in_[i]) : 0; }

    std::string_view in_;
    SjisString out_;
};

bool walk(Walk& w, std::string_view text, int mode)
{
    if (mode == 20) {
        w.out() = text;
        return true;
    }
    if (mode == 0 || mode == 10) {
        w.legacy();
        return true;
    }
    if (mode == 3)
        return w.digitPairs();
    if (mode < 21)
        return w.jisPairs(mode == 1);
    w.halfWidth(mode == 21);
    return true;
}

}  // namespace

bool ConvertLegacyText(SjisString& text, int mode)
{
    Walk w(text);
    if (!walk(w, text, mode))
        return false;
    text = sjis::trim(w.out());
    return true;
}
