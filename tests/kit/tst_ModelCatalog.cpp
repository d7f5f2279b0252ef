// The check of a model file the user brings.
#include "ModelCatalog.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace dictaro;

class tst_ModelCatalog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        if (!dictaro::test::writeFile(m_dir.filePath(name), bytes))
            qFatal("can't write %s", qPrintable(name));
        return m_dir.filePath(name);
    }

private slots:
    void checkModelFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<ModelCatalog::FileVerdict>("verdict");
        const QByteArray magic("lmgg"); // 0x67676d6c, little-endian
        const QByteArray padding(ModelCatalog::minModelBytes, '\0');
        QTest::newRow("model") << write("model.bin", magic + padding)
                               << ModelCatalog::FileVerdict::Model;
        QTest::newRow("other data") << write("notes.bin", QByteArray("GGUF") + padding)
                                    << ModelCatalog::FileVerdict::NotModel;
        QTest::newRow("truncated") << write("short.bin", magic + QByteArray(100, '\0'))
                                   << ModelCatalog::FileVerdict::WrongSize;
        QTest::newRow("missing") << m_dir.filePath("nothing.bin")
                                 << ModelCatalog::FileVerdict::Unreadable;
        QTest::newRow("folder") << m_dir.path() << ModelCatalog::FileVerdict::Unreadable;
        const QString fifo = m_dir.filePath("pipe.bin");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::newRow("pipe (never waited on)") << fifo << ModelCatalog::FileVerdict::Unreadable;
        // Sparse: takes no room.
        const QString huge = write("huge.bin", magic);
        QVERIFY(QFile::resize(huge, ModelCatalog::maxModelBytes + 1));
        QTest::newRow("too large") << huge << ModelCatalog::FileVerdict::WrongSize;
    }

    void checkModelFile()
    {
        QFETCH(QString, path);
        QFETCH(ModelCatalog::FileVerdict, verdict);
        const ModelCatalog::FileCheck check = ModelCatalog::checkModelFile(path);
        QCOMPARE(check.verdict, verdict);
        QCOMPARE(check.reason.isEmpty(), verdict != ModelCatalog::FileVerdict::Unreadable);
    }
};

QTEST_GUILESS_MAIN(tst_ModelCatalog)
#include "tst_ModelCatalog.moc"
