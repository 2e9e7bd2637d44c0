// A researcher's first hour with a record of their own: the fur-seal record
// loaded as a new user sets it up (column 3, ';', one header line, 5 s,
// everything else as it comes).

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/dive/SurfaceCheck.h"
#include "core/setup/Start.h"
#include "core/view/PixelMap.h"
#include "core/view/RedrawRequest.h"
#include "gui/dive/BoutFitWindow.h"
#include "gui/dive/DiveChecksWindow.h"
#include "gui/dive/DiveParamsDialog.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "gui/widgets/HelpViewer.h"
#include "support/ExampleWindowTest.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

class FirstHourTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void surfaceNoteAfterStart();
    void aWarningOnceThenInTheStatusLine();
    void wheelZoomsAroundTheMouse();
    void suggestionMarkedKeptOrDropped();
    void divesToCheckAndGoTo();
    void aStretchWrittenTwiceAsksFirst();
    void boutCriterionFittedInTheDialog();
    void helpFromAModalDialogIsNotBlocked();

private:
    // The automatic analysis from F4 = 0 to `end` (ms), started in its dialog.
    void automatic(double end);

    std::unique_ptr<test::TempDir> dir;  // the record and its results
    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    QPointer<GraphWindow> window;
};

void FirstHourTest::init()
{
    wb = std::make_unique<Workbench>();
    ui = std::make_unique<ScriptedDialogs>();
    dir = std::make_unique<test::TempDir>();
    QVERIFY(test::StartFurSealCopy(*wb, VARNIK_TEST_DATA, dir->path(), *ui));
    NoteSurfaceAfterStart(*wb, *ui);
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
    window = test::OpenActiveGraphWindow(*wb, *ui, *help);
    QVERIFY(window);
}

void FirstHourTest::cleanup()
{
    delete window;
    help.reset();
    wb.reset();
    dir.reset();
}

void FirstHourTest::automatic(double end)
{
    window->view().at.F4 = 0;
    window->view().at.F5 = end;
    test::WhenDialogShows([](QWidget* d) { d->findChild<QPushButton*>("btnOK")->click(); });
    window->menus().action("analysis.automatic")->trigger();
}

void FirstHourTest::surfaceNoteAfterStart()
{
    // The note in the status line, under the read-outs and behind Hint.
    QVERIFY(!ui->statusTexts.empty());
    QVERIFY(ui->statusTexts.back().rfind("The surface reads ", 0) == 0);
    auto* hint = window->findChild<QPushButton*>("hint");
    auto* words = window->findChild<QLabel*>("hintText");
    QVERIFY(hint->isVisible());
    QVERIFY(words->isVisible());
    QCOMPARE(words->text().toStdString(), ui->statusTexts.back());
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        window->grab().save(QString::fromUtf8(folder) + "/surface-note.png");
    // The note is worked out again for the parameters chosen: gone with the
    // surface baseline on, back with a threshold inside the surface noise.
    const auto setParameters = [this](const char* threshold, bool baseline) {
        test::WhenDialogShows([=](QWidget* d) {
            d->findChild<QLineEdit*>("edtThreshold")->setText(threshold);
            d->findChild<QCheckBox*>("cbxTrekBaseline")->setChecked(baseline);
            d->findChild<QPushButton*>("btnOK")->click();
        });
        window->menus().action("analysis.parameters")->trigger();
    };
    setParameters("4", true);
    QVERIFY(!hint->isVisible());
    QVERIFY(!words->isVisible());
    setParameters("0.2", true);
    QVERIFY(words->isVisible());
    QVERIFY(words->text().contains("lies within the surface noise"));
    // Hint shows the page and the note goes.
    hint->click();
    QCOMPARE(help->shown(), std::string("AlertSurface.rtf"));
    QVERIFY(!hint->isVisible());
    QVERIFY(!words->isVisible());
}

void FirstHourTest::aWarningOnceThenInTheStatusLine()
{
    // A wiggle duration under the 5 s sampling interval: each dive would warn.
    DiveParameters& p = wb->settings.dive;
    p.Threshold = 4;
    p.TrekBaseline = 1;
    p.WiggDuration = 3;
    const std::string warning = " Wiggles: \".. over n sec\" too small. ";
    const auto boxes = [&] {
        return std::count_if(ui->shown.begin(), ui->shown.end(),
                             [&](const ScriptedDialogs::Entry& e) { return e.text == warning; });
    };
    for (int k = 0; k < 3; ++k)
        test::Key(window, Qt::Key_Q);
    QCOMPARE(boxes(), 1);
    QVERIFY(std::count(ui->statusTexts.begin(), ui->statusTexts.end(), warning) >= 2);
}

