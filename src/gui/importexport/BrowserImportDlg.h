#pragma once

#include "importexport/BrowserStores.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace hv {

// A store as the dialog lists it: its bookmark count, or why it cannot be read.
struct TBrowserStoreRow {
    TBrowserStore Store;
    int Count = -1; // -1: unreadable, Error tells why
    std::string Error;
};

// The list of the browsers' bookmark stores: browser, profile, number of bookmarks and the
// store's path as a hint, with "インポート(&I)" (enabled for a readable store; a double click does
// the same) and "キャンセル". Load and SelectRow are what the user sees and does; Execute shows
// it modally.
class TBrowserImportDlg : public QDialog {
    Q_OBJECT

public:
    explicit TBrowserImportDlg(QWidget* parent = nullptr);

    void Load(const std::vector<TBrowserStoreRow>& rows);
    // Load, then the modal dialog; the chosen store, nullopt when cancelled.
    std::optional<TBrowserStore> Execute(const std::vector<TBrowserStoreRow>& rows);

    void SelectRow(int row);
    // The selected store when it can be imported.
    std::optional<TBrowserStore> ChosenStore() const;

    QTreeWidget* List() const { return m_List; }
    QPushButton* ImportButton() const { return m_Import; }

private:
    void UpdateButton();

    std::vector<TBrowserStoreRow> m_Rows;
    QTreeWidget* m_List = nullptr;
    QPushButton* m_Import = nullptr;
};

} // namespace hv
