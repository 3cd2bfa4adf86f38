#pragma once

#include "search/DuplicateUrls.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace hv {

class THVWindow;
class TDupResultModel;
class TItemNotices;
class TRowIcons;
class TSettings;

// The duplicate-URL window "重複URLの検索": every group of items that point to the same address
// (command lines too, when asked), one row per occurrence. Modeless and resizable, the list
// filling the middle; opening a row shows its folder in the main window and selects the item.
class TFindDupDlg : public QDialog {
    Q_OBJECT

public:
    TFindDupDlg(THVWindow& window, TItemNotices* notices, TSettings* settings, const TRowIcons& icons);
    ~TFindDupDlg() override;

    TDupResults& Results() { return m_Results; }
    TDupResultModel* Model() const { return m_Model; }
    QTreeView* List() const { return m_List; }

    // btnSearch: the groups of the chosen range, the first row selected.
    void StartSearch();
    // Opens the focused row when it is selected (btnOpenFolder, a double click).
    void OpenResult();
    // "リストから削除(&D)": the selected rows go, the items stay.
    void DeleteSelectedRows();
    // Writes the window's place and size (on closing, and when the main window goes first).
    void StorePlacement();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void RangeChanged();
    void SelectionChanged();

    THVWindow& m_Window;
    TSettings* m_Settings;
    TDupResults m_Results;
    TNoticeSubscription m_Subscription;
    TDupResultModel* m_Model = nullptr;

    QRadioButton* m_rdbFolder = nullptr;
    QCheckBox* m_chkSubFolders = nullptr;
    QRadioButton* m_rdbAll = nullptr;
    QCheckBox* m_chkCommands = nullptr;
    QPushButton* m_btnSearch = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QLabel* m_lblStatus = nullptr;
    QTreeView* m_List = nullptr;
    QPushButton* m_btnOpenFolder = nullptr;
    QPushButton* m_btnDelete = nullptr;
};

} // namespace hv
