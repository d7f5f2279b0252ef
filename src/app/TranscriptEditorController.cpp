#include "TranscriptEditorController.h"

#include <QTextCursor>

#include "TranscriptEditor.h"

namespace dictaro {

TranscriptEditorController::TranscriptEditorController(QObject* parent) : QObject(parent) {}

void TranscriptEditorController::setTextView(TranscriptEditor* textView)
{
    if (textView == m_textView)
        return;
    disconnect(m_destroyedConnection);
    m_textView = textView;
    if (textView) {
        // The editor signs off in its destructor; this covers any other way of going away.
        // Depending on how far the destruction has got, the guard may or may not be null yet.
        m_destroyedConnection =
            connect(textView, &QObject::destroyed, this, [this](QObject* object) {
                if (m_textView && m_textView.data() != object)
                    return;
                m_textView.clear();
                disconnect(m_destroyedConnection);
                emit textViewChanged(nullptr);
            });
    }
    emit textViewChanged(textView);
}

bool TranscriptEditorController::insertText(const QString& text)
{
    TranscriptEditor* editor = m_textView.data();
    if (!editor)
        return false;
    QTextCursor cursor = editor->textCursor();
    // An edit block of its own, so that the insertion is never merged with the typing before
    // or after it and one undo takes exactly it back.
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    editor->setTextCursor(cursor);
    return true;
}

} // namespace dictaro
