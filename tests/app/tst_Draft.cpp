// Machine drafts in the real window, over a temporary home and the libmpv engine playing a
// 6-second recording, with a scripted recogniser: where the draft goes, undo and the typist's
// caret while it arrives, autosave, cancel, closing on a stuck recogniser, the unsure-word marks
// and their side file, follow-along, and the command's absence without an engine.
#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "CommandRegistry.h"
#include "DictaroApp.h"
#include "DraftController.h"
#include "DraftMarks.h"
#include "DraftStretchDialog.h"
#include "Drafter.h"
#include "MainWindow.h"
#include "PlaybackEngine.h"
#include "TestSupport.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "TranscriptionSession.h"
#include "TranscriptionView.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <clocale>
#include <mutex>
#include <thread>

#include <sys/stat.h>

using namespace dictaro;
using namespace std::chrono_literals;

namespace {

RecognisedSegment spoken(double start, double end, QList<std::pair<QString, double>> words)
{
    RecognisedSegment segment{start, end, {}, {}};
    const double step = (end - start) / double(words.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString text = u' ' + words[i].first;
        segment.text += text;
        segment.words.push_back(
            {start + step * double(i), start + step * double(i + 1), text, words[i].second});
    }
    return segment;
}

// What the recogniser says and how, and what it was asked; shared with its worker thread.
struct Script
{
    std::vector<RecognisedSegment> segments{
        spoken(0.2, 1.5, {{"Dictaro", 0.9}, {"test", 0.9}, {"recording.", 0.3}}),
        spoken(1.6, 3.5, {{"One,", 0.95}, {"two,", 0.2}, {"three,", 0.9}}),
        spoken(3.6, 5.8, {{"four,", 0.9}, {"five,", 0.9}, {"six.", 0.9}})};
    std::chrono::milliseconds delay{0};
    // After its first segment it hangs, deaf to cancelling, for this long.
    std::chrono::milliseconds stuckFor{0};
    std::optional<QString> loadError;

    std::mutex mutex;
    DraftPlacement::Stretch asked;
    QString language;
    QString model;
};

class ScriptedRecogniser : public Recogniser
{
public:
    explicit ScriptedRecogniser(std::shared_ptr<Script> script) : m_script(std::move(script)) {}

    std::optional<QString> load(const QString& path) override
    {
        const std::lock_guard lock(m_script->mutex);
        m_script->model = path;
        m_loaded = !m_script->loadError;
        return m_script->loadError;
    }
    bool isLoaded() const override { return m_loaded; }
    bool recognise(const Request& request, const std::atomic<bool>& cancel, const SegmentSink& sink,
                   const Progress& progress) override
    {
        {
            const std::lock_guard lock(m_script->mutex);
            m_script->language = request.language;
        }
        const double end = request.offset + double(request.samples.size()) / sampleRate;
        for (const RecognisedSegment& segment : m_script->segments) {
            if (segment.start < request.offset || segment.start >= end)
                continue;
            for (auto waited = 0ms; waited < m_script->delay; waited += 10ms) {
                if (cancel)
                    return false;
                std::this_thread::sleep_for(10ms);
            }
            sink(segment);
            progress(segment.end);
            if (m_script->stuckFor > 0ms) {
                std::this_thread::sleep_for(m_script->stuckFor);
                return false;
            }
        }
        return true;
    }

private:
    std::shared_ptr<Script> m_script;
    bool m_loaded = false;
};

DraftEngine scriptedEngine(const std::shared_ptr<Script>& script)
{
    return {[script] { return std::make_unique<ScriptedRecogniser>(script); },
            [script](const QString&, double start, double end, std::vector<float>& samples,
                     const std::atomic<bool>&, QString&) {
                const std::lock_guard lock(script->mutex);
                script->asked = {start, end};
                samples.assign(std::size_t((end - start) * Recogniser::sampleRate), 0.0f);
                return true;
            }};
}

// Whether `block` is drawn with a dotted underline over [from, to) of its text.
bool markedUnsure(const QTextBlock& block, const QString& word)
{
    const qsizetype from = block.text().indexOf(word);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::DotLine && range.start <= from &&
            from + word.size() <= range.start + range.length)
            return true;
    }
    return false;
}