void FirstHourTest::suggestionMarkedKeptOrDropped()
{
    const DiveParameters defaults;
    const auto suggestThen = [&](bool keep) {
        test::WhenDialogShows([keep](QWidget* w) {
            auto* dialog = qobject_cast<DiveParamsDialog*>(w);
            QVERIFY(dialog);
            dialog->findChild<QPushButton*>("btnSuggest")->click();
            auto* threshold = dialog->findChild<QLineEdit*>("edtThreshold");
            QCOMPARE(threshold->text(), QString("4"));
            QVERIFY(threshold->property("suggested").toBool());
            QVERIFY(dialog->findChild<QCheckBox*>("cbxTrekBaseline")->isChecked());
            QVERIFY(dialog->findChild<QCheckBox*>("cbxTrekBaseline")->property("suggested").toBool());
            QCOMPARE(dialog->findChild<QLineEdit*>("edtWiggDuration")->text(), QString("10"));
            QVERIFY(!dialog->findChild<QLineEdit*>("edtWindowSize")->property("suggested").toBool());
            QVERIFY(dialog->findChild<QLabel*>("lblSuggested")->isVisible());
            if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
                dialog->grab().save(QString::fromUtf8(folder) + "/dive-parameters-suggested.png");
            if (keep)
                dialog->accept();
            else
                dialog->reject();
        });
        window->menus().action("analysis.parameters")->trigger();
    };
    // Cancel drops the suggestion, OK keeps it.
    suggestThen(false);
    QCOMPARE(wb->settings.dive, defaults);
    suggestThen(true);
    QCOMPARE(wb->settings.dive.Threshold, 4.0);
    QCOMPARE(wb->settings.dive.TrekBaseline, uint8_t{1});
    QCOMPARE(wb->settings.dive.WiggDuration, 10);
    QCOMPARE(wb->settings.dive.LenRest, 2);  // no field of its own, kept all the same

    // The first search with the parameters as they come offers it once.
    wb->settings.dive = defaults;
    bool offered = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* dialog = qobject_cast<DiveParamsDialog*>(w);
        QVERIFY(dialog);
        offered = dialog->findChild<QLineEdit*>("edtThreshold")->property("suggested").toBool();
        dialog->accept();
    });
    test::Key(window, Qt::Key_Q);
    QVERIFY(offered);
    const auto questions = [&] {
        const std::vector<std::string> t = ui->texts();
        return std::count_if(t.begin(), t.end(),
                             [](const std::string& x) { return x.find("Let this record") != std::string::npos; });
    };
    QCOMPARE(questions(), 1);
    QCOMPARE(wb->settings.dive.Threshold, 4.0);
    QVERIFY(window->view().at.F5 > window->view().at.F4);
    wb->settings.dive = defaults;
    test::Key(window, Qt::Key_Q);  // not asked again this run
    QCOMPARE(wb->settings.dive, defaults);
    QCOMPARE(questions(), 1);
}

