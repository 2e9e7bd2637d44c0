#include "gui/app/ChannelTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/files/ArchiveSource.h"
#include "core/files/ChannelSource.h"
#include "core/files/TagArchive.h"
#include "core/files/TextLoader.h"
#include "core/setup/DescribeFile.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "gui/app/ReadLayoutDialog.h"
#include "gui/widgets/ModalDialog.h"
#include "gui/widgets/TypedTimeField.h"

namespace vk {

QString DelimiterText(char delimiter)
{
    if (delimiter == '\t')
        return "TAB";
    if (delimiter == ' ')
        return "Space(s)";
    return QString(QChar(delimiter));
}

namespace {

QLineEdit* Field(const QString& name, const QString& text, const QString& hint)
{
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    field->setToolTip(hint);
    return field;
}

// A column number typed into a field (0 or more); false when it is not one.
bool TakeColumn(const QLineEdit* field, int32_t& column)
{
    int64_t n = 0;
    if (!ParseInteger(field->text().trimmed().toStdString(), n) || n < 0 || n > INT32_MAX)
        return false;
    column = static_cast<int32_t>(n);
    return true;
}

// The sampling interval typed into its field: whole milliseconds as before,
// or a decimal for a rate such as 16 Hz (62.5); false when it is neither.
bool TakeInterval(const QLineEdit* field, Channel channel)
{
    const std::string text = field->text().trimmed().toStdString();
    int64_t n = 0;
    double ms = 0.0;
    if (ParseInteger(text, n) && n >= INT32_MIN && n <= INT32_MAX)
        ms = static_cast<double>(n);
    else if (!ParseDecimal(text, ms) || !(ms > 0) || ms > INT32_MAX)
        return false;
    channel.setInterval(ms);
    return true;
}

}  // namespace

ChannelTab::ChannelTab(int slot, Recording& rec, const SkipStrings& skips, VkDialogs& ui, QWidget* parent)
        : QWidget(parent), slot_(slot), rec_(rec), skips_(skips), ui_(ui)
{
    auto* grid = new QGridLayout(this);

    auto* browse = new QPushButton("FileName");
    browse->setObjectName("btnFName");
    browse->setToolTip("Browse through folders");
    fileName_ = Field("EditfName", "", "To disable channel blank this field");
    fileName_->installEventFilter(this);
    grid->addWidget(browse, 0, 0);
    grid->addWidget(fileName_, 0, 1, 1, 4);
    grid->addWidget(copyButton("Copy", "Same filenames for all channels", CopyKind::FileNames), 0, 5);
    grid->addWidget(copyButton("Count", "Count up extension", CopyKind::CountExtensions), 0, 6);

    sampling_ = Field("EditSI", "8", "");
    grid->addWidget(new QLabel("Sampling rate [msec]"), 1, 0);
    grid->addWidget(sampling_, 1, 1);
    grid->addWidget(copyButton("Copy", "Same sampl. rate for all channels", CopyKind::SampRate), 1, 5);

    date_ = new TypedTimeField(TypedTimeField::Date, ui_);
    date_->setObjectName("DateStart");
    date_->setToolTip("Onset of recorded data: 07.01.2026, 7.1.26 or 07012026");
    time_ = new TypedTimeField(TypedTimeField::Clock, ui_);
    time_->setObjectName("TimeStart");
    time_->setToolTip("Onset of recorded data: 06:30:49, 6:30 or 063049");
    grid->addWidget(new QLabel("Start time"), 2, 0);
    grid->addWidget(date_, 2, 1);
    grid->addWidget(time_, 2, 2);
    grid->addWidget(copyButton("Copy", "Same time for all channels", CopyKind::StartTime), 2, 5);

    preview_ = new QLabel;
    preview_->setObjectName("lblPreview");
    preview_->setTextFormat(Qt::PlainText);
    preview_->setStyleSheet("font-family: monospace;");
    grid->addWidget(preview_, 3, 0, 1, 7);

    formatGroup_ = new QGroupBox("File Format");
    auto* formatLayout = new QHBoxLayout(formatGroup_);
    binary_ = new QRadioButton("Binary file");
    binary_->setObjectName("rdbBinary");
    text_ = new QRadioButton("Text file");
    text_->setObjectName("rdbText");
    archive_ = new QRadioButton("Tag archive");
    archive_->setObjectName("rdbArchive");
    archive_->setToolTip("A NetCDF file of an animal tag: one variable per sensor");
    readHeader_ = new QCheckBox("Read header");
    readHeader_->setObjectName("cbxReadHeader");
    readHeader_->setChecked(true);
    readHeader_->setToolTip("Read scaling, sampl.rate etc from bin. file header");
    formatLayout->addWidget(binary_);
    formatLayout->addWidget(text_);
    formatLayout->addWidget(archive_);
    formatLayout->addWidget(readHeader_);
    grid->addWidget(formatGroup_, 4, 0, 1, 5);
    grid->addWidget(copyButton("Copy", "Same format for all channels", CopyKind::Format), 4, 5);

    header_ = Field("EditHead", "0", "Nr. info lines at the top of the file");
    column_ = Field("EditColumn", "3", "In which column are the data?");
    separator_ = new QComboBox;
    separator_->setObjectName("cbxSeparator");
    separator_->setEditable(true);
    separator_->addItems({"TAB", ",", "/", ";", "space(s)", "-", "\\"});
    separator_->setToolTip("Columns are separated by?");
    skipVoid_ = new QCheckBox("Skip void data");
    skipVoid_->setObjectName("cbxSkipVoid");
    sensor_ = new QComboBox;
    sensor_->setObjectName("archiveSensor");
    sensor_->setToolTip("The sensor of the tag archive this channel shows");
    sensorLabel_ = new QLabel("Sensor");
    grid->addWidget(sensorLabel_, 5, 0);
    grid->addWidget(sensor_, 5, 1, 1, 4);
    grid->addWidget(new QLabel("Header"), 6, 0);
    grid->addWidget(header_, 6, 1);
    grid->addWidget(new QLabel("Column"), 6, 2);
    grid->addWidget(column_, 6, 3);
    grid->addWidget(copyButton("C", "Count up column Nr", CopyKind::CountColumns), 6, 4);
    grid->addWidget(new QLabel("Separator"), 7, 0);
    grid->addWidget(separator_, 7, 1);
    grid->addWidget(skipVoid_, 7, 2, 1, 2);
    readLayout_ = new QPushButton("Read layout");
    readLayout_->setObjectName("readLayout");
    readLayout_->setAutoDefault(false);
    readLayout_->setToolTip("Propose separator, header lines, columns, start and interval from the file's first lines");
    grid->addWidget(readLayout_, 7, 4, 1, 2);

    // Lines that carry their times: start and interval come from the file.
    timeColumn_ = Field("timeColumn", "0",
                        "The column of each line's date and time, time of day or seconds since the start; "
                        "0: the lines follow each other at the sampling rate from the start time");
    dateColumn_ =
        Field("dateColumn", "0", "The column of each line's date, where it stands apart from the time; 0: none");
    grid->addWidget(new QLabel("Times in column"), 8, 0);
    grid->addWidget(timeColumn_, 8, 1);
    grid->addWidget(new QLabel("Dates in column"), 8, 2);
    grid->addWidget(dateColumn_, 8, 3);

    auto* scaling = new QGroupBox("Scaling");
    auto* scalingLayout = new QHBoxLayout(scaling);
    min_ = Field("EditMin", "0", "Lowest value");
    max_ = Field("EditMax", "100", "Highest value");
    autoScaling_ = new QCheckBox("Auto. scaling");
    autoScaling_->setObjectName("cbxAutoScaling");
    autoScaling_->setChecked(true);
    autoScaling_->setToolTip("Vk searches Min and Max");
    scalingLayout->addWidget(new QLabel("Min"));
    scalingLayout->addWidget(min_);
    scalingLayout->addWidget(new QLabel("Max"));
    scalingLayout->addWidget(max_);
    scalingLayout->addWidget(autoScaling_);
    grid->addWidget(scaling, 9, 0, 1, 5);
    copyAutoScaling_ =
        copyButton("Copy", "Left mouse: Same auto scaling, right mouse: Also min, max", CopyKind::AutoScaling);
    copyAutoScaling_->installEventFilter(this);
    grid->addWidget(copyAutoScaling_, 9, 5);
    grid->setRowStretch(10, 1);

    connect(browse, &QPushButton::clicked, this, &ChannelTab::browse);
    connect(fileName_, &QLineEdit::textEdited, this, &ChannelTab::fileNameChanged);
    connect(sampling_, &QLineEdit::editingFinished, this, &ChannelTab::samplingExit);
    connect(date_, &TypedTimeField::valueTaken, this, &ChannelTab::dateExit);
    connect(time_, &TypedTimeField::valueTaken, this, &ChannelTab::dateExit);
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{binary_, text_, archive_, readHeader_, autoScaling_})
        connect(b, &QAbstractButton::clicked, this, &ChannelTab::formatClicked);
    connect(readLayout_, &QPushButton::clicked, this, &ChannelTab::readLayout);
    connect(sensor_, &QComboBox::activated, this, &ChannelTab::sensorChosen);
    connect(header_, &QLineEdit::editingFinished, this, &ChannelTab::textFormatExit);
    connect(column_, &QLineEdit::editingFinished, this, &ChannelTab::textFormatExit);
    connect(separator_->lineEdit(), &QLineEdit::editingFinished, this, &ChannelTab::textFormatExit);
    connect(separator_, &QComboBox::activated, this, &ChannelTab::textFormatExit);
    connect(skipVoid_, &QCheckBox::clicked, this, &ChannelTab::textFormatExit);
    connect(timeColumn_, &QLineEdit::editingFinished, this, &ChannelTab::timeColumnsExit);
    connect(dateColumn_, &QLineEdit::editingFinished, this, &ChannelTab::timeColumnsExit);
    connect(min_, &QLineEdit::editingFinished, this, [this] { rangeExit(false); });
    connect(max_, &QLineEdit::editingFinished, this, [this] { rangeExit(true); });
}

