// The editor on a document of its own, driven by key events and mouse clicks.
#include "LineBreaks.h"
#include "TranscriptEditor.h"

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
        QCOMPARE(text(), QStringLiteral("Note [00:01:23"));
        QCOMPARE(colouredSpans(), Spans());
    }

    // Quotes and double hyphens are not replaced; a no-break space survives (toPlainText()
    // would turn it into a space); a soft line break (Shift+Enter) reads as "\n".
    void typing_keepsCharactersAsTyped()
    {
        typeText(QStringLiteral("\"Yes\" -- it's 10\u00A0km"));
        QTest::keyClick(editor(), Qt::Key_Return, Qt::ShiftModifier);
        typeText(QStringLiteral("\u2018ok\u2019"));
        QCOMPARE(text(), QStringLiteral("\"Yes\" -- it's 10\u00A0km\n\u2018ok\u2019"));
    }

    // A click on a timestamp (positions count UTF-16 units: emoji come first) reports its
    // seconds and leaves text and cursor alone; elsewhere, also in the empty space right of a
    // line that ends with a timestamp, it places the cursor.
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
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(clicked.at(0).at(0).toDouble(), 83.0);
        QCOMPARE(clicked.at(1).at(0).toDouble(), 83.0);
        QCOMPARE(text(), typed);
        QCOMPARE(editor()->textCursor().position(), 0);

        click(pointOf(typed.size(), 0) + QPoint(40, 0));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(editor()->textCursor().position(), typed.size());
    }

    // HTML alone, and Markdown with its plain text: only the text arrives, without formats.
    void pasteAndCopy_carryPlainTextOnly()
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

        // Copied as plain text exactly as typed: no HTML, no-break spaces and breaks kept.
        const QString typed = QStringLiteral("10\u00A0km [00:00:01]\nnext");
        m_document->setPlainText(typed);
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied && !copied->hasHtml());
        QCOMPARE(copied->text(), typed);
    }
};

QTEST_MAIN(tst_TranscriptEditor)
#include "tst_TranscriptEditor.moc"
