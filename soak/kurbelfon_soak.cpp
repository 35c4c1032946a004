// Kills a saving program a thousand times and checks after each kill that the register and its
// backup are whole. `kurbelfon_soak drive FOLDER` is the program: it loads the folder like a
// start, then changes the register and saves it in a loop, printing each state it has saved.
// `kurbelfon_soak KILLS` is the controller: it starts the driver, kills it with SIGKILL at a
// random moment and checks the folder, again and again. Then the same for the call journal:
// `kurbelfon_soak journal-drive FOLDER` merges the router's list into it in a loop, and after
// each kill the journal must open unharmed (its check passed, nothing set aside) with every
// call merged before.
#include "register/CardModel.h"
#include "register/EntryLine.h"
#include "register/PhoneRegister.h"
#include "register/RegisterFile.h"
#include "router/CallJournal.h"
#include "support/FileSaver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

constexpr int Window = 200;       // entries held at a time
constexpr int LargeEvery = 97;    // every so many states one entry is very large
constexpr int LargeSize = 300000; // characters of that entry's name
constexpr int MaxDelayMs = 400;   // kills land uniformly within this time after the start

// State k holds the entries k-Window+1 .. k; the number tells an entry's index.
QStringList linesForState(int k) {
    QStringList lines;
    for (int j = std::max(0, k - Window + 1); j <= k; ++j) {
        const QString name = j % LargeEvery == 0
                                 ? QStringLiteral("Groß %1 ").arg(j) + QString(LargeSize, u'x')
                                 : QStringLiteral("Eintrag %1").arg(j);
        lines << MakeEntryLine(name, QStringLiteral("49 89 %1").arg(j), j % 2);
    }
    return lines;
}

// The state a register holds, or -1 when it is not one the driver writes.
int stateOf(const PhoneRegister& reg) {
    const QStringList lines = reg.card(1)->lines();
    int highest = -1;
    for (const QString& line : lines)
        highest = std::max(highest, GetEntryNumber(line).section(u' ', 2).toInt());
    CardModel expected;
    expected.setLines(linesForState(highest));
    return highest >= 0 && expected.lines() == lines ? highest : -1;
}

struct Loaded {
    bool ok = false;
    int state = -1;
};

Loaded load(const QString& folder, bool backup) {
    PhoneRegister reg;
    RegisterFile file(folder);
    QByteArray bytes;
    QString error;
    const QString path = backup ? file.RegisterBackupPath() : file.RegisterFilePath();
    if (!FileSaver::readFile(path, &bytes, &error))
        return {};
    QStringList problems;
    if (RegisterFile::readBytes(bytes, reg, &problems) != RegisterFile::LoadStatus::Loaded)
        return {};
    return {true, stateOf(reg)};
}

int drive(const QString& folder) {
    FileSaver::removeLeftovers(folder + QStringLiteral("Telefonregister.ini"));
    PhoneRegister reg;
    RegisterFile file(folder);
    const RegisterFile::LoadResult loaded = file.load(reg);
    int state = loaded.status == RegisterFile::LoadStatus::Loaded ? stateOf(reg) : 0;
    if (state < 0)
        return 2;
    std::printf("ready %d\n", state);
    std::fflush(stdout);
    for (;;) {
        ++state;
        reg.card(1)->setLines(linesForState(state));
        QString error;
        if (!file.save(reg, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 3;
        }
        std::printf("saved %d\n", state);
        std::fflush(stdout);
    }
}

// Lines of the form "saved N"; the last N.
int lastSaved(const QByteArray& output, int previous) {
    int last = previous;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith("saved "))
            last = line.mid(6).toInt();
    }
    return last;
}

// Hidden files of saves by any process but `running` (whose pid their names carry).
QStringList leftovers(const QString& folder, qint64 running = 0) {
    QStringList found = QDir(folder).entryList({QStringLiteral(".Telefonregister*")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    const QString own = QStringLiteral("-%1-").arg(running);
    found.removeIf([&](const QString& name) { return running > 0 && name.contains(own); });
    return found;
}

int control(int kills) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    int lastState = 0;
    int midSave = 0;
    int leftoversSeen = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess driver;
        driver.start(QCoreApplication::applicationFilePath(), {QStringLiteral("drive"), folder});
        QByteArray output;
        while (!output.contains('\n') && driver.waitForReadyRead(30000))
            output += driver.readAllStandardOutput();
        if (!output.startsWith("ready ")) {
            std::fprintf(stderr, "kill %d: the driver did not start: %s%s\n", kill,
                         output.constData(), driver.readAllStandardError().constData());
            return 1;
        }
        // The next start has cleared what the kill before left.
        const QStringList left = leftovers(folder, driver.processId());
        if (!left.isEmpty()) {
            std::fprintf(stderr, "kill %d: temp files after a start: %s\n", kill,
                         qPrintable(left.join(u' ')));
            driver.kill();
            driver.waitForFinished(30000);
            return 1;
        }
        QThread::msleep(QRandomGenerator::global()->bounded(MaxDelayMs));
        driver.kill();
        driver.waitForFinished(30000);
        lastState = lastSaved(output + driver.readAllStandardOutput(), lastState);

        const Loaded current = load(folder, false);
        if (!current.ok || (current.state != lastState && current.state != lastState + 1)) {
            std::fprintf(stderr, "kill %d: register holds state %d, last saved %d\n", kill,
                         current.state, lastState);
            return 1;
        }
        if (QFileInfo::exists(RegisterFile(folder).RegisterBackupPath()) &&
            !load(folder, true).ok) {
            std::fprintf(stderr, "kill %d: the backup does not load\n", kill);
            return 1;
        }
        midSave += current.state == lastState + 1 || !leftovers(folder).isEmpty();
        leftoversSeen += !leftovers(folder).isEmpty();
        lastState = current.state;
    }
    std::printf("%d kills inside the save loop: register and backup whole after every one; "
                "%d landed while a save was under way, %d left temp files that the next start "
                "removed; last state %d\n",
                kills, midSave, leftoversSeen, lastState);
    return 0;
}

