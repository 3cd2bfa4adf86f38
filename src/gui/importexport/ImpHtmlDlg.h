#pragma once

#include "importexport/ImpHtml.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QPushButton;
class QTreeView;

namespace hv {

class TLinkListModel;
class TSettings;
class TUserPrompts;

// The checklist of the links of HTML files ("HTMLファイルのインポート"): files come from the file
// dialog or are dropped on the window; the ticked links go to the folder selected in the main
// window. A window of its own, not modal; it frees itself when closed.
class TImpHtmlDlg : public QDialog {
    Q_OBJECT

public:
    // Adds the ticked links to the selected folder and returns how many were added.
    using TImporter = std::function<int(const std::vector<THtmlLink>& links)>;

    TImpHtmlDlg(TImporter importer, TUserPrompts& prompts, TSettings* settings, QWidget* parent = nullptr);
    ~TImpHtmlDlg() override;

    QAction* actOpenFile;
    QAction* actOpenURL;
    QAction* actImport;
    QAction* actClose;
    QAction* actCheckAll;
    QAction* actUncheckAll;
    QAction* actInvertChecks;
    QAction* actSortByName;
    QAction* actSortByURL;
    QAction* actSortByImportOrder;

    TLinkListModel* Model() const { return m_Model; }
    QTreeView* List() const { return m_List; }

    // Replaces the list with the links of files, read in order; a file that cannot be read ends
    // the reading with the error box, the rows read before staying.
    void OpenFiles(const QStringList& files);
    // The file dialog, then OpenFiles.
    void OpenFromDialog();
    // Adds the ticked rows and tells the count; nothing while a title is being edited.
    void Import();
    void Sort(TLinkSort order);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateLayout();

    TImporter m_Importer;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    TLinkListModel* m_Model;
    QTreeView* m_List = nullptr;
};

} // namespace hv