const QString wholeDraft = QStringLiteral("[00:00:00] Dictaro test recording.\n"
                                          "[00:00:01] One, two, three,\n"
                                          "[00:00:03] four, five, six.\n");

} // namespace

class tst_Draft : public QObject
{
    Q_OBJECT

    std::optional<test::TemporaryHome> m_home;
    std::unique_ptr<DictaroApp> m_app;
    std::shared_ptr<Script> m_script;

    AppState& state() { return m_app->appState(); }
    MainWindow& window() { return m_app->mainWindow(); }
    QAction* makeDraftAction() { return window().actions().action(Command::MakeDraft); }
    TranscriptionView* view() { return window().transcriptionView(); }
    Drafter& drafter() { return view()->draft()->drafter(); }
    TranscriptEditor* editor() { return view()->editor(); }

    TranscriptionSession& openProject(const QString& transcript = {})
    {
        const QString path = m_home->filePath(QStringLiteral("talk.wav"));
        if (!QFile::exists(path))
            test::copyFixture(QStringLiteral("speech.wav"), path);
        state().openAudioFile(path, transcript);
        return opened();
    }
    TranscriptionSession& opened(const QUuid& reopen = {})
    {
        if (!reopen.isNull())
            state().openProject(reopen);
        TranscriptionSession* session = state().currentSession();
        if (!session || !QTest::qWaitFor([&] { return session->engine()->duration() > 0; }, 5000))
            qFatal("the project did not open");
        return *session;
    }
    bool draftDone()
    {
        return QTest::qWaitFor(
            [&] { return !drafter().isRunning() && !drafter().pendingSegments(); }, 8000);
    }
    void start()
    {
        m_app = std::make_unique<DictaroApp>(
            m_home->filePath(QStringLiteral("data/Projects")),
            std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions()));
        m_app->show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

private slots:
    void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

    void init()
    {
        m_home.emplace();
        AppSettings::setDraftChoice({QStringLiteral("/models/tiny.bin"), {}, true, true});
        m_script = std::make_shared<Script>();
        setDraftEngineForTesting(scriptedEngine(m_script));
        DraftStretchDialog::setAskForTesting({});
        start();
    }

    void cleanup()
    {
        m_app.reset();
        setDraftEngineForTesting(std::nullopt);
    }

    // An empty transcript gets the whole recording, a line per segment, in the interface's
    // language (or the model's own guess); a batch is one undo step.
    void emptyTranscript_getsTheWholeRecording_oneUndoStepPerBatch()
    {
        TranscriptionSession& session = openProject();
        m_script->delay = 700ms; // each segment in a batch of its own
        makeDraftAction()->trigger();
        QVERIFY(draftDone());
        QCOMPARE(session.transcript(), wholeDraft);
        QCOMPARE(m_script->asked, (DraftPlacement::Stretch{0, session.engine()->duration()}));
        QCOMPARE(m_script->model, QStringLiteral("/models/tiny.bin"));
        QCOMPARE(m_script->language, QStringLiteral("en"));

        session.document()->undo();
        QCOMPARE(session.transcript(), wholeDraft.first(wholeDraft.indexOf(u"[00:00:03]")));

        AppSettings::setDraftChoice({QStringLiteral("/models/base.bin"), "auto", true, true});
        m_script->delay = 0ms;
        makeDraftAction()->trigger();
        QVERIFY(draftDone());
        QCOMPARE(m_script->language, QString());
    }

