#include "properties/ItemPropDlg.h"

#include "model/Names.h"
#include "platform/Clock.h"
#include "platform/UserPrompts.h"
#include "properties/AccessTimeText.h"
#include "properties/CmdPropDlg.h"
#include "properties/DateTimeDlg.h"
#include "properties/DisplaySettings.h"
#include "properties/SelIconDlg.h"
#include "settings/OptionKeys.h"
#include "text/TextUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace hv {

namespace {

constexpr std::string_view kPosName = "PropDlgPos";
const char* const kUpdateText = "アクセス日時更新";

QLabel* BuddyLabel(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    return label;
}

// The memo font setting: characters 1-2 the style bits (1 bold, 2 italic, 4 underline, 8
// strike-out), 4-5 the size in points, from character 7 the face name. A part that does not
// read as a number keeps font's.
QFont MemoFontOf(const std::string& setting, QFont font) {
    const QString text = QString::fromStdString(setting);
    if (text.size() < 7 || text[2] != QLatin1Char(',') || text[5] != QLatin1Char(',')) {
        return font;
    }
    bool styleOk = false;
    bool sizeOk = false;
    const int style = text.left(2).toInt(&styleOk);
    const int size = text.mid(3, 2).toInt(&sizeOk);
    font.setFamily(text.mid(6));
    if (sizeOk && size > 0) {
        font.setPointSize(size);
    }
    if (styleOk) {
        font.setBold((style & 1) != 0);
        font.setItalic((style & 2) != 0);
        font.setUnderline((style & 4) != 0);
        font.setStrikeOut((style & 8) != 0);
    }
    return font;
}

} // namespace

std::optional<QString> UrlFromClipboardText(QString text) {
    if (text.size() >= 2 && (text.front() == QLatin1Char('"') || text.front() == QLatin1Char('\'')) &&
        text.back() == text.front()) {
        text = text.mid(1, text.size() - 2);
    }
    if (text.startsWith(QStringLiteral("mailto:"))) {
        return text;
    }
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        return std::nullopt;
    }
    const QString scheme = text.left(colon).toLower();
    if (scheme == QStringLiteral("http") || scheme == QStringLiteral("https") || scheme == QStringLiteral("ftp") ||
        scheme == QStringLiteral("gopher")) {
        return text;
    }
    return std::nullopt;
}

TItemPropDlg::TItemPropDlg(TPropDlgServices& services, QWidget* parent)
    : QDialog(parent), m_Services(services), m_Work(m_WorkList.Add()) {
    setWindowTitle(QString::fromUtf8("アイテムのプロパティ"));
    m_Pages = new QTabWidget(this);
    m_Pages->addTab(MakeGeneralPage(), QString::fromUtf8("全般"));
    m_Pages->addTab(MakeCommandsPage(), QString::fromUtf8("コマンド"));
    m_Pages->addTab(MakeSchedulePage(), QString::fromUtf8("アクセススケジュール"));

    auto* buttons = new QDialogButtonBox(this);
    m_OK = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    m_OK->setObjectName(QStringLiteral("bbtOK"));
    m_OK->setDefault(true);
    buttons->addButton(QString::fromUtf8("キャンセル(&C)"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bbtCancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Pages);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TItemPropDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TItemPropDlg::reject);
    MakeFixedSizeDialog(*this);
    RestoreDlgPos(*this, m_Services.Settings, kPosName);
}

TItemPropDlg::~TItemPropDlg() {
    SaveDlgPos(*this, m_Services.Settings, kPosName);
}

