#include "KeySettingsView.h"

#include "Appearance.h"
#include "CommandRegistry.h"
#include "Localization.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace dictaro {

KeySettingsView::KeySettingsView(CommandRegistry& commands, QWidget* parent)
    : QWidget(parent), m_commands(commands)
{
    setObjectName(QStringLiteral("keySettingsView"));
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(8);
    form->setColumnStretch(1, 1);
    int row = 0;
    for (const Command command : Commands::all()) {
        if (!Commands::isRebindable(command) || !m_commands.isOffered(command))
            continue;
        auto* editor = new QKeySequenceEdit(m_commands.key(command), this);
        editor->setObjectName(Commands::id(command) + QStringLiteral("Key"));
        editor->setMinimumWidth(180);
        auto* label = new QLabel(Commands::title(command), this);
        label->setBuddy(editor);
        form->addWidget(label, row, 0);
        form->addWidget(editor, row, 2);
        m_editors.insert(command, editor);
        editor->installEventFilter(this);
        // A key is taken once recording ends (a second after the last key, or on leaving the
        // field). The sequence also changes while recording starts over, so that is not a choice.
        connect(editor, &QKeySequenceEdit::editingFinished, this,
                [this, command, editor] { choose(command, editor->keySequence()); });
        ++row;
    }

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("keyMessage"));
    m_message->setWordWrap(true);
    Appearance::setTextStyle(m_message, Appearance::TextStyle::Caption);
    auto* note = new QLabel(Localization::tr("Click a field and press the new key. Pedals that "
                                             "type keys work through these keys too."),
                            this);
    note->setWordWrap(true);
    Appearance::setTextStyle(note, Appearance::TextStyle::Caption);
    Appearance::makeSecondary(note);

    auto* restore = new QPushButton(Localization::tr("Restore Defaults"), this);
    restore->setObjectName(QStringLiteral("restoreKeys"));
    connect(restore, &QPushButton::clicked, this, [this] {
        m_commands.restoreDefaults();
        // Keys that work now but are lost at the next start are said so.
        m_message->setText(m_commands.saveError().value_or(QString()));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(restore);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(note);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(&m_commands, &CommandRegistry::keyChanged, this, &KeySettingsView::showKey);
}

KeySettingsView::~KeySettingsView()
{
    // Fields losing focus while the page goes away finish their recording: nothing to choose.
    for (QKeySequenceEdit* editor : std::as_const(m_editors))
        editor->disconnect(this);
}

bool KeySettingsView::eventFilter(QObject* watched, QEvent* event)
{
    // Escape closes the window, as everywhere else, rather than becoming a key: Restore
    // Defaults gives Play/Pause its Escape back.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                window()->close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KeySettingsView::choose(Command command, const QKeySequence& key)
{
    const QKeySequence combination = key.isEmpty() ? QKeySequence() : QKeySequence(key[0]);
    const QString conflict = m_commands.conflict(command, combination);
    if (!conflict.isEmpty()) {
        m_message->setText(conflict);
        showKey(command, m_commands.key(command));
        return;
    }
    m_commands.setKey(command, combination);
    m_message->setText(m_commands.saveError().value_or(QString()));
    showKey(command, combination); // also when only the extra combinations were dropped
}

void KeySettingsView::showKey(Command command, const QKeySequence& key)
{
    QKeySequenceEdit* editor = m_editors.value(command);
    if (!editor || editor->keySequence() == key)
        return;
    const QSignalBlocker blocker(editor);
    editor->setKeySequence(key);
}

} // namespace dictaro
