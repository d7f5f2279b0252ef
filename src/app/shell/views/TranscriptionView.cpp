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
#include "MpvBackend.h"
#include "PlaybackEngine.h"
#include "PlaybackLogic.h"
#include "PlayerBarView.h"
#include "ProgressText.h"
#include "SpeakerLabels.h"
#include "SpeakerLines.h"
#include "SpeakersSheet.h"
#include "SpellChecker.h"
#include "StampIndex.h"
#include "TimestampFormatter.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "TranscriptionSession.h"
#include "VideoSurface.h"
#include "WaveformStrip.h"
#include "WelcomeView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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

#include <memory>
#include <optional>

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
    // Called for every position while playing: the text is made only when the share changes.
    const auto showShare = [share, engine,
                            shown = std::make_shared<std::optional<std::optional<int>>>()] {
        const std::optional<int> percent =
            PlaybackLogic::percentOf(engine->currentTime(), engine->duration());
        if (*shown == percent)
            return;
        *shown = percent;
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
    // A video's picture above the text, the split between them the user's to move.
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("videoSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_videoPane = new QWidget(m_splitter);
    m_videoPane->setObjectName(QStringLiteral("videoPane"));
    m_videoPane->setAutoFillBackground(true);
    QPalette black = m_videoPane->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_videoPane->setPalette(black);
    auto* paneLayout = new QVBoxLayout(m_videoPane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    m_videoPane->hide();
    m_splitter->addWidget(m_videoPane);
    m_splitter->addWidget(m_editor);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({240, 360});
    m_splitter->restoreState(AppSettings::videoSplit());
    connect(m_splitter, &QSplitter::splitterMoved, this,
            [this] { AppSettings::setVideoSplit(m_splitter->saveState()); });
    column->addWidget(m_splitter, 1);
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
    connect(engine, &PlaybackEngine::hasVideoChanged, this, &TranscriptionView::arrangeVideo);
    connect(&AppSettings::shared(), &AppSettings::showVideoChanged, this,
            &TranscriptionView::arrangeVideo);
    connect(&AppSettings::shared(), &AppSettings::videoDetachedChanged, this,
            &TranscriptionView::arrangeVideo);
    arrangeVideo();
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
    // The surface frees its render context while its window is still there.
    delete m_videoSurface;
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
    const auto found = direction > 0 ? m_stamps->next(position) : m_stamps->previous(position);
    if (!found)
        return;
    cursor.setPosition(found->end);
    m_editor->setTextCursor(cursor);
    m_session.engine()->seek(found->seconds);
}

void TranscriptionView::playFromTimestamp()
{
    const auto found = m_stamps->atOrBefore(m_editor->textCursor().position());
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

// Where the picture shows: nowhere for a recording without video or while "Show Video" is off
// (no surface then, so nothing is decoded), above the text, or in a window of its own. Without
// OpenGL the pane stays black.
void TranscriptionView::arrangeVideo()
{
    const AppSettings& settings = AppSettings::shared();
    const bool show = m_session.engine()->hasVideo() && settings.showVideo();
    const bool detached = show && settings.videoDetached();
    if (!show)
        delete m_videoSurface;
    if (detached && !m_videoWindow) {
        m_videoWindow = new QWidget(this, Qt::Window);
        m_videoWindow->setObjectName(QStringLiteral("videoWindow"));
        m_videoWindow->setWindowTitle(Localization::tr("%1 — Video").arg(m_session.project().name));
        auto* layout = new QVBoxLayout(m_videoWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        if (!m_videoWindow->restoreGeometry(AppSettings::videoWindowGeometry()))
            m_videoWindow->resize(640, 360);
        m_videoWindow->installEventFilter(this);
    }
    if (detached && m_videoPane->parentWidget() != m_videoWindow) {
        m_videoWindow->layout()->addWidget(m_videoPane);
    } else if (!detached && m_videoPane->parentWidget() != m_splitter) {
        m_splitter->insertWidget(0, m_videoPane);
        m_splitter->restoreState(AppSettings::videoSplit());
    }
    m_videoPane->setVisible(show);
    if (m_videoWindow && !detached && m_videoWindow->isVisible()) {
        AppSettings::setVideoWindowGeometry(m_videoWindow->saveGeometry());
        m_videoWindow->hide();
    }
    auto* mpv = qobject_cast<MpvBackend*>(m_session.engine()->backend());
    if (show && !m_videoSurface && mpv && VideoSurface::isAvailable()) {
        m_videoSurface = new VideoSurface(*mpv, m_videoPane);
        m_videoPane->layout()->addWidget(m_videoSurface);
    }
    if (detached)
        m_videoWindow->show();
}

// Closing the picture's own window puts it back above the text.
bool TranscriptionView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_videoWindow && event->type() == QEvent::Close) {
        AppSettings::setVideoWindowGeometry(m_videoWindow->saveGeometry());
        AppSettings::shared().setVideoDetached(false);
    }
    return QWidget::eventFilter(watched, event);
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
