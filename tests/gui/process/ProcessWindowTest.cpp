// The Process and Filter menus in the graph window, offscreen, on a day of
// the example recording: every item with scripted answers, the envelopes
// after each command and Undo, the dialogs, the overlay and the preview.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <functional>
#include <map>

#include "core/process/SectionCopy.h"
#include "core/process/UndoStack.h"
#include "core/view/Envelope.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "support/ExampleWindowTest.h"

using namespace vk;

namespace {

using Fields = std::map<QString, QString>;

// Fills the named fields of the dialog that shows next, lets `look` see it,
// clicks the named buttons, then presses OK (or, with ok false, Cancel).
void InNextDialog(Fields fields, std::vector<QString> clicks = {}, bool ok = true,
                  std::function<void(QDialog*)> look = {})
{
    test::WhenDialogShows([=](QWidget* w) {
        auto* d = qobject_cast<QDialog*>(w);
        QVERIFY(d);
        for (const auto& [name, text] : fields) {
            auto* field = d->findChild<QLineEdit*>(name);
            QVERIFY2(field, qPrintable(name));
            field->setText(text);
        }
        if (look)
            look(d);
        for (const QString& name : clicks) {
            auto* button = d->findChild<QAbstractButton*>(name);
            QVERIFY2(button, qPrintable(name));
            button->click();
        }
        ok ? d->accept() : d->reject();
    });
}

}  // namespace

class ProcessWindowTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        openExample();
        commands_ = 0;
    }
    void cleanup() { closeExample(); }
    void everyItemRunsAndUndoRestoresEverySample();
    void biChannelDialog();
    void rampAndPolynomialDialogs();
    void filterItemsRunAndUndo();
    void filterDialogs();
    void pointEditing();
    void sections();

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
    // Runs the item after `prepare` (scripted answers): it records undo steps
    // (exactly one with `single`), the Undo item then reads `caption` (when
    // given), the progress bar is hidden and the envelopes equal fresh ones.
    void step(const char* item, const std::function<void()>& prepare, const char* caption = nullptr,
              bool single = false);
    int commands_ = 0;  // the commands run by step()
    void setSection(double fromSeconds, double toSeconds);
    // The envelope the window keeps equals one built afresh from the samples.
    void expectFreshEnvelopes(const char* after);
    void grab(QWidget* w, const char* name);

    struct Snapshot {
        std::array<std::vector<uint16_t>, 3> samples;
        std::array<DescriptorImage, 3> images;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot take() const;
};

void ProcessWindowTest::setSection(double fromSeconds, double toSeconds)
{
    window->view().at.F4 = fromSeconds * 1000;
    window->view().at.F5 = toSeconds * 1000;
}

void ProcessWindowTest::grab(QWidget* w, const char* name)
{
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        w->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

ProcessWindowTest::Snapshot ProcessWindowTest::take() const
{
    Snapshot s;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto k = static_cast<std::size_t>(slot);
        for (int32_t i = 0; i <= wb->rec.desc(slot).DataCnt; ++i)
            s.samples[k].push_back(ReadRaw(wb->rec, i, slot));
        s.images[k] = EncodeDescriptor(wb->rec.desc(slot));
    }
    return s;
}

void ProcessWindowTest::expectFreshEnvelopes(const char* after)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const ChannelDescriptor& d = wb->rec.desc(slot);
        Envelope fresh;
        fresh.build(wb->rec.store, slot, int64_t{d.DataCnt} - d.CorrSmpDelay + 1, wb->rec.at(slot).missing);
        const Envelope& kept = window->envelope(slot);
        QVERIFY2(kept.count() == fresh.count() && kept.levels() == fresh.levels(), after);
        for (int k = 0; k < fresh.levels(); ++k) {
            const auto &a = kept.level(k), &b = fresh.level(k);
            QVERIFY2(a.size() == b.size(), after);
            for (std::size_t i = 0; i < a.size(); ++i)
                QVERIFY2(a[i].min == b[i].min && a[i].max == b[i].max,
                         qPrintable(QString("%1: slot %2 level %3 entry %4").arg(after).arg(slot).arg(k).arg(i)));
        }
    }
}

