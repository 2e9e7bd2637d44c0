#include "gui/report/StudyReport.h"

#include <QImage>
#include <filesystem>

#include "core/dive/StudyManifest.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "gui/report/StudyCharts.h"

namespace vk {

namespace {

constexpr int HistogramBins = 30;

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

std::string Html(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
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
.failed { color: #a00; }
.shapes span { display: inline-block; padding: 0 0.5em; margin-right: 0.3em; color: white; }
</style>)";

std::string ShapeKey()
{
    std::string key = "<p class=\"shapes\">Dive shapes: ";
    for (const char* s = ReportShapes; *s; ++s)
        key += "<span style=\"background:" + ShapeColour(*s).name().toStdString() + "\">" + *s + "</span>";
    return key + "</p>\n";
}

}  // namespace

std::string RecordPicturePath(const std::string& folder, const std::string& recording)
{
    return (std::filesystem::path(folder) / FolderName(recording) / "record.png").string();
}

bool WriteStudyReport(const std::string& folder, const std::vector<RecordingStudy>& study, std::string& error)
{
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Dive study</title>" +
                       std::string(Style) + "</head><body>\n<h1>Dive study: " + std::to_string(study.size()) +
                       " recordings</h1>\n" + ShapeKey();
    std::string table =
        "<table><tr><th>Recording</th><th>Dives</th><th>Bouts</th><th>Dives per day</th><th>Median duration "
        "[min]</th><th>Median max. depth [m]</th></tr>\n";
    std::string sections;
    for (const RecordingStudy& r : study) {
        const std::string name = FolderName(r.name), title = Html(r.name);
        if (!r.error.empty()) {
            table += "<tr class=\"failed\"><td>" + title + "</td><td colspan=\"5\">" + Html(r.error) + "</td></tr>\n";
            continue;
        }
        std::vector<double> durations, depths, pauses;
        for (const StudyDive& d : r.dives) {
            durations.push_back(d.duration / 60);
            depths.push_back(d.maxDepth);
            if (d.pause >= 0 && !d.pauseAcrossGap)
                pauses.push_back(d.pause / 60);
        }
        table += "<tr><td><a href=\"#" + name + "\">" + title + "</a></td><td>" + std::to_string(r.dives.size()) +
                 "</td><td>" + std::to_string(r.bouts.size()) + "</td><td>" + FixedText(DivesPerDay(r), 1) +
                 "</td><td>" + FixedText(SpreadOf(durations).median, 2) + "</td><td>" +
                 FixedText(SpreadOf(depths).median, 1) + "</td></tr>\n";
        const std::string base = (std::filesystem::path(folder) / name).string() + "/";
        const std::pair<QImage, const char*> pictures[] = {
            {DepthAgainstDuration(r), "depth-duration.png"},
            {HistogramChart(HistogramOf(durations, HistogramBins), "Dive duration", "Duration [min]"), "duration.png"},
            {HistogramChart(HistogramOf(depths, HistogramBins), "Maximum depth", "Maximum depth [m]"), "depth.png"},
            {HistogramChart(HistogramOf(pauses, HistogramBins), "Post-dive interval", "Interval after the dive [min]"),
             "pause.png"},
            {DielChart(DielCounts(r.dives)), "diel.png"},
            {BoutTimeline(r), "bouts.png"}};
        for (const auto& [image, file] : pictures)
            if (!Save(image, base + file, error))
                return false;
        sections += "<h2 id=\"" + name + "\">" + title + "</h2>\n<p>" + std::to_string(r.dives.size()) + " dives, " +
                    std::to_string(r.bouts.size()) + " bouts";
        if (r.start >= 0 && r.end > r.start)
            sections += ", recorded " + DateText(r.start, '.') + " " + ClockText(r.start) + " to " +
                        DateText(r.end, '.') + " " + ClockText(r.end);
        sections += ".</p>\n";
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
                    "/pause.png\" alt=\"Histogram of post-dive interval\">"
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
