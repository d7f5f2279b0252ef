// The export sheet over a real AppState and store in a temporary folder: the choices, the
// flag of the application state, the file written and a failed write.
#include "AppState.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "TranscriptionSession.h"
#include "views/ExportSheet.h"
#include "views/ViewEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <memory>

using namespace dictaro;

namespace {

AppState::EngineFactory silentEngines()
{
    return [] {
        return std::make_unique<PlaybackEngine>(
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
    };
}

const QString transcript = QStringLiteral("[00:00:05] Grüße aus İzmir\nSecond [00:01:00] line");

// Answers the message box that an export shows on failure, and remembers what it said. Gives up
// after a few seconds so that a missing box fails the test instead of hanging it.
class MessageBoxCatcher
{
public:
    MessageBoxCatcher() { poll(200); }
    int seen = 0;
    QString text;
    QString informativeText;

private:
    void poll(int attemptsLeft)
    {
        QTimer::singleShot(20, qApp, [this, attemptsLeft] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++seen;
                text = box->text();
                informativeText = box->informativeText();
                box->accept();
            } else if (attemptsLeft > 0) {
                poll(attemptsLeft - 1);
            }
        });
    }
};

} // namespace

class tst_ExportSheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void export_writesTheChosenFormat_data();
    void export_writesTheChosenFormat();
    void everyPresentation_startsFromTheDefaults();
    void closingByAnyMeans_resetsTheFlag();
    void cancelledSaveDialog_writesNothing();
    void failedWrite_reportsAndWritesNothing_data();
    void failedWrite_reportsAndWritesNothing();
    void withoutSession_staysOpenAndDoesNothing();
    void suggestedFileName_keepsTheDialogInItsFolder();

private:
    ExportSheet* openSheet();
    template <typename T> T* control(ExportSheet* sheet, const char* name)
    {
        T* widget = sheet->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    // What the save dialog was asked and answers.
    QString m_answer;
    QString m_suggestedName;
    int m_dialogs = 0;
    bool m_sheetGoneWhenAsked = false;
};

void tst_ExportSheet::initTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
    QStandardPaths::setTestModeEnabled(true);
}

void tst_ExportSheet::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    auto store = std::make_shared<ProjectStore>(m_home->filePath(QStringLiteral("Projects")));
    m_state = std::make_unique<AppState>(store, silentEngines());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    m_state->openProject(Project{QUuid::createUuid(), QStringLiteral("Interview"), std::nullopt,
                                 QStringLiteral("speech.mp3"), transcript, 0, 1, now, now});
    m_window = std::make_unique<QWidget>();
    ViewEnvironment::setAppState(m_window.get(), m_state.get());
    m_window->resize(640, 420);
    m_window->show();

    m_answer.clear();
    m_suggestedName.clear();
    m_dialogs = 0;
    m_sheetGoneWhenAsked = false;
    ExportSheet::setSaveDialogForTesting(
        [this](QWidget* parent, const QString& name, ExportFormat) {
            ++m_dialogs;
            m_suggestedName = name;
            bool sheetVisible = false;
            for (const ExportSheet* sheet : m_window->findChildren<ExportSheet*>())
                sheetVisible = sheetVisible || sheet->isVisible();
            m_sheetGoneWhenAsked =
                parent == m_window.get() && !m_state->isExportPresented() && !sheetVisible;
            return m_answer;
        });
}

void tst_ExportSheet::cleanup()
{
    ExportSheet::setSaveDialogForTesting({});
    m_window.reset();
    if (m_state)
        m_state->closeProject();
    m_state.reset();
}

ExportSheet* tst_ExportSheet::openSheet()
{
    m_state->setExportPresented(true);
    auto* sheet = new ExportSheet(m_window.get());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    return sheet;
}

void tst_ExportSheet::export_writesTheChosenFormat_data()
{
    QTest::addColumn<bool>("markdown");
    QTest::addColumn<bool>("timestamps");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("plain text with timestamps") << false << true << "Interview.txt"
                                                << QByteArray("[00:00:05] Gr\xc3\xbc\xc3\x9f"
                                                              "e aus \xc4\xb0zmir\n"
                                                              "Second [00:01:00] line added");
    QTest::newRow("plain text without timestamps")
        << false << false << "Interview.txt"
        << QByteArray("Gr\xc3\xbc\xc3\x9f"
                      "e aus \xc4\xb0zmir\nSecond line added");
    QTest::newRow("Markdown with timestamps")
        << true << true << "Interview.md"
        << QByteArray("# Interview\n\n[00:00:05] Gr\xc3\xbc\xc3\x9f"
                      "e aus \xc4\xb0zmir\n"
                      "Second [00:01:00] line added");
    QTest::newRow("Markdown without timestamps") << true << false << "Interview.md"
                                                 << QByteArray("# Interview\n\nGr\xc3\xbc\xc3\x9f"
                                                               "e aus \xc4\xb0zmir\n"
                                                               "Second line added");
}

