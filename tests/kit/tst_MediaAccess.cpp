#include "MediaReference.h"
#include "Platform.h"
#include "ProjectStore.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace dictaro;

namespace {

bool writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// A record laid out by hand, so that malformed ones can be built field by field.
QByteArray record(quint16 version, const QByteArray& path, qsizetype claimedLength = -1)
{
    QByteArray out("\x89"
                   "DMREF\r\n");
    char buffer[8];
    qToBigEndian<quint16>(version, buffer);
    out.append(buffer, 2);
    qToBigEndian<quint32>(quint32(claimedLength < 0 ? path.size() : claimedLength), buffer);
    out.append(buffer, 4);
    out.append(path);
    out.append(32, '\1'); // device, inode, size, modification time
    return out;
}

} // namespace

class tst_MediaAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void resolve_samePath_isNotStale();
    void resolve_movedNextDoor_findsItAgain_data();
    void resolve_movedNextDoor_findsItAgain();
    void resolve_fileAtPathChanged_data();
    void resolve_fileAtPathChanged();
    void resolve_symlinkedFolder_isNotFollowed();
    void resolve_searchStopsInAHugeFolder();
    void resolve_pathOnlyBytes_data();
    void resolve_pathOnlyBytes();
    void resolve_malformedBytes_isAbsent_data();
    void resolve_malformedBytes_isAbsent();
    void resolve_randomBytes_neverCrash();
    void makeBookmark_withoutARegularFile_isAbsent();
    void makeBookmark_relativePath_isMadeAbsolute();
    void reference_roundTripsUnusualPaths();
    void access_endsExactlyOnce();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    QByteArray bookmarkFor(const QString& relative)
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        if (!writeFile(file, "RIFF-audio-" + relative.toUtf8()))
            return {};
        return ProjectStore::makeBookmark(file).value_or(QByteArray());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_MediaAccess::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_MediaAccess::cleanup()
{
    m_dir.reset();
    // Every test leaves the accesses balanced, including makeBookmark's own.
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

void tst_MediaAccess::resolve_samePath_isNotStale()
{
    const QByteArray bookmark = bookmarkFor(QStringLiteral("a/rec.wav"));
    QVERIFY(!bookmark.isEmpty());
    const auto access = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(access);
    QCOMPARE(access->path(), path(QStringLiteral("a/rec.wav")));
    QVERIFY(!access->isStale());
    QCOMPARE(Platform::openFileAccessCount(), 1);
}

void tst_MediaAccess::resolve_movedNextDoor_findsItAgain_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected"); // empty: not found

    const QString original = QStringLiteral("top/a/rec.wav");
    QTest::newRow("renamed in its folder") << original << "top/a/renamed.wav"
                                           << "top/a/renamed.wav";
    QTest::newRow("into a subfolder") << original << "top/a/done/rec.wav"
                                      << "top/a/done/rec.wav";
    QTest::newRow("into a sibling folder") << original << "top/b/x.wav"
                                           << "top/b/x.wav";
    QTest::newRow("to the parent") << original << "top/rec.wav"
                                   << "top/rec.wav";
    QTest::newRow("folder renamed") << "top/a"
                                    << "top/a2"
                                    << "top/a2/rec.wav";
    QTest::newRow("two levels away") << original << "top/b/c/rec.wav"
                                     << "";
    QTest::newRow("above the parent") << original << "rec.wav"
                                      << "";
}

void tst_MediaAccess::resolve_movedNextDoor_findsItAgain()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    const QByteArray bookmark = bookmarkFor(QStringLiteral("top/a/rec.wav"));
    QVERIFY(!bookmark.isEmpty());
    // Unrelated files around it are passed over.
    QVERIFY(writeFile(path(QStringLiteral("top/a/other.wav")), "other"));
    QVERIFY(writeFile(path(QStringLiteral("top/other.wav")), "other"));
    QVERIFY(QDir().mkpath(QFileInfo(path(to)).path()));
    QVERIFY(QDir().rename(path(from), path(to)));

    const auto access = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(access);
    if (expected.isEmpty()) {
        QCOMPARE(access->path(), path(QStringLiteral("top/a/rec.wav")));
        QVERIFY(!access->isStale());
        QVERIFY(!QFile::exists(access->path()));
    } else {
        QCOMPARE(access->path(), path(expected));
        QVERIFY(access->isStale());
    }
}

void tst_MediaAccess::resolve_fileAtPathChanged_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("stale");
    QTest::newRow("replaced by a copy") << "copy" << true << true;
    QTest::newRow("rewritten in place") << "rewrite" << true << false;
    QTest::newRow("deleted") << "delete" << false << false;
}