    // Text with a stamp: the stretch after it, appended after the text. Text without one:
    // the user is asked, and nothing happens when they cancel. A missing model says why.
    void textWithoutStamp_asks_stampedText_continuesAfterTheLastStamp_questionGivesTheChoice()
    {
        TranscriptionSession& session = openProject(QStringLiteral("Intro [00:00:01] one"));
        m_script->segments.erase(m_script->segments.begin());
        makeDraftAction()->trigger();
        QVERIFY(draftDone());
        QCOMPARE(m_script->asked.start, 1.0);
        QCOMPARE(session.transcript(),
                 QStringLiteral("Intro [00:00:01] one\n") + wholeDraft.sliced(35));

        session.setTranscript(QStringLiteral("no stamp here"));
        std::optional<DraftPlacement::Stretch> answer, offered, offeredAfterStamp;
        int asked = 0;
        DraftStretchDialog::setAskForTesting([&](double, double, auto marked, auto afterStamp) {
            ++asked;
            offered = marked;
            offeredAfterStamp = afterStamp;
            return answer;
        });
        makeDraftAction()->trigger();
        QCOMPARE(asked, 1);
        QVERIFY(!drafter().isRunning());
        answer = DraftPlacement::Stretch{3.0, 6.0};
        makeDraftAction()->trigger();
        QVERIFY(draftDone());
        QCOMPARE(session.transcript(),
                 QStringLiteral("no stamp here\n[00:00:03] four, five, six.\n"));
        QVERIFY(!offered);
        // A marked stretch is offered also when the text has a stamp to go on from.
        session.engine()->setLoop(2.0, 4.0);
        answer.reset();
        makeDraftAction()->trigger();
        QCOMPARE(asked, 3);
        QCOMPARE(offered, (DraftPlacement::Stretch{2.0, 4.0}));
        QVERIFY(offeredAfterStamp && offeredAfterStamp->start == 3.0);
        session.engine()->clearLoop();

        AppSettings::setDraftChoice({});
        session.setTranscript({});
        makeDraftAction()->trigger();
        QVERIFY(!drafter().isRunning());
        auto* status = window().findChild<QLabel*>("draftStatus");
        QVERIFY(status->isVisible());
        QVERIFY(status->text().contains(QStringLiteral("Settings")));
        m_script->loadError = QStringLiteral("not a model");
        AppSettings::setDraftChoice({QStringLiteral("/models/x"), {}, true, true});
        makeDraftAction()->trigger();
        QTRY_VERIFY(status->text().contains(QStringLiteral("not a model")));

        // The question offers the marked stretch first, then the stretch after the last stamp,
        // and each choice gives its own stretch.
        using Stretch = DraftPlacement::Stretch;
        DraftStretchDialog dialog(10.0, 60.0, Stretch{2.0, 4.0}, Stretch{30.0, 60.0});
        QCOMPARE(dialog.chosen(), (Stretch{2.0, 4.0}));
        const std::pair<const char*, Stretch> choices[] = {{"draftAfterLastStamp", {30.0, 60.0}},
                                                           {"draftWholeRecording", {0.0, 60.0}},
                                                           {"draftFromPosition", {10.0, 60.0}}};
        for (const auto& [name, stretch] : choices) {
            dialog.findChild<QRadioButton*>(QLatin1String(name))->click();
            QCOMPARE(dialog.chosen(), stretch);
        }
    }

