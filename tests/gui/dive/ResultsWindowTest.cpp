// Writing results from the graph window, offscreen, on a day of the example
// recording: W, the automatic analysis with Halt, bouts, the comment.

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "core/dive/DiveTable.h"
#include "core/dive/ResultStep.h"
#include "core/dive/Thumbnail.h"
#include "core/example/ExampleRecording.h"
#include "core/process/UndoStack.h"
#include "core/setup/Settings.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/HelpViewer.h"
#include "support/BatchRunner.h"
#include "support/DiveFixture.h"
#include "support/ExampleWindowTest.h"
#include "support/GuiFixture.h"
#include "support/TempDir.h"

using namespace vk;

class ResultsWindowTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void writeAppendsALinePerPress();
    void searchNextOffStaysOnTheDive();
    void aResultFileThatCannotBeWritten();
    void automaticAnalysisOverTheWholeDay();
    void haltStopsAfterTheCurrentDive();
    void onlyHaltGetsThroughWhileTheLoopRuns();
    void imagesOfAFastRunShowTheirDives();
    void boutsAndTheComment();
    void batchWritesWhatTheWindowWrites();
    void batchOnTheFurSealRecord();
    void batchFitsTheBoutCriterion();
    void batchTakesTheSuggestionWhereTheSetupLeavesTheDefaults();
    void batchGoesOnAfterARecordingThatCannotBeLoaded();
    void aSecondBatchRunStartsFreshFiles();
    void batchResultsStayByteForByte();

private:
    // Runs "&Automatic Anal. ..." from the start to `end` ms (the whole record
    // when negative); `inLoop` runs as the loop starts.
    void automatic(std::function<void()> inLoop = {}, double end = -1);
    // Runs varnik-batch on `setup`; returns its standard output, empty when it failed.
    static std::string batch(const std::string& setup);
    // A setup of the fur-seal record, copied into the test's folder (the
    // results go beside it): threshold 4 m, surface baseline, no thumbnails.
    std::string furSealSetup(int32_t wiggDuration = DiveParameters{}.WiggDuration, double threshold = 4);
};

void ResultsWindowTest::init()
{
    openExample();
}

void ResultsWindowTest::cleanup()
{
    closeExample();
}

void ResultsWindowTest::automatic(std::function<void()> inLoop, double end)
{
    window->view().at.F4 = 0;
    window->view().at.F5 = end < 0 ? window->view().T : end;
    test::WhenDialogShows([inLoop](QWidget* d) {
        auto* start = d->findChild<QPushButton*>("btnOK");
        QCOMPARE(start->text(), QString("Start"));
        if (inLoop)
            QTimer::singleShot(0, inLoop);
        start->click();
    });
    window->menus().action("analysis.automatic")->trigger();
}

void ResultsWindowTest::writeAppendsALinePerPress()
{
    wb->settings.dive.MakeImages = 1;
    key(Qt::Key_Q);
    for (int k = 0; k < 3; ++k) {
        const double onset = window->view().at.F4;
        const double maxDepth = wb->dive.record.maxDepth;
        key(Qt::Key_W);
        const std::vector<std::string> all = test::Lines(wb->settings.NameOutFile[0]);
        QCOMPARE(all.size(), static_cast<std::size_t>(k + 2));
        // The line holds the dive's values: its number, onset and maximum depth.
        const std::string& line = all.back();
        QVERIFY(line.rfind(std::to_string(k) + "\t", 0) == 0);
        QVERIFY(line.find("\t" + [&] {
            char t[32];
            std::snprintf(t, sizeof t, "%.3f", onset / 1000);
            return std::string(t);
        }() + "\t") != std::string::npos);
        char depth[32];
        std::snprintf(depth, sizeof depth, "\t%.3f\t", maxDepth);
        QVERIFY(line.find(depth) != std::string::npos);
        QVERIFY(window->view().at.F4 > onset);  // on to the next dive
    }
    QCOMPARE(test::Lines(wb->settings.NameOutFile[0]).front() + "\n", DiveHeader(wb->rec, wb->settings));
    for (int k = 0; k < 3; ++k) {
        QVERIFY(FileExists(DiveImagePath(wb->rec.desc(0).NameIn, k)));
        QVERIFY(FileExists(wb->results.thumbnailPrefix + "/" + std::to_string(k) + ".bmp"));
    }
    QVERIFY(ui->shown.empty());
}

