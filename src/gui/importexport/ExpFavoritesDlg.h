#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QPlainTextEdit;
class QTabWidget;

namespace hv {

class THVFolder;
class TExportPathLabel;
class TSettings;
class TUserPrompts;

// "[お気に入り] のエクスポート": a window beside the main window that writes the selected folder,
// or the whole tree, as a directory tree of shortcut files. The page "前回のエラー" shows only
// after an export that had errors. Its place is kept as "ExpFavoritesDlgPos".
class TExpFavoritesDlg : public QDialog {
    Q_OBJECT

public:
    // The folder to write: the whole tree (all) or the one selected in the window; nullptr
    // when there is none. Asked at each export, since the tree may change while this is open.
    using TSourceFinder = std::function<const THVFolder*(bool all)>;
    // "変更(&S)...": the chosen directory, nullopt when cancelled.
    using TFolderChooser = std::function<std::optional<QString>(const QString& current, QWidget* parent)>;
    // "開く(&O)" and "エクスプローラ(&E)": hands the directory to the file manager.
    using TDirectoryOpener = std::function<bool(const QString& dir)>;

    TExpFavoritesDlg(const QString& destination, TSourceFinder source, TUserPrompts& prompts, TSettings* settings,
                     QWidget* parent = nullptr);
    ~TExpFavoritesDlg() override;

    const QString& Destination() const { return m_Destination; }
    void SetDestination(const QString& dir);
    const std::vector<std::string>& Errors() const { return m_Errors; }
    bool ErrorsPageShown() const;

    void SetFolderChooser(TFolderChooser chooser) { m_ChooseFolder = std::move(chooser); }
    void SetDirectoryOpener(TDirectoryOpener opener) { m_OpenDirectory = std::move(opener); }

    bool ChooseDestination();
    void OpenDestination();
    // "エクスポート(&X)": the clearing question when asked for, the export, the completion
    // message and the errors page. False when nothing was written (declined, no folder).
    bool Export();

private:
    TSourceFinder m_Source;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QTabWidget* m_Pages = nullptr;
    QButtonGroup* m_rdgAllFolder = nullptr;
    TExportPathLabel* m_lblDestination = nullptr;
    QCheckBox* m_chkClear = nullptr;
    QPlainTextEdit* m_memErrors = nullptr;
    QString m_Destination;
    std::vector<std::string> m_Errors;
    TFolderChooser m_ChooseFolder;
    TDirectoryOpener m_OpenDirectory;
};

} // namespace hv