    // A batch waits while the typist types, then goes in after their text as an undo step
    // of its own, leaving their caret and scroll where they were.
    void typingWhileDrafting_keepsCaretScrollAndUndoSteps()
    {
        QString start;
        for (int i = 0; i < 80; ++i)
            start += QStringLiteral("Line %1 of what was typed before.\n").arg(i);
        start += QStringLiteral("[00:00:01] and");
        TranscriptionSession& session = openProject(start);
        TranscriptEditor* edit = editor();
        edit->setFocus();
        edit->moveCursor(QTextCursor::End);
        m_script->delay = 200ms;
        makeDraftAction()->trigger();
        // Typing on through both segments holds them back.
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(edit, Qt::Key_X);
            QTest::qWait(150);
        }
        QVERIFY(!session.transcript().contains(QStringLiteral("four")));
        const int caret = edit->textCursor().position();
        // Reading further up, away from the caret at the end.
        QScrollBar* scroll = edit->verticalScrollBar();
        scroll->setValue(scroll->value() / 2);
        const int scrolled = scroll->value();
        QVERIFY(scrolled > 0);
        QVERIFY(draftDone());
        const QString typed = start + QString(12, u'x');
        QCOMPARE(session.transcript(), typed + u'\n' + wholeDraft.sliced(35));
        QCOMPARE(edit->textCursor().position(), caret);
        QCOMPARE(scroll->value(), scrolled);