void ProcessWindowTest::step(const char* item, const std::function<void()>& prepare, const char* caption, bool single)
{
    const int before = window->undoStack()->top();
    prepare();
    run(item);
    QApplication::processEvents();
    QVERIFY2(single ? window->undoStack()->top() == before + 1 : window->undoStack()->top() > before, item);
    if (caption)
        QCOMPARE(window->undoStack()->MenuCaption(), std::string("Undo") + caption);
    QVERIFY2(window->findChild<QWidget*>("progress")->isHidden(), item);
    expectFreshEnvelopes(item);
    ++commands_;
}

void ProcessWindowTest::everyItemRunsAndUndoRestoresEverySample()
{
    const Snapshot start = take();
    auto* hint = window->findChild<QPushButton*>("hint");
    QVERIFY(hint && hint->isHidden());
    setSection(3600, 7200);
    step("process.add", [&] { ui->inputs.push_back("1.5"); });
    step("process.divide", [&] { ui->inputs.push_back("2"); });
    step("process.multiply", [&] { ui->inputs.push_back("40"); });  // beyond the range: clamped
    QVERIFY(hint->isVisible());
    step("process.sine", [] {});
    step("process.cosine", [] {});
    step("filter.negative-to-zero", [] {});
    // S sets a constant: the key runs the menu item.
    ui->inputs.push_back("3");
    const int beforeKey = window->undoStack()->top();
    key(Qt::Key_S);
    QCOMPARE(window->undoStack()->top(), beforeKey + 1);
    QVERIFY(std::fabs(ReadValue(wb->rec, 5000, 0).value - 3.0) <= wb->rec.desc(0).CoeffA / 2);
    ++commands_;

    // A surface that drifts by 5 m over a few dives, levelled again: the
    // cursors on the surface before and after them.
    const double from = truth[20].end + 20, to = truth[24].start - 20;
    setSection(from, to);
    window->view().at.F1 = (from - 600) * 1000;
    window->view().at.F2 = (to + 600) * 1000;
    const auto f4 = static_cast<int32_t>(from), f5 = static_cast<int32_t>(to);
    const double surface = ReadValue(wb->rec, f4, 0).value, end = ReadValue(wb->rec, f5, 0).value;
    step("process.add-ramp", [] { InNextDialog({{"edtRamp", "5"}}); });
    window->executeRedraw(redraw::Everything);
    grab(window->strip(0), "depth-with-drift");
    QVERIFY(std::fabs(ReadValue(wb->rec, f5, 0).value - (end + 5)) <= wb->rec.desc(0).CoeffA);
    step("process.add-ramp", [] { InNextDialog({}, {"rbtEqualize"}); });
    QVERIFY(std::fabs(ReadValue(wb->rec, f5, 0).value - surface) <= wb->rec.desc(0).CoeffA);
    window->executeRedraw(redraw::Everything);
    grab(window->strip(0), "depth-after-equalize");

    // The whole channel: its calibration changes, not its samples.
    setSection(0, wb->rec.time.LongestSpan / 1000);
    const std::vector<uint16_t> depth = take().samples[0];
    step("process.multiply", [&] { ui->inputs.push_back("-1"); });
    QCOMPARE(take().samples[0], depth);
    QCOMPARE(window->undoStack()->MenuCaption(), std::string("Undo Arithm."));

    step("process.integrate", [] {});
    window->view().at.F1 = 0;
    window->view().at.F2 = wb->rec.time.LongestSpan;
    window->executeRedraw(redraw::Everything);
    grab(window->strip(0), "depth-after-integrate");
    window->setActiveChannel(1);
    step("process.differentiate", [] {});
    step("process.compass-difference", [] {});

    // Bi-channel: subtract and add show their result, abs keeps the active channel.
    step("process.bi-channel.subtract", [] {
        InNextDialog({{"edtChannel1", "1"}, {"edtChannel2", "2"}, {"edtResult", "3"}});
    });
    QCOMPARE(window->activeChannel(), 2);
    step("process.bi-channel.add", [] {
        InNextDialog({{"edtChannel1", "3"}, {"edtChannel2", "2"}, {"edtResult", "2"}});
    });
    QCOMPARE(window->activeChannel(), 1);
    step("process.bi-channel.abs", [] { InNextDialog({{"edtResult", "1"}}); });
    QCOMPARE(window->activeChannel(), 1);
    QCOMPARE(wb->biChannel.BiChnl1, 2);  // kept for the next use
    QVERIFY(wb->rec.at(0).ChannelModified && wb->rec.at(1).ChannelModified && wb->rec.at(2).ChannelModified);

    // A polynomial applied: processing is refused and its help page shown.
    step("process.polynomial", [] { InNextDialog({{"edtC", "2"}}, {"cbxApplyPolynom"}); });
    QCOMPARE(wb->rec.desc(1).bSet, true);
    const int top = window->undoStack()->top();
    ui->inputs.push_back("1");
    setSection(3600, 7200);
    run("process.add");
    QCOMPARE(window->undoStack()->top(), top);
    QCOMPARE(ui->helpPages.back(), std::string("ErrPoly.rtf"));

    for (int k = 0; k < commands_; ++k) {
        run("process.undo");
        expectFreshEnvelopes("Undo");
    }
    QVERIFY(take() == start);
    QCOMPARE(window->undoStack()->MenuCaption(), std::string("Undo nothing"));
}

