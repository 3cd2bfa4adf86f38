#pragma once

#include "app/QtUserPrompts.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace hv {

class TFilePropDlg;
class THVDocument;
class TSettings;
class TUserPrompts;

// The "ファイル(&F)" menu over the open document: new, open, save, save as, merge, properties,
// the recent files and exit. Each command makes the document call its header names; the file
// dialogs go through TFileDialogs.
class TDocumentCommands : public QObject {
    Q_OBJECT

public:
    // prompts nullptr shows message boxes; settings may be nullptr (dialog positions not kept).
    TDocumentCommands(THVDocument& document, QWidget* window, TUserPrompts* prompts = nullptr,
                      TSettings* settings = nullptr);

    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* mniSaveAs = nullptr;
    QAction* actMerge = nullptr;
    QAction* actFileProp = nullptr;
    QAction* actExit = nullptr;
    QMenu* mniRecentFiles = nullptr;
    // The open tool button's drop-down: the same entries, then "その他のファイル(&T)..." (the open
    // dialog). The menu entry "開く(&O)..." itself opens the dialog.
    QMenu* RecentFilePopup = nullptr;

    void FillMenu(QMenu* menu) const;

    void New();
    void Open();
    void SaveAs();
    void Merge();
    // The file-properties dialog; on OK the document takes its password (marked modified when
    // that changed). Returns whether the document changed.
    bool FileProperties();
    // A dropped file: opened when it is a document, after the save prompt.
    bool OpenDropped(const QString& path);
    // The save dialog for a document without a name; nullopt when cancelled.
    std::optional<std::string> AskSaveFileName();

    // How the file-properties dialog is run; tests drive it through its Load, EditPassword and
    // Store instead of showing it. Returns whether OK was chosen.
    using TFilePropRunner = std::function<bool(TFilePropDlg& dialog)>;
    void SetFilePropDialogRunner(TFilePropRunner runner) { m_RunFilePropDialog = std::move(runner); }

private:
    void FillRecentMenu(QMenu* menu);

    THVDocument& m_Document;
    QWidget* m_Window;
    TQtUserPrompts m_OwnPrompts;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    TFilePropRunner m_RunFilePropDialog;
};

} // namespace hv