        session.document()->undo();
        QCOMPARE(session.transcript(), typed);
        session.document()->undo();
        QCOMPARE(session.transcript(), start);
    }

    // What is heard is saved like typing while the draft goes on; Cancel stops it and keeps
    // what was heard.
    void autosaveWhileDrafting_cancelKeepsWhatIsDone()
    {
        TranscriptionSession& session = openProject();
        const QUuid id = session.project().id;
        m_script->delay = 1500ms;
        makeDraftAction()->trigger();
        const QString first = wholeDraft.first(wholeDraft.indexOf(u"[00:00:01]"));
        QTRY_COMPARE_WITH_TIMEOUT(state().store().load(id).transcript, first, 5000);
        QVERIFY(drafter().isRunning());
        auto* bar = window().findChild<QWidget*>("draftBar");

        QTest::mouseClick(bar->findChild<QPushButton*>("cancelDraftButton"), Qt::LeftButton);
        QVERIFY(!drafter().isRunning());
        QVERIFY(!bar->isVisible());
        // What was heard before the click goes in; nothing after it.
        QTest::qWait(2500);
        const QString kept = session.transcript();
        QVERIFY(kept == first || kept == wholeDraft.first(wholeDraft.indexOf(u"[00:00:03]")));
        QTest::qWait(1500);
        QCOMPARE(session.transcript(), kept);
    }

    // Closing does not wait for a recogniser that hangs: what it gave is saved, its words are
    // kept beside the project, and they go when the project is deleted.
    void closingOnAStuckRecogniser_savesWhatWasHeardWithoutWaiting()
    {
        TranscriptionSession& session = openProject();
        const QUuid id = session.project().id;
        m_script->stuckFor = 3000ms;
        makeDraftAction()->trigger();
        QTRY_VERIFY(drafter().pendingSegments() > 0 ||
                    session.transcript().contains(QStringLiteral("Dictaro")));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(state().closeProject());
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(state().store().load(id).transcript,
                 wholeDraft.first(wholeDraft.indexOf(u"[00:00:01]")));
        const QString words = state().store().draftWordsPath(id);
        QVERIFY(QFile::exists(words));
        state().deleteProject(id);
        QVERIFY(!QFile::exists(words));
    }

    // Unsure words are marked, also after reopening (from the side file), until edited or
    // switched off; a side file that is no regular file shows no marks.
    void unsureWords_markedFromTheSideFile_untilEditedOrSwitchedOff()
    {
        TranscriptionSession& first = openProject();
        const QUuid id = first.project().id;
        makeDraftAction()->trigger();
        QVERIFY(draftDone());
        QVERIFY(markedUnsure(first.document()->findBlockByNumber(0), "recording."));
        QVERIFY(!markedUnsure(first.document()->findBlockByNumber(0), "test"));
        QVERIFY(state().closeProject());

        TranscriptionSession& again = opened(id);
        QTextDocument* document = again.document();
        QVERIFY(markedUnsure(document->findBlockByNumber(1), "two,"));
        QTextCursor cursor = document->find(QStringLiteral("two,"));
        cursor.insertText(QStringLiteral("too,"));
        QVERIFY(!markedUnsure(document->findBlockByNumber(1), "too,"));
        QVERIFY(markedUnsure(document->findBlockByNumber(0), "recording."));
        AppSettings::setDraftChoice({QStringLiteral("/models/tiny.bin"), {}, false, true});
        QVERIFY(!markedUnsure(document->findBlockByNumber(0), "recording."));
        AppSettings::setDraftChoice({QStringLiteral("/models/tiny.bin"), {}, true, true});
        QVERIFY(markedUnsure(document->findBlockByNumber(0), "recording."));
        QVERIFY(state().closeProject());

        // A side file that is no regular file (garbage in one is the decoder's to refuse).
        const QString words = state().store().draftWordsPath(id);
        QVERIFY(QFile::remove(words));
        QCOMPARE(mkfifo(QFile::encodeName(words).constData(), 0600), 0);
        TranscriptionSession& hostile = opened(id);
        QVERIFY(view()->draft()->marks().isEmpty());
        QVERIFY(!markedUnsure(hostile.document()->findBlockByNumber(0), "recording."));
    }

    // A drafted line far longer than a display piece keeps its marks, its Ctrl+click (playing
    // from the word) and its follow-along (the word being spoken, until playback pauses) in every
    // piece, not only in the one with the stamp; a plain click on the stamp still seeks to it.
    void longDraftedLine_isMarkedAndFollowedInEveryPiece()
    {
        QList<std::pair<QString, double>> words;
        for (int i = 0; i < 300; ++i)
            words.append({QStringLiteral("w%1").arg(i), i == 250 ? 0.2 : 0.9});
        m_script->segments = {spoken(0.0, 5.0, words)};
        TranscriptionSession& session = openProject();
        makeDraftAction()->trigger();
        QVERIFY(draftDone());
        QTextDocument* document = session.document();
        const QTextBlock last = document->find(QStringLiteral(" w250 ")).block();
        QVERIFY(last.blockNumber() > 0);
        QVERIFY(markedUnsure(last, "w250"));
        QVERIFY(!markedUnsure(last, "w249"));

        QTextCursor cursor = document->find(QStringLiteral(" w240 "));
        cursor.setPosition(cursor.selectionStart() + 2);
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          editor()->cursorRect(cursor).center());
        QTRY_VERIFY(std::abs(session.engine()->currentTime() - 4.0) < 0.2);
        session.engine()->play();
        QTRY_VERIFY(editor()->highlighter()->spokenRange().first > last.position());
        const auto [from, to] = editor()->highlighter()->spokenRange();
        session.engine()->pause(0);
        QTextCursor word(document);
        word.setPosition(from);
        word.setPosition(to, QTextCursor::KeepAnchor);
        QVERIFY2(QRegularExpression(QStringLiteral("^w2[4-9]\\d$"))
                     .match(word.selectedText())
                     .hasMatch(),
                 qPrintable(word.selectedText()));
        QTRY_COMPARE(editor()->highlighter()->spokenRange(), (std::pair{0, 0}));

        cursor.setPosition(4);
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {},
                          editor()->cursorRect(cursor).center());
        QTRY_VERIFY(session.engine()->currentTime() < 0.2);
    }

    // A build without a speech engine shows no Draft menu and no command.
    void withoutAnEngine_theCommandIsAbsent()
    {
        m_app.reset();
        setDraftEngineForTesting(DraftEngine{});
        start();
        openProject();
        QVERIFY(!makeDraftAction()->isVisible());
        QVERIFY(!makeDraftAction()->isEnabled());
        for (const QAction* menu : window().menuBar()->actions())
            QVERIFY(menu->text() != Commands::groupTitle(CommandGroup::Draft));
    }
};

QTEST_MAIN(tst_Draft)
#include "tst_Draft.moc"
