#pragma once

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;

namespace dictaro {

class SpellChecker;
class TranscriptEditor;

// The spelling choices in menus: the Edit menu's Spelling submenu (checking on or off, the
// dictionary) and, in the editor's right-click menu, the suggestions for a misspelt word.
class SpellingMenu : public QObject
{
    Q_OBJECT

public:
    explicit SpellingMenu(SpellChecker& spelling, QObject* parent = nullptr);

    QAction* checkSpellingAction() const { return m_checkSpelling; }
    // The Spelling submenu, filled anew each time it opens.
    QMenu* createMenu(QWidget* parent);
    // Adds to `menu`, for a misspelt word at a point of the editor's viewport, up to five
    // suggestions, "Add to Dictionary" and "Ignore", then a separator; nothing for a word
    // spelt right.
    void addSuggestions(QMenu* menu, TranscriptEditor* editor, const QPoint& viewportPosition);

private:
    void fill(QMenu* menu);

    SpellChecker& m_spelling;
    QAction* m_checkSpelling = nullptr;
};

} // namespace dictaro
