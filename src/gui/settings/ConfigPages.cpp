// The eight pages of the options dialog.

#include "settings/ConfigDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

namespace hv {

namespace {

// Radio buttons with the ids 0, 1, 2, ... in the order of their texts, added to layout.
QButtonGroup* AddRadios(QWidget* owner, QBoxLayout* layout, const char* objectName,
                        std::initializer_list<const char*> texts) {
    auto* group = new QButtonGroup(owner);
    group->setObjectName(QString::fromLatin1(objectName));
    int id = 0;
    for (const char* text : texts) {
        auto* button = new QRadioButton(QString::fromUtf8(text));
        button->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(objectName)).arg(id));
        group->addButton(button, id++);
        layout->addWidget(button);
    }
    return group;
}

QCheckBox* AddCheck(QBoxLayout* layout, const char* objectName, const char* text) {
    auto* check = new QCheckBox(QString::fromUtf8(text));
    check->setObjectName(QString::fromLatin1(objectName));
    layout->addWidget(check);
    return check;
}

QGroupBox* Group(const char* title, QVBoxLayout*& layout) {
    auto* group = new QGroupBox(QString::fromUtf8(title));
    layout = new QVBoxLayout(group);
    return group;
}

QSlider* Slider(const char* objectName, int minimum, int maximum, int tickInterval) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QString::fromLatin1(objectName));
    slider->setRange(minimum, maximum);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
    slider->setPageStep(tickInterval);
    return slider;
}

QLabel* BuddyLabel(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

// A field that takes digits only, in the positions of mask.
QLineEdit* MaskedField(const char* objectName, const QString& mask, int digits) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setInputMask(mask);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(mask.section(QLatin1Char(';'), 0, 0)) +
                        edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (digits > 2 ? 2 : 1) + 12);
    return edit;
}

QWidget* Page(QVBoxLayout*& layout) {
    auto* page = new QWidget;
    layout = new QVBoxLayout(page);
    return page;
}

} // namespace

QWidget* TConfigDlg::CreateAccessPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);

    QVBoxLayout* dial = nullptr;
    QGroupBox* dialGroup = Group("ダイアルアップの状態のチェック", dial);
    m_rdgCheckRasConnect = AddRadios(this, dial, "rdgCheckRasConnect",
                                     {"チェックしない (ブラウザ任せ)(&N)", "チェックし、必要なら接続する(&C)"});
    m_lstPhoneEntry = new QTreeWidget;
    m_lstPhoneEntry->setObjectName(QStringLiteral("lstPhoneEntry"));
    m_lstPhoneEntry->setHeaderHidden(true);
    m_lstPhoneEntry->setRootIsDecorated(false);
    m_lstPhoneEntry->setFixedHeight(m_lstPhoneEntry->fontMetrics().height() * 6);
    m_lblPhoneEntry = BuddyLabel("接続先(&T)", m_lstPhoneEntry);
    auto* entries = new QHBoxLayout;
    entries->setContentsMargins(20, 0, 0, 0);
    entries->addWidget(m_lblPhoneEntry, 0, Qt::AlignTop);
    entries->addWidget(m_lstPhoneEntry, 1);
    dial->addLayout(entries);
    layout->addWidget(dialGroup);

    QVBoxLayout* restriction = nullptr;
    QGroupBox* restrictionGroup = Group("インターネットへのアクセスの制限", restriction);
    m_rdgAccessRestriction =
        AddRadios(this, restriction, "rdgAccessRestriction",
                  {"制限しない(&N)", "下で指定した時間帯は制限する(&O)", "下で指定した時間帯以外は制限する(&F)"});
    auto* times = new QHBoxLayout;
    times->setContentsMargins(20, 0, 0, 0);
    const char* names[] = {"edtStartHour", "edtStartMinute", "edtEndHour", "edtEndMinute"};
    const char* labels[] = {"時(&H)", "分(&M)～", "時(&U)", "分(&I)"};
    for (std::size_t i = 0; i < m_edtRestrictTime.size(); ++i) {
        m_edtRestrictTime[i] = MaskedField(names[i], QStringLiteral("99;0"), 2);
        times->addWidget(m_edtRestrictTime[i]);
        times->addWidget(BuddyLabel(labels[i], m_edtRestrictTime[i]));
    }
    times->addStretch(1);
    restriction->addLayout(times);
    layout->addWidget(restrictionGroup);
    layout->addStretch(1);

    connect(m_rdgCheckRasConnect, &QButtonGroup::idToggled, this, &TConfigDlg::UpdateEnabled);
    return page;
}

