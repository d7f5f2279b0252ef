// The registry of commands: which keys a command may take, the user's keys in the settings file
// and what a hand-edited file can do.
#include "CommandRegistry.h"
#include "KeySettingsView.h"
#include "TestSupport.h"

#include <QAction>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace dictaro;

class tst_CommandRegistry : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    QString m_file;
    QSettings stored() const { return QSettings(m_file, QSettings::IniFormat); }

private slots:
    void init()
    {
        m_home.emplace();
        m_file = m_home->settingsFile();
    }

    void setKey_refusesKeysInUse_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("reason"); // a part of the message; empty when accepted
        using C = Command;
        QTest::newRow("another command's")
            << int(C::SkipBack) << QKeySequence("Ctrl+J") << "Insert Timestamp";
        QTest::newRow("undo") << int(C::PlayPause) << QKeySequence(QKeySequence::Undo) << "Undo";
        QTest::newRow("copy's other key") << int(C::Faster) << QKeySequence("Ctrl+Ins") << "Copy";
        QTest::newRow("full screen") << int(C::PlayPause) << QKeySequence("F11") << "Full Screen";
        QTest::newRow("open") << int(C::SkipForward) << QKeySequence("Ctrl+O") << "Open";
        QTest::newRow("letter") << int(C::SkipBack) << QKeySequence("Shift+A") << "typing";
        QTest::newRow("space") << int(C::PlayPause) << QKeySequence("Space") << "typing";
        QTest::newRow("word move") << int(C::SkipForward) << QKeySequence("Ctrl+Right") << "moving";
        QTest::newRow("menu letter")
            << int(C::SkipBack) << QKeySequence("Alt+P") << "Playback menu";
        QTest::newRow("other Alt letter") << int(C::SkipBack) << QKeySequence("Alt+J") << QString();
        QTest::newRow("its own") << int(C::InsertTimestamp) << QKeySequence("Ctrl+J") << QString();
        QTest::newRow("none") << int(C::InsertTimestamp) << QKeySequence() << QString();
        QTest::newRow("second chord dropped")
            << int(C::Faster) << QKeySequence("F8, Ctrl+C") << QString();
    }
    void setKey_refusesKeysInUse()
    {
        QFETCH(int, command);
        QFETCH(QKeySequence, key);
        QFETCH(QString, reason);
        const auto cmd = Command(command);
        CommandRegistry registry;
        QSignalSpy changed(&registry, &CommandRegistry::keyChanged);
        const QKeySequence before = registry.key(cmd);
        const bool accepted = registry.setKey(cmd, key);
        QCOMPARE(accepted, reason.isEmpty());
        if (accepted) {
            const QKeySequence combination = key.isEmpty() ? key : QKeySequence(key[0]);
            QCOMPARE(registry.key(cmd), combination);
            QCOMPARE(registry.action(cmd)->shortcuts().size(), key.isEmpty() ? 0 : 1);
            QCOMPARE(CommandRegistry().key(cmd), combination); // read back from the file
        } else {
            QVERIFY2(registry.conflict(cmd, key).contains(reason),
                     qPrintable(registry.conflict(cmd, key)));
            QCOMPARE(registry.key(cmd), before);
            QCOMPARE(changed.count(), 0);
            QVERIFY(!QFile::exists(m_file));
        }
    }

    // A key a command took is refused to every other command, and free again once it moved on;
    // the tooltip shows the key in use.
    void keys_moveBetweenCommands()
    {
        CommandRegistry registry;
        QVERIFY(registry.setKey(Command::SkipBack, QKeySequence("F7")));
        QCOMPARE(registry.action(Command::SkipBack)->toolTip(), QStringLiteral("Skip Back (F7)"));
        QVERIFY(registry.conflict(Command::Faster, QKeySequence("F7")).contains("Skip Back"));
        QVERIFY(registry.conflict(Command::SkipForward, QKeySequence("Ctrl+[")).isEmpty());
        QVERIFY(registry.setKey(Command::SkipBack, QKeySequence()));
        QCOMPARE(registry.action(Command::SkipBack)->toolTip(), QStringLiteral("Skip Back"));
        QVERIFY(registry.setKey(Command::Faster, QKeySequence("F7")));
        // Only the player's commands take the user's keys.
        QVERIFY(!registry.setKey(Command::FullScreen, QKeySequence("F6")));
        QCOMPARE(registry.key(Command::FullScreen), QKeySequence("F11"));
    }

    // No two commands of the registry share a key, the desktop's variants included.
    void defaults_holdEachKeyOnce()
    {
        CommandRegistry registry;
        QHash<QKeySequence, Command> owners;
        for (const Command command : Commands::all()) {
            const QList<QKeySequence> held =
                registry.action(command)->shortcuts() + Commands::heldKeys(command);
            const QSet<QKeySequence> keys(held.cbegin(), held.cend());
            for (const QKeySequence& key : std::as_const(keys)) {
                QVERIFY2(!owners.contains(key) || owners.value(key) == command,
                         qPrintable(key.toString() + " of " + Commands::id(command)));
                owners.insert(key, command);
            }
            if (Commands::isRebindable(command))
                QVERIFY(registry.conflict(command, registry.key(command)).isEmpty());
        }
    }

    // A key chosen while the settings file cannot be written works until the end and the Keys
    // page says it is not kept; the next choice that is kept clears that.
    void unsavedKey_isReported()
    {
        QVERIFY(QDir().mkpath(m_file)); // a folder where the file goes: no write succeeds
        CommandRegistry registry;
        KeySettingsView page(registry);
        auto* field = page.findChild<QKeySequenceEdit*>("skipBackKey");
        auto* message = page.findChild<QLabel*>("keyMessage");
        field->setKeySequence(QKeySequence("F7"));
        emit field->editingFinished();
        QCOMPARE(registry.key(Command::SkipBack), QKeySequence("F7"));
        QVERIFY(registry.saveError());
        QCOMPARE(message->text(), *registry.saveError());

        QVERIFY(QDir(m_file).removeRecursively());
        field->setKeySequence(QKeySequence("F6"));
        emit field->editingFinished();
        QVERIFY(!registry.saveError());
        QVERIFY(message->text().isEmpty());
        QCOMPARE(CommandRegistry().key(Command::SkipBack), QKeySequence("F6"));
    }

    void storedKeys_areCheckedWhenRead()
    {
        {
            QSettings file = stored();
            file.setValue("keys/skipBack", "Ctrl+J");   // the timestamp's default: it gives way
            file.setValue("keys/slower", "Ctrl+Z");     // Undo: the default instead
            file.setValue("keys/faster", "not a key+"); // unreadable: the default
            file.setValue("keys/skipForward", "F11");   // Full Screen: the default instead
            file.setValue("keys/playPause", "");        // cleared by the user
        }
        CommandRegistry registry;
        QCOMPARE(registry.key(Command::SkipBack), QKeySequence("Ctrl+J"));
        QCOMPARE(registry.key(Command::InsertTimestamp), QKeySequence());
        QCOMPARE(registry.key(Command::Slower), QKeySequence("Ctrl+Shift+["));
        QCOMPARE(registry.key(Command::Faster), QKeySequence("Ctrl+Shift+]"));
        QCOMPARE(registry.key(Command::SkipForward), QKeySequence("Ctrl+]"));
        QCOMPARE(registry.key(Command::PlayPause), QKeySequence());
        QCOMPARE(registry.key(Command::FullScreen), QKeySequence("F11"));

        QSignalSpy changed(&registry, &CommandRegistry::keyChanged);
        registry.restoreDefaults();
        QCOMPARE(changed.count(), 3); // skip back, timestamp, play/pause
        for (const Command command : Commands::all())
            QCOMPARE(registry.action(command)->shortcuts(), Commands::defaultKeys(command));
        QVERIFY(stored().childGroups().isEmpty());
    }
};

QTEST_MAIN(tst_CommandRegistry)
#include "tst_CommandRegistry.moc"
