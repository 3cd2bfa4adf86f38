#include "importexport/BrowserImportDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace hv {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TBrowserImportDlg::TBrowserImportDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BrowserImportDlg"));
    setWindowTitle(QStringLiteral("ブラウザのブックマークのインポート"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("取り込むブックマークを選択してください(&B):"));
    layout->addWidget(prompt);
    m_List = new QTreeWidget;
    m_List->setObjectName(QStringLiteral("lvStores"));
    m_List->setRootIsDecorated(false);
    m_List->setAllColumnsShowFocus(true);
    m_List->setHeaderLabels({QStringLiteral("ブラウザ"), QStringLiteral("プロファイル"), QStringLiteral("ブックマーク"),
                             QStringLiteral("場所")});
    m_List->header()->setStretchLastSection(true);
    prompt->setBuddy(m_List);
    layout->addWidget(m_List, 1);
    auto* buttons = new QDialogButtonBox;
    m_Import = buttons->addButton(QStringLiteral("インポート(&I)"), QDialogButtonBox::AcceptRole);
    m_Import->setObjectName(QStringLiteral("btnImport"));
    m_Import->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ChosenStore()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_List, &QTreeWidget::currentItemChanged, this, &TBrowserImportDlg::UpdateButton);
    connect(m_List, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (ChosenStore()) {
            accept();
        }
    });
    resize(640, 280);
}

void TBrowserImportDlg::Load(const std::vector<TBrowserStoreRow>& rows) {
    m_Rows = rows;
    m_List->clear();
    int first = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TBrowserStoreRow& row = rows[i];
        const QString count = row.Count < 0 ? QStringLiteral("読めません") : QString::number(row.Count);
        auto* item = new QTreeWidgetItem(
            m_List, {Q(BrowserDisplayName(row.Store.Browser)), Q(row.Store.Profile), count, Q(row.Store.Path)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(3, Q(row.Store.Path));
        if (row.Count < 0) {
            item->setToolTip(2, Q(row.Error));
            item->setForeground(2, palette().brush(QPalette::Disabled, QPalette::Text));
        } else if (first < 0 || (row.Store.IsDefault && !rows[static_cast<std::size_t>(first)].Store.IsDefault)) {
            first = static_cast<int>(i);
        }
    }
    for (int column = 0; column < 3; ++column) {
        m_List->resizeColumnToContents(column);
    }
    SelectRow(first < 0 ? 0 : first);
    UpdateButton();
}

std::optional<TBrowserStore> TBrowserImportDlg::Execute(const std::vector<TBrowserStoreRow>& rows) {
    Load(rows);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ChosenStore();
}

void TBrowserImportDlg::SelectRow(int row) {
    if (QTreeWidgetItem* item = m_List->topLevelItem(row)) {
        m_List->setCurrentItem(item);
    }
}

std::optional<TBrowserStore> TBrowserImportDlg::ChosenStore() const {
    const int row = m_List->indexOfTopLevelItem(m_List->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= m_Rows.size() || m_Rows[static_cast<std::size_t>(row)].Count < 0) {
        return std::nullopt;
    }
    return m_Rows[static_cast<std::size_t>(row)].Store;
}

void TBrowserImportDlg::UpdateButton() {
    m_Import->setEnabled(ChosenStore().has_value());
}

} // namespace hv
