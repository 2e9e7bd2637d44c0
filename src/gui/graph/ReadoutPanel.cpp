#include "gui/graph/ReadoutPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vk {

namespace {

constexpr int FieldWidthChars = 20;  // a value with its sign and decimals, a date, a duration
constexpr int ReadoutPointSize = 8;
constexpr int MinProgressWidth = 60;  // px: "n dives, halted" and the bar
constexpr int GroupSpacing = 12;

QLineEdit* Field(QWidget* parent, const char* name, const char* hint = nullptr)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    if (hint)
        field->setToolTip(hint);
    QFont font = field->font();
    font.setPointSize(ReadoutPointSize);
    field->setFont(font);
    field->setFixedWidth(field->fontMetrics().averageCharWidth() * FieldWidthChars);
    return field;
}

// Three rows under one caption at their left: value, time, date.
ReadoutPanel::Column ColumnOf(QWidget* parent, QHBoxLayout* row, const char* caption,
                              const std::array<const char*, 3>& names, const char* hint = nullptr)
{
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    grid->addWidget(new QLabel(caption, parent), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    ReadoutPanel::Column c{Field(parent, names[0], hint), Field(parent, names[1]), Field(parent, names[2])};
    grid->addWidget(c.value, 0, 1);
    grid->addWidget(c.time, 1, 1);
    grid->addWidget(c.date, 2, 1);
    grid->setColumnMinimumWidth(0, 18);
    row->addLayout(grid);
    row->addStretch(1);
    return c;
}

QCheckBox* Check(QWidget* parent, QHBoxLayout* row, const char* name, const char* text, const char* hint)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setFocusPolicy(Qt::NoFocus);
    row->addWidget(box);
    return box;
}

}  // namespace

const char* ShapeButtonName(int code)
{
    static const char* const names[ShapeButtonCount] = {"shape.v",        "shape.u", "shape.y",   "shape.w",
                                                        "shape.parabola", "shape.l", "shape.none"};
    return code >= 0 && code < ShapeButtonCount ? names[code] : "";
}

ReadoutPanel::ReadoutPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("readoutPanel");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 0, 4, 0);
    outer->setSpacing(2);
    auto* row = new QHBoxLayout;
    row->setSpacing(GroupSpacing);
    outer->addLayout(row);

    cursorF4 = ColumnOf(this, row, "F4", {"cursorF4Value", "cursorF4Time", "cursorF4Date"}, "Left (F4) cursor value");
    mouse = ColumnOf(this, row, "M", {"mouseValue", "mouseTime", "mouseDate"});

    // The checks in a row, F5 - F4 under them.
    auto* checks = new QVBoxLayout;
    checks->setSpacing(2);
    auto* boxes = new QHBoxLayout;
    showDifference = Check(this, boxes, "showDifference", "Diff.", "Display differences to prec. mouse click");
    alterData = Check(this, boxes, "alterData", "Alter", "Careful ! Change data by mouse click!");
    crossLines = Check(this, boxes, "crossLines", "Crosslines", "Mouse as crosslines");
    checks->addLayout(boxes);
    spanF4F5 = Field(this, "spanF4F5", "Time F5 - F4");
    checks->addWidget(spanF4F5, 0, Qt::AlignHCenter);
    checks->addWidget(new QLabel("F5 - F4", this), 0, Qt::AlignHCenter);
    checks->addStretch();
    row->addLayout(checks);
    row->addStretch(1);

    auto* results = new QGroupBox("Results", this);
    results->setObjectName("results");
    auto* grid = new QGridLayout(results);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);
    grid->addWidget(new QLabel("MaxDepth", results), 0, 0, 1, 2);
    maxDepth = new QLineEdit(results);
    maxDepth->setObjectName("maxDepth");
    maxDepth->setReadOnly(true);
    maxDepth->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(maxDepth, 0, 2, 1, 3);
    grid->addWidget(new QLabel("[m]", results), 0, 5, 1, 2);
    const char* shapes[ShapeButtonCount][2] = {{"V", " V-shape"},     {"U", "U-shape"},        {"Y", "Y-shape"},
                                               {"W", "W dive shape"}, {"P", "Parabola-shape"}, {"L", "L-shape"},
                                               {"X", "No category"}};
    for (int k = 0; k < ShapeButtonCount; ++k) {
        auto* b = new QToolButton(results);
        b->setObjectName(ShapeButtonName(k));
        b->setText(shapes[k][0]);
        b->setToolTip(shapes[k][1]);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(b, 1, k);
        shapeButtons[static_cast<std::size_t>(k)] = b;
    }
    row->addWidget(results, 0, Qt::AlignTop);
    row->addStretch(1);

    cursorF5 = ColumnOf(this, row, "F5", {"cursorF5Value", "cursorF5Time", "cursorF5Date"});

    // Hint over Halt, the progress beside them: shown only while they mean something.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    hint = new QPushButton("Hint", this);
    hint->setObjectName("hint");
    hint->setFocusPolicy(Qt::NoFocus);
    hint->hide();
    halt = new QPushButton("Halt", this);
    halt->setObjectName("halt");
    halt->setToolTip("Stop process");
    halt->setFocusPolicy(Qt::NoFocus);
    halt->hide();
    buttons->addWidget(hint);
    buttons->addWidget(halt);
    buttons->addStretch();
    row->addLayout(buttons);
    // Hidden buttons keep their room, so the row does not jump when they show.
    for (QPushButton* b : {hint, halt}) {
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
    }

    auto* run = new QVBoxLayout;
    run->setSpacing(2);
    progressText = new QLabel(this);
    progressText->setObjectName("progressText");
    progress = new QProgressBar(this);
    progress->setObjectName("progress");
    progress->setRange(0, 100);
    progress->setMaximumHeight(14);
    progress->hide();
    QSizePolicy keep = progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress->setSizePolicy(keep);
    progressText->setMinimumWidth(MinProgressWidth);
    progress->setMinimumWidth(MinProgressWidth);
    run->addWidget(progressText);
    run->addWidget(progress);
    run->addStretch();
    row->addLayout(run);

    hintText = new QLabel(this);
    hintText->setObjectName("hintText");
    hintText->setWordWrap(true);
    hintText->setStyleSheet("color: #8b0000");
    hintText->hide();
    outer->addWidget(hintText);
    outer->addStretch();
}

}  // namespace vk