QPushButton* ChannelTab::copyButton(const QString& caption, const QString& hint, CopyKind kind)
{
    auto* button = new QPushButton(caption);
    button->setToolTip(hint);
    button->setObjectName(QString("btnCopy%1").arg(static_cast<int>(kind)));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, kind] { Q_EMIT copyRequested(kind); });
    return button;
}

bool ChannelTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fileName_) {
        // Enter or a double click in the file name field opens the file dialog.
        if (event->type() == QEvent::MouseButtonDblClick) {
            browse();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                browse();
                return true;
            }
        }
    }
    if (watched == copyAutoScaling_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        Q_EMIT copyRequested(CopyKind::AutoScalingAndRange);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ChannelTab::isFileToCreate() const
{
    const ChannelDescriptor& d = rec_.desc(slot_);
    return SourceFor(d).createsChannel(d);
}

void ChannelTab::showTiming()
{
    sampling_->setText(QString::fromStdString(GeneralText(ChannelView(rec_, slot_).interval())));
    const CalendarTime t = DecodeTime(rec_.desc(slot_).StartTime);
    date_->setDate(QDate(t.year, t.month, t.day));
    time_->setTime(QTime(t.hour, t.minute, t.second));
}

void ChannelTab::fill()
{
    const ChannelDescriptor& d = rec_.desc(slot_);
    const QSignalBlocker blockers[] = {QSignalBlocker(fileName_), QSignalBlocker(date_), QSignalBlocker(time_)};
    fileName_->setText(QString::fromStdString(d.NameIn));
    showTiming();
    binary_->setChecked(d.format == ChannelFormat::Binary);
    archive_->setChecked(d.format == ChannelFormat::Archive);
    text_->setChecked(d.format == ChannelFormat::Text || d.format == ChannelFormat::Created);
    readHeader_->setChecked(d.UseFileInfo);
    header_->setText(QString::number(d.HeaderText));
    column_->setText(QString::number(d.ColumnValue));
    separator_->setEditText(DelimiterText(d.InDelimiter));
    skipVoid_->setChecked(d.IgnoreEmpLine);
    timeColumn_->setText(QString::number(d.TimeColumn));
    dateColumn_->setText(QString::number(d.DateColumn));
    min_->setText(QString::number(d.LowRng, 'f', 4));
    max_->setText(QString::number(d.HighRng, 'f', 4));
    autoScaling_->setChecked(d.AutoScaling);
    fillSensors();
    updateEnabling();
    updatePreview();
}

void ChannelTab::collect()
{
    ChannelDescriptor& d = desc();
    d.NameIn = fileName_->text().toStdString();
    int64_t n = 0;
    TakeInterval(sampling_, Channel(rec_, slot_));
    dateExit();
    if (!isFileToCreate())
        d.format = chosenFormat();
    if (ParseInteger(header_->text().toStdString(), n) && n >= 0 && n <= INT32_MAX)
        d.HeaderText = static_cast<int32_t>(n);
    if (d.format != ChannelFormat::Archive && ParseInteger(column_->text().toStdString(), n) && n >= 0 &&
        n <= INT32_MAX)
        d.ColumnValue = static_cast<int32_t>(n);
    const QString separator = separator_->currentText();
    if (!separator.isEmpty())
        d.InDelimiter = separator.compare("TAB", Qt::CaseInsensitive) == 0 ? '\t'
                        : separator.contains("SPACE", Qt::CaseInsensitive) || separator.startsWith(' ')
                            ? ' '
                            : separator.at(0).toLatin1();
    d.IgnoreEmpLine = skipVoid_->isChecked();
    TakeColumn(timeColumn_, d.TimeColumn);
    TakeColumn(dateColumn_, d.DateColumn);
    d.UseFileInfo = readHeader_->isChecked();
    // The fields show four decimals: only what the user typed is taken back,
    // so a range finer than that keeps its digits.
    double v = 0.0;
    if (min_->isModified() && ParseDecimal(min_->text().toStdString(), v))
        d.LowRng = v;
    if (max_->isModified() && ParseDecimal(max_->text().toStdString(), v))
        d.HighRng = v;
    d.AutoScaling = autoScaling_->isChecked();
}

void ChannelTab::browse()
{
    FileRequest request;
    request.title = "FileName";
    request.start = desc().NameIn;
    request.filter = "All files (*)";
    if (const auto chosen = ui_.chooseFile(request)) {
        fileName_->setText(QString::fromStdString(*chosen));
        fileNameChanged();
    }
}

void ChannelTab::fileNameChanged()
{
    ChannelDescriptor& d = desc();
    d.NameIn = fileName_->text().toStdString();
    // A tag archive is told by its first bytes: the tab switches to it, and back.
    if (!isFileToCreate() && FileExists(d.NameIn)) {
        const bool archive = SourceFor(ChannelFormat::Archive).canRead(d.NameIn);
        if (archive != (d.format == ChannelFormat::Archive)) {
            d.format = archive ? ChannelFormat::Archive : ChannelFormat::Text;
            (archive ? archive_ : text_)->setChecked(true);
        }
    }
    fillSensors();
    updateEnabling();
    updatePreview();
    Q_EMIT markingChanged();
}

void ChannelTab::samplingExit()
{
    if (!TakeInterval(sampling_, Channel(rec_, slot_))) {
        Channel(rec_, slot_).setInterval(8);
        sampling_->setText("8");
        ui_.message("Illegal value", Severity::Error);
    }
}

void ChannelTab::dateExit()
{
    QDate date = date_->date();
    if (date.year() <= 1981) {
        // 29 February of an earlier leap year becomes 28 February 1982.
        date.setDate(1982, date.month(), std::min(date.day(), QDate(1982, date.month(), 1).daysInMonth()));
        const QSignalBlocker blocker(date_);
        date_->setDate(date);
    }
    const QTime time = time_->time();
    ChannelDescriptor& d = desc();
    d.StartTime = EncodeTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second());
    d.StartFields = {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), 0};
}

