// The text codes of the old data files the converter imports: a legacy
// single-byte Japanese code, JIS X 0208 pairs stored cell byte first, JIS
// digit pairs, and half-width Shift-JIS text. ConvertLegacyText turns one
// field value into CP932 text byte by byte, from tables alone: no text
// codec is involved, and the result may hold bytes that are no CP932
// character (the JIS arithmetic applies to whatever bytes stand there);
// they are stored as they are.
#pragma once

#include "components/core/cp932.h"

// The conversion modes, the type codes of the old-data layout:
//   20             every byte kept
//   0, 10          legacy single-byte table (never fails)
//   3              digit pairs: JIS blanks vanish, JIS digits become ASCII
//   1              JIS pairs, ideographic spaces (0x21 0x21) dropped
//   other below 21 JIS pairs, ideographic spaces kept (negative modes too)
//   21             half-width text, kana as hiragana (never fails)
//   22 and above   half-width text, kana as katakana (never fails)
// After a whole walk, bytes 0x20 and below are cut from both ends of the
// result, which replaces `text`; true then. A pair the mode cannot convert
// stops the walk: `text` stays exactly as it was, and the result is false
// (the conversion-failure flag set).
bool ConvertLegacyText(SjisString& text, int mode);
