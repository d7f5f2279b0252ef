#include "TimestampHighlighter.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

using dictaro::TranscriptEditor;
using dictaro::TranscriptEditorController;

using Spans = QList<QPair<int, int>>; // (document position, length)

class tst_TranscriptEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typing_coloursTimestampOnClosingBracketOnly();
    void colouring_recognisesOnlyValidTimestamps_data();
    void colouring_recognisesOnlyValidTimestamps();
    void colouring_followsPaletteChanges();
    void typing_keepsCharactersAsTyped();

    void click_onTimestampReportsSecondsAndLeavesTextAlone();
    void click_afterEmojiFindsTimestampByUtf16Position();
    void drag_startingOnTimestampSelects();
    void hover_showsPointingHandOverTimestamps();

    void paste_insertsPlainTextOnly_data();
    void paste_insertsPlainTextOnly();
    void copy_putsTextAsTypedOnClipboard();

    void setTranscript_replacesOnlyAnotherText();
    void insertText_replacesSelectionAsOneUndoStep();
    void controller_forgetsDestroyedEditor();
    void textEdited_reportsEditsOnly();

private:
    TranscriptEditor* editor() const { return m_editor.get(); }
    Spans colouredSpans() const;
    // The centre of the glyphs from position to position + length, in viewport coordinates.
    QPoint pointOf(int position, int length) const;
    void typeText(const QString& text);
    void select(int from, int to);

    std::unique_ptr<TranscriptEditorController> m_controller;
    std::unique_ptr<TranscriptEditor> m_editor;
};

void tst_TranscriptEditor::init()
{
    m_controller = std::make_unique<TranscriptEditorController>();
    m_editor = std::make_unique<TranscriptEditor>(m_controller.get());
    m_editor->resize(640, 400);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
}

void tst_TranscriptEditor::cleanup()
{
    m_editor.reset();
    m_controller.reset();
    QGuiApplication::clipboard()->clear();
}

Spans tst_TranscriptEditor::colouredSpans() const
{
    Spans spans;
    for (QTextBlock block = editor()->document()->begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            if (range.format.hasProperty(QTextFormat::ForegroundBrush))
                spans.append({block.position() + range.start, range.length});
        }
    }
    return spans;
}

QPoint tst_TranscriptEditor::pointOf(int position, int length) const
{
    QTextCursor cursor(editor()->document());
    cursor.setPosition(position);
    const QRect first = editor()->cursorRect(cursor);
    cursor.setPosition(position + length);
    const QRect last = editor()->cursorRect(cursor);
    return {(first.left() + last.left()) / 2, first.center().y()};
}

// One key event per character (a surrogate pair in one event), as a keyboard sends them.
void tst_TranscriptEditor::typeText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text.at(i).isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::KeyAction::Click, editor(), Qt::Key_unknown, text.mid(i, n),
                            Qt::NoModifier);
        i += n - 1;
    }
}

void tst_TranscriptEditor::select(int from, int to)
{
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor()->setTextCursor(cursor);
}

void tst_TranscriptEditor::typing_coloursTimestampOnClosingBracketOnly()
{
    QTest::keyClicks(editor(), "Note [00:01:23");
    QCOMPARE(colouredSpans(), Spans());
    QTest::keyClick(editor(), Qt::Key_BracketRight);
    QCOMPARE(colouredSpans(), Spans({{5, 10}}));

    // What follows a timestamp is plain, in the display and in the document.
    QTest::keyClicks(editor(), " said");
    QCOMPARE(colouredSpans(), Spans({{5, 10}}));
    for (QTextBlock::iterator it = editor()->document()->begin().begin(); !it.atEnd(); ++it)
        QVERIFY(!it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));

    for (int i = 0; i < 6; ++i)
        QTest::keyClick(editor(), Qt::Key_Backspace);
    QCOMPARE(editor()->text(), QStringLiteral("Note [00:01:23"));
    QCOMPARE(colouredSpans(), Spans());
}

void tst_TranscriptEditor::colouring_recognisesOnlyValidTimestamps_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Spans>("coloured");
    QTest::newRow("largest") << "a [99:59:59]" << Spans({{2, 10}});
    QTest::newRow("three hour digits") << "a [100:00:00]" << Spans();
    QTest::newRow("minutes 60") << "a [12:60:00]" << Spans();
    // The layout merges neighbouring ranges of the same format.
    QTest::newRow("touching pair") << "[00:00:01][00:00:02]" << Spans({{0, 20}});
    QTest::newRow("nested brackets") << "[[00:00:01]]" << Spans({{1, 10}});
    QTest::newRow("on two lines") << "[00:00:01]\n[00:00:02]" << Spans({{0, 10}, {11, 10}});
}