void ChannelTab::formatClicked()
{
    ChannelDescriptor& d = desc();
    if (!isFileToCreate())
        d.format = chosenFormat();
    d.UseFileInfo = readHeader_->isChecked();
    d.AutoScaling = autoScaling_->isChecked();
    fillSensors();
    updateEnabling();
    updatePreview();
}

void ChannelTab::textFormatExit()
{
    ChannelDescriptor& d = desc();
    int64_t n = 0;
    if (ParseInteger(column_->text().toStdString(), n) && n >= 0 && n <= INT32_MAX)
        d.ColumnValue = static_cast<int32_t>(n);
    else
        ui_.message("Invalid column nr", Severity::Error);
    if (ParseInteger(header_->text().toStdString(), n) && n >= 0 && n <= INT32_MAX)
        d.HeaderText = static_cast<int32_t>(n);
    else
        ui_.message("Invalid number of header lines", Severity::Error);
    d.IgnoreEmpLine = skipVoid_->isChecked();
    const QString separator = separator_->currentText();
    if (separator.isEmpty()) {
        ui_.message("Invalid separator", Severity::Error);
    } else if (separator.compare("TAB", Qt::CaseInsensitive) == 0) {
        d.InDelimiter = '\t';
    } else if (separator.contains("SPACE", Qt::CaseInsensitive) || separator.startsWith(' ')) {
        d.InDelimiter = ' ';
        separator_->setEditText("Space(s)");
    } else {
        d.InDelimiter = separator.at(0).toLatin1();
    }
    updatePreview();
}

