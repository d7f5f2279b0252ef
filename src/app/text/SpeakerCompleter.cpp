#include "SpeakerCompleter.h"

#include "DisplayBlocks.h"
#include "SpeakerLabels.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

namespace dictaro {

SpeakerCompleter::SpeakerCompleter(QPlainTextEdit* editor)
    : QObject(editor), m_editor(editor), m_completer(new QCompleter(this)),
      m_model(new QStringListModel(this))
{
    m_completer->setModel(m_model);
    m_completer->setWidget(editor);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(9);
    m_completer->popup()->setObjectName(QStringLiteral("speakerCompletion"));
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            &SpeakerCompleter::accept);
}

void SpeakerCompleter::setNames(const QStringList& names)
{
    if (names != m_model->stringList())
        m_model->setStringList(names);
}

bool SpeakerCompleter::isShown() const
{
    return m_completer->popup()->isVisible();
}

void SpeakerCompleter::hide()
{
    if (isShown())
        m_completer->popup()->hide();
}

bool SpeakerCompleter::typedPrefix(QString* prefix, int* start) const
{
    if (m_model->rowCount() == 0)
        return false;
    const QTextCursor cursor = m_editor->textCursor();
    const int column = cursor.positionInBlock();
    if (cursor.hasSelection() || column == 0 || column > SpeakerLabels::maxNameLength + 11)
        return false;
    const QTextBlock block = cursor.block();
    if (DisplayBlocks::continuesPrevious(block))
        return false;
    const QString text = block.text();
    const qsizetype from = SpeakerLabels::labelStart(text);
    if (column <= from || column - from > SpeakerLabels::maxNameLength)
        return false;
    *prefix = text.mid(from, column - from);
    *start = block.position() + int(from);
    return !prefix->contains(u':') && prefix->front().isLetter();
}

void SpeakerCompleter::update()
{
    QString prefix;
    int start = 0;
    if (!typedPrefix(&prefix, &start)) {
        hide();
        return;
    }
    if (prefix != m_completer->completionPrefix())
        m_completer->setCompletionPrefix(prefix);
    if (m_completer->completionCount() == 0) {
        hide();
        return;
    }
    QAbstractItemView* popup = m_completer->popup();
    QRect place = m_editor->cursorRect();
    place.translate(m_editor->viewport()->pos());
    place.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() +
                   12);
    m_completer->complete(place);
    // Enter takes the first name unless another is chosen.
    popup->setCurrentIndex(m_completer->completionModel()->index(0, 0));
}

void SpeakerCompleter::accept(const QString& name)
{
    QString prefix;
    int start = 0;
    if (!typedPrefix(&prefix, &start))
        return;
    QTextCursor cursor = m_editor->textCursor();
    cursor.beginEditBlock();
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    cursor.insertText(SpeakerLabels::label(name), QTextCharFormat());
    cursor.endEditBlock();
    m_editor->setTextCursor(cursor);
}

} // namespace dictaro
