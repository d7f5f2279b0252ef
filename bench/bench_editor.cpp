// Times typing in the transcript editor of an open session: one key event in, the session told,
// colouring and repainting done, for transcripts of 10 KB, 1 MB and 5 MB with a timestamp every
// 100 characters; then the same with spelling on (en_US) over a text of varied words, opening a
// 5 MB transcript and checking all of it in the background, and finding in it.
// The 1 ms target runs from the key event to the text changed, coloured and laid out ("w/o
// repaint"); the software repaint of the whole editor that follows is printed beside it.
// Then the same typing in one paragraph of 1 MB and 5 MB, and a paste of 50 MB.
// Then typing in a 5 MB machine draft with its unsure words marked and a spoken word shown.
// Every editor follows the timestamps as the working screen does (for the line being played);
// the position tick after each keystroke, which reads the stamps of the edited lines again and
// finds the playing line, is timed beside the keystrokes.
// Run on demand from a Release or RelWithDebInfo build: bench/bench_editor [keystrokes [paragraph]]
// ("paragraph" runs only the one-paragraph rows, "draft" only the draft's)

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "AppSettings.h"
#include "CommandRegistry.h"
#include "DraftMarks.h"
#include "DraftPlacement.h"
#include "EditCommands.h"
#include "FindController.h"
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "ProjectStore.h"
#include "SpellChecker.h"
#include "StampIndex.h"
#include "TimestampFormatter.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "TranscriptionSession.h"
#include "benchtext.h"
#include "benchutil.h"

using namespace dictaro;

namespace {

constexpr double keystrokeTargetMs = 1.0;
constexpr double firstScreenTargetMs = 200.0;
constexpr double sliceTargetMs = 5.0;
constexpr double findNextTargetMs = 50.0;
constexpr double growthTarget = 3.0; // 5 MB against 10 KB
// About the text area of a maximised main window; repainting it dominates a keystroke.
constexpr int windowWidth = 900;
constexpr int windowHeight = 700;

// Words of the installed English dictionary, to make a text of varied words (a transcript has
// thousands of different words, not the few of a repeated sentence).
QStringList dictionaryWords()
{
    QFile file(QStringLiteral("/usr/share/hunspell/en_US.dic"));
    QStringList words;
    if (!file.open(QIODevice::ReadOnly))
        return words;
    file.readLine(); // the count
    for (int i = 0; !file.atEnd(); ++i) {
        const QString word = QString::fromUtf8(file.readLine()).section(u'/', 0, 0).trimmed();
        if (i % 16 == 0 && word.size() > 1 && word.at(0).isLower() &&
            std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.isLetter(); }))
            words << word;
    }
    return words;
}

// Paragraphs of eight timestamped pieces of about 100 characters, as makeTranscript(), of words
// drawn with a long tail (a few frequent, most rare), one in twenty misspelt by two swapped
// letters.
QString makeVariedTranscript(qsizetype size, const QStringList& vocabulary)
{
    QRandomGenerator random(42);
    const auto word = [&] {
        const int rank = int(std::pow(double(vocabulary.size()), random.generateDouble())) - 1;
        QString w = vocabulary.at(std::clamp(rank, 0, int(vocabulary.size()) - 1));
        if (random.bounded(20) == 0 && w.size() > 3)
            std::swap(w[1], w[2]);
        return w;
    };
    QString text;
    text.reserve(size + 1000);
    for (int i = 0; text.size() < size || i % 8 != 0; ++i) {
        if (i > 0)
            text += (i % 8 == 0) ? u'\n' : u' ';
        const qsizetype pieceStart = text.size();
        text += TimestampFormatter::stringFromSeconds(i * 7.0);
        while (text.size() - pieceStart < 95)
            text += u' ' + word();
    }
    return text;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

struct Timings
{
    std::vector<double> edit;  // the change made: text changed, coloured and laid out
    std::vector<double> total; // and then the pending events (the repaint) processed
};

template <typename Edit> Timings timeEdits(int count, Edit&& edit)
{
    Timings timings;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        edit(i);
        timings.edit.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
        timings.total.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(timings.edit.begin(), timings.edit.end());
    std::sort(timings.total.begin(), timings.total.end());
    return timings;
}

// Types characters as a keyboard would.
Timings typeCharacters(QWidget* widget, int count)
{
    static const QString letters = QStringLiteral("transcribed words ");
    return timeEdits(count, [widget](int i) {
        const QChar ch = letters.at(i % letters.size());
        const int key = ch == u' ' ? int(Qt::Key_Space) : Qt::Key_A + (ch.unicode() - u'a');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &release);
    });
}

