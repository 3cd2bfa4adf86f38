#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace hv {

// The document file dialogs ("Holly Vine ドキュメント(*.hv)"). Tests queue the answers the next
// dialogs give (a path, or an empty string for Cancel), so no dialog opens while they run.
class TFileDialogs {
public:
    static std::optional<QString> OpenDocument(QWidget* parent, const QString& title);
    // Asks before replacing an existing file; adds ".hv" when the name has no extension.
    static std::optional<QString> SaveDocument(QWidget* parent, const QString& title, const QString& fileName);
    // Any existing file (icon files, programs); start names a file or folder to begin at, filter
    // is in Qt's form ("name (*.a *.b);;...").
    static std::optional<QString> OpenFile(QWidget* parent, const QString& title, const QString& start,
                                           const QString& filter);

    // Several existing files, in the order chosen; none when cancelled. A queued answer gives the
    // files separated by line breaks.
    static QStringList OpenFiles(QWidget* parent, const QString& title, const QString& start, const QString& filter);

    // A file to write (exports); start names a file or folder to begin at. The dialog does not
    // ask about an existing file: the caller does.
    static std::optional<QString> SaveFile(QWidget* parent, const QString& title, const QString& start,
                                           const QString& filter);

    static void QueueAnswer(const QString& path) { Answers().append(path); }
    static void ClearAnswers() { Answers().clear(); }
    static int PendingAnswers() { return static_cast<int>(Answers().size()); }

private:
    static QStringList& Answers();
    static std::optional<QString> TakeAnswer();
};

} // namespace hv
