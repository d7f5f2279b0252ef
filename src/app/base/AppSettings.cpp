#include "AppSettings.h"

#include "Localization.h"
#include "RegularFile.h"

#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>

namespace dictaro {

namespace {

const QString autoRewindKey = QStringLiteral("autoRewindSeconds");
const QString skipKey = QStringLiteral("skipSeconds");
const QString replayKey = QStringLiteral("replaySeconds");
const QString rewindFollowsSpeedKey = QStringLiteral("rewindFollowsSpeed");
const QString stampWherePausedKey = QStringLiteral("stampWherePaused");
const QString transcriptZoomKey = QStringLiteral("transcriptZoom");
const QString windowGeometryKey = QStringLiteral("window/geometry");
const QString windowMaximizedKey = QStringLiteral("window/maximized");
const QString windowFullScreenKey = QStringLiteral("window/fullScreen");
const QString lastOpenFolderKey = QStringLiteral("folders/lastOpen");
const QString lastExportFolderKey = QStringLiteral("folders/lastExport");
const QString exportFormatKey = QStringLiteral("export/format");
const QString exportTimestampsKey = QStringLiteral("export/includeTimestamps");
const QString textPlacesGroup = QStringLiteral("textPlaces");
const QString draftModelKey = QStringLiteral("draft/model");
const QString draftLanguageKey = QStringLiteral("draft/language");
const QString draftMarkUnsureKey = QStringLiteral("draft/markUnsureWords");
const QString draftFollowAlongKey = QStringLiteral("draft/followAlong");
const QString showWaveformKey = QStringLiteral("showWaveform");
const QString showVideoKey = QStringLiteral("video/show");
const QString videoDetachedKey = QStringLiteral("video/detached");
const QString videoSplitKey = QStringLiteral("video/split");
const QString videoWindowKey = QStringLiteral("video/windowGeometry");
const QString spellingLanguageKey = QStringLiteral("spellingLanguage");
const QString checkSpellingKey = QStringLiteral("checkSpellingWhileTyping");
const QString stampSpeakerLinesKey = QStringLiteral("speakers/stampLines");
const QString snippetsKey = QStringLiteral("snippets");
const QString abbreviationKey = QStringLiteral("abbreviation");
const QString snippetTextKey = QStringLiteral("text");
const QString languageOverrideKey = QStringLiteral("languageOverride");
// The list of preferred interface languages read at start-up.
const QString languageListKey = QStringLiteral("AppleLanguages");
const QString systemLanguage = QStringLiteral("system");
const QString commandKeysGroup = QStringLiteral("keys");
const QString pedalGroup = QStringLiteral("pedal");

// Usable snippets, each abbreviation once.
QList<Snippet> usableSnippets(const QList<Snippet>& snippets)
{
    QList<Snippet> usable;
    for (const Snippet& snippet : snippets) {
        const bool known = std::any_of(usable.begin(), usable.end(), [&](const Snippet& s) {
            return s.abbreviation == snippet.abbreviation;
        });
        if (!known && Snippets::isUsable(snippet))
            usable.append(snippet);
    }
    return usable;
}

std::optional<QList<Snippet>> readSnippets(QSettings& settings)
{
    if (!settings.childGroups().contains(snippetsKey))
        return std::nullopt;
    QList<Snippet> snippets;
    const int count = std::min(settings.beginReadArray(snippetsKey), 1000);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        snippets.append({settings.value(abbreviationKey).toString(),
                         settings.value(snippetTextKey).toString()});
    }
    settings.endArray();
    return usableSnippets(snippets);
}

std::mutex sharedMutex;
std::unique_ptr<AppSettings> sharedInstance;

const QString organization = QStringLiteral("Dictaro");
const QString application = QStringLiteral("Dictaro");
// Larger than any settings file Dictaro writes by far.
constexpr qint64 maxSettingsBytes = 1024 * 1024;
constexpr int maxWindowCoordinate = 1 << 20;

// Whether the files QSettings reads for the user (the program's and the organisation's) are
// plain files or absent: QSettings would wait forever on a pipe and read a device without end.
bool settingsFilesUsable()
{
    // Where the user's files are, as QSettings sees it (QSettings::setPath included): beside
    // the file of an organisation that does not exist.
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope,
                          QStringLiteral("Dictaro-settings-folder"));
    const QString folder = QFileInfo(probe.fileName()).absolutePath();
    for (const QString& file :
         {folder + u'/' + organization + u'/' + application + QStringLiteral(".ini"),
          folder + u'/' + organization + QStringLiteral(".ini")}) {
        if (!RegularFile::isMissingOrRegular(file, maxSettingsBytes)) {
            static std::once_flag warned;
            std::call_once(warned, [&] {
                qWarning("The settings file %s is no plain file; settings are kept only until "
                         "Dictaro quits",
                         qPrintable(file));
            });
            return false;
        }
    }
    return true;
}

