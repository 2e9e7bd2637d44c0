#include "gui/calc/StatisticsWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

constexpr int Width = 340, Margin = 20, ButtonWidth = 80;
constexpr int Rows = 21;       // the window's height in lines, beside its margins
constexpr int ButtonRow = 16;  // the line the buttons stand on

}  // namespace

StatisticsWindow::StatisticsWindow(std::vector<std::string> lines, bool numbers, HelpViewer& help,
                                   std::function<bool()> exported, QWidget* parent)
        : QDialog(parent), lines_(std::move(lines))
{
    setObjectName("statisticsWindow");
    setWindowTitle("Statistics");
    setModal(true);
    const int l = lineHeight();
    // As wide as its longest line needs, and never narrower than 340.
    int width = Width;
    for (const std::string& line : lines_)
        width = std::max(width, QFontMetrics(font()).horizontalAdvance(QString::fromStdString(line)) + 2 * Margin);
    setFixedSize(width, Rows * l + Margin);
    auto button = [&](const char* text, const char* name, int x) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(x, ButtonRow * l, ButtonWidth, b->sizeHint().height());
        return b;
    };
    QPushButton* ok = button("OK", "btnOk", 10);
    QPushButton* helpButton = button("Help", "btnHelp", width - 200);
    QPushButton* exportButton = button("Export", "btnExport", width - 100);
    ok->setDefault(true);
    exportButton->setEnabled(numbers);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(helpButton, &QPushButton::clicked, this, [&help] { help.showPage("mniStatistic.rtf"); });
    connect(exportButton, &QPushButton::clicked, this, [this, exported] {
        if (exported())
            accept();
    });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

int StatisticsWindow::lineHeight() const
{
    return QFontMetrics(font()).height() * 3 / 2;  // 1.5 times the height of a letter
}

void StatisticsWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    const int l = lineHeight(), ascent = QFontMetrics(font()).ascent();
    for (std::size_t n = 0; n < lines_.size(); ++n)
        p.drawText(Margin, Margin + static_cast<int>(n) * l + ascent, QString::fromStdString(lines_[n]));
}

}  // namespace vk
