// The Keys and Pedal pages of the settings, driven like a user, over a temporary settings file.
#include "CommandRegistry.h"
#include "KeySettingsView.h"
#include "MediaKeyFilter.h"
#include "PedalMonitor.h"
#include "PedalSettings.h"
#include "PedalSettingsView.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;

class tst_HandsFreeViews : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void keysPage_refusesConflictsAndRestoresDefaults()
    {
        CommandRegistry commands;
        KeySettingsView view(commands);
        view.show();
        auto* skipBack = view.findChild<QKeySequenceEdit*>("skipBackKey");
        auto* message = view.findChild<QLabel*>("keyMessage");
        QVERIFY(!view.findChild<QKeySequenceEdit*>("fullScreenKey")); // only the player's keys

        // F11 belongs to Full Screen, which the page does not offer: refused with the reason,
        // the field shows the old key.
        skipBack->setFocus();
        QTest::keyClick(skipBack, Qt::Key_F11);
        QTRY_VERIFY_WITH_TIMEOUT(message->text().contains("Full Screen"), 3000);
        QCOMPARE(skipBack->keySequence(), QKeySequence("Ctrl+["));

        QTest::keyClick(skipBack, Qt::Key_F7);
        QTRY_COMPARE_WITH_TIMEOUT(commands.key(Command::SkipBack), QKeySequence("F7"), 3000);
        QVERIFY(message->text().isEmpty());

        view.findChild<QPushButton*>("restoreKeys")->click();
        QCOMPARE(skipBack->keySequence(), QKeySequence("Ctrl+["));
        QCOMPARE(CommandRegistry().key(Command::SkipBack), QKeySequence("Ctrl+["));
    }

    void mediaKeys_actInTheirWindowOnly()
    {
        QWidget window, other;
        auto* field = new QLineEdit(&window);
        // QTest::keyClick knows no text for most media keys: sent without one.
        const auto click = [](QWidget* widget, Qt::Key key) {
            QTest::sendKeyEvent(QTest::Click, widget, key, QString(), Qt::NoModifier);
        };
        bool playing = true;
        QStringList ran;
        MediaKeyFilter filter(
            &window, [&](PlaybackCommand c) { ran << playbackCommandId(c); },
            [&] { return playing; });
        for (Qt::Key key : {Qt::Key_MediaPlay, Qt::Key_MediaPause, Qt::Key_MediaTogglePlayPause,
                            Qt::Key_MediaNext, Qt::Key_MediaPrevious})
            click(field, key); // while playing: Play does nothing
        playing = false;
        click(field, Qt::Key_MediaPause); // while paused: Pause does nothing
        click(field, Qt::Key_MediaPlay);
        click(&other, Qt::Key_MediaPlay); // another window's
        QCOMPARE(ran,
                 QStringList({"playPause", "playPause", "skipForward", "skipBack", "playPause"}));
        QVERIFY(field->text().isEmpty());
    }

    // The lamps follow the pedal and choices are kept at once. A choice made while the settings
    // file cannot be written works until the end, and the page says it is not kept; the next
    // choice that is kept clears that.
    void pedalPage_lightsButtonsAndStoresChoicesOrSaysWhyNot()
    {
        PedalSettings settings;
        PedalMonitor monitor(
            [&settings] { return settings.chosenDevice(); }); // no pedal here: the page says so
        PedalSettingsView view(settings, &monitor);
        view.show();
        QVERIFY(!view.findChild<QLabel*>("pedalStatus")->text().isEmpty());

        auto* middle = view.findChild<QLabel*>("pedalLamp1");
        emit monitor.buttonChanged(1, true);
        QCOMPARE(middle->backgroundRole(), QPalette::Highlight);
        emit monitor.released();
        QCOMPARE(middle->backgroundRole(), QPalette::Base);

        auto* left = view.findChild<QComboBox*>("pedalCommand0");
        left->setCurrentIndex(left->findData("insertTimestamp"));
        view.findChild<QRadioButton*>("pressToPlay")->click();
        PedalSettings reread;
        QCOMPARE(reread.command(0), PlaybackCommand::InsertTimestamp);
        QVERIFY(!reread.holdToPlay());

        const QString file =
            QSettings(QSettings::IniFormat, QSettings::UserScope, "Dictaro", "Dictaro").fileName();
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkpath(file)); // a folder where the file goes: no write succeeds
        auto* message = view.findChild<QLabel*>("pedalMessage");
        view.findChild<QRadioButton*>("holdToPlay")->click();
        QVERIFY(settings.holdToPlay());
        QVERIFY(settings.saveError());
        QCOMPARE(message->text(), *settings.saveError());
        QVERIFY(QDir(file).removeRecursively());
        view.findChild<QRadioButton*>("pressToPlay")->click();
        QVERIFY(!settings.saveError());
        QVERIFY(message->text().isEmpty());
    }
};

QTEST_MAIN(tst_HandsFreeViews)
#include "tst_HandsFreeViews.moc"
