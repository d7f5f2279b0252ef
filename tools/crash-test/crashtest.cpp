// Kills a process that saves projects, over and over, and checks what it leaves behind.
//
// Usage: crashtest ROUNDS [FOLDER]
//        crashtest --display-loss ROUNDS   (see displayloss.cpp)
//
// Each round forks a child that saves projects of 1 KB to 2 MB through ProjectStore as fast as it
// can, numbering each project's versions; before each save it tells the parent, through a pipe,
// which version it is about to write and afterwards that the save returned. The parent kills it
// with SIGKILL at a random moment, opens a ProjectStore on the folder (as the next start would)
// and checks every project file: it must decode to exactly the version the child last finished
// or the one it was writing, and no other file may be there. Prints the counts; exits non-zero
// on any torn or unknown file or any temporary file left after the store was opened again.
#include "Project.h"
#include "ProjectStore.h"

#ifdef DICTARO_DISPLAY_LOSS
#include "displayloss.h"

#include <QCoreApplication>

#include <cstring>
#endif

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using namespace dictaro;

namespace {

constexpr int projectCount = 3;

QUuid projectId(int index)
{
    return QUuid(0x6c1a0000u + uint(index), 0x5e11, 0x4c7a, 0x9a, 0x11, 0x2b, 0x3c, 0x4d, 0x5e,
                 0x6f, 0x70);
}

// The one text each (project, version) pair has: its number first, then 1 KB to 2 MB of words
// with some non-ASCII, control and escaped characters, the same on every call.
Project projectVersion(int index, qint64 version)
{
    std::mt19937_64 random(quint64(version) * 7919 + quint64(index));
    // Sizes spread evenly over the decades from 1 KB to 2 MB.
    const double exponent = std::uniform_real_distribution<double>(10.0, 21.0)(random);
    const auto size = qsizetype(std::exp2(exponent));
    static const std::array<QString, 8> words = {
        QStringLiteral("söz "),        QStringLiteral("[00:01:02] "), QStringLiteral("word "),
        QStringLiteral("\"quoted\" "), QStringLiteral("çığ\n"),       QStringLiteral("😀 "),
        QStringLiteral("a/b\\c\t"),    QStringLiteral("録音 ")};
    QString text = QStringLiteral("version %1\n").arg(version);
    text.reserve(size + 16);
    while (text.size() < size)
        text += words[random() % words.size()];

    Project project;
    project.id = projectId(index);
    project.name = QStringLiteral("Crash %1").arg(index);
    project.mediaFileName = QStringLiteral("crash.wav");
    project.transcript = text;
    project.lastPosition = double(version) / 4;
    project.playbackRate = 1.0;
    project.createdAt = QDateTime::fromSecsSinceEpoch(1735689600, Qt::UTC);
    project.updatedAt = QDateTime::fromSecsSinceEpoch(1735689600 + version, Qt::UTC);
    return project;
}

// What the child tells the parent; small enough that each write reaches the pipe whole.
struct Message
{
    qint32 index;
    qint32 finished; // 0: about to write `version`, 1: the save of `version` returned
    qint64 version;
};

[[noreturn]] void runChild(const QString& folder, std::array<qint64, projectCount> versions,
                           quint64 seed, int pipeOut)
{
    ProjectStore store(folder);
    std::mt19937_64 random(seed);
    for (;;) {
        const int index = int(random() % projectCount);
        const qint64 version = ++versions[index];
        const Project project = projectVersion(index, version);
        Message message{index, 0, version};
        if (::write(pipeOut, &message, sizeof message) != sizeof message)
            ::_exit(3);
        try {
            store.save(project);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "crashtest: save failed: %s\n", error.what());
            ::_exit(2);
        }
        message.finished = 1;
        if (::write(pipeOut, &message, sizeof message) != sizeof message)
            ::_exit(3);
    }
}

void sleepMicroseconds(qint64 micros)
{
    timespec delay{time_t(micros / 1000000), long(micros % 1000000) * 1000};
    while (::nanosleep(&delay, &delay) != 0 && errno == EINTR) {
    }
}

struct Counts
{
    int rounds = 0;
    int killedWhileWriting = 0; // the child was inside a save when it died
    qint64 savesFinished = 0;
    qint64 filesChecked = 0;
    qint64 newVersion = 0;      // the file holds the version being written
    qint64 previousVersion = 0; // the file holds the last finished version
    int temporariesBeforeOpen = 0;
    int temporariesAfterOpen = 0;
    int torn = 0;    // unreadable, or a version other than the two allowed
    int unknown = 0; // any other file in the folder
};

bool isTemporaryName(const QString& name)
{
    // QSaveFile's "<name>.XXXXXX" next to "<UUID>.json".
    return name.contains(QLatin1String(".json."));
}

int countTemporaries(const QDir& dir)
{
    int count = 0;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        count += isTemporaryName(name) ? 1 : 0;
    return count;
}

} // namespace

