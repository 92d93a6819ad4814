#include "components/widgets/typed_text.h"

#include "platform/message_box.h"

void warnRefused(char32_t offending, QWidget* parent)
{
    showMessage(sjis::refusalMessage(offending), {}, MessageIcon::Warning, MessageButtons::Ok, parent);
}

std::optional<SjisString> encodeOrWarn(const QString& text, QWidget* parent)
{
    return encodingOrWarn([&] { return sjis::encode(text); }, parent);
}

bool acceptOrWarn(const QString& text, QWidget* parent)
{
    char32_t offending = 0;
    if (sjis::canEncode(text, &offending))
        return true;
    warnRefused(offending, parent);
    return false;
}
