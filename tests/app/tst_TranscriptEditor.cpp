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

    TranscriptEditorController m_controller;
    std::unique_ptr<TranscriptEditor> m_editor;

    TranscriptEditor* editor() const { return m_editor.get(); }

    // The coloured ranges of the display; the document itself must stay without formats.
    Spans colouredSpans() const
    {
        Spans spans;
        for (QTextBlock block = editor()->document()->begin(); block.isValid();
             block = block.next()) {
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                if (range.format.hasProperty(QTextFormat::ForegroundBrush))
                    spans.append({block.position() + range.start, range.length});
            }
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.hasProperty(QTextFormat::ForegroundBrush) ||
                    format.hasProperty(QTextFormat::FontWeight) || format.isAnchor())
                    spans.append({-1, -1});
            }
        }
        return spans;
    }

    // The centre of the glyphs from position to position + length, in viewport coordinates.
    QPoint pointOf(int position, int length) const
    {
        QTextCursor cursor(editor()->document());
        cursor.setPosition(position);
        const QRect first = editor()->cursorRect(cursor);
        cursor.setPosition(position + length);
        return {(first.left() + editor()->cursorRect(cursor).left()) / 2, first.center().y()};
    }

    void click(const QPoint& point)
    {
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, point);
    }

    // One key event per character (a surrogate pair in one event), as a keyboard sends them.
    void typeText(const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text.at(i).isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::KeyAction::Click, editor(), Qt::Key_unknown, text.mid(i, n),
                                Qt::NoModifier);
            i += n - 1;
        }
    }

private slots:
    void init()
    {
        m_editor = std::make_unique<TranscriptEditor>(&m_controller);
        m_editor->resize(640, 400);
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    }

    void cleanup()
    {
        m_editor.reset();
        QGuiApplication::clipboard()->clear();
    }

    // Coloured when the closing bracket is typed, never the text typed after it, and plain
    // again when the bracket is deleted.
    void typing_coloursTimestampOnClosingBracketOnly()
    {
        QTest::keyClicks(editor(), "Note [00:01:23");
        QCOMPARE(colouredSpans(), Spans());
        QTest::keyClick(editor(), Qt::Key_BracketRight);
        QCOMPARE(colouredSpans(), Spans({{5, 10}}));
        QTest::keyClicks(editor(), " said");
        QCOMPARE(colouredSpans(), Spans({{5, 10}}));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(editor(), Qt::Key_Backspace);
        QCOMPARE(editor()->text(), QStringLiteral("Note [00:01:23"));
        QCOMPARE(colouredSpans(), Spans());
    }

    // Quotes and double hyphens are not replaced; a no-break space survives text() (which
    // toPlainText() would turn into a space); a soft line break (Shift+Enter) reads as "\n".
    void typing_keepsCharactersAsTyped()
    {
        typeText(QStringLiteral("\"Yes\" -- it's 10\u00A0km"));
        QTest::keyClick(editor(), Qt::Key_Return, Qt::ShiftModifier);
        typeText(QStringLiteral("\u2018ok\u2019"));
        QCOMPARE(editor()->text(), QStringLiteral("\"Yes\" -- it's 10\u00A0km\n\u2018ok\u2019"));
    }

    // A click on a timestamp (positions count UTF-16 units: emoji come first) reports its
    // seconds and leaves text and cursor alone; elsewhere, also in the empty space right of a
    // line that ends with a timestamp, it places the cursor.
    void click_onTimestampReportsSecondsAndLeavesTextAlone()
    {
        const QString text = QStringLiteral("\U0001F600\U0001F44D\U0001F3FD [00:01:23] [00:02:00]");
        typeText(text);
        QCOMPARE(colouredSpans(), Spans({{7, 10}, {18, 10}}));
        editor()->moveCursor(QTextCursor::Start);
        QSignalSpy clicked(editor(), &TranscriptEditor::timestampClicked);
        QSignalSpy edited(editor(), &TranscriptEditor::textEdited);
        click(pointOf(7, 1));
        click(pointOf(16, 1));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(clicked.at(0).at(0).toDouble(), 83.0);
        QCOMPARE(clicked.at(1).at(0).toDouble(), 83.0);
        QCOMPARE(editor()->text(), text);
        QCOMPARE(editor()->textCursor().position(), 0);
        QCOMPARE(edited.count(), 0);

        click(pointOf(text.size(), 0) + QPoint(40, 0));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(editor()->textCursor().position(), text.size());
    }

    // HTML alone, and Markdown with its plain text: only the text arrives, without formats.
    void paste_insertsPlainTextOnly()
    {
        auto* html = new QMimeData;
        html->setHtml(QStringLiteral("<p><b style=\"color:red\">Bold</b> [00:00:03]</p>"));
        auto* markdown = new QMimeData;
        markdown->setData("text/markdown", "**Bold** [00:00:03]");
        markdown->setText(QStringLiteral("**Bold** [00:00:03]"));
        for (const auto& [mime, expected] :
             {std::pair{html, "Bold [00:00:03]"}, std::pair{markdown, "**Bold** [00:00:03]"}}) {
            editor()->setTranscript(QString());
            QGuiApplication::clipboard()->setMimeData(mime);
            QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(editor()->text(), QString::fromLatin1(expected));
            QCOMPARE(colouredSpans(), Spans({{int(editor()->text().indexOf(u'[')), 10}}));
        }
    }

    // Plain text only, exactly as typed: no HTML, no-break spaces and line breaks kept.
    void copy_putsTextAsTypedOnClipboard()
    {
        const QString text = QStringLiteral("10\u00A0km [00:00:01]\nnext");
        editor()->setTranscript(text);
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied && !copied->hasHtml());
        QCOMPARE(copied->text(), text);
    }

    // An equal text (also with other line breaks) changes nothing, not even the selection or
    // undo; another text replaces everything, and undo cannot bring back what it replaced.
    void setTranscript_replacesOnlyAnotherText()
    {
        QTest::keyClicks(editor(), "one");
        QTest::keyClick(editor(), Qt::Key_Return);
        QTest::keyClicks(editor(), "two");
        QTextCursor cursor = editor()->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        editor()->setTextCursor(cursor);
        QSignalSpy edited(editor(), &TranscriptEditor::textEdited);

        editor()->setTranscript(QStringLiteral("one\r\ntwo"));
        QCOMPARE(editor()->textCursor().selectionStart(), 1);
        QCOMPARE(editor()->textCursor().selectionEnd(), 5);
        QVERIFY(editor()->document()->isUndoAvailable());

        editor()->setTranscript(QStringLiteral("second\n\u00A0[00:00:09]"));
        QCOMPARE(editor()->text(), QStringLiteral("second\n\u00A0[00:00:09]"));
        QCOMPARE(colouredSpans(), Spans({{8, 10}}));
        QVERIFY(!editor()->document()->isUndoAvailable());
        QCOMPARE(edited.count(), 0);
    }
};

QTEST_MAIN(tst_TranscriptEditor)
#include "tst_TranscriptEditor.moc"
