// Times typing in the transcript editor of an open session: one key event in, the session told,
// colouring and repainting done, for transcripts of 10 KB, 1 MB and 5 MB with a timestamp every
// 100 characters.
// Run on demand from a Release or RelWithDebInfo build: bench/bench_editor [keystrokes]

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextCursor>

#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "ProjectStore.h"
#include "TimestampFormatter.h"
#include "TranscriptEditor.h"
#include "TranscriptionSession.h"
#include "benchutil.h"

#include <QTemporaryDir>

using namespace dictaro;

namespace {

constexpr double keystrokeTargetMs = 1.0;
constexpr double growthTarget = 3.0; // 5 MB against 10 KB
// About the text area of a maximised main window; repainting it dominates a keystroke.
constexpr int windowWidth = 900;
constexpr int windowHeight = 700;

// Paragraphs of eight timestamps, each followed by prose up to 100 characters, until the
// text has at least the given size. It ends with a whole paragraph and no line break.
QString makeTranscript(qsizetype size)
{
    const QString prose = QStringLiteral(
        "so we went through the questions one by one, slowly, with pauses between them and a "
        "bit of laughter ");
    QString text;
    text.reserve(size + 1000);
    for (int i = 0; text.size() < size || i % 8 != 0; ++i) {
        if (i > 0)
            text += (i % 8 == 0) ? u'\n' : u' ';
        const QString stamp = TimestampFormatter::stringFromSeconds(i * 7.0) + u' ';
        text += stamp;
        text += QStringView(prose).left(99 - stamp.size()).trimmed();
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
    explicit Editor(const QString& text)
        : store(folder.path()),
          engine(std::make_unique<MpvBackend>(MpvBackend::silentOutputOptions())),
          session(projectWith(text), store, engine), widget(session.document())
    {
        widget.resize(windowWidth, windowHeight);
        widget.show();
        settle();
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
};

double median(const std::vector<double>& ms)
{
    return ms[ms.size() / 2];
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

    struct Size
    {
        const char* name;
        qsizetype units;
    };
    const Size sizes[] = {{"10 KB", 10'000}, {"1 MB", 1'000'000}, {"5 MB", 5'000'000}};
    double smallMiddle = 0, smallEnd = 0, largeMiddle = 0, largeEnd = 0;

    for (const Size& size : sizes) {
        const QString text = makeTranscript(size.units);
        for (const bool atEnd : {false, true}) {
            Editor editor(text);
            // In the middle: half way through the text, in the prose of a line.
            editor.placeCursor(atEnd ? text.size() : text.size() / 2 + 50);
            typeCharacters(&editor.widget, 20); // warm-up
            const Timings timings = typeCharacters(&editor.widget, keystrokes);
            const QByteArray where = QByteArray(size.name) + (atEnd ? ", end" : ", middle");
            bench::report(("keystroke incl. repaint, " + where).constData(), timings.total,
                          keystrokeTargetMs);
            bench::report(("keystroke w/o repaint,   " + where).constData(), timings.edit,
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

    const QString large = makeTranscript(sizes[2].units);
    Editor editor(large);
    editor.placeCursor(large.size());
    const Timings inserts = timeEdits(100, [&](int) {
        QTextCursor cursor = editor.widget.textCursor();
        editor.session.insertTimestamp(cursor);
        editor.widget.setTextCursor(cursor);
    });
    bench::report("insertTimestamp incl. repaint, 5 MB, end", inserts.total, keystrokeTargetMs);
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
