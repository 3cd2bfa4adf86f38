#include "document/FilePropDlg.h"

#include "document/PasswordDlg.h"
#include "platform/UserPrompts.h"
#include "properties/PropDlgServices.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace hv {

namespace {

constexpr std::string_view kPosName = "FilePropDlgPos";
const QString kEllipsis = QStringLiteral("...");

// The file name label: the full path shortened to the label's width, the whole path as its tip.
class TPathLabel final : public QLabel {
public:
    explicit TPathLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

    void SetPath(const QString& path, const QString& tip) {
        m_Path = path;
        setToolTip(tip);
        Elide();
    }
    QSize sizeHint() const override { return {fontMetrics().averageCharWidth() * 48, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

private:
    void Elide() {
        const QFontMetrics metrics = fontMetrics();
        setText(ElidePath(m_Path, contentsRect().width(),
                          [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
    }

    QString m_Path;
};

QLabel* NewValueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

QString ElidePath(const QString& path, int width, const std::function<int(const QString&)>& measure) {
    if (measure(path) <= width) {
        return path;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? path : path.mid(slash);
    const QString directory = slash < 0 ? QString() : path.left(slash);
    for (qsizetype n = directory.size() - 1; n >= 0; --n) {
        if (n > 0 && directory.at(n - 1).isHighSurrogate()) {
            continue; // never split a character
        }
        const QString candidate = directory.left(n) + kEllipsis + name;
        if (measure(candidate) <= width) {
            return candidate;
        }
    }
    // Not even the file name fits: its end goes as well.
    for (qsizetype n = name.size() - 1; n > 0; --n) {
        if (name.at(n - 1).isHighSurrogate()) {
            continue;
        }
        const QString candidate = (slash < 0 ? QString() : kEllipsis) + name.left(n) + kEllipsis;
        if (measure(candidate) <= width) {
            return candidate;
        }
    }
    return kEllipsis;
}

TFilePropDlg::TFilePropDlg(TUserPrompts& prompts, TSettings* settings, QWidget* parent)
    : QDialog(parent), m_Prompts(prompts), m_Settings(settings) {
    setObjectName(QStringLiteral("FilePropDlg"));
    setWindowTitle(QStringLiteral("ファイルのプロパティ"));

    auto* fileName = new TPathLabel(this);
    fileName->setObjectName(QStringLiteral("lblFileName"));
    m_lblFileName = fileName;
    m_lblModified = NewValueLabel(this, "lblModified");
    m_lblPassword = NewValueLabel(this, "lblPassword");
    m_lblFolderCount = NewValueLabel(this, "lblFolderCount");
    m_lblItemCount = NewValueLabel(this, "lblItemCount");
    auto* password = new QPushButton(QStringLiteral("設定(&P)..."), this);
    password->setObjectName(QStringLiteral("btnPassword"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    int row = 0;
    auto addRow = [this, grid, &row](const QString& caption, QLabel* value) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    };
    addRow(QStringLiteral("名前 :"), m_lblFileName);
    addRow(QStringLiteral("状態 :"), m_lblModified);
    addRow(QStringLiteral("パスワード :"), m_lblPassword);
    grid->addWidget(password, row - 1, 2);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, row++, 0, 1, 3);
    addRow(QStringLiteral("全フォルダ数 :"), m_lblFolderCount);
    addRow(QStringLiteral("全アイテム数 :"), m_lblItemCount);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bbtOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル(&C)"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bbtCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    MakeFixedSizeDialog(*this);

    connect(buttons, &QDialogButtonBox::accepted, this, &TFilePropDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFilePropDlg::reject);
    connect(password, &QPushButton::clicked, this, &TFilePropDlg::EditPassword);
    if (m_Settings != nullptr) {
        RestoreDlgPos(*this, *m_Settings, kPosName);
    }
}

TFilePropDlg::~TFilePropDlg() {
    if (m_Settings != nullptr) {
        SaveDlgPos(*this, *m_Settings, kPosName);
    }
}

void TFilePropDlg::Load(const TFileProperties& properties, const std::string& password) {
    auto* fileName = static_cast<TPathLabel*>(m_lblFileName);
    if (properties.FileName.empty()) {
        fileName->SetPath(QStringLiteral("（新規）"), QString());
    } else {
        const QString path = QFile::decodeName(properties.FileName.c_str());
        fileName->SetPath(path, path);
    }
    m_lblModified->setText(properties.Modified ? QStringLiteral("変更されています")
                                               : QStringLiteral("変更されていません"));
    m_lblFolderCount->setText(QString::number(properties.FolderCount));
    m_lblItemCount->setText(QString::number(properties.ItemCount));
    m_Password = password;
    ShowPassword();
}

void TFilePropDlg::ShowPassword() {
    m_lblPassword->setText(m_Password.empty() ? QStringLiteral("設定されていません")
                                              : QStringLiteral("設定されています"));
}

bool TFilePropDlg::EditPassword() {
    TPasswordDlg dialog(m_Prompts, this);
    dialog.Load(m_Password);
    const bool confirmed = m_RunPasswordDialog ? m_RunPasswordDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) {
        return false;
    }
    m_Password = dialog.Password();
    ShowPassword();
    return true;
}

bool TFilePropDlg::Store(THVDocument& document) const {
    return document.SetPassword(m_Password);
}

} // namespace hv
