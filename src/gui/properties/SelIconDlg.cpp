#include "properties/SelIconDlg.h"

#include "app/FileDialogs.h"
#include "settings/OptionKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace hv {

namespace {

constexpr std::string_view kHistoryValue = "SelIconHistory";
constexpr int kSmallIcon = 16;

// Shows a path in one line, shortened in the middle when too long.
class TPathLabel : public QLabel {
public:
    using QLabel::QLabel;
    void SetPath(const QString& path) {
        m_Path = path;
        Elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

private:
    void Elide() {
        const int room = contentsRect().width() - 8;
        setText(fontMetrics().elidedText(m_Path, Qt::ElideMiddle, room > 0 ? room : 0));
        setToolTip(m_Path);
    }
    QString m_Path;
};

// The file name box: its drop-down list is a third of the screen wide, so long paths show.
class TFileNameCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override {
        QComboBox::showPopup();
        QWidget* popup = view()->window();
        const QScreen* where = screen();
        if (popup == this || where == nullptr) {
            return;
        }
        const QRect area = where->availableGeometry();
        const int width = std::max(popup->width(), area.width() / 3);
        const int left = std::max(area.left(), std::min(popup->x(), area.right() + 1 - width));
        popup->setGeometry(left, popup->y(), width, popup->height());
    }
};

} // namespace

QIcon IconFromPicture(const TIconPicture& picture) {
    const QByteArray bytes(reinterpret_cast<const char*>(picture.Bytes.data()),
                           static_cast<qsizetype>(picture.Bytes.size()));
    QImage image;
    image.loadFromData(bytes, picture.Format == TIconDataFormat::Png ? "PNG" : "ICO");
    if (image.isNull()) {
        return {};
    }
    return QIcon(QPixmap::fromImage(image));
}

QList<QIcon> LoadFileIcons(const QString& file) {
    QList<QIcon> icons;
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile()) {
        return icons;
    }
    const auto pictures = ReadFileIcons(file.toStdString(), kSmallIcon);
    for (const auto& picture : pictures) {
        icons.append(picture ? IconFromPicture(*picture) : QIcon());
    }
    if (pictures.empty()) {
        // Any other picture Qt can read is one icon; big files are left alone.
        QImageReader reader(file);
        if (info.size() <= static_cast<qint64>(kMaxIconFileSize) && reader.canRead()) {
            const QSize size = reader.size();
            if (size.isValid() && size.width() * static_cast<qint64>(size.height()) <= 64LL * 1024 * 1024) {
                reader.setScaledSize(size.scaled(kSmallIcon, kSmallIcon, Qt::KeepAspectRatio));
            }
            const QImage image = reader.read();
            if (!image.isNull()) {
                icons.append(QIcon(QPixmap::fromImage(image)));
            }
        }
    }
    return icons;
}

QIcon LoadItemIcon(const QString& file, int index) {
    if (file.isEmpty() || index < 0) {
        return {};
    }
    const QList<QIcon> icons = LoadFileIcons(file);
    return index < icons.size() ? icons[index] : QIcon();
}

