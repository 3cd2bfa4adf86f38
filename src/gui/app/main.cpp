#include "app/CommandLine.h"
#include "app/DesktopIntegration.h"
#include "app/HVApplication.h"
#include "app/QtUserPrompts.h"
#include "app/StartUp.h"
#include "document/HVDocument.h"
#include "mainwindow/HVWindow.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

#include <QTimer>

#include <clocale>
#include <cstdio>
#include <exception>
#include <memory>

namespace {

QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// Prints the help, the version or what is wrong with the arguments; returns the exit code.
int Answer(const hv::TCommandLine& commandLine) {
    const bool error = commandLine.Action == hv::TCommandLine::TAction::Error;
    std::fputs(commandLine.Text.toUtf8().constData(), error ? stderr : stdout);
    return hv::CommandLineExitCode(commandLine);
}

// Whether QApplication can start: with a display, or told which platform to use. Otherwise it
// would abort, so a wrong argument is reported right away instead.
bool QtCanStart(const QStringList& arguments) {
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || arguments.contains(QStringLiteral("-platform")) ||
           arguments.contains(QStringLiteral("--platform"));
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version answer before anything needs a display.
    const QStringList arguments = ArgumentsOf(argc, argv);
    hv::TCommandLine commandLine = hv::ParseCommandLine(arguments);
    if (commandLine.Action == hv::TCommandLine::TAction::Help ||
        commandLine.Action == hv::TCommandLine::TAction::Version ||
        (commandLine.Action == hv::TCommandLine::TAction::Error && !QtCanStart(arguments))) {
        return Answer(commandLine);
    }
    // The locale the toolkit would set, set before the document is read on another thread.
    std::setlocale(LC_ALL, "");
    hv::TEarlyStart early;
    if (commandLine.Action == hv::TCommandLine::TAction::Start && !commandLine.Options.CleanUp) {
        early.Begin(commandLine.Options);
    }
    hv::THVApplication app(argc, argv);
    hv::SetUpApplication(app);
    hv::TQtUserPrompts prompts;
    app.SetPrompts(&prompts);
    if (commandLine.Action == hv::TCommandLine::TAction::Error) {
        // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
        commandLine = hv::ParseCommandLine(QApplication::arguments());
        if (commandLine.Action != hv::TCommandLine::TAction::Start) {
            return Answer(commandLine);
        }
    }
    const hv::TStartOptions& options = commandLine.Options;
    try {
        if (options.CleanUp) {
            hv::TFileRegistryStore store;
            hv::RunSettingsCleanUp(store, prompts);
            return 0;
        }
        if (!early.Begun()) {
            early.Begin(options);
        }
        hv::TSettings& settings = early.Settings();
        int result = 0;
        {
            hv::THVWindow window(&settings);
            window.SetDebugMode(options.DebugMode);
            prompts.SetParent(&window);
            window.show();
            QTimer::singleShot(0, &window, [&window, &options, &early] {
                window.StartUpOpen(options.DocumentPath, early.Preload());
                // For timing the start (bench/cold-open): once the window with the document has
                // been painted, say so on standard output and quit.
                if (qEnvironmentVariableIsSet("HOLLYVINE_QUIT_AFTER_START")) {
                    QTimer::singleShot(0, &window, [&window] {
                        window.repaint();
                        std::fputs("shown\n", stdout);
                        std::fflush(stdout);
                        QApplication::quit();
                    });
                }
            });
            result = QApplication::exec();
            prompts.SetParent(nullptr);
        }
        settings.End();
        return result;
    } catch (const std::exception& error) {
        prompts.Error(hv::ExceptionText(error));
        return 1;
    }
}
