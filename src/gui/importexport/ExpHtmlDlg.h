#pragma once

#include "importexport/ExpHtml.h"
#include "model/ItemOrder.h"

#include <QColor>
#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace hv {

class THVFolder;
class TExportPathLabel;
class TSettings;
class TUserPrompts;

// "HTMLファイルのエクスポート": writes the folder selected in the window, or the whole tree, as
// one readable page in the chosen encoding, line ends and colours. It stays open after an
// export. The ExportHtml settings are read when it is made and written when it goes; its place
// is kept as "ExpHtmlDlgRect".
class TExpHtmlDlg : public QDialog {
    Q_OBJECT

public:
    // The four colour buttons, in the order of their settings.
    enum TColorRole { crBackground, crText, crLink, crVisitedLink };
    // How a colour button asks for its colour; tests answer without a dialog.
    using TColorChooser = std::function<std::optional<QColor>(const QColor& current, QWidget* parent)>;

    // selected may be nullptr (then only the whole tree can be written); settings may be
    // nullptr. documentPath gives the default title. The page sorts each folder's items in
    // order, as the item list shows them.
    TExpHtmlDlg(THVFolder& root, THVFolder* selected, const std::string& documentPath, const TItemOrder& order,
                TUserPrompts& prompts, TSettings* settings, QWidget* parent = nullptr);
    ~TExpHtmlDlg() override;

    TExportHtmlOptions Options() const;
    QColor Color(TColorRole role) const { return m_Colors.at(static_cast<std::size_t>(role)); }
    void SetColor(TColorRole role, const QColor& color);
    const QString& FileName() const { return m_FileName; }
    void SetFileName(const QString& path);
    void SetColorChooser(TColorChooser chooser) { m_ChooseColor = std::move(chooser); }

    bool ChooseColor(TColorRole role);
    bool ChooseFileName();
    // "エクスポート(&X)": file name, overwrite question, the write, the completion message.
    bool Export();

    // A Windows colour value (red in the lowest byte) and back.
    static QColor FromColorValue(std::int32_t value);
    static std::int32_t ToColorValue(const QColor& color);

private:
    THVFolder& m_Root;
    THVFolder* m_Selected;
    TItemOrder m_Order;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QButtonGroup* m_rdgAllFolder = nullptr;
    QButtonGroup* m_rdgKanjiCode = nullptr;
    QButtonGroup* m_rdgReturnCode = nullptr;
    QButtonGroup* m_rdgFolderName = nullptr;
    QLineEdit* m_edtTitle = nullptr;
    QCheckBox* m_chkBoldItem = nullptr;
    QCheckBox* m_chkShowCmd = nullptr;
    std::array<QPushButton*, 4> m_ColorButtons{};
    std::array<QColor, 4> m_Colors;
    TExportPathLabel* m_lblFileName = nullptr;
    QString m_FileName;
    TColorChooser m_ChooseColor;
};

} // namespace hv
