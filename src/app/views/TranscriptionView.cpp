#include "TranscriptionView.h"

#include "AppState.h"
#include "Appearance.h"
#include "EditCommands.h"
#include "ExportSheet.h"
#include "FindBar.h"
#include "Icons.h"
#include "Localization.h"
#include "PlaybackCommands.h"
#include "PlaybackEngine.h"
#include "PlayerBarView.h"
#include "ShortcutHandler.h"
#include "TranscriptEditor.h"
#include "TranscriptEditorController.h"
#include "TranscriptionSession.h"
#include "ViewEnvironment.h"
#include "WelcomeView.h"

#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace dictaro {

namespace {

TranscriptionView::LocateFileDialog& locateFileDialogOverride()
{
    static TranscriptionView::LocateFileDialog dialog;
    return dialog;
}

QString askForAudioFile(QWidget* parent)
{
    if (const auto& override = locateFileDialogOverride())
        return override(parent);
    // The same audio types as the welcome view's open dialog.
    return QFileDialog::getOpenFileName(parent, QString(), QDir::homePath(),
                                        WelcomeView::audioNameFilter(), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

// A one-line label that shortens its text with an ellipsis instead of widening the window.
class ElidedLabel final : public QLabel
{
public:
    explicit ElidedLabel(QWidget* parent) : QLabel(parent)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    void setFullText(const QString& text)
    {
        m_fullText = text;
        setToolTip(text);
        updateGeometry();
        elide();
    }
    QString fullText() const { return m_fullText; }

    QSize sizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(m_fullText) + 2, QLabel::sizeHint().height()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }
    void changeEvent(QEvent* event) override
    {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::FontChange)
            elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(m_fullText, Qt::ElideRight, width())); }

    QString m_fullText;
};

// A status message across the full width, over its colour at 15 % opacity, with an optional
// button at the end.
class Banner final : public QWidget
{
public:
    Banner(const QString& objectName, const QColor& color, QWidget* parent)
        : QWidget(parent), m_color(color)
    {
        setObjectName(objectName);
        m_message = new QLabel(this);
        m_message->setWordWrap(true);
        m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_message->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        m_row = new QHBoxLayout(this);
        // The message lines up with the text of the editor below.
        m_row->setContentsMargins(16, 8, 12, 8);
        m_row->addWidget(m_message, 1);
        hide();
    }

    QPushButton* addButton(const QString& text, const QString& objectName)
    {
        auto* button = new QPushButton(text, this);
        button->setObjectName(objectName);
        button->setCursor(Qt::PointingHandCursor);
        m_row->addWidget(button);
        return button;
    }

    // Shows `message`, or hides the banner for an absent one.
    void showMessage(const std::optional<QString>& message)
    {
        if (message)
            m_message->setText(*message);
        setVisible(message.has_value());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QColor fill = m_color;
        fill.setAlphaF(0.15f);
        painter.fillRect(rect(), fill);
    }

private:
    QColor m_color;
    QLabel* m_message = nullptr;
    QHBoxLayout* m_row = nullptr;
};

const QColor bannerOrange(255, 149, 0);
const QColor bannerRed(255, 59, 48);

QFrame* makeDivider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

} // namespace

// The working screen of one open session.
class SessionView final : public QWidget
{
public:
    SessionView(AppState* appState, TranscriptionSession* session, QWidget* parent);
    ~SessionView() override;

    TranscriptionSession* session() const { return m_session.data(); }
    // The screen goes away: Escape is no longer taken and the project is closed (and saved).
    // Only the first call does anything.
    void leave();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void appear();
    void locateFile();
    void followExportPresented(bool presented);
    void closeExportSheet();

    QPointer<AppState> m_appState;
    QPointer<TranscriptionSession> m_session;
    ShortcutHandler m_shortcutHandler;
    QPointer<ExportSheet> m_exportSheet;
    TranscriptEditor* m_editor = nullptr;
    FindBar* m_findBar = nullptr;
    bool m_started = false;
    bool m_left = false;
};