void ChannelTab::timeColumnsExit()
{
    ChannelDescriptor& d = desc();
    for (auto [field, column] : {std::pair{timeColumn_, &d.TimeColumn}, {dateColumn_, &d.DateColumn}}) {
        if (!TakeColumn(field, *column)) {
            field->setText(QString::number(*column));
            ui_.message("Invalid column nr", Severity::Error);
        }
    }
    updateEnabling();
}

void ChannelTab::rangeExit(bool high)
{
    QLineEdit* field = high ? max_ : min_;
    if (!field->isModified())
        return;
    double v = 0.0;
    if (!ParseDecimal(field->text().toStdString(), v)) {
        v = 0.0;
        field->setText("0");
        ui_.message("Illegal value", Severity::Error);
    }
    (high ? desc().HighRng : desc().LowRng) = v;
}

void ChannelTab::updateEnabling()
{
    const bool toCreate = isFileToCreate();
    formatGroup_->setVisible(!toCreate);
    if (toCreate) {
        const QSignalBlocker a(text_), b(autoScaling_);
        text_->setChecked(true);
        autoScaling_->setChecked(false);
    }
    const ChannelFormat format = toCreate ? ChannelFormat::Text : chosenFormat();
    const bool binary = format == ChannelFormat::Binary, archive = format == ChannelFormat::Archive;
    readHeader_->setEnabled(binary);
    for (QWidget* w : std::initializer_list<QWidget*>{header_, column_, separator_, skipVoid_, timeColumn_, dateColumn_,
                                                      readLayout_})
        w->setEnabled(!binary && !archive);
    sensor_->setVisible(archive);
    sensorLabel_->setVisible(archive);
    // The file's times (or the archive) give the start and the interval.
    const bool timed = archive || (!binary && !toCreate && rec_.desc(slot_).TimeColumn > 0);
    for (QWidget* w : std::initializer_list<QWidget*>{sampling_, date_, time_})
        w->setEnabled(!timed);
    autoScaling_->setEnabled(!binary && !toCreate);
    const bool rangeEnabled = binary ? !readHeader_->isChecked() : !autoScaling_->isChecked();
    min_->setEnabled(rangeEnabled);
    max_->setEnabled(rangeEnabled);
}

