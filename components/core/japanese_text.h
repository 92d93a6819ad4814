// Width conversions of CP932 text: codes and dates are stored full-width,
// compared half-width, and readings arrive as half-width katakana.
#pragma once

#include "components/core/cp932.h"

// Trims bytes 0x00-0x20 at both ends, then makes every single-byte character
// full-width: "0"-"9", "A"-"Z", "a"-"z" and the other ASCII signs become
// their full-width forms, an inner blank becomes "　", half-width katakana
// become full-width katakana with their voiced marks joined. Two-byte
// characters are kept.
void ChangeChar(SjisString& text);
// The same, giving a converted copy.
[[nodiscard]] SjisString ChangeChar(std::string_view text);

// Turns full-width digits and letters ("０"-"９", "Ａ"-"Ｚ", "ａ"-"ｚ") into
// ASCII; everything else is kept.
void ToHalfWidth(SjisString& text);
// The same, giving a converted copy.
[[nodiscard]] SjisString ToHalfWidth(std::string_view text);

// Turns a half-width katakana reading into hiragana; "ｰ" and "-" lengthen the
// vowel of the kana before them. Two-byte characters are kept whole.
void ToHiragana(SjisString& text);

// True when text is not empty and made only of kana: hiragana, katakana,
// small kana, the prolonged-sound mark, the voiced marks and half-width
// katakana.
bool IsKanaOnly(const QString& text);

// Kana as half-width katakana, the form readings take: voiced kana split
// into the kana and its mark ("が" gives "ｶﾞ"); kana without a half-width
// form take the nearest one ("ゐ" gives "ｲ", "ヶ" gives "ｹ"). Other
// characters are kept when CP932 holds them and dropped otherwise.
SjisString HalfWidthKatakana(const QString& kana);
