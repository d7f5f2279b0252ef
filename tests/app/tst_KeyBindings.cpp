// The playback commands' keys: refusals, storage, and what a hand-edited file can do.
#include "KeyBindings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;

class tst_KeyBindings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    QSettings stored() const { return QSettings(m_file, QSettings::IniFormat); }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        m_file =
            QSettings(QSettings::IniFormat, QSettings::UserScope, "Dictaro", "Dictaro").fileName();
    }
    void init() { QFile::remove(m_file); }

    void setKey_refusesKeysInUse_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("reason"); // a part of the message; empty when accepted
        using C = PlaybackCommand;
        QTest::newRow("another command's")
            << int(C::SkipBack) << QKeySequence("Ctrl+J") << "Insert Timestamp";
        QTest::newRow("undo") << int(C::PlayPause) << QKeySequence(QKeySequence::Undo) << "Undo";
        QTest::newRow("copy") << int(C::Faster) << QKeySequence("Ctrl+C") << "Copy";
        QTest::newRow("save") << int(C::Slower) << QKeySequence("Ctrl+S") << "Save";
        QTest::newRow("letter") << int(C::SkipBack) << QKeySequence("Shift+A") << "typing";
        QTest::newRow("space") << int(C::PlayPause) << QKeySequence("Space") << "typing";
        QTest::newRow("word move") << int(C::SkipForward) << QKeySequence("Ctrl+Right") << "moving";
        QTest::newRow("function key") << int(C::PlayPause) << QKeySequence("F9") << QString();
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
        const auto cmd = PlaybackCommand(command);
        KeyBindings bindings;
        QSignalSpy changed(&bindings, &KeyBindings::keyChanged);
        const QKeySequence before = bindings.key(cmd);
        const bool accepted = bindings.setKey(cmd, key);
        QCOMPARE(accepted, reason.isEmpty());
        if (accepted) {
            QCOMPARE(bindings.key(cmd), key.isEmpty() ? key : QKeySequence(key[0]));
            QCOMPARE(KeyBindings().key(cmd), bindings.key(cmd)); // read back from the file
        } else {
            QVERIFY2(bindings.conflict(cmd, key).contains(reason),
                     qPrintable(bindings.conflict(cmd, key)));
            QCOMPARE(bindings.key(cmd), before);
            QCOMPARE(changed.count(), 0);
            QVERIFY(!QFile::exists(m_file));
        }
    }

    void storedKeys_areCheckedWhenRead()
    {
        {
            QSettings file = stored();
            file.setValue("keys/skipBack", "Ctrl+J");   // the timestamp's default: it gives way
            file.setValue("keys/slower", "Ctrl+Z");     // Undo: the default instead
            file.setValue("keys/faster", "not a key+"); // unreadable: the default
            file.setValue("keys/playPause", "");        // cleared by the user
        }
        KeyBindings bindings;
        QCOMPARE(bindings.key(PlaybackCommand::SkipBack), QKeySequence("Ctrl+J"));
        QCOMPARE(bindings.key(PlaybackCommand::InsertTimestamp), QKeySequence());
        QCOMPARE(bindings.key(PlaybackCommand::Slower), QKeySequence("Ctrl+Shift+["));
        QCOMPARE(bindings.key(PlaybackCommand::Faster), QKeySequence("Ctrl+Shift+]"));
        QCOMPARE(bindings.key(PlaybackCommand::PlayPause), QKeySequence());

        QSignalSpy changed(&bindings, &KeyBindings::keyChanged);
        bindings.restoreDefaults();
        QCOMPARE(changed.count(), 3); // skip back, timestamp, play/pause
        for (PlaybackCommand command : allPlaybackCommands())
            QCOMPARE(bindings.key(command), KeyBindings::defaultKey(command));
        QVERIFY(stored().childGroups().isEmpty());
    }
};

QTEST_MAIN(tst_KeyBindings)
#include "tst_KeyBindings.moc"