void ResultsWindowTest::searchNextOffStaysOnTheDive()
{
    wb->settings.dive.SearchNextOff = 1;
    key(Qt::Key_Q);
    const LinePositions here = window->view().at;
    key(Qt::Key_W);
    QCOMPARE(window->view().at, here);
    QCOMPARE(test::Lines(wb->settings.NameOutFile[0]).size(), std::size_t{2});
}

void ResultsWindowTest::aResultFileThatCannotBeWritten()
{
    wb->settings.dive.MakeImages = 1;
    wb->settings.NameOutFile[0] = dir->file("open in another program/seal_Dve.xls");
    key(Qt::Key_Q);
    key(Qt::Key_W);
    QCOMPARE(ui->texts(), std::vector<std::string>{" Error: Propably result file openend\rCannot write " +
                                                   wb->settings.NameOutFile[0] + ": No such file or directory"});
    QVERIFY(FileExists(DiveImagePath(wb->rec.desc(0).NameIn, 0)));  // the image all the same
}

void ResultsWindowTest::automaticAnalysisOverTheWholeDay()
{
    wb->settings.thumbnails.Thumbnail = false;
    const double offset = wb->rec.desc(0).yOffset;
    automatic();
    const std::vector<std::string> all = test::Lines(wb->settings.NameOutFile[0]);
    QCOMPARE(all.size(), truth.size() + 1);
    QVERIFY(!window->findChild<QPushButton*>("halt")->isVisible());
    QCOMPARE(ui->statusTexts.back(), std::to_string(truth.size()) + " dives analysed");
    QVERIFY(ui->shown.empty());
    QVERIFY(FileExists(wb->results.wiggles));

    // One Undo takes back the whole run: the cursors and every baseline shift.
    QVERIFY(wb->rec.desc(0).yOffset != offset);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(wb->rec.desc(0).yOffset, offset);
    QCOMPARE(window->view().at.F4, 0.0);
    QCOMPARE(window->view().at.F5, window->view().T);
}

void ResultsWindowTest::onlyHaltGetsThroughWhileTheLoopRuns()
{
    wb->settings.thumbnails.Thumbnail = false;
    int steps = -1;
    automatic([this, &steps] {
        // W, Ctrl+Z, their menu items and closing the window, all while the
        // loop runs: none of them may act on the dive in hand or the result buffer.
        steps = window->undoStack()->top();
        key(Qt::Key_W);
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_B, Qt::ControlModifier);
        window->menus().action("analysis.write-results")->trigger();
        window->menus().action("process.undo")->trigger();
        window->menus().action("analysis.automatic")->trigger();
        QVERIFY(!window->close());
        QCOMPARE(window->undoStack()->top(), steps);
        auto* halt = window->findChild<QPushButton*>("halt");
        QVERIFY(halt->isVisible());
        QTest::mouseClick(halt, Qt::LeftButton);  // a real click: the one input let through
    });
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(steps >= 0);
    // Halt is answered after the first dive, and that dive is written once.
    QCOMPARE(test::Lines(wb->settings.NameOutFile[0]).size(), std::size_t{2});
    QVERIFY(std::find(ui->statusTexts.begin(), ui->statusTexts.end(),
                      "The automatic analysis is running: press Halt to stop it.") != ui->statusTexts.end());
    QCOMPARE(QString::fromStdString(ui->statusTexts.back()), QString("1 dive analysed, halted"));
    QCOMPARE(window->findChild<QLabel*>("progressText")->text(), QString("1 dive, halted"));
    QVERIFY(!window->findChild<QPushButton*>("halt")->isVisible());
    // Afterwards keys and menus work again.
    key(Qt::Key_W);
    QCOMPARE(test::Lines(wb->settings.NameOutFile[0]).size(), std::size_t{3});
}