void tst_ExportSheet::export_writesTheChosenFormat()
{
    QFETCH(bool, markdown);
    QFETCH(bool, timestamps);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, expected);

    // An edit that is not autosaved yet is exported too.
    m_state->currentSession()->setTranscript(transcript + QStringLiteral(" added"));
    // An existing file is replaced.
    m_answer = m_home->filePath(QStringLiteral("out/") + fileName);
    QVERIFY(QDir().mkpath(m_home->filePath(QStringLiteral("out"))));
    {
        QFile old(m_answer);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older export that is longer than the new one, by far, really");
    }

    ExportSheet* sheet = openSheet();
    if (markdown)
        control<QRadioButton>(sheet, "markdownButton")->click();
    if (!timestamps)
        control<QCheckBox>(sheet, "includeTimestampsBox")->click();
    MessageBoxCatcher alerts;
    control<QPushButton>(sheet, "exportButton")->click();

    QCOMPARE(m_dialogs, 1);
    QCOMPARE(m_suggestedName, fileName);
    QVERIFY(m_sheetGoneWhenAsked); // the sheet had closed before the dialog came up
    QFile written(m_answer);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), expected);
    QCOMPARE(QDir(m_home->filePath(QStringLiteral("out"))).entryList(QDir::Files),
             QStringList{fileName}); // no temporary file left behind
    QCOMPARE(alerts.seen, 0);
    QVERIFY(!m_state->isExportPresented());
}

void tst_ExportSheet::everyPresentation_startsFromTheDefaults()
{
    for (int round = 0; round < 2; ++round) {
        ExportSheet* sheet = openSheet();
        QCOMPARE(sheet->format(), ExportFormat::PlainText);
        QVERIFY(sheet->includesTimestamps());
        QVERIFY(control<QRadioButton>(sheet, "plainTextButton")->isChecked());
        control<QRadioButton>(sheet, "markdownButton")->click();
        control<QCheckBox>(sheet, "includeTimestampsBox")->click();
        QCOMPARE(sheet->format(), ExportFormat::Markdown);
        QVERIFY(!sheet->includesTimestamps());
        control<QPushButton>(sheet, "cancelButton")->click();
        QVERIFY(!sheet->isVisible());
    }
    QCOMPARE(m_dialogs, 0);
}

void tst_ExportSheet::closingByAnyMeans_resetsTheFlag()
{
    // Cancel, Escape and closing the window cancel; Return exports.
    ExportSheet* sheet = openSheet();
    control<QPushButton>(sheet, "cancelButton")->click();
    QVERIFY(!m_state->isExportPresented());

    sheet = openSheet();
    QTest::keyClick(sheet, Qt::Key_Escape);
    QVERIFY(!sheet->isVisible());
    QVERIFY(!m_state->isExportPresented());

    sheet = openSheet();
    sheet->close();
    QVERIFY(!m_state->isExportPresented());
    QCOMPARE(m_dialogs, 0);

    sheet = openSheet();
    QTest::keyClick(sheet, Qt::Key_Return);
    QVERIFY(!m_state->isExportPresented());
    QCOMPARE(m_dialogs, 1);
}

void tst_ExportSheet::cancelledSaveDialog_writesNothing()
{
    ExportSheet* sheet = openSheet();
    MessageBoxCatcher alerts;
    control<QPushButton>(sheet, "exportButton")->click(); // the dialog answers "" (cancel)
    QCOMPARE(m_dialogs, 1);
    QVERIFY(!sheet->isVisible());
    QVERIFY(!m_state->isExportPresented());
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), QStringList());
    QCOMPARE(alerts.seen, 0);
}

void tst_ExportSheet::failedWrite_reportsAndWritesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("inside a missing folder") << "missing/Interview.txt";
    QTest::newRow("a folder") << "Folder.txt";
}

void tst_ExportSheet::failedWrite_reportsAndWritesNothing()
{
    QFETCH(QString, target);
    QVERIFY(QDir(m_home->path()).mkdir(QStringLiteral("Folder.txt")));
    m_answer = m_home->filePath(target);
    const QStringList before =
        QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    ExportSheet* sheet = openSheet();
    MessageBoxCatcher alerts;
    control<QPushButton>(sheet, "exportButton")->click();
    QCOMPARE(alerts.seen, 1);
    QCOMPARE(alerts.text, QStringLiteral("Export failed"));
    QVERIFY2(!alerts.informativeText.isEmpty(), "the system's reason is missing");
    QVERIFY(!QFileInfo(m_answer).isFile());
    QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(QDir(m_home->filePath(QStringLiteral("Folder.txt"))).isEmpty());
    // The session is not blamed for it.
    QCOMPARE(m_state->currentSession()->saveError(), std::nullopt);
}

void tst_ExportSheet::withoutSession_staysOpenAndDoesNothing()
{
    ExportSheet* sheet = openSheet();
    QVERIFY(m_state->closeProject());
    control<QPushButton>(sheet, "exportButton")->click();
    QVERIFY(sheet->isVisible());
    QCOMPARE(m_dialogs, 0);
    sheet->reject();
}

void tst_ExportSheet::suggestedFileName_keepsTheDialogInItsFolder()
{
    QCOMPARE(
        ExportSheet::suggestedFileName(QStringLiteral("Lecture.final"), ExportFormat::Markdown),
        QStringLiteral("Lecture.final.md"));
    QCOMPARE(ExportSheet::suggestedFileName(QStringLiteral("a/b\\c"), ExportFormat::PlainText),
             QStringLiteral("a-b-c.txt"));
}

QTEST_MAIN(tst_ExportSheet)
#include "tst_ExportSheet.moc"
