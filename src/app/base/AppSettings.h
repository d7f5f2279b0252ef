#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>

#include <optional>

namespace dictaro {

// The user's settings and the one way to the per-user settings file: the two playback intervals,
// the transcript zoom, whether the waveform is shown and the spelling choices (one shared,
// observable instance), the interface language chosen in the settings window, the keys the user
// gave commands, the foot pedal's settings, where the user was in each project's text, and what
// the windows and dialogs remember between runs.
class AppSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double autoRewindSeconds READ autoRewindSeconds WRITE setAutoRewindSeconds NOTIFY
                   autoRewindSecondsChanged)
    Q_PROPERTY(double skipSeconds READ skipSeconds WRITE setSkipSeconds NOTIFY skipSecondsChanged)
    Q_PROPERTY(
        double replaySeconds READ replaySeconds WRITE setReplaySeconds NOTIFY replaySecondsChanged)
    Q_PROPERTY(bool rewindFollowsSpeed READ rewindFollowsSpeed WRITE setRewindFollowsSpeed NOTIFY
                   rewindFollowsSpeedChanged)
    Q_PROPERTY(bool stampWherePaused READ stampWherePaused WRITE setStampWherePaused NOTIFY
                   stampWherePausedChanged)
    Q_PROPERTY(
        int transcriptZoom READ transcriptZoom WRITE setTranscriptZoom NOTIFY transcriptZoomChanged)
    Q_PROPERTY(bool showWaveform READ showWaveform WRITE setShowWaveform NOTIFY showWaveformChanged)
    Q_PROPERTY(QString spellingLanguage READ spellingLanguage WRITE setSpellingLanguage NOTIFY
                   spellingLanguageChanged)
    Q_PROPERTY(bool checkSpellingWhileTyping READ checkSpellingWhileTyping WRITE
                   setCheckSpellingWhileTyping NOTIFY checkSpellingWhileTypingChanged)

