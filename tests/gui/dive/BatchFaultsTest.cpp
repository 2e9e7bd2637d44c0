// varnik-batch under faults: a full disk, a file-size limit, an interrupted
// or killed run, two setups on one data file, a study folder it cannot write.
// Whatever happens, a result file is whole or not there, the earlier ones
// stay as they were, and the failure is said with its reason and exit status 1.

#include <QDir>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <set>
#include <map>
#include <sys/resource.h>
#include <sys/statvfs.h>

#include "core/example/ExampleRecording.h"
#include "support/BatchRunner.h"
#include "support/TempDir.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t RoomLeft = 48 * 1024;  // bytes left on the full disk: the run starts, its tables do not fit
constexpr rlim_t FileSizeLimit = 60 * 1024;     // bytes: under the dive table of the example recording

// Every file of the folder's tree and its bytes, by path relative to it.
std::map<std::string, std::string> Files(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = test::TempDir::read(entry.path().string());
    return files;
}

// The result files and the folders of pictures, without the recording's own.
std::map<std::string, std::string> Results(const std::string& folder)
{
    std::map<std::string, std::string> files = Files(folder);
    for (const char* own : {"seal-example.txt", "seal-example.cfg", "seal-example.dives", "filler"})
        files.erase(own);
    return files;
}

// The setup file with the key's value replaced.
void SetKey(const std::string& setup, const std::string& key, const std::string& value)
{
    std::string text = test::TempDir::read(setup);
    const std::size_t at = text.find("\n" + key + "\t");
    QVERIFY(at != std::string::npos);
    const std::size_t end = text.find('\n', at + 1);
    text.replace(at + 1, end - at - 1, key + "\t" + value);
    std::ofstream(setup, std::ios::binary) << text;
}

// The last cell of recordings.tsv's k-th recording line: its Error.
std::string ErrorCell(const std::string& study, std::size_t k = 0)
{
    const std::vector<std::string> lines = test::Lines(study + "/recordings.tsv");
    return lines.size() > k + 1 ? test::Cells(lines[k + 1]).back() : std::string("(no line)");
}

bool Mount(const std::string& folder, const std::string& size)
{
    QProcess mount;
    mount.start("mount", {"-t", "tmpfs", "-o", QString::fromStdString("size=" + size), "tmpfs",
                          QString::fromStdString(folder)});
    return mount.waitForFinished(30000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
}

void Unmount(const std::string& folder)
{
    QProcess::execute("umount", {QString::fromStdString(folder)});
}

}  // namespace

class BatchFaultsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFullDiskFailsTheRecordingAndKeepsTheEarlierResults();
    void aFileSizeLimitFailsTheRecordingAndAnAppendWritesNothing();
    void anInterruptedOrKilledRunLeavesTheEarlierResults();
    void twoSetupsOnOneDataFileAndAnUnwritableStudy();
    void aKilledWorkerIsNamed();
    void anAbsurdValueAndAShortLine();
    void reportFoldersOfLikeNamesStayApart();
};

void BatchFaultsTest::aFullDiskFailsTheRecordingAndKeepsTheEarlierResults()
{
    test::TempDir dir;
    const std::string disk = dir.file("disk");
    fs::create_directories(disk);
    if (!Mount(disk, "16m"))
        QSKIP("a tmpfs cannot be mounted here (not root, or mount refused)");
    struct Unmounted {
        std::string folder;
        ~Unmounted() { Unmount(folder); }
    } unmounted{disk};
    const example::ExampleFiles files = example::WriteExample(disk);
    const QString setup = QString::fromStdString(files.setup);
    QCOMPARE(test::RunBatch({setup}).exitCode, 0);
    const std::map<std::string, std::string> earlier = Results(disk);
    QVERIFY(earlier.count("seal-example_Dve.xls"));

    // The disk fills up: a filler leaves a few kilobytes.
    struct statvfs fsInfo {};
    QCOMPARE(statvfs(disk.c_str(), &fsInfo), 0);
    const std::uintmax_t free = std::uintmax_t{fsInfo.f_bavail} * fsInfo.f_frsize;
    QVERIFY(free > RoomLeft);
    std::ofstream(disk + "/filler", std::ios::binary) << std::string(free - RoomLeft, 'f');
    const std::string study = dir.file("study");
    const test::BatchRun full = test::RunBatch({"--study", QString::fromStdString(study), setup});
    QCOMPARE(full.exitCode, 1);
    QVERIFY2(full.err.find("No space left on device") != std::string::npos, full.err.c_str());
    QVERIFY2(full.out.find(" dives, ") == std::string::npos, full.out.c_str());  // no count of a run that failed
    const std::string error = ErrorCell(study);
    QVERIFY2(error.find("No space left on device") != std::string::npos, error.c_str());
    QVERIFY2(error.find(disk) != std::string::npos, error.c_str());  // the file named
    QCOMPARE(test::Lines(study + "/dives.tsv").size(), std::size_t{1});  // no dive of a recording not whole
    QVERIFY(Results(disk) == earlier);  // nothing replaced, nothing half-written, nothing left over
}