void tst_MediaAccess::resolve_fileAtPathChanged()
{
    QFETCH(QString, change);
    QFETCH(bool, exists);
    QFETCH(bool, stale);
    const QString file = path(QStringLiteral("rec.wav"));
    const QByteArray bookmark = bookmarkFor(QStringLiteral("rec.wav"));
    QVERIFY(!bookmark.isEmpty());
    if (change == u"copy") {
        const QString copy = file + QStringLiteral(".tmp");
        QVERIFY(QFile::copy(file, copy));
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(copy, file));
    } else if (change == u"rewrite") {
        QFile handle(file);
        QVERIFY(handle.open(QIODevice::Append));
        QVERIFY(handle.write("more audio") > 0);
    } else {
        QVERIFY(QFile::remove(file));
    }

    const auto access = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(access);
    QCOMPARE(access->path(), file);
    QCOMPARE(access->isStale(), stale);
    QCOMPARE(QFile::exists(access->path()), exists);
}

void tst_MediaAccess::resolve_symlinkedFolder_isNotFollowed()
{
#if defined(Q_OS_WIN)
    QSKIP("Folder links need privileges on this system");
#endif
    const QByteArray bookmark = bookmarkFor(QStringLiteral("a/rec.wav"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("elsewhere/deep"))));
    QVERIFY(QFile::rename(path(QStringLiteral("a/rec.wav")),
                          path(QStringLiteral("elsewhere/deep/rec.wav"))));
    QVERIFY(QFile::link(path(QStringLiteral("elsewhere/deep")), path(QStringLiteral("a/link"))));

    const auto access = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(access);
    QCOMPARE(access->path(), path(QStringLiteral("a/rec.wav")));
    QVERIFY(!access->isStale());
}

void tst_MediaAccess::resolve_searchStopsInAHugeFolder()
{
    const QByteArray bookmark = bookmarkFor(QStringLiteral("huge/rec.wav"));
    for (int i = 0; i < 5000; ++i)
        QVERIFY(writeFile(path(QStringLiteral("huge/f%1.txt").arg(i)), {}));
    QVERIFY(QDir().mkpath(path(QStringLiteral("huge/sub"))));
    QVERIFY(QFile::rename(path(QStringLiteral("huge/rec.wav")),
                          path(QStringLiteral("huge/sub/rec.wav"))));

    // Reachable in principle, but only after more entries than a resolution may look at.
    const auto access = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(access);
    QCOMPARE(access->path(), path(QStringLiteral("huge/rec.wav")));
    QVERIFY(!access->isStale());
}

void tst_MediaAccess::resolve_pathOnlyBytes_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("stale");
    QTest::newRow("existing file") << "rec.wav" << true << true;
    QTest::newRow("non-ASCII name") << QStringLiteral("kayıt ğüş 録音.wav") << true << true;
    QTest::newRow("missing file") << "gone.wav" << false << false;
    QTest::newRow("a folder") << "folder" << false << false;
}

void tst_MediaAccess::resolve_pathOnlyBytes()
{
    QFETCH(QString, relative);
    QFETCH(bool, create);
    QFETCH(bool, stale);
    const QString file = path(relative);
    if (create)
        QVERIFY(writeFile(file, "audio"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder"))));

    const auto access = ProjectStore::resolveBookmark(file.toUtf8());
    QVERIFY(access);
    QCOMPARE(access->path(), file);
    QCOMPARE(access->isStale(), stale);

    // A stale bare path is renewed as a full record.
    if (stale) {
        const std::optional<QByteArray> renewed = ProjectStore::makeBookmark(access->path());
        QVERIFY(renewed && *renewed != file.toUtf8());
        QVERIFY(!ProjectStore::resolveBookmark(*renewed)->isStale());
    }
}

void tst_MediaAccess::resolve_malformedBytes_isAbsent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray absolute = QByteArrayLiteral("/tmp/rec.wav");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("not a reference");
    QTest::newRow("relative path") << QByteArray("music/rec.wav");
    QTest::newRow("resource path") << QByteArray(":/rec.wav");
    QTest::newRow("path with newline") << absolute + '\n';
    QTest::newRow("path with NUL") << QByteArray("/tmp/a\0b", 8);
    QTest::newRow("path in bad UTF-8") << QByteArray("/tmp/\xff\xfe.wav");
    QTest::newRow("path after a BOM") << "\xef\xbb\xbf" + absolute;
    QTest::newRow("magic only") << QByteArray("\x89"
                                              "DMREF\r\n");
    QTest::newRow("wrong magic") << record(1, absolute).replace(1, 1, "X");
    QTest::newRow("unknown version") << record(2, absolute);
    QTest::newRow("version zero") << record(0, absolute);
    QTest::newRow("trailing byte") << record(1, absolute) + '\0';
    QTest::newRow("length past the end") << record(1, absolute, 0xffffffff);
    QTest::newRow("length one short") << record(1, absolute, absolute.size() - 1);
    QTest::newRow("empty path") << record(1, {});
    QTest::newRow("relative path inside") << record(1, "rec.wav");
    QTest::newRow("bad UTF-8 inside") << record(1, "/tmp/\xc0\xaf.wav");
    const QByteArray valid = record(1, absolute);
    for (qsizetype size = 1; size < valid.size(); size += 5)
        QTest::addRow("truncated to %d", int(size)) << valid.left(size);
}

void tst_MediaAccess::resolve_malformedBytes_isAbsent()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ProjectStore::resolveBookmark(bytes));
    QVERIFY(MediaReference::decode(record(1, "/tmp/rec.wav"))); // the untouched record is valid
}

