#include "TranscriptionView.h"

#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "Appearance.h"
#include "Banner.h"
#include "DialogFolders.h"
#include "DraftBar.h"
#include "DraftController.h"
#include "DraftEngine.h"
#include "ElidedLabel.h"
#include "ExportSheet.h"
#include "FindBar.h"
#include "Icons.h"
#include "Localization.h"
#include "MediaReference.h"
#include "PlaybackEngine.h"
#include "PlayerBarView.h"
#include "SpeakerLabels.h"
#include "SpeakerLines.h"
#include "SpeakersSheet.h"
#include "SpellChecker.h"
#include "TimestampFormatter.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "TranscriptionSession.h"
#include "WaveformStrip.h"
#include "WelcomeView.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace dictaro {

namespace {

TranscriptionView::LocateFileDialog& locateFileDialogOverride()
{
    static TranscriptionView::LocateFileDialog dialog;
    return dialog;
}

QString askForAudioFile(QWidget* parent, const QString& lastKnownPath)
{
    if (const auto& override = locateFileDialogOverride())
        return override(parent);
    // The same audio types as the welcome view's open dialog.
    return QFileDialog::getOpenFileName(
        parent, QString(), DialogFolders::locateFolder(lastKnownPath),
        WelcomeView::audioNameFilter(), nullptr, QFileDialog::HideNameFilterDetails);
}

QFrame* makeDivider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

} // namespace

TranscriptionView::TranscriptionView(AppState& state, AppActions& actions,
                                     TranscriptionSession& session, QWidget* parent)
    : QWidget(parent), m_state(state), m_session(session)
{
    PlaybackEngine* engine = session.engine();

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
    nameLabel->setFullText(session.project().name);

    auto* insertButton = new QToolButton(this);
    insertButton->setObjectName(QStringLiteral("insertTimestampButton"));
    insertButton->setDefaultAction(actions.action(AppActions::Command::InsertTimestamp));
    insertButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    insertButton->setAutoRaise(true);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(12, 12, 12, 12);
    header->addWidget(backButton);
    header->addWidget(nameLabel, 1);
    header->addWidget(insertButton);

    auto* playerBar = new PlayerBarView(*engine, actions, this);

    auto* missingBanner = new Banner(QStringLiteral("mediaMissingBanner"), Banner::orange, this);
    QPushButton* locateButton = missingBanner->addButton(Localization::tr("Locate File\u2026"),
                                                         QStringLiteral("locateFileButton"));
    auto* loadErrorBanner = new Banner(QStringLiteral("loadErrorBanner"), Banner::red, this);
    auto* saveErrorBanner = new Banner(QStringLiteral("saveErrorBanner"), Banner::orange, this);
    auto* wordListBanner = new Banner(QStringLiteral("wordListErrorBanner"), Banner::orange, this);
    QPushButton* wordListDismiss = wordListBanner->addButton(
        Localization::tr("OK"), QStringLiteral("dismissWordListErrorButton"));
    auto* playbackErrorBanner =
        new Banner(QStringLiteral("playbackErrorBanner"), Banner::orange, this);

    m_editor = new TranscriptEditor(session.document(), this);
    m_editor->setObjectName(QStringLiteral("transcriptEditor"));
    m_editor->setAccessibleName(Localization::tr("Transcript"));
    m_editor->setAccessibleDescription(
        Localization::tr("The text you type. Escape plays and pauses the recording."));
    m_editor->setFrameShape(QFrame::NoFrame);
    Appearance::followTranscriptZoom(m_editor);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(header);
    column->addWidget(makeDivider(this));
    column->addWidget(playerBar);
    m_draft = new DraftController(session, *m_editor, currentDraftEngine(), this);
    column->addWidget(new DraftBar(m_draft->drafter(), this));
    column->addWidget(new WaveformStrip(engine, session.waveform(), session.document(), this));
    column->addWidget(missingBanner);
    column->addWidget(loadErrorBanner);
    column->addWidget(saveErrorBanner);
    column->addWidget(wordListBanner);
    column->addWidget(playbackErrorBanner);
    column->addWidget(makeDivider(this));
    column->addWidget(m_editor, 1);
    m_findBar = new FindBar(this);
    column->addWidget(m_findBar);

    // Back may fail to close (the final save failed); the screen then stays as it is.
    connect(backButton, &QToolButton::clicked, &m_state, [this] { m_state.closeProject(); });
    connect(locateButton, &QPushButton::clicked, this, &TranscriptionView::locateFile);
    // The engine limits a time beyond the end of the audio to its end.
    connect(m_editor, &TranscriptEditor::timestampClicked, engine, &PlaybackEngine::seek);
    m_editor->setSpeakers(session.speakers());
    connect(&session, &TranscriptionSession::speakersChanged, m_editor,
            &TranscriptEditor::setSpeakers);

    const QString missingMessage =
        Localization::tr("Audio file not found. It may have been moved or deleted.");
    auto showMissing = [missingBanner, missingMessage](bool missing) {
        missingBanner->showMessage(missing ? std::optional<QString>(missingMessage) : std::nullopt);
    };
    showMissing(session.mediaMissing());
    loadErrorBanner->showMessage(engine->loadError());
    saveErrorBanner->showMessage(session.saveError());
    playbackErrorBanner->showMessage(engine->playbackError());
    connect(&session, &TranscriptionSession::mediaMissingChanged, this, showMissing);
    connect(engine, &PlaybackEngine::loadErrorChanged, loadErrorBanner, &Banner::showMessage);
    connect(engine, &PlaybackEngine::playbackErrorChanged, playbackErrorBanner,
            &Banner::showMessage);
    connect(&session, &TranscriptionSession::saveErrorChanged, saveErrorBanner,
            &Banner::showMessage);
    // The editor gets its spell checker from the Edit commands once the screen is shown.
    const auto followSpelling = [wordListBanner, wordListDismiss](SpellChecker* checker) {
        if (!checker)
            return;
        wordListBanner->showMessage(checker->wordListError());
        connect(checker, &SpellChecker::wordListErrorChanged, wordListBanner, &Banner::showMessage,
                Qt::UniqueConnection);
        connect(wordListDismiss, &QPushButton::clicked, checker,
                &SpellChecker::dismissWordListError, Qt::UniqueConnection);
    };
    followSpelling(m_editor->highlighter()->spellChecker());
    connect(m_editor->highlighter(), &TranscriptHighlighter::spellCheckerChanged, this,
            followSpelling);
    connect(&m_state, &AppState::isExportPresentedChanged, this,
            &TranscriptionView::followExportPresented);
    followExportPresented(m_state.isExportPresented());
    setFocusProxy(m_editor);
}

