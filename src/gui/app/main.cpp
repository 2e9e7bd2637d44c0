// Program start: the main dialog, the help viewer, and an optional setup file
// named on the command line (as a desktop opens the file it was started with).

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "core/example/ExampleRecording.h"
#include "core/help/ProgramHelp.h"
#include "core/setup/Workbench.h"
#include "core/store/ConsoleDialogs.h"
#include "gui/app/MainDialog.h"
#include "gui/app/ProgramFolders.h"
#include "gui/app/QtDialogs.h"
#include "gui/widgets/HelpViewer.h"

namespace {

constexpr const char* SelfCheckOption = "--self-check";
constexpr const char* ExampleOption = "--example";

// The example recording written into a folder, its setup file named.
int WriteExampleInto(const std::string& folder)
{
    try {
        std::printf("%s\n", vk::example::WriteExample(folder).setup.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "varnik: the example recording could not be written: %s\n", e.what());
        return 1;
    }
}

// The main dialog and the help's first page made offscreen, with messages on
// standard error instead of boxes: 0 when both work.
int SelfCheck()
{
    vk::ConsoleDialogs ui;
    vk::Workbench wb;
    vk::HelpViewer help(ui, vk::HelpFolder());
    vk::MainDialog form(wb, ui, help, vk::LastSettingsPath(), std::string());
    form.show();
    QApplication::processEvents();
    help.showPage("mainDial.rtf");
    const bool pageShown = help.shown() == "mainDial.rtf" && !help.plainText().trimmed().isEmpty();
    std::printf("varnik: main dialog \"%s\" %s; help page mainDial.rtf %s in %s\n",
                form.windowTitle().toStdString().c_str(), form.isVisible() ? "opened" : "not opened",
                pageShown ? "found" : "not found", help.helpFolder().c_str());
    return form.isVisible() && pageShown ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // Under a file-size limit a write past it fails with its reason (and is
    // reported) instead of ending the program with the session's work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before the toolkit starts: they need no display.
    if (argc == 2 && vk::AnswerHelpOrVersion(vk::VarnikHelp(), argv[1]))
        return 0;
    if (argc > 1 && std::string(argv[1]) == ExampleOption) {
        if (argc == 3)
            return WriteExampleInto(argv[2]);
        return vk::RefuseCommandLine(vk::VarnikHelp());
    }
    const bool selfCheck = argc == 2 && std::string(argv[1]) == SelfCheckOption;
    if (selfCheck)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Varnik");
    QApplication::setOrganizationName("Varnik");
    // The installed icon and desktop entry (none in a build tree).
    QApplication::setWindowIcon(QIcon::fromTheme("varnik"));
    QApplication::setDesktopFileName("varnik");
    // The toolkit has taken its own options (-platform, -style) out.
    if (selfCheck)
        return SelfCheck();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith("--"))) {
        return vk::RefuseCommandLine(vk::VarnikHelp());
    }

    vk::QtDialogs ui;
    auto wb = std::make_unique<vk::Workbench>();
    std::unique_ptr<vk::HelpViewer> help;
    std::unique_ptr<vk::MainDialog> form;
    try {
        help = std::make_unique<vk::HelpViewer>(ui, vk::HelpFolder());
        form = std::make_unique<vk::MainDialog>(*wb, ui, *help, vk::LastSettingsPath(),
                                                arguments.size() == 2 ? arguments[1].toStdString() : std::string());
    } catch (const std::exception&) {
        ui.message("Program launch fails for unknown reason.", vk::Severity::Error);
        return 1;
    }
    ui.setParent(form.get());
    ui.setHelp(help.get());
    ui.setStatusLabel(form->statusLabel());
    form->show();
    QObject::connect(form.get(), &QDialog::finished, &app, &QApplication::quit);
    const int result = app.exec();
    help->close();
    return result;
}