void tst_MediaAccess::resolve_randomBytes_neverCrash()
{
    QRandomGenerator random(20240601);
    const QByteArray valid = bookmarkFor(QStringLiteral("rec.wav"));
    QVERIFY(!valid.isEmpty());
    for (int round = 0; round < 4000; ++round) {
        // Even rounds: noise. Odd rounds: a real record with a few bytes changed, cut or extended.
        QByteArray bytes = round % 2 == 0 ? QByteArray() : valid;
        const int size = random.bounded(int(valid.size()) + 8);
        for (int i = 0; i < 3 && !bytes.isEmpty(); ++i)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        bytes.truncate(size);
        while (bytes.size() < size)
            bytes.append(char(random.bounded(256)));
        const auto access = ProjectStore::resolveBookmark(bytes);
        if (access)
            QVERIFY2(QDir::isAbsolutePath(access->path()), bytes.toHex().constData());
    }
}

void tst_MediaAccess::makeBookmark_withoutARegularFile_isAbsent()
{
    QVERIFY(!ProjectStore::makeBookmark(QString()));
    QVERIFY(!ProjectStore::makeBookmark(path(QStringLiteral("nothing.wav"))));
    QVERIFY(!ProjectStore::makeBookmark(m_dir->path()));
}

void tst_MediaAccess::makeBookmark_relativePath_isMadeAbsolute()
{
    QVERIFY(writeFile(path(QStringLiteral("rec.wav")), "audio"));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(path(QStringLiteral("."))));
    const std::optional<QByteArray> bookmark =
        ProjectStore::makeBookmark(QStringLiteral("./sub/../rec.wav"));
    QDir::setCurrent(previous);
    QVERIFY(bookmark);
    QCOMPARE(ProjectStore::resolveBookmark(*bookmark)->path(), path(QStringLiteral("rec.wav")));
}

void tst_MediaAccess::reference_roundTripsUnusualPaths()
{
    for (const QString& name : {QStringLiteral("line\nbreak.wav"), QStringLiteral("録音 ğ.wav")}) {
        const QString file = path(name);
        QVERIFY(writeFile(file, "audio"));
        const std::optional<MediaReference> reference = MediaReference::forFile(file);
        QVERIFY(reference && reference->identity);
        QCOMPARE(MediaReference::decode(reference->encode()), reference);
    }
    // Only a full record may carry a control character; a bare path never does.
    MediaReference bare{path(QStringLiteral("line\nbreak.wav")), std::nullopt};
    QVERIFY(bare.encode().isEmpty());
    bare.path = path(QStringLiteral("plain.wav"));
    QCOMPARE(bare.encode(), bare.path.toUtf8());
    QCOMPARE(MediaReference::decode(bare.encode()), bare);
}

void tst_MediaAccess::access_endsExactlyOnce()
{
    const QByteArray bookmark = bookmarkFor(QStringLiteral("rec.wav"));
    auto first = ProjectStore::resolveBookmark(bookmark);
    auto second = ProjectStore::resolveBookmark(bookmark);
    QVERIFY(first && second);
    QCOMPARE(Platform::openFileAccessCount(), 2);
    first->stop();
    QCOMPARE(Platform::openFileAccessCount(), 1);
    first->stop();
    QCOMPARE(Platform::openFileAccessCount(), 1);
    first.reset(); // already stopped: ends nothing more
    QCOMPARE(Platform::openFileAccessCount(), 1);
    second.reset(); // never stopped: its destruction ends it
    QCOMPARE(Platform::openFileAccessCount(), 0);

    // An access that began nothing ends nothing.
    ProjectStore::MediaAccess idle(path(QStringLiteral("rec.wav")), false, false);
    idle.stop();
    QCOMPARE(Platform::openFileAccessCount(), 0);
}

QTEST_GUILESS_MAIN(tst_MediaAccess)
#include "tst_MediaAccess.moc"