QWidget* TItemPropDlg::MakeGeneralPage() {
    auto* page = new QWidget;
    m_Name = new QLineEdit(page);
    m_Name->setObjectName(QStringLiteral("edtName"));
    m_URL = new QLineEdit(page);
    m_URL->setObjectName(QStringLiteral("edtURL"));
    m_URL->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_URL->installEventFilter(this);
    m_AccessTime = new QLineEdit(page);
    m_AccessTime->setObjectName(QStringLiteral("edtAccessTime"));
    m_AccessTime->setReadOnly(true);
    auto* now = new QPushButton(QString::fromUtf8("現在時刻に設定(&W)"), page);
    now->setObjectName(QStringLiteral("btnNow"));
    auto* edit = new QPushButton(QString::fromUtf8("修正(&L)"), page);
    edit->setObjectName(QStringLiteral("btnEditTime"));
    m_Memo = new QPlainTextEdit(page);
    m_Memo->setObjectName(QStringLiteral("edtMemo"));
    m_Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Memo->installEventFilter(this);
    m_IconPreview = new QLabel(page);
    m_IconPreview->setObjectName(QStringLiteral("imgIcon"));
    m_IconPreview->setFixedSize(24, 24);
    m_IconPreview->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_IconPreview->setAlignment(Qt::AlignCenter);
    auto* icon = new QPushButton(QString::fromUtf8("変更(&I)"), page);
    icon->setObjectName(QStringLiteral("btnIcon"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(BuddyLabel("名前(&N)", m_Name, page), 0, 0);
    grid->addWidget(m_Name, 0, 1, 1, 3);
    grid->addWidget(BuddyLabel("&URL", m_URL, page), 1, 0);
    grid->addWidget(m_URL, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QString::fromUtf8("アクセス日時"), page), 2, 0);
    grid->addWidget(m_AccessTime, 2, 1);
    grid->addWidget(now, 2, 2);
    grid->addWidget(edit, 2, 3);
    grid->addWidget(BuddyLabel("メモ(&M)", m_Memo, page), 3, 0, Qt::AlignTop);
    grid->addWidget(m_Memo, 3, 1, 1, 3);
    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(m_IconPreview);
    iconRow->addWidget(icon);
    iconRow->addStretch();
    grid->addWidget(new QLabel(QString::fromUtf8("アイコン"), page), 4, 0);
    grid->addLayout(iconRow, 4, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    connect(m_Name, &QLineEdit::textEdited, this, &TItemPropDlg::MarkModified);
    connect(m_URL, &QLineEdit::textEdited, this, &TItemPropDlg::MarkModified);
    connect(m_Memo, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_Loading) {
            MarkModified();
        }
    });
    connect(now, &QPushButton::clicked, this, &TItemPropDlg::SetNow);
    connect(edit, &QPushButton::clicked, this, &TItemPropDlg::EditAccessTime);
    connect(icon, &QPushButton::clicked, this, &TItemPropDlg::ChangeIcon);
    return page;
}

QWidget* TItemPropDlg::MakeCommandsPage() {
    auto* page = new QWidget;
    m_Commands = new QTreeWidget(page);
    m_Commands->setObjectName(QStringLiteral("lvCommands"));
    m_Commands->setRootIsDecorated(false);
    m_Commands->setHeaderLabels(
        {QString::fromUtf8("タイトル"), QString::fromUtf8("コマンドライン"), QString::fromUtf8("オプション")});
    m_Commands->installEventFilter(this);
    auto* buttonColumn = new QVBoxLayout;
    auto button = [&](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(text), page);
        b->setObjectName(QString::fromUtf8(name));
        buttonColumn->addWidget(b);
        return b;
    };
    QPushButton* add = button("追加(&A)", "btnAdd");
    m_Delete = button("削除(&D)", "btnDelete");
    m_Edit = button("編集(&E)", "btnEdit");
    m_Test = button("テスト(&T)", "btnTest");
    buttonColumn->addSpacing(8);
    m_Up = button("U&P", "btnUp");
    m_Down = button("DO&WN", "btnDown");
    buttonColumn->addStretch();
    auto* layout = new QGridLayout(page);
    layout->addWidget(BuddyLabel("コマンド(&M)", m_Commands, page), 0, 0);
    layout->addWidget(m_Commands, 1, 0);
    layout->addLayout(buttonColumn, 1, 1);

    connect(add, &QPushButton::clicked, this, &TItemPropDlg::AddCommand);
    connect(m_Delete, &QPushButton::clicked, this, &TItemPropDlg::DeleteCommand);
    connect(m_Edit, &QPushButton::clicked, this, &TItemPropDlg::EditCommand);
    connect(m_Test, &QPushButton::clicked, this, &TItemPropDlg::TestCommand);
    connect(m_Up, &QPushButton::clicked, this, [this] { MoveCommand(-1); });
    connect(m_Down, &QPushButton::clicked, this, [this] { MoveCommand(1); });
    connect(m_Commands, &QTreeWidget::itemSelectionChanged, this, &TItemPropDlg::UpdateCommandButtons);
    connect(m_Commands, &QTreeWidget::itemDoubleClicked, this, &TItemPropDlg::EditCommand);
    return page;
}