// One INI file per user on every platform (~/.config/Dictaro/Dictaro.ini on Linux), so that
// the file is the same everywhere and tests can point QSettings::setPath at a temporary folder.
// Where that file is unusable, the settings live in a file of this run's own.
std::unique_ptr<QSettings> openSettings()
{
    if (settingsFilesUsable())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organization,
                                           application);
    static const QTemporaryDir ownFolder;
    return std::make_unique<QSettings>(ownFolder.filePath(QStringLiteral("Dictaro.ini")),
                                       QSettings::IniFormat);
}

// Writes pending changes to disk now rather than whenever QSettings gets round to it.
bool commit(QSettings& settings)
{
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qWarning("Could not write the settings file %s", qPrintable(settings.fileName()));
        return false;
    }
    // Kept in this run's own file: not saved for the next start.
    return settingsFilesUsable();
}

// Stores one value at once.
void store(const QString& key, const QVariant& value)
{
    const auto settings = openSettings();
    settings->setValue(key, value);
    commit(*settings);
}

// A stored value as a finite number, if it is one. The settings file keeps numbers as text, so
// text is parsed (locale-independently); a bool or a list is not a number.
std::optional<double> storedNumber(const QVariant& value)
{
    bool ok = false;
    double number = 0.0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: number = value.toDouble(&ok); break;
    case QMetaType::QString: number = value.toString().toDouble(&ok); break;
    case QMetaType::QByteArray: number = value.toByteArray().toDouble(&ok); break;
    default: break;
    }
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

double readNumber(const QSettings& settings, const QString& key, double fallback)
{
    return storedNumber(settings.value(key)).value_or(fallback);
}

// A stored "true" or "false" (as the settings file writes them); anything else is `fallback`.
bool readSwitch(const QSettings& settings, const QString& key, bool fallback)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

const QStringList& languageChoices()
{
    static const QStringList choices{systemLanguage, QStringLiteral("en"), QStringLiteral("tr")};
    return choices;
}

} // namespace

AppSettings::AppSettings()
{
    const auto settings = openSettings();
    m_autoRewindSeconds = readNumber(*settings, autoRewindKey, defaultAutoRewindSeconds);
    m_skipSeconds = readNumber(*settings, skipKey, defaultSkipSeconds);
    m_replaySeconds = readNumber(*settings, replayKey, defaultReplaySeconds);
    m_rewindFollowsSpeed = readSwitch(*settings, rewindFollowsSpeedKey, false);
    m_stampWherePaused = readSwitch(*settings, stampWherePausedKey, false);
    m_transcriptZoom = std::clamp(
        int(std::lround(std::clamp(readNumber(*settings, transcriptZoomKey, 0.0), -1e6, 1e6))),
        minTranscriptZoom, maxTranscriptZoom);
    m_showWaveform = readSwitch(*settings, showWaveformKey, defaultShowWaveform);
    m_showVideo = readSwitch(*settings, showVideoKey, defaultShowVideo);
    m_videoDetached = readSwitch(*settings, videoDetachedKey, false);
    m_spellingLanguage = settings->value(spellingLanguageKey).toString();
    m_checkSpellingWhileTyping = settings->value(checkSpellingKey, true).toBool();
    m_stampSpeakerLines = readSwitch(*settings, stampSpeakerLinesKey, true);
    m_snippets = readSnippets(*settings);
}