void ProcessWindowTest::biChannelDialog()
{
    std::map<QString, QString> labels, captions;
    auto look = [&](QDialog* d) {
        labels.clear();
        for (QLabel* l : d->findChildren<QLabel*>())
            if (l->buddy())
                labels[l->buddy()->objectName()] = l->text();
        for (const char* name : {"edtChannel1", "edtChannel2", "edtResult"})
            captions[name] = d->findChild<QLabel*>(QString(name) + "Caption")->text();
    };
    InNextDialog({{"edtChannel1", "1"}, {"edtChannel2", "3"}}, {}, false, look);
    run("process.bi-channel.subtract");
    QCOMPARE(labels["edtChannel1"], QString("&Subtract chnl. Nr"));
    QCOMPARE(labels["edtChannel2"], QString("&out of channel Nr"));
    QCOMPARE(labels["edtResult"], QString("Store &results in channel Nr "));
    QCOMPARE(captions["edtChannel1"], QString("Depth [m]"));
    QCOMPARE(captions["edtChannel2"], QString("Speed [m/s]"));
    QCOMPARE(captions["edtResult"], QString("Temperature [C]"));  // the kept choice: 2
    QCOMPARE(wb->biChannel.BiChnl2, 1);                           // Cancel stored nothing
    QVERIFY(!wb->rec.at(1).ChannelModified);

    InNextDialog({{"edtChannel1", "4"}}, {}, false, look);
    run("process.bi-channel.abs");
    QCOMPARE(labels["edtResult"], QString("&Store abs(sum) in channel Nr"));
    QCOMPARE(labels["edtChannel1"], QString("&Add Channel Nr "));
    QCOMPARE(captions["edtChannel1"], QString());  // no channel 4

    // A number outside 1..3 is refused and the dialog stays open.
    bool stayedOpen = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* d = qobject_cast<QDialog*>(w);
        d->findChild<QLineEdit*>("edtResult")->setText("0");
        d->accept();
        stayedOpen = d->isVisible();
        d->findChild<QLineEdit*>("edtResult")->setText("3");
        d->accept();
    });
    run("process.bi-channel.add");
    QVERIFY(stayedOpen);
    QCOMPARE(ui->texts().front(), std::string("'0' is not a channel number: enter 1, 2 or 3."));
    QCOMPARE(wb->biChannel.BiChnlResult, 2);
    QVERIFY(wb->rec.at(2).ChannelModified);
    InNextDialog({}, {}, false, [this](QDialog* d) { grab(d, "dialog-bi-channel"); });
    run("process.bi-channel.subtract");
}