void BatchFaultsTest::aFileSizeLimitFailsTheRecordingAndAnAppendWritesNothing()
{
    test::TempDir dir;
    const example::ExampleFiles files = example::WriteExample(dir.file("rec"));
    const QString setup = QString::fromStdString(files.setup);
    QCOMPARE(test::RunBatch({setup}).exitCode, 0);
    const std::map<std::string, std::string> earlier = Results(dir.file("rec"));
    const std::size_t lines = test::Lines(dir.file("rec/seal-example_Dve.xls")).size();
    auto limited = [] {
        const rlimit small{FileSizeLimit, FileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &small);
    };
    const std::string study = dir.file("study");
    for (const QStringList& mode : {QStringList{}, QStringList{"--append"}}) {
        const test::BatchRun run = test::RunBatch(mode + QStringList{"--study", QString::fromStdString(study), setup},
                                                  true, QProcessEnvironment::systemEnvironment(), limited);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.find("File too large") != std::string::npos, run.err.c_str());
        const std::string error = ErrorCell(study);
        QVERIFY2(error.find("Cannot write " + dir.file("rec/seal-example_Dve")) == 0 &&
                     error.find("File too large") != std::string::npos,
                 error.c_str());
        QVERIFY(Results(dir.file("rec")) == earlier);
    }
    // Without the limit the append adds the recording's lines once.
    QCOMPARE(test::RunBatch({"--append", setup}).exitCode, 0);
    const std::vector<std::string> appended = test::Lines(dir.file("rec/seal-example_Dve.xls"));
    QCOMPARE(appended.size(), 2 * lines - 1);
}

void BatchFaultsTest::anInterruptedOrKilledRunLeavesTheEarlierResults()
{
    test::TempDir dir;
    const example::ExampleFiles files = example::WriteExample(dir.file("rec"));
    QCOMPARE(test::RunBatch({QString::fromStdString(files.setup)}).exitCode, 0);
    // Pictures of every dive make the run last long enough to be interrupted.
    SetKey(files.setup, "MakeImages", "1");
    const std::string images = dir.file("rec/images");
    for (const int sig : {SIGINT, SIGTERM, SIGKILL}) {
        fs::remove_all(images);
        const std::map<std::string, std::string> earlier = Results(dir.file("rec"));
        QProcess run;
        run.start(test::BatchProgram(), {"--quiet", QString::fromStdString(files.setup)});
        QVERIFY(run.waitForStarted());
        // Some dives in: their pictures are written, the tables are not yet in place.
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(images) && std::distance(fs::directory_iterator(images),
                                                                      fs::directory_iterator{}) >= 20,
                                 60000);
        QVERIFY(run.state() == QProcess::Running);
        ::kill(static_cast<pid_t>(run.processId()), sig);
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::CrashExit);
        std::map<std::string, std::string> after = Results(dir.file("rec"));
        std::erase_if(after, [](const auto& f) { return f.first.rfind("images/", 0) == 0; });
        if (sig == SIGKILL)  // no clean-up possible: a left-over says what it is and takes no final name
            std::erase_if(after, [](const auto& f) { return f.first.find(".partial-") != std::string::npos; });
        QString differ;
        for (const auto& [name, bytes] : after)
            if (!earlier.count(name) || earlier.at(name) != bytes)
                differ += QString::fromStdString(" " + name);
        for (const auto& [name, bytes] : earlier)
            if (!after.count(name))
                differ += QString::fromStdString(" -" + name);
        QVERIFY2(after == earlier, qPrintable(QString("signal %1:").arg(sig) + differ));
    }
}