TranscriptionView::~TranscriptionView()
{
    // Closing resets the application state's flag (ExportSheet::done).
    if (m_exportSheet)
        m_exportSheet->reject();
}

void TranscriptionView::setLocateFileDialogForTesting(LocateFileDialog dialog)
{
    locateFileDialogOverride() = std::move(dialog);
}

void TranscriptionView::insertTimestamp()
{
    QTextCursor cursor = m_editor->textCursor();
    m_session.insertTimestamp(cursor);
    m_editor->setTextCursor(cursor);
}

void TranscriptionView::startSpeakerLine(int slot)
{
    const QStringList speakers = m_session.speakers();
    if (slot < 1 || slot > speakers.size()) {
        QApplication::beep();
        return;
    }
    startLineFor(speakers.at(slot - 1));
}

void TranscriptionView::switchSpeaker()
{
    const QString other = SpeakerLines::otherSpeaker(m_editor->textCursor(), m_session.speakers());
    if (other.isEmpty()) {
        QApplication::beep();
        return;
    }
    startLineFor(other);
}

void TranscriptionView::startLineFor(const QString& name)
{
    QString start = SpeakerLabels::label(name);
    if (AppSettings::shared().stampSpeakerLines())
        start.prepend(TimestampFormatter::stringFromSeconds(m_session.engine()->currentTime()) +
                      u' ');
    QTextCursor cursor = m_editor->textCursor();
    SpeakerLines::startLine(cursor, start);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
}

void TranscriptionView::editSpeakers()
{
    auto* sheet = new SpeakersSheet(m_session.speakers(), window());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::accepted, this,
            [this, sheet] { m_session.renameSpeakers(sheet->renames(), sheet->speakers()); });
    sheet->open();
}

void TranscriptionView::makeDraft()
{
    m_draft->makeDraft(window());
}

void TranscriptionView::locateFile()
{
    const QPointer<TranscriptionView> self(this);
    const std::optional<MediaReference> missing =
        m_session.project().mediaBookmark
            ? MediaReference::decode(*m_session.project().mediaBookmark)
            : std::nullopt;
    const QString path = askForAudioFile(window(), missing ? missing->path : QString());
    // The dialog runs its own event loop: the screen may be gone when it returns.
    if (path.isEmpty() || !self || m_session.isClosed())
        return;
    // Saves the new reference and starts the session again, which clears or raises the
    // missing-file banner.
    m_session.relocateMedia(path);
}

void TranscriptionView::followExportPresented(bool presented)
{
    if (!presented) {
        if (m_exportSheet && m_exportSheet->isVisible())
            m_exportSheet->reject();
        return;
    }
    if (m_exportSheet)
        return;
    // A new sheet each time; it starts with the user's last choice.
    auto* sheet = new ExportSheet(m_state, this);
    m_exportSheet = sheet;
    connect(sheet, &QDialog::finished, sheet, &QObject::deleteLater);
    sheet->open();
}

} // namespace dictaro
