#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "StoreError.h"
#include "TranscriptWriter.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

// The text a word processor finds in `paths`, as LibreOffice converts them: one string per file,
// paragraphs on lines. Empty when LibreOffice is missing or fails.
QStringList readByLibreOffice(const QStringList& paths, const QString& outDir)
{
    const QString office = QStandardPaths::findExecutable(u"soffice"_s);
    if (office.isEmpty())
        return {};
    QProcess process;
    process.start(office, QStringList{u"-env:UserInstallation=file://"_s + outDir + u"/profile"_s,
                                      u"--headless"_s, u"--norestore"_s, u"--convert-to"_s,
                                      u"txt:Text (encoded):UTF8"_s, u"--outdir"_s, outDir} +
                              paths);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    QStringList texts;
    for (const QString& path : paths) {
        QFile file(outDir + u'/' + QFileInfo(path).completeBaseName() + u".txt"_s);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QString text = QString::fromUtf8(file.readAll());
        if (text.startsWith(u'\uFEFF'))
            text.remove(0, 1);
        text.replace(u"\r\n"_s, u"\n"_s);
        texts.append(text);
    }
    return texts;
}

} // namespace

class tst_TranscriptWriter : public QObject
{
    Q_OBJECT

private slots:
    void documentsReadBackInAWordProcessor()
    {
        if (QStandardPaths::findExecutable(u"soffice"_s).isEmpty())
            QSKIP("LibreOffice is not installed");
        QTemporaryDir dir;
        const QString transcript = u"[00:00:01] Anna: Çok güzel & <tamam> \"evet\"\n"
                                   u"\n"
                                   u"[00:00:05] Ben:\tA tab, and a bell\u0007 that goes.\n"
                                   u"𝄞 [00:01:10] end"_s;
        ExportRequest request{transcript, u"Interview <3> & more"_s, ExportFormat::Word, true, 80};
        // One of each format, with and without timestamps; base names differ, as LibreOffice names
        // each text after its document's.
        const QStringList files{dir.filePath(u"word-with.docx"_s),
                                dir.filePath(u"odf-without.odt"_s)};
        TranscriptWriter::write(files[0], request);
        request.format = ExportFormat::OpenDocument;
        request.includeTimestamps = false;
        TranscriptWriter::write(files[1], request);

        const QStringList texts = readByLibreOffice(files, dir.path());
        QCOMPARE(texts.size(), 2);
        const QString with = u"Interview <3> & more\n"
                             u"[00:00:01] Anna: Çok güzel & <tamam> \"evet\"\n"
                             u"\n"
                             u"[00:00:05] Ben:\tA tab, and a bell that goes.\n"
                             u"𝄞 [00:01:10] end\n"_s;
        const QString without = u"Interview <3> & more\n"
                                u"Anna: Çok güzel & <tamam> \"evet\"\n"
                                u"\n"
                                u"Ben:\tA tab, and a bell that goes.\n"
                                u"𝄞 end\n"_s;
        QCOMPARE(texts[0], with);
        QCOMPARE(texts[1], without);
    }

    // (What a caption file holds is checked in tst_BatchCommands and tst_CaptionExporter.)
    void failedWrite_throws()
    {
        QTemporaryDir dir;
        ExportRequest request{u"[00:00:01] Hi"_s, u"P"_s, ExportFormat::Word, true, 3};
        QVERIFY_THROWS_EXCEPTION(
            StoreError, TranscriptWriter::write(dir.filePath(u"missing/out.docx"_s), request));
        // A folder where the file should be: the write fails and says so.
        QVERIFY(QDir(dir.path()).mkdir(u"taken.odt"_s));
        request.format = ExportFormat::OpenDocument;
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 TranscriptWriter::write(dir.filePath(u"taken.odt"_s), request));
    }
};

QTEST_MAIN(tst_TranscriptWriter)
#include "tst_TranscriptWriter.moc"
