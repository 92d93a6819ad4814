// Width conversions of CP932 text: codes and dates are stored full-width,
// compared half-width, and readings arrive as half-width katakana.
#pragma once

#include "components/cp932.h"

// Trims bytes 0x00-0x20 at both ends, then makes every single-byte character
// full-width: "0"-"9", "A"-"Z", "a"-"z" and the other ASCII signs become
// their full-width forms, an inner blank becomes "　", half-width katakana
// become full-width katakana with their voiced marks joined. Two-byte
// characters are kept.
void ChangeChar(SjisString& text);

// Turns full-width digits and letters ("０"-"９", "Ａ"-"Ｚ", "ａ"-"ｚ") into
// ASCII; everything else is kept.
void ToHalfWidth(SjisString& text);

// Turns a half-width katakana reading into hiragana; "ｰ" and "-" lengthen the
// vowel of the kana before them. Two-byte characters are kept whole.
void ToHiragana(SjisString& text);