void ProcessWindowTest::rampAndPolynomialDialogs()
{
    const Snapshot start = take();
    // The ramp's height must be a number; the dialog stays open until it is.
    bool stayedOpen = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* d = qobject_cast<QDialog*>(w);
        grab(d, "dialog-add-ramp");
        QVERIFY(d->findChild<QRadioButton*>("rbtRamp")->isChecked());
        QVERIFY(d->findChild<QRadioButton*>("rbtF4")->isChecked());
        d->findChild<QLineEdit*>("edtRamp")->setText("zwei");
        d->accept();
        stayedOpen = d->isVisible();
        d->reject();
    });
    run("process.add-ramp");
    QVERIFY(stayedOpen);
    QCOMPARE(ui->texts().back(), std::string("'zwei' is not a valid floating point value"));

    // Small coefficients show in full; ticking, Reset and Cancel change nothing.
    wb->rec.desc(0).Poly_E = 1.25e-9;
    const DescriptorImage before = EncodeDescriptor(wb->rec.desc(0));
    QString title, shownE;
    InNextDialog({}, {"cbxApplyPolynom", "btnReset"}, false, [&](QDialog* d) {
        title = d->windowTitle();
        shownE = d->findChild<QLineEdit*>("edtE")->text();
        QVERIFY(!d->findChild<QLineEdit*>("edtOne")->isEnabled());
    });
    run("process.polynomial");
    QCOMPARE(title, QString("Apply a Polynom to channel 1 (Depth [m])"));
    QVERIFY(shownE.toDouble() == 1.25e-9);
    QCOMPARE(EncodeDescriptor(wb->rec.desc(0)), before);
    QCOMPARE(window->undoStack()->top(), 0);

    // A field that is no number keeps the dialog open; Reset then OK gives y = x.
    test::WhenDialogShows([&](QWidget* w) {
        auto* d = qobject_cast<QDialog*>(w);
        grab(d, "dialog-polynom");
        d->findChild<QLineEdit*>("edtK")->setText("x");
        d->accept();
        stayedOpen = d->isVisible();
        d->findChild<QPushButton*>("btnReset")->click();
        d->accept();
    });
    run("process.polynomial");
    QVERIFY(stayedOpen);
    const ChannelDescriptor& d = wb->rec.desc(0);
    QCOMPARE(d.Poly_E, 0.0);
    QCOMPARE(d.bSet, false);
    QCOMPARE(d.bApplyPolynom, false);
    QVERIFY(!CheckPolynomial(wb->rec, 0));
    QCOMPARE(window->undoStack()->MenuCaption(), std::string("Undo Polynom."));
    run("process.undo");
    QCOMPARE(EncodeDescriptor(wb->rec.desc(0)), before);
    wb->rec.desc(0).Poly_E = 0;
    QVERIFY(take().samples == start.samples);
}