QWidget* TItemPropDlg::MakeSchedulePage() {
    auto* page = new QWidget;
    auto* days = new QGroupBox(QString::fromUtf8("日"), page);
    days->setObjectName(QStringLiteral("grpDays"));
    m_WeekMode = new QRadioButton(QString::fromUtf8("曜日を指定(&K)"), days);
    m_WeekMode->setObjectName(QStringLiteral("rbWeek"));
    m_DateMode = new QRadioButton(QString::fromUtf8("日付を指定(&D)"), days);
    m_DateMode->setObjectName(QStringLiteral("rbDate"));
    const char* const names[7] = {"日曜(&S)", "月曜(&M)", "火曜(&T)", "水曜(&W)", "木曜(&H)", "金曜(&F)", "土曜(&A)"};
    auto* weekRow = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        m_WeekDays[i] = new QCheckBox(QString::fromUtf8(names[i]), days);
        m_WeekDays[i]->setObjectName(QStringLiteral("chkWDay%1").arg(i + 1));
        weekRow->addWidget(m_WeekDays[i], i / 4, i % 4);
        connect(m_WeekDays[i], &QCheckBox::clicked, this, &TItemPropDlg::MarkModified);
    }
    m_MonthDays = new QLineEdit(days);
    m_MonthDays->setObjectName(QStringLiteral("edtDays"));
    m_MonthDays->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), this));
    // Window background when enabled, button face when disabled.
    QPalette daysPalette = m_MonthDays->palette();
    daysPalette.setColor(QPalette::Disabled, QPalette::Base, daysPalette.color(QPalette::Active, QPalette::Button));
    m_MonthDays->setPalette(daysPalette);
    m_MonthNote = new QLabel(QString::fromUtf8("数値をカンマで区切って\n指定してください。\n（例） 5,15,25"), days);
    auto* daysLayout = new QGridLayout(days);
    daysLayout->addWidget(m_WeekMode, 0, 0, 1, 2);
    daysLayout->addLayout(weekRow, 1, 0, 1, 2);
    daysLayout->addWidget(m_DateMode, 2, 0, 1, 2);
    daysLayout->addWidget(m_MonthDays, 3, 0, Qt::AlignTop);
    daysLayout->addWidget(m_MonthNote, 3, 1);

    auto number = [this, page](int index, int max, const char* name) {
        auto* box = new QSpinBox(page);
        box->setObjectName(QString::fromUtf8(name));
        box->setRange(0, max);
        box->setWrapping(true);
        m_Numbers[index] = box;
        box->installEventFilter(this);
        connect(box, &QSpinBox::valueChanged, this, &TItemPropDlg::NumberChanged);
        return box;
    };
    auto* time = new QGroupBox(QString::fromUtf8("時刻"), page);
    auto* timeLayout = new QFormLayout(time);
    QSpinBox* udHour = number(0, 23, "udHour");
    timeLayout->addRow(BuddyLabel("時(&U)", udHour, time), udHour);
    QSpinBox* udMinute = number(1, 59, "udMinute");
    timeLayout->addRow(BuddyLabel("分(&I)", udMinute, time), udMinute);
    auto* period = new QGroupBox(QString::fromUtf8("期間"), page);
    auto* periodLayout = new QFormLayout(period);
    QSpinBox* udPeriodDays = number(2, 30, "udPeriodDays");
    periodLayout->addRow(BuddyLabel("日(&Y)", udPeriodDays, period), udPeriodDays);
    QSpinBox* udPeriodHours = number(3, 23, "udPeriodHours");
    periodLayout->addRow(BuddyLabel("時間(&R)", udPeriodHours, period), udPeriodHours);

    auto* layout = new QGridLayout(page);
    layout->addWidget(days, 0, 0, 2, 1);
    layout->addWidget(time, 0, 1);
    layout->addWidget(period, 1, 1);
    layout->setRowStretch(2, 1);

    // One of the two buttons turns on at each switch; loading switches too, without a change.
    connect(m_WeekMode, &QRadioButton::toggled, this, [this](bool on) {
        UpdateDayMode();
        if (on && !m_Loading) {
            MarkModified();
        }
    });
    connect(m_DateMode, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !m_Loading) {
            if (m_DateMode->hasFocus()) {
                m_MonthDays->setFocus();
            }
            MarkModified();
        }
    });
    connect(m_MonthDays, &QLineEdit::textEdited, this, &TItemPropDlg::MarkModified);
    return page;
}

