#include "importexport/ExportDlgSupport.h"

#include "app/FileDialogs.h"
#include "document/FilePropDlg.h"
#include "importexport/ExpBm.h"
#include "platform/UserPrompts.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>

namespace hv {

TExportPathLabel::TExportPathLabel(QWidget* parent, int widthInChars) : QLabel(parent), m_WidthInChars(widthInChars) {
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

void TExportPathLabel::SetPath(const QString& path) {
    m_Path = path;
    setToolTip(path);
    Elide();
}

QSize TExportPathLabel::sizeHint() const {
    return {fontMetrics().averageCharWidth() * m_WidthInChars, QLabel::sizeHint().height()};
}

QSize TExportPathLabel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 12, QLabel::sizeHint().height()};
}

void TExportPathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void TExportPathLabel::Elide() {
    const QFontMetrics metrics = fontMetrics();
    setText(ElidePath(m_Path, contentsRect().width() - 2 * margin() - 4,
                      [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
}

QGroupBox* NewRadioGroup(QWidget* parent, const QString& caption, const char* name, const QStringList& choices,
                         QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    group = new QButtonGroup(box);
    auto* layout = new QVBoxLayout(box);
    for (qsizetype i = 0; i < choices.size(); ++i) {
        auto* radio = new QRadioButton(choices.at(i), box);
        radio->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(radio, static_cast<int>(i));
        layout->addWidget(radio);
    }
    return box;
}

void SelectRadio(QButtonGroup* group, int index) {
    QAbstractButton* button = group->button(index);
    if (button == nullptr) {
        button = group->button(0);
    }
    button->setChecked(true);
}

void RestoreExportDlgPlace(QWidget& dialog, TSettings& settings, std::string_view valueName) {
    const auto text = ReadRestorePos(settings.Registry(), RestorePosKeyName, valueName);
    if (!text) {
        return;
    }
    const TRestorePosOptions options = RestorePosOptionsOf(valueName) & rpRestoreSize;
    const TWindowPlacement place =
        ApplyRestorePos(*text, options, {dialog.x(), dialog.y(), dialog.width(), dialog.height()});
    dialog.move(place.Left, place.Top);
    if (options != 0 && place.Width > 0 && place.Height > 0) {
        dialog.resize(place.Width, place.Height);
    }
}

void SaveExportDlgPlace(const QWidget& dialog, TSettings& settings, std::string_view valueName) {
    WriteRestorePos(settings.Registry(), RestorePosKeyName, valueName,
                    {dialog.x(), dialog.y(), dialog.width(), dialog.height(), false},
                    RestorePosOptionsOf(valueName) & rpRestoreSize);
}

QString AskExportFileName(QWidget* parent, const QString& current) {
    const auto path = TFileDialogs::SaveFile(parent, QStringLiteral("エクスポート先ファイル名の指定"), current,
                                             QStringLiteral("HTMLファイル (*.htm *.html)"));
    return path.value_or(QString());
}

std::string ExportPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString ExportPathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool RunExportWrite(TUserPrompts& prompts, const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const std::exception& e) {
        prompts.Error(e.what());
        return false;
    }
}

bool ExportToFile(const QString& fileName, TUserPrompts& prompts,
                  const std::function<void(const std::string& path)>& write) {
    const std::string path = ExportPath(fileName);
    if (!ConfirmExportOverwrite(path, prompts) || !RunExportWrite(prompts, [&] { write(path); })) {
        return false;
    }
    prompts.Information(std::string(kExportDone));
    return true;
}

} // namespace hv
