#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace dictaro {

class AppState;

// File ▸ Import Transcript…: asks for a transcript file (subtitles, text or Markdown) and reads
// it. On the welcome screen it then asks for the recording and makes a new project of both; in a
// project it replaces an empty transcript, or asks whether to append or replace, as one step to
// undo. What can't be read is said, and nothing changes.
namespace ImportFlow {

void run(QWidget* window, AppState& state);

// The questions the flow asks, replaceable in tests.
struct Dialogs
{
    enum class Choice { Append, Replace, Cancel };
    std::function<QString(QWidget*)> chooseTranscript; // a path, or empty to stop
    std::function<QString(QWidget*)> chooseAudio;      // a path, or empty to stop
    std::function<Choice(QWidget*)> appendOrReplace;
    std::function<void(QWidget*, const QString& reason)> showError;
};

// FOR TESTS ONLY: replaces the dialogs (default-constructed: the real ones again).
void setDialogsForTesting(Dialogs dialogs);

} // namespace ImportFlow
} // namespace dictaro
