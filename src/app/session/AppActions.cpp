#include "AppActions.h"

#include "AppState.h"
#include "Localization.h"
#include "PlaybackCommands.h"
#include "PlaybackEngine.h"
#include "PlaybackLogic.h"
#include "TranscriptionSession.h"

#include <QAction>
#include <QKeySequence>

namespace dictaro {

namespace {

// The texts are looked up when the actions are made; lupdate finds them here.
struct Definition
{
    const char* text;
    QList<QKeySequence> keys;
    // Whether it needs an open project.
    bool needsSession;
};

Definition definition(AppActions::Command command)
{
    using C = AppActions::Command;
    switch (command) {
    case C::Save:
        return {QT_TRANSLATE_NOOP("Dictaro", "Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, true};
    case C::Export:
        return {
            QT_TRANSLATE_NOOP("Dictaro", "Export…"), {QKeySequence(Qt::CTRL | Qt::Key_E)}, true};
    case C::Settings:
        return {QT_TRANSLATE_NOOP("Dictaro", "Settings…"),
                {QKeySequence(Qt::CTRL | Qt::Key_Comma)},
                false};
    case C::Quit:
        return {QT_TRANSLATE_NOOP("Dictaro", "Quit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, false};
    case C::PlayPause:
        return {QT_TRANSLATE_NOOP("Dictaro", "Play/Pause"), {QKeySequence(Qt::Key_Escape)}, true};
    case C::SkipBack:
        return {QT_TRANSLATE_NOOP("Dictaro", "Skip Back"),
                {QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)},
                true};
    case C::SkipForward:
        return {QT_TRANSLATE_NOOP("Dictaro", "Skip Forward"),
                {QKeySequence(Qt::CTRL | Qt::Key_BracketRight)},
                true};
    // The window system matches Ctrl+Shift+[ also when the layout turns Shift+[ into "{" (US
    // layouts); a second sequence for the brace would make it ambiguous.
    case C::Slower:
        return {QT_TRANSLATE_NOOP("Dictaro", "Slower"),
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft)},
                true};
    case C::Faster:
        return {QT_TRANSLATE_NOOP("Dictaro", "Faster"),
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight)},
                true};
    case C::InsertTimestamp:
        return {QT_TRANSLATE_NOOP("Dictaro", "Insert Timestamp"),
                {QKeySequence(Qt::CTRL | Qt::Key_J)},
                true};
    }
    return {"", {}, false};
}

} // namespace

AppActions::AppActions(AppState& state, QObject* parent) : QObject(parent), m_state(state)
{
    for (int i = 0; i < commandCount; ++i) {
        const Definition def = definition(Command(i));
        auto* action = new QAction(Localization::tr(def.text), this);
        action->setShortcutContext(Qt::WindowShortcut);
        // One toggle per press of a held key; the repeats reach the focused widget, which
        // ignores them.
        action->setAutoRepeat(false);
        action->setProperty("needsSession", def.needsSession);
        m_actions[std::size_t(i)] = action;
        setKey(Command(i), def.keys.value(0));
    }
    action(Command::Quit)->setMenuRole(QAction::QuitRole);
    action(Command::Settings)->setMenuRole(QAction::PreferencesRole);

    // Each command takes the open session when it runs.
    const auto onEngine = [this](Command command, auto&& work) {
        connect(action(command), &QAction::triggered, this, [this, work] {
            if (TranscriptionSession* session = m_state.currentSession())
                work(*session->engine());
        });
    };
    onEngine(Command::PlayPause, [](PlaybackEngine& e) { PlaybackCommands::togglePlayPause(e); });
    onEngine(Command::SkipBack, [](PlaybackEngine& e) { PlaybackCommands::skip(e, -1); });
    onEngine(Command::SkipForward, [](PlaybackEngine& e) { PlaybackCommands::skip(e, +1); });
    onEngine(Command::Slower, [](PlaybackEngine& e) { e.changeRate(-PlaybackLogic::rateStep); });
    onEngine(Command::Faster, [](PlaybackEngine& e) { e.changeRate(PlaybackLogic::rateStep); });
    connect(action(Command::Save), &QAction::triggered, this, [this] {
        if (TranscriptionSession* session = m_state.currentSession())
            session->saveNow();
    });
    connect(action(Command::Export), &QAction::triggered, this,
            [this] { m_state.setExportPresented(m_state.currentSession() != nullptr); });

    connect(&m_state, &AppState::currentSessionChanged, this, &AppActions::updateEnabled);
    updateEnabled();
}

void AppActions::setKey(Command command, const QKeySequence& key)
{
    QAction* action = this->action(command);
    action->setShortcut(key);
    const QString title = action->text().remove(u'…');
    action->setToolTip(key.isEmpty() ? title
                                     : QStringLiteral("%1 (%2)").arg(
                                           title, key.toString(QKeySequence::NativeText)));
}

QList<AppActions::Command> AppActions::playbackCommands()
{
    return {Command::PlayPause, Command::SkipBack, Command::SkipForward,
            Command::Slower,    Command::Faster,   Command::InsertTimestamp};
}

void AppActions::updateEnabled()
{
    const bool open = m_state.currentSession() != nullptr;
    for (QAction* action : m_actions) {
        if (action->property("needsSession").toBool())
            action->setEnabled(open);
    }
}

} // namespace dictaro
