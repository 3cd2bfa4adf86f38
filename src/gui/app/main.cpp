#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(hv::TMainWindow::AppTitle());

    hv::TMainWindow window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.OpenDocument(arguments.at(1));
    }
    return QApplication::exec();
}
