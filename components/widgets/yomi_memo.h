// TYomiDBMemo: a data-aware memo that catches the reading of every text the
// input method commits into it and hands that reading on, so that a
// reading field fills itself while a name is typed.
//
// Linux input methods do not report the reading of what they commit, but
// while composing they show the kana typed before conversion as the
// preedit text. The memo follows the preedit and remembers the last one
// made only of kana, a last "n" still waiting for its vowel read as ん. A commit's reading is the commit itself when it is all
// kana, the kana before its last n when it is kana and a last n still a
// letter (committed unconverted), else the remembered preedit, else
// empty; the commit then forgets
// it, and so does the start of a new composition. A commit that comes with
// no composition at all (letters with the input method off arrive as keys)
// has an empty reading.
//
// For every commit, before the committed text enters the memo:
// 1. OnYomiOut is called with the reading as half-width katakana; the
//    handler may change it. A failing handler is shown in the error box
//    and the reading goes no further; the committed text still enters.
// 2. When the YomiOut memo is writable (set, bound to a field, enabled and
//    not read-only) and the reading is not empty, the reading is appended
//    to YomiOut's text, as typed there.
// Leaving the memo after typing in it also stores YomiOut's text into
// YomiOut's field; Esc reverts YomiOut to its field before this memo's own
// Esc. YomiOut is forgotten when that memo is destroyed. While VKkana is
// set, the kana lock is on while the memo has the focus.
#pragma once

#include "components/widgets/db_controls.h"

#include <QPointer>
#include <functional>

class TYomiDBMemo : public DBMemo {
    Q_OBJECT
public:
    explicit TYomiDBMemo(QWidget* parent = nullptr);
    TYomiDBMemo(Table& table, std::string_view utf8Field, QWidget* parent = nullptr);

    DBMemo* YomiOut() const { return yomiOut_; }
    void setYomiOut(DBMemo* memo) { yomiOut_ = memo; }

    std::function<void(TYomiDBMemo& sender, SjisString& yomi)> OnYomiOut;
    bool VKkana = true;

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void discardComposition() override;

private:
    bool targetWritable() const;
    SjisString readingOf(const QString& commit) const;
    void passReading(SjisString yomi);
    void followPreedit(const QString& preedit);
    void storeTarget();

    QPointer<DBMemo> yomiOut_;
    QString kanaPreedit_;  // the last preedit made only of kana
    bool composing_ = false;
    bool typedBeforeLeave_ = false;
};
