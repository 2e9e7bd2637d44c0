// The questions a long command asks while it runs (the automatic analysis,
// the repetitive compensation), shown as real boxes and answered with real
// clicks and keys: only the windows the command runs over are gated, the box
// it opens itself takes input. A box that swallows its answer is closed by a
// watchdog so the test fails instead of hanging.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "core/dive/ResultStep.h"
#include "core/setup/Start.h"
#include "gui/app/QtDialogs.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/ConfirmationBox.h"
#include "gui/widgets/HelpViewer.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk {

namespace {

constexpr int LookEveryMs = 10;
constexpr int StuckAfterMs = 3000;  // a box still open this long after its answer swallowed it
constexpr double Hour = 3600e3;     // ms

// The text a box shows.
QString BoxText(QWidget* modal)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        return box->text();
    if (auto* label = modal->findChild<QLabel*>("lblText"))
        return label->text();
    return modal->windowTitle();
}

// Answers every modal box that `matches` with `answer` (real events), for as
// long as it lives. A box still open StuckAfterMs after its answer, or one
// no answerer takes, is closed directly and counted as stuck.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> answer)
            : matches_(std::move(matches)), answer_(std::move(answer))
    {
        timer_.setInterval(LookEveryMs);
        connect(&timer_, &QTimer::timeout, this, [this] { look(); });
        timer_.start();
    }
    int answered = 0;
    int stuck = 0;
    std::vector<QString> texts;  // the boxes' texts, as shown

private:
    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || qobject_cast<QDialog*>(modal) == nullptr) {
            current_ = nullptr;
            return;
        }
        const bool mine = matches_(modal);
        if (modal != current_) {
            current_ = modal;
            since_.start();
            if (mine) {
                ++answered;
                texts.push_back(BoxText(modal));
                answer_(modal);
            }
        } else if (since_.elapsed() > StuckAfterMs) {
            ++stuck;
            texts.push_back("stuck: " + BoxText(modal));
            current_ = nullptr;
            static_cast<QDialog*>(modal)->reject();
        }
    }

    std::function<bool(QWidget*)> matches_;
    std::function<void(QWidget*)> answer_;
    QTimer timer_;
    QPointer<QWidget> current_;
    QElapsedTimer since_;
};

bool IsConfirmation(QWidget* w)
{
    return qobject_cast<ConfirmationBox*>(w) != nullptr;
}

// A message box whose text holds `part`.
std::function<bool(QWidget*)> BoxWith(const QString& part)
{
    return [part](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        return box && box->text().contains(part);
    };
}

// A click on the dialog's button captioned `caption`, as the mouse makes it.
std::function<void(QWidget*)> Click(const QString& caption)
{
    return [caption](QWidget* d) {
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text().remove('&') == caption && b->isVisible()) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
    };
}

std::function<void(QWidget*)> Press(Qt::Key key)
{
    return [key](QWidget* d) { QTest::keyClick(d, key); };
}

std::size_t LineCount(const std::string& file)
{
    std::ifstream in(file);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);)
        ++n;
    return n;
}

}  // namespace

class LongCommandQuestionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void theRunsQuestionsTakeRealAnswers();
    void theCompensationQuestionTakesRealAnswers();

private:
    // The automatic analysis over [from, to] (ms), started in its dialog with a real click.
    void automatic(double from, double to);
    void grab(QWidget* w, const char* name);

    std::unique_ptr<test::TempDir> dir;
    std::unique_ptr<Workbench> wb;
    QtDialogs ui;
    std::unique_ptr<HelpViewer> help;
    QPointer<GraphWindow> window;
    std::unique_ptr<BoxAnswerer> unexpected;  // closes a box no case expects, so a case fails instead of hanging
};

void LongCommandQuestionsTest::init()
{
    wb = std::make_unique<Workbench>();
    dir = std::make_unique<test::TempDir>();
    ScriptedDialogs loading;
    QVERIFY(test::StartFurSealCopy(*wb, VARNIK_TEST_DATA, dir->path(), loading));
    wb->dive.suggestionOffered = true;
    DiveParameters& p = wb->settings.dive;
    p.Threshold = 4;
    p.TrekBaseline = 1;
    p.WiggDuration = 60;  // over the 5 s interval: no warning unless a case asks for it
    wb->settings.thumbnails.Thumbnail = false;
    help = std::make_unique<HelpViewer>(ui, VARNIK_HELP_DIR "/");
    window = test::OpenActiveGraphWindow(*wb, ui, *help);
    QVERIFY(window);
    ui.setParent(window);
    unexpected = std::make_unique<BoxAnswerer>([](QWidget*) { return false; }, [](QWidget*) {});
}

void LongCommandQuestionsTest::cleanup()
{
    QVERIFY2(unexpected->stuck == 0,
             qPrintable(QStringList(unexpected->texts.begin(), unexpected->texts.end()).join(" | ")));
    unexpected.reset();
    delete window;
    help.reset();
    wb.reset();
    dir.reset();
}

