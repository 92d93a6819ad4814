#include "components/widgets/yomi_memo.h"

#include "components/core/japanese_text.h"
#include "platform/error_guard.h"
#include "platform/keyboard_locks.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

TYomiDBMemo::TYomiDBMemo(QWidget* parent) : DBMemo(parent)
{
    // exited() follows the base class's leave, which has stored this memo's
    // text; the reading memo is stored after it.
    connect(this, &DBMemo::exited, this, [this] { storeTarget(); });
}

TYomiDBMemo::TYomiDBMemo(Table& table, std::string_view utf8Field, QWidget* parent) : TYomiDBMemo(parent)
{
    bind(table, utf8Field);
}

bool TYomiDBMemo::targetWritable() const
{
    return yomiOut_ && yomiOut_->table() && !yomiOut_->dataField().empty() && yomiOut_->isEnabled()
           && !yomiOut_->isReadOnly();
}

namespace {

bool endsInN(const QString& text)
{
    return text.endsWith(u'n') || text.endsWith(u'ｎ');
}

}  // namespace

SjisString TYomiDBMemo::readingOf(const QString& commit) const
{
    if (IsKanaOnly(commit))
        return HalfWidthKatakana(commit);
    // Committed unconverted, a last n still a letter (Return on けｎ): the n
    // is no ん, and the ん typed to mend it brings its own reading.
    if (endsInN(commit)) {
        const QString kana = commit.chopped(1);
        if (kana.isEmpty() || IsKanaOnly(kana))
            return HalfWidthKatakana(kana);
    }
    return HalfWidthKatakana(kanaPreedit_);
}

void TYomiDBMemo::passReading(SjisString yomi)
{
    if (!guarded([&] {
            if (OnYomiOut)
                OnYomiOut(*this, yomi);
        }))
        return;
    if (yomi.empty() || !targetWritable())
        return;
    QTextCursor end(yomiOut_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(sjis::decode(yomi));
}

namespace {

// The kana the input method makes of a preedit, or empty when it holds
// anything else. The input method holds back a last "n" that may still
// become な to の; once the conversion begins it is ん.
QString kanaOf(QString preedit)
{
    if (endsInN(preedit))
        preedit.back() = u'ん';
    return IsKanaOnly(preedit) ? preedit : QString();
}

}  // namespace

void TYomiDBMemo::followPreedit(const QString& preedit)
{
    if (preedit.isEmpty()) {
        // The commit may still follow the end of the composition, so the
        // kana are kept until it or a new composition comes.
        composing_ = false;
        return;
    }
    if (!composing_)
        kanaPreedit_.clear();
    composing_ = true;
    if (const QString kana = kanaOf(preedit); !kana.isEmpty())
        kanaPreedit_ = kana;
}

void TYomiDBMemo::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        // A commit the memo refuses (a character CP932 cannot hold) has no
        // reading.
        if (!isReadOnly() && sjis::canEncode(commit))
            passReading(readingOf(commit));
        kanaPreedit_.clear();
    }
    followPreedit(event->preeditString());
    DBMemo::inputMethodEvent(event);
}

void TYomiDBMemo::discardComposition()
{
    DBMemo::discardComposition();
    kanaPreedit_.clear();
    composing_ = false;
}

void TYomiDBMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && targetWritable())
        yomiOut_->reset();
    DBMemo::keyPressEvent(event);
}

void TYomiDBMemo::focusInEvent(QFocusEvent* event)
{
    DBMemo::focusInEvent(event);
    if (VKkana)
        setKanaLock(true);
}

void TYomiDBMemo::focusOutEvent(QFocusEvent* event)
{
    typedBeforeLeave_ = fieldModified();
    DBMemo::focusOutEvent(event);
    typedBeforeLeave_ = false;
    if (VKkana)
        setKanaLock(false);
}

void TYomiDBMemo::storeTarget()
{
    if (typedBeforeLeave_ && targetWritable())
        guarded([this] { yomiOut_->updateRecord(); });
}