void ResultsWindowTest::haltStopsAfterTheCurrentDive()
{
    wb->settings.thumbnails.Thumbnail = false;
    automatic([this] {
        auto* halt = window->findChild<QPushButton*>("halt");
        QVERIFY(halt->isVisible());
        halt->click();
    });
    // Halt is answered after the first dive, and that dive is written.
    QCOMPARE(test::Lines(wb->settings.NameOutFile[0]).size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(ui->statusTexts.back()), QString("1 dive analysed, halted"));
    QCOMPARE(window->findChild<QLabel*>("progressText")->text(), QString("1 dive, halted"));
    QVERIFY(!window->findChild<QPushButton*>("halt")->isVisible());
}

void ResultsWindowTest::imagesOfAFastRunShowTheirDives()
{
    // Without visualisation the window is not redrawn dive by dive; each image
    // must still show its dive, as a run with visualisation does.
    auto run = [this](bool visualise) {
        wb->settings.dive.Visualise = visualise ? 1 : 0;
        wb->settings.dive.MakeImages = 1;
        wb->settings.thumbnails.Thumbnail = false;
        automatic({}, (truth[2].end + 30) * 1000.0);
        std::vector<QImage> images;
        for (int n = 0; n < 3; ++n)
            images.emplace_back(QString::fromStdString(DiveImagePath(wb->rec.desc(0).NameIn, n)));
        return images;
    };
    const std::vector<QImage> shown = run(true);
    cleanup();
    init();
    const std::vector<QImage> fast = run(false);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        QVERIFY(!shown[k].isNull());
        QVERIFY2(fast[k] == shown[k], std::to_string(k).c_str());
    }
}

void ResultsWindowTest::boutsAndTheComment()
{
    ui->inputs = {std::string("calm sea")};
    key(Qt::Key_C);
    QCOMPARE(wb->dive.comment, std::string("calm sea"));
    key(Qt::Key_Q);
    key(Qt::Key_W);
    QVERIFY(test::Lines(wb->settings.NameOutFile[0]).back().size() > 8);
    QVERIFY(test::Lines(wb->settings.NameOutFile[0]).back().find("\tcalm sea") != std::string::npos);

    // Bouts: the first Ctrl+B frames, the second writes the first bout.
    window->view().at.F5 = 0;
    key(Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!FileExists(wb->results.bouts));
    key(Qt::Key_B, Qt::ControlModifier);
    const std::vector<std::string> bouts = test::Lines(wb->results.bouts);
    QCOMPARE(bouts.size(), std::size_t{2});
    int inFirstBout = 0;
    for (const example::DiveTruth& d : truth)
        inFirstBout += d.bout == truth.front().bout;
    QVERIFY(bouts[1].rfind("1\t", 0) == 0);
    QVERIFY(bouts[1].find("\t" + std::to_string(inFirstBout) + "\t") != std::string::npos);
    key(Qt::Key_F, Qt::ControlModifier);  // skipped: nothing written
    QCOMPARE(test::Lines(wb->results.bouts).size(), std::size_t{2});
}

std::string ResultsWindowTest::batch(const std::string& setup)
{
    const test::BatchRun run = test::RunBatch({QString::fromStdString(setup)});
    if (run.exitCode != 0) {
        qWarning("%s", run.err.c_str());
        return {};
    }
    return run.out;
}

std::string ResultsWindowTest::furSealSetup(int32_t wiggDuration, double threshold)
{
    Recording rec;
    Settings settings;
    test::AllocateAll(rec, 4);
    ChannelDescriptor& d = rec.desc(0);
    d.NameIn = dir->file("furseal-5s.csv");
    if (!FileExists(d.NameIn))
        std::filesystem::copy_file(VARNIK_TEST_DATA "/furseal-5s.csv", d.NameIn);
    d.HeaderText = 1;
    d.InDelimiter = ';';
    d.SampRate = 5000;
    d.ColumnValue = 3;
    rec.at(1).ChannelUsed = rec.at(2).ChannelUsed = false;
    settings.dive.Threshold = threshold;
    settings.dive.TrekBaseline = 1;
    settings.dive.WiggDuration = wiggDuration;
    settings.thumbnails.Thumbnail = false;
    const std::string setup = dir->file("furseal.set");
    if (WriteSetup(setup, rec, settings) != SetupWriteResult::Written)
        qFatal("cannot write %s", setup.c_str());
    return setup;
}

