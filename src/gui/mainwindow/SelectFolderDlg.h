#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace hv {

class THVFolder;
class TFolderTreeModel;
class TSettings;
class TUserPrompts;

// The folder picker: a read-only copy of the folder tree with the main tree's expanded states, a
// name field and OK / "キャンセル(&C)". Adding a folder, and moving or copying items, choose their
// target folder with it. Everything OK decides is in plain methods (Load, CheckOK), so callers and
// tests can drive it without showing it; Execute shows it modally.
class TSelectFolderDlg : public QDialog {
    Q_OBJECT

public:
    // The five uses; the numbers are the picker's mode numbers 0..4.
    enum class TMode { AddFolder = 0, MoveRename = 1, Move = 2, CopyRename = 3, Copy = 4 };
    // Whether a folder is expanded in the main tree; empty: THVFolder::Expanded().
    using TExpandedTest = std::function<bool(const THVFolder& folder)>;

    // settings nullptr: the position is neither restored nor kept.
    explicit TSelectFolderDlg(TUserPrompts& prompts, TSettings* settings = nullptr, QWidget* parent = nullptr);
    ~TSelectFolderDlg() override;

    // Prepares the dialog: caption, prompt and name field of mode, the tree of root with the
    // expanded states of expandedTest, start selected (root when nullptr), name in the field.
    // shownFolder is the folder the main window shows (modes 1 and 2 cannot move into it).
    void Load(TMode mode, THVFolder* root, THVFolder* start, const THVFolder* shownFolder, const QString& name = {},
              TExpandedTest expandedTest = {});
    // Load, then shows the dialog modally. True when OK was chosen and accepted by CheckOK; then
    // ChosenFolder() and Name() tell the answer.
    bool Execute(TMode mode, THVFolder* root, THVFolder* start, const THVFolder* shownFolder, const QString& name = {},
                 TExpandedTest expandedTest = {});

    TMode Mode() const { return m_Mode; }
    // The folder selected in the dialog's tree (nullptr: none, and after Cancel).
    THVFolder* ChosenFolder() const;
    // The name as the target takes it: the field's text without characters below 32; for a new
    // folder "\" becomes "￥" as in every folder name.
    std::string Name() const;
    QString NameText() const;
    bool NameShown() const;

    // What the user does: choose a folder in the tree, type a name.
    void SelectFolder(THVFolder* folder);
    void SetName(const QString& text);

    // Whether OK is enabled now (the mode's rule).
    bool OKEnabled() const;
    // OK's checks in their order: the empty name, then a same-named folder (mode 0) or item
    // (modes 1 and 3) in the chosen folder. False, after a warning, keeps the dialog open.
    bool CheckOK();

    void accept() override;
    void done(int result) override;

private:
    void OnNameEdited(const QString& text);
    void UpdateOK();
    void ApplyExpandedStates(const TExpandedTest& expandedTest);
    void RestorePosition();

    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    TFolderTreeModel* m_Model;
    QTreeView* m_Tree;
    QLabel* m_Prompt;
    QLineEdit* m_Edit;
    QPushButton* m_OK;
    QPushButton* m_Cancel;
    TMode m_Mode = TMode::AddFolder;
    const THVFolder* m_ShownFolder = nullptr;
    bool m_Cleaning = false;
};

} // namespace hv
