#include "DraftController.h"

#include "AppSettings.h"
#include "DraftMarks.h"
#include "DraftStretchDialog.h"
#include "Drafter.h"
#include "PlaybackEngine.h"
#include "TranscriptEditor.h"
#include "TranscriptHighlighter.h"
#include "TranscriptionSession.h"

namespace dictaro {

DraftController::DraftController(TranscriptionSession& session, TranscriptEditor& editor,
                                 DraftEngine engine, QObject* parent)
    : QObject(parent), m_session(session), m_editor(editor)
{
    m_marks = new DraftMarks(session.store().draftWordsPath(session.project().id), this);
    m_drafter = new Drafter(session, std::move(engine), *m_marks, this);
    m_drafter->keepViewOf(&editor);
    applyChoice();
    editor.highlighter()->setWordMarks(m_marks);

    connect(&AppSettings::shared(), &AppSettings::draftChoiceChanged, this,
            &DraftController::applyChoice);
    PlaybackEngine* player = session.engine();
    connect(player, &PlaybackEngine::currentTimeChanged, this, &DraftController::follow);
    connect(player, &PlaybackEngine::isPlayingChanged, this, &DraftController::follow);
    connect(&editor, &TranscriptEditor::controlClicked, this, [this, player](int position) {
        if (const std::optional<double> time = m_marks->timeAt(m_session.document(), position))
            player->seek(*time);
    });
    // The player outlives the session and goes on to the next one.
    connect(&session, &TranscriptionSession::aboutToClose, this, [this, player] {
        disconnect(player, nullptr, this, nullptr);
        m_following = false;
    });
}

DraftController::~DraftController() = default;

void DraftController::applyChoice()
{
    const AppSettings::DraftChoice choice = AppSettings::draftChoice();
    m_marks->setMarking(choice.markUnsureWords);
    m_following = choice.followAlong;
    follow();
}

void DraftController::follow()
{
    PlaybackEngine* player = m_session.engine();
    std::optional<std::pair<int, int>> range;
    if (m_following && player->isPlaying() && !m_marks->isEmpty())
        range = m_marks->rangeAt(m_session.document(), player->currentTime());
    m_editor.highlighter()->setSpokenRange(range ? range->first : 0, range ? range->second : 0);
}

bool DraftController::makeDraft(QWidget* dialogParent)
{
    if (m_drafter->isRunning() || m_session.isClosed())
        return false;
    PlaybackEngine* player = m_session.engine();
    const double duration = player->duration();
    const DraftPlacement::StretchPlan plan =
        DraftPlacement::planFor(m_session.transcript(), duration);
    DraftPlacement::Stretch stretch = plan.stretch;
    // A stretch marked on the waveform is offered (and chosen at first) whatever the text says.
    std::optional<DraftPlacement::Stretch> marked;
    if (player->isLooping())
        marked = DraftPlacement::Stretch{*player->loopStart(), *player->loopEnd()};
    if (plan.kind == DraftPlacement::StretchKind::Unclear || marked) {
        const std::optional<DraftPlacement::Stretch> chosen =
            DraftStretchDialog::ask(dialogParent, player->currentTime(), duration, marked);
        // The dialog runs an event loop: the project may have closed meanwhile.
        if (!chosen || m_session.isClosed())
            return false;
        stretch = *chosen;
    }
    const AppSettings::DraftChoice choice = AppSettings::draftChoice();
    return m_drafter->start(stretch, choice.modelPath, Drafter::languageFor(choice.language));
}

} // namespace dictaro
