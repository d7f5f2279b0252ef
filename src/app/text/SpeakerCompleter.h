#pragma once

#include <QObject>
#include <QStringList>

class QCompleter;
class QPlainTextEdit;
class QStringListModel;

namespace dictaro {

// Offers the speakers whose names begin with what is typed at the start of a line (after the
// line's timestamp, if any), in a popup list under the caret. Enter, Return, Tab or a click
// takes the chosen name, turning what was typed into its label ("Anna: "); Escape closes the
// list, and so does typing on where no name fits. The popup is a window of its own, so that
// its keys never reach the window's commands.
class SpeakerCompleter : public QObject
{
    Q_OBJECT

public:
    explicit SpeakerCompleter(QPlainTextEdit* editor);

    void setNames(const QStringList& names);
    QCompleter* completer() const { return m_completer; }
    bool isShown() const;

    // Shows, updates or hides the list for the text at the caret; cheap unless the caret is in
    // the first few characters of a line.
    void update();
    void hide();

private:
    // The part of the caret's line that would become the label, or nothing.
    bool typedPrefix(QString* prefix, int* start) const;
    void accept(const QString& name);

    QPlainTextEdit* m_editor;
    QCompleter* m_completer;
    QStringListModel* m_model;
};

} // namespace dictaro