SessionView::SessionView(AppState* appState, TranscriptionSession* session, QWidget* parent)
    : QWidget(parent), m_appState(appState), m_session(session), m_shortcutHandler(this)
{
    PlaybackEngine* engine = session->engine();

    // Header: back, the project's name, insert timestamp.
    auto* backButton = new QToolButton(this);
    backButton->setObjectName(QStringLiteral("backButton"));
    backButton->setText(Localization::tr("Back"));
    backButton->setIcon(Icons::get(QStringLiteral("back")));
    backButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    backButton->setAutoRaise(true);

    auto* nameLabel = new ElidedLabel(this);
    nameLabel->setObjectName(QStringLiteral("projectNameLabel"));
    Appearance::setTextStyle(nameLabel, Appearance::TextStyle::Headline);
    nameLabel->setAlignment(Qt::AlignCenter);
    nameLabel->setFullText(session->project().name);

    auto* insertButton = new QToolButton(this);
    insertButton->setObjectName(QStringLiteral("insertTimestampButton"));
    insertButton->setText(Localization::tr("Insert Timestamp"));
    insertButton->setIcon(Icons::get(QStringLiteral("insert-timestamp")));
    insertButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    insertButton->setAutoRaise(true);
    insertButton->setToolTip(
        Localization::tr("Insert Timestamp (%1)")
            .arg(QKeySequence(Qt::CTRL | Qt::Key_J).toString(QKeySequence::NativeText)));

    auto* header = new QHBoxLayout;
    header->setContentsMargins(12, 12, 12, 12);
    header->addWidget(backButton);
    header->addWidget(nameLabel, 1);
    header->addWidget(insertButton);

    auto* playerBar = new PlayerBarView(engine, this);

    auto* missingBanner = new Banner(QStringLiteral("mediaMissingBanner"), bannerOrange, this);
    QPushButton* locateButton = missingBanner->addButton(Localization::tr("Locate File\u2026"),
                                                         QStringLiteral("locateFileButton"));
    auto* loadErrorBanner = new Banner(QStringLiteral("loadErrorBanner"), bannerRed, this);
    auto* saveErrorBanner = new Banner(QStringLiteral("saveErrorBanner"), bannerOrange, this);

    m_editor = new TranscriptEditor(session->editorController(), this);
    m_editor->setFrameShape(QFrame::NoFrame);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(header);
    column->addWidget(makeDivider(this));
    column->addWidget(playerBar);
    column->addWidget(missingBanner);
    column->addWidget(loadErrorBanner);
    column->addWidget(saveErrorBanner);
    column->addWidget(makeDivider(this));
    column->addWidget(m_editor, 1);
    m_findBar = new FindBar(this);
    column->addWidget(m_findBar);

    connect(backButton, &QToolButton::clicked, this, [this] {
        if (m_appState)
            m_appState->closeProject();
    });
    connect(insertButton, &QToolButton::clicked, session, &TranscriptionSession::insertTimestamp);
    connect(locateButton, &QPushButton::clicked, this, &SessionView::locateFile);
    // The engine limits a time beyond the end of the audio to its end.
    connect(m_editor, &TranscriptEditor::timestampClicked, engine, &PlaybackEngine::seek);

    const QString missingMessage =
        Localization::tr("Audio file not found. It may have been moved or deleted.");
    auto showMissing = [missingBanner, missingMessage](bool missing) {
        missingBanner->showMessage(missing ? std::optional<QString>(missingMessage) : std::nullopt);
    };
    showMissing(session->mediaMissing());
    loadErrorBanner->showMessage(engine->loadError());
    saveErrorBanner->showMessage(session->saveError());
    connect(session, &TranscriptionSession::mediaMissingChanged, this, showMissing);
    connect(engine, &PlaybackEngine::loadErrorChanged, loadErrorBanner, &Banner::showMessage);
    connect(session, &TranscriptionSession::saveErrorChanged, saveErrorBanner,
            &Banner::showMessage);
    connect(appState, &AppState::isExportPresentedChanged, this,
            &SessionView::followExportPresented);
}

