#pragma once

#include "DraftEngine.h"

#include <QObject>

class QWidget;

namespace dictaro {

class DraftMarks;
class Drafter;
class TranscriptEditor;
class TranscriptionSession;

// The machine draft of one open project on its screen: makes a draft of the stretch the
// transcript calls for (asking when that is unclear), marks the drafted words it was unsure of,
// highlights the drafted word being spoken while the audio plays, and seeks to a drafted word
// on Ctrl+click. Follows the user's draft choices as they change.
class DraftController : public QObject
{
    Q_OBJECT

public:
    DraftController(TranscriptionSession& session, TranscriptEditor& editor, DraftEngine engine,
                    QObject* parent = nullptr);
    ~DraftController() override;

    Drafter& drafter() const { return *m_drafter; }
    DraftMarks& marks() const { return *m_marks; }

    // Starts a draft of the stretch after the text (the whole recording for an empty one),
    // asking over `dialogParent` when the text does not say or the player's loop marks a
    // stretch. False when none started.
    bool makeDraft(QWidget* dialogParent);

private:
    void applyChoice();
    void follow();

    TranscriptionSession& m_session;
    TranscriptEditor& m_editor;
    DraftMarks* m_marks = nullptr;
    Drafter* m_drafter = nullptr;
    bool m_following = true;
};

} // namespace dictaro