namespace {

std::string Contents(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// SHA-256 of a file's bytes, in hex; empty for a file that is not there.
std::string FileHash(const std::string& file)
{
    if (!FileExists(file))
        return {};
    return QCryptographicHash::hash(QByteArray::fromStdString(Contents(file)), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

}  // namespace

void ResultsWindowTest::batchWritesWhatTheWindowWrites()
{
    QVERIFY(wb->settings.thumbnails.Thumbnail);
    QCOMPARE(WriteSetup(files.setup, wb->rec, wb->settings), SetupWriteResult::Written);
    automatic();
    const std::string dives = wb->settings.NameOutFile[0];
    const std::string fromWindow = Contents(dives), wigglesFromWindow = Contents(wb->results.wiggles);
    QVERIFY(!fromWindow.empty());
    const std::string& thumbnails = wb->results.thumbnailPrefix;
    const std::vector<int> numbers{0, 1, static_cast<int>(truth.size()) - 1};
    std::vector<std::string> thumbnailsFromWindow;
    for (const int n : numbers)
        thumbnailsFromWindow.push_back(Contents(ThumbnailFile(thumbnails, n)));
    QVERIFY(!thumbnailsFromWindow.back().empty());
    std::filesystem::remove(dives);
    std::filesystem::remove(wb->results.wiggles);
    std::filesystem::remove_all(thumbnails);

    const std::string out = batch(files.setup);
    QVERIFY2(out.find(": " + std::to_string(truth.size()) + " dives, ") != std::string::npos, out.c_str());
    QCOMPARE(Contents(dives), fromWindow);
    QCOMPARE(Contents(wb->results.wiggles), wigglesFromWindow);
    // Thumbnails drawn offscreen show what the window's show.
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const std::string file = ThumbnailFile(thumbnails, numbers[k]);
        QVERIFY2(Contents(file) == thumbnailsFromWindow[k], file.c_str());
    }
    // The bouts of the run: one line per bout of the example, each naming its dives.
    const std::vector<std::string> bouts = test::Lines(wb->results.bouts);
    QCOMPARE(bouts.size(), static_cast<std::size_t>(truth.back().bout - truth.front().bout + 2));
    int counted = 0;
    for (std::size_t k = 1; k < bouts.size(); ++k)
        counted += std::stoi(test::Cells(bouts[k]).at(5));
    QCOMPARE(counted, static_cast<int>(truth.size()));
}

namespace {

// The cells of the one recording line of a study's recordings.tsv, by column name.
std::map<std::string, std::string> RecordingCells(const std::string& study)
{
    const std::vector<std::string> lines = test::Lines(study + "/recordings.tsv");
    std::map<std::string, std::string> cells;
    if (lines.size() == 2) {
        const std::vector<std::string> names = test::Cells(lines[0]), values = test::Cells(lines[1]);
        for (std::size_t k = 0; k < names.size() && k < values.size(); ++k)
            cells[names[k]] = values[k];
    }
    return cells;
}

}  // namespace

void ResultsWindowTest::batchFitsTheBoutCriterion()
{
    const auto recording = RecordingCells;
    const std::string setup = furSealSetup();
    const test::BatchRun fixed =
        test::RunBatch({"--study", QString::fromStdString(dir->file("fixed")), QString::fromStdString(setup)});
    QCOMPARE(fixed.exitCode, 0);
    const std::string divesFixed = FileHash(dir->file("furseal-5s_Dve.xls"));
    std::map<std::string, std::string> r = recording(dir->file("fixed"));
    QCOMPARE(r["BoutPause[s]"], std::string("300"));
    QVERIFY(r["BoutFit"].empty() && r["BoutCriterion[s]"].empty() && r["BoutFitP"].empty());
    const int fixedBouts = std::stoi(r["Bouts"]);

    const test::BatchRun fit =
        test::RunBatch({"--bout-criterion", "fit", "--study", QString::fromStdString(dir->file("fit")),
                        QString::fromStdString(setup)});
    QCOMPARE(fit.exitCode, 0);
    qInfo("%s", fit.out.c_str());
    QVERIFY2(fit.out.find(", bout criterion p ") != std::string::npos, fit.out.c_str());
    r = recording(dir->file("fit"));
    QCOMPARE(r["BoutFit"], std::string("fitted"));
    const double criterion = std::stod(r["BoutCriterion[s]"]);
    QVERIFY2(criterion > 30 && criterion < 600, r["BoutCriterion[s]"].c_str());
    QCOMPARE(std::stoi(r["BoutPause[s]"]), static_cast<int>(std::lround(criterion)));
    const double p = std::stod(r["BoutFitP"]), fast = std::stod(r["BoutFitFast[1/s]"]),
                 slow = std::stod(r["BoutFitSlow[1/s]"]);
    QVERIFY(p > 0 && p < 1 && fast > slow && slow > 0);
    // The criterion is where the two written processes cross.
    QVERIFY(std::fabs(std::log(p * fast / ((1 - p) * slow)) / (fast - slow) - criterion) < 0.5);
    // The bouts follow the fitted pause, the dives are the same.
    const int fitBouts = std::stoi(r["Bouts"]);
    QCOMPARE(static_cast<int>(test::Lines(dir->file("fit") + "/bouts.tsv").size()) - 1, fitBouts);
    QCOMPARE(static_cast<int>(test::Lines(dir->file("furseal-5s_Dve_Bout.xls")).size()) - 1, fitBouts);
    QVERIFY(fitBouts != fixedBouts);
    QCOMPARE(FileHash(dir->file("furseal-5s_Dve.xls")), divesFixed);

    // A run whose pauses are too few keeps the fixed pause and says why.
    const test::BatchRun few =
        test::RunBatch({"--bout-criterion", "fit", "--study", QString::fromStdString(dir->file("few")),
                        QString::fromStdString(furSealSetup(DiveParameters{}.WiggDuration, 60))});
    QCOMPARE(few.exitCode, 0);
    r = recording(dir->file("few"));
    QCOMPARE(r["BoutFit"], std::string("too few"));
    QCOMPARE(r["BoutPause[s]"], std::string("300"));
    QVERIFY(r["BoutCriterion[s]"].empty());
    QVERIFY2(few.err.find("The bouts keep the pause of 300 s.") != std::string::npos, few.err.c_str());
    // A criterion that is neither fit nor fixed is refused.
    QCOMPARE(test::RunBatch({"--bout-criterion", "fitted", QString::fromStdString(setup)}).exitCode, 2);
}

// --suggest replaces what the setup leaves as the program has it, says so,
// and the study's recording line gives the parameters used.
void ResultsWindowTest::batchTakesTheSuggestionWhereTheSetupLeavesTheDefaults()
{
    const std::string setup = furSealSetup(DiveParameters{}.WiggDuration, DiveParameters{}.Threshold);
    const QString study = QString::fromStdString(dir->file("suggested"));
    const test::BatchRun run = test::RunBatch({"--suggest", "--study", study, QString::fromStdString(setup)});
    QCOMPARE(run.exitCode, 0);
    // The surface baseline is the setup's own: not named.
    QVERIFY2(run.out.find("suggested by the record: threshold 4 m, end of dive over 2 samples, wiggles over 10 s\n") !=
                 std::string::npos,
             run.out.c_str());
    std::map<std::string, std::string> r = RecordingCells(study.toStdString());
    QCOMPARE(r["Threshold[m]"], std::string("4.000"));
    QCOMPARE(r["SurfaceBaseline"], std::string("1"));
    QCOMPARE(r["EndOfDive[samples]"], std::string("2"));
    QCOMPARE(r["Suggested"], std::string("threshold 4 m, end of dive over 2 samples, wiggles over 10 s"));
    QCOMPARE(r["Dives"], std::string("426"));

    // A setup that sets them keeps them.
    const std::string mine = furSealSetup(10, 5);
    const test::BatchRun kept = test::RunBatch({"--suggest", "--study", study, QString::fromStdString(mine)});
    QCOMPARE(kept.exitCode, 0);
    QVERIFY2(kept.out.find("suggested by the record: end of dive over 2 samples\n") != std::string::npos,
             kept.out.c_str());
    r = RecordingCells(study.toStdString());
    QCOMPARE(r["Threshold[m]"], std::string("5.000"));
}

void ResultsWindowTest::batchOnTheFurSealRecord()
{
    const std::string setup = furSealSetup();

    const test::BatchRun run = test::RunBatch({QString::fromStdString(setup)});
    QCOMPARE(run.exitCode, 0);
    const std::string& out = run.out;
    QVERIFY2(out.find(": 421 dives, ") != std::string::npos, out.c_str());
    qInfo("%s", out.c_str());
    // The dives to look at again: one line each on standard error, the same marked in the table.
    std::size_t listed = 0;
    for (std::size_t at = run.err.find(": check Dive "); at != std::string::npos;
         at = run.err.find(": check Dive ", at + 1))
        ++listed;
    const std::vector<std::string> all = test::Lines(dir->file("furseal-5s_Dve.xls"));
    QCOMPARE(all.size(), std::size_t{422});
    const std::vector<std::string> header = test::Cells(all.front());
    auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    const std::size_t maxDepth = column("MaxDepth[m]"), duration = column("Duration[s]"), check = column("Check");
    QVERIFY(maxDepth < header.size() && duration < header.size() && check < header.size());
    std::size_t marked = 0;
    for (std::size_t k = 1; k < all.size(); ++k) {
        const std::vector<std::string> cells = test::Cells(all[k]);
        QCOMPARE(cells.size(), header.size());
        QCOMPARE(std::stoi(cells[0]), static_cast<int>(k - 1));
        const double depth = std::stod(cells[maxDepth]), seconds = std::stod(cells[duration]);
        // With the surface baseline on, only shallow dives near the threshold are doubtful here.
        if (!cells[check].empty()) {
            ++marked;
            QVERIFY2(depth < 8, all[k].c_str());
        }
        QVERIFY(depth > 0 && depth < 200);
        QVERIFY(seconds > 0);
        QVERIFY2(seconds <= 1800, all[k].c_str());  // the seal ashore is no dive
        if (depth > 8)                              // real dives, not the ripples around the threshold
            QVERIFY2(seconds <= 600, all[k].c_str());
    }
    QVERIFY(marked > 0);
    QCOMPARE(listed, marked);
}

void ResultsWindowTest::batchGoesOnAfterARecordingThatCannotBeLoaded()
{
    const std::string missing = dir->file("missing.cfg");
    Recording rec;
    Settings settings;
    QVERIFY(ReadSetup(files.setup, rec, settings));
    for (int slot = 0; slot < SlotCount; ++slot)
        rec.desc(slot).NameIn = dir->file("gone.txt");
    QCOMPARE(WriteSetup(missing, rec, settings), SetupWriteResult::Written);

    const std::string text = dir->write("notes.cfg", "Seal 12, deployed at the colony\r\n");
    const test::BatchRun run =
        test::RunBatch({QString::fromStdString(dir->file("nothere.cfg")), QString::fromStdString(missing),
                        QString::fromStdString(text), QString::fromStdString(files.setup)});
    QCOMPARE(run.exitCode, 1);
    // Each refused setup named with the reason: not there, or not a setup file (its first line shown).
    QVERIFY2(run.err.find("Cannot read the setup file " + dir->file("nothere.cfg") + ": it does not exist") !=
                 std::string::npos,
             run.err.c_str());
    QVERIFY2(run.err.find("Cannot read the setup file " + text +
                          ": it is not a setup file: its line 1 reads \"Seal 12, deployed at the colony\" where a "
                          "setup file begins with \"Varnik Setup File\"") != std::string::npos,
             run.err.c_str());
    QVERIFY2(run.err.find("Cannot load the recording of " + missing) != std::string::npos, run.err.c_str());
    // The recording after them still ran.
    QVERIFY2(run.out.find(files.setup + ": " + std::to_string(truth.size()) + " dives, ") != std::string::npos,
             run.out.c_str());
    QCOMPARE(test::Lines(wb->settings.NameOutFile[0]).size(), truth.size() + 1);

    // --help: the usage on standard output, and success.
    const test::BatchRun help = test::RunBatch({"--help"}, false);
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.rfind("usage: varnik-batch", 0) == 0, help.out.c_str());
    QVERIFY(help.out.find("--describe") != std::string::npos);
    QCOMPARE(help.err, std::string());
}

void ResultsWindowTest::aSecondBatchRunStartsFreshFiles()
{
    wb->settings.thumbnails.Thumbnail = false;
    QCOMPARE(WriteSetup(files.setup, wb->rec, wb->settings), SetupWriteResult::Written);
    const QString setup = QString::fromStdString(files.setup);
    const std::string dives = wb->settings.NameOutFile[0];
    QCOMPARE(test::RunBatch({setup}).exitCode, 0);
    const std::vector<std::string> first = test::Lines(dives);
    QCOMPARE(first.size(), truth.size() + 1);

    // Run again, its progress going to a log file rather than a terminal.
    const test::BatchRun again = test::RunBatch({setup}, false);
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(test::Lines(dives), first);         // the same dives once, not twice
    QCOMPARE(test::Lines(dives + ".1"), first);  // the earlier results kept beside them
    QVERIFY(FileExists(wb->results.wiggles + ".1"));
    QVERIFY(again.err.find("earlier results kept as " + dives + ".1") != std::string::npos);
    QVERIFY2(again.err.find('\r') == std::string::npos, again.err.c_str());  // no bar redrawn in a log

    // A third run: the older results move on to ".2".
    QCOMPARE(test::RunBatch({setup}).exitCode, 0);
    QCOMPARE(test::Lines(dives + ".2"), first);

    // Asked to, it appends.
    QCOMPARE(test::RunBatch({"--append", setup}).exitCode, 0);
    QCOMPARE(test::Lines(dives).size(), 2 * truth.size() + 1);
}

// The result files of the example day and of the fur-seal record, byte for
// byte as the program wrote them when these hashes were taken: a change that
// should not touch results (a reorganisation, a speed-up) must keep them.
void ResultsWindowTest::batchResultsStayByteForByte()
{
    wb->settings.thumbnails.Thumbnail = false;
    QCOMPARE(WriteSetup(files.setup, wb->rec, wb->settings), SetupWriteResult::Written);
    QCOMPARE(test::RunBatch({QString::fromStdString(files.setup)}).exitCode, 0);
    const std::vector<std::string> example{FileHash(wb->settings.NameOutFile[0]), FileHash(wb->results.wiggles),
                                           FileHash(wb->results.bouts)};

    const std::string setup = furSealSetup(10);  // wiggles over two samples
    QCOMPARE(test::RunBatch({QString::fromStdString(setup)}).exitCode, 0);
    const std::vector<std::string> seal{FileHash(dir->file("furseal-5s_Dve.xls")),
                                        FileHash(dir->file("furseal-5s_Dve_Wigg.xls")),
                                        FileHash(dir->file("furseal-5s_Dve_Bout.xls"))};
    // Dive, wiggle and bout files (the dive files with their Check column).
    QCOMPARE(example, (std::vector<std::string>{"0b32741e1f645b91d678bd3d14a52132aee3ed8be18ff511644f1ab83ec10acf",
                                                "2d35059c3904bcdaf11dd1b284edadcb0789e5b5c73b80d787ac5ce4403d07d7",
                                                "05633a990128c7aef136b7de91b852efe10d5f5c96167f8cf5eb8529c3d55fbb"}));
    QCOMPARE(seal, (std::vector<std::string>{"dd222f91a8b3fedbd048c6311767ff3fe4c5505f7bd2900c85575d034525aac9",
                                             "1ef88c2b699fd323a6622bd89154e7aab3f5cb62a5ac0d81c4ef913abb0a21bd",
                                             "67e0c9c6a8c024ceeef33945d605fcbf2ed99352bd91dadbca45f8bc71000d3e"}));
}

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
