#pragma once

#include "search/FindSearch.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeView;

namespace hv {

class THVWindow;
class TFindResultModel;
class TItemNotices;
class TRowIcons;
class TSettings;
class TUserPrompts;

// The find window "検索": the condition read as one sentence (field "が" text type "ものを"), the
// range, and the result list over the core's result rows. Modeless; the search runs in slices
// from the event loop, so the window and the main window stay usable and it can be cancelled.
// Opening a result shows its folder in the main window and selects the item there.
class TFindDlg : public QDialog {
    Q_OBJECT

public:
    // notices: the hub the main window's item notices arrive through; settings may be nullptr.
    TFindDlg(THVWindow& window, TItemNotices* notices, TSettings* settings, TUserPrompts& prompts,
             const TRowIcons& icons);
    ~TFindDlg() override;

    TFindSearch& Search() { return m_Search; }
    TFindResultModel* Model() const { return m_Model; }
    QTreeView* List() const { return m_List; }

    // Limits each slice of a search to steps steps (0: a slice runs for a few milliseconds), so
    // that tests can act while a search runs.
    void SetSliceLimit(int steps) { m_SliceLimit = steps; }

    // btnSearch: starts a search with the controls' condition and range.
    void StartSearch();
    // Opens the focused row when it is selected (btnOpenFolder, a double click).
    void OpenResult();
    // "リストから削除(&D)": the selected rows go, the items stay.
    void DeleteSelectedRows();
    // The Find settings as the controls hold them.
    TFindOptions Options() const;
    // Writes them and the window's place (on closing, and when the main window goes first).
    void StoreOptions();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void LoadOptions();
    void RangeChanged();
    void RunSlice();
    void Finished(TFindOutcome outcome);
    void SetSearching(bool searching);
    void FillHistory(const QString& text);
    void SelectionChanged();
    void PostCountRefresh();
    void RefreshCount();
    void HeaderClicked(int column);
    void CancelClicked();

    THVWindow& m_Window;
    TSettings* m_Settings;
    TFindSearch m_Search;
    TFindResultModel* m_Model = nullptr;
    QTimer* m_Slices = nullptr;
    bool m_CountPosted = false;
    int m_SliceLimit = 0;

    QComboBox* m_cbbSubject = nullptr;
    QComboBox* m_cbbFindText = nullptr;
    QComboBox* m_cbbFindType = nullptr;
    QCheckBox* m_chkDiscriminateCase = nullptr;
    QRadioButton* m_rdbAll = nullptr;
    QRadioButton* m_rdbFolder = nullptr;
    QCheckBox* m_chkIncludeSubFolder = nullptr;
    QRadioButton* m_rdbInList = nullptr;
    QTreeView* m_List = nullptr;
    QPushButton* m_btnSearch = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QPushButton* m_btnDelete = nullptr;
    QPushButton* m_btnOpenFolder = nullptr;
    QLabel* m_lblItemCount = nullptr;
    QLabel* m_lblStatus = nullptr;
};

} // namespace hv
