#include "DictaroApp.h"

#include "AppActions.h"
#include "AppSettings.h"
#include "AppState.h"
#include "CaretBlink.h"
#include "CommandRegistry.h"
#include "DraftEngine.h"
#include "DraftSettingsView.h"
#include "EditCommands.h"
#include "HandsFree.h"
#include "KeySettingsView.h"
#include "Localization.h"
#include "MainWindow.h"
#include "MediaBackend.h"
#include "ModelCatalog.h"
#include "ModelLibrary.h"
#include "PlaybackEngine.h"
#include "ProjectStore.h"
#include "QuitSignals.h"
#include "SettingsWindow.h"
#include "SnippetsView.h"
#include "SpellChecker.h"
#include "StartupTrace.h"
#include "TranscriptionSession.h"
#include "WindowGeometry.h"

#ifdef DICTARO_LINUX_DESKTOP
#include "DesktopColorScheme.h"
#include "DisplayLossGuard.h"
#include "PedalSettingsView.h"
#endif

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace dictaro {

namespace {

// Runs `then` once, after the first paint of a widget: by then the window has been handed to
// the display.
class AfterFirstFrame : public QObject
{
public:
    AfterFirstFrame(std::function<void()> then, QObject* parent)
        : QObject(parent), m_then(std::move(then))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_then) {
            QTimer::singleShot(0, this, [then = std::move(m_then), this] {
                deleteLater();
                then();
            });
            m_then = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_then;
};

} // namespace

DictaroApp::DictaroApp(const QString& dataDirectory, std::unique_ptr<MediaBackend> backend)
{
    // Made one by one, in the order they depend on each other, so that start-up can be traced.
    m_store = std::make_unique<ProjectStore>(dataDirectory);
    m_engine = std::make_unique<PlaybackEngine>(std::move(backend));
    StartupTrace::mark("player");
    m_state = std::make_unique<AppState>(*m_store, *m_engine);
    StartupTrace::mark("projects listed");
    m_commands = std::make_unique<CommandRegistry>(
        draftAvailable() ? QList<Command>() : QList<Command>{Command::MakeDraft});
    m_actions = std::make_unique<AppActions>(*m_state, *m_commands);
    StartupTrace::mark("commands");
    m_spelling =
        std::make_unique<SpellChecker>(AppSettings::shared(), Localization::currentLanguage());
    m_editCommands = std::make_unique<EditCommands>(*m_spelling, *m_commands);
    StartupTrace::mark("spelling");
    m_window = std::make_unique<MainWindow>(*m_state, *m_actions, *m_editCommands);
    // The position moves on screen only while the window is there to show it.
    connect(m_window.get(), &MainWindow::onScreenChanged, m_engine.get(),
            &PlaybackEngine::setPositionShown);
    StartupTrace::mark("main window");
    m_handsFree = std::make_unique<HandsFree>(*m_state, *m_commands, m_window.get());
    StartupTrace::mark("pedals and media keys");
    m_quitSignals = std::make_unique<QuitSignals>();
    m_window->setSettingsPages([this] {
        SettingsWindow::Pages pages;
#ifdef DICTARO_LINUX_DESKTOP
        pages.append(
            {Localization::tr("Pedal"),
             new PedalSettingsView(m_handsFree->pedalSettings(), m_handsFree->pedalMonitor())});
#endif
        pages.append({Localization::tr("Keys"), new KeySettingsView(*m_commands)});
        pages.append({Localization::tr("Snippets"), new SnippetsView});
        if (draftAvailable()) {
            // Made on first need; it fetches nothing until the user asks.
            if (!m_models)
                m_models = std::make_unique<ModelLibrary>(ModelLibrary::defaultFolder(),
                                                          ModelCatalog::defaultBaseUrl(),
                                                          ModelCatalog::whisperModels());
            pages.append({Localization::tr("Draft"), new DraftSettingsView(*m_models)});
        }
        return pages;
    });
    connect(m_quitSignals.get(), &QuitSignals::quitRequested, this, &DictaroApp::quitRequested);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &DictaroApp::aboutToQuit);
    keepTextWhenTheDisplayIsLost();
}