QWidget* TConfigDlg::CreateTreeViewPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    m_chkShowTreeBtn = AddCheck(layout, "chkShowTreeBtn", "ボタンを表示する(&B)");
    m_chkTreeHotTrack = AddCheck(layout, "chkTreeHotTrack", "フォルダにカーソルを合わせるだけで開く(&H)");
    m_chkShowTreeHint = AddCheck(layout, "chkShowTreeHint", "ヒントを表示する(&T)");
    m_chkTreeRClickSelect = AddCheck(layout, "chkTreeRClickSelect", "フォルダを右クリックで開く(&R)");
    m_chkSortFolder = AddCheck(layout, "chkSortFolder", "フォルダをソートする(&S)");
    m_trbTreeNodeIndent = Slider("trbTreeNodeIndent", 14, 32, 2);
    m_trbTreeDragScrollDelay = Slider("trbTreeDragScrollDelay", 0, 4, 1);
    m_trbTreeDragExpandDelay = Slider("trbTreeDragExpandDelay", 0, 32, 4);
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    const std::pair<const char*, QSlider*> rows[] = {
        {"フォルダのインデント幅(&I)", m_trbTreeNodeIndent},
        {"ドラッグ時 自動スクロールの待ち時間(&W)", m_trbTreeDragScrollDelay},
        {"ドラッグ時 自動展開の待ち時間(&E)", m_trbTreeDragExpandDelay},
    };
    int row = 0;
    for (const auto& [text, slider] : rows) {
        grid->addWidget(BuddyLabel(text, slider), row, 0);
        grid->addWidget(slider, row++, 1);
    }
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigDlg::CreateListViewPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    m_chkListHotTrack = AddCheck(layout, "chkListHotTrack", "アイテムにカーソルを合わせるだけで選択する(&H)");
    // Indented: it depends on the hover selection above.
    auto* singleClick = new QHBoxLayout;
    singleClick->setContentsMargins(20, 0, 0, 0);
    m_chkSingleClickOpen = AddCheck(singleClick, "chkSingleClickOpen", "アイテムをシングルクリックで開く(&S)");
    layout->addLayout(singleClick);
    m_chkAutoResizeColumns = AddCheck(layout, "chkAutoResizeColumns", "列の幅を自動的に調整する(&A)");
    m_edtGrayItemTime = MaskedField("edtGrayItemTime", QStringLiteral("999日 99時間 99分;0"), 7);
    auto* gray = new QHBoxLayout;
    gray->addWidget(BuddyLabel("アイテムを淡色表示する期間(&G)", m_edtGrayItemTime));
    gray->addWidget(m_edtGrayItemTime);
    gray->addStretch(1);
    layout->addLayout(gray);

    QVBoxLayout* order = nullptr;
    QGroupBox* orderGroup = Group("未アクセスのアイテムの、ソート時の扱い方", order);
    m_rdgNewItemAtBottom =
        AddRadios(this, order, "rdgNewItemAtBottom",
                  {"他のアイテムより先にアクセスしたと見なす(&T)", "他のアイテムより後にアクセスしたと見なす(&B)"});
    layout->addWidget(orderGroup);

    m_btnNeedToVisitColor = new QPushButton(QStringLiteral("アクセスすべきアイテムの色(&C)"));
    m_btnNeedToVisitColor->setObjectName(QStringLiteral("btnNeedToVisitColor"));
    m_btnNeedToVisitColor->setAutoDefault(false);
    connect(m_btnNeedToVisitColor, &QPushButton::clicked, this, &TConfigDlg::ChooseColor);
    auto* color = new QHBoxLayout;
    color->addWidget(m_btnNeedToVisitColor);
    color->addStretch(1);
    layout->addLayout(color);
    layout->addStretch(1);
    connect(m_chkListHotTrack, &QCheckBox::toggled, this, &TConfigDlg::UpdateEnabled);
    return page;
}

QWidget* TConfigDlg::CreateDatePage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    QVBoxLayout* format = nullptr;
    QGroupBox* formatGroup = Group("アクセス日時の表示形式", format);
    m_rdgDateStrType = AddRadios(this, format, "rdgDateStrType", {"日付･時刻(&D)", "経過時間(&P)"});
    layout->addWidget(formatGroup);
    m_chkYearTwoDigit = AddCheck(layout, "chkYearTwoDigit", "西暦は下２桁のみ(&T)");
    m_edtDateSeparator = new QLineEdit;
    m_edtDateSeparator->setObjectName(QStringLiteral("edtDateSeparator"));
    m_edtDateSeparator->setMaxLength(1);
    m_edtDateSeparator->setFixedWidth(m_edtDateSeparator->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 12);
    auto* separator = new QHBoxLayout;
    separator->addWidget(BuddyLabel("日付の区切り文字(&S)", m_edtDateSeparator));
    separator->addWidget(m_edtDateSeparator);
    separator->addStretch(1);
    layout->addLayout(separator);
    auto* groups = new QHBoxLayout;
    QVBoxLayout* day = nullptr;
    QGroupBox* dayGroup = Group("曜日", day);
    m_rdgDayOfWeek = AddRadios(this, day, "rdgDayOfWeek", {"表示しない(&N)", "日本語で表示(&J)", "英語で表示(&E)"});
    day->addStretch(1);
    QVBoxLayout* hour = nullptr;
    QGroupBox* hourGroup = Group("時刻", hour);
    m_rdgHour24 = AddRadios(this, hour, "rdgHour24", {"&AM・PM", "&24時間表示"});
    hour->addStretch(1);
    groups->addWidget(dayGroup, 1);
    groups->addWidget(hourGroup, 1);
    layout->addLayout(groups);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigDlg::CreateHistoryPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    m_lstRecentFiles = new QTreeWidget;
    m_lstRecentFiles->setObjectName(QStringLiteral("lstRecentFiles"));
    m_lstRecentFiles->setHeaderHidden(true);
    m_lstRecentFiles->setRootIsDecorated(false);
    m_lstRecentFiles->setUniformRowHeights(true);
    // One line each, shortened in the middle to the list's width.
    m_lstRecentFiles->setTextElideMode(Qt::ElideMiddle);
    m_lstRecentFiles->setWordWrap(false);
    m_lstRecentFiles->header()->setStretchLastSection(true);
    m_lstRecentFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstRecentFiles->setSelectionMode(QAbstractItemView::MultiSelection);
    layout->addWidget(BuddyLabel("最近開いたファイル(&R)", m_lstRecentFiles));
    layout->addWidget(m_lstRecentFiles, 1);
    m_btnDeleteRecent = new QPushButton(QStringLiteral("削除(&D)"));
    m_btnDeleteRecent->setObjectName(QStringLiteral("btnDeleteRecent"));
    m_btnDeleteRecent->setAutoDefault(false);
    connect(m_btnDeleteRecent, &QPushButton::clicked, this, &TConfigDlg::DeleteSelectedRecentFiles);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_btnDeleteRecent);
    layout->addLayout(buttons);
    return page;
}

