#include "components/core/japanese_text.h"

#include <algorithm>
#include <array>

namespace {

// Full-width forms of the half-width katakana block U+FF61-U+FF9F.
constexpr char16_t kFullKatakana[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ',
    u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ',
    u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ',
    u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ',
    u'ン', u'゛', u'゜',
};
static_assert(std::size(kFullKatakana) == 0xDF - 0xA1 + 1);

constexpr unsigned char kVoiced = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoiced = 0xDF;  // ﾟ

// Full-width form of one single-byte character, joining a following voiced
// mark where the kana takes one. Sets `used` to the bytes consumed.
QString fullWidthOf(unsigned char b, int next, int& used)
{
    used = 1;
    if (b == 0x20)
        return QStringLiteral("　");
    if (b == 0x5C)
        return QStringLiteral("￥");  // Japanese fonts draw 0x5C as the yen sign
    if (b == 0x7E)
        return QStringLiteral("～");
    if (b > 0x20 && b < 0x7F)
        return QString(QChar(char16_t(0xFF00 + b - 0x20)));
    if (b >= 0xA1 && b <= 0xDF) {
        char16_t k = kFullKatakana[b - 0xA1];
        if (next == kVoiced) {
            if (k == u'ウ') {
                used = 2;
                return QStringLiteral("ヴ");
            }
            if ((k >= u'カ' && k <= u'ト' && k != u'ッ') || (k >= u'ハ' && k <= u'ホ')) {
                used = 2;
                return QString(QChar(char16_t(k + 1)));
            }
        }
        if (next == kSemiVoiced && k >= u'ハ' && k <= u'ホ') {
            used = 2;
            return QString(QChar(char16_t(k + 2)));
        }
        return QString(QChar(k));
    }
    return QString(QChar(char16_t(b)));  // control characters have no full-width form
}

const SjisString& fullWidthBytes(unsigned char b, int next, int& used)
{
    // Cache of the encoded forms: index 256 + b for joined voiced pairs.
    static const auto cache = [] {
        std::array<SjisString, 256 * 3> c;
        for (int b = 0x20; b <= 0xDF; ++b) {
            if (b > 0x7E && b < 0xA1)
                continue;
            int used;
            c[b] = sjis::encode(fullWidthOf(b, -1, used));
            c[256 + b] = sjis::encode(fullWidthOf(b, kVoiced, used));
            if (used == 1)
                c[256 + b].clear();
            c[512 + b] = sjis::encode(fullWidthOf(b, kSemiVoiced, used));
            if (used == 1)
                c[512 + b].clear();
        }
        return c;
    }();
    if (next == kVoiced && !cache[256 + b].empty()) {
        used = 2;
        return cache[256 + b];
    }
    if (next == kSemiVoiced && !cache[512 + b].empty()) {
        used = 2;
        return cache[512 + b];
    }
    used = 1;
    return cache[b];
}

}  // namespace

void ChangeChar(SjisString& text)
{
    const SjisString src = sjis::trim(text);
    SjisString out;
    out.reserve(src.size() * 2);
    for (std::size_t i = 0; i < src.size();) {
        unsigned char b = src[i];
        if ((b >= 0x80 && b <= 0x9F) || b >= 0xE0) {
            out.append(src, i, 2);
            i += 2;
            continue;
        }
        if (b < 0x20 || b == 0x7F || b == 0xA0) {
            out.push_back(char(b));
            ++i;
            continue;
        }
        int used;
        int next = i + 1 < src.size() ? uint8_t(src[i + 1]) : -1;
        out += fullWidthBytes(b, next, used);
        i += used;
    }
    text = std::move(out);
}

SjisString ChangeChar(std::string_view text)
{
    SjisString copy(text);
    ChangeChar(copy);
    return copy;
}

void ToHalfWidth(SjisString& text)
{
    SjisString out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char b = text[i];
        if (b <= 0x7E || (b >= 0xA1 && b <= 0xDF)) {
            out.push_back(char(b));
            continue;
        }
        if (i + 1 >= text.size()) {
            out.push_back(char(b));
            continue;
        }
        unsigned char t = text[++i];
        if (b == 0x82 && t >= 0x4F && t <= 0x79)
            out.push_back(char(t - 0x1F));
        else if (b == 0x82 && t >= 0x81 && t <= 0x9A)
            out.push_back(char(t - 0x20));
        else {
            out.push_back(char(b));
            out.push_back(char(t));
        }
    }
    text = std::move(out);
}

SjisString ToHalfWidth(std::string_view text)
{
    SjisString copy(text);
    ToHalfWidth(copy);
    return copy;
}

namespace {

struct Kana {
    SjisString hiragana;  // empty: not a kana of the reading
    int vowel = 0;        // 1 あ … 5 お, 0 none
};

// Hiragana of the half-width katakana bytes, alone and with a voiced or
// semi-voiced mark after them.
struct HiraganaTable {
    std::array<Kana, 256> single, voiced, semiVoiced;
    std::array<SjisString, 6> lengthening;

