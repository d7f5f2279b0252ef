#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace dictaro {

class FindController;

// The find bar under the transcript editor: a field, previous and next, Match Case and Whole
// Words, the count ("3 of 12") or "Not found", and a replace row. Every match on screen is
// highlighted. Escape in the bar closes it and puts the cursor back in the text; it does not
// reach the play/pause handler, since the text does not have the focus.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget* parent = nullptr);

    // The editor searched in; the bar works on its document as it is now.
    void setEditor(QPlainTextEdit* editor);
    QPlainTextEdit* editor() const { return m_editor.data(); }
    FindController* controller() const { return m_controller; }

    // Shows the bar with the focus in the find field, taking a one-line selection as the text
    // to find. openReplace() shows the replace row too and, once there is a text to find, puts
    // the focus in the replace field: Return there replaces and finds the next match,
    // Ctrl+Alt+Return (in either field) replaces all.
    void openFind();
    void openReplace();
    // Selects the next (previous) match after (before) the editor's selection, with the text
    // of the find field; opens the bar when there is nothing to find yet.
    void findNext();
    void findPrevious();
    // Replaces the selected match and selects the next one; selects the next match when the
    // selection is none.
    void replace();
    // Replaces every match as one undo step and shows how many.
    void replaceAll();
    // Hides the bar and its highlights and gives the focus back to the editor.
    void close();

    // What the bar shows beside the field: the count, "Not found", a wrap or replace hint.
    QString statusText() const;
    bool isNotFound() const { return m_notFound; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void open(bool withReplace);
    void search(int position, bool forward, bool fromTyping);
    void select(int start, int end);
    void setNotFound(bool notFound);
    void updateStatus();
    void updateHighlights();
    void scheduleHighlights();

    QPointer<QPlainTextEdit> m_editor;
    FindController* m_controller = nullptr;
    QLineEdit* m_findField = nullptr;
    QLineEdit* m_replaceField = nullptr;
    QToolButton* m_previousButton = nullptr;
    QToolButton* m_nextButton = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_wholeWords = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_replaceRow = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
    QString m_hint;
    bool m_notFound = false;
    QTimer m_highlightTimer;
};

} // namespace dictaro