AppSettings& AppSettings::shared()
{
    const std::lock_guard lock(sharedMutex);
    if (!sharedInstance)
        sharedInstance.reset(new AppSettings);
    return *sharedInstance;
}

void AppSettings::resetSharedForTesting()
{
    const std::lock_guard lock(sharedMutex);
    sharedInstance.reset();
}

bool AppSettings::assign(double& member, double value, const QString& key)
{
    if (!std::isfinite(value)) {
        qWarning("Ignoring a non-finite value for the setting %s", qPrintable(key));
        return false;
    }
    const bool changed = member != value;
    member = value;
    const auto settings = openSettings();
    settings->setValue(key, value);
    commit(*settings);
    return changed;
}

bool AppSettings::assign(bool& member, bool value, const QString& key)
{
    const bool changed = member != value;
    member = value;
    const auto settings = openSettings();
    settings->setValue(key, value);
    commit(*settings);
    return changed;
}

void AppSettings::setAutoRewindSeconds(double seconds)
{
    if (assign(m_autoRewindSeconds, seconds, autoRewindKey))
        emit autoRewindSecondsChanged(m_autoRewindSeconds);
}

void AppSettings::setSkipSeconds(double seconds)
{
    if (assign(m_skipSeconds, seconds, skipKey))
        emit skipSecondsChanged(m_skipSeconds);
}

void AppSettings::setReplaySeconds(double seconds)
{
    if (assign(m_replaySeconds, seconds, replayKey))
        emit replaySecondsChanged(m_replaySeconds);
}

void AppSettings::setRewindFollowsSpeed(bool follows)
{
    if (assign(m_rewindFollowsSpeed, follows, rewindFollowsSpeedKey))
        emit rewindFollowsSpeedChanged(m_rewindFollowsSpeed);
}

void AppSettings::setStampWherePaused(bool where)
{
    if (assign(m_stampWherePaused, where, stampWherePausedKey))
        emit stampWherePausedChanged(m_stampWherePaused);
}

void AppSettings::setTranscriptZoom(int steps)
{
    steps = std::clamp(steps, minTranscriptZoom, maxTranscriptZoom);
    const bool changed = m_transcriptZoom != steps;
    m_transcriptZoom = steps;
    const auto settings = openSettings();
    settings->setValue(transcriptZoomKey, steps);
    commit(*settings);
    if (changed)
        emit transcriptZoomChanged(steps);
}

std::optional<AppSettings::WindowPlacement> AppSettings::windowPlacement()
{
    const auto settings = openSettings();
    // Four whole numbers: x, y, width, height.
    const QStringList parts = settings->value(windowGeometryKey).toStringList();
    if (parts.size() != 4)
        return std::nullopt;
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok);
        // Far beyond any desktop; larger numbers would overflow the rectangle's far edge.
        if (!ok || std::abs(numbers[i]) > maxWindowCoordinate)
            return std::nullopt;
    }
    const QRect geometry(numbers[0], numbers[1], numbers[2], numbers[3]);
    if (geometry.width() <= 0 || geometry.height() <= 0)
        return std::nullopt;
    return WindowPlacement{geometry, settings->value(windowMaximizedKey).toBool(),
                           settings->value(windowFullScreenKey).toBool()};
}

void AppSettings::setWindowPlacement(const WindowPlacement& placement)
{
    const QRect& g = placement.geometry;
    const auto settings = openSettings();
    settings->setValue(windowGeometryKey,
                       QStringList{QString::number(g.x()), QString::number(g.y()),
                                   QString::number(g.width()), QString::number(g.height())});
    settings->setValue(windowMaximizedKey, placement.maximized);
    settings->setValue(windowFullScreenKey, placement.fullScreen);
    commit(*settings);
}

QString AppSettings::lastOpenFolder()
{
    return openSettings()->value(lastOpenFolderKey).toString();
}

void AppSettings::setLastOpenFolder(const QString& folder)
{
    store(lastOpenFolderKey, folder);
}

QString AppSettings::lastExportFolder()
{
    return openSettings()->value(lastExportFolderKey).toString();
}

void AppSettings::setLastExportFolder(const QString& folder)
{
    store(lastExportFolderKey, folder);
}

