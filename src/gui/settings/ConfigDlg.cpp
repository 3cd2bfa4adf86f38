#include "settings/ConfigDlg.h"

#include "document/RecentFiles.h"
#include "importexport/ExpHtmlDlg.h"
#include "platform/NmcliConnections.h"
#include "settings/MemoFont.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace hv {

namespace {

constexpr std::string_view kPlaceName = "ConfigDlgPos";
constexpr int kSwatchSize = 14;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void CheckId(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
    }
}

// The font dialog selects a face by its style name, and a font without one would preset the
// first face of the family whatever it looks like (an oblique one, say): the family's own
// style closest to the font's weight and slant.
QString FamilyStyleFor(const QFont& font) {
    const int wanted = font.bold() ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(font.family())) {
        if (QFontDatabase::italic(font.family(), style) != font.italic()) {
            continue;
        }
        const int distance = std::abs(QFontDatabase::weight(font.family(), style) - wanted);
        if (best.isEmpty() || distance < bestDistance || (distance == bestDistance && style.size() < best.size())) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

TConfigDlg::TConfigDlg(TSettings& settings, TRecentFiles& recentFiles, TNetworkConnections* network, QWidget* parent)
    : QDialog(parent), m_Settings(settings), m_RecentFiles(recentFiles), m_Network(network) {
    setObjectName(QStringLiteral("ConfigDlg"));
    setWindowTitle(QStringLiteral("設定"));
    m_Pages = new QTabWidget;
    m_Pages->setObjectName(QStringLiteral("PageControl"));
    // Every page's tab in sight: the dialog is as wide as the eight tabs.
    m_Pages->setUsesScrollButtons(false);
    m_Pages->setElideMode(Qt::ElideNone);
    m_Pages->addTab(CreateAccessPage(), QStringLiteral("アクセス"));
    m_Pages->addTab(CreateTreeViewPage(), QStringLiteral("ツリービュー"));
    m_Pages->addTab(CreateListViewPage(), QStringLiteral("リストビュー"));
    m_Pages->addTab(CreateDatePage(), QStringLiteral("日付･時刻の表示"));
    m_Pages->addTab(CreateHistoryPage(), QStringLiteral("ファイル履歴"));
    m_Pages->addTab(CreateTaskBarPage(), QStringLiteral("タスクバー"));
    m_Pages->addTab(CreateImportPage(), QStringLiteral("インポート"));
    m_Pages->addTab(CreateOthersPage(), QStringLiteral("その他"));

    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル(&C)"));
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] {
        Store();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Pages, 1);
    layout->addLayout(buttons);

    Load(ReadConfigValues(m_Settings));
    m_Pages->setCurrentIndex(std::clamp(static_cast<int>(m_Settings.Get(opt::Window::ActiveConfigPage)), 0,
                                        static_cast<int>(PageCount) - 1));
    if (const auto text = ReadRestorePos(m_Settings.Registry(), RestorePosKeyName, kPlaceName)) {
        const TWindowPlacement place = ApplyRestorePos(*text, 0, {x(), y(), width(), height(), false});
        // A place on a screen that is gone would leave the dialog out of reach.
        if (QGuiApplication::screenAt(QPoint(place.Left + 20, place.Top + 20)) != nullptr) {
            move(place.Left, place.Top);
        }
    }
}

TConfigDlg::~TConfigDlg() {
    m_Settings.Set(opt::Window::ActiveConfigPage, static_cast<std::int32_t>(m_Pages->currentIndex()));
    WriteRestorePos(m_Settings.Registry(), RestorePosKeyName, kPlaceName, {x(), y(), width(), height(), false}, 0);
}

