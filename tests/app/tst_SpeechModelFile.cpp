#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "SpeechModelFile.h"
#include "TestFiles.h"

using namespace dictaro;
using namespace Qt::StringLiterals;

namespace {

const QString englishModel = QStringLiteral(DICTARO_SPEECH_MODELS "/test.en.bin");
const QString multilingualModel = QStringLiteral(DICTARO_SPEECH_MODELS "/test.bin");

void setInt32(QByteArray& bytes, int offset, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((quint32(value) >> (8 * i)) & 0xff);
}

} // namespace

class tst_SpeechModelFile : public QObject
{
    Q_OBJECT

private slots:
    void describesGeneratedModels()
    {
        for (const auto& [path, multilingual] :
             {std::pair{englishModel, false}, std::pair{multilingualModel, true}}) {
            QString problem;
            const std::optional<SpeechModelInfo> info = SpeechModelFile::inspect(path, &problem);
            QVERIFY2(info, qPrintable(problem));
            QCOMPARE(info->multilingual, multilingual);
        }
    }

    void refusesWhatIsNoUsableModel_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // a word of the message

        const QByteArray model = test::readFile(englishModel);
        QVERIFY(model.size() > 1'000'000);
        const auto cut = [&](qsizetype size) { return model.first(size); };
        // Layout: magic, eleven numbers, the mel filters (80 x 201 floats), the vocabulary, the
        // tensors.
        QTest::newRow("empty") << QByteArray() << u"not a speech model"_s;
        QTest::newRow("text") << "These are notes, not a model.\n"_ba << u"not a speech model"_s;
        QTest::newRow("cut in the numbers") << cut(30) << u"damaged"_s;
        QTest::newRow("cut in the filters") << cut(1000) << u"damaged"_s;
        QTest::newRow("cut in the vocabulary") << cut(48 + 8 + 80 * 201 * 4 + 5000) << u"damaged"_s;
        QTest::newRow("cut in a tensor") << cut(model.size() / 2) << u"damaged"_s;
        QTest::newRow("last byte missing") << cut(model.size() - 1) << u"damaged"_s;
        // The last tensor (a vector: three numbers, one dimension, then its name) left out whole.
        const qsizetype last = model.indexOf("decoder.blocks.0.cross_attn.out.bias");
        QVERIFY(last > 0);
        QTest::newRow("last tensor missing") << cut(last - 16) << u"damaged"_s;
        QTest::newRow("bytes after the end") << model + QByteArray(16, '\0') << u"damaged"_s;

        QByteArray renamed = model;
        const qsizetype at = renamed.indexOf("decoder.ln.bias");
        QVERIFY(at > 0);
        renamed[at + 11] = 'B';
        QTest::newRow("unknown tensor") << renamed << u"can't use"_s;
        QByteArray huge = model;
        setInt32(huge, 4, 0x7fffffff); // the vocabulary size
        QTest::newRow("absurd vocabulary") << huge << u"can't use"_s;
        QByteArray narrower = model;
        setInt32(narrower, 4 + 4 * 6, 16); // the text width, no longer the audio width
        QTest::newRow("widths differ") << narrower << u"can't use"_s;
        QByteArray fileType = model;
        setInt32(fileType, 4 + 4 * 10, 77);
        QTest::newRow("unknown weight type") << fileType << u"can't use"_s;
    }

    void refusesWhatIsNoUsableModel()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"model.bin"_s);
        QVERIFY(test::writeFile(path, bytes));
        QString problem;
        QVERIFY(!SpeechModelFile::inspect(path, &problem));
        QVERIFY2(problem.contains(expected), qPrintable(problem));
        QVERIFY2(problem.contains(u"model.bin"_s), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(tst_SpeechModelFile)
#include "tst_SpeechModelFile.moc"
