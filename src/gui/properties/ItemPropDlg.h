#pragma once

#include "model/HVItems.h"
#include "properties/PropDlgServices.h"
#include "properties/Schedule.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace hv {

// The URL a new item takes from clipboard text: the text without a surrounding pair of equal
// quotes, when it starts with "mailto:" or its scheme is http, https, ftp or gopher.
std::optional<QString> UrlFromClipboardText(QString text);

// Creates a new item or edits one: name, URL, memo, access time, icon, commands and visit
// schedule. Made once and reused; it works on a private copy of the item.
class TItemPropDlg : public QDialog {
    Q_OBJECT
public:
    TItemPropDlg(TPropDlgServices& services, QWidget* parent = nullptr);
    ~TItemPropDlg() override;

    // Edits item, or a new item when item is null; list is the folder the main window shows.
    // True when the user confirmed a change: an existing item has then been updated; for a new
    // item the caller copies WorkItem() into the item it adds.
    bool Execute(THVItem* item, const THVList& list);
    const THVItem& WorkItem() const { return *m_Work; }

    // The parts of Execute, for tests and callers that drive the dialog themselves.
    void Load(THVItem* item, const THVList& list);
    // OK's checks in their order; false (after a warning) keeps the dialog open.
    bool CheckOK();
    // What OK writes: the working item, and a copy into the edited item.
    void Store();
    bool Modified() const { return m_Modified; }
    TScheduleForm ScheduleForm() const;

    // Buttons of the pages.
    void SetNow();
    void EditAccessTime();
    void ChangeIcon();
    void AddCommand();
    void EditCommand();
    void DeleteCommand();
    void TestCommand();
    void MoveCommand(int delta);

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeGeneralPage();
    QWidget* MakeCommandsPage();
    QWidget* MakeSchedulePage();
    void SetModified(bool modified);
    void MarkModified() { SetModified(true); }
    void NumberChanged();
    void UpdateAccessTime();
    void UpdateIcon();
    void UpdateCommandButtons();
    void UpdateDayMode();
    void FitColumns();
    void SetCommandRow(int row, const TCmdItem& command);
    TCmdItem CommandOfRow(int row) const;

    TPropDlgServices& m_Services;
    THVList m_WorkList;
    THVItem* m_Work;
    THVItem* m_Target = nullptr;
    const THVList* m_List = nullptr;
    bool m_Modified = false;
    bool m_Loading = false;

    QTabWidget* m_Pages;
    QLineEdit* m_Name;
    QLineEdit* m_URL;
    QLineEdit* m_AccessTime;
    QPlainTextEdit* m_Memo;
    QLabel* m_IconPreview;
    QTreeWidget* m_Commands;
    QPushButton* m_Delete;
    QPushButton* m_Edit;
    QPushButton* m_Test;
    QPushButton* m_Up;
    QPushButton* m_Down;
    QRadioButton* m_WeekMode;
    QRadioButton* m_DateMode;
    QCheckBox* m_WeekDays[7];
    QLineEdit* m_MonthDays;
    QLabel* m_MonthNote;
    QSpinBox* m_Numbers[4];
    QPushButton* m_OK;
};

} // namespace hv