Project projectWith(const QString& text)
{
    Project project;
    project.id = QUuid::createUuid();
    project.name = QStringLiteral("Bench");
    project.transcript = text;
    project.createdAt = project.updatedAt = QDateTime::currentDateTimeUtc();
    return project;
}

// A session on the text, saving to a temporary folder, and an editor showing it.
struct Editor
{
    explicit Editor(const QString& text, EditCommands* commands = nullptr)
        : store(folder.path()),
          engine(std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions())),
          session(projectWith(text), store, engine), widget(session.document())
    {
        widget.resize(windowWidth, windowHeight);
        widget.show();
        if (commands)
            commands->setEditor(&widget, nullptr);
        settle();
        // With spelling: what is left is checked before the keystrokes are timed.
        while (!widget.highlighter()->isSpellingUpToDate())
            QCoreApplication::processEvents();
    }

    void placeCursor(qsizetype position)
    {
        QTextCursor cursor = widget.textCursor();
        cursor.setPosition(int(position));
        widget.setTextCursor(cursor);
        widget.setFocus();
        settle();
    }

    QTemporaryDir folder;
    ProjectStore store;
    PlaybackEngine engine;
    TranscriptionSession session;
    TranscriptEditor widget;
    // Belongs to the document, as on the working screen.
    StampIndex* stamps = new StampIndex(session.document());
};

double median(const std::vector<double>& ms)
{
    return ms[ms.size() / 2];
}

struct Waited
{
    double ms = 0;
    std::vector<double> turns; // each turn of the event loop, sorted
    QByteArray turnsText() const
    {
        return QByteArray("turns of the event loop: median ") +
               QByteArray::number(turns[turns.size() / 2], 'f', 2) + " ms, 95% < " +
               QByteArray::number(turns[turns.size() * 95 / 100], 'f', 2) + " ms, max " +
               QByteArray::number(turns.back(), 'f', 2) + " ms";
    }
};

// Waits for a condition, processing events: the time taken and the length of every turn of the
// event loop (a slice of background work, with any repaint; the longest ones are mostly the
// machine's other work taking the core).
template <typename Done> Waited processUntil(Done&& done)
{
    Waited waited;
    QElapsedTimer total;
    total.start();
    while (!done() && total.elapsed() < 120'000) {
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents();
        waited.turns.push_back(double(turn.nsecsElapsed()) / 1e6);
    }
    waited.ms = double(total.nsecsElapsed()) / 1e6;
    if (waited.turns.empty())
        waited.turns.push_back(0);
    std::sort(waited.turns.begin(), waited.turns.end());
    return waited;
}

// Whether every block on screen shows its spelling marks.
bool visibleBlocksChecked(const TranscriptEditor& editor)
{
    const QRect area = editor.viewport()->rect();
    QTextBlock block = editor.cursorForPosition(area.topLeft()).block();
    const QTextBlock last = editor.cursorForPosition(area.bottomRight()).block();
    for (; block.isValid(); block = block.next()) {
        if (!editor.highlighter()->isBlockChecked(block))
            return false;
        if (block == last)
            break;
    }
    return true;
}