TSelIconDlg::TSelIconDlg(TPropDlgServices& services, QWidget* parent) : QDialog(parent), m_Services(services) {
    setWindowTitle(QString::fromUtf8("アイコンの選択"));
    m_FileName = new TFileNameCombo(this);
    m_FileName->setObjectName(QStringLiteral("cbbFileName"));
    m_FileName->setEditable(true);
    m_FileName->setInsertPolicy(QComboBox::NoInsert);
    m_FileName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_FileName->setMinimumContentsLength(30);
    auto* fileLabel = new QLabel(QString::fromUtf8("ファイル名(&F)"), this);
    fileLabel->setBuddy(m_FileName);
    auto* browse = new QPushButton(QString::fromUtf8("参照(&B)"), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    auto* reload = new QPushButton(QString::fromUtf8("更新(&R)"), this);
    reload->setObjectName(QStringLiteral("btnReload"));
    auto* pathLabel = new TPathLabel(this);
    m_FileLabel = pathLabel;
    m_FileLabel->setObjectName(QStringLiteral("ptbFileName"));
    m_FileLabel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_FileLabel->setTextFormat(Qt::PlainText);
    m_FileLabel->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_FileLabel->setMinimumWidth(100);
    m_FileLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_List = new QListWidget(this);
    m_List->setObjectName(QStringLiteral("ListView"));
    m_List->setViewMode(QListView::ListMode);
    m_List->setFlow(QListView::TopToBottom);
    m_List->setWrapping(true);
    m_List->setResizeMode(QListView::Adjust);
    m_List->setIconSize(QSize(kSmallIcon, kSmallIcon));
    m_List->setMinimumSize(360, 200);
    auto* listLabel = new QLabel(QString::fromUtf8("リスト(&L)"), this);
    listLabel->setBuddy(m_List);
    auto* defaultIcon = new QPushButton(QString::fromUtf8("標準のアイコンを使う(&D)"), this);
    defaultIcon->setObjectName(QStringLiteral("btnDefaultIcon"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bbtOK"));
    ok->setDefault(true);
    buttons->addButton(QString::fromUtf8("キャンセル(&C)"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bbtCancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(m_FileName, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(reload, 0, 3);
    grid->addWidget(m_FileLabel, 1, 0, 1, 4);
    grid->addWidget(listLabel, 2, 0, 1, 4);
    grid->addWidget(m_List, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(defaultIcon);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);

    connect(buttons, &QDialogButtonBox::accepted, this, &TSelIconDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSelIconDlg::reject);
    connect(browse, &QPushButton::clicked, this, &TSelIconDlg::Browse);
    connect(reload, &QPushButton::clicked, this, &TSelIconDlg::Reload);
    connect(defaultIcon, &QPushButton::clicked, this, &TSelIconDlg::UseDefaultIcon);
    connect(m_FileName, &QComboBox::activated, this, [this](int row) { LoadIcons(m_FileName->itemText(row)); });

    // The history lives in the store directly, outside the settings tables.
    const auto stored = m_Services.Settings.Registry().ReadValue(HollyvineKeyPath, kHistoryValue);
    if (stored && stored->Kind == TRegValueKind::String && !stored->Data.empty()) {
        QStringList history = QString::fromStdString(stored->Data).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        m_FileName->addItems(history.mid(0, kHistoryMax));
    }
    resize(520, 380);
}

TSelIconDlg::~TSelIconDlg() {
    m_Services.Settings.Registry().WriteValue(HollyvineKeyPath, kHistoryValue,
                                              TRegValue::String(History().join(QLatin1Char(';')).toStdString()));
}

QStringList TSelIconDlg::History() const {
    QStringList history;
    for (int i = 0; i < m_FileName->count(); ++i) {
        history.append(m_FileName->itemText(i));
    }
    return history;
}

QStringList TSelIconDlg::AddToHistory(QStringList history, const QString& file) {
    history.removeIf([&file](const QString& entry) { return entry.compare(file, Qt::CaseInsensitive) == 0; });
    history.prepend(file);
    while (history.size() > kHistoryMax) {
        history.removeLast();
    }
    return history;
}

void TSelIconDlg::AddHistory(const QString& file) {
    const QString text = m_FileName->currentText();
    const QStringList history = AddToHistory(History(), file);
    m_FileName->clear();
    m_FileName->addItems(history);
    m_FileName->setEditText(text);
}

bool TSelIconDlg::Execute(QString& file, int& index) {
    Load(file, index);
    if (const QScreen* where = screen()) {
        layout()->activate();
        move(where->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    if (exec() != QDialog::Accepted) {
        return false;
    }
    Result(file, index);
    return true;
}

void TSelIconDlg::Load(const QString& file, int index) {
    LoadIcons(file);
    if (!file.isEmpty()) {
        AddHistory(file);
    }
    m_FileName->setEditText(file);
    if (index >= 0 && index < m_List->count()) {
        m_List->setCurrentRow(index);
        m_List->scrollToItem(m_List->item(index));
    }
    m_List->setFocus();
}

void TSelIconDlg::Result(QString& file, int& index) {
    if (!m_LoadedFile.isEmpty() && QFileInfo(m_LoadedFile).isFile()) {
        AddHistory(m_LoadedFile);
    }
    file = m_LoadedFile;
    index = m_LoadedFile.isEmpty() ? -1 : m_List->currentRow();
}

void TSelIconDlg::LoadIcons(const QString& file) {
    m_LoadedFile = file;
    static_cast<TPathLabel*>(m_FileLabel)->SetPath(file);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_List->clear();
    const QList<QIcon> icons = LoadFileIcons(file);
    for (int i = 0; i < icons.size(); ++i) {
        m_List->addItem(new QListWidgetItem(icons[i], QString::number(i)));
    }
    if (!icons.isEmpty()) {
        m_List->setCurrentRow(0);
    }
    QApplication::restoreOverrideCursor();
}

void TSelIconDlg::Reload() {
    const QString file = m_FileName->currentText();
    LoadIcons(file);
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        AddHistory(file);
    }
}

void TSelIconDlg::UseDefaultIcon() {
    m_LoadedFile.clear();
    m_List->setCurrentRow(-1);
    accept();
}

void TSelIconDlg::Browse() {
    const auto file =
        TFileDialogs::OpenFile(this, QString(), m_FileName->currentText(),
                               QString::fromUtf8("アイコン (*.ico *.exe *.dll *.scr);;すべてのファイル (*)"));
    if (file) {
        m_FileName->setEditText(*file);
        Reload();
    }
}

} // namespace hv
