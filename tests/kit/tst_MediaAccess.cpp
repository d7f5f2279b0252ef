#include "MediaReference.h"
#include "Platform.h"
#include "ProjectStore.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;
using namespace Qt::StringLiterals;

class tst_MediaAccess : public QObject
{
    Q_OBJECT

private slots:
    void resolve_data();
    void resolve();
    void resolve_malformedBytes_isAbsent_data();
    void resolve_malformedBytes_isAbsent();

private:
    std::unique_ptr<ProjectStore::MediaAccess> m_access;
};

// What happens to the recording "t/a/r.wav" after its reference was made, as steps separated by
// ";": "mv FROM TO", "ln TARGET LINK", "fill N" (N files next to it), "copy" (replaced by a
// copy), "append", "rm", "bare" (the reference is only its path, as in older files).
void tst_MediaAccess::resolve_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected"); // empty: the old path, where no file is left
    QTest::addColumn<bool>("stale");

    QTest::newRow("unchanged") << u""_s << u"t/a/r.wav"_s << false;
    QTest::newRow("renamed in its folder") << u"mv t/a/r.wav t/a/n.wav"_s << u"t/a/n.wav"_s << true;
    QTest::newRow("into a sibling folder") << u"mv t/a/r.wav t/b/n.wav"_s << u"t/b/n.wav"_s << true;
    QTest::newRow("folder renamed") << u"mv t/a t/a2"_s << u"t/a2/r.wav"_s << true;
    QTest::newRow("two levels away") << u"mv t/a/r.wav t/b/c/r.wav"_s << u""_s << false;
    QTest::newRow("link not followed")
        << u"mv t/a/r.wav t/b/c/r.wav;ln t/b/c t/a/l"_s << u""_s << false;
    // Reachable in principle, but only after more entries than a resolution may look at.
    QTest::newRow("beyond the search budget")
        << u"fill 5000;mv t/a/r.wav t/a/s/r.wav"_s << u""_s << false;
    QTest::newRow("replaced by a copy") << u"copy"_s << u"t/a/r.wav"_s << true;
    QTest::newRow("rewritten in place") << u"append"_s << u"t/a/r.wav"_s << false;
    QTest::newRow("deleted") << u"rm"_s << u""_s << false;
    // A bare path to an existing file is stale: it should be renewed as a full record.
    QTest::newRow("bare path") << u"bare"_s << u"t/a/r.wav"_s << true;
}

void tst_MediaAccess::resolve()
{
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    QFETCH(bool, stale);
    QTemporaryDir dir(QDir::tempPath() + u"/kayıt ğüş 録音-XXXXXX"_s); // paths are UTF-8
    const auto path = [&dir](const QString& relative) { return dir.filePath(relative); };
    const auto write = [&](const QString& relative, const QByteArray& bytes) {
        return dictaro::test::writeFile(path(relative), bytes);
    };
    const QString file = path(u"t/a/r.wav"_s);
    QVERIFY(write(u"t/a/r.wav"_s, "RIFF-audio"));
    QByteArray bookmark = ProjectStore::makeBookmark(file).value_or(QByteArray());
    // Unrelated files around it are passed over.
    QVERIFY(write(u"t/a/other.wav"_s, "other") && write(u"t/other.wav"_s, "other"));

    for (const QString& step : steps.split(u';', Qt::SkipEmptyParts)) {
        const QStringList word = step.split(u' ');
        if (word[0] == u"mv") {
            QVERIFY(QDir().mkpath(QFileInfo(path(word[2])).path()));
            QVERIFY(QDir().rename(path(word[1]), path(word[2])));
        } else if (word[0] == u"ln") {
            QVERIFY(QFile::link(path(word[1]), path(word[2])));
        } else if (word[0] == u"fill") {
            for (int i = 0; i < word[1].toInt(); ++i)
                QVERIFY(write(u"t/a/f%1.txt"_s.arg(i), {}));
        } else if (word[0] == u"copy") {
            QVERIFY(QFile::copy(file, file + u".tmp"_s) && QFile::remove(file));
            QVERIFY(QFile::rename(file + u".tmp"_s, file));
        } else if (word[0] == u"append") {
            QFile handle(file);
            QVERIFY(handle.open(QIODevice::Append) && handle.write("more audio") > 0);
        } else if (word[0] == u"rm") {
            QVERIFY(QFile::remove(file));
        } else if (word[0] == u"bare") {
            bookmark = file.toUtf8();
        }
    }

    m_access = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(m_access && !bookmark.isEmpty());
    QCOMPARE(m_access->path(), expected.isEmpty() ? file : path(expected));
    QCOMPARE(m_access->isStale(), stale);
    QCOMPARE(QFile::exists(m_access->path()), !expected.isEmpty());
}

void tst_MediaAccess::resolve_malformedBytes_isAbsent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("relative path") << QByteArray("music/rec.wav");
    QTest::newRow("path with newline") << QByteArray("/tmp/rec.wav\n");
    QTest::newRow("path with NUL") << QByteArray("/tmp/a\0b", 8);

    // A record: 8 bytes of magic, a 2-byte version, a 4-byte path length, the path, the identity.
    const QByteArray valid = MediaReference{u"/tmp/rec.wav"_s, Platform::FileIdentity{}}.encode();
    QVERIFY(MediaReference::decode(valid));
    QTest::newRow("unknown version") << QByteArray(valid).replace(9, 1, "\x02");
    QTest::newRow("length past the end") << QByteArray(valid).replace(10, 4, "\xff\xff\xff\xff");
    QTest::newRow("trailing byte") << valid + '\0';
    for (qsizetype size = 0; size < valid.size(); size += 5)
        QTest::addRow("truncated to %d", int(size)) << valid.left(size);
}

void tst_MediaAccess::resolve_malformedBytes_isAbsent()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ProjectStore::resolveBookmark(bytes));
}

QTEST_GUILESS_MAIN(tst_MediaAccess)
#include "tst_MediaAccess.moc"
