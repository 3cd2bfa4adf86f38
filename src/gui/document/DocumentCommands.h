#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace hv {

class THVDocument;

// The "ファイル(&F)" menu over the open document: new, open, save, save as, merge, the recent
// files and exit. Each command makes the document call its header names; the file dialogs go
// through TFileDialogs.
class TDocumentCommands : public QObject {
    Q_OBJECT

public:
    TDocumentCommands(THVDocument& document, QWidget* window);

    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* mniSaveAs = nullptr;
    QAction* actMerge = nullptr;
    QAction* actExit = nullptr;
    QMenu* mniRecentFiles = nullptr;
    // The open button's drop-down with the same entries.
    QMenu* RecentFilePopup = nullptr;

    void FillMenu(QMenu* menu) const;

    void New();
    void Open();
    void SaveAs();
    void Merge();
    // A dropped file: opened when it is a document, after the save prompt.
    bool OpenDropped(const QString& path);
    // The save dialog for a document without a name; nullopt when cancelled.
    std::optional<std::string> AskSaveFileName();

private:
    void FillRecentMenu(QMenu* menu);

    THVDocument& m_Document;
    QWidget* m_Window;
};

} // namespace hv