bool TItemPropDlg::Execute(THVItem* item, const THVList& list) {
    Load(item, list);
    return exec() == QDialog::Accepted;
}

void TItemPropDlg::Load(THVItem* item, const THVList& list) {
    m_Loading = true;
    m_List = &list;
    if (item != nullptr) {
        m_Work->Assign(*item);
    } else {
        m_Work->SetName({});
        m_Work->SetURL("http://www.");
        m_Work->SetMemo({});
        m_Work->SetSchedule({});
        m_Work->SetLastVisited(0);
        m_Work->SetIconRaw({}, -1);
        m_Work->GetCommands().SetCount(0);
        if (const QClipboard* clipboard = QGuiApplication::clipboard()) {
            if (auto url = UrlFromClipboardText(clipboard->text())) {
                m_Work->SetURL(url->toStdString());
            }
        }
        m_Pages->setCurrentIndex(0);
    }
    m_Name->setText(QString::fromStdString(m_Work->GetName()));
    m_URL->setText(QString::fromStdString(m_Work->GetURL()));
    UpdateAccessTime();
    m_Memo->setPlainText(QString::fromStdString(MemoForEditing(m_Work->GetMemo())));
    m_Memo->setFont(MemoFontOf(m_Services.Settings.Get(opt::Window::MemoFont), font()));
    UpdateIcon();

    m_Commands->clear();
    for (const TCmdItem& command : m_Work->GetCommands()) {
        SetCommandRow(m_Commands->topLevelItemCount(), command);
    }
    if (m_Commands->topLevelItemCount() > 0) {
        m_Commands->setCurrentItem(m_Commands->topLevelItem(0));
    }
    FitColumns();
    UpdateCommandButtons();

    const std::string schedule = m_Work->GetSchedule().empty() ? std::string(kDefaultSchedule) : m_Work->GetSchedule();
    const TScheduleRec rec = ParseSchedule(schedule);
    if (rec.Mode == smWeekDays) {
        m_WeekMode->setChecked(true);
        for (int i = 0; i < 7; ++i) {
            m_WeekDays[i]->setChecked(rec.Days.test(static_cast<std::size_t>(i + 1)));
        }
        m_MonthDays->clear();
    } else {
        m_DateMode->setChecked(true);
        QStringList numbers;
        for (int d = 1; d <= 31; ++d) {
            if (rec.Days.test(static_cast<std::size_t>(d))) {
                numbers.append(QString::number(d));
            }
        }
        for (QCheckBox* box : m_WeekDays) {
            box->setChecked(false);
        }
        m_MonthDays->setText(numbers.join(QLatin1Char(',')));
    }
    UpdateDayMode();
    m_Numbers[0]->setValue(rec.Hour);
    m_Numbers[1]->setValue(rec.Minute);
    m_Numbers[2]->setValue(rec.PeriodDays);
    m_Numbers[3]->setValue(rec.PeriodHours);

    switch (m_Pages->currentIndex()) {
    case 1:
        m_Commands->setFocus();
        break;
    case 2:
        (m_WeekMode->isChecked() ? m_WeekMode : m_DateMode)->setFocus();
        break;
    default:
        m_Name->setFocus();
    }
    m_Target = item;
    m_Loading = false;
    SetModified(false);
}

void TItemPropDlg::SetModified(bool modified) {
    m_Modified = modified;
    m_OK->setEnabled(modified && !m_Name->text().isEmpty() && !m_URL->text().isEmpty());
}

void TItemPropDlg::NumberChanged() {
    // Only a change the user makes on the visible schedule page counts.
    if (!m_Loading && isVisible() && m_Pages->currentIndex() == 2) {
        MarkModified();
    }
}

void TItemPropDlg::UpdateAccessTime() {
    const TDateTime when = m_Work->GetLastVisited();
    m_AccessTime->setText(when == 0 ? QString()
                                    : QString::fromStdString(AccessTimeText(
                                          when, Clock().Now(), AccessTimeOptionsFromSettings(m_Services.Settings))));
}

void TItemPropDlg::UpdateIcon() {
    const QIcon icon = LoadItemIcon(QString::fromStdString(m_Work->GetIconFile()), m_Work->GetIconIndex());
    m_IconPreview->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
}

void TItemPropDlg::SetNow() {
    m_Work->SetLastVisited(Clock().Now());
    UpdateAccessTime();
    MarkModified();
}