void ChannelTab::updatePreview()
{
    const ChannelDescriptor& d = rec_.desc(slot_);
    if (d.format == ChannelFormat::Archive) {  // no line to show: what the archive says of itself
        const ArchiveContents archive = FileExists(d.NameIn) ? ReadArchive(d.NameIn) : ArchiveContents{};
        QString text = QString::fromStdString(archive.error);
        if (archive.start)
            text = QString("Tag archive: %1 sensor channels, deployment started %2")
                       .arg(archive.channels.size())
                       .arg(QString::fromStdString(FormatDateTime(*archive.start, '.')));
        if (!archive.zone.empty())
            text += QString(" (device clock, zone %1)").arg(QString::fromStdString(archive.zone));
        preview_->setText(text);
        return;
    }
    QString line = FileExists(d.NameIn) ? QString::fromStdString(PreviewLine(d.NameIn, d.HeaderText)) : QString();
    line.replace('\t', QString(" \u21E5 "));  // a label swallows TABs; show where they are
    preview_->setText(line);
}

}  // namespace vk

namespace vk {

ChannelFormat ChannelTab::chosenFormat() const
{
    return binary_->isChecked()    ? ChannelFormat::Binary
           : archive_->isChecked() ? ChannelFormat::Archive
                                   : ChannelFormat::Text;
}

void ChannelTab::fillSensors()
{
    const QSignalBlocker blocker(sensor_);
    sensor_->clear();
    const ChannelDescriptor& d = rec_.desc(slot_);
    if (d.format != ChannelFormat::Archive || !FileExists(d.NameIn))
        return;
    const ArchiveContents archive = ReadArchive(d.NameIn);
    for (const ArchiveChannel& c : archive.channels)
        sensor_->addItem(QString::fromStdString(c.label()),
                         QStringList{QString::fromStdString(c.variable), QString::number(c.axis + 1)});
    const ArchiveChannel* current = FindChannel(archive, d.archiveVariable, d.ColumnValue);
    if (current) {
        // Chosen before: the fields show the archive's start and interval, which Start takes.
        const int index = static_cast<int>(current - archive.channels.data());
        sensor_->setCurrentIndex(index);
        sensorChosen(index);
    } else if (!archive.channels.empty()) {
        // A sensor not chosen yet: the one this slot usually shows, by its name.
        Recording proposal;
        int index = 0;
        if (ProposeReading(d.NameIn, proposal, skips_).empty() && !proposal.desc(slot_).NameIn.empty())
            if (const ArchiveChannel* c =
                    FindChannel(archive, proposal.desc(slot_).archiveVariable, proposal.desc(slot_).ColumnValue))
                index = static_cast<int>(c - archive.channels.data());
        sensor_->setCurrentIndex(index);
        sensorChosen(index);
    }
}

void ChannelTab::sensorChosen(int index)
{
    if (index < 0)
        return;
    const QStringList which = sensor_->itemData(index).toStringList();
    ChannelDescriptor& d = desc();
    d.archiveVariable = which.value(0).toStdString();
    d.ColumnValue = which.value(1).toInt();
    // The archive's start and interval, shown in the fields it fills.
    const ArchiveContents archive = ReadArchive(d.NameIn);
    if (const ArchiveChannel* c = FindChannel(archive, d.archiveVariable, d.ColumnValue)) {
        if (d.Caption == DefaultDescriptor(slot_).Caption)
            d.Caption = c->caption();
        TakeArchiveTiming(rec_, slot_, archive, *c);
        const QSignalBlocker blockers[] = {QSignalBlocker(date_), QSignalBlocker(time_)};
        showTiming();
        column_->setText(QString::number(d.ColumnValue));
    }
}

void ChannelTab::readLayout()
{
    collect();
    const ChannelDescriptor& d = desc();
    if (!FileExists(d.NameIn)) {
        ui_.message(" Choose the data file first: " +
                        (d.NameIn.empty() ? std::string("no file is named") : d.NameIn + " does not exist") + ".",
                    Severity::Information);
        return;
    }
    Recording proposal;
    for (int s = 0; s < SlotCount; ++s)
        proposal.desc(s) = rec_.desc(s);
    const std::string problem = ProposeReading(d.NameIn, proposal, skips_);
    const FileLayout layout = ReadFileLayout(d.NameIn);
    if (!layout.readable || layout.slotColumns == std::array<int, SlotCount>{}) {
        ui_.message(" " + FileNameOf(d.NameIn) + ": no column of numbers found in its first lines.", Severity::Warning);
        return;
    }
    // Names from the header where a tab still has its default caption or named another file's channel.
    for (int s = 0; s < SlotCount; ++s) {
        const auto column = static_cast<std::size_t>(layout.slotColumns[static_cast<std::size_t>(s)]);
        ChannelDescriptor& p = proposal.desc(s);
        if (column > 0 && column <= layout.names.size() && !layout.names[column - 1].empty() &&
            (p.Caption == DefaultDescriptor(s).Caption || rec_.desc(s).NameIn != d.NameIn))
            p.Caption = layout.names[column - 1];
    }
    ReadLayoutDialog dialog(layout, proposal, slot_, problem, this);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    const bool timesKnown = problem.empty();
    for (int s = 0; s < SlotCount; ++s) {
        if (proposal.desc(s).NameIn.empty() || (s != slot_ && !dialog.fillsOtherTabs()))
            continue;
        ChannelDescriptor& target = rec_.desc(s);
        const ChannelDescriptor& p = proposal.desc(s);
        const double start = target.StartTime;
        const auto fields = target.StartFields;
        const double interval = ChannelView(rec_, s).interval();
        target = p;
        if (!timesKnown) {  // the times could not be read: the start and interval stay as they were
            target.StartTime = start;
            target.StartFields = fields;
            Channel(rec_, s).setInterval(interval);
        }
    }
    Q_EMIT readingProposed();
    Q_EMIT markingChanged();
}

}  // namespace vk
