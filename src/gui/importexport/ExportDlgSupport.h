#pragma once

#include <QLabel>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QWidget;

namespace hv {

class TSettings;
class TUserPrompts;

// What the export dialogs share: the middle-elided path label, the stored places, the file
// name dialog, the radio groups and the guard that turns a failed write into the error box.

// A path shortened in the middle of its directory when it does not fit; the whole path is its tip.
class TExportPathLabel final : public QLabel {
public:
    explicit TExportPathLabel(QWidget* parent, int widthInChars = 40);

    void SetPath(const QString& path);
    const QString& Path() const { return m_Path; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();

    QString m_Path;
    int m_WidthInChars;
};

// A group box "caption" holding one radio button per choice, stacked; the group numbers them
// from 0. Object names: the box gets name, each button name + its index.
QGroupBox* NewRadioGroup(QWidget* parent, const QString& caption, const char* name, const QStringList& choices,
                         QButtonGroup*& group);
void SelectRadio(QButtonGroup* group, int index);

// The place (and, for names ending in "Rect", the size) of a dialog kept under the Window key.
void RestoreExportDlgPlace(QWidget& dialog, TSettings& settings, std::string_view valueName);
void SaveExportDlgPlace(const QWidget& dialog, TSettings& settings, std::string_view valueName);

// "エクスポート先ファイル名の指定" for an HTML file; empty when cancelled.
QString AskExportFileName(QWidget* parent, const QString& current);

// A path from Qt as the core takes it, and back.
std::string ExportPath(const QString& path);
QString ExportPathText(const std::string& path);

// Runs write; an exception reaches the error box (with the file name and the reason the core's
// message carries) and gives false.
bool RunExportWrite(TUserPrompts& prompts, const std::function<void()>& write);

// The steps the file exports share once a file is chosen: the overwrite question, the write
// (given the path as the core takes it) with its error box, and the completion message. False
// when the user declined or the write failed.
bool ExportToFile(const QString& fileName, TUserPrompts& prompts,
                  const std::function<void(const std::string& path)>& write);

} // namespace hv