void BatchFaultsTest::twoSetupsOnOneDataFileAndAnUnwritableStudy()
{
    test::TempDir dir;
    const example::ExampleFiles files = example::WriteExample(dir.file("rec"));
    const std::string again = dir.file("again.cfg");
    fs::copy_file(files.setup, again);
    const std::string study = dir.file("study");
    const test::BatchRun run = test::RunBatch(
        {"-j", "1", "--study", QString::fromStdString(study), QString::fromStdString(files.setup),
         QString::fromStdString(again)});
    QCOMPARE(run.exitCode, 1);
    const std::string refusal = ErrorCell(study, 1);
    QVERIFY2(refusal.find("writes the same result files as " + files.setup) != std::string::npos, refusal.c_str());
    QCOMPARE(ErrorCell(study, 0), std::string());
    // Each dive once in the dive table.
    const std::vector<std::string> dives = test::Lines(dir.file("rec/seal-example_Dve.xls"));
    QVERIFY(dives.size() > 100);
    std::set<std::string> numbers;
    for (std::size_t k = 1; k < dives.size(); ++k)
        QVERIFY(numbers.insert(test::Cells(dives[k]).front()).second);

    // A study folder that cannot be made is found before anything is analysed.
    fs::remove(dir.file("rec/seal-example_Dve.xls"));
    const std::string blocked = dir.write("blocked", "a file where the folder should be");
    const test::BatchRun refused =
        test::RunBatch({"--study", QString::fromStdString(blocked + "/study"), QString::fromStdString(files.setup)});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.find("Cannot make the folder " + blocked + "/study") == 0, refused.err.c_str());
    QVERIFY(!fs::exists(dir.file("rec/seal-example_Dve.xls")));
}

void BatchFaultsTest::aKilledWorkerIsNamed()
{
    test::TempDir dir;
    QStringList setups;
    for (const char* name : {"a", "b"}) {
        const example::ExampleFiles files = example::WriteExample(dir.file(name));
        SetKey(files.setup, "MakeImages", "1");
        setups << QString::fromStdString(files.setup);
    }
    QProcess run;
    run.start(test::BatchProgram(), QStringList{"--quiet", "-j", "2"} + setups);
    QVERIFY(run.waitForStarted());
    // The workers, found by their parent: named as the program.
    std::vector<pid_t> workers;
    std::string named;
    auto findWorkers = [&] {
        workers.clear();
        for (const auto& entry : fs::directory_iterator("/proc")) {
            std::ifstream stat(entry.path() / "stat");
            std::string pid, comm, state;
            long parent = 0;
            if (stat >> pid >> comm >> state >> parent && parent == run.processId()) {
                named = comm;
                workers.push_back(static_cast<pid_t>(std::stol(pid)));
            }
        }
        return workers.size() == 2;
    };
    QTRY_VERIFY_WITH_TIMEOUT(findWorkers(), 30000);
    QCOMPARE(named, std::string("(varnik-batch)"));
    ::kill(workers[0], SIGKILL);
    QVERIFY(run.waitForFinished(120000));
    QCOMPARE(run.exitCode(), 1);
    const QString err = QString::fromUtf8(run.readAllStandardError());
    QVERIFY2(err.contains("was killed (signal 9"), qPrintable(err));
}

