// The one list of audio types and everything made from it: the file check and its message and
// the desktop entry generated at build time.
#include "AppState.h"
#include "AudioFileCheck.h"
#include "AudioTypes.h"
#include "TestFiles.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;

class tst_AudioTypes : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Each extension's MIME types include the one the system's database gives its files, so the
    // desktop offers Dictaro for them.
    void mimeTypes_matchTheSystemsDatabase()
    {
        const QMimeDatabase database;
        for (const AudioTypes::AudioType& type : AudioTypes::all()) {
            const QMimeType known =
                database.mimeTypeForFile("a." + type.extension, QMimeDatabase::MatchExtension);
            if (known.isDefault())
                continue; // a type this system does not know (CAF on some)
            QStringList names = known.aliases();
            names.append(known.name());
            const bool listed = std::any_of(names.cbegin(), names.cend(), [&](const QString& n) {
                return type.mimeTypes.contains(n);
            });
            QVERIFY2(listed, qPrintable(type.extension + " is " + known.name()));
        }
        const QStringList mimeTypes = AudioTypes::mimeTypes();
        QCOMPARE(QSet<QString>(mimeTypes.cbegin(), mimeTypes.cend()).size(), mimeTypes.size());
    }

    // Any letter case of a listed extension opens; other files are refused with the one message
    // that names every type.
    void fileCheck_acceptsTheListedExtensions()
    {
        for (const QString& extension : AudioTypes::extensions()) {
            QVERIFY(AppState::isSupportedAudioFile("talk." + extension));
            QVERIFY(AppState::isSupportedAudioFile("talk." + extension.toUpper()));
        }
        for (const char* other : {"talk.wma", "talk.avi", "talk", "mp3"})
            QVERIFY2(!AppState::isSupportedAudioFile(other), other);

        const QString notes = m_dir.filePath("notes.txt");
        QVERIFY(test::writeFile(notes, {}));
        QCOMPARE(AudioFileCheck::problem(notes).value_or(QString()),
                 QStringLiteral("“notes.txt” is not an audio file Dictaro can open. Choose an "
                                "MP3, M4A, AAC, WAV, AIFF, FLAC, CAF, Opus, Ogg, WebM, MP4, MOV "
                                "or MKV file."));
    }

    // The installed desktop entry offers exactly the listed MIME types.
    void desktopEntry_offersTheListedTypes()
    {
        const QStringList entries =
            QDir(DICTARO_PACKAGING_DIR).entryList({"*.desktop"}, QDir::Files);
        if (entries.isEmpty())
            QSKIP("no desktop entry is made on this platform");
        QFile file(QDir(DICTARO_PACKAGING_DIR).filePath(entries.constFirst()));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QString mimeTypes;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("MimeType="))
                mimeTypes = QString::fromUtf8(line.mid(9));
        }
        QCOMPARE(mimeTypes, AudioTypes::mimeTypes().join(';') + ';');
    }
};

QTEST_MAIN(tst_AudioTypes)
#include "tst_AudioTypes.moc"