void TConfigDlg::Load(const TConfigValues& v) {
    CheckId(m_rdgCheckRasConnect, v.CheckRasConnect ? 1 : 0);
    FillPhoneEntries(v.PhoneEntry);
    CheckId(m_rdgAccessRestriction, v.AccessRestriction);
    const std::array<std::string, 4> times = SplitRestrictTime(v.RestrictTime);
    for (std::size_t i = 0; i < times.size(); ++i) {
        m_edtRestrictTime[i]->setText(Q(times[i]));
    }
    m_chkShowTreeBtn->setChecked(v.ShowTreeBtn);
    m_chkTreeHotTrack->setChecked(v.TreeHotTrack);
    m_chkShowTreeHint->setChecked(v.ShowTreeHint);
    m_chkTreeRClickSelect->setChecked(v.TreeRClickSelect);
    m_chkSortFolder->setChecked(v.SortFolder);
    m_trbTreeNodeIndent->setValue(v.TreeNodeIndent);
    m_trbTreeDragScrollDelay->setValue(v.TreeDragScrollDelay);
    m_trbTreeDragExpandDelay->setValue(v.TreeDragExpandDelay);
    m_chkListHotTrack->setChecked(v.ListHotTrack);
    m_chkSingleClickOpen->setChecked(v.SingleClickOpen);
    m_chkAutoResizeColumns->setChecked(v.AutoResizeColumns);
    m_edtGrayItemTime->setText(Q(FormatGrayItemTime(v.GrayItemTime)));
    CheckId(m_rdgNewItemAtBottom, v.NewItemAtBottom ? 1 : 0);
    SetNeedToVisitColor(TExpHtmlDlg::FromColorValue(v.NeedToVisitColor));
    CheckId(m_rdgDateStrType, v.DateStrType);
    m_chkYearTwoDigit->setChecked(v.YearTwoDigit);
    m_edtDateSeparator->setText(Q(v.DateSeparator));
    CheckId(m_rdgDayOfWeek, v.DayOfWeek);
    CheckId(m_rdgHour24, v.Hour24 ? 1 : 0);
    FillRecentFiles();
    CheckId(m_rdgTrayIcon, v.TrayIcon);
    m_chkHideTaskBar->setChecked(v.HideTaskBar);
    CheckId(m_rdgImpBrowserNNFirst, v.ImpBrowserNNFirst ? 1 : 0);
    m_chkImpBrowserConfirm->setChecked(v.ImpBrowserConfirm);
    m_trbHintHidePause->setValue(HintPausePosition(v.HintHidePause));
    UpdateHintLabel();
    m_chkStartWithFile->setChecked(v.StartWithFile);
    m_chkFolderFullPath->setChecked(v.FolderFullPath);
    m_MemoFont = v.MemoFont;
    m_chkAutoSave->setChecked(v.AutoSave);
    UpdateEnabled();
}

TConfigValues TConfigDlg::Values() const {
    TConfigValues v;
    v.CheckRasConnect = m_rdgCheckRasConnect->checkedId() == 1;
    const QList<QTreeWidgetItem*> phone = m_lstPhoneEntry->selectedItems();
    // A stored entry is kept while the phone book cannot be read.
    v.PhoneEntry = !phone.isEmpty() ? phone.first()->text(0).toStdString() : m_UnlistedPhoneEntry;
    v.AccessRestriction = std::max(0, m_rdgAccessRestriction->checkedId());
    std::array<std::string, 4> times;
    for (std::size_t i = 0; i < times.size(); ++i) {
        times[i] = m_edtRestrictTime[i]->displayText().toStdString();
    }
    v.RestrictTime = JoinRestrictTime(times);
    v.SortFolder = m_chkSortFolder->isChecked();
    v.ShowTreeBtn = m_chkShowTreeBtn->isChecked();
    v.ShowTreeHint = m_chkShowTreeHint->isChecked();
    v.TreeHotTrack = m_chkTreeHotTrack->isChecked();
    v.TreeRClickSelect = m_chkTreeRClickSelect->isChecked();
    v.TreeNodeIndent = m_trbTreeNodeIndent->value();
    v.TreeDragScrollDelay = m_trbTreeDragScrollDelay->value();
    v.TreeDragExpandDelay = m_trbTreeDragExpandDelay->value();
    v.ListHotTrack = m_chkListHotTrack->isChecked();
    v.SingleClickOpen = m_chkSingleClickOpen->isChecked();
    v.AutoResizeColumns = m_chkAutoResizeColumns->isChecked();
    v.NewItemAtBottom = m_rdgNewItemAtBottom->checkedId() == 1;
    v.NeedToVisitColor = TExpHtmlDlg::ToColorValue(m_NeedToVisitColor);
    v.GrayItemTime = ParseGrayItemTime(m_edtGrayItemTime->displayText().toStdString());
    v.DateStrType = std::max(0, m_rdgDateStrType->checkedId());
    v.YearTwoDigit = m_chkYearTwoDigit->isChecked();
    v.DateSeparator = m_edtDateSeparator->text().toStdString();
    v.DayOfWeek = std::max(0, m_rdgDayOfWeek->checkedId());
    v.Hour24 = m_rdgHour24->checkedId() == 1;
    v.TrayIcon = std::max(0, m_rdgTrayIcon->checkedId());
    v.HideTaskBar = m_chkHideTaskBar->isChecked();
    v.ImpBrowserNNFirst = m_rdgImpBrowserNNFirst->checkedId() == 1;
    v.ImpBrowserConfirm = m_chkImpBrowserConfirm->isChecked();
    v.HintHidePause = HintPauseMilliseconds(m_trbHintHidePause->value());
    v.AutoSave = m_chkAutoSave->isChecked();
    v.StartWithFile = m_chkStartWithFile->isChecked();
    v.FolderFullPath = m_chkFolderFullPath->isChecked();
    v.MemoFont = m_MemoFont;
    return v;
}