void ProcessWindowTest::filterItemsRunAndUndo()
{
    // Ctrl+C on a dip below the surface after a dive (the surface at 3 m, the
    // end of the section as reference): the curve shows while the question is open.
    const double from = truth[30].end, to = truth[31].start;
    const auto a = static_cast<int32_t>(from);
    for (int32_t i = a; i < static_cast<int32_t>(to); ++i) {
        const double k = (i - a) / 40.0;
        bool inside = true;
        WriteRaw(wb->rec, i, PhysToRawOf(wb->rec.desc(0), 3 - 2 * k * std::exp(1 - k), inside), 0);
    }
    wb->settings.compensation.CompSurfaceReference = true;
    window->samplesChanged(0);
    const Snapshot start = take();
    constexpr bool One = true;  // every filter records a single step
    setSection(3600, 14400);
    step(
        "filter.smooth.1-2-1", [] {}, "  Smooth", One);
    step(
        "filter.smooth.1-2-4-10", [] {}, "  Smooth", One);
    step(
        "filter.smooth.1-1-2-3-2", [] {}, "  Smooth", One);
    step(
        "filter.smooth.1-1-1-1", [] {}, "  Smooth", One);
    step(
        "filter.smooth.running-mean",
        [] {
            InNextDialog({{"EdtRMR", "4"}, {"edtIgnoreExtrem", "20"}}, {"rbtUp"});
        },
        "  Smooth", One);
    QCOMPARE(wb->filters.runningMean.direction, int{RunMeanUp});
    step(
        "filter.smooth.low-pass", [&] { ui->inputs.push_back("12"); }, "  Smooth", One);
    step(
        "filter.smooth.flat-baseline",
        [] {
            InNextDialog({{"edtStrength", "11"}}, {"rbtWaves1", "cbxBelowThreshold"});
        },
        "  Smooth", One);
    QCOMPARE(wb->settings.flatBaseline.FlatStrength, 11);
    step(
        "filter.smooth.mantle",
        [] {
            InNextDialog({{"edtMaxPeriod", "20"}, {"edtMinAmplitude", "0.5"}}, {"rbtAbove"});
        },
        " Spline", One);
    step(
        "filter.peak-elimination", [] { InNextDialog({}, {"rbtExtremes"}); }, " ElimExtr", One);
    step(
        "filter.peak-elimination",
        [] {
            InNextDialog({{"edtAmplitude", "-3"}, {"edtLength", "5"}}, {"rbtPeaks"});
        },
        " ElimPeak", One);
    QCOMPARE(wb->filters.peaks.PeakAmplitude, 3.0);  // its absolute value
    step(
        "filter.peak-elimination",
        [] {
            InNextDialog({{"edtValue", "1"}, {"edtReplacement", "0"}}, {"rbtReplace", "rbtByValue"});
        },
        "  Repl<0", One);
    QCOMPARE(wb->filters.peaks.PeakAmplitude, 1.0);  // the comparison value, kept there too

    // Ctrl+C on the dip: the curve shows while the question is open.
    setSection(from, to);
    window->view().at.F1 = (from - 60) * 1000;
    window->view().at.F2 = (to + 60) * 1000;
    const double shownMin = wb->rec.desc(0).Min, shownMax = wb->rec.desc(0).Max;
    wb->rec.desc(0).Min = 0;  // the surface's few metres fill the strip
    wb->rec.desc(0).Max = 4;
    window->executeRedraw(redraw::Everything);
    bool previewShown = false;
    ui->onAsk = [&](std::string_view question) {
        QCOMPARE(std::string(question), std::string(" Compensate?"));
        previewShown = true;
        grab(window->strip(0), "depth-compensation-preview");
    };
    const int before = window->undoStack()->top();
    const double dip = ReadValue(wb->rec, a + 40, 0).value;
    key(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(previewShown);
    QCOMPARE(window->undoStack()->top(), before + 1);
    QCOMPARE(window->undoStack()->MenuCaption(), std::string("Undo Compensation"));
    wb->rec.desc(0).Min = shownMin;
    wb->rec.desc(0).Max = shownMax;
    // The section shifted to the reference, now 0 m (as low as the channel's range goes).
    QVERIFY(ReadValue(wb->rec, a + 40, 0).value < dip - 0.1);
    expectFreshEnvelopes("Compensate");
    ++commands_;
    ui->onAsk = {};

    for (int k = 0; k < commands_; ++k)
        run("process.undo");
    QVERIFY(take().samples == start.samples);
}

void ProcessWindowTest::filterDialogs()
{
    const Snapshot start = take();
    setSection(3600, 14400);
    // Cancel in every dialog changes nothing and records nothing; every
    // field says in words what it does.
    for (const char* item : {"filter.smooth.running-mean", "filter.smooth.flat-baseline", "filter.smooth.mantle",
                             "filter.peak-elimination", "filter.compensation-settings"}) {
        InNextDialog({}, {}, false, [](QDialog* d) { QCOMPARE(test::FieldsWithoutTips(*d), QStringList{}); });
        run(item);
    }
    QCOMPARE(window->undoStack()->top(), 0);
    QVERIFY(take() == start);

    // The envelope's dialog refuses an amplitude of 0 and stays open.
    bool stayedOpen = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* d = qobject_cast<QDialog*>(w);
        grab(d, "dialog-mantle");
        d->findChild<QLineEdit*>("edtMinAmplitude")->setText("0");
        d->accept();
        stayedOpen = d->isVisible();
        d->reject();
    });
    run("filter.smooth.mantle");
    QVERIFY(stayedOpen);
    QCOMPARE(ui->texts().back(), std::string(" Ampl. and Period must be greater zero."));

    // The flat baseline's bar and field move together.
    InNextDialog({}, {}, false, [this](QDialog* d) {
        auto* bar = d->findChild<QSlider*>("trbStrength");
        auto* field = d->findChild<QLineEdit*>("edtStrength");
        bar->setValue(7);
        QCOMPARE(field->text(), QString("7"));
        field->setText("12");
        Q_EMIT field->editingFinished();
        QCOMPARE(bar->value(), 12);
        grab(d, "dialog-flat-baseline");
    });
    run("filter.smooth.flat-baseline");
    // "Middle" leaves nothing out; the fields of the other peak options are off.
    InNextDialog({}, {}, false, [this](QDialog* d) {
        d->findChild<QRadioButton*>("rbtMiddle")->click();
        QVERIFY(!d->findChild<QLineEdit*>("edtIgnoreExtrem")->isEnabled());
        grab(d, "dialog-run-mean");
    });
    run("filter.smooth.running-mean");
    InNextDialog({}, {}, false, [this](QDialog* d) {
        d->findChild<QRadioButton*>("rbtPeaks")->click();
        QVERIFY(d->findChild<QLineEdit*>("edtAmplitude")->isEnabled());
        QVERIFY(!d->findChild<QLineEdit*>("edtValue")->isEnabled());
        grab(d, "dialog-elim-peaks");
    });
    run("filter.peak-elimination");
    // Neither reference chosen yet: 0 m.
    InNextDialog({}, {}, false, [this](QDialog* d) {
        QVERIFY(d->findChild<QRadioButton*>("rbtZeroReference")->isChecked());
        grab(d, "dialog-compensation");
    });
    run("filter.compensation-settings");

    // The running-mean overlay: drawn, the samples untouched.
    window->view().at.F1 = 3000 * 1000.0;
    window->view().at.F2 = 15000 * 1000.0;
    ui->inputs.push_back("60");
    run("filter.running-mean");
    QCOMPARE(wb->rec.desc(0).RunMean, 60);
    window->executeRedraw(redraw::Everything);
    grab(window->strip(0), "depth-run-mean-overlay");
    QVERIFY(take().samples == start.samples);
    QCOMPARE(window->undoStack()->top(), 0);
}

