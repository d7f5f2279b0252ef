#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

Q_MOC_INCLUDE("TranscriptEditor.h")

namespace dictaro {

class TranscriptEditor;

// The session's handle on the transcript editor that is currently on screen. It never keeps
// the editor alive: textView() is null before an editor registers and after it is destroyed.
class TranscriptEditorController : public QObject
{
    Q_OBJECT
    Q_PROPERTY(dictaro::TranscriptEditor* textView READ textView NOTIFY textViewChanged)

public:
    explicit TranscriptEditorController(QObject* parent = nullptr);

    TranscriptEditor* textView() const { return m_textView.data(); }

    // Called by an editor when it is created (and with null when it goes away). The latest
    // editor wins; an earlier one that dies later does not clear it.
    void setTextView(TranscriptEditor* textView);

    // Replaces the editor's selection with the text, or inserts it at the cursor, as one
    // undoable edit, and leaves the cursor just after it. False, doing nothing, without an
    // editor.
    bool insertText(const QString& text);

signals:
    void textViewChanged(dictaro::TranscriptEditor* textView);

private:
    QPointer<TranscriptEditor> m_textView;
    QMetaObject::Connection m_destroyedConnection;
};

} // namespace dictaro