QWidget* TConfigDlg::CreateTaskBarPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    QVBoxLayout* tray = nullptr;
    QGroupBox* trayGroup = Group("タスクトレイのアイコン", tray);
    m_rdgTrayIcon =
        AddRadios(this, tray, "rdgTrayIcon", {"表示しない(&N)", "常に表示する(&A)", "最小化時のみ表示する(&M)"});
    layout->addWidget(trayGroup);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        auto* note = new QLabel(QStringLiteral("このデスクトップには通知領域がないため、アイコンを表示できません。"));
        note->setObjectName(QStringLiteral("lblNoTray"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    m_chkHideTaskBar = AddCheck(layout, "chkHideTaskBar", "最小化時、タスクバーから消す(&T)");
    layout->addStretch(1);
    connect(m_rdgTrayIcon, &QButtonGroup::idToggled, this, &TConfigDlg::UpdateEnabled);
    return page;
}

QWidget* TConfigDlg::CreateImportPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    QVBoxLayout* browser = nullptr;
    QGroupBox* browserGroup = Group("ブラウザで表示しているURL", browser);
    m_rdgImpBrowserNNFirst =
        AddRadios(this, browser, "rdgImpBrowserNNFirst", {"&Chromiumを優先する", "&Firefoxを優先する"});
    m_chkImpBrowserConfirm = AddCheck(browser, "chkImpBrowserConfirm", "ダイアログで確認する(&D)");
    layout->addWidget(browserGroup);
    layout->addStretch(1);
    return page;
}

QWidget* TConfigDlg::CreateOthersPage() {
    QVBoxLayout* layout = nullptr;
    QWidget* page = Page(layout);
    m_trbHintHidePause = Slider("trbHintHidePause", HintPauseMinPosition, HintPauseMaxPosition, 20);
    m_lblHintHidePause = new QLabel;
    m_lblHintHidePause->setObjectName(QStringLiteral("lblHintHidePause"));
    m_lblHintHidePause->setMinimumWidth(
        m_lblHintHidePause->fontMetrics().horizontalAdvance(QString::fromStdString(HintPauseLabel(200))) + 4);
    connect(m_trbHintHidePause, &QSlider::valueChanged, this, &TConfigDlg::UpdateHintLabel);
    auto* hint = new QHBoxLayout;
    hint->addWidget(BuddyLabel("ヒントの表示時間(&H)", m_trbHintHidePause));
    hint->addWidget(m_trbHintHidePause, 1);
    hint->addWidget(m_lblHintHidePause);
    layout->addLayout(hint);
    m_chkStartWithFile = AddCheck(layout, "chkStartWithFile", "起動時に、前回開いていたファイルを開く(&S)");
    m_chkFolderFullPath = AddCheck(layout, "chkFolderFullPath", "開いているフォルダのフルパスを表示(&F)");
    QVBoxLayout* font = nullptr;
    QGroupBox* fontGroup = Group("フォント", font);
    m_btnMemoFont = new QPushButton(QStringLiteral("メモ編集ボックス(&M)..."));
    m_btnMemoFont->setObjectName(QStringLiteral("btnMemoFont"));
    m_btnMemoFont->setAutoDefault(false);
    connect(m_btnMemoFont, &QPushButton::clicked, this, &TConfigDlg::ChooseMemoFont);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_btnMemoFont);
    fontRow->addStretch(1);
    font->addLayout(fontRow);
    layout->addWidget(fontGroup);
    m_chkAutoSave = AddCheck(layout, "chkAutoSave", "ファイルを自動的に保存する(&V)");
    layout->addStretch(1);
    return page;
}

} // namespace hv