void spellingAndFind(int keystrokes)
{
    QTemporaryDir home;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    AppSettings::shared().setSpellingLanguage(QStringLiteral("en_US"));
    AppSettings::shared().setCheckSpellingWhileTyping(true);
    SpellChecker checker(AppSettings::shared(), QStringLiteral("en"));
    checker.prepare();
    while (checker.isLoading())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const QStringList vocabulary = dictionaryWords();
    if (!checker.hasDictionary() || vocabulary.isEmpty()) {
        std::printf("spelling: no en_US dictionary (scripts/install-deps), skipped\n");
        return;
    }
    CommandRegistry registry;
    EditCommands commands(checker, registry);
    std::printf("\nwith spelling (en_US), text of %lld different words, 1 in 20 misspelt\n",
                qlonglong(vocabulary.size()));

    // The same text without spelling first: varied words cost more to lay out and paint.
    for (const qsizetype size : {qsizetype(10'000), qsizetype(5'000'000)}) {
        const QString text = makeVariedTranscript(size, vocabulary);
        for (const bool spelling : {false, true}) {
            checker.setEnabled(spelling);
            for (const bool atEnd : {false, true}) {
                Editor editor(text, &commands);
                editor.placeCursor(atEnd ? text.size() : text.size() / 2 + 50);
                typeCharacters(&editor.widget, 20); // warm-up
                const Timings timings = typeCharacters(&editor.widget, keystrokes);
                const QByteArray where =
                    QByteArray(spelling ? "spelling on,  " : "spelling off, ") +
                    (size > 10'000 ? "5 MB" : "10 KB") + (atEnd ? ", end" : ", middle");
                bench::report(("incl. repaint, " + where).constData(), timings.total, 0);
                bench::report(("w/o repaint,   " + where).constData(), timings.edit,
                              keystrokeTargetMs);
            }
        }
    }

    // Opening: a fresh editor shown, the text set, events processed until the first screen
    // shows its marks; then until the whole text is checked.
    const QString large = makeVariedTranscript(5'000'000, vocabulary);
    for (int run = 0; run < 3; ++run) {
        // A new checker each time, so that no word is known from the run before.
        SpellChecker fresh(AppSettings::shared(), QStringLiteral("en"));
        EditCommands freshCommands(fresh, registry);
        QTextDocument document;
        TranscriptEditor widget(&document);
        widget.resize(windowWidth, windowHeight);
        widget.show();
        freshCommands.setEditor(&widget, nullptr);
        settle();
        QElapsedTimer timer;
        timer.start();
        document.setPlainText(large);
        const double setMs = double(timer.nsecsElapsed()) / 1e6;
        const Waited firstScreen = processUntil([&] { return visibleBlocksChecked(widget); });
        const Waited rest =
            processUntil([&] { return widget.highlighter()->isSpellingUpToDate(); });
        std::printf("open 5 MB: text set %.1f ms, first screen marked %.1f ms (target < %g: %s), "
                    "all checked %.0f ms\n  background %s (slice target < %g)\n",
                    setMs, setMs + firstScreen.ms, firstScreenTargetMs,
                    setMs + firstScreen.ms < firstScreenTargetMs ? "met" : "MISSED",
                    setMs + firstScreen.ms + rest.ms, rest.turnsText().constData(), sliceTargetMs);
        std::fflush(stdout);
    }

    // Finding: the one match is just before the cursor, so that the search goes round the
    // whole text.
    QTextDocument document;
    document.setPlainText(QStringLiteral("Zanzibar ") + large);
    FindController find(&document);
    find.setPattern(QStringLiteral("zanzibar"));
    FindController::Match match;
    bench::report(
        "find next round 5 MB",
        bench::run(10, [&] { match = find.find(10, FindController::Direction::Forward); }),
        findNextTargetMs);
    find.setWholeWords(true);
    find.setMatchCase(true);
    bench::report("find next round 5 MB, whole, case",
                  bench::run(10, [&] { find.find(10, FindController::Direction::Forward); }),
                  findNextTargetMs);
    find.setWholeWords(false);
    find.setMatchCase(false);
    find.setPattern(QStringLiteral("the"));
    find.setCounting(true);
    const Waited count = processUntil([&] { return find.matchCount() >= 0; });
    std::printf("count \"the\" in 5 MB: %d matches in %.1f ms\n  %s (slice target < %g)\n",
                find.matchCount(), count.ms, count.turnsText().constData(), sliceTargetMs);
    std::fflush(stdout);
    if (!match.isValid() || !match.wrapped)
        std::printf("find: UNEXPECTED RESULT\n");
}

// Pasting 50 MB (one paragraph of 45 MB, then lines) at the end of a short transcript: how long
// until all of it is in and the longest the window waited meanwhile, then how long until the
// autosave has written it all (a second of that is the autosave's wait), with the turns of the
// event loop meanwhile.
void paste50MB()
{
    Editor editor(QStringLiteral("Before the paste. "));
    editor.placeCursor(editor.session.document()->characterCount() - 1);
    const QString pasted = bench::makeTranscript(5'000'000).replace(u'\n', u' ').repeated(9) +
                           u'\n' + bench::makeTranscript(5'000'000);
    QGuiApplication::clipboard()->setText(pasted);
    QElapsedTimer timer;
    timer.start();
    // The paste goes in in slices with the event loop turning in between: the longest slice.
    double lastMs = 0, longestSliceMs = 0;
    QObject::connect(&editor.widget, &TranscriptEditor::pasteProgress, [&] {
        const double now = double(timer.nsecsElapsed()) / 1e6;
        longestSliceMs = std::max(longestSliceMs, now - lastMs);
        lastMs = now;
    });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(&editor.widget, &press);
    const double pasteMs = double(timer.nsecsElapsed()) / 1e6;
    const QString file = editor.store.filePath(editor.session.project().id);
    const Waited saved = processUntil([&] { return QFileInfo(file).size() > pasted.size(); });
    std::printf(
        "paste 50 MB: in after %.0f ms, the longest slice %.0f ms; on disk after %.0f ms%s\n"
        "  then %s\n",
        pasteMs, longestSliceMs, pasteMs + saved.ms,
        editor.session.transcript().size() == pasted.size() + 18 ? "" : " (WRONG TEXT)",
        saved.turnsText().constData());
    std::fflush(stdout);
    QGuiApplication::clipboard()->clear();
}

// The same transcripts as one paragraph, as machine drafts and imported files often are: the
// text shown, then typing in the middle and at the end. Rows stop after about ten seconds, so
// that a slow editor still finishes.
void onParagraph(int keystrokes)
{
    std::printf("\none paragraph, no line break\n");
    for (const qsizetype units : {qsizetype(1'000'000), qsizetype(5'000'000)}) {
        const QString text = bench::makeTranscript(units).replace(u'\n', u' ');
        const QByteArray name = units > 1'000'000 ? "5 MB" : "1 MB";
        for (const bool atEnd : {false, true}) {
            QElapsedTimer shown;
            shown.start();
            Editor editor(text);
            editor.placeCursor(atEnd ? text.size() : text.size() / 2 + 50);
            const double shownMs = double(shown.nsecsElapsed()) / 1e6;
            QElapsedTimer budget;
            budget.start();
            Timings timings;
            for (int i = 0; i < keystrokes && (i < 3 || budget.elapsed() < 10'000); ++i) {
                const Timings one = typeCharacters(&editor.widget, 1);
                timings.edit.push_back(one.edit.front());
                timings.total.push_back(one.total.front());
            }
            std::sort(timings.edit.begin(), timings.edit.end());
            std::sort(timings.total.begin(), timings.total.end());
            const QByteArray where = name + (atEnd ? ", end" : ", middle");
            std::printf("%s: shown with the caret placed in %.0f ms, %zu keystrokes\n",
                        where.constData(), shownMs, timings.edit.size());
            bench::report(("keystroke incl. repaint, " + where).constData(), timings.total, 0);
            bench::report(("keystroke w/o repaint,   " + where).constData(), timings.edit,
                          keystrokeTargetMs);
        }
    }
    paste50MB();
}

// Typing in a 5 MB draft: a line per segment of about 100 characters, every word known to the
// marks, one in ten unsure, and a word highlighted as spoken near the caret.
void inDraft(int keystrokes)
{
    const QStringList vocabulary = dictionaryWords().mid(0, 5000);
    if (vocabulary.isEmpty()) {
        std::printf("draft: no en_US word list, skipped\n");
        return;
    }
    QRandomGenerator random(7);
    std::vector<RecognisedSegment> segments;
    qsizetype size = 0;
    for (double at = 0; size < 5'000'000; at += 6.0) {
        RecognisedSegment segment{at, at + 6.0, {}, {}};
        for (int i = 0; segment.text.size() < 88; ++i) {
            const QString word =
                u' ' + vocabulary.at(int(random.bounded(qsizetype(vocabulary.size()))));
            segment.text += word;
            segment.words.push_back(
                {at + i * 0.4, at + i * 0.4 + 0.4, word, random.bounded(10) == 0 ? 0.3 : 0.9});
        }
        size += segment.text.size() + 12;
        segments.push_back(std::move(segment));
    }
    const QString text = DraftPlacement::linesFor(segments);
    QTemporaryDir folder;
    DraftMarks marks(folder.filePath(QStringLiteral("bench.words")));
    marks.add(segments);
    std::printf("\nin a draft of %.1f MB, %zu segments, unsure words marked\n",
                double(text.size()) / 1e6, segments.size());
    for (const bool atEnd : {false, true}) {
        Editor editor(text);
        editor.widget.highlighter()->setWordMarks(&marks);
        marks.setMarking(false);
        QElapsedTimer marking;
        marking.start();
        marks.setMarking(true); // the whole text restyled
        settle();
        const qint64 markMs = marking.elapsed();
        const qsizetype position = atEnd ? text.size() : text.indexOf(u'\n', text.size() / 2) - 20;
        editor.placeCursor(position);
        if (const auto range =
                marks.rangeAt(editor.session.document(), 6.0 * (segments.size() / 2)))
            editor.widget.highlighter()->setSpokenRange(range->first, range->second);
        typeCharacters(&editor.widget, 20); // warm-up
        const Timings timings = typeCharacters(&editor.widget, keystrokes);
        const QByteArray where = QByteArray("5 MB draft, marks on, ") + (atEnd ? "end" : "middle");
        std::printf("marks switched on over the whole text in %lld ms\n", markMs);
        bench::report(("keystroke incl. repaint, " + where).constData(), timings.total, 0);
        bench::report(("keystroke w/o repaint,   " + where).constData(), timings.edit,
                      keystrokeTargetMs);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 300;
    std::printf("%d keystrokes per row, editor of %d x %d pixels\n", keystrokes, windowWidth,
                windowHeight);
    if (argc > 2 && qstrcmp(argv[2], "paragraph") == 0) {
        onParagraph(keystrokes);
        return 0;
    }
    if (argc > 2 && qstrcmp(argv[2], "draft") == 0) {
        inDraft(keystrokes);
        return 0;
    }

    struct Size
    {
        const char* name;
        qsizetype units;
    };
    const Size sizes[] = {{"10 KB", 10'000}, {"1 MB", 1'000'000}, {"5 MB", 5'000'000}};
    double smallMiddle = 0, smallEnd = 0, largeMiddle = 0, largeEnd = 0;

    for (const Size& size : sizes) {
        const QString text = bench::makeTranscript(size.units);
        for (const bool atEnd : {false, true}) {
            Editor editor(text);
            // In the middle: half way through the text, in the prose of a line.
            editor.placeCursor(atEnd ? text.size() : text.size() / 2 + 50);
            typeCharacters(&editor.widget, 20); // warm-up
            const Timings timings = typeCharacters(&editor.widget, keystrokes);
            const QByteArray where = QByteArray(size.name) + (atEnd ? ", end" : ", middle");
            bench::report(("keystroke incl. repaint, " + where).constData(), timings.total, 0);
            bench::report(("keystroke w/o repaint,   " + where).constData(), timings.edit,
                          keystrokeTargetMs);
            std::vector<double> ticks;
            for (int i = 0; i < keystrokes; ++i) {
                typeCharacters(&editor.widget, 1);
                QElapsedTimer tick;
                tick.start();
                editor.stamps->lineAt(i * 7.0);
                ticks.push_back(double(tick.nsecsElapsed()) / 1e6);
            }
            std::sort(ticks.begin(), ticks.end());
            bench::report(("playing line after a key," + where).constData(), ticks,
                          keystrokeTargetMs);
            if (size.units == sizes[0].units)
                (atEnd ? smallEnd : smallMiddle) = median(timings.total);
            else if (size.units == sizes[2].units)
                (atEnd ? largeEnd : largeMiddle) = median(timings.total);
        }
    }
    std::printf("incl. repaint, 5 MB against 10 KB: %.2fx in the middle, %.2fx at the end  "
                "(target <= %gx: %s)\n",
                largeMiddle / smallMiddle, largeEnd / smallEnd, growthTarget,
                std::max(largeMiddle / smallMiddle, largeEnd / smallEnd) <= growthTarget
                    ? "met"
                    : "MISSED");

    onParagraph(keystrokes);

    const QString large = bench::makeTranscript(sizes[2].units);
    spellingAndFind(keystrokes);
    inDraft(keystrokes);
    Editor editor(large);
    editor.placeCursor(large.size());
    const Timings inserts = timeEdits(100, [&](int) {
        QTextCursor cursor = editor.widget.textCursor();
        editor.session.insertTimestamp(cursor);
        editor.widget.setTextCursor(cursor);
    });
    bench::report("insertTimestamp incl. repaint, 5 MB, end", inserts.total, 0);
    bench::report("insertTimestamp w/o repaint,   5 MB, end", inserts.edit, keystrokeTargetMs);

    // For the autosave: taking the whole text after an edit, and replacing it from outside.
    qsizetype sink = 0;
    bench::report("transcript() after an edit, 5 MB",
                  bench::run(10,
                             [&] {
                                 editor.widget.textCursor().insertText(QStringLiteral("x"));
                                 sink += editor.session.transcript().size();
                             }),
                  0);
    bool flip = false;
    const auto replace = [&] {
        editor.session.setTranscript(flip ? large : large + u'!');
        flip = !flip;
        QCoreApplication::processEvents();
    };
    bench::report("setTranscript(other text), 5 MB", bench::run(5, replace), 0);
    return sink > 0 ? 0 : 1;
}