void LongCommandQuestionsTest::grab(QWidget* w, const char* name)
{
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        w->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

void LongCommandQuestionsTest::automatic(double from, double to)
{
    window->view().at.F4 = from;
    window->view().at.F5 = to;
    test::WhenDialogShows("diveParamsDialog",
                          [](QWidget* d) { QTest::mouseClick(d->findChild<QPushButton*>("btnOK"), Qt::LeftButton); });
    window->menus().action("analysis.automatic")->trigger();
}

void LongCommandQuestionsTest::theRunsQuestionsTakeRealAnswers()
{
    const std::string table = wb->settings.NameOutFile[0];
    automatic(0, 12 * Hour);
    const std::size_t first = LineCount(table);
    QVERIFY(first > 10);
    std::size_t again = 0;

    // The same stretch again: the question, answered with a click, and the run goes on.
    {
        bool wide = false;
        BoxAnswerer confirm(IsConfirmation, [&](QWidget* d) {
            auto* text = d->findChild<QLabel*>("lblText");
            wide = text && text->height() >= text->heightForWidth(text->width()) &&
                   text->geometry().right() < d->width() && text->text().contains(" in the stretch to analyse, ");
            grab(d, "dives-already-written");
            Click("Append anyway")(d);
        });
        automatic(0, 12 * Hour);
        QVERIFY2(confirm.stuck == 0, qPrintable(confirm.texts.back()));
        QCOMPARE(confirm.answered, 1);
        QVERIFY2(wide, "the whole question in view");
        again = LineCount(table) - first;
        QVERIFY(again > first / 2);  // the stretch once more, from where the run found its first dive
    }
    // Escape cancels: nothing written.
    {
        BoxAnswerer confirm(IsConfirmation, Press(Qt::Key_Escape));
        automatic(0, 12 * Hour);
        QCOMPARE(confirm.stuck, 0);
        QCOMPARE(confirm.answered, 1);
        QCOMPARE(LineCount(table), first + again);
    }
    // The wiggle warning of a later stretch: Return, and the dives are written.
    {
        wb->settings.dive.WiggDuration = 3;
        BoxAnswerer warning(BoxWith("Wiggles"), Press(Qt::Key_Return));
        automatic(12 * Hour, 24 * Hour);
        QCOMPARE(warning.stuck, 0);
        QCOMPARE(warning.answered, 1);  // once a run
        QVERIFY(LineCount(table) > first + again);
        wb->settings.dive.WiggDuration = 60;
    }
    // The images of a stretch written before: asked per image; a click on
    // Cancel keeps the first, OK replaces the others.
    {
        wb->settings.dive.MakeImages = true;
        const std::string data = wb->rec.desc(0).NameIn;
        std::filesystem::create_directories(std::filesystem::path(DiveImagePath(data, 1)).parent_path());
        for (int k = 0; k < 3; ++k)
            std::ofstream(DiveImagePath(data, wb->dive.record.counter + k)) << "earlier";
        int asked = 0;
        BoxAnswerer overwrite(BoxWith("already exist. Overwrite?"),
                              [&](QWidget* d) { Click(asked++ == 0 ? "Cancel" : "OK")(d); });
        const std::size_t before = LineCount(table);
        automatic(36 * Hour, 48 * Hour);
        QCOMPARE(overwrite.stuck, 0);
        QCOMPARE(overwrite.answered, 3);
        QVERIFY(LineCount(table) > before + 3);
        wb->settings.dive.MakeImages = false;
    }
    // Halt, clicked while the run goes on, still stops it.
    {
        QPushButton* halt = window->findChild<QPushButton*>("halt");
        QVERIFY(halt);
        BoxAnswerer confirm(IsConfirmation, Click("Append anyway"));
        QTimer poll;
        bool clicked = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!clicked && halt->isVisible() && !QApplication::activeModalWidget()) {
                clicked = true;
                QTest::mouseClick(halt, Qt::LeftButton);
            }
        });
        poll.start(LookEveryMs);
        const std::size_t before = LineCount(table);
        automatic(0, 200 * Hour);
        QVERIFY(clicked);
        QVERIFY(window->findChild<QLabel*>("progressText")->text().endsWith(", halted"));
        QVERIFY(LineCount(table) > before);
    }
}

void LongCommandQuestionsTest::theCompensationQuestionTakesRealAnswers()
{
    wb->settings.compensation.CompStartDepth = 3;
    wb->settings.compensation.CompSurfaceReference = true;
    std::vector<uint16_t> before;
    for (int32_t i = 0; i <= wb->rec.desc(0).DataCnt; ++i)
        before.push_back(ReadRaw(wb->rec, i, 0));
    window->view().at.F4 = 0;
    window->view().at.F5 = 0;
    test::WhenDialogShows("compensationDialog", [](QWidget* d) {
        QTest::mouseClick(d->findChild<QPushButton*>("btnRepetitive"), Qt::LeftButton);
    });
    int asked = 0;
    BoxAnswerer question(BoxWith("Compensate?"), [&](QWidget* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        QTest::mouseClick(box->button(asked++ == 0 ? QMessageBox::Yes : QMessageBox::Abort), Qt::LeftButton);
    });
    BoxAnswerer gaps(BoxWith("holds missing values"), Press(Qt::Key_Return));
    window->menus().action("filter.compensation-settings")->trigger();
    QVERIFY2(question.stuck == 0, qPrintable(QStringList(question.texts.begin(), question.texts.end()).join(" | ")));
    QCOMPARE(question.answered, 2);  // Yes, then Abort ends the run
    int changed = 0;
    for (int32_t i = 0; i <= wb->rec.desc(0).DataCnt; ++i)
        changed += ReadRaw(wb->rec, i, 0) != before[static_cast<std::size_t>(i)];
    QVERIFY(changed > 0);
}

}  // namespace vk

QTEST_MAIN(vk::LongCommandQuestionsTest)
#include "LongCommandQuestionsTest.moc"
