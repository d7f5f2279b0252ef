#include "ImportFlow.h"

#include "AppState.h"
#include "DialogFolders.h"
#include "Localization.h"
#include "TranscriptFile.h"
#include "TranscriptionSession.h"
#include "WelcomeView.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace dictaro::ImportFlow {

namespace {

Dialogs& testDialogs()
{
    static Dialogs dialogs;
    return dialogs;
}

QString chooseTranscript(QWidget* window)
{
    if (testDialogs().chooseTranscript)
        return testDialogs().chooseTranscript(window);
    const QString filter = Localization::tr("Transcripts and subtitles (%1)")
                               .arg(QStringLiteral("*.srt *.vtt *.txt *.md"));
    const QString path = QFileDialog::getOpenFileName(
        window, Localization::tr("Import Transcript"), DialogFolders::openFolder(),
        filter + QStringLiteral(";;") + Localization::tr("All files (*)"));
    if (!path.isEmpty())
        DialogFolders::rememberOpenedFile(path);
    return path;
}

QString chooseAudio(QWidget* window)
{
    if (testDialogs().chooseAudio)
        return testDialogs().chooseAudio(window);
    const QString path = QFileDialog::getOpenFileName(
        window, Localization::tr("Choose the Recording of This Transcript"),
        DialogFolders::openFolder(), WelcomeView::audioNameFilter(), nullptr,
        QFileDialog::HideNameFilterDetails);
    if (!path.isEmpty())
        DialogFolders::rememberOpenedFile(path);
    return path;
}

Dialogs::Choice appendOrReplace(QWidget* window)
{
    if (testDialogs().appendOrReplace)
        return testDialogs().appendOrReplace(window);
    QMessageBox box(QMessageBox::Question, Localization::tr("Import Transcript"),
                    Localization::tr("This project already has a transcript."),
                    QMessageBox::NoButton, window);
    box.setInformativeText(Localization::tr("Add the imported text after it, or replace it? "
                                            "Either can be undone."));
    QPushButton* append = box.addButton(Localization::tr("Append"), QMessageBox::AcceptRole);
    QPushButton* replace = box.addButton(Localization::tr("Replace"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(append);
    box.exec();
    if (box.clickedButton() == append)
        return Dialogs::Choice::Append;
    if (box.clickedButton() == replace)
        return Dialogs::Choice::Replace;
    return Dialogs::Choice::Cancel;
}

void showError(QWidget* window, const QString& reason)
{
    if (testDialogs().showError)
        return testDialogs().showError(window, reason);
    QMessageBox box(QMessageBox::Warning, Localization::tr("Import Transcript"),
                    Localization::tr("This transcript can't be imported."), QMessageBox::Ok,
                    window);
    box.setInformativeText(reason);
    box.exec();
}

} // namespace

void run(QWidget* window, AppState& state)
{
    // Dialogs run event loops of their own: the state's session may change meanwhile.
    const QPointer<AppState> alive(&state);
    const QString path = chooseTranscript(window);
    if (path.isEmpty() || !alive)
        return;
    const TranscriptFile file = TranscriptFile::read(path);
    if (file.error) {
        showError(window, *file.error);
        return;
    }
    TranscriptionSession* session = state.currentSession();
    if (!session) {
        const QString audio = chooseAudio(window);
        if (!audio.isEmpty() && alive)
            state.openAudioFile(audio, file.transcript);
        return;
    }
    if (session->transcript().isEmpty()) {
        session->replaceTranscriptAsEdit(file.transcript);
        return;
    }
    const QPointer<TranscriptionSession> open(session);
    const Dialogs::Choice choice = appendOrReplace(window);
    if (!open || choice == Dialogs::Choice::Cancel)
        return;
    session->replaceTranscriptAsEdit(
        choice == Dialogs::Choice::Append
            ? TranscriptFile::appended(session->transcript(), file.transcript)
            : file.transcript);
}

void setDialogsForTesting(Dialogs dialogs)
{
    testDialogs() = std::move(dialogs);
}

} // namespace dictaro::ImportFlow