AppSettings::ExportChoice AppSettings::exportChoice()
{
    const auto settings = openSettings();
    return {settings->value(exportFormatKey).toString(),
            settings->value(exportTimestampsKey, true).toBool()};
}

void AppSettings::setExportChoice(const ExportChoice& choice)
{
    const auto settings = openSettings();
    settings->setValue(exportFormatKey, choice.format);
    settings->setValue(exportTimestampsKey, choice.includeTimestamps);
    commit(*settings);
}

namespace {
QString textPlaceGroup(const QUuid& projectId)
{
    return textPlacesGroup + u'/' + projectId.toString(QUuid::WithoutBraces);
}
} // namespace

std::optional<AppSettings::TextPlace> AppSettings::textPlace(const QUuid& projectId)
{
    const auto settings = openSettings();
    settings->beginGroup(textPlaceGroup(projectId));
    bool caretRead = false;
    bool topRead = false;
    const int caret = settings->value(QStringLiteral("caret")).toInt(&caretRead);
    const int top = settings->value(QStringLiteral("top")).toInt(&topRead);
    if (!caretRead || !topRead || caret < 0 || top < 0)
        return std::nullopt;
    return TextPlace{caret, top};
}

void AppSettings::setTextPlace(const QUuid& projectId, const TextPlace& place)
{
    const auto settings = openSettings();
    settings->beginGroup(textPlaceGroup(projectId));
    settings->setValue(QStringLiteral("caret"), place.caret);
    settings->setValue(QStringLiteral("top"), place.top);
    settings->endGroup();
    commit(*settings);
}

void AppSettings::forgetTextPlace(const QUuid& projectId)
{
    const auto settings = openSettings();
    settings->remove(textPlaceGroup(projectId));
    commit(*settings);
}

AppSettings::DraftChoice AppSettings::draftChoice()
{
    const auto settings = openSettings();
    return {settings->value(draftModelKey).toString(), settings->value(draftLanguageKey).toString(),
            settings->value(draftMarkUnsureKey, true).toBool(),
            settings->value(draftFollowAlongKey, true).toBool()};
}

bool AppSettings::setDraftChoice(const DraftChoice& choice)
{
    const auto settings = openSettings();
    settings->setValue(draftModelKey, choice.modelPath);
    settings->setValue(draftLanguageKey, choice.language);
    settings->setValue(draftMarkUnsureKey, choice.markUnsureWords);
    settings->setValue(draftFollowAlongKey, choice.followAlong);
    const bool kept = commit(*settings);
    emit shared().draftChoiceChanged();
    return kept;
}

void AppSettings::setShowWaveform(bool show)
{
    if (assign(m_showWaveform, show, showWaveformKey))
        emit showWaveformChanged(m_showWaveform);
}

void AppSettings::setShowVideo(bool show)
{
    if (assign(m_showVideo, show, showVideoKey))
        emit showVideoChanged(m_showVideo);
}

void AppSettings::setVideoDetached(bool detached)
{
    if (assign(m_videoDetached, detached, videoDetachedKey))
        emit videoDetachedChanged(m_videoDetached);
}

QByteArray AppSettings::videoSplit()
{
    return openSettings()->value(videoSplitKey).toByteArray();
}

void AppSettings::setVideoSplit(const QByteArray& state)
{
    store(videoSplitKey, state);
}

QByteArray AppSettings::videoWindowGeometry()
{
    return openSettings()->value(videoWindowKey).toByteArray();
}

void AppSettings::setVideoWindowGeometry(const QByteArray& geometry)
{
    store(videoWindowKey, geometry);
}

void AppSettings::setSpellingLanguage(const QString& language)
{
    if (language == m_spellingLanguage)
        return;
    m_spellingLanguage = language;
    const auto settings = openSettings();
    settings->setValue(spellingLanguageKey, language);
    commit(*settings);
    emit spellingLanguageChanged(m_spellingLanguage);
}

void AppSettings::setCheckSpellingWhileTyping(bool check)
{
    if (check == m_checkSpellingWhileTyping)
        return;
    m_checkSpellingWhileTyping = check;
    const auto settings = openSettings();
    settings->setValue(checkSpellingKey, check);
    commit(*settings);
    emit checkSpellingWhileTypingChanged(m_checkSpellingWhileTyping);
}