void TConfigDlg::Store() {
    TSettingsConfigSink sink(m_Settings);
    WriteConfigValues(Values(), sink);
}

void TConfigDlg::FillPhoneEntries(const std::string& selected) {
    std::vector<std::string> entries;
    if (m_Network != nullptr) {
        entries = m_Network->Entries();
    } else {
        TNmcliConnections nmcli;
        entries = nmcli.Entries();
    }
    std::sort(entries.begin(), entries.end());
    m_lstPhoneEntry->clear();
    for (const std::string& entry : entries) {
        auto* item = new QTreeWidgetItem(m_lstPhoneEntry, {Q(entry)});
        if (entry == selected) {
            m_lstPhoneEntry->setCurrentItem(item);
        }
    }
    m_UnlistedPhoneEntry = entries.empty() ? selected : std::string();
}

void TConfigDlg::FillRecentFiles() {
    m_lstRecentFiles->clear();
    for (const std::string& path : m_RecentFiles.Items()) {
        auto* item = new QTreeWidgetItem(m_lstRecentFiles, {Q(path)});
        item->setToolTip(0, Q(path));
    }
    m_lstRecentFiles->clearSelection();
}

void TConfigDlg::DeleteSelectedRecentFiles() {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : m_lstRecentFiles->selectedItems()) {
        rows.push_back(m_lstRecentFiles->indexOfTopLevelItem(item));
    }
    std::sort(rows.rbegin(), rows.rend());
    for (const int row : rows) {
        delete m_lstRecentFiles->takeTopLevelItem(row);
        m_RecentFiles.Delete(row);
    }
}

void TConfigDlg::SetNeedToVisitColor(const QColor& color) {
    m_NeedToVisitColor = color;
    QPixmap swatch(kSwatchSize * 2, kSwatchSize);
    swatch.fill(color);
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    m_btnNeedToVisitColor->setIcon(QIcon(swatch));
    m_btnNeedToVisitColor->setIconSize(swatch.size());
}

bool TConfigDlg::ChooseColor() {
    std::optional<QColor> chosen;
    if (m_ChooseColor) {
        chosen = m_ChooseColor(m_NeedToVisitColor, this);
    } else {
        const QColor color = QColorDialog::getColor(m_NeedToVisitColor, this);
        if (color.isValid()) {
            chosen = color;
        }
    }
    if (!chosen || !chosen->isValid()) {
        return false;
    }
    SetNeedToVisitColor(*chosen);
    return true;
}

bool TConfigDlg::ChooseMemoFont() {
    QFont current = MemoFontFromText(m_MemoFont, font());
    current.setStyleName(FamilyStyleFor(current));
    std::optional<QFont> chosen;
    if (m_ChooseFont) {
        chosen = m_ChooseFont(current, this);
    } else {
        QFontDialog dialog(current, this);
        if (dialog.exec() == QDialog::Accepted) {
            chosen = dialog.selectedFont();
        }
    }
    if (!chosen) {
        return false;
    }
    m_MemoFont = MemoFontText(*chosen);
    return true;
}

void TConfigDlg::UpdateEnabled() {
    const bool dial = m_rdgCheckRasConnect->checkedId() == 1 && m_lstPhoneEntry->topLevelItemCount() > 0;
    m_lblPhoneEntry->setEnabled(dial);
    m_lstPhoneEntry->setEnabled(dial);
    m_chkSingleClickOpen->setEnabled(m_chkListHotTrack->isChecked());
    m_chkHideTaskBar->setEnabled(m_rdgTrayIcon->checkedId() != 0);
}

void TConfigDlg::UpdateHintLabel() {
    m_lblHintHidePause->setText(Q(HintPauseLabel(m_trbHintHidePause->value())));
}

} // namespace hv
