#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace hv {

class THVFolder;

// A first, read-only main window: the folders of one document on the left, the items of the
// selected folder (name, URL) on the right.
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    // Loads the document at path and shows it. On failure a message box tells why, and the
    // window keeps what it showed before.
    bool OpenDocument(const QString& path);

    // The caption of the root folder and of the program.
    static QString AppTitle();
    // "(無題)" for a window without a document.
    static QString UntitledName();

    const hv::THVFolder& Root() const { return *m_Root; }
    QTreeWidget* FolderTree() const { return m_FolderTree; }
    QTreeWidget* ItemList() const { return m_ItemList; }
    QAction* ExitAction() const { return m_ExitAction; }

private:
    void ShowError(const QString& message);
    void ShowTree();
    void ShowItemsOf(const hv::THVFolder* folder);
    void UpdateTitle();
    void OnCurrentFolderChanged(QTreeWidgetItem* current);

    std::unique_ptr<hv::THVFolder> m_Root;
    QString m_FileName;
    QTreeWidget* m_FolderTree = nullptr;
    QTreeWidget* m_ItemList = nullptr;
    QAction* m_ExitAction = nullptr;
};

} // namespace hv
