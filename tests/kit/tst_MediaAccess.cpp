#include "MediaReference.h"
#include "Platform.h"
#include "ProjectStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

} // namespace

class tst_MediaAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void resolve_movedNextDoor_findsItAgain_data();
    void resolve_movedNextDoor_findsItAgain();
    void resolve_fileAtPathChanged_data();
    void resolve_fileAtPathChanged();
    void resolve_malformedBytes_isAbsent_data();
    void resolve_malformedBytes_isAbsent();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    QByteArray bookmarkFor(const QString& relative)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        writeFile(path(relative), "RIFF-audio-" + relative.toUtf8());
        return ProjectStore::makeBookmark(path(relative)).value_or(QByteArray());
    }
    // Resolves and checks where the access points; the access stays open until cleanup().
    void expectResolved(const QByteArray& bookmark, const QString& relative, bool stale)
    {
        QVERIFY(!bookmark.isEmpty());
        m_access = ProjectStore::resolveBookmark(bookmark);
        QVERIFY(m_access);
        QCOMPARE(m_access->path(), path(relative));
        QCOMPARE(m_access->isStale(), stale);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ProjectStore::MediaAccess> m_access;
};

void tst_MediaAccess::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_MediaAccess::cleanup()
{
    m_access.reset();
    m_dir.reset();
    // Every test leaves the accesses balanced, including makeBookmark's own.
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_MediaAccess::resolve_movedNextDoor_findsItAgain_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected"); // empty: not found
    QTest::addColumn<QString>("link");     // a link in the old folder to the new one
    QTest::addColumn<int>("filler");       // files added to the old folder

    const QString old = u"t/a/r.wav"_s, none;
    QTest::newRow("renamed in its folder") << old << u"t/a/n.wav"_s << u"t/a/n.wav"_s << none << 0;
    QTest::newRow("into a subfolder") << old << u"t/a/s/n.wav"_s << u"t/a/s/n.wav"_s << none << 0;
    QTest::newRow("into a sibling folder") << old << u"t/b/n.wav"_s << u"t/b/n.wav"_s << none << 0;
    QTest::newRow("folder renamed") << u"t/a"_s << u"t/a2"_s << u"t/a2/r.wav"_s << none << 0;
    QTest::newRow("two levels away") << old << u"t/b/c/r.wav"_s << none << none << 0;
    QTest::newRow("link not followed") << old << u"t/b/c/r.wav"_s << none << u"t/a/l"_s << 0;
    // Reachable in principle, but only after more entries than a resolution may look at.
    QTest::newRow("beyond the search budget") << old << u"t/a/s/r.wav"_s << none << none << 5000;
}

void tst_MediaAccess::resolve_movedNextDoor_findsItAgain()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    QFETCH(QString, link);
    QFETCH(int, filler);
    const QByteArray bookmark = bookmarkFor(u"t/a/r.wav"_s);
    // Unrelated files around it are passed over.
    QVERIFY(writeFile(path(u"t/a/other.wav"_s), "other"));
    QVERIFY(writeFile(path(u"t/other.wav"_s), "other"));
    for (int i = 0; i < filler; ++i)
        QVERIFY(writeFile(path(u"t/a/f%1.txt"_s.arg(i)), {}));
    QVERIFY(QDir().mkpath(QFileInfo(path(to)).path()));
    QVERIFY(QDir().rename(path(from), path(to)));
    if (!link.isEmpty())
        QVERIFY(QFile::link(QFileInfo(path(to)).path(), path(link)));

    if (expected.isEmpty()) // the old path, not stale, and no file there
        expectResolved(bookmark, u"t/a/r.wav"_s, false);
    else
        expectResolved(bookmark, expected, true);
    QCOMPARE(QFile::exists(path(expected.isEmpty() ? u"t/a/r.wav"_s : expected)),
             !expected.isEmpty());
}

void tst_MediaAccess::resolve_fileAtPathChanged_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("barePath"); // the reference is only a path, as in older files
    QTest::addColumn<bool>("stale");
    QTest::newRow("unchanged") << "" << false << false;
    QTest::newRow("replaced by a copy") << "copy" << false << true;
    QTest::newRow("rewritten in place") << "rewrite" << false << false;
    QTest::newRow("deleted") << "delete" << false << false;
    // A bare path to an existing file is stale: it should be renewed as a full record.
    QTest::newRow("bare path") << "" << true << true;
    QTest::newRow("bare path, deleted") << "delete" << true << false;
}

void tst_MediaAccess::resolve_fileAtPathChanged()
{
    QFETCH(QString, change);
    QFETCH(bool, barePath);
    QFETCH(bool, stale);
    const QString name = u"kayıt ğüş 録音.wav"_s;
    const QString file = path(name);
    QByteArray bookmark = bookmarkFor(name);
    if (barePath)
        bookmark = file.toUtf8();
    if (change == u"copy") {
        QVERIFY(QFile::copy(file, file + u".tmp"_s));
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(file + u".tmp"_s, file));
    } else if (change == u"rewrite") {
        QFile handle(file);
        QVERIFY(handle.open(QIODevice::Append) && handle.write("more audio") > 0);
    } else if (change == u"delete") {
        QVERIFY(QFile::remove(file));
    }
    expectResolved(bookmark, name, stale);
    QCOMPARE(QFile::exists(file), change != u"delete");
    // An access ends once, however often it is stopped; cleanup() checks that destroying one
    // that was never stopped ends it too.
    QCOMPARE(Platform::openFileAccessCount(), 1);
    if (change == u"delete") {
        m_access->stop();
        m_access->stop();
        QCOMPARE(Platform::openFileAccessCount(), 0);
    }
}

void tst_MediaAccess::resolve_malformedBytes_isAbsent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray absolute = QByteArrayLiteral("/tmp/rec.wav");
    QTest::newRow("relative path") << QByteArray("music/rec.wav");
    QTest::newRow("path with newline") << absolute + '\n';
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