SessionView::~SessionView()
{
    if (m_appState)
        disconnect(m_appState, nullptr, this, nullptr);
    m_shortcutHandler.remove();
    closeExportSheet();
}

void SessionView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    appear();
}

void SessionView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A minimised window hides its widgets too (spontaneously); that is no leaving.
    if (!event->spontaneous())
        leave();
}

void SessionView::appear()
{
    if (m_left || !m_session)
        return;
    if (!m_shortcutHandler.isInstalled()) {
        m_shortcutHandler.install([session = m_session] {
            if (!session)
                return false;
            PlaybackCommands::togglePlayPause(*session->engine());
            return true;
        });
    }
    if (!m_started) {
        m_started = true;
        m_session->start();
        if (auto* commands = window()->findChild<EditCommands*>())
            commands->setEditor(m_editor, m_findBar);
        m_editor->setFocus();
        if (m_appState && m_appState->isExportPresented())
            followExportPresented(true);
    }
}

void SessionView::leave()
{
    if (m_left || !m_started)
        return;
    m_left = true;
    m_shortcutHandler.remove();
    if (auto* commands = window()->findChild<EditCommands*>();
        commands && commands->editor() == m_editor)
        commands->setEditor(nullptr, nullptr);
    closeExportSheet();
    if (!m_appState)
        return;
    // Closing while another project is already current would close that one instead.
    TranscriptionSession* current = m_appState->currentSession();
    if (current && current != m_session)
        return;
    // If the final save fails, the session stays open with its save error, and this screen
    // with it: shown again, it takes Escape again.
    if (!m_appState->closeProject())
        m_left = false;
}

void SessionView::locateFile()
{
    const QString path = askForAudioFile(window());
    if (path.isEmpty() || !m_session || m_session->isClosed())
        return;
    // Saves the new reference and starts the session again, which clears or raises the
    // missing-file banner.
    m_session->relocateMedia(path);
}

void SessionView::followExportPresented(bool presented)
{
    if (!presented) {
        closeExportSheet();
        return;
    }
    if (m_exportSheet || !m_started || m_left)
        return;
    // A new sheet each time, in its default state.
    auto* sheet = new ExportSheet(this);
    m_exportSheet = sheet;
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        if (m_exportSheet == sheet)
            m_exportSheet = nullptr;
        sheet->deleteLater();
    });
    sheet->open();
}

void SessionView::closeExportSheet()
{
    // Closing resets the application state's flag (ExportSheet::done).
    if (m_exportSheet && m_exportSheet->isVisible())
        m_exportSheet->reject();
}

// --- TranscriptionView ----------------------------------------------------------------------

TranscriptionView::TranscriptionView(QWidget* parent) : QWidget(parent)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    attachToAppState();
}

TranscriptionView::~TranscriptionView()
{
    // The screen goes away with the view; nothing may call back into this half-destroyed view.
    if (m_appState)
        disconnect(m_appState, nullptr, this, nullptr);
    if (m_sessionView) {
        m_sessionView->leave();
        delete m_sessionView;
    }
}

void TranscriptionView::setLocateFileDialogForTesting(LocateFileDialog dialog)
{
    locateFileDialogOverride() = std::move(dialog);
}

bool TranscriptionView::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        attachToAppState();
    return QWidget::event(event);
}

void TranscriptionView::attachToAppState()
{
    if (m_appState)
        return;
    m_appState = ViewEnvironment::appState(this);
    if (!m_appState)
        return;
    connect(m_appState, &AppState::currentSessionChanged, this, &TranscriptionView::showSession);
    showSession(m_appState->currentSession());
}

void TranscriptionView::showSession(TranscriptionSession* session)
{
    if (m_sessionView && m_sessionView->session() == session)
        return;
    if (SessionView* old = m_sessionView) {
        m_sessionView = nullptr;
        // This may run inside a click on the old screen's own Back button.
        old->hide();
        old->deleteLater();
    }
    if (!session)
        return;
    m_sessionView = new SessionView(m_appState, session, this);
    m_layout->addWidget(m_sessionView);
    m_sessionView->show();
}

} // namespace dictaro
