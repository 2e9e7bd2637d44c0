// Whole studies with varnik-batch: recordings in parallel, the study tables,
// and a cluster's tasks merged, on three generated recordings with a missing
// data file and a malformed setup among them.

#include <QCryptographicHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <map>

#include "core/example/ExampleRecording.h"
#include "support/BatchRunner.h"
#include "support/TempDir.h"

namespace vk {

namespace fs = std::filesystem;

class BatchStudyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void parallelRunsWriteWhatOneAtATimeWrites();
    void studyTablesReadBackWithPython();
    void tasksMergedGiveTheSameTables();
    void aReportToLookAt();

private:
    // SHA-256 of every result file the recordings' folders hold, by path.
    std::map<std::string, QByteArray> resultHashes() const;
    // A study table with the Seconds column emptied: the one cell that differs between runs.
    static std::vector<std::string> WithoutSeconds(const std::string& file);
    QStringList arguments(const QStringList& before) const;

    test::TempDir dir;
    QStringList setups;
    std::vector<std::string> folders;
};

void BatchStudyTest::initTestCase()
{
    for (const char* name : {"a", "b", "c"}) {
        const example::ExampleFiles files = example::WriteExample(dir.file(name), name[0] - 'a' + 1);
        const std::string setup = dir.file(std::string("seal-") + name + ".cfg");
        fs::rename(files.setup, setup);
        setups << QString::fromStdString(setup);
        folders.push_back(dir.file(name));
    }
    // A data file that is not there and a setup that is no setup, among the others.
    const std::string missing = dir.write("missing.cfg", test::TempDir::read(setups[0].toStdString()));
    std::string text = test::TempDir::read(missing);
    const std::size_t at = text.find(dir.file("a") + "/seal-example.txt");
    QVERIFY(at != std::string::npos);
    text.replace(at, dir.file("a").size(), dir.file("gone"));
    dir.write("missing.cfg", text);
    setups.insert(1, QString::fromStdString(missing));
    setups.insert(3, QString::fromStdString(dir.write("malformed.cfg", "this is not a setup\n")));
}

QStringList BatchStudyTest::arguments(const QStringList& before) const
{
    return before + setups;
}

std::map<std::string, QByteArray> BatchStudyTest::resultHashes() const
{
    std::map<std::string, QByteArray> hashes;
    for (const std::string& folder : folders)
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            const bool result = name.find("_Dve") != std::string::npos || entry.path().extension() == ".bmp";
            if (entry.is_regular_file() && result && name.back() != '1')  // not the earlier ones kept as ".1"
                hashes[entry.path().string()] = QCryptographicHash::hash(
                    QByteArray::fromStdString(test::TempDir::read(entry.path().string())), QCryptographicHash::Sha256);
        }
    return hashes;
}

std::vector<std::string> BatchStudyTest::WithoutSeconds(const std::string& file)
{
    std::vector<std::string> lines = test::Lines(file);
    if (fs::path(file).filename() != "recordings.tsv" || lines.empty())
        return lines;
    const std::vector<std::string> header = test::Cells(lines[0]);
    const std::size_t seconds = std::find(header.begin(), header.end(), "Seconds") - header.begin();
    for (std::string& line : lines) {
        std::vector<std::string> cells = test::Cells(line);
        if (cells.size() > seconds)
            cells[seconds].clear();
        line.clear();
        for (std::size_t k = 0; k < cells.size(); ++k)
            line += (k ? "\t" : "") + cells[k];
    }
    return lines;
}

