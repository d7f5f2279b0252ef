#include "FindBar.h"

#include "FindController.h"
#include "Localization.h"
#include "TranscriptEditor.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace dictaro {

namespace {

// The matches drawn in the editor; a transcript editor keeps them apart from its other marks.
void showMatches(QPlainTextEdit* editor, const QList<QTextEdit::ExtraSelection>& matches)
{
    if (auto* transcript = qobject_cast<TranscriptEditor*>(editor))
        transcript->setMarks(TranscriptEditor::Marks::Found, matches);
    else
        editor->setExtraSelections(matches);
}

QColor mixed(const QColor& base, const QColor& tint, qreal amount)
{
    return QColor::fromRgbF(float(base.redF() * (1 - amount) + tint.redF() * amount),
                            float(base.greenF() * (1 - amount) + tint.greenF() * amount),
                            float(base.blueF() * (1 - amount) + tint.blueF() * amount));
}

const QColor notFoundTint(255, 59, 48);
const QColor matchTint(255, 204, 0);

// In either field of the bar while the replace row is open.
constexpr QKeyCombination replaceAllKey(Qt::CTRL | Qt::ALT | Qt::Key_Return);

QString shortcutText(const QKeySequence& keys)
{
    return keys.toString(QKeySequence::NativeText);
}

} // namespace

FindBar::FindBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("findBar"));
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);

    m_findField = new QLineEdit(this);
    m_findField->setObjectName(QStringLiteral("findField"));
    m_findField->setPlaceholderText(Localization::tr("Find"));
    m_findField->setClearButtonEnabled(true);
    m_findField->installEventFilter(this);

    m_previousButton = new QToolButton(this);
    m_previousButton->setObjectName(QStringLiteral("findPreviousButton"));
    m_previousButton->setArrowType(Qt::UpArrow);
    m_previousButton->setAutoRaise(true);
    m_previousButton->setToolTip(
        Localization::tr("Previous (%1)").arg(shortcutText(QKeySequence(Qt::SHIFT | Qt::Key_F3))));
    m_nextButton = new QToolButton(this);
    m_nextButton->setObjectName(QStringLiteral("findNextButton"));
    m_nextButton->setArrowType(Qt::DownArrow);
    m_nextButton->setAutoRaise(true);
    m_nextButton->setToolTip(
        Localization::tr("Next (%1)").arg(shortcutText(QKeySequence(Qt::Key_F3))));

    m_matchCase = new QCheckBox(Localization::tr("Match Case"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCaseBox"));
    m_wholeWords = new QCheckBox(Localization::tr("Whole Words"), this);
    m_wholeWords->setObjectName(QStringLiteral("wholeWordsBox"));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("findStatus"));
    m_status->setForegroundRole(QPalette::PlaceholderText);

    auto* doneButton = new QToolButton(this);
    doneButton->setObjectName(QStringLiteral("findDoneButton"));
    doneButton->setText(Localization::tr("Done"));
    doneButton->setAutoRaise(true);

    m_replaceField = new QLineEdit(this);
    m_replaceField->setObjectName(QStringLiteral("replaceField"));
    m_replaceField->setPlaceholderText(Localization::tr("Replace with"));
    m_replaceField->installEventFilter(this);
    m_replaceButton = new QPushButton(Localization::tr("Replace"), this);
    m_replaceButton->setObjectName(QStringLiteral("replaceButton"));
    m_replaceButton->setToolTip(Localization::tr("Replace this match and find the next (%1)")
                                    .arg(shortcutText(QKeySequence(Qt::Key_Return))));
    m_replaceAllButton = new QPushButton(Localization::tr("Replace All"), this);
    m_replaceAllButton->setObjectName(QStringLiteral("replaceAllButton"));
    m_replaceAllButton->setToolTip(
        Localization::tr("Replace All (%1)").arg(shortcutText(replaceAllKey)));

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(m_findField, 1);
    findRow->addWidget(m_status);
    findRow->addWidget(m_previousButton);
    findRow->addWidget(m_nextButton);
    findRow->addWidget(m_matchCase);
    findRow->addWidget(m_wholeWords);
    findRow->addWidget(doneButton);

    m_replaceRow = new QWidget(this);
    auto* replaceRow = new QHBoxLayout(m_replaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceRow->addWidget(m_replaceField, 1);
    replaceRow->addWidget(m_replaceButton);
    replaceRow->addWidget(m_replaceAllButton);
    m_replaceRow->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 6, 12, 6);
    column->setSpacing(6);
    column->addLayout(findRow);
    column->addWidget(m_replaceRow);

    m_highlightTimer.setSingleShot(true);
    m_highlightTimer.setInterval(0);
    connect(&m_highlightTimer, &QTimer::timeout, this, &FindBar::updateHighlights);

    connect(m_findField, &QLineEdit::textEdited, this, [this] {
        if (m_controller)
            m_controller->setPattern(m_findField->text());
        // As the text grows, the match grows where it is.
        if (m_editor)
            search(m_editor->textCursor().selectionStart(), true, true);
    });
    connect(m_previousButton, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_nextButton, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_replaceButton, &QPushButton::clicked, this, &FindBar::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(doneButton, &QToolButton::clicked, this, &FindBar::close);
    connect(m_matchCase, &QCheckBox::toggled, this, [this](bool on) {
        if (m_controller)
            m_controller->setMatchCase(on);
    });
    connect(m_wholeWords, &QCheckBox::toggled, this, [this](bool on) {
        if (m_controller)
            m_controller->setWholeWords(on);
    });
    hide();
}

void FindBar::setEditor(QPlainTextEdit* editor)
{
    if (editor == m_editor)
        return;
    if (m_editor) {
        disconnect(m_editor, nullptr, this, nullptr);
        showMatches(m_editor, {});
    }
    delete m_controller;
    m_controller = nullptr;
    m_editor = editor;
    if (!m_editor)
        return;
    m_controller = new FindController(m_editor->document(), this);
    m_controller->setPattern(m_findField->text());
    m_controller->setMatchCase(m_matchCase->isChecked());
    m_controller->setWholeWords(m_wholeWords->isChecked());
    connect(m_controller, &FindController::countChanged, this, &FindBar::updateStatus);
    connect(m_controller, &FindController::searchChanged, this, [this] {
        m_hint.clear();
        scheduleHighlights();
        // New options decide anew whether there is a match.
        if (m_editor && isVisible())
            search(m_editor->textCursor().selectionStart(), true, true);
    });
    connect(m_editor, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
        if (dy != 0)
            scheduleHighlights();
    });
    connect(m_editor, &QPlainTextEdit::textChanged, this, &FindBar::scheduleHighlights);
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, &FindBar::updateStatus);
    connect(m_editor->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &FindBar::scheduleHighlights);
}

