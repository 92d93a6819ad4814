// Typed text that CP932 cannot hold is refused where it is typed: the one
// standard warning (the refusal message, the warning icon, an OK button)
// says which character, and nothing is stored.
#pragma once

#include "components/core/cp932.h"

#include <optional>
#include <type_traits>
#include <utility>

class QWidget;

// Shows the standard refusal of a character CP932 cannot hold.
void warnRefused(char32_t offending, QWidget* parent);

// Runs an encoding of typed text (sjis::encode, sjis::encodeEdit, ...).
// When it refuses a character, the warning is shown and nothing is given.
template <class Encoding>
std::optional<std::invoke_result_t<Encoding>> encodingOrWarn(Encoding&& encoding, QWidget* parent)
{
    try {
        return std::forward<Encoding>(encoding)();
    } catch (const TextEncodingError& e) {
        warnRefused(e.offending(), parent);
        return std::nullopt;
    }
}

// Typed text as bytes; nothing, after the warning, when CP932 cannot hold
// one of its characters.
std::optional<SjisString> encodeOrWarn(const QString& text, QWidget* parent);

// True when CP932 can hold every character of text; otherwise false after
// the warning.
bool acceptOrWarn(const QString& text, QWidget* parent);
