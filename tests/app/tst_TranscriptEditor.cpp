// The editor on a document of its own, driven by key events and mouse clicks.
#include "CaretBlink.h"
#include "DisplayBlocks.h"
#include "LineBreaks.h"
#include "SpeakerCompleter.h"
#include "TimestampFormatter.h"
#include "TranscriptEditor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

using dictaro::TranscriptEditor;

using Spans = QList<QPair<int, int>>; // (document position, length)

class tst_TranscriptEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<TranscriptEditor> m_editor;

    TranscriptEditor* editor() const { return m_editor.get(); }
    // The text as the session reads it.
    QString text() const
    {
        QString text = m_document->toRawText();
        dictaro::LineBreaks::toNewlines(text);
        return text;
    }

    // The text without the breaks between display blocks, as the session saves it.
    QString storedText() const { return dictaro::DisplayBlocks::text(m_document.get()); }

    // One paragraph of `size` characters, a timestamp every 100.
    static QString paragraph(qsizetype size)
    {
        QString text;
        for (int i = 0; text.size() < size; ++i)
            text += QStringLiteral("[00:%1:%2] so we went through the questions one by one, "
                                   "slowly, with pauses between them and laughter ")
                        .arg(i / 60 % 60, 2, 10, QChar(u'0'))
                        .arg(i % 60, 2, 10, QChar(u'0'));
        return text;
    }
    // The first block that continues the paragraph of the block before it.
    QTextBlock firstContinuation() const
    {
        QTextBlock block = m_document->begin();
        while (block.isValid() && !dictaro::DisplayBlocks::continuesPrevious(block))
            block = block.next();
        return block;
    }
    void placeCaret(int position)
    {
        QTextCursor cursor = editor()->textCursor();
        cursor.setPosition(position);
        editor()->setTextCursor(cursor);
    }

    // The coloured ranges of the display.
    Spans colouredSpans() const
    {
        Spans spans;
        for (QTextBlock block = editor()->document()->begin(); block.isValid();
             block = block.next()) {
            for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
                if (range.format.hasProperty(QTextFormat::ForegroundBrush))
                    spans.append({block.position() + range.start, range.length});
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
        m_document = std::make_unique<QTextDocument>();
        m_editor = std::make_unique<TranscriptEditor>(m_document.get());
        m_editor->resize(640, 400);
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    }

    void cleanup()
    {
        m_editor.reset();
        m_document.reset();
        QGuiApplication::clipboard()->clear();
    }

    // Timestamps are coloured as typed. A click on one (positions count UTF-16 units: emoji come
    // first) reports its seconds and leaves text and cursor alone; elsewhere, also in the empty
    // space right of a line that ends with a timestamp, it places the cursor.
    void click_onTimestampReportsSecondsAndLeavesTextAlone()
    {
        const QString typed =
            QStringLiteral("\U0001F600\U0001F44D\U0001F3FD [00:01:23] [00:02:00]");
        typeText(typed);
        QCOMPARE(colouredSpans(), Spans({{7, 10}, {18, 10}}));
        editor()->moveCursor(QTextCursor::Start);
        QSignalSpy clicked(editor(), &TranscriptEditor::timestampClicked);
        click(pointOf(7, 1));
        click(pointOf(16, 1));
        QCOMPARE(clicked, (QList<QVariantList>{{83.0}, {83.0}}));
        QCOMPARE(text(), typed);
        QCOMPARE(editor()->textCursor().position(), 0);

        click(pointOf(typed.size(), 0) + QPoint(40, 0));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(editor()->textCursor().position(), typed.size());
    }

    // Pasted, HTML alone or Markdown with its plain text: only the text arrives, without formats.
    void pasteTypingAndCopy_carryPlainTextOnly()
    {
        auto* html = new QMimeData;
        html->setHtml(QStringLiteral("<p><b style=\"color:red\">Bold</b> [00:00:03]</p>"));
        auto* markdown = new QMimeData;
        markdown->setData("text/markdown", "**Bold** [00:00:03]");
        markdown->setText(QStringLiteral("**Bold** [00:00:03]"));
        for (const auto& [mime, expected] :
             {std::pair{html, "Bold [00:00:03]"}, std::pair{markdown, "**Bold** [00:00:03]"}}) {
            m_document->setPlainText(QString());
            QGuiApplication::clipboard()->setMimeData(mime);
            QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(text(), QString::fromLatin1(expected));
            QCOMPARE(colouredSpans(), Spans({{int(text().indexOf(u'[')), 10}}));
        }

        // Typed as typed: quotes and double hyphens are not replaced, a no-break space survives
        // (toPlainText() would make it a space), a soft line break (Shift+Enter) reads as "\n".
        m_document->setPlainText(QString());
        typeText(QStringLiteral("\"Yes\" -- it's 10\u00A0km"));
        QTest::keyClick(editor(), Qt::Key_Return, Qt::ShiftModifier);
        typeText(QStringLiteral("\u2018ok\u2019"));
        // Copied as plain text exactly: no HTML, no-break spaces kept, the soft break a "\n".
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied && !copied->hasHtml());
        QCOMPARE(copied->text(), QStringLiteral("\"Yes\" -- it's 10\u00A0km\n\u2018ok\u2019"));
    }

    // A long paragraph is shown as short blocks, yet read, copied and clicked as one: the
    // stored text and the copy are exactly the paragraph, and a stamp deep in it plays.
    void longParagraph_shownShortReadAndCopiedWhole()
    {
        const QString text = paragraph(200'000) + QStringLiteral("\nnext line");
        m_document->setPlainText(text);
        QCoreApplication::processEvents();
        QVERIFY(m_document->blockCount() > 200'000 / 1000);
        for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() - 1 <= 2 * dictaro::DisplayBlocks::pieceLength);
        QVERIFY(!m_document->isUndoAvailable());
        QCOMPARE(storedText(), text);

        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);

        const QTextBlock block = m_document->findBlockByNumber(7);
        const int stamp = int(block.text().indexOf(u'['));
        QVERIFY(stamp >= 0);
        const double seconds =
            *dictaro::TimestampFormatter::secondsFromString(block.text().mid(stamp, 10));
        placeCaret(block.position());
        editor()->ensureCursorVisible();
        QSignalSpy clicked(editor(), &TranscriptEditor::timestampClicked);
        click(pointOf(block.position() + stamp + 2, 1));
        QCOMPARE(clicked, QList<QVariantList>{{seconds}});
    }

    // Where one display block meets the next is one place in the text: typing there, a line
    // break, Backspace, Delete and the arrows act on the text as if there were no seam.
    void longParagraph_editingAtTheSeamActsOnTheText()
    {
        const QString text = paragraph(5000);
        m_document->setPlainText(text);
        QCoreApplication::processEvents();
        const QTextBlock seam = firstContinuation();
        QVERIFY(seam.isValid());
        const int at = seam.position();  // the start of the second block
        const qsizetype offset = at - 1; // the same place in the text
        QString expected = text;

        placeCaret(at);
        QTest::keyClick(editor(), Qt::Key_Backspace); // the space before the seam
        expected.remove(offset - 1, 1);
        QCOMPARE(storedText(), expected);
        typeText(QStringLiteral(" X"));
        expected.insert(offset - 1, QStringLiteral(" X"));
        QCOMPARE(storedText(), expected);

        QTest::keyClick(editor(), Qt::Key_Left);
        QTest::keyClick(editor(), Qt::Key_Left);
        QTest::keyClick(editor(), Qt::Key_Delete); // the space typed above
        expected.remove(offset - 1, 1);
        QCOMPARE(storedText(), expected);
        QTest::keyClick(editor(), Qt::Key_Return);
        expected.insert(offset - 1, u'\n');
        QCOMPARE(storedText(), expected);

        // At the end of the first block, Delete and Right reach into the next one.
        const QTextBlock second = firstContinuation();
        placeCaret(second.position() - 1);
        const qsizetype inText = second.position() - 1; // no soft break before it
        QTest::keyClick(editor(), Qt::Key_Delete);
        expected.remove(inText, 1);
        QCOMPARE(storedText(), expected);
        QTest::keyClick(editor(), Qt::Key_Right);
        typeText(QStringLiteral("Y"));
        expected.insert(inText + 1, u'Y');
        QCOMPARE(storedText(), expected);
    }

    // A paragraph pasted into a paragraph arrives cut into display blocks; typing that makes a
    // block too long is cut as it goes. One undo takes each edit back to exactly the text
    // before it, and redo brings it again.
    void longParagraph_pasteAndTypingUndoExactly()
    {
        const QString text = paragraph(20'000);
        m_document->setPlainText(text);
        QCoreApplication::processEvents();
        const int blocks = m_document->blockCount();

        const QString pasted = paragraph(30'000);
        placeCaret(10'050);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
        const qsizetype pastedAt = 10'050 - m_document->findBlock(10'050).blockNumber();
        const QString afterPaste = text.left(pastedAt) + pasted + text.mid(pastedAt);
        QCOMPARE(storedText(), afterPaste);
        QVERIFY(m_document->blockCount() > blocks + 30'000 / 1000);
        // The caret is right after what was pasted.
        typeText(QStringLiteral("Q"));
        QCOMPARE(storedText(), QString(afterPaste).insert(pastedAt + pasted.size(), u'Q'));
        editor()->undo();
        QCOMPARE(storedText(), afterPaste);

        // Typing at the end of the first block, past the length where it must be cut.
        const qsizetype typedAt = m_document->begin().length() - 1;
        placeCaret(int(typedAt));
        const QString typed = QString(2 * dictaro::DisplayBlocks::pieceLength, u'w');
        typeText(typed);
        QVERIFY(m_document->begin().length() <= 2 * dictaro::DisplayBlocks::pieceLength);
        QCOMPARE(storedText(), QString(afterPaste).insert(typedAt, typed));

        // Each undo takes back some of the typing, never only a cut, down to the paste.
        qsizetype left = typed.size();
        while (left > 0) {
            editor()->undo();
            const qsizetype now = storedText().size() - afterPaste.size();
            QVERIFY2(now < left, "an undo step changed no text");
            left = now;
            QCOMPARE(storedText(), QString(afterPaste).insert(typedAt, typed.left(left)));
        }
        editor()->undo();
        QCOMPARE(storedText(), text);
        editor()->redo();
        QCOMPARE(storedText(), afterPaste);
    }

    // An edit from elsewhere, not an edit block, is cut afterwards in an undo step of its own:
    // undoing goes past it to the text before the edit, and never comes back to it.
    void longParagraph_undoGoesPastALaterCut()
    {
        const QString text = paragraph(900);
        m_document->setPlainText(text);
        QTextCursor(m_document.get()).insertText(paragraph(600));
        QCoreApplication::processEvents();
        QVERIFY(firstContinuation().isValid());
        for (int i = 0; i < 4 && storedText() != text; ++i) {
            editor()->undo();
            QCoreApplication::processEvents();
        }
        QCOMPARE(storedText(), text);
    }

    // A snippet expands when a space, a punctuation mark or a line break follows it, as an undo
    // step of its own: undo gives back the abbreviation as typed. Inside a word it stays.
    void snippets_expandAsTypedAndUndoToTheAbbreviation()
    {
        editor()->setSnippets({{"/inaud", "[inaudible]"}, {"/cross", "[crosstalk]"}});
        typeText(QStringLiteral("so /inaud."));
        QCOMPARE(text(), QStringLiteral("so [inaudible]."));
        editor()->undo();
        QCOMPARE(text(), QStringLiteral("so /inaud."));
        editor()->redo();
        editor()->moveCursor(QTextCursor::End);
        typeText(QStringLiteral(" and/cross /cross"));
        QTest::keyClick(editor(), Qt::Key_Return);
        QCOMPARE(text(), QStringLiteral("so [inaudible]. and/cross [crosstalk]\n"));
    }

    // At a line's start (after its timestamp) the speakers' names are offered: Enter or Tab
    // takes the first fitting one as a label (Escape: tst_MainWindow); past the label nothing
    // is offered.
    void speakerNames_offeredAtTheStartOfALine()
    {
        editor()->setSpeakers({"Anna", "Bo", "Annette"});
        dictaro::SpeakerCompleter* speakers = editor()->speakerCompleter();
        QAbstractItemView* popup = speakers->completer()->popup();
        typeText(QStringLiteral("ann"));
        QVERIFY(speakers->isShown());
        QCOMPARE(speakers->completer()->completionCount(), 2);
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(text(), QStringLiteral("Anna: "));
        typeText(QStringLiteral("b"));
        QVERIFY(!speakers->isShown());
        QTest::keyClick(editor(), Qt::Key_Return);
        typeText(QStringLiteral("[00:00:01] b"));
        QVERIFY(speakers->isShown());
        QTest::keyClick(popup, Qt::Key_Tab);
        QCOMPARE(text(), QStringLiteral("Anna: b\n[00:00:01] Bo: "));
    }

    // Left alone, the caret stops blinking and shows steadily; a key starts it blinking again
    // at the desktop's pace, and the rest counts from the last key.
    void caret_restsWhenLeftAlone()
    {
        QStyleHints* hints = QGuiApplication::styleHints();
        hints->setCursorFlashTime(800);
        {
            dictaro::CaretBlink blink(1000);
            QTRY_VERIFY(blink.isResting());
            QCOMPARE(hints->cursorFlashTime(), 0);
            typeText(QStringLiteral("a"));
            QVERIFY(!blink.isResting());
            QCOMPARE(hints->cursorFlashTime(), 800);
            QTest::qWait(600);
            typeText(QStringLiteral("b"));
            QTest::qWait(600);
            QVERIFY(!blink.isResting());
            QTRY_VERIFY(blink.isResting());
        }
        QCOMPARE(hints->cursorFlashTime(), 800);
    }
};

QTEST_MAIN(tst_TranscriptEditor)
#include "tst_TranscriptEditor.moc"