    HiraganaTable()
    {
        const char* singles[6] = {
            "ﾝん",
            "ｱあｶかｻさﾀたﾅなﾊはﾏまﾔやﾗらﾜわｧぁｬゃ",
            "ｲいｷきｼしﾁちﾆにﾋひﾐみﾘりｨぃ",
            "ｳうｸくｽすﾂつﾇぬﾌふﾑむﾕゆﾙるｩぅｭゅｯっ",
            "ｴえｹけｾせﾃてﾈねﾍへﾒめﾚれｪぇ",
            "ｵおｺこｿそﾄとﾉのﾎほﾓもﾖよﾛろｦをｫぉｮょ",
        };
        const char* voiceds[6] = {"", "ｶがｻざﾀだﾊば", "ｷぎｼじﾁぢﾋび", "ｸぐｽずﾂづﾌぶ", "ｹげｾぜﾃでﾍべ", "ｺごｿぞﾄどﾎぼ"};
        const char* semiVoiceds[6] = {"", "ﾊぱ", "ﾋぴ", "ﾌぷ", "ﾍぺ", "ﾎぽ"};
        const char* marks[6] = {"ー", "あ", "い", "う", "え", "お"};
        for (int v = 0; v < 6; ++v) {
            add(singles[v], v, single);
            add(voiceds[v], v, voiced);
            add(semiVoiceds[v], v, semiVoiced);
            lengthening[v] = sj(marks[v]);
        }
        voiced[0xB3] = {sj("う゛"), 3};  // ｳﾞ
    }

    // "ｱあｶか…": each half-width kana (one byte) followed by its hiragana.
    static void add(const char* utf8, int vowel, std::array<Kana, 256>& into)
    {
        SjisString s = sj(utf8);
        for (std::size_t i = 0; i + 3 <= s.size(); i += 3)
            into[uint8_t(s[i])] = {s.substr(i + 1, 2), vowel};
    }
};

const HiraganaTable& hiraganaTable()
{
    static const HiraganaTable t;
    return t;
}

}  // namespace

void ToHiragana(SjisString& text)
{
    const HiraganaTable& t = hiraganaTable();
    SjisString out;
    out.reserve(text.size() * 2);
    int vowel = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char b = text[i];
        if (sjis::isLeadByte(b) && i + 1 < text.size()) {
            out.append(text, i, 2);
            ++i;
            continue;
        }
        unsigned char next = i + 1 < text.size() ? uint8_t(text[i + 1]) : 0;
        const Kana* kana = nullptr;
        if (next == kVoiced && !t.voiced[b].hiragana.empty())
            kana = &t.voiced[b], ++i;
        else if (next == kSemiVoiced && !t.semiVoiced[b].hiragana.empty())
            kana = &t.semiVoiced[b], ++i;
        else if (!t.single[b].hiragana.empty())
            kana = &t.single[b];
        if (kana) {
            out += kana->hiragana;
            vowel = kana->vowel;
        } else if (b == 0xB0 || b == '-') {
            out += t.lengthening[vowel];
        } else {
            out.push_back(char(b));
        }
    }
    text = std::move(out);
}

namespace {

bool isKana(char16_t c)
{
    return (c >= 0x3041 && c <= 0x3096)     // hiragana, small kana
           || (c >= 0x3099 && c <= 0x309C)  // voiced marks
           || (c >= 0x30A1 && c <= 0x30FA)  // katakana, small kana
           || c == 0x30FC                   // ー
           || (c >= 0xFF66 && c <= 0xFF9F);  // half-width katakana and marks
}

// Half-width bytes of each full-width katakana, ー and the voiced marks.
const std::array<SjisString, 0x60>& halfWidthKatakana()
{
    static const auto table = [] {
        std::array<SjisString, 0x60> t;
        auto put = [&t](QChar full, SjisString half) {
            if (full.unicode() >= 0x30A0 && full.unicode() < 0x3100)
                t[full.unicode() - 0x30A0] = std::move(half);
        };
        for (int b = 0xA6; b <= 0xDD; ++b) {
            int used;
            put(fullWidthOf(b, -1, used)[0], SjisString(1, char(b)));
            for (unsigned char mark : {kVoiced, kSemiVoiced}) {
                const QString joined = fullWidthOf(b, mark, used);
                if (used == 2)
                    put(joined[0], {char(b), char(mark)});
            }
        }
        // Kana without a half-width form of their own.
        for (auto [full, half] : {std::pair{u'ヮ', "ﾜ"}, {u'ヰ', "ｲ"}, {u'ヱ', "ｴ"}, {u'ヵ', "ｶ"}, {u'ヶ', "ｹ"},
                                  {u'ヷ', "ﾜﾞ"}, {u'ヸ', "ｲﾞ"}, {u'ヹ', "ｴﾞ"}, {u'ヺ', "ｦﾞ"}})
            put(full, sj(half));
        return t;
    }();
    return table;
}

}  // namespace

bool IsKanaOnly(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return isKana(c.unicode()); });
}

SjisString HalfWidthKatakana(const QString& kana)
{
    const auto& table = halfWidthKatakana();
    SjisString out;
    for (QChar ch : kana) {
        char16_t c = ch.unicode();
        if (c >= 0x3041 && c <= 0x3096)
            c += 0x60;  // hiragana to katakana
        if (c == 0x3099 || c == 0x309B)
            out.push_back(char(kVoiced));
        else if (c == 0x309A || c == 0x309C)
            out.push_back(char(kSemiVoiced));
        else if (c >= 0x30A0 && c < 0x3100 && !table[c - 0x30A0].empty())
            out += table[c - 0x30A0];
        else if (c >= 0xFF61 && c <= 0xFF9F)
            out.push_back(char(c - 0xFF61 + 0xA1));
        else if (sjis::canEncode(QString(ch)))
            out += sjis::encode(QString(ch));
    }
    return out;
}
