#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QFileSystemModel;
class QLabel;
class QTreeView;

namespace hv {

class TUserPrompts;

// "エクスポート先フォルダの選択": the directories of the file system with the current one
// selected, its path shown below them, and "サブフォルダ作成(&S)" that makes a directory below
// the selected one and selects it.
class TExportFolderDlg : public QDialog {
    Q_OBJECT

public:
    // How the name of a new directory is asked; tests answer without an input box.
    using TNameAsker = std::function<std::optional<QString>(QWidget* parent)>;

    TExportFolderDlg(const QString& start, TUserPrompts& prompts, QWidget* parent = nullptr);

    QString SelectedPath() const;
    void SelectPath(const QString& path);
    void SetNameAsker(TNameAsker asker) { m_AskName = std::move(asker); }

    // The custom button: asks for a name, makes the directory below the selected one and
    // selects it. False when cancelled or refused (the core's warnings say why).
    bool CreateSubFolder();

private:
    void ShowSelectedPath();

    TUserPrompts& m_Prompts;
    QFileSystemModel* m_Model;
    QTreeView* m_Tree;
    QLabel* m_lblPath;
    TNameAsker m_AskName;
};

} // namespace hv