int main(int argc, char* argv[])
{
#ifdef DICTARO_DISPLAY_LOSS
    if (argc == 5 && std::strcmp(argv[1], "--display-loss-app") == 0)
        return runDisplayLossApp(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--display-loss") == 0) {
        QCoreApplication app(argc, argv);
        const int rounds = std::atoi(argv[2]);
        return rounds > 0 ? runDisplayLoss(rounds, QCoreApplication::applicationFilePath()) : 64;
    }
#endif
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (rounds <= 0 || argc > 3) {
        std::fprintf(stderr, "usage: crashtest ROUNDS [FOLDER]\n");
        return 64;
    }
    QTemporaryDir temporary(argc > 2 ? QString::fromLocal8Bit(argv[2]) +
                                           QStringLiteral("/crashtest-XXXXXX")
                                     : QString());
    if (!temporary.isValid()) {
        std::fprintf(stderr, "crashtest: cannot create a folder\n");
        return 1;
    }
    const QString folder = temporary.path();
    const QDir dir(folder);

    std::array<qint64, projectCount> versions{}; // what each file holds now
    {
        ProjectStore store(folder);
        for (int index = 0; index < projectCount; ++index)
            store.save(projectVersion(index, 0));
    }

    std::random_device device;
    const quint64 seed = (quint64(device()) << 32) | device();
    std::mt19937_64 random(seed);
    Counts counts;
    for (int round = 0; round < rounds; ++round) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            std::perror("crashtest: pipe");
            return 1;
        }
        const quint64 childSeed = random();
        const pid_t child = ::fork();
        if (child < 0) {
            std::perror("crashtest: fork");
            return 1;
        }
        if (child == 0) {
            ::close(fds[0]);
            runChild(folder, versions, childSeed, fds[1]);
        }
        ::close(fds[1]);
        // From the start of the first save on, within the next few saves.
        Message message{};
        QList<Message> messages;
        if (::read(fds[0], &message, sizeof message) == sizeof message)
            messages.append(message);
        sleepMicroseconds(qint64(random() % 50000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFSIGNALED(status)) {
            std::fprintf(stderr, "crashtest: the saving process ended by itself (status %d)\n",
                         status);
            return 1;
        }

        // The versions each file may hold: the last one finished, and the one being written.
        std::array<std::optional<qint64>, projectCount> writing;
        while (::read(fds[0], &message, sizeof message) == sizeof message)
            messages.append(message);
        for (const Message& message : std::as_const(messages)) {
            if (message.finished) {
                versions[message.index] = message.version;
                writing[message.index].reset();
                ++counts.savesFinished;
            } else {
                writing[message.index] = message.version;
            }
        }
        ::close(fds[0]);
        for (const auto& version : writing)
            counts.killedWhileWriting += version ? 1 : 0;

        counts.temporariesBeforeOpen += countTemporaries(dir);
        ProjectStore store(folder); // as the next start would: it may tidy the folder
        counts.temporariesAfterOpen += countTemporaries(dir);

        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (isTemporaryName(name)) {
                QFile::remove(dir.filePath(name)); // counted above; not carried into next round
                continue;
            }
            int index = 0;
            while (index < projectCount &&
                   name != QFileInfo(store.filePath(projectId(index))).fileName())
                ++index;
            if (index == projectCount) {
                std::fprintf(stderr, "crashtest: round %d: unknown file %s\n", round,
                             qPrintable(name));
                ++counts.unknown;
                continue;
            }
            ++counts.filesChecked;
            std::optional<Project> found;
            try {
                found = store.load(projectId(index));
            } catch (const std::exception& error) {
                std::fprintf(stderr, "crashtest: round %d: %s does not decode: %s\n", round,
                             qPrintable(name), error.what());
            }
            if (found && *found == projectVersion(index, versions[index])) {
                ++counts.previousVersion;
            } else if (found && writing[index] &&
                       *found == projectVersion(index, *writing[index])) {
                versions[index] = *writing[index];
                ++counts.newVersion;
            } else {
                if (found)
                    std::fprintf(stderr,
                                 "crashtest: round %d: %s holds neither version %lld "
                                 "nor the one being written\n",
                                 round, qPrintable(name), qlonglong(versions[index]));
                ++counts.torn;
            }
        }
        ++counts.rounds;
    }

    const qint64 missing = qint64(counts.rounds) * projectCount - counts.filesChecked;
    std::printf("crash-test: %d rounds (seed %llu), %lld saves finished, %d kills inside a save\n"
                "  files checked %lld: previous version %lld, new version %lld, missing %lld\n"
                "  torn %d, unknown files %d\n"
                "  temporary files: %d after a kill, %d left once the store was opened again\n",
                counts.rounds, static_cast<unsigned long long>(seed),
                qlonglong(counts.savesFinished), counts.killedWhileWriting,
                qlonglong(counts.filesChecked), qlonglong(counts.previousVersion),
                qlonglong(counts.newVersion), qlonglong(missing), counts.torn, counts.unknown,
                counts.temporariesBeforeOpen, counts.temporariesAfterOpen);
    const bool failed =
        counts.torn > 0 || counts.unknown > 0 || missing > 0 || counts.temporariesAfterOpen > 0;
    std::printf("crash-test: %s\n", failed ? "FAILED" : "passed");
    return failed ? 1 : 0;
}