void TItemPropDlg::EditAccessTime() {
    const auto pos = ParseRestorePos(m_Services.Settings.Get(opt::Window::DTimeDlgPos));
    TDateTimeDlgParams params;
    params.Value = m_Work->GetLastVisited() != 0 ? m_Work->GetLastVisited() : Clock().Now();
    params.Left = pos[0];
    params.Top = pos[1];
    params.Caption = QString::fromUtf8("アクセス日時の修正");
    TDateTimeDlg dialog(params, m_Services.Prompts, this);
    if (dialog.Execute()) {
        m_Work->SetLastVisited(params.Value);
        UpdateAccessTime();
        MarkModified();
    }
    m_Services.Settings.Set(opt::Window::DTimeDlgPos, std::to_string(params.Left) + "," + std::to_string(params.Top));
}

void TItemPropDlg::ChangeIcon() {
    TSelIconDlg dialog(m_Services, this);
    QString file = QString::fromStdString(m_Work->GetIconFile());
    int index = m_Work->GetIconIndex();
    if (dialog.Execute(file, index)) {
        if (file.isEmpty()) {
            m_Work->SetIconRaw({}, -1);
        } else {
            m_Work->SetIconFile(file.toStdString());
            m_Work->SetIconIndex(index);
        }
        UpdateIcon();
        MarkModified();
    }
}

void TItemPropDlg::SetCommandRow(int row, const TCmdItem& command) {
    QTreeWidgetItem* item = m_Commands->topLevelItem(row);
    if (item == nullptr) {
        item = new QTreeWidgetItem(m_Commands);
    }
    item->setText(0, QString::fromStdString(command.Title));
    item->setText(1, QString::fromStdString(command.CommandLine));
    item->setText(2, command.UpdateLastVisited ? QString::fromUtf8(kUpdateText) : QString());
}

TCmdItem TItemPropDlg::CommandOfRow(int row) const {
    const QTreeWidgetItem* item = m_Commands->topLevelItem(row);
    return {item->text(0).toStdString(), item->text(1).toStdString(), item->text(2) == QString::fromUtf8(kUpdateText)};
}

void TItemPropDlg::FitColumns() {
    for (int c = 0; c < 3; ++c) {
        const int header = m_Commands->header()->fontMetrics().horizontalAdvance(m_Commands->headerItem()->text(c));
        m_Commands->resizeColumnToContents(c);
        m_Commands->setColumnWidth(c, std::max(m_Commands->columnWidth(c), header + 24));
    }
}

void TItemPropDlg::UpdateCommandButtons() {
    const int row = m_Commands->currentItem() != nullptr && m_Commands->currentItem()->isSelected()
                        ? m_Commands->indexOfTopLevelItem(m_Commands->currentItem())
                        : -1;
    const bool selected = row >= 0;
    m_Delete->setEnabled(selected);
    m_Edit->setEnabled(selected);
    m_Test->setEnabled(selected);
    m_Up->setEnabled(selected && row > 0);
    m_Down->setEnabled(selected && row < m_Commands->topLevelItemCount() - 1);
}

void TItemPropDlg::AddCommand() {
    TCmdItem command;
    TCmdPropDlg dialog(m_Services, this);
    if (dialog.Execute(command)) {
        const int row = m_Commands->topLevelItemCount();
        SetCommandRow(row, command);
        m_Commands->setCurrentItem(m_Commands->topLevelItem(row));
        FitColumns();
        MarkModified();
    }
}

void TItemPropDlg::EditCommand() {
    const int row = m_Commands->indexOfTopLevelItem(m_Commands->currentItem());
    if (row < 0) {
        return;
    }
    TCmdItem command = CommandOfRow(row);
    TCmdPropDlg dialog(m_Services, this);
    if (dialog.Execute(command)) {
        SetCommandRow(row, command);
        FitColumns();
        MarkModified();
    }
}

void TItemPropDlg::DeleteCommand() {
    QTreeWidgetItem* item = m_Commands->currentItem();
    if (item == nullptr) {
        return;
    }
    if (!m_Services.Prompts.YesNo("コマンド '" + item->text(0).toStdString() + "' を削除します。よろしいですか？")) {
        return;
    }
    delete item;
    if (QTreeWidgetItem* current = m_Commands->currentItem()) {
        current->setSelected(true);
    }
    UpdateCommandButtons();
    MarkModified();
}

