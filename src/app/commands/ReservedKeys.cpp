#include "ReservedKeys.h"

#include "Command.h"
#include "Localization.h"

#include <QList>

namespace dictaro::ReservedKeys {

namespace {

// Keys that type, move the cursor or delete when no Ctrl, Alt or Meta is held.
bool isTypingKey(QKeyCombination combination)
{
    constexpr Qt::KeyboardModifiers commandModifiers =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (combination.keyboardModifiers() & commandModifiers)
        return false;
    const int key = combination.key();
    if (key < Qt::Key_Escape) // printable characters, space included
        return true;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
    }
}

bool isTextKey(const QKeySequence& key)
{
    const auto holds = [&key](QKeySequence::StandardKey standard) {
        return QKeySequence::keyBindings(standard).contains(key);
    };
    for (int standard = QKeySequence::MoveToNextChar; standard <= QKeySequence::InsertLineSeparator;
         ++standard) {
        if (holds(QKeySequence::StandardKey(standard)))
            return true;
    }
    for (QKeySequence::StandardKey standard :
         {QKeySequence::Backspace, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
          QKeySequence::Deselect}) {
        if (holds(standard))
            return true;
    }
    return false;
}

// The desktop's keys for what Dictaro has no command of its own (Open is the welcome screen's).
QString desktopCommand(const QKeySequence& key)
{
    const auto holds = [&key](QKeySequence::StandardKey standard) {
        return QKeySequence::keyBindings(standard).contains(key);
    };
    if (holds(QKeySequence::Close))
        return Localization::tr("Close");
    if (holds(QKeySequence::New))
        return Localization::tr("New");
    if (holds(QKeySequence::Open))
        return Localization::tr("Open");
    if (holds(QKeySequence::Print))
        return Localization::tr("Print");
    return {};
}

// The menu that Alt and its letter open, by its name; empty for none.
QString menuOpenedBy(QKeyCombination combination)
{
    if (combination.keyboardModifiers() != Qt::AltModifier)
        return {};
    for (const CommandGroup group : Commands::groups()) {
        const QString title = Commands::groupTitle(group);
        const QString letter = Commands::mnemonic(title);
        if (!letter.isEmpty() && letter.at(0).unicode() == combination.key())
            return Commands::withoutMnemonic(title);
    }
    return {};
}

} // namespace

QString reason(QKeyCombination combination, const QString& keyText)
{
    if (isTypingKey(combination))
        return Localization::tr("%1 is needed for typing. Choose a key with Ctrl or Alt, or a "
                                "function key.")
            .arg(keyText);
    const QKeySequence key(combination);
    if (isTextKey(key))
        return Localization::tr("%1 is needed for moving through and editing the text.")
            .arg(keyText);
    if (const QString menu = menuOpenedBy(combination); !menu.isEmpty())
        return Localization::tr("%1 opens the %2 menu.").arg(keyText, menu);
    if (const QString name = desktopCommand(key); !name.isEmpty())
        return Localization::tr("%1 is already the key for %2.").arg(keyText, name);
    return {};
}

} // namespace dictaro::ReservedKeys
