#include "app/DesktopIntegration.h"

#include "HVVersion.h"

#include <QApplication>
#include <QDirIterator>
#include <QLibraryInfo>
#include <QTranslator>

namespace hv {

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Hollyvine"));
    QApplication::setApplicationVersion(
        QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size())));
    QApplication::setDesktopFileName(QStringLiteral("hollyvine"));
    QApplication::setWindowIcon(ProgramIcon());
    InstallQtTranslations(app);
}

QIcon ProgramIcon() {
    // The sizes rendered from data/icons/hollyvine.svg; the same files are installed into the
    // icon theme.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("hollyvine-*.png")}, QDir::Files);
    while (sizes.hasNext()) {
        icon.addFile(sizes.next());
    }
    return icon;
}

QString QtTranslationsDirectory() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtTranslations(QCoreApplication& app, const QString& directory) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), directory)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace hv