void FirstHourTest::divesToCheckAndGoTo()
{
    // The first run a new user makes: a threshold near the surface, which
    // reads 1 m, and no surface baseline. Dives run together across the surface.
    wb->dive.suggestionOffered = true;
    wb->settings.dive.Threshold = 2;
    wb->settings.thumbnails.Thumbnail = false;
    automatic(window->view().T);
    QPointer<DiveChecksWindow> checks = window->findChild<DiveChecksWindow*>("diveChecksWindow");
    QVERIFY(checks && checks->isVisible());
    auto* list = checks->findChild<QTreeWidget*>("lvwChecks");
    QVERIFY(list->topLevelItemCount() >= 10);
    const QString intro = checks->findChild<QLabel*>("lblChecks")->text();
    QVERIFY2(intro.contains(" dives just written may be wrong") && intro.contains("furseal-5s_Dve.xls"),
             qPrintable(intro));
    QVERIFY(std::find_if(ui->statusTexts.begin(), ui->statusTexts.end(), [](const std::string& t) {
                return t.find(" to check") != std::string::npos;
            }) != ui->statusTexts.end());
    test::Grab(checks, "dives-to-check");

    // "Go to" on the longest: the cursors on it, the window around it; Undo goes back.
    QTreeWidgetItem* longest = list->topLevelItem(0);
    for (int k = 0; k < list->topLevelItemCount(); ++k)
        if (list->topLevelItem(k)->text(2).split(' ')[0].toDouble() > longest->text(2).split(' ')[0].toDouble())
            longest = list->topLevelItem(k);
    QVERIFY(longest->text(2).contains("long for its depth"));
    const int number = longest->text(0).toInt();
    const LinePositions before = window->view().at;
    qobject_cast<QPushButton*>(list->itemWidget(longest, 3))->click();
    const LinePositions& at = window->view().at;
    const std::vector<std::string> table = test::Lines(wb->dive.tables.dives.path);
    const std::string& line = table.at(static_cast<std::size_t>(number) + 1);
    const double onset = std::stod(test::Cells(line).at(3)) * 1000, duration = std::stod(test::Cells(line).at(5));
    QCOMPARE(at.F4, onset);
    QCOMPARE(at.F5 - at.F4, duration * 1000);
    QVERIFY(duration > 30 * 60);
    QVERIFY(at.F1 <= at.F4 && at.F2 >= at.F5 && at.F2 - at.F1 < 3 * (at.F5 - at.F4));
    QVERIFY(line.find("\tlong") != std::string::npos);
    // The read-outs belong to the dive gone to: its depth, its shape pressed.
    const std::vector<std::string> names = test::Cells(table.at(0)), cells = test::Cells(line);
    const auto cell = [&](const char* name) {
        return cells.at(static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin()));
    };
    QCOMPARE(window->findChild<QLineEdit*>("maxDepth")->text(),
             QString::number(std::stod(cell("MaxDepth[m]")), 'f', 2));
    const auto pressed = window->findChildren<QToolButton*>(QRegularExpression("^shape"));
    QCOMPARE(std::count_if(pressed.begin(), pressed.end(),
                           [&](QToolButton* b) { return b->isChecked() && b->text().toStdString() == cell("Shape"); }),
             1);
    window->resize(1280, 720);
    window->executeRedraw(redraw::Everything);
    test::Grab(window, "dive-to-check-framed");
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->view().at, before);

    // Help explains the marks; the next run replaces the list.
    checks->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
    QCOMPARE(help->shown(), std::string("frmDiveChecks.rtf"));
    help->close();
    wb->settings.dive.Threshold = 4;
    wb->settings.dive.TrekBaseline = 1;
    ui->choices = {Choice::Second};  // the same stretch again: new files
    automatic(window->view().T);
    QVERIFY(!checks);
    checks = window->findChild<DiveChecksWindow*>("diveChecksWindow");
    QVERIFY(checks);
    list = checks->findChild<QTreeWidget*>("lvwChecks");
    // Only shallow dives remain to check: none of the foraging dives past 20 m.
    const QRegularExpression depth("long for its depth of ([0-9.]+) m");
    for (int k = 0; k < list->topLevelItemCount(); ++k) {
        const QString why = list->topLevelItem(k)->text(2);
        const QRegularExpressionMatch m = depth.match(why);
        QVERIFY2(why.startsWith("reaches ") || (m.hasMatch() && m.captured(1).toDouble() < 20), qPrintable(why));
    }
}

