// TRestorePos: keeps a form's place on screen from one run to the next, in
// the registry key Software\<KeyName>.
//
// When it restores: the form calls restore() at the end of its constructor,
// once it has set KeyName and the other properties. A form that does not
// call it has its place restored just before it is first shown (and only
// then: later showings keep wherever the user put the window).
//   If Enabled and the key exists (it is never created here), the values
//   PosXValueName and PosYValueName set the window's left and top, and with
//   rpRestoreSize WidthValueName and HeightValueName set its width and
//   height. Each value stands alone: a missing or unreadable one leaves that
//   side of the window at its design value and the others still apply.
//
// When it saves: when the form is destroyed (the component is the form's
// child, so it goes while the form's geometry is still valid) and when the
// application is about to quit, for forms that live to the end; the last
// save holds the window's last place. If Enabled and KeyName is not empty,
// the key is created when missing and the four values written. With
// rpSaveNormal a maximised window saves its normal place, so the next start
// opens it normal; otherwise the window's current place.
//
// Left and top are those of the window's frame (what QWidget::move takes);
// width and height are those of the window's client area (what
// QWidget::resize takes). Qt learns a frame's size from the window manager
// only once the window is on screen, so a frame size read back before the
// first show would grow the window by its frame at every start; with the
// client size the place round-trips exactly. Without decorations (offscreen,
// some window managers) the two are the same.
//
// Each time the form is shown, after any restore, it is fitted to the
// screen (platform/screen_fit.h): a saved place that lies off the screen, or a screen
// smaller than the one it was saved on, never hides part of the window.
#pragma once

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QWidget;

enum TRestorePosOption { rpRestoreSize = 0x1, rpSaveNormal = 0x2 };
Q_DECLARE_FLAGS(TRestorePosOptions, TRestorePosOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRestorePosOptions)

class TRestorePos : public QObject {
    Q_OBJECT
public:
    // `owner` must be a form (a top-level window); std::invalid_argument
    // otherwise. The component becomes the form's child.
    explicit TRestorePos(QWidget* owner);
    // A form's component as the forms set it up: named RestorePos1, saving
    // under `keyName` with the value names `valuePrefix` + PosX, PosY,
    // Width, Height ("CarData PosX", "PostPosX").
    TRestorePos(QWidget* owner, const QString& keyName, const QString& valuePrefix);
    ~TRestorePos() override;  // saves

    bool Enabled = true;
    QString KeyName;  // empty: nothing is saved or restored
    TRestorePosOptions Options = rpRestoreSize | rpSaveNormal;
    QString PosXValueName = QStringLiteral("PosX");
    QString PosYValueName = QStringLiteral("PosY");
    QString WidthValueName = QStringLiteral("Width");
    QString HeightValueName = QStringLiteral("Height");

    QWidget* owner() const { return owner_; }

    // Restores the form's place from the key (see above).
    void restore();

    // Saves the form's place to the key. Throws RegistryError when the key
    // cannot be written; the automatic saves report that as a warning only,
    // as the program is ending.
    void save();

    // The rectangle save() writes: left/top of the frame, client size.
    QRect placeToSave() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveQuietly() noexcept;

    QPointer<QWidget> owner_;
    bool restored_ = false;
};
