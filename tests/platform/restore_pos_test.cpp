#include "components/widgets/restore_pos.h"
#include "platform/registry.h"
#include "platform/screen_fit.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QRect designPlace(40, 30, 500, 400);

// A form that carries the component as the system's forms do: properties
// set in its constructor, then restore().
class Form : public QMainWindow {
public:
    explicit Form(const QString& keyName, bool restoreNow = true, TRestorePosOptions options = rpRestoreSize | rpSaveNormal)
    {
        setGeometry(designPlace);
        restorePos = new TRestorePos(this);
        restorePos->KeyName = keyName;
        restorePos->Options = options;
        if (restoreNow)
            restorePos->restore();
    }
    TRestorePos* restorePos;
};

class RestorePos : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RegistryFolderOverride folder{dir.path()};

    static std::optional<int> value(const QString& key, const QString& name)
    {
        auto k = RegistryKey::open(key, false);
        return k ? k->readInteger(name) : std::nullopt;
    }
    static void write(const QString& key, const QString& name, int v)
    {
        RegistryKey::open(key, true)->writeInteger(name, v);
    }
};

TEST_F(RestorePos, OwnerMustBeAForm)
{
    EXPECT_THROW(TRestorePos(nullptr), std::invalid_argument);
    QWidget window;
    auto* child = new QWidget(&window);
    EXPECT_THROW(TRestorePos{child}, std::invalid_argument);
    EXPECT_EQ(TRestorePos(&window).Options, rpRestoreSize | rpSaveNormal);
}

TEST_F(RestorePos, FirstRunKeepsDesignPlaceAndClosingSavesIt)
{
    auto form = std::make_unique<Form>(QStringLiteral("Brindel"));
    EXPECT_EQ(form->geometry(), designPlace);
    // Restoring never creates the key.
    EXPECT_FALSE(RegistryKey::open(QStringLiteral("Brindel"), false).has_value());

    form->show();
    form->setGeometry(70, 60, 640, 480);
    const QRect frame = form->frameGeometry();
    ASSERT_NE(frame.topLeft(), QPoint(70, 60));  // the window has a frame to get right
    form.reset();

    auto key = RegistryKey::open(QStringLiteral("Brindel"), false);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->valueNames().size(), 4);
    EXPECT_EQ(key->readInteger(QStringLiteral("PosX")), frame.left());
    EXPECT_EQ(key->readInteger(QStringLiteral("PosY")), frame.top());
    EXPECT_EQ(key->readInteger(QStringLiteral("Width")), 640);
    EXPECT_EQ(key->readInteger(QStringLiteral("Height")), 480);

    // The next start opens exactly where the last one ended, and closing it
    // again saves the same place: nothing creeps from run to run.
    Form next(QStringLiteral("Brindel"));
    next.show();
    EXPECT_EQ(next.frameGeometry(), frame);
    EXPECT_EQ(next.geometry(), QRect(70, 60, 640, 480));
}

TEST_F(RestorePos, FormsShareAKeyUnderTheirOwnValueNames)
{
    {
        QMainWindow carData;
        carData.setGeometry(designPlace);
        auto* pos = new TRestorePos(&carData);
        pos->KeyName = QStringLiteral("Dremlot");
        pos->PosXValueName = QStringLiteral("CarData PosX");
        pos->PosYValueName = QStringLiteral("CarData PosY");
        pos->WidthValueName = QStringLiteral("CarData Width");
        pos->HeightValueName = QStringLiteral("CarData Height");
        pos->restore();
        carData.setGeometry(11, 12, 313, 214);
    }
    write(QStringLiteral("Dremlot"), QStringLiteral("Other PosX"), 5);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("CarData PosX")), 11);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("CarData PosY")), 12);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("CarData Width")), 313);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("CarData Height")), 214);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("PosX")), std::nullopt);
}

TEST_F(RestorePos, EachValueStandsAlone)
{
    write(QStringLiteral("Brindel"), QStringLiteral("PosX"), 101);
    write(QStringLiteral("Brindel"), QStringLiteral("PosY"), 102);
    write(QStringLiteral("Brindel"), QStringLiteral("Height"), 303);
    // The width value was deleted: left, top and height still apply.
    Form form(QStringLiteral("Brindel"));
    EXPECT_EQ(form.geometry(), QRect(101, 102, designPlace.width(), 303));

    // Only the top, and a left that is no number.
    QTemporaryDir other;
    RegistryFolderOverride over(other.path());
    write(QStringLiteral("Brindel"), QStringLiteral("PosY"), -20);
    RegistryKey::open(QStringLiteral("Brindel"), true);
    {
        QFile f(RegistryKey::open(QStringLiteral("Brindel"), false)->filePath());
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("PosX=left\n");
    }
    Form onlyTop(QStringLiteral("Brindel"));
    EXPECT_EQ(onlyTop.geometry(), QRect(designPlace.left(), -20, designPlace.width(), designPlace.height()));
    onlyTop.show();
    EXPECT_EQ(onlyTop.frameGeometry().top(), onlyTop.screen()->availableGeometry().top()) << "moved onto the screen";
}

