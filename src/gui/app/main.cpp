#include "app/HVApplication.h"
#include "app/QtUserPrompts.h"
#include "app/StartUp.h"
#include "document/HVDocument.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

#include <QTimer>

#include <exception>
#include <memory>

int main(int argc, char* argv[]) {
    hv::THVApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hollyvine"));
    QApplication::setWindowIcon(hv::TFolderIcons::ProgramIcon());
    hv::TQtUserPrompts prompts;
    app.SetPrompts(&prompts);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const hv::TStartOptions options = hv::ParseStartArguments(arguments);
    try {
        hv::TFileRegistryStore store;
        if (options.CleanUp) {
            hv::RunSettingsCleanUp(store, prompts);
            return 0;
        }
        hv::TSettings settings(store);
        int result = 0;
        {
            hv::THVWindow window(&settings);
            window.SetDebugMode(options.DebugMode);
            prompts.SetParent(&window);
            window.show();
            QTimer::singleShot(0, &window, [&window, &options] {
                window.StartUpOpen(options.DocumentPath);
                // For timing the start (bench/cold-open): quit once the window with the document
                // has been painted.
                if (qEnvironmentVariableIsSet("HOLLYVINE_QUIT_AFTER_START")) {
                    QTimer::singleShot(0, &window, [&window] {
                        window.repaint();
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