void TItemPropDlg::TestCommand() {
    const int row = m_Commands->indexOfTopLevelItem(m_Commands->currentItem());
    if (row >= 0 && m_Services.OpenCommand) {
        m_Services.OpenCommand(CommandOfRow(row).CommandLine);
    }
}

void TItemPropDlg::MoveCommand(int delta) {
    const int row = m_Commands->indexOfTopLevelItem(m_Commands->currentItem());
    const int other = row + delta;
    if (row < 0 || other < 0 || other >= m_Commands->topLevelItemCount()) {
        return;
    }
    const TCmdItem a = CommandOfRow(row);
    SetCommandRow(row, CommandOfRow(other));
    SetCommandRow(other, a);
    m_Commands->setCurrentItem(m_Commands->topLevelItem(other));
    FitColumns();
    MarkModified();
}

void TItemPropDlg::UpdateDayMode() {
    const bool week = m_WeekMode->isChecked();
    for (QCheckBox* box : m_WeekDays) {
        box->setEnabled(week);
    }
    m_MonthDays->setEnabled(!week);
    m_MonthNote->setEnabled(!week);
}

TScheduleForm TItemPropDlg::ScheduleForm() const {
    TScheduleForm form;
    form.Mode = m_WeekMode->isChecked() ? smWeekDays : smMonthDays;
    for (int i = 0; i < 7; ++i) {
        form.WeekDays.set(static_cast<std::size_t>(i + 1), m_WeekDays[i]->isChecked());
    }
    form.MonthDays = m_MonthDays->text().toStdString();
    form.Hour = m_Numbers[0]->value();
    form.Minute = m_Numbers[1]->value();
    form.PeriodDays = m_Numbers[2]->value();
    form.PeriodHours = m_Numbers[3]->value();
    return form;
}

bool TItemPropDlg::CheckOK() {
    const std::string name = CleanItemName(m_Name->text().toStdString());
    m_Name->setText(QString::fromStdString(name));
    if (m_Target != nullptr && !name.empty() && name == m_Target->GetName()) {
        return true;
    }
    std::string message;
    if (name.empty()) {
        message = kEmptyNameMessage;
    } else if (m_List != nullptr) {
        message = CheckItemName(*m_List, m_Target, name);
    }
    if (!message.empty()) {
        m_Services.Prompts.Warning(message);
        m_Name->setFocus();
        return false;
    }
    if (m_URL->text().isEmpty()) {
        m_Services.Prompts.Warning("URLが指定されていません。");
        m_URL->setFocus();
        return false;
    }
    return true;
}

void TItemPropDlg::Store() {
    m_Work->SetName(m_Name->text().toStdString());
    m_Work->SetURL(m_URL->text().toStdString());
    m_Work->SetMemo(MemoForStoring(m_Memo->toPlainText().toStdString()));
    TCmdList& commands = m_Work->GetCommands();
    commands.SetCount(0);
    for (int row = 0; row < m_Commands->topLevelItemCount(); ++row) {
        commands.Add() = CommandOfRow(row);
    }
    m_Work->SetSchedule(FormatSchedule(ScheduleForm()));
    if (m_Target != nullptr) {
        m_Target->Assign(*m_Work);
    }
}

void TItemPropDlg::accept() {
    if (!CheckOK()) {
        return;
    }
    if (!m_Modified) {
        reject();
        return;
    }
    Store();
    QDialog::accept();
}

bool TItemPropDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_URL && event->type() == QEvent::FocusIn && m_URL->text() == QStringLiteral("http://www.")) {
        QTimer::singleShot(0, m_URL, [this] { m_URL->setCursorPosition(11); });
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (std::find(std::begin(m_Numbers), std::end(m_Numbers), watched) != std::end(m_Numbers)) {
            // The number fields take digits and Backspace; other characters are dropped.
            const char16_t c = TypedChar(*key);
            return c != 0 && c != 8 && (c < u'0' || c > u'9');
        }
        if (watched == m_Memo && plain && key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (watched == m_Commands && plain) {
            const bool selected = m_Commands->currentItem() != nullptr;
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && selected) {
                EditCommand();
                return true;
            }
            if (key->key() == Qt::Key_Insert) {
                AddCommand();
                return true;
            }
            if (key->key() == Qt::Key_Delete && selected) {
                DeleteCommand();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace hv
