#pragma once

#include "importexport/ExpBm.h"

#include <QDialog>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace hv {

class THVFolder;
class TExportPathLabel;
class TSettings;
class TUserPrompts;

// "Netscapeブックマークのエクスポート": writes the folder selected in the window, or the whole
// tree, as a bookmark file. It stays open after an export. The ExportBm settings are read when
// it is made and written when it goes; its place is kept as "ExpBmDlgRect".
class TExpBmDlg : public QDialog {
    Q_OBJECT

public:
    // selected may be nullptr (then only the whole tree can be written); settings may be nullptr.
    TExpBmDlg(const THVFolder& root, const THVFolder* selected, TUserPrompts& prompts, TSettings* settings,
              QWidget* parent = nullptr);
    ~TExpBmDlg() override;

    TExportBmOptions Options() const;
    const QString& FileName() const { return m_FileName; }
    void SetFileName(const QString& path);

    // "ファイル名(&N)...": the save dialog; false when cancelled.
    bool ChooseFileName();
    // "エクスポート(&X)": file name, overwrite question, the write, the completion message.
    // Returns whether the file was written.
    bool Export();

private:
    const THVFolder& m_Root;
    const THVFolder* m_Selected;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QButtonGroup* m_rdgAllFolder = nullptr;
    QLineEdit* m_edtTitle = nullptr;
    QCheckBox* m_chkItemsFirst = nullptr;
    TExportPathLabel* m_lblFileName = nullptr;
    QString m_FileName;
};

} // namespace hv