void ProcessWindowTest::pointEditing()
{
    const Snapshot start = take();
    auto* bar = window->findChild<QWidget*>("progress");
    QVERIFY(bar);
    setSection(3600, 7200);
    const int32_t length = wb->rec.desc(0).DataCnt;
    step(
        "process.insert-points", [&] { ui->inputs.push_back("3"); }, " Ins. pnt");
    QCOMPARE(wb->rec.desc(0).DataCnt, length + 3);
    step(
        "process.delete-points", [&] { ui->answers.push_back(Answer::Ok); }, " Del. pnt");
    QCOMPARE(wb->rec.desc(0).DataCnt, length + 3 - 3600);
    step(
        "process.reduce", [&] { ui->inputs.push_back("2"); }, " Reduce");
    QCOMPARE(wb->rec.desc(0).SampRate, 2000);
    step(
        "process.expand", [&] { ui->inputs.push_back("2"); }, " Expand");
    step(
        "process.double-points", [&] { ui->answers.push_back(Answer::Yes); }, " Expand");
    QCOMPARE(wb->rec.desc(0).SampRate, 500);
    step(
        "process.clock-drift",
        [&] {
            InNextDialog({{"edtSeconds", "30"}});
            ui->answers.push_back(Answer::Ok);
        },
        " Clockdrft");
    QVERIFY(ui->texts().back().rfind("Cut ", 0) == 0);
    const std::vector<std::string> asked = ui->texts();
    QVERIFY(std::find(asked.begin(), asked.end(), "Delete all points between F4 and F5") != asked.end());
    QVERIFY(std::find(asked.begin(), asked.end(),
                      "This operation doubles the amount of data points.\nThere will inserted an additonal \n"
                      "point between two points by nonlinear interpolation\nContinue?") != asked.end());

    // Refusals, word for word: nothing changes, no undo step, no bar left showing.
    auto refused = [&](const char* item, const std::function<void()>& prepare, const std::string& text) {
        const Snapshot before = take();
        const int top = window->undoStack()->top();
        prepare();
        run(item);
        QApplication::processEvents();
        QCOMPARE(ui->texts().back().substr(0, text.size()), text);
        QCOMPARE(window->undoStack()->top(), top);
        QVERIFY(take() == before);
        QVERIFY(bar->isHidden());
    };
    refused(
        "process.insert-points", [&] { ui->inputs.push_back("100000000"); }, " Rejected! Size exceeds limit.");
    refused(
        "process.expand",
        [&] {
            ui->inputs.push_back("3");
            ui->answers.push_back(Answer::No);
        },
        "Warning: This expand factor leads to corruption of time. \nWhen expanding the data channel by a factor of 3 "
        "the resulting sampl. interval should be changed to 166.667\nSince the sampl. interval must be an integer "
        "this value will be rounded to 167\n");
    refused(
        "process.clock-drift",
        [&] {
            InNextDialog({{"edtHours", "1000000"}});
        },
        " Too large");
    refused(
        "process.clock-drift",
        [&] {
            InNextDialog({{"edtHours", "1000"}, {"edtMinutes", "0"}});
        },
        " Operation rejected.\n Adjust the original sampling rate (in the start menu)\n"
        " in order to correct for clock drift.");
    refused(
        "process.clock-drift",
        [&] {
            InNextDialog({{"edtSeconds", "30"}}, {"rbtBack"});
            ui->answers.push_back(Answer::Cancel);
        },
        "Insert ");

    for (int k = 0; k < commands_; ++k)
        run("process.undo");
    QVERIFY(take() == start);
    // Inserting and overlaying a stored section are not there to use.
    QVERIFY(!window->findChild<QAction*>("process.sections.insert")->isEnabled());
    QVERIFY(!window->findChild<QAction*>("process.sections.overlay")->isEnabled());
}