void BatchStudyTest::parallelRunsWriteWhatOneAtATimeWrites()
{
    const test::BatchRun one =
        test::RunBatch(arguments({"-j", "1", "--study", QString::fromStdString(dir.file("one"))}));
    QCOMPARE(one.exitCode, 1);  // two recordings failed, the others ran
    const std::map<std::string, QByteArray> first = resultHashes();
    QVERIFY(first.size() >= 3 * 4);  // dive, wiggle and bout tables and thumbnails of each recording

    const test::BatchRun three =
        test::RunBatch(arguments({"-j3", "--study", QString::fromStdString(dir.file("three"))}));
    QCOMPARE(three.exitCode, 1);
    QVERIFY2(three.out.find("seal-c.cfg: ") != std::string::npos, three.out.c_str());
    QVERIFY(resultHashes() == first);
    for (const char* table : {"dives.tsv", "bouts.tsv", "recordings.tsv"})
        QVERIFY2(WithoutSeconds(dir.file("one/") + table) == WithoutSeconds(dir.file("three/") + table), table);
    std::size_t leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir.file("three")))
        leftovers += entry.is_directory();
    QCOMPARE(leftovers, std::size_t{0});  // the workers' parts are gone

    // recordings.tsv: a line per setup in their order; the failures say why.
    const std::vector<std::string> recordings = test::Lines(dir.file("three/recordings.tsv"));
    QCOMPARE(recordings.size(), std::size_t{6});
    const std::vector<std::string> header = test::Cells(recordings[0]);
    QCOMPARE(header.front(), std::string("Recording"));
    QCOMPARE(header.back(), std::string("Error"));
    const std::vector<std::string> names{"seal-a", "missing", "seal-b", "malformed", "seal-c"};
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::vector<std::string> cells = test::Cells(recordings[k + 1]);
        QCOMPARE(cells.size(), header.size());
        QCOMPARE(cells[0], names[k]);
        const bool failed = names[k] == "missing" || names[k] == "malformed";
        QCOMPARE(cells.back().empty(), !failed);
        if (!failed)
            QVERIFY(std::stoi(cells[6]) > 10);  // dives
    }
    const std::string missing = test::Cells(recordings[2]).back();
    QVERIFY2(
        missing.find("The depth channel of") == 0 && missing.find("no file " + dir.file("gone")) != std::string::npos,
        missing.c_str());
    QVERIFY2(test::Cells(recordings[4]).back().find("Cannot read the setup file") == 0, recordings[4].c_str());
    // The dives of each recording follow one another with the recording's name in front.
    std::map<std::string, int> dives;
    for (const std::string& line : test::Lines(dir.file("three/dives.tsv")))
        ++dives[test::Cells(line).front()];
    QCOMPARE(dives.size(), std::size_t{4});
    for (std::size_t k : {0u, 2u, 4u})
        QCOMPARE(dives[names[k]], std::stoi(test::Cells(recordings[k + 1])[6]));
}

void BatchStudyTest::studyTablesReadBackWithPython()
{
    const std::string study = dir.file("one");
    if (!fs::exists(study + "/dives.tsv"))
        QSKIP("the study tables are made by the parallel test");
    // The csv module as a researcher's script would use it: every row as long
    // as the header, numbers where the header promises them.
    const char* script = R"(
import csv, sys
folder = sys.argv[1]
def read(name):
    with open(folder + "/" + name, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, delimiter="\t"))
    header, body = rows[0], rows[1:]
    for r in body:
        assert len(r) == len(header), (name, len(r), len(header))
    return header, body
def numbers(header, body, columns):
    for c in columns:
        k = header.index(c)
        for r in body:
            if r[k] != "":
                float(r[k])
h, b = read("dives.tsv")
numbers(h, b, ["Dive", "Onset[s]", "Duration[s]", "MaxDepth[m]", "Pause[s]", "BottomMean[m]"])
assert {r[h.index("Shape")] for r in b} <= set("VUYWPLX")
h, b = read("bouts.tsv")
numbers(h, b, ["Bout", "Duration[s]", "Dives", "DivesPerHour"])
h, b = read("recordings.tsv")
numbers(h, b, ["Samples", "Interval[s]", "Dives", "Bouts", "MissingSamples", "Gaps", "Threshold[m]",
               "EndOfDive[samples]", "Seconds"])
assert [r[0] for r in b] == ["seal-a", "missing", "seal-b", "malformed", "seal-c"], [r[0] for r in b]
print(len(b), "recordings read")
)";
    QProcess python;
    python.start("python3", {"-c", script, QString::fromStdString(study)});
    if (!python.waitForStarted())
        QSKIP("python3 is not installed");
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    QCOMPARE(python.readAllStandardOutput().trimmed(), QByteArray("5 recordings read"));
}