// The router's list as it reads after call `newest`: its last calls, one a minute, newest first.
QList<JournalCall> routerList(int newest) {
    constexpr int ListSize = 400;
    QList<JournalCall> calls;
    for (int id = newest; id > std::max(0, newest - ListSize); --id) {
        JournalCall call;
        call.routerId = id;
        call.kind = id % 3 ? JournalCall::Kind::Answered : JournalCall::Kind::Missed;
        call.number = QStringLiteral("089%1").arg(id);
        call.device = QStringLiteral("FON1");
        call.start = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(60 * qint64(id));
        calls << call;
    }
    return calls;
}

constexpr int NewCallsPerList = 50;

// The newest router id, -1 when the calls from 1 up to it are not all there.
int newestCall(const CallJournal& journal) {
    const QList<JournalEntry>& entries = journal.entries();
    const int newest = entries.isEmpty() ? 0 : int(entries.first().call.routerId);
    if (entries.size() != std::min(newest, CallJournal::MaxEntries))
        return -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).call.routerId != newest - i)
            return -1;
    }
    return newest;
}

int driveJournal(const QString& folder) {
    CallJournal journal(folder + QStringLiteral("Anrufliste.db"));
    journal.open();
    int newest = newestCall(journal);
    if (!journal.storeProblem().isEmpty() || newest < 0)
        return 2;
    std::printf("ready %d\n", newest);
    std::fflush(stdout);
    for (;;) {
        newest += NewCallsPerList;
        journal.mergeRouterList(routerList(newest));
        if (!journal.storeProblem().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(journal.storeProblem()));
            return 3;
        }
        std::printf("saved %d\n", newest);
        std::fflush(stdout);
    }
}

int controlJournal(int kills) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    int lastSavedCall = 0;
    int midMerge = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess driver;
        driver.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("journal-drive"), folder});
        QByteArray output;
        while (!output.contains('\n') && driver.waitForReadyRead(30000))
            output += driver.readAllStandardOutput();
        if (!output.startsWith("ready ")) {
            std::fprintf(stderr, "kill %d: the journal's driver did not start: %s%s\n", kill,
                         output.constData(), driver.readAllStandardError().constData());
            return 1;
        }
        QThread::msleep(QRandomGenerator::global()->bounded(MaxDelayMs));
        driver.kill();
        driver.waitForFinished(30000);
        lastSavedCall = lastSaved(output + driver.readAllStandardOutput(), lastSavedCall);

        CallJournal journal(folder + QStringLiteral("Anrufliste.db"));
        journal.open();
        const int newest = newestCall(journal);
        const QStringList setAside =
            QDir(folder).entryList({QStringLiteral("Anrufliste-defekt-*")}, QDir::Files);
        if (!journal.storeProblem().isEmpty() || !setAside.isEmpty() ||
            (newest != lastSavedCall && newest != lastSavedCall + NewCallsPerList)) {
            std::fprintf(stderr, "kill %d: the journal holds up to call %d, last merged %d; %s%s\n",
                         kill, newest, lastSavedCall, qPrintable(journal.storeProblem()),
                         qPrintable(setAside.join(u' ')));
            return 1;
        }
        midMerge += newest != lastSavedCall;
        lastSavedCall = newest;
    }
    std::printf("%d kills inside the journal's merge loop: the journal opened whole after every "
                "one with every merged call; %d landed after a merge was committed but before it "
                "was reported; last call %d\n",
                kills, midMerge, lastSavedCall);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("drive"))
        return drive(args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("journal-drive"))
        return driveJournal(args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("journal"))
        return controlJournal(std::max(1, args.at(2).toInt()));
    const int kills = args.size() == 2 ? args.at(1).toInt() : 0;
    if (kills <= 0) {
        std::fprintf(stderr, "usage: kurbelfon_soak KILLS | kurbelfon_soak journal KILLS | "
                             "kurbelfon_soak drive FOLDER | kurbelfon_soak journal-drive FOLDER\n");
        return 2;
    }
    const int registerResult = control(kills);
    return registerResult != 0 ? registerResult : controlJournal(kills);
}