void AppSettings::setStampSpeakerLines(bool stamp)
{
    if (stamp == m_stampSpeakerLines)
        return;
    m_stampSpeakerLines = stamp;
    const auto settings = openSettings();
    settings->setValue(stampSpeakerLinesKey, stamp);
    commit(*settings);
    emit stampSpeakerLinesChanged(m_stampSpeakerLines);
}

void AppSettings::setSnippets(const QList<Snippet>& list)
{
    const QList<Snippet> usable = usableSnippets(list);
    const auto settings = openSettings();
    settings->remove(snippetsKey);
    settings->beginWriteArray(snippetsKey, int(usable.size()));
    for (int i = 0; i < usable.size(); ++i) {
        settings->setArrayIndex(i);
        settings->setValue(abbreviationKey, usable.at(i).abbreviation);
        settings->setValue(snippetTextKey, usable.at(i).text);
    }
    settings->endArray();
    commit(*settings);
    const QList<Snippet> before = snippets();
    m_snippets = usable;
    if (usable != before)
        emit snippetsChanged(usable);
}

void AppSettings::restoreDefaultSnippets()
{
    const auto settings = openSettings();
    settings->remove(snippetsKey);
    commit(*settings);
    const QList<Snippet> before = snippets();
    m_snippets.reset();
    if (snippets() != before)
        emit snippetsChanged(snippets());
}

QList<Snippet> AppSettings::defaultSnippets()
{
    return {
        {QStringLiteral("/inaud"), Localization::tr("[inaudible]")},
        {QStringLiteral("/cross"), Localization::tr("[crosstalk]")},
        {QStringLiteral("/laugh"), Localization::tr("[laughs]")},
        {QStringLiteral("/pause"), Localization::tr("[pause]")},
        {QStringLiteral("/unc"), Localization::tr("[unclear]")},
        {QStringLiteral("/noise"), Localization::tr("[background noise]")},
        {QStringLiteral("/int"), Localization::tr("[interruption]")},
    };
}

QString AppSettings::languageOverride()
{
    const QString stored = openSettings()->value(languageOverrideKey).toString();
    return languageChoices().contains(stored) ? stored : systemLanguage;
}

bool AppSettings::chooseLanguage(const QString& choice)
{
    if (!languageChoices().contains(choice)) {
        qWarning("Ignoring the unknown interface language %s", qPrintable(choice));
        return false;
    }
    const auto settings = openSettings();
    settings->setValue(languageOverrideKey, choice);
    if (choice == systemLanguage)
        settings->remove(languageListKey);
    else
        settings->setValue(languageListKey, QStringList{choice});
    return commit(*settings);
}

QStringList AppSettings::startupLanguages()
{
    const QVariant stored = openSettings()->value(languageListKey);
    // The settings file gives a one-element list back as plain text.
    const QStringList list = stored.typeId() == QMetaType::QString ? QStringList{stored.toString()}
                                                                   : stored.toStringList();
    if (!list.isEmpty() && !list.first().trimmed().isEmpty())
        return {list.first().trimmed()};
    return QLocale::system().uiLanguages();
}

std::optional<QString> AppSettings::commandKey(const QString& commandId)
{
    const auto settings = openSettings();
    const QString key = commandKeysGroup + u'/' + commandId;
    if (!settings->contains(key))
        return std::nullopt;
    return settings->value(key).toString();
}

bool AppSettings::setCommandKey(const QString& commandId, const QString& key)
{
    const auto settings = openSettings();
    settings->setValue(commandKeysGroup + u'/' + commandId, key);
    return commit(*settings);
}

bool AppSettings::forgetCommandKeys()
{
    const auto settings = openSettings();
    settings->remove(commandKeysGroup);
    return commit(*settings);
}

QVariant AppSettings::pedalSetting(const QString& name)
{
    return openSettings()->value(pedalGroup + u'/' + name);
}

bool AppSettings::setPedalSetting(const QString& name, const QString& value)
{
    const auto settings = openSettings();
    settings->setValue(pedalGroup + u'/' + name, value);
    return commit(*settings);
}

} // namespace dictaro
