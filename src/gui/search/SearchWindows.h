#pragma once

#include "search/ItemNotices.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;

namespace hv {

class THVWindow;
class TFindDlg;
class TFindDupDlg;
class TRowIcons;
class TSettings;
class TUserPrompts;

// The main window's "検索(&S)" menu: `actFind` and `actFindDup`, each opening its window once
// (an open one comes to the front), and the hub through which the main window's item notices
// reach the open windows' result rows.
class TSearchWindows : public QObject {
    Q_OBJECT

public:
    TSearchWindows(THVWindow& window, TSettings* settings, TUserPrompts& prompts);
    ~TSearchWindows() override;

    QAction* actFind = nullptr;
    QAction* actFindDup = nullptr;
    void FillMenu(QMenu* menu) const;

    // The open windows, or nullptr.
    TFindDlg* FindDlg() const;
    TFindDupDlg* FindDupDlg() const;
    TItemNotices& Notices() { return m_Notices; }

    void ShowFindDlg();
    void ShowFindDupDlg();
    // The open windows follow the changed settings (hot tracking).
    void ApplySettings();

private:
    THVWindow& m_Window;
    TSettings* m_Settings;
    TUserPrompts& m_Prompts;
    TItemNotices m_Notices;
    std::unique_ptr<TRowIcons> m_Icons;
    QPointer<TFindDlg> m_FindDlg;
    QPointer<TFindDupDlg> m_FindDupDlg;
};

} // namespace hv