void tst_TranscriptEditor::colouring_recognisesOnlyValidTimestamps()
{
    QFETCH(QString, typed);
    QFETCH(Spans, coloured);
    for (const QString& line : typed.split(u'\n')) {
        if (!editor()->document()->isEmpty())
            QTest::keyClick(editor(), Qt::Key_Return);
        QTest::keyClicks(editor(), line);
    }
    QCOMPARE(editor()->text(), typed);
    QCOMPARE(colouredSpans(), coloured);
}

void tst_TranscriptEditor::colouring_followsPaletteChanges()
{
    editor()->setTranscript(QStringLiteral("[00:00:01] x"));
    const QTextBlock block = editor()->document()->firstBlock();
    QCOMPARE(block.layout()->formats().value(0).format.foreground().color(),
             editor()->palette().color(QPalette::Active, QPalette::Highlight));

    QSignalSpy edited(editor(), &TranscriptEditor::textEdited);
    QPalette palette = editor()->palette();
    palette.setColor(QPalette::Highlight, QColor(0x12, 0x34, 0x56));
    editor()->setPalette(palette);
    QCOMPARE(block.layout()->formats().value(0).format.foreground().color(),
             QColor(0x12, 0x34, 0x56));
    QCOMPARE(colouredSpans(), Spans({{0, 10}}));
    QCOMPARE(edited.count(), 0);
}

void tst_TranscriptEditor::typing_keepsCharactersAsTyped()
{
    // Quotes and double hyphens are not replaced; a no-break space survives text() (which
    // toPlainText() would turn into a space); a soft line break (Shift+Enter) reads as "\n".
    typeText(QStringLiteral("\"Yes\" -- it's 10\u00A0km"));
    QTest::keyClick(editor(), Qt::Key_Return, Qt::ShiftModifier);
    typeText(QStringLiteral("\u2018ok\u2019"));
    QCOMPARE(editor()->text(), QStringLiteral("\"Yes\" -- it's 10\u00A0km\n\u2018ok\u2019"));
}

void tst_TranscriptEditor::click_onTimestampReportsSecondsAndLeavesTextAlone()
{
    const QString text = QStringLiteral("Intro [00:01:23] rest of it [00:02:00]");
    editor()->setTranscript(text);
    select(2, 2);
    QSignalSpy clicked(editor(), &TranscriptEditor::timestampClicked);
    QSignalSpy edited(editor(), &TranscriptEditor::textEdited);

    QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, pointOf(6, 10));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toDouble(), 83.0);
    QCOMPARE(editor()->text(), text);
    QCOMPARE(editor()->textCursor().position(), 2);
    QCOMPARE(edited.count(), 0);

    // Elsewhere a click places the cursor as usual, also in the empty space right of a line
    // that ends with a timestamp.
    QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, pointOf(18, 2));
    QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {},
                      pointOf(text.size(), 0) + QPoint(40, 0));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(editor()->textCursor().position(), text.size());
}

void tst_TranscriptEditor::click_afterEmojiFindsTimestampByUtf16Position()
{
    const QString prefix = QStringLiteral("\U0001F600\U0001F44D\U0001F3FD ");
    typeText(prefix + QStringLiteral("[00:00:07] ok"));
    QCOMPARE(prefix.size(), 7);
    QCOMPARE(colouredSpans(), Spans({{7, 10}}));

    QSignalSpy clicked(editor(), &TranscriptEditor::timestampClicked);
    QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, pointOf(7, 1));
    QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, pointOf(16, 1));
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(0).at(0).toDouble(), 7.0);
    QCOMPARE(clicked.at(1).at(0).toDouble(), 7.0);
}

void tst_TranscriptEditor::drag_startingOnTimestampSelects()
{
    editor()->setTranscript(QStringLiteral("[00:00:05] and some more words"));
    QSignalSpy clicked(editor(), &TranscriptEditor::timestampClicked);
    QWidget* viewport = editor()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, pointOf(2, 1));
    QTest::mouseMove(viewport, pointOf(20, 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointOf(20, 1));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(editor()->textCursor().hasSelection());
    QCOMPARE(editor()->textCursor().selectionStart(), 2);
}

void tst_TranscriptEditor::hover_showsPointingHandOverTimestamps()
{
    editor()->setTranscript(QStringLiteral("Intro [00:01:23] rest"));
    QWidget* viewport = editor()->viewport();
    QTest::mouseMove(viewport, pointOf(8, 1));
    QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(viewport, pointOf(18, 1));
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
}

void tst_TranscriptEditor::paste_insertsPlainTextOnly_data()
{
    QTest::addColumn<QStringList>("formats");
    QTest::addColumn<QStringList>("contents");
    QTest::addColumn<QString>("expected");
    const QString html = QStringLiteral("<p><b style=\"color:red\">Bold</b> [00:00:03]</p>");
    QTest::newRow("html and text") << QStringList{"text/html", "text/plain"}
                                   << QStringList{html, "Bold [00:00:03]"} << "Bold [00:00:03]";
    QTest::newRow("html only") << QStringList{"text/html"} << QStringList{html}
                               << "Bold [00:00:03]";
    QTest::newRow("markdown first")
        << QStringList{"text/markdown", "text/plain"}
        << QStringList{"**Bold** [00:00:03]", "**Bold** [00:00:03]"} << "**Bold** [00:00:03]";
}