void FindBar::openFind()
{
    open(false);
}

void FindBar::openReplace()
{
    open(true);
}

void FindBar::open(bool withReplace)
{
    if (!m_editor)
        return;
    const QString selected = m_editor->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator) &&
        !selected.contains(QChar::LineSeparator)) {
        m_findField->setText(selected);
        m_controller->setPattern(selected);
    }
    if (withReplace)
        m_replaceRow->show();
    show();
    m_controller->setCounting(true);
    // Replacing starts in the replace field once there is something to find.
    QLineEdit* field = withReplace && !m_findField->text().isEmpty() ? m_replaceField : m_findField;
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
    scheduleHighlights();
    updateStatus();
}

void FindBar::close()
{
    hide();
    if (m_editor)
        m_editor->setFocus(Qt::OtherFocusReason);
}

void FindBar::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_replaceRow->hide();
    m_hint.clear();
    setNotFound(false);
    if (m_controller)
        m_controller->setCounting(false);
    if (m_editor)
        showMatches(m_editor, {});
}

void FindBar::findNext()
{
    if (!m_editor)
        return;
    if (m_findField->text().isEmpty()) {
        openFind();
        return;
    }
    search(m_editor->textCursor().selectionEnd(), true, false);
}

void FindBar::findPrevious()
{
    if (!m_editor)
        return;
    if (m_findField->text().isEmpty()) {
        openFind();
        return;
    }
    search(m_editor->textCursor().selectionStart(), false, false);
}

