#include "components/widgets/restore_pos.h"

#include "platform/registry.h"
#include "platform/screen_fit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <stdexcept>

TRestorePos::TRestorePos(QWidget* owner) : QObject(owner), owner_(owner)
{
    if (!owner || !owner->isWindow())
        throw std::invalid_argument("TRestorePos: the owner must be a form");
    owner->installEventFilter(this);
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &TRestorePos::saveQuietly);
}

TRestorePos::TRestorePos(QWidget* owner, const QString& keyName, const QString& valuePrefix) : TRestorePos(owner)
{
    setObjectName(QStringLiteral("RestorePos1"));
    KeyName = keyName;
    PosXValueName = valuePrefix + PosXValueName;
    PosYValueName = valuePrefix + PosYValueName;
    WidthValueName = valuePrefix + WidthValueName;
    HeightValueName = valuePrefix + HeightValueName;
}

TRestorePos::~TRestorePos()
{
    saveQuietly();
}

bool TRestorePos::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == owner_ && event->type() == QEvent::Show) {
        if (!restored_)
            restore();
        fitToScreen(owner_);
    }
    return QObject::eventFilter(watched, event);
}

void TRestorePos::restore()
{
    restored_ = true;
    if (!owner_ || !Enabled || KeyName.isEmpty())
        return;
    const std::optional<RegistryKey> key = RegistryKey::open(KeyName, false);
    if (!key)
        return;
    QWidget* form = owner_;
    if (const auto x = key->readInteger(PosXValueName))
        form->move(*x, form->pos().y());
    if (const auto y = key->readInteger(PosYValueName))
        form->move(form->pos().x(), *y);
    if (Options.testFlag(rpRestoreSize)) {
        if (const auto w = key->readInteger(WidthValueName))
            form->resize(*w, form->height());
        if (const auto h = key->readInteger(HeightValueName))
            form->resize(form->width(), *h);
    }
}

QRect TRestorePos::placeToSave() const
{
    const QWidget* form = owner_;
    if (!form)
        return {};
    const QRect frame = form->frameGeometry();
    const QRect client = form->geometry();
    if (Options.testFlag(rpSaveNormal) && form->isMaximized()) {
        // The normal place, its frame taken with the frame's current margins.
        const QRect normal = form->normalGeometry();
        return QRect(normal.topLeft() - (client.topLeft() - frame.topLeft()), normal.size());
    }
    return QRect(frame.topLeft(), client.size());
}

void TRestorePos::save()
{
    if (!owner_ || !Enabled || KeyName.isEmpty())
        return;
    const QRect place = placeToSave();
    std::optional<RegistryKey> key = RegistryKey::open(KeyName, true);
    key->writeInteger(PosXValueName, place.left());
    key->writeInteger(PosYValueName, place.top());
    if (Options.testFlag(rpRestoreSize)) {
        key->writeInteger(WidthValueName, place.width());
        key->writeInteger(HeightValueName, place.height());
    }
}

void TRestorePos::saveQuietly() noexcept
{
    try {
        save();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
}
