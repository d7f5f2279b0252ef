#include "RegularFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace dictaro;
using Links = RegularFile::Links;

class tst_RegularFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(dictaro::test::writeFile(path("small.txt"), "twelve bytes"));
        QVERIFY(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600) == 0);
        QVERIFY(QFile::link(path("small.txt"), path("link-to-small")));
        QVERIFY(QFile::link(path("pipe"), path("link-to-pipe")));
        QVERIFY(QFile::link("/dev/zero", path("link-to-zero")));
        QVERIFY(QFile::link(path("nothing"), path("dangling")));
        QVERIFY(QDir().mkpath(path("folder")));
    }

    // Only a regular file within the limit is read; pipes, devices, folders and links (where
    // refused) come back at once as nothing. The check made before a library opens a file by
    // name says the same, and lets a missing file pass.
    void read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("followLinks");
        QTest::addColumn<bool>("readable");
        QTest::newRow("regular") << "small.txt" << qint64(12) << false << true;
        QTest::newRow("one byte too large") << "small.txt" << qint64(11) << false << false;
        QTest::newRow("link followed") << "link-to-small" << qint64(100) << true << true;
        QTest::newRow("link refused") << "link-to-small" << qint64(100) << false << false;
        QTest::newRow("pipe") << "pipe" << qint64(100) << true << false;
        QTest::newRow("link to a pipe") << "link-to-pipe" << qint64(100) << true << false;
        QTest::newRow("link to /dev/zero") << "link-to-zero" << qint64(100) << true << false;
        QTest::newRow("device") << "/dev/zero" << qint64(100) << true << false;
        QTest::newRow("folder") << "folder" << qint64(100) << true << false;
        QTest::newRow("missing") << "nothing" << qint64(100) << true << false;
        QTest::newRow("dangling link") << "dangling" << qint64(100) << true << false;
    }
    void read()
    {
        QFETCH(QString, name);
        QFETCH(qint64, limit);
        QFETCH(bool, followLinks);
        QFETCH(bool, readable);
        const QString file = name.startsWith('/') ? name : path(name);
        const Links links = followLinks ? Links::Follow : Links::Refuse;
        QString error;
        const auto bytes = RegularFile::read(file, limit, links, &error);
        QCOMPARE(bytes.has_value(), readable);
        if (readable)
            QCOMPARE(*bytes, QByteArray("twelve bytes"));
        else
            QVERIFY(!error.isEmpty());
        const bool missing = !QFileInfo::exists(file);
        QCOMPARE(RegularFile::isMissingOrRegular(file, limit, links), readable || missing);
    }
};

QTEST_GUILESS_MAIN(tst_RegularFile)
#include "tst_RegularFile.moc"
