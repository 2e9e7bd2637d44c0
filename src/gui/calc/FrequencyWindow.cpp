#include "gui/calc/FrequencyWindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/store/NumberText.h"
#include "core/view/RedrawRequest.h"
#include "gui/calc/ClickTools.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumberField.h"

namespace vk {

namespace {

constexpr double LeastSensitivity = 0.1, MostSensitivity = 2.0;
constexpr const char* OutOfRange = "The sensitivity must be a number from 0.1 to 2.0.";

}  // namespace

FrequencyWindow::FrequencyWindow(GraphWindow& window, ClickTools& tools)
        : QDialog(&window, Qt::Tool | Qt::WindowStaysOnTopHint), window_(window), tools_(tools)
{
    setObjectName("frequencyWindow");
    setWindowTitle("Frequency");
    setAttribute(Qt::WA_DeleteOnClose);
    sensitivity_ = new QLineEdit;
    sensitivity_->setObjectName("edtSensitivity");
    memo_ = new QPlainTextEdit;
    memo_->setObjectName("memResults");
    memo_->setReadOnly(true);
    // The values in one column, after the longest of the names.
    memo_->setTabStopDistance(memo_->fontMetrics().horizontalAdvance("Avg. Peak-to-peak value") + 12);
    insert_ = new QRadioButton("Insert tag by left click");
    insert_->setObjectName("rbtInsertTag");
    discard_ = new QRadioButton("Discard tag by left click");
    discard_->setObjectName("rbtDiscardTag");
    auto* none = new QRadioButton("No action on click");
    none->setObjectName("rbtNoAction");
    none->setChecked(true);
    tools_.tagClick = TagClick::None;
    auto clickMode = [this] {
        tools_.tagClick = insert_->isChecked()    ? TagClick::Insert
                          : discard_->isChecked() ? TagClick::Discard
                                                  : TagClick::None;
    };
    for (QRadioButton* r : {insert_, discard_, none})
        connect(r, &QRadioButton::toggled, this, clickMode);
    auto button = [this](const char* text, const char* name) { return NamedButton(this, text, name); };
    QPushButton* calc = button("Calc. frequency", "btnCalc");
    QPushButton* discardAllButton = button("Discard all tags", "btnDiscardAll");
    QPushButton* exportButton = button("Export Results", "btnExport");
    QPushButton* exit = button("Exit", "btnExit");
    connect(calc, &QPushButton::clicked, this, &FrequencyWindow::calculate);
    connect(discardAllButton, &QPushButton::clicked, this, &FrequencyWindow::discardAll);
    connect(exportButton, &QPushButton::clicked, this, &FrequencyWindow::exportResults);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    tools_.tagsChanged = [this] { showResults(); };

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Sensitivity (0.1...2.0)"), 0, 0);
    grid->addWidget(sensitivity_, 0, 1);
    grid->addWidget(calc, 0, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(memo_);
    for (QWidget* w : {static_cast<QWidget*>(insert_), static_cast<QWidget*>(discard_), static_cast<QWidget*>(none)})
        layout->addWidget(w);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {discardAllButton, exportButton, exit})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    sensitivity_->setText(QString::fromStdString(GeneralText(window_.workbench().settings.FrequSensibility)));
    showResults();
}

FrequencyWindow::~FrequencyWindow()
{
    // Closing ends the tag clicks.
    tools_.tagClick = TagClick::None;
    tools_.tagsChanged = nullptr;
}

void FrequencyWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        sensitivity_->setText(QString::fromStdString(GeneralText(window_.workbench().settings.FrequSensibility)));
    QDialog::changeEvent(event);
}

// The buttons run as commands of the graph window: busy cursor, the seam, one redraw.
void FrequencyWindow::calculate()
{
    window_.runCommand([this](CommandContext& cx) {
        const std::optional<double> s = NumberIn(sensitivity_, cx.ui);
        if (!s)
            return CommandResult{};
        if (!(*s >= LeastSensitivity && *s <= MostSensitivity)) {
            cx.ui.message(OutOfRange, Severity::Error);
            return CommandResult{};
        }
        cx.settings().FrequSensibility = *s;
        tools_.tags = CalcFrequency(cx.rec, cx.view.active, cx.view.at.F4, cx.view.at.F5, *s, &cx.ui);
        return CommandResult{redraw::ActiveChannel};
    });
    FollowTagList(window_.menus(), tools_.tags);
    showResults();
}

void FrequencyWindow::discardAll()
{
    window_.runCommand([this](CommandContext&) {
        tools_.tags.tags.clear();
        tools_.tags.results = ResultsOf(tools_.tags.tags, tools_.tags.interval);
        return CommandResult{redraw::AllStrips};
    });
    showResults();
}

void FrequencyWindow::exportResults()
{
    window_.runCommand([this](CommandContext& cx) {
        if (tools_.tags.tags.empty()) {
            ExportFrequency(tools_.tags, {}, cx.ui);  // says there is nothing
            return CommandResult{};
        }
        FileRequest request{"Save frequencies in: ", cx.wb.results.frequency, "Text files (*.txt *.xls);;All files (*)",
                            true};
        if (const std::optional<std::string> file = cx.ui.chooseFile(request))
            ExportFrequency(tools_.tags, *file, cx.ui);
        return CommandResult{};
    });
}

void FrequencyWindow::showResults()
{
    QString text;
    for (const std::string& line : FrequencyLines(tools_.tags.results))
        text += QString::fromStdString(line) + "\n";
    memo_->setPlainText(text);
}

}  // namespace vk
