#pragma once

#include "properties/PeIcons.h"
#include "properties/PropDlgServices.h"

#include <QDialog>
#include <QIcon>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;

namespace hv {

// The picture of an icon as a Qt icon; a null icon when it cannot be decoded.
QIcon IconFromPicture(const TIconPicture& picture);
// The small icons of a file, in their order: one per icon group of a program or library, one
// for an ".ico" file or any other image Qt reads, none for anything else. An entry is a null
// icon when its picture cannot be shown.
QList<QIcon> LoadFileIcons(const QString& file);
// The icon at index of a file, as the item list and the preview show it; null when none.
QIcon LoadItemIcon(const QString& file, int index);

// Picks an icon of an icon, program or library file, with a history of the files used.
class TSelIconDlg : public QDialog {
    Q_OBJECT
public:
    // The history keeps at most this many files.
    static constexpr int kHistoryMax = 64;

    TSelIconDlg(TPropDlgServices& services, QWidget* parent = nullptr);
    // Writes the history back into the store.
    ~TSelIconDlg() override;

    // Shows the dialog modally; on OK file and index take the choice (an empty file and -1 for
    // the default icon) and true is returned.
    bool Execute(QString& file, int& index);

    // The parts of Execute.
    void Load(const QString& file, int index);
    void Result(QString& file, int& index);
    // Lists the icons of file, which becomes the loaded file.
    void LoadIcons(const QString& file);
    // "更新(&R)": loads the combo box's file, and puts it into the history when it exists.
    void Reload();
    // "標準のアイコンを使う(&D)".
    void UseDefaultIcon();
    void Browse();

    QString LoadedFile() const { return m_LoadedFile; }
    QStringList History() const;

    // file at the top of history, equal entries (any letter case) removed, at most kHistoryMax.
    static QStringList AddToHistory(QStringList history, const QString& file);

private:
    void AddHistory(const QString& file);

    TPropDlgServices& m_Services;
    QComboBox* m_FileName;
    QLabel* m_FileLabel;
    QListWidget* m_List;
    QString m_LoadedFile;
};

} // namespace hv