void tst_TranscriptEditor::paste_insertsPlainTextOnly()
{
    QFETCH(QStringList, formats);
    QFETCH(QStringList, contents);
    QFETCH(QString, expected);
    auto* mime = new QMimeData;
    for (qsizetype i = 0; i < formats.size(); ++i)
        mime->setData(formats.at(i), contents.at(i).toUtf8());
    QGuiApplication::clipboard()->setMimeData(mime);

    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor()->text(), expected);
    const int at = int(expected.indexOf(u'['));
    QCOMPARE(colouredSpans(), Spans({{at, 10}}));
    for (QTextBlock::iterator it = editor()->document()->begin().begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
        QVERIFY(!format.hasProperty(QTextFormat::FontWeight));
        QVERIFY(!format.isAnchor());
    }
}

void tst_TranscriptEditor::copy_putsTextAsTypedOnClipboard()
{
    const QString text = QStringLiteral("10\u00A0km [00:00:01]\nnext");
    editor()->setTranscript(text);
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied);
    QCOMPARE(copied->text(), text);
    QVERIFY(!copied->hasHtml());
}

void tst_TranscriptEditor::setTranscript_replacesOnlyAnotherText()
{
    QTest::keyClicks(editor(), "one");
    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), "two");
    select(1, 5);
    QSignalSpy edited(editor(), &TranscriptEditor::textEdited);

    // Equal, also once stored with the editor's line breaks: nothing changes.
    editor()->setTranscript(QStringLiteral("one\ntwo"));
    editor()->setTranscript(QStringLiteral("one\r\ntwo"));
    QCOMPARE(editor()->textCursor().selectionStart(), 1);
    QCOMPARE(editor()->textCursor().selectionEnd(), 5);
    QVERIFY(editor()->document()->isUndoAvailable());

    // Another text replaces everything; undo cannot bring back what the owner replaced.
    editor()->setTranscript(QStringLiteral("second\n\u00A0[00:00:09]"));
    QCOMPARE(editor()->text(), QStringLiteral("second\n\u00A0[00:00:09]"));
    QCOMPARE(colouredSpans(), Spans({{8, 10}}));
    QVERIFY(!editor()->document()->isUndoAvailable());
    QCOMPARE(edited.count(), 0);
}

void tst_TranscriptEditor::insertText_replacesSelectionAsOneUndoStep()
{
    editor()->setTranscript(QStringLiteral("Speaker: hello world"));
    select(20, 20);
    QTest::keyClicks(editor(), "!");
    select(9, 14);
    QSignalSpy edited(editor(), &TranscriptEditor::textEdited);

    QVERIFY(m_controller->insertText(QStringLiteral("[01:23:45] ")));
    QCOMPARE(editor()->text(), QStringLiteral("Speaker: [01:23:45]  world!"));
    QVERIFY(!editor()->textCursor().hasSelection());
    QCOMPARE(editor()->textCursor().position(), 20);
    QCOMPARE(colouredSpans(), Spans({{9, 10}}));
    QCOMPARE(edited.count(), 1);

    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor()->text(), QStringLiteral("Speaker: hello world!"));
    QCOMPARE(colouredSpans(), Spans());
}

void tst_TranscriptEditor::controller_forgetsDestroyedEditor()
{
    QCOMPARE(m_controller->textView(), editor());
    QSignalSpy changed(m_controller.get(), &TranscriptEditorController::textViewChanged);
    m_editor.reset();
    QCOMPARE(m_controller->textView(), nullptr);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!m_controller->insertText(QStringLiteral("[00:00:00] ")));

    // The next editor registers itself with the same controller.
    m_editor = std::make_unique<TranscriptEditor>(m_controller.get());
    QVERIFY(m_controller->insertText(QStringLiteral("[00:00:00] ")));
    QCOMPARE(editor()->text(), QStringLiteral("[00:00:00] "));
}

void tst_TranscriptEditor::textEdited_reportsEditsOnly()
{
    QSignalSpy edited(editor(), &TranscriptEditor::textEdited);
    QTest::keyClicks(editor(), "[00:00:01"); // one per character
    QCOMPARE(edited.count(), 9);
    QTest::keyClick(editor(), Qt::Key_BracketRight); // also when it colours a timestamp
    QCOMPARE(edited.count(), 10);

    QGuiApplication::clipboard()->setText(QStringLiteral(" pasted"));
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(m_controller->insertText(QStringLiteral("x")));
    QCOMPARE(edited.count(), 13);

    editor()->setTranscript(editor()->text());
    QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, pointOf(0, 10));
    QCOMPARE(edited.count(), 13);
}

QTEST_MAIN(tst_TranscriptEditor)
#include "tst_TranscriptEditor.moc"
