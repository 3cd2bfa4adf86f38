#pragma once

#include "settings/ConfigFields.h"

#include <QColor>
#include <QDialog>
#include <QFont>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTreeWidget;
class QWidget;

namespace hv {

class TNetworkConnections;
class TRecentFiles;
class TSettings;

// "設定": the general options on eight pages (access, tree view, list view, dates, file history,
// task bar, import, others). The options are read when the dialog is made; Store writes them
// back, which OK does. The recent files' delete button acts at once, whatever the dialog's end.
// When it goes, the dialog keeps its page in ActiveConfigPage and its place in ConfigDlgPos.
class TConfigDlg : public QDialog {
    Q_OBJECT

public:
    // The page indexes, as ActiveConfigPage stores them.
    enum TPage { pgAccess, pgTreeView, pgListView, pgDate, pgHistory, pgTaskBar, pgImport, pgOthers, PageCount };
    // How the colour and font buttons ask; tests answer without a dialog.
    using TColorChooser = std::function<std::optional<QColor>(const QColor& current, QWidget* parent)>;
    using TFontChooser = std::function<std::optional<QFont>(const QFont& current, QWidget* parent)>;

    // network lists the dial-up entries; nullptr asks NetworkManager.
    TConfigDlg(TSettings& settings, TRecentFiles& recentFiles, TNetworkConnections* network = nullptr,
               QWidget* parent = nullptr);
    ~TConfigDlg() override;

    void SetColorChooser(TColorChooser chooser) { m_ChooseColor = std::move(chooser); }
    void SetFontChooser(TFontChooser chooser) { m_ChooseFont = std::move(chooser); }

    // The options as the controls hold them now, and the writing of them (OK).
    TConfigValues Values() const;
    void Store();
    // The colour button and the memo font button; false when nothing was chosen.
    bool ChooseColor();
    bool ChooseMemoFont();
    // Removes the selected recent files from the list and from the window's recent files.
    void DeleteSelectedRecentFiles();

    QTabWidget* Pages() const { return m_Pages; }
    QColor NeedToVisitColor() const { return m_NeedToVisitColor; }
    const std::string& MemoFont() const { return m_MemoFont; }

private:
    QWidget* CreateAccessPage();
    QWidget* CreateTreeViewPage();
    QWidget* CreateListViewPage();
    QWidget* CreateDatePage();
    QWidget* CreateHistoryPage();
    QWidget* CreateTaskBarPage();
    QWidget* CreateImportPage();
    QWidget* CreateOthersPage();
    void Load(const TConfigValues& values);
    void FillPhoneEntries(const std::string& selected);
    void FillRecentFiles();
    void SetNeedToVisitColor(const QColor& color);
    void UpdateEnabled();
    void UpdateHintLabel();

    TSettings& m_Settings;
    TRecentFiles& m_RecentFiles;
    TNetworkConnections* m_Network;
    TColorChooser m_ChooseColor;
    TFontChooser m_ChooseFont;
    QTabWidget* m_Pages = nullptr;
    // Access
    QButtonGroup* m_rdgCheckRasConnect = nullptr;
    QLabel* m_lblPhoneEntry = nullptr;
    QTreeWidget* m_lstPhoneEntry = nullptr;
    std::string m_UnlistedPhoneEntry;
    QButtonGroup* m_rdgAccessRestriction = nullptr;
    std::array<QLineEdit*, 4> m_edtRestrictTime{};
    // Tree view
    QCheckBox* m_chkShowTreeBtn = nullptr;
    QCheckBox* m_chkTreeHotTrack = nullptr;
    QCheckBox* m_chkShowTreeHint = nullptr;
    QCheckBox* m_chkTreeRClickSelect = nullptr;
    QCheckBox* m_chkSortFolder = nullptr;
    QSlider* m_trbTreeNodeIndent = nullptr;
    QSlider* m_trbTreeDragScrollDelay = nullptr;
    QSlider* m_trbTreeDragExpandDelay = nullptr;
    // List view
    QCheckBox* m_chkListHotTrack = nullptr;
    QCheckBox* m_chkSingleClickOpen = nullptr;
    QCheckBox* m_chkAutoResizeColumns = nullptr;
    QLineEdit* m_edtGrayItemTime = nullptr;
    QButtonGroup* m_rdgNewItemAtBottom = nullptr;
    QPushButton* m_btnNeedToVisitColor = nullptr;
    QColor m_NeedToVisitColor;
    // Dates
    QButtonGroup* m_rdgDateStrType = nullptr;
    QCheckBox* m_chkYearTwoDigit = nullptr;
    QLineEdit* m_edtDateSeparator = nullptr;
    QButtonGroup* m_rdgDayOfWeek = nullptr;
    QButtonGroup* m_rdgHour24 = nullptr;
    // File history
    QTreeWidget* m_lstRecentFiles = nullptr;
    QPushButton* m_btnDeleteRecent = nullptr;
    // Task bar
    QButtonGroup* m_rdgTrayIcon = nullptr;
    QCheckBox* m_chkHideTaskBar = nullptr;
    // Import
    QButtonGroup* m_rdgImpBrowserNNFirst = nullptr;
    QCheckBox* m_chkImpBrowserConfirm = nullptr;
    // Others
    QSlider* m_trbHintHidePause = nullptr;
    QLabel* m_lblHintHidePause = nullptr;
    QCheckBox* m_chkStartWithFile = nullptr;
    QCheckBox* m_chkFolderFullPath = nullptr;
    QPushButton* m_btnMemoFont = nullptr;
    QCheckBox* m_chkAutoSave = nullptr;
    std::string m_MemoFont;
};

} // namespace hv