void BatchFaultsTest::anAbsurdValueAndAShortLine()
{
    test::TempDir dir;
    const example::ExampleFiles files = example::WriteExample(dir.file("rec"));
    // Line 1003 holds 1e308 for its depth, line 2003 ends after its time (a truncated write).
    std::vector<std::string> lines = test::Lines(files.data);
    std::vector<std::string> cells = test::Cells(lines[1002]);
    cells[2] = "1e308";
    lines[1002] = cells[0] + "\t" + cells[1] + "\t" + cells[2] + "\t" + cells[3] + "\t" + cells[4] + "\r";
    cells = test::Cells(lines[2002]);
    lines[2002] = cells[0] + "\t" + cells[1] + "\r";
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    std::ofstream(files.data, std::ios::binary) << text;
    const QString setup = QString::fromStdString(files.setup);
    const QString study = QString::fromStdString(dir.file("study"));

    const test::BatchRun refused = test::RunBatch({"--study", study, setup});
    QCOMPARE(refused.exitCode, 1);
    const std::string error = ErrorCell(dir.file("study"));
    QVERIFY2(error.find("line 1003 holds 1e+308") != std::string::npos && error.find("refused") != std::string::npos,
             error.c_str());
    QVERIFY(!fs::exists(dir.file("rec/seal-example_Dve.xls")));

    const test::BatchRun taken = test::RunBatch({"--outliers", "missing", "--study", study, setup});
    QCOMPARE(taken.exitCode, 0);
    QVERIFY2(taken.err.find("1 value lies outside") != std::string::npos &&
                 taken.err.find("(line 1003). They are taken as missing.") != std::string::npos,
             taken.err.c_str());
    QVERIFY2(taken.err.find("1 line ends before column 3: its value is taken as missing (line 2003).") !=
                 std::string::npos,
             taken.err.c_str());
    QCOMPARE(ErrorCell(dir.file("study")), std::string());
    const std::vector<std::string> recordings = test::Lines(dir.file("study/recordings.tsv"));
    const std::vector<std::string> header = test::Cells(recordings[0]);
    const auto cell = [&](const char* name) {
        const auto column = std::find(header.begin(), header.end(), name) - header.begin();
        return test::Cells(recordings[1])[static_cast<std::size_t>(column)];
    };
    QCOMPARE(cell("MissingSamples"), std::string("2"));
    QCOMPARE(cell("Gaps"), std::string("2"));  // the two lines are apart
    QVERIFY(test::Lines(dir.file("rec/seal-example_Dve.xls")).size() > 200);  // the dives found as without them

    // No dive lasts as long as the setup asks, though the record goes deep: said in the summary and the table.
    SetKey(files.setup, "Dive MinDiveDur", "86400");
    const test::BatchRun none = test::RunBatch({"--outliers", "missing", "--study", study, setup});
    QCOMPARE(none.exitCode, 0);
    QVERIFY2(none.out.find(": 0 dives, 0 bouts") != std::string::npos &&
                 none.out.find("no dive found, though the depth reaches ") != std::string::npos,
             none.out.c_str());
    const std::vector<std::string> noted = test::Lines(dir.file("study/recordings.tsv"));
    QVERIFY2(test::Cells(noted[1])[test::Cells(noted[1]).size() - 2].find("past the threshold of 5 m") !=
                 std::string::npos,
             noted[1].c_str());

    // A setup line whose value cannot be read is named, and the note says the program's value was used.
    SetKey(files.setup, "Dive MinDiveDur", "six");
    const test::BatchRun unreadable = test::RunBatch({"--outliers", "missing", "--study", study, setup});
    QCOMPARE(unreadable.exitCode, 0);
    QVERIFY2(unreadable.err.find("\"Dive MinDiveDur six\" cannot be read: the program's own value is used") !=
                 std::string::npos,
             unreadable.err.c_str());
    const std::vector<std::string> unreadNote = test::Lines(dir.file("study/recordings.tsv"));
    QVERIFY2(unreadNote[1].find("1 setup line not read (line ") != std::string::npos, unreadNote[1].c_str());
}

void BatchFaultsTest::reportFoldersOfLikeNamesStayApart()
{
    // "seal one" and "seal_one" once shared a folder, and so did any two names in another script.
    test::TempDir dir;
    QStringList setups;
    const char* const names[] = {"seal one", "seal_one", "тюлень", "морж"};
    for (std::size_t k = 0; k < std::size(names); ++k) {
        const example::ExampleFiles files = example::WriteExample(dir.file("rec" + std::to_string(k)), 1);
        const std::string setup = dir.file(std::string(names[k]) + ".cfg");
        fs::rename(files.setup, setup);
        setups << QString::fromStdString(setup);
    }
    const std::string report = dir.file("report");
    const test::BatchRun run = test::RunBatch(QStringList{"-j", "1", "--report", QString::fromStdString(report)} + setups);
    QCOMPARE(run.exitCode, 0);
    std::set<std::string> folders;
    for (const auto& entry : fs::directory_iterator(report))
        if (entry.is_directory() && fs::exists(entry.path() / "record.png"))
            folders.insert(entry.path().filename().string());
    QCOMPARE(folders.size(), std::size(names));
    QVERIFY(folders.count("seal_one"));  // a name that needs nothing replaced keeps it
}

}  // namespace vk

QTEST_MAIN(vk::BatchFaultsTest)
#include "BatchFaultsTest.moc"