TEST(FitOnScreen, ShrinksToTheAreaAndMovesBackInside)
{
    const QRect screen(0, 0, 1366, 768);
    const struct { QRect window, available, fitted; const char* what; } rows[] = {
        {{93, 4, 1180, 760}, screen, {93, 28, 1180, 736}, "too tall: shrinks, its title bar on the screen"},
        {{200, 500, 600, 400}, screen, {200, 364, 600, 400}, "lower part off: moves up"},
        {{-300, -50, 600, 400}, screen, {4, 28, 600, 400}, "left and above: moves in"},
        {{100, 40, 600, 400}, {0, 30, 1366, 738}, {100, 58, 600, 400}, "under a panel at the top"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(fitOnScreen(r.window, QMargins(4, 28, 4, 4), r.available), r.fitted) << r.what;
}

TEST_F(RestorePos, MaximisedWindowSavesItsNormalPlace)
{
    QPoint margin;
    {
        Form form(QStringLiteral("Dremlot"));
        form.show();
        form.setGeometry(50, 60, 700, 500);
        margin = form.geometry().topLeft() - form.frameGeometry().topLeft();
        form.showMaximized();
        QCoreApplication::processEvents();  // the window system maximises it
        ASSERT_TRUE(form.isMaximized());
        ASSERT_NE(form.geometry(), QRect(50, 60, 700, 500));
    }
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("PosX")), 50 - margin.x());
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("PosY")), 60 - margin.y());
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("Width")), 700);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("Height")), 500);

    // The next start opens normal, in that place.
    Form next(QStringLiteral("Dremlot"));
    next.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(next.isMaximized());
    EXPECT_EQ(next.geometry(), QRect(50, 60, 700, 500));
}

TEST_F(RestorePos, WithoutSaveNormalAMaximisedWindowSavesItsMaximisedPlace)
{
    QRect maximised;
    {
        Form form(QStringLiteral("Dremlot"), true, rpRestoreSize);
        form.show();
        form.setGeometry(50, 60, 700, 500);
        form.showMaximized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form.isMaximized());
        maximised = form.frameGeometry();
        ASSERT_NE(form.geometry().size(), QSize(700, 500));
    }
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("PosX")), maximised.left());
    EXPECT_NE(value(QStringLiteral("Dremlot"), QStringLiteral("Width")), 700);
}

TEST_F(RestorePos, WithoutRestoreSizeOnlyThePositionIsKept)
{
    write(QStringLiteral("Brindel"), QStringLiteral("Width"), 999);
    write(QStringLiteral("Brindel"), QStringLiteral("Height"), 888);
    {
        Form form(QStringLiteral("Brindel"), true, rpSaveNormal);
        EXPECT_EQ(form.size(), designPlace.size());
        form.move(5, 6);
        form.resize(123, 124);
    }
    EXPECT_EQ(value(QStringLiteral("Brindel"), QStringLiteral("PosX")), 5);
    EXPECT_EQ(value(QStringLiteral("Brindel"), QStringLiteral("PosY")), 6);
    EXPECT_EQ(value(QStringLiteral("Brindel"), QStringLiteral("Width")), 999);  // not written
}

TEST_F(RestorePos, DisabledOrWithoutKeyNameNothingHappens)
{
    write(QStringLiteral("Brindel"), QStringLiteral("PosX"), 300);
    {
        Form form(QStringLiteral("Brindel"), false);
        form.restorePos->Enabled = false;
        form.restorePos->restore();
        EXPECT_EQ(form.geometry(), designPlace);
        form.move(1, 2);
    }
    EXPECT_EQ(value(QStringLiteral("Brindel"), QStringLiteral("PosX")), 300);

    {
        Form form(QString{});
        form.move(1, 2);
    }
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("Software"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Brindel.ini")});
    EXPECT_EQ(value(QStringLiteral("Brindel"), QStringLiteral("PosX")), 300);
}

TEST_F(RestorePos, FormThatDoesNotCallRestoreIsRestoredOnFirstShow)
{
    write(QStringLiteral("Brindel"), QStringLiteral("PosX"), 77);
    Form form(QStringLiteral("Brindel"), false);
    EXPECT_EQ(form.geometry(), designPlace);
    form.show();
    EXPECT_EQ(form.pos().x(), 77);

    // Showing again does not undo a move the user made.
    form.hide();
    form.move(5, 5);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(5, 5));
}

TEST_F(RestorePos, FormsThatLiveToTheEndSaveWhenTheApplicationQuits)
{
    Form form(QStringLiteral("Dremlot"));
    form.setGeometry(21, 22, 323, 224);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("PosX")), 21);
    EXPECT_EQ(value(QStringLiteral("Dremlot"), QStringLiteral("Height")), 224);
}

TEST_F(RestorePos, KeyThatCannotBeWritten)
{
    QFile blocker(QDir(dir.path()).filePath(QStringLiteral("Software")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto form = std::make_unique<Form>(QStringLiteral("Dremlot"));
    EXPECT_THROW(form->restorePos->save(), RegistryError);
    // Saving as the form goes only warns: a destructor never throws.
    EXPECT_NO_THROW(form.reset());
}

}  // namespace
