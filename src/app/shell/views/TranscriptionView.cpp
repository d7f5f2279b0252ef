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
#include "GoToTimeDialog.h"
#include "Icons.h"
#include "Localization.h"
#include "MediaReference.h"
#include "PlaybackEngine.h"
#include "PlayerBarView.h"
#include "ProgressText.h"
#include "SpellChecker.h"
#include "TimestampNavigation.h"
#include "StampIndex.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "TranscriptionSession.h"
#include "WaveformStrip.h"
#include "WelcomeView.h"

#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
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

// The status area: the transcript's words, and how far into the recording playback is.
QHBoxLayout* makeStatusRow(TranscriptionSession& session)
{
    auto* words = new QLabel;
    words->setObjectName(QStringLiteral("wordCountLabel"));
    auto* share = new QLabel;
    share->setObjectName(QStringLiteral("progressLabel"));
    for (QLabel* label : {words, share}) {
        Appearance::setTextStyle(label, Appearance::TextStyle::Caption);
        label->setForegroundRole(QPalette::PlaceholderText);
    }
    const auto showWords = [words](qsizetype count) { words->setText(ProgressText::words(count)); };
    showWords(session.wordCount());
    QObject::connect(&session, &TranscriptionSession::wordCountChanged, words, showWords);
    PlaybackEngine* engine = session.engine();
    const auto showShare = [share, engine] {
        share->setText(ProgressText::share(engine->currentTime(), engine->duration()));
    };
    showShare();
    QObject::connect(engine, &PlaybackEngine::currentTimeChanged, share, showShare);
    QObject::connect(engine, &PlaybackEngine::durationChanged, share, showShare);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 4, 12, 4);
    row->addWidget(words);
    row->addStretch(1);
    row->addWidget(share);
    return row;
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
    auto* outputErrorBanner = new Banner(QStringLiteral("outputErrorBanner"), Banner::orange, this);

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
    column->addWidget(outputErrorBanner);
    column->addWidget(makeDivider(this));
    column->addWidget(m_editor, 1);
    m_findBar = new FindBar(this);
    column->addWidget(m_findBar);
    column->addWidget(makeDivider(this));
    column->addLayout(makeStatusRow(session));

    // Back may fail to close (the final save failed); the screen then stays as it is.
    connect(backButton, &QToolButton::clicked, &m_state, [this] { m_state.closeProject(); });
    connect(locateButton, &QPushButton::clicked, this, &TranscriptionView::locateFile);
    // The engine limits a time beyond the end of the audio to its end.
    connect(m_editor, &TranscriptEditor::timestampClicked, engine, &PlaybackEngine::seek);
    // While playing, the line of the playhead is shaded for proofreading.
    m_stamps = new StampIndex(session.document(), this);
    connect(engine, &PlaybackEngine::currentTimeChanged, this, &TranscriptionView::showPlayingLine);
    connect(engine, &PlaybackEngine::isPlayingChanged, this, &TranscriptionView::showPlayingLine);
    // The player outlives the session and goes on to the next one.
    connect(&session, &TranscriptionSession::aboutToClose, this,
            [this, engine] { disconnect(engine, nullptr, this, nullptr); });

    const QString missingMessage =
        Localization::tr("Audio file not found. It may have been moved or deleted.");
    auto showMissing = [missingBanner, missingMessage](bool missing) {
        missingBanner->showMessage(missing ? std::optional<QString>(missingMessage) : std::nullopt);
    };
    showMissing(session.mediaMissing());
    loadErrorBanner->showMessage(engine->loadError());
    saveErrorBanner->showMessage(session.saveError());
    playbackErrorBanner->showMessage(engine->playbackError());
    outputErrorBanner->showMessage(engine->outputError());
    connect(engine, &PlaybackEngine::outputErrorChanged, outputErrorBanner, &Banner::showMessage);
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

    restoreTextPlace();
    connect(&session, &TranscriptionSession::aboutToClose, this, &TranscriptionView::keepTextPlace);
}

void TranscriptionView::restoreTextPlace()
{
    // A project opened for the first time continues at the end of its text. The text may have
    // changed elsewhere since, so a kept place is limited to the text as it is.
    const int end = m_editor->document()->characterCount() - 1;
    const std::optional<AppSettings::TextPlace> kept =
        AppSettings::textPlace(m_session.project().id);
    QTextCursor caret(m_editor->document());
    caret.setPosition(kept ? std::min(kept->caret, end) : end);
    m_editor->setTextCursor(caret);
    if (!kept)
        return;
    // The line of the first character on screen goes to the top; the scroll bar counts lines.
    const QTextBlock top = m_editor->document()->findBlock(std::min(kept->top, end));
    m_editor->verticalScrollBar()->setValue(top.firstLineNumber());
}

void TranscriptionView::keepTextPlace()
{
    AppSettings::setTextPlace(
        m_session.project().id,
        {m_editor->textCursor().position(), m_editor->cursorForPosition(QPoint(0, 0)).position()});
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

void TranscriptionView::goToTime()
{
    GoToTimeDialog::open(this, *m_session.engine());
}

void TranscriptionView::moveToTimestamp(int direction)
{
    QTextCursor cursor = m_editor->textCursor();
    const int position = cursor.position();
    const QTextDocument& document = *m_session.document();
    const auto found = direction > 0 ? TimestampNavigation::next(document, position)
                                     : TimestampNavigation::previous(document, position);
    if (!found)
        return;
    cursor.setPosition(found->end);
    m_editor->setTextCursor(cursor);
    m_session.engine()->seek(found->seconds);
}

void TranscriptionView::playFromTimestamp()
{
    const auto found =
        TimestampNavigation::atOrBefore(*m_session.document(), m_editor->textCursor().position());
    PlaybackEngine* engine = m_session.engine();
    // Before the first timestamp the text is about the start of the recording.
    engine->seek(found ? found->seconds : 0.0);
    engine->play();
}

void TranscriptionView::showPlayingLine()
{
    const PlaybackEngine* engine = m_session.engine();
    const std::optional<std::pair<int, int>> line =
        engine->isPlaying() ? m_stamps->lineAt(engine->currentTime()) : std::nullopt;
    if (line == m_playingLine)
        return;
    m_playingLine = line;
    QList<QTextEdit::ExtraSelection> marks;
    if (line) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_session.document());
        mark.cursor.setPosition(line->first);
        mark.cursor.setPosition(line->second, QTextCursor::KeepAnchor);
        QColor shade = m_editor->palette().color(QPalette::Highlight);
        shade.setAlphaF(0.14f);
        mark.format.setBackground(shade);
        marks.append(mark);
    }
    m_editor->setMarks(TranscriptEditor::Marks::PlayingLine, marks);
}

void TranscriptionView::goToPlayingLine()
{
    const std::optional<std::pair<int, int>> line =
        m_stamps->lineAt(m_session.engine()->currentTime());
    if (!line)
        return;
    QTextCursor cursor(m_session.document());
    cursor.setPosition(line->first);
    m_editor->setTextCursor(cursor);
    m_editor->centerCursor();
    m_editor->setFocus();
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