void FirstHourTest::aStretchWrittenTwiceAsksFirst()
{
    wb->dive.suggestionOffered = true;
    wb->settings.dive.Threshold = 4;
    wb->settings.dive.TrekBaseline = 1;
    wb->settings.thumbnails.Thumbnail = false;
    const double hours = 12 * 3600e3;  // the first dives of the record
    automatic(hours);
    const std::string table = wb->settings.NameOutFile[0];
    const std::vector<std::string> first = test::Lines(table);
    QVERIFY(first.size() > 10);
    QVERIFY(ui->captions.empty());

    // Cancel: nothing written, the status says so.
    ui->choices = {Choice::Cancel};
    automatic(hours);
    QCOMPARE(ui->captions.size(), std::size_t{1});
    QCOMPARE(ui->captions[0],
             (std::vector<std::string>{"Dives already written", "Append anyway", "New files", "Cancel"}));
    QVERIFY(ui->shown.back().text.find(" dives in the stretch to analyse, the first beginning at ") !=
            std::string::npos);
    QCOMPARE(test::Lines(table), first);
    QCOMPARE(ui->statusTexts.back(), std::string("Automatic analysis cancelled: nothing written"));
    // Append anyway: the table holds the stretch twice.
    ui->choices = {Choice::First};
    automatic(hours);
    const std::size_t again = std::stoul(ui->statusTexts.back());  // "n dives analysed"
    QVERIFY(again > first.size() / 2);
    QCOMPARE(test::Lines(table).size(), first.size() + again);
    // A later stretch is not asked about.
    window->view().at.F4 = hours;
    window->view().at.F5 = 2 * hours;
    test::WhenDialogShows([](QWidget* d) { d->findChild<QPushButton*>("btnOK")->click(); });
    window->menus().action("analysis.automatic")->trigger();
    QCOMPARE(ui->captions.size(), std::size_t{2});
    QVERIFY(test::Lines(table).size() > first.size() + again);

    // The dialog says what the run will analyse; "Whole record" makes it the whole record,
    // which overlaps the dives written: the question comes before any dive is analysed.
    window->view().at.F4 = 2 * hours;
    window->view().at.F5 = 3 * hours;
    QString before, after;
    ui->choices = {Choice::Cancel};
    test::WhenDialogShows([&](QWidget* d) {
        auto* stretch = d->findChild<QLabel*>("lblStretch");
        before = stretch->text();
        d->findChild<QPushButton*>("btnWholeRecord")->click();
        after = stretch->text();
        if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
            d->grab().save(QString::fromUtf8(folder) + "/automatic-stretch.png");
        d->findChild<QPushButton*>("btnOK")->click();
    });
    window->menus().action("analysis.automatic")->trigger();
    QVERIFY2(before.contains(" (12 h 0 min, between F4 and F5); the dive table holds no dive of it."),
             qPrintable(before));
    QVERIFY2(after.contains("dives of it.") && !after.contains(" 12 h 0 min"), qPrintable(after));
    QCOMPARE(window->view().at.F4, 0.0);
    QCOMPARE(window->view().at.F5, wb->rec.time.LongestSpan);
    QCOMPARE(ui->captions.size(), std::size_t{3});
    QCOMPARE(ui->statusTexts.back(), std::string("Automatic analysis cancelled: nothing written"));
}