void FindBar::search(int position, bool forward, bool fromTyping)
{
    m_hint.clear();
    if (m_findField->text().isEmpty()) {
        setNotFound(false);
        updateStatus();
        return;
    }
    const FindController::Match match =
        m_controller->find(position, forward ? FindController::Direction::Forward
                                             : FindController::Direction::Backward);
    setNotFound(!match.isValid());
    if (match.isValid()) {
        if (match.wrapped && !fromTyping)
            m_hint = forward ? Localization::tr("Continued from the top")
                             : Localization::tr("Continued from the bottom");
        select(match.start, match.end);
    }
    updateStatus();
}

void FindBar::select(int start, int end)
{
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
    scheduleHighlights();
}

void FindBar::replace()
{
    if (!m_editor || m_findField->text().isEmpty())
        return;
    QTextCursor cursor = m_editor->textCursor();
    if (!m_controller->isMatch(cursor.selectionStart(), cursor.selectionEnd())) {
        findNext();
        return;
    }
    cursor.beginEditBlock();
    cursor.insertText(m_replaceField->text());
    cursor.endEditBlock();
    m_editor->setTextCursor(cursor);
    search(cursor.position(), true, false);
}

void FindBar::replaceAll()
{
    if (!m_editor || m_findField->text().isEmpty())
        return;
    const int count = m_controller->replaceAll(m_replaceField->text());
    setNotFound(count == 0);
    m_hint = count > 0 ? Localization::tr("Replaced: %1").arg(count) : QString();
    updateStatus();
}

void FindBar::setNotFound(bool notFound)
{
    m_notFound = notFound;
    QPalette palette = m_findField->parentWidget()->palette();
    if (notFound)
        palette.setColor(QPalette::Base, mixed(palette.color(QPalette::Base), notFoundTint, 0.25));
    m_findField->setPalette(palette);
    m_findField->setProperty("notFound", notFound);
}

QString FindBar::statusText() const
{
    return m_status->text();
}

void FindBar::updateStatus()
{
    QStringList parts;
    if (!m_hint.isEmpty())
        parts << m_hint;
    if (m_notFound) {
        parts << Localization::tr("Not found");
    } else if (m_controller && m_editor && !m_findField->text().isEmpty()) {
        const int count = m_controller->matchCount();
        const QTextCursor cursor = m_editor->textCursor();
        const int number = m_controller->isMatch(cursor.selectionStart(), cursor.selectionEnd())
                               ? m_controller->matchNumber(cursor.selectionStart())
                               : 0;
        if (number > 0)
            parts << Localization::tr("%1 of %2").arg(number).arg(count);
        else if (count >= 0)
            parts << Localization::tr("Matches: %1").arg(count);
    }
    m_status->setText(parts.join(QStringLiteral("  \u00B7  ")));
}

void FindBar::scheduleHighlights()
{
    if (isVisible())
        m_highlightTimer.start();
}

void FindBar::updateHighlights()
{
    if (!m_editor || !isVisible())
        return;
    // The matches of the blocks on screen.
    const QRect area = m_editor->viewport()->rect();
    const int from = m_editor->cursorForPosition(area.topLeft()).block().position();
    const QTextBlock last = m_editor->cursorForPosition(area.bottomRight()).block();
    const int to = last.position() + last.length();
    const QColor base = m_editor->palette().color(QPalette::Base);
    QTextCharFormat format;
    format.setBackground(mixed(base, matchTint, 0.45));
    QList<QTextEdit::ExtraSelection> selections;
    for (const FindController::Match& match : m_controller->matchesBetween(from, to)) {
        QTextCursor cursor(m_editor->document());
        cursor.setPosition(match.start);
        cursor.setPosition(match.end, QTextCursor::KeepAnchor);
        selections.append({cursor, format});
    }
    showMatches(m_editor, selections);
}

bool FindBar::event(QEvent* event)
{
    // Escape in the bar belongs to the bar: the key comes up from the field or button that has
    // focus, and claiming it here keeps the window's Play/Pause shortcut from seeing it.
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            key->accept();
            if (type == QEvent::KeyPress && !key->isAutoRepeat())
                close();
            return true;
        }
    }
    return QWidget::event(event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == (Qt::ControlModifier | Qt::AltModifier)) {
            if (m_replaceRow->isVisible())
                replaceAll();
            return true;
        }
        if (watched == m_findField) {
            if (key->modifiers().testFlag(Qt::ShiftModifier))
                findPrevious();
            else
                findNext();
            return true;
        }
        if (watched == m_replaceField) {
            replace();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dictaro
