#include "mainwindow/SelectFolderDlg.h"

#include "mainwindow/FolderTreeModel.h"
#include "model/HVFolder.h"
#include "model/Names.h"
#include "platform/UserPrompts.h"
#include "properties/PropDlgServices.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

#include <array>

namespace hv {

namespace {

constexpr std::string_view kPosValueName = "SelFolderDlgPos";

struct TModeTexts {
    const char* Caption;
    const char* Prompt;
    bool NameShown;
};

constexpr std::array<TModeTexts, 5> kModes = {{
    {"フォルダの追加", "左で選択されているフォルダの下に新しいフォルダを作ります。\n\n作成するフォルダの名前(&N)",
     true},
    {"アイテムの移動", "左で選択されているフォルダにアイテムを移動します。\n\n移動後の名前(&N)", true},
    {"アイテムの移動", "左で選択されているフォルダにアイテムを移動します。", false},
    {"アイテムのコピー", "左で選択されているフォルダにアイテムをコピーします。\n\nコピー後の名前(&N)", true},
    {"アイテムのコピー", "左で選択されているフォルダにアイテムをコピーします。", false},
}};

const TModeTexts& TextsOf(TSelectFolderDlg::TMode mode) {
    return kModes.at(static_cast<std::size_t>(mode));
}

// The text as an item name keeps it (control characters removed).
QString WithoutControlChars(const QString& text) {
    return QString::fromStdString(CleanItemName(text.toStdString()));
}

} // namespace

TSelectFolderDlg::TSelectFolderDlg(TUserPrompts& prompts, TSettings* settings, QWidget* parent)
    : QDialog(parent), m_Prompts(prompts), m_Settings(settings), m_Model(new TFolderTreeModel(this)),
      m_Tree(new QTreeView), m_Prompt(new QLabel), m_Edit(new QLineEdit), m_OK(new QPushButton(QStringLiteral("OK"))),
      m_Cancel(new QPushButton(QStringLiteral("キャンセル(&C)"))) {
    setObjectName(QStringLiteral("SelectFolderDlg"));
    m_Model->SetIcons(TFolderIcons::Standard(style()));
    m_Tree->setObjectName(QStringLiteral("TreeView"));
    m_Tree->setModel(m_Model);
    m_Tree->setHeaderHidden(true);
    m_Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Tree->setMinimumSize(220, 240);
    m_Prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_Prompt->setTextFormat(Qt::PlainText);
    m_Prompt->setWordWrap(true);
    m_Prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_Edit->setObjectName(QStringLiteral("Edit"));
    m_OK->setObjectName(QStringLiteral("btnOK"));
    m_OK->setDefault(true);
    m_Cancel->setObjectName(QStringLiteral("btnCancel"));

    auto* side = new QVBoxLayout;
    side->addWidget(m_Prompt);
    side->addWidget(m_Edit);
    side->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_OK);
    buttons->addWidget(m_Cancel);
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_Tree, 1);
    layout->addLayout(side, 1);
    resize(520, 320);

    connect(m_OK, &QPushButton::clicked, this, &TSelectFolderDlg::accept);
    connect(m_Cancel, &QPushButton::clicked, this, &TSelectFolderDlg::reject);
    connect(m_Edit, &QLineEdit::textChanged, this, &TSelectFolderDlg::OnNameEdited);
    connect(m_Tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        m_Model->SetOpenFolder(m_Model->nodeFromIndex(current));
        UpdateOK();
    });
    connect(m_Tree, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        // The root stays open.
        if (m_Model->nodeFromIndex(index) == m_Model->Root()) {
            m_Tree->expand(index);
        }
    });
}

TSelectFolderDlg::~TSelectFolderDlg() = default;

void TSelectFolderDlg::Load(TMode mode, THVFolder* root, THVFolder* start, const THVFolder* shownFolder,
                            const QString& name, TExpandedTest expandedTest) {
    m_Mode = mode;
    m_ShownFolder = shownFolder;
    const TModeTexts& texts = TextsOf(mode);
    setWindowTitle(QString::fromUtf8(texts.Caption));
    m_Prompt->setText(QString::fromUtf8(texts.Prompt));
    m_Prompt->setBuddy(texts.NameShown ? m_Edit : nullptr);
    m_Edit->setVisible(texts.NameShown);
    m_Model->BeginReset();
    m_Model->EndReset(root);
    ApplyExpandedStates(expandedTest);
    SelectFolder(start != nullptr ? start : root);
    SetName(texts.NameShown ? name : QString());
    UpdateOK();
    if (texts.NameShown) {
        m_Edit->selectAll();
        m_Edit->setFocus();
    } else {
        m_Tree->setFocus();
    }
}