namespace {

void Wheel(QWidget* w, QPoint at, int notches, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QWheelEvent event(QPointF(at), w->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, m,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

}  // namespace

void FirstHourTest::wheelZoomsAroundTheMouse()
{
    LinePositions& at = window->view().at;
    at.F1 = 0.4 * window->view().T;  // in the middle of the record
    at.F2 = 0.6 * window->view().T;
    window->executeRedraw(redraw::Everything);
    const LinePositions before = at;
    QWidget* strip = window->strip(0);
    const QPoint mouse(strip->width() / 4, strip->height() / 2);
    const double t = ColumnToTime(mouse.x(), at.F1, at.F2, strip->width());
    // One notch away: four fifths of the width, the time under the mouse staying there.
    Wheel(strip, mouse, 1);
    QCOMPARE(at.F2 - at.F1, 0.8 * (before.F2 - before.F1));
    QVERIFY(std::fabs(ColumnToTime(mouse.x(), at.F1, at.F2, strip->width()) - t) < (at.F2 - at.F1) / strip->width());
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(at, before);
    // Shift: a tenth of the window back in time; Undo again.
    Wheel(strip, mouse, 1, Qt::ShiftModifier);
    QCOMPARE(at.F1, before.F1 - 0.1 * (before.F2 - before.F1));
    QCOMPARE(at.F2 - at.F1, before.F2 - before.F1);
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(at, before);
    // Ctrl: the depth range, the value under the mouse staying at its row.
    const ChannelDescriptor d = wb->rec.desc(0);
    Wheel(strip, mouse, -1, Qt::ControlModifier);
    QCOMPARE(wb->rec.desc(0).Max - wb->rec.desc(0).Min, (d.Max - d.Min) * 1.25);
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(wb->rec.desc(0).Min, d.Min);
    QCOMPARE(wb->rec.desc(0).Max, d.Max);
}

void FirstHourTest::boutCriterionFittedInTheDialog()
{
    // The whole record framed; the dialog's threshold and baseline, not yet stored, are the ones fitted with.
    window->view().at.F4 = 0;
    window->view().at.F5 = window->view().T;
    const LinePositions before = window->view().at;
    const double baseline = wb->rec.desc(0).yOffset;
    const int32_t counter = wb->dive.record.counter;
    QString figures;
    const auto fitThen = [&](const char* threshold, bool take) {
        test::WhenDialogShows("diveParamsDialog", [&, threshold, take](QWidget* w) {
            auto* dialog = qobject_cast<DiveParamsDialog*>(w);
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>("edtThreshold")->setText(threshold);
            dialog->findChild<QCheckBox*>("cbxTrekBaseline")->setChecked(true);
            auto* fit = dialog->findChild<QPushButton*>("btnFitBouts");
            QVERIFY(fit && fit->isVisible());
            test::WhenDialogShows("boutFitWindow", [&, take](QWidget* f) {
                figures = f->findChild<QLabel*>("lblBoutFit")->text();
                auto* takeButton = f->findChild<QPushButton*>("btnTakeCriterion");
                if (take && takeButton) {
                    f->resize(760, 600);
                    test::Grab(f, "bout-criterion");
                    // Help explains the method on the dialog's page.
                    f->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
                    QCOMPARE(help->shown(), std::string("DivPar.rtf"));
                    auto* page = help->findChild<QTextBrowser*>();
                    QVERIFY(page && page->toPlainText().contains("Bout pause fitted from the record"));
                    QVERIFY(page->toPlainText().contains("BEC = ln(p·λf / ((1 − p)·λs)) / (λf − λs)"));
                    test::Grab(help.get(), "bout-criterion-help");
                    help->close();
                    takeButton->click();
                } else {
                    QVERIFY(!take || takeButton);
                    qobject_cast<QDialog*>(f)->reject();
                }
            });
            fit->click();
            auto* pause = dialog->findChild<QLineEdit*>("edtBoutIntermediate");
            if (take) {
                test::Grab(dialog, "dive-parameters-bout-fitted");
                QVERIFY(pause->property("suggested").toBool());
                QVERIFY(pause->text() != "300");
            } else {
                QCOMPARE(pause->text(), QString("300"));
            }
            dialog->accept();
        });
        window->menus().action("analysis.parameters")->trigger();
    };

    fitThen("4", true);
    QVERIFY2(figures.contains("Bout-ending criterion "), qPrintable(figures));
    QVERIFY(figures.contains("Share of pauses within bouts p = 0."));
    const int pause = wb->settings.dive.BoutIntermediate;
    QVERIFY2(pause > 30 && pause < 600, qPrintable(QString::number(pause)));
    // The field took the criterion the window showed, rounded to whole seconds.
    const QRegularExpressionMatch shown = QRegularExpression("Bout-ending criterion ([0-9.]+) s").match(figures);
    QVERIFY(shown.hasMatch());
    QCOMPARE(pause, static_cast<int>(std::lround(shown.captured(1).toDouble())));
    // Searching changed nothing: cursors, baseline, dive counter.
    QCOMPARE(window->view().at.F4, before.F4);
    QCOMPARE(window->view().at.F5, before.F5);
    QCOMPARE(window->view().at.F1, before.F1);
    QCOMPARE(wb->rec.desc(0).yOffset, baseline);
    QCOMPARE(wb->dive.record.counter, counter);

    // Too few dives past a deep threshold: the reason, and no number to take.
    wb->settings.dive.BoutIntermediate = 300;
    fitThen("60", false);
    QVERIFY2(figures.contains("Only ") && figures.contains("a bout criterion needs at least 20"), qPrintable(figures));
    QCOMPARE(wb->settings.dive.BoutIntermediate, 300);
}

void FirstHourTest::helpFromAModalDialogIsNotBlocked()
{
    // Help opened from the parameter dialog takes keys (Escape closes it)
    // while the dialog is still open.
    bool closedWhileOpen = false;
    test::WhenDialogShows([&](QWidget* d) {
        for (QAbstractButton* b : d->findChild<QDialogButtonBox*>()->buttons())
            if (b->text() == "Help")
                b->click();
        QVERIFY(help->isVisible());
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        closedWhileOpen = !help->isVisible();
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    window->menus().action("analysis.parameters")->trigger();
    QVERIFY(closedWhileOpen);
}

}  // namespace vk

QTEST_MAIN(vk::FirstHourTest)
#include "FirstHourTest.moc"