public:
    static constexpr double defaultAutoRewindSeconds = 3.0;
    static constexpr double defaultSkipSeconds = 5.0;
    static constexpr double defaultReplaySeconds = 5.0;
    // The transcript text is zoomed in whole steps from the interface font's size (0).
    static constexpr int minTranscriptZoom = -5;
    static constexpr int maxTranscriptZoom = 10;
    static constexpr bool defaultShowWaveform = true;

    // The one instance, created on first use. Reading it writes nothing.
    static AppSettings& shared();

    double autoRewindSeconds() const { return m_autoRewindSeconds; }
    double skipSeconds() const { return m_skipSeconds; }
    // Each assignment of a finite value is written to the settings file at once, also when it
    // is unchanged; a non-finite value is refused (nothing changes, nothing is written).
    void setAutoRewindSeconds(double seconds);
    void setSkipSeconds(double seconds);
    // How far "Replay Last Seconds" goes back.
    double replaySeconds() const { return m_replaySeconds; }
    void setReplaySeconds(double seconds);
    // Whether the rewind on pause is measured in listening time, so that it takes back
    // autoRewindSeconds times the speed of the recording. Off unless the user turns it on.
    bool rewindFollowsSpeed() const { return m_rewindFollowsSpeed; }
    void setRewindFollowsSpeed(bool follows);
    // Whether a timestamp inserted right after a pause names where playback stopped rather
    // than where the rewind put it. Off unless the user turns it on.
    bool stampWherePaused() const { return m_stampWherePaused; }
    void setStampWherePaused(bool where);

    int transcriptZoom() const { return m_transcriptZoom; }
    // Clamped to minTranscriptZoom..maxTranscriptZoom and written at once.
    void setTranscriptZoom(int steps);

    // The main window's normal (not maximised) geometry and its state, as last closed.
    struct WindowPlacement
    {
        QRect geometry;
        bool maximized = false;
        bool fullScreen = false;
    };
    // Empty when none was saved or the stored one is unusable.
    static std::optional<WindowPlacement> windowPlacement();
    static void setWindowPlacement(const WindowPlacement& placement);

    // The folders the file dialogs last worked in (empty when none); see DialogFolders.
    static QString lastOpenFolder();
    static void setLastOpenFolder(const QString& folder);
    static QString lastExportFolder();
    static void setLastExportFolder(const QString& folder);

    // The export sheet's last choice, offered again: the format's stable name (see ExportFormat),
    // empty when none was made, and whether the timestamps went with the text.
    struct ExportChoice
    {
        QString format;
        bool includeTimestamps = true;
    };
    static ExportChoice exportChoice();
    static void setExportChoice(const ExportChoice& choice);

    // Where the user was in a project's text when it was last closed: the caret and the first
    // character on screen, as positions in the text. Kept here, by the project's id, rather than
    // in the project file, which holds only the work itself.
    struct TextPlace
    {
        int caret = 0;
        int top = 0;
    };
    // Empty when none was kept (the project was never closed here) or it is unreadable.
    static std::optional<TextPlace> textPlace(const QUuid& projectId);
    static void setTextPlace(const QUuid& projectId, const TextPlace& place);
    // For a project that is deleted.
    static void forgetTextPlace(const QUuid& projectId);

    // How machine drafts are made and shown: the model file (empty: none chosen), the language
    // to recognise ("" for the interface's, "auto" to let the model find out, else a code such
    // as "en"), and whether unsure words are marked and the spoken word followed while playing.
    struct DraftChoice
    {
        QString modelPath;
        QString language;
        bool markUnsureWords = true;
        bool followAlong = true;
    };
    static DraftChoice draftChoice();
    // Stores it at once and tells the shared instance (draftChoiceChanged); false when the
    // settings file could not be written.
    static bool setDraftChoice(const DraftChoice& choice);

    bool showWaveform() const { return m_showWaveform; }
    // Written to the settings file at once, also when unchanged.
    void setShowWaveform(bool show);
    // The dictionary chosen for spelling ("en_US", "tr_TR"); empty until the user chooses one,
    // which means the one of the interface language.
    QString spellingLanguage() const { return m_spellingLanguage; }
    void setSpellingLanguage(const QString& language);
    // On unless the user turned it off.
    bool checkSpellingWhileTyping() const { return m_checkSpellingWhileTyping; }
    void setCheckSpellingWhileTyping(bool check);

    // The language picker's stored value: "system", "en" or "tr" ("system" when absent or
    // unknown). Reading writes nothing.
    static QString languageOverride();
    // What the settings window does when the user picks another language: stores the choice
    // and the language list read at the next start ("system" removes that list). Nothing is
    // reloaded. Returns false, writing nothing, for a value other than the three above.
    static bool chooseLanguage(const QString& choice);
    // The interface languages to use at start-up, most preferred first: the stored choice, or
    // the system's languages when there is none.
    static QStringList startupLanguages();

    // The key the user gave a command, by the command's id ("skipBack"), as the settings file
    // keeps it (portable key text; empty when the user chose no key); nothing when the user
    // never chose one.
    static std::optional<QString> commandKey(const QString& commandId);
    // Stores it at once; false when the settings file could not be written.
    static bool setCommandKey(const QString& commandId, const QString& key);
    // Forgets every key the user chose.
    static bool forgetCommandKeys();

    // The foot pedal's settings by name ("left", "holdToPlay", "device"); invalid when absent.
    static QVariant pedalSetting(const QString& name);
    // Stores it at once; false when the settings file could not be written.
    static bool setPedalSetting(const QString& name, const QString& value);

    // FOR TESTS ONLY: destroys the shared instance so that the next shared() reads the
    // settings file again. References to the old instance dangle afterwards.
    static void resetSharedForTesting();

signals:
    void autoRewindSecondsChanged(double autoRewindSeconds);
    void skipSecondsChanged(double skipSeconds);
    void replaySecondsChanged(double replaySeconds);
    void rewindFollowsSpeedChanged(bool rewindFollowsSpeed);
    void stampWherePausedChanged(bool stampWherePaused);
    void transcriptZoomChanged(int transcriptZoom);
    void showWaveformChanged(bool showWaveform);
    void spellingLanguageChanged(const QString& spellingLanguage);
    void checkSpellingWhileTypingChanged(bool checkSpellingWhileTyping);
    void draftChoiceChanged();

private:
    AppSettings();

    bool assign(double& member, double value, const QString& key);
    bool assign(bool& member, bool value, const QString& key);

    double m_autoRewindSeconds = defaultAutoRewindSeconds;
    double m_skipSeconds = defaultSkipSeconds;
    double m_replaySeconds = defaultReplaySeconds;
    bool m_rewindFollowsSpeed = false;
    bool m_stampWherePaused = false;
    int m_transcriptZoom = 0;
    bool m_showWaveform = defaultShowWaveform;
    QString m_spellingLanguage;
    bool m_checkSpellingWhileTyping = true;
};

} // namespace dictaro