DictaroApp::~DictaroApp()
{
#ifdef DICTARO_LINUX_DESKTOP
    // From here on an exit() finds nothing to keep.
    m_displayLoss.reset();
#endif
    // The window's screens refer to the state and the session; they go first.
    m_handsFree.reset();
    m_window.reset();
}

QString DictaroApp::dataDirectory()
{
    return ProjectStore::defaultDirectory();
}

void DictaroApp::reportMissingDataDirectory()
{
    QMessageBox::critical(nullptr, Localization::tr("Dictaro"),
                          Localization::tr("Dictaro can't find a folder for its projects in your "
                                           "home folder, so it can't keep your work. It will quit "
                                           "now."));
}

void DictaroApp::reportAlreadyRunning()
{
    QMessageBox::information(nullptr, Localization::tr("Dictaro"),
                             Localization::tr("Dictaro is already running."));
}

void DictaroApp::reportCannotLock(const QString& reason)
{
    QMessageBox box(QMessageBox::Critical, Localization::tr("Dictaro"),
                    Localization::tr("Dictaro can't make sure that it is the only Dictaro "
                                     "working on your projects, so it will quit now to keep them "
                                     "safe."));
    box.setDetailedText(reason);
    box.exec();
}

void DictaroApp::openFiles(const QStringList& files)
{
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
    if (!files.isEmpty())
        m_state->openAudioFile(files.constFirst());
}

void DictaroApp::show()
{
    if (!WindowGeometry::restore(*m_window))
        m_window->resize(900, 640);
    qApp->installEventFilter(new AfterFirstFrame([this] { startAfterFirstFrame(); }, this));
    m_window->show();
    QTimer::singleShot(0, m_window.get(), [window = m_window.get()] {
        window->raise();
        window->activateWindow();
    });
}

void DictaroApp::startAfterFirstFrame()
{
    StartupTrace::mark("first frame");
#ifdef DICTARO_LINUX_DESKTOP
    // Dark when the desktop prefers it, following changes while running.
    m_colorScheme = std::make_unique<DesktopColorScheme>();
#endif
    m_handsFree->startDesktopServices();
    m_caretBlink = std::make_unique<CaretBlink>();
    StartupTrace::mark("desktop services");
}

void DictaroApp::quitRequested()
{
    // Asked again (a logout or a service manager does not wait for an answer): end now, keeping
    // the text that cannot be saved where the next start offers it back.
    if (++m_quitRequests > 1 && m_state->closeProject(AppState::Unsaved::Recover)) {
        QCoreApplication::exit(0);
        return;
    }
    // The first request, or the text can be kept nowhere: the same path as closing the window,
    // save or ask (a question already on screen is not asked twice).
    if (!m_window->isVisible() || m_window->close())
        QCoreApplication::quit();
}

void DictaroApp::aboutToQuit()
{
    // The last chance when the application ends by another way (a session manager, say).
    if (m_state->closeProject(AppState::Unsaved::Recover))
        return;
    // Too late to stay: at least the user learns it.
    QMessageBox::warning(m_window.get(), Localization::tr("Dictaro"),
                         Localization::tr("Dictaro is quitting and could not save your latest "
                                          "changes or keep a copy of them anywhere."));
}

void DictaroApp::keepTextWhenTheDisplayIsLost()
{
#ifdef DICTARO_LINUX_DESKTOP
    m_displayLoss = std::make_unique<DisplayLossGuard>([state = m_state.get()] {
        if (!state->keepTextBeforeExit())
            std::fputs("dictaro: the display went away and the open project's latest text "
                       "could be saved nowhere\n",
                       stderr);
    });
    // A project has been saved before its session is opened.
    connect(m_state.get(), &AppState::currentSessionChanged, this, [this] {
        if (m_displayLoss)
            m_displayLoss->renew();
    });
#endif
}

} // namespace dictaro
