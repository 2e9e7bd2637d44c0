#include "gui/app/ReadLayoutDialog.h"

#include <QBrush>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/files/ParseColumn.h"
#include "core/store/Channel.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "gui/app/ChannelTab.h"
#include "gui/widgets/DialogButtons.h"

namespace vk {

namespace {

constexpr int ShownLines = 30;
const char* const SlotRoles[SlotCount] = {"depth", "temperature", "channel 3"};
const QColor ThisChannel(0xcf, 0xe2, 0xff), OtherChannel(0xd9, 0xf2, 0xd9), TimeColumns(0xff, 0xf0, 0xb8);

QString ColumnName(const FileLayout& layout, int column)
{
    const auto k = static_cast<std::size_t>(column - 1);
    const QString name = k < layout.names.size() ? QString::fromStdString(layout.names[k]) : QString();
    return name.isEmpty() ? QString("column %1").arg(column) : QString("column %1 \"%2\"").arg(column).arg(name);
}

QString Swatch(const QColor& color, const QString& text)
{
    return QString("<span style=\"background-color:%1\">&nbsp;%2&nbsp;</span>").arg(color.name(), text.toHtmlEscaped());
}

// What is proposed, in words.
QString Summary(const FileLayout& layout, const Recording& proposal, int slot, const std::string& problem)
{
    QStringList lines;
    lines << QString("Separator: %1    Header lines: %2    Columns: %3")
                 .arg(DelimiterText(layout.separator))
                 .arg(layout.headerLines)
                 .arg(layout.columns);
    const int column = layout.slotColumns[static_cast<std::size_t>(slot)];
    lines << QString("This channel: %1").arg(column > 0 ? ColumnName(layout, column) : QString("no column of numbers"));
    if (layout.timeColumn == 0) {
        lines << "Times: none in the lines; give the start and the sampling rate on the tab.";
    } else {
        QString times = layout.dateColumn > 0 ? QString("dates in %1, times in %2")
                                                    .arg(ColumnName(layout, layout.dateColumn))
                                                    .arg(ColumnName(layout, layout.timeColumn))
                                              : QString("times in %1").arg(ColumnName(layout, layout.timeColumn));
        lines << "Times: " + times;
        if (!problem.empty()) {
            lines << QString::fromStdString(problem);
        } else if (column > 0) {
            const ChannelView channel(proposal, slot);
            lines << QString("Start: %1    Interval: %2 ms")
                         .arg(QString::fromStdString(FormatDateTime(proposal.desc(slot).StartTime, '.')))
                         .arg(QString::fromStdString(GeneralText(channel.interval())));
        }
    }
    return lines.join('\n');
}

QTableWidget* LinesTable(const FileLayout& layout, int slot)
{
    const int rows = std::min<int>(static_cast<int>(layout.firstLines.size()), ShownLines);
    auto* table = new QTableWidget(rows, layout.columns);
    table->setObjectName("layoutTable");
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    QStringList headers;
    for (int c = 1; c <= layout.columns; ++c) {
        const auto k = static_cast<std::size_t>(c - 1);
        headers << (k < layout.names.size() && !layout.names[k].empty()
                        ? QString("%1: %2").arg(c).arg(QString::fromStdString(layout.names[k]))
                        : QString::number(c));
    }
    table->setHorizontalHeaderLabels(headers);
    QStringList rowNames;
    for (int r = 0; r < rows; ++r)
        rowNames << (r < layout.headerLines ? QString("header") : QString::number(r + 1));
    table->setVerticalHeaderLabels(rowNames);
    for (int r = 0; r < rows; ++r) {
        const std::string& line = layout.firstLines[static_cast<std::size_t>(r)];
        for (int c = 1; c <= layout.columns; ++c) {
            auto* item =
                new QTableWidgetItem(QString::fromStdString(std::string(ColumnText(line, c, layout.separator))));
            if (r < layout.headerLines) {
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
                item->setForeground(QBrush(Qt::darkGray));
            }
            if (c == layout.slotColumns[static_cast<std::size_t>(slot)])
                item->setBackground(ThisChannel);
            else if (c == layout.timeColumn || c == layout.dateColumn)
                item->setBackground(TimeColumns);
            else if (std::find(layout.slotColumns.begin(), layout.slotColumns.end(), c) != layout.slotColumns.end())
                item->setBackground(OtherChannel);
            table->setItem(r, c - 1, item);
        }
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

}  // namespace

ReadLayoutDialog::ReadLayoutDialog(const FileLayout& layout, const Recording& proposal, int slot,
                                   const std::string& problem, QWidget* parent)
        : QDialog(parent)
{
    setObjectName("readLayoutDialog");
    setWindowTitle("Read layout");
    auto* box = new QVBoxLayout(this);
    auto* summary = new QLabel(Summary(layout, proposal, slot, problem));
    summary->setObjectName("layoutSummary");
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    box->addWidget(summary);
    box->addWidget(LinesTable(layout, slot), 1);
    auto* legend = new QLabel(Swatch(ThisChannel, "this channel") + " " + Swatch(OtherChannel, "other channels") + " " +
                              Swatch(TimeColumns, "date and time"));
    legend->setTextFormat(Qt::RichText);
    box->addWidget(legend);

    // The other tabs: the columns proposed for them.
    QStringList others;
    for (int s = 0; s < SlotCount; ++s)
        if (s != slot && layout.slotColumns[static_cast<std::size_t>(s)] > 0)
            others << QString("%1: %2")
                          .arg(SlotRoles[s])
                          .arg(ColumnName(layout, layout.slotColumns[static_cast<std::size_t>(s)]));
    if (!others.isEmpty()) {
        others_ = new QCheckBox("Fill the other channel tabs as well (" + others.join(", ") + ")");
        others_->setObjectName("fillOtherTabs");
        others_->setChecked(true);
        box->addWidget(others_);
    }
    box->addWidget(OkCancel(this));
    resize(760, 520);
}

bool ReadLayoutDialog::fillsOtherTabs() const
{
    return others_ && others_->isChecked();
}

}  // namespace vk