bool TSelectFolderDlg::Execute(TMode mode, THVFolder* root, THVFolder* start, const THVFolder* shownFolder,
                               const QString& name, TExpandedTest expandedTest) {
    Load(mode, root, start, shownFolder, name, std::move(expandedTest));
    RestorePosition();
    return exec() == QDialog::Accepted;
}

void TSelectFolderDlg::RestorePosition() {
    const auto text =
        m_Settings == nullptr ? std::nullopt : ReadRestorePos(m_Settings->Registry(), RestorePosKeyName, kPosValueName);
    if (!text) {
        return;
    }
    const TWindowPlacement p = ApplyRestorePos(*text, 0, {x(), y(), width(), height()});
    // Without a screen there the dialog would be out of reach; it then opens over the window.
    if (QGuiApplication::screenAt(QRect(p.Left, p.Top, p.Width, p.Height).center()) != nullptr) {
        PlaceDialog(*this, QPoint(p.Left, p.Top));
    }
}

void TSelectFolderDlg::ApplyExpandedStates(const TExpandedTest& expandedTest) {
    THVFolder* root = m_Model->Root();
    if (root == nullptr) {
        return;
    }
    ForEachFolder(*root, [&](THVFolder& folder, int) {
        if (folder.ChildCount() > 0) {
            const bool expanded = &folder == root || (expandedTest ? expandedTest(folder) : folder.Expanded());
            m_Tree->setExpanded(m_Model->IndexOf(&folder), expanded);
        }
    });
}

THVFolder* TSelectFolderDlg::ChosenFolder() const {
    return m_Model->nodeFromIndex(m_Tree->currentIndex());
}

QString TSelectFolderDlg::NameText() const {
    return NameShown() ? m_Edit->text() : QString();
}

std::string TSelectFolderDlg::Name() const {
    if (!NameShown()) {
        return {};
    }
    // A "\" in a folder name would come back as "￥" from the file, and could then clash with a
    // sibling: it is turned into "￥" here already, as renaming does.
    return m_Mode == TMode::AddFolder ? CleanFolderName(m_Edit->text().toStdString())
                                      : CleanItemName(m_Edit->text().toStdString());
}

bool TSelectFolderDlg::NameShown() const {
    return TextsOf(m_Mode).NameShown;
}

void TSelectFolderDlg::SelectFolder(THVFolder* folder) {
    const QModelIndex index = m_Model->IndexOf(folder);
    if (index.isValid()) {
        m_Tree->setCurrentIndex(index);
        m_Tree->scrollTo(index);
    }
}

void TSelectFolderDlg::SetName(const QString& text) {
    m_Edit->setText(text);
}

void TSelectFolderDlg::OnNameEdited(const QString& text) {
    if (m_Cleaning) {
        return;
    }
    const QString cleaned = WithoutControlChars(text);
    if (cleaned != text) {
        const auto cursor = static_cast<int>(WithoutControlChars(text.left(m_Edit->cursorPosition())).size());
        m_Cleaning = true;
        m_Edit->setText(cleaned);
        m_Edit->setCursorPosition(cursor);
        m_Cleaning = false;
    }
    UpdateOK();
}

bool TSelectFolderDlg::OKEnabled() const {
    const THVFolder* chosen = ChosenFolder();
    if (chosen == nullptr) {
        return false;
    }
    const bool hasName = !m_Edit->text().isEmpty();
    switch (m_Mode) {
    case TMode::AddFolder:
    case TMode::CopyRename:
        return hasName;
    case TMode::MoveRename:
        return hasName && chosen != m_ShownFolder;
    case TMode::Move:
        return chosen != m_ShownFolder;
    case TMode::Copy:
        return true;
    }
    return false;
}

void TSelectFolderDlg::UpdateOK() {
    m_OK->setEnabled(OKEnabled());
}

bool TSelectFolderDlg::CheckOK() {
    if (!OKEnabled()) {
        return false;
    }
    if (!NameShown()) {
        return true;
    }
    const std::string name = Name();
    const THVFolder* chosen = ChosenFolder();
    const std::string message = m_Mode == TMode::AddFolder ? CheckFolderName(*chosen, nullptr, name)
                                                           : CheckItemName(chosen->List(), nullptr, name);
    if (!message.empty()) {
        m_Prompts.Warning(message);
        m_Edit->setFocus();
        return false;
    }
    return true;
}

void TSelectFolderDlg::accept() {
    if (CheckOK()) {
        QDialog::accept();
    }
}

void TSelectFolderDlg::done(int result) {
    if (m_Settings != nullptr && isVisible()) {
        SaveDlgPos(*this, *m_Settings, kPosValueName);
    }
    if (result != QDialog::Accepted) {
        m_Tree->selectionModel()->clearCurrentIndex();
    }
    QDialog::done(result);
}

} // namespace hv
