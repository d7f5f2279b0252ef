#include "KeyBindings.h"

#include "Localization.h"

#include <QSettings>

#include <memory>

namespace dictaro {

namespace {

const QString groupName = QStringLiteral("keys");

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Dictaro"), QStringLiteral("Dictaro"));
}

QKeySequence firstCombination(const QKeySequence& key)
{
    return key.isEmpty() ? QKeySequence() : QKeySequence(key[0]);
}

QString keyText(const QKeySequence& key)
{
    return key.toString(QKeySequence::NativeText);
}

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

struct NamedKeys
{
    QList<QKeySequence> keys;
    QString name; // empty for moving and editing the text
};

// The editing, window and file keys a playback command must leave alone, with their names.
QList<NamedKeys> reservedKeys()
{
    const auto standard = [](QKeySequence::StandardKey key) {
        return QKeySequence::keyBindings(key);
    };
    const auto keys = [](std::initializer_list<QKeyCombination> combinations) {
        QList<QKeySequence> list;
        for (QKeyCombination combination : combinations)
            list.append(QKeySequence(combination));
        return list;
    };
    QList<NamedKeys> reserved = {
        {standard(QKeySequence::Undo), Localization::tr("Undo")},
        {standard(QKeySequence::Redo), Localization::tr("Redo")},
        {standard(QKeySequence::Cut), Localization::tr("Cut")},
        {standard(QKeySequence::Copy), Localization::tr("Copy")},
        {standard(QKeySequence::Paste), Localization::tr("Paste")},
        {standard(QKeySequence::SelectAll), Localization::tr("Select All")},
        {standard(QKeySequence::Find), Localization::tr("Find")},
        {standard(QKeySequence::FindNext) + standard(QKeySequence::FindPrevious),
         Localization::tr("Find Next")},
        {standard(QKeySequence::Replace), Localization::tr("Replace")},
        {standard(QKeySequence::Save) + keys({Qt::CTRL | Qt::Key_S}), Localization::tr("Save")},
        {keys({Qt::CTRL | Qt::Key_E}), Localization::tr("Export…")},
        {standard(QKeySequence::Preferences) + keys({Qt::CTRL | Qt::Key_Comma}),
         Localization::tr("Settings…")},
        {standard(QKeySequence::Quit) + keys({Qt::CTRL | Qt::Key_Q}), Localization::tr("Quit")},
        {standard(QKeySequence::Close), Localization::tr("Close")},
        {standard(QKeySequence::New), Localization::tr("New")},
        {standard(QKeySequence::Open), Localization::tr("Open")},
        {standard(QKeySequence::Print), Localization::tr("Print")},
    };
    NamedKeys textKeys;
    for (int key = QKeySequence::MoveToNextChar; key <= QKeySequence::InsertLineSeparator; ++key)
        textKeys.keys += standard(QKeySequence::StandardKey(key));
    for (QKeySequence::StandardKey key :
         {QKeySequence::Delete, QKeySequence::Backspace, QKeySequence::DeleteStartOfWord,
          QKeySequence::DeleteEndOfWord, QKeySequence::DeleteEndOfLine,
          QKeySequence::DeleteCompleteLine, QKeySequence::Deselect})
        textKeys.keys += standard(key);
    reserved.append(textKeys);
    return reserved;
}

} // namespace

KeyBindings::KeyBindings(QObject* parent) : QObject(parent)
{
    const auto settings = openSettings();
    settings->beginGroup(groupName);
    for (PlaybackCommand command : allPlaybackCommands()) {
        const QString id = playbackCommandId(command);
        QKeySequence key = defaultKey(command);
        if (settings->contains(id)) {
            const QString text = settings->value(id).toString();
            const QKeySequence stored = QKeySequence::fromString(text, QKeySequence::PortableText);
            // Unknown key names read as Qt::Key_unknown.
            const bool readable = !stored.isEmpty() && stored[0].key() != Qt::Key_unknown;
            if (text.isEmpty() || readable)
                key = firstCombination(stored);
        }
        // Checked against the commands read so far: a later one gives way.
        if (!conflictWith(m_keys, command, key).isEmpty())
            key = conflictWith(m_keys, command, defaultKey(command)).isEmpty() ? defaultKey(command)
                                                                               : QKeySequence();
        m_keys.insert(command, key);
    }
}

QKeySequence KeyBindings::defaultKey(PlaybackCommand command)
{
    switch (command) {
    case PlaybackCommand::PlayPause: return QKeySequence(Qt::Key_Escape);
    case PlaybackCommand::SkipBack: return QKeySequence(Qt::CTRL | Qt::Key_BracketLeft);
    case PlaybackCommand::SkipForward: return QKeySequence(Qt::CTRL | Qt::Key_BracketRight);
    case PlaybackCommand::Slower: return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft);
    case PlaybackCommand::Faster: return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight);
    case PlaybackCommand::InsertTimestamp: return QKeySequence(Qt::CTRL | Qt::Key_J);
    }
    return {};
}

QString KeyBindings::conflict(PlaybackCommand command, const QKeySequence& key) const
{
    return conflictWith(m_keys, command, key);
}

QString KeyBindings::conflictWith(const QHash<PlaybackCommand, QKeySequence>& keys,
                                  PlaybackCommand command, const QKeySequence& key) const
{
    const QKeySequence combination = firstCombination(key);
    if (combination.isEmpty())
        return {};
    const QString text = keyText(combination);
    if (isTypingKey(combination[0]))
        return Localization::tr("%1 is needed for typing. Choose a key with Ctrl or Alt, or a "
                                "function key.")
            .arg(text);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (it.key() != command && it.value() == combination)
            return Localization::tr("%1 is already the key for %2.")
                .arg(text, playbackCommandTitle(it.key()));
    }
    for (const NamedKeys& reserved : reservedKeys()) {
        if (!reserved.keys.contains(combination))
            continue;
        if (reserved.name.isEmpty())
            return Localization::tr("%1 is needed for moving through and editing the text.")
                .arg(text);
        return Localization::tr("%1 is already the key for %2.").arg(text, reserved.name);
    }
    return {};
}

bool KeyBindings::setKey(PlaybackCommand command, const QKeySequence& key)
{
    const QKeySequence combination = firstCombination(key);
    if (!conflict(command, combination).isEmpty())
        return false;
    const auto settings = openSettings();
    settings->setValue(groupName + u'/' + playbackCommandId(command),
                       combination.toString(QKeySequence::PortableText));
    settings->sync();
    assign(command, combination);
    return true;
}

void KeyBindings::restoreDefaults()
{
    const auto settings = openSettings();
    settings->remove(groupName);
    settings->sync();
    for (PlaybackCommand command : allPlaybackCommands())
        assign(command, defaultKey(command));
}

void KeyBindings::assign(PlaybackCommand command, const QKeySequence& key)
{
    if (m_keys.value(command) == key)
        return;
    m_keys.insert(command, key);
    emit keyChanged(command, key);
}

} // namespace dictaro