void ProcessWindowTest::sections()
{
    const Snapshot start = take();
    // Store a dive in buffer 3; a second store of buffer 5 cancelled keeps it free.
    const double from = std::floor(truth[5].start) - 20, to = std::floor(truth[5].end) + 20;
    setSection(from, to);
    InNextDialog({}, {"cbxBuffer3"}, true, [this](QDialog* d) { grab(d, "dialog-store-section"); });
    run("process.sections.store");
    InNextDialog({}, {"cbxBuffer5"}, false);
    run("process.sections.store");
    QVERIFY(wb->sections.buffers[3].SecUsed);
    QVERIFY(!wb->sections.buffers[5].SecUsed);
    QCOMPARE(wb->sections.buffers[3].SecEnd, to * 1000.0);

    // One buffer used: the window opens previewing it, its button "Fix it".
    run("process.sections.overwrite");
    auto* overwrite = window->findChild<QDialog*>("sectionOverwriteDialog");
    QVERIFY(overwrite && overwrite->isVisible());
    auto* fix = overwrite->findChild<QPushButton*>("btnOk");
    QCOMPARE(fix->text(), QString("Fix it"));
    QVERIFY(wb->sections.buffers[3].SecShown);
    // The preview follows F4, moved by its key and an arrow.
    window->view().at.F1 = 9000 * 1000.0;
    window->view().at.F2 = 10800 * 1000.0;
    window->view().at.F4 = 9500 * 1000.0;
    window->view().at.F5 = 10500 * 1000.0;  // F4 never passes F5
    window->executeRedraw(redraw::Everything);
    const double before = window->view().at.F4;
    key(Qt::Key_F4);
    key(Qt::Key_Right);
    QVERIFY(window->view().at.F4 > before);
    grab(window->strip(0), "depth-section-preview");
    const SectionOverwrite plan = PlanOverwrite(wb->rec, wb->sections.buffers[3], false, 0, window->view().at.F4);
    QCOMPARE(plan.first, static_cast<int32_t>(std::lround(window->view().at.F4 / 1000)));
    fix->click();
    QApplication::processEvents();
    for (std::size_t k = 0; k < plan.words.size(); ++k)
        QCOMPARE(ReadRaw(wb->rec, plan.first + static_cast<int32_t>(k), 0), plan.words[k]);
    QVERIFY(!wb->sections.buffers[3].SecShown);
    QCOMPARE(window->undoStack()->MenuCaption(), std::string("Undo SecOvwr."));
    expectFreshEnvelopes("Fix it");
    run("process.undo");
    QVERIFY(take().samples == start.samples);
}

QTEST_MAIN(ProcessWindowTest)
#include "ProcessWindowTest.moc"
