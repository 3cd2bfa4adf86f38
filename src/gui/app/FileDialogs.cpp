#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace hv {

namespace {

QString DocumentFilter() {
    return QStringLiteral("Holly Vine ドキュメント (*.hv)");
}

} // namespace

QStringList& TFileDialogs::Answers() {
    static QStringList answers;
    return answers;
}

std::optional<QString> TFileDialogs::TakeAnswer() {
    if (Answers().isEmpty()) {
        return std::nullopt;
    }
    return Answers().takeFirst();
}

std::optional<QString> TFileDialogs::OpenDocument(QWidget* parent, const QString& title) {
    QString path;
    if (auto queued = TakeAnswer()) {
        path = *queued;
    } else {
        path = QFileDialog::getOpenFileName(parent, title, QString(), DocumentFilter());
    }
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> TFileDialogs::OpenFile(QWidget* parent, const QString& title, const QString& start,
                                              const QString& filter) {
    auto path = TakeAnswer();
    if (!path) {
        path = QFileDialog::getOpenFileName(parent, title, start, filter);
    }
    if (path->isEmpty()) {
        return std::nullopt;
    }
    return path;
}

QStringList TFileDialogs::OpenFiles(QWidget* parent, const QString& title, const QString& start,
                                    const QString& filter) {
    if (auto queued = TakeAnswer()) {
        return queued->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    return QFileDialog::getOpenFileNames(parent, title, start, filter);
}

std::optional<QString> TFileDialogs::SaveDocument(QWidget* parent, const QString& title, const QString& fileName) {
    QString path;
    if (auto queued = TakeAnswer()) {
        path = *queued;
    } else {
        QFileDialog dialog(parent, title, fileName, DocumentFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("hv"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        path = dialog.selectedFiles().constFirst();
    }
    if (path.isEmpty()) {
        return std::nullopt;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".hv");
    }
    return path;
}

std::optional<QString> TFileDialogs::SaveFile(QWidget* parent, const QString& title, const QString& start,
                                              const QString& filter) {
    auto path = TakeAnswer();
    if (!path) {
        path = QFileDialog::getSaveFileName(parent, title, start, filter, nullptr, QFileDialog::DontConfirmOverwrite);
    }
    if (path->isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace hv