void BatchStudyTest::tasksMergedGiveTheSameTables()
{
    std::string list;
    for (const QString& s : setups)
        list += fs::path(s.toStdString()).filename().string() + "\n";  // names beside the list
    const QString listFile = QString::fromStdString(dir.write("setups.txt", "# the study\n" + list));
    const QString study = QString::fromStdString(dir.file("tasks"));
    for (int task = 1; task <= setups.size(); ++task) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("SLURM_ARRAY_TASK_ID", QString::number(task));
        // The first task is named on the command line, the others come from the variable.
        const QStringList taskArguments = task == 1 ? QStringList{"--study", study, "--task", "1", listFile}
                                                    : QStringList{"--study", study, "--task", listFile};
        const test::BatchRun run = test::RunBatch(taskArguments, true, environment);
        QCOMPARE(run.exitCode, task == 2 || task == 4 ? 1 : 0);
    }
    QVERIFY(!fs::exists(study.toStdString() + "/dives.tsv"));
    const test::BatchRun merged = test::RunBatch({"--merge", study});
    QVERIFY2(merged.exitCode == 0, merged.err.c_str());
    for (const char* table : {"dives.tsv", "bouts.tsv", "recordings.tsv"})
        QVERIFY2(WithoutSeconds(study.toStdString() + "/" + table) == WithoutSeconds(dir.file("one/") + table), table);

    // A task beyond the list, and a merge without tasks, say why.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SLURM_ARRAY_TASK_ID", "9");
    const test::BatchRun beyond = test::RunBatch({"--task", listFile}, true, environment);
    QCOMPARE(beyond.exitCode, 2);
    QVERIFY2(beyond.err.find("lists 5 setups") != std::string::npos, beyond.err.c_str());
    const test::BatchRun empty = test::RunBatch({"--merge", QString::fromStdString(dir.file("nothing"))});
    QCOMPARE(empty.exitCode, 1);
    QVERIFY(empty.err.find("no task tables") != std::string::npos);
}

namespace {

// The pictures a page shows, from its <img src="..."> tags.
QStringList Pictures(const QString& page)
{
    QStringList found;
    static const QRegularExpression img("<img src=\"([^\"]+)\"");
    for (auto m = img.globalMatch(page); m.hasNext();)
        found << m.next().captured(1);
    return found;
}

}  // namespace

void BatchStudyTest::aReportToLookAt()
{
    if (!fs::exists(dir.file("one/dives.tsv")) || !fs::exists(dir.file("tasks/parts")))
        QSKIP("the report is compared with the tables of the tests before it");
    const QString report = QString::fromStdString(dir.file("report"));
    const test::BatchRun run = test::RunBatch(arguments({"-j", "2", "--report", report}));
    QCOMPARE(run.exitCode, 1);  // the two recordings that failed
    const QString page = QString::fromStdString(test::TempDir::read(dir.file("report/index.html")));
    QVERIFY(page.startsWith("<!DOCTYPE html>"));
    QVERIFY(!page.contains("<script") && !page.contains("http"));  // nothing from elsewhere
    for (const char* name : {"seal-a", "seal-b", "seal-c", "missing", "malformed"})
        QVERIFY2(page.contains(name), name);
    QVERIFY(page.contains("Cannot read the setup file"));
    // Every picture is there, drawn, of a size to look at; each record with its dives;
    // a small one of each shape in the legend.
    const QStringList pictures = Pictures(page);
    QCOMPARE(pictures.size(), 7 + 1 + 3 * 7);
    for (const QString& file : pictures) {
        const QImage image(report + "/" + file);
        const bool legend = file.startsWith("shapes/");
        QVERIFY2(!image.isNull() && image.width() >= (legend ? 60 : 600) && image.height() >= (legend ? 30 : 300),
                 qPrintable(file));
        // Drawn: more than a background and one more colour on it.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 2, qPrintable(file));
    }
    QVERIFY(pictures.contains("seal-b/record.png"));
    // The study tables went beside it, as with --study.
    QVERIFY2(WithoutSeconds(dir.file("report/dives.tsv")) == WithoutSeconds(dir.file("one/dives.tsv")),
             "the report's tables");
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        for (const QString& file : {QString("seal-b/record.png"), QString("study.png")})
            QImage(report + "/" + file).save(QString::fromUtf8(folder) + "/report-" + QString(file).replace('/', '-'));

    // The merged cluster tasks make the same page.
    const test::BatchRun merged =
        test::RunBatch({"--merge", QString::fromStdString(dir.file("tasks")), "--report", report + "-tasks"});
    QVERIFY2(merged.exitCode == 0, merged.err.c_str());
    const QString mergedPage = QString::fromStdString(test::TempDir::read(dir.file("report-tasks/index.html")));
    QCOMPARE(Pictures(mergedPage).size(), pictures.size() - 3);  // the records are drawn by the tasks that had them
}

}  // namespace vk

QTEST_MAIN(vk::BatchStudyTest)
#include "BatchStudyTest.moc"
