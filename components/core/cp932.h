// Code page 932 (Windows-31J) text kit.
//
// Every value of the system (record fields, settings files, backups,
// KEN_ALL.CSV) is held as the raw CP932 bytes in a SjisString. Bytes are
// decoded to QString only for display and encoded back only from what the
// user typed, so bytes that are not valid CP932 survive untouched.
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using SjisString = std::string;

// Raised when typed text holds a character that CP932 cannot represent.
class TextEncodingError : public std::runtime_error {
public:
    TextEncodingError(const QString& message, char32_t offending);
    QString message() const { return message_; }
    char32_t offending() const { return offending_; }

private:
    QString message_;
    char32_t offending_;
};

namespace sjis {

// Lead byte of a two-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// How text of several lines shows: AsIs, each byte as decode() shows it;
// Unified, CR LF, a lone CR and a lone LF each as one '\n', and a typed
// '\n' encoded as CR LF (the multi-line boxes).
enum class LineBreaks { AsIs, Unified };

// Displays CP932 bytes. A byte that is no character shows as U+FFFD.
QString decode(std::string_view bytes);
QString decode(std::string_view bytes, LineBreaks lineBreaks);

// Encodes typed text with the Microsoft mapping. The characters that Linux
// input methods produce for JIS code points (U+301C WAVE DASH, U+2212 MINUS,
// U+2016, U+00A2, U+00A3, U+00AC, U+2014) map to their CP932 twins.
// Throws TextEncodingError for a character CP932 cannot hold.
SjisString encode(const QString& text);

// True when every character of text can be encoded.
bool canEncode(const QString& text, char32_t* offending = nullptr);

// The one text that refuses a character CP932 cannot hold (the message of
// TextEncodingError and of the warning that refuses typed text).
QString refusalMessage(char32_t offending);

// The bytes of an edit: originalText is what originalBytes showed, one
// character for each character of the bytes (decode(originalBytes,
// lineBreaks), or typed text standing for those bytes), and editedText is
// that text after the user replaced one span of it. Only the replaced span
// is encoded; the characters before and after it keep their original
// bytes, duplicates (NEC and IBM rows) and bytes that are no character
// included. When originalText does not have one character per character of
// the bytes, editedText is encoded whole. Throws TextEncodingError for a
// character of the replaced span that CP932 cannot hold.
SjisString encodeEdit(std::string_view originalBytes, const QString& originalText, const QString& editedText,
                      LineBreaks lineBreaks = LineBreaks::AsIs);

// The bytes of a list of lines after an edit of their text: a line the
// user left as it was keeps its original bytes, a changed line is encoded
// with encodeEdit against the original line it replaced, and a new line is
// encoded whole. Throws TextEncodingError as encodeEdit does.
std::vector<SjisString> encodeEditedLines(const std::vector<SjisString>& originalLines, const QStringList& editedLines);

// CP932 bytes of a UTF-8 literal of the program's own source ("使用者").
SjisString fromUtf8(std::string_view utf8);
std::string toUtf8(std::string_view bytes);

// The longest prefix of at most maxBytes bytes that does not split a
// two-byte character.
SjisString cutBytes(std::string_view text, std::size_t maxBytes);

// The offset of the first byte from `from` on that is no CP932 text: a NUL,
// a byte CP932 leaves undefined (0x80, 0xA0, 0xFD-0xFF), or a lead byte
// whose next byte makes no character with it; npos when there is none.
std::size_t findNonText(std::string_view bytes, std::size_t from = 0);

// A value as a message quotes it: its first `maxBytes` bytes (no character
// split), and "…" when it is longer.
QString excerpt(std::string_view bytes, std::size_t maxBytes = 60);

// Removes bytes 0x00-0x20 from both ends.
SjisString trim(std::string_view text);
SjisString trimRight(std::string_view text);

// Number of characters (a lead byte and its trail byte count once).
std::size_t characterCount(std::string_view text);

// True when byte offset pos starts a character (is not a trail byte).
bool isCharacterStart(std::string_view text, std::size_t pos);

// Finds needle in text at character boundaries only, from byte offset `from`.
std::size_t findCharacters(std::string_view text, std::string_view needle, std::size_t from = 0);

}  // namespace sjis

// Shorthand for CP932 literals written in UTF-8 in the source.
inline SjisString sj(std::string_view utf8) { return sjis::fromUtf8(utf8); }
