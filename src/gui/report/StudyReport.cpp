#include "gui/report/StudyReport.h"

#include <QImage>
#include <filesystem>

#include "core/dive/StudyManifest.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "gui/report/ReportText.h"
#include "gui/report/StudyCharts.h"

namespace vk {

namespace {

constexpr int HistogramBins = 30;
constexpr int PauseBinsPerDecade = 8;

// A recording's name as a folder name: letters, digits, '.', '-' and '_'.
// A name that needed other characters replaced gets a checksum of itself
// appended, so that "seal one" and "seal_one", or two names in another
// script, never share a folder.
std::string FolderName(const std::string& recording)
{
    std::string name = recording.empty() ? "recording" : recording;
    bool replaced = false;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') {
            c = '_';
            replaced = true;
        }
    return replaced ? name + "-" + Checksum(recording).substr(0, 8) : name;
}

bool Save(const QImage& image, const std::string& path, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (image.save(QString::fromStdString(path), "PNG"))
        return true;
    error = "Cannot write " + path;
    return false;
}

const char* const Style = R"(<style>
body { font-family: sans-serif; margin: 2em; color: #222; }
img { max-width: 100%; border: 1px solid #ddd; margin: 0.3em 0; }
table { border-collapse: collapse; margin: 1em 0; }
td, th { border: 1px solid #ccc; padding: 0.25em 0.6em; text-align: right; }
th:first-child, td:first-child { text-align: left; }
.pair img { width: 48%; }
.failed, .warn { color: #a00; }
.shapes span { display: inline-block; padding: 0 0.5em; color: white; }
.shapes td, .shapes th { text-align: left; }
.shapes img { border: none; margin: 0; }
.facts th { text-align: left; font-weight: normal; color: #555; }
.facts td { text-align: left; }
.checks td:last-child { text-align: left; }
.legend { max-width: 60em; }
</style>)";

// What a recording's pictures and its row of the side-by-side table are drawn from.
struct RecordingValues {
    std::vector<double> durations, depths, pauses;  // min, m, s
    int toCheck = 0;
};

RecordingValues ValuesOf(const RecordingStudy& r)
{
    RecordingValues v;
    for (const StudyDive& d : r.dives) {
        v.durations.push_back(d.duration / 60);
        v.depths.push_back(d.maxDepth);
        if (d.pause >= 0 && !d.pauseAcrossGap)
            v.pauses.push_back(d.pause);
        v.toCheck += d.check.empty() ? 0 : 1;
    }
    return v;
}

std::string ShapeFile(char shape)
{
    return std::string("shapes/") + shape + ".png";
}

}  // namespace

std::string RecordPicturePath(const std::string& folder, const std::string& recording)
{
    return (std::filesystem::path(folder) / FolderName(recording) / "record.png").string();
}

bool DrawRecordingPictures(const std::string& folder, const RecordingStudy& r, std::string& error)
{
    if (!r.facts.error.empty())
        return true;
    const RecordingValues f = ValuesOf(r);
    const std::string base = (std::filesystem::path(folder) / FolderName(r.name)).string() + "/";
    const std::pair<QImage, const char*> pictures[] = {
        {DepthAgainstDuration(r), "depth-duration.png"},
        {HistogramChart(HistogramOf(f.durations, HistogramBins), "Dive duration", "Duration [min]"), "duration.png"},
        {HistogramChart(HistogramOf(f.depths, HistogramBins), "Maximum depth", "Maximum depth [m]"), "depth.png"},
        {LogDurationChart(LogHistogramOf(f.pauses, PauseBinsPerDecade), "Pause before the dive",
                          "Pause before the dive (logarithmic; pauses across gaps left out)"),
         "pause.png"},
        {DielChart(DielCounts(r.dives)), "diel.png"},
        {BoutTimeline(r), "bouts.png"}};
    for (const auto& [image, file] : pictures)
        if (!Save(image, base + file, error))
            return false;
    return true;
}

bool WriteStudyReport(const std::string& folder, const std::vector<RecordingStudy>& study, std::string& error,
                      bool recordingPicturesDrawn)
{
    for (const char* shape = ReportShapes; *shape; ++shape)
        if (!Save(ShapePicture(*shape), (std::filesystem::path(folder) / ShapeFile(*shape)).string(), error))
            return false;
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Dive study</title>" +
                       std::string(Style) + "</head><body>\n<h1>Dive study: " + std::to_string(study.size()) +
                       (study.size() == 1 ? " recording" : " recordings") +
                       "</h1>\n<h2>Reading this report</h2>\n<p>Each dive is drawn in the colour of its "
                       "shape:</p>\n" +
                       ShapeLegend(ShapeFile) + CheckLegend();
    std::string table =
        "<table><tr><th>Recording</th><th>Dives</th><th>Bouts</th><th>Dives per day</th><th>Median duration "
        "[min]</th><th>Median max. depth [m]</th><th>To check</th></tr>\n";
    std::string sections;
    for (const RecordingStudy& r : study) {
        const std::string name = FolderName(r.name), title = Html(r.name);
        if (!r.facts.error.empty()) {
            table +=
                "<tr class=\"failed\"><td>" + title + "</td><td colspan=\"6\">" + Html(r.facts.error) + "</td></tr>\n";
            continue;
        }
        const RecordingValues values = ValuesOf(r);
        table += "<tr><td><a href=\"#" + name + "\">" + title + "</a></td><td>" + std::to_string(r.dives.size()) +
                 "</td><td>" + std::to_string(r.bouts.size()) + "</td><td>" + FixedText(DivesPerDay(r), 1) +
                 "</td><td>" + FixedText(SpreadOf(values.durations).median, 2) + "</td><td>" +
                 FixedText(SpreadOf(values.depths).median, 1) + "</td><td>" + std::to_string(values.toCheck) +
                 "</td></tr>\n";
        if (!recordingPicturesDrawn && !DrawRecordingPictures(folder, r, error))
            return false;
        sections += "<h2 id=\"" + name + "\">" + title + "</h2>\n<p>" + std::to_string(r.dives.size()) + " dives, " +
                    std::to_string(r.bouts.size()) + " bouts";
        if (const RecordingSummary& f = r.facts; Known(f.start) && Known(f.end) && f.end > f.start)
            sections += ", recorded " + DateText(f.start, '.') + " " + ClockText(f.start) + " to " +
                        DateText(f.end, '.') + " " + ClockText(f.end);
        sections += ".</p>\n" + FactsTable(r) + ChecksSection(r);
        if (FileExists(RecordPicturePath(folder, r.name)))
            sections += "<img src=\"" + name + "/record.png\" alt=\"The depth record of " + title + "\">\n";
        sections += "<div class=\"pair\"><img src=\"" + name +
                    "/depth-duration.png\" alt=\"Maximum depth against "
                    "duration\"> <img src=\"" +
                    name + "/diel.png\" alt=\"Dives per hour of day\"></div>\n";
        sections += "<div class=\"pair\"><img src=\"" + name +
                    "/duration.png\" alt=\"Histogram of duration\"> <img "
                    "src=\"" +
                    name + "/depth.png\" alt=\"Histogram of maximum depth\"></div>\n";
        sections += "<div class=\"pair\"><img src=\"" + name +
                    "/pause.png\" alt=\"Histogram of the pauses before the dives\">"
                    "</div>\n<img src=\"" +
                    name + "/bouts.png\" alt=\"Bouts over the record\">\n";
    }
    table += "</table>\n";
    if (!Save(StudyComparison(study), (std::filesystem::path(folder) / "study.png").string(), error))
        return false;
    page += "<h2>The recordings side by side</h2>\n" + table +
            "<img src=\"study.png\" alt=\"Dives per day, duration and depth per recording\">\n" + sections +
            "</body></html>\n";
    const std::string index = (std::filesystem::path(folder) / "index.html").string();
    if (!ReplaceFileContents(index, page)) {
        error = "Cannot write " + index;
        return false;
    }
    return true;
}

}  // namespace vk
