#include "importexport/ImpHtmlDlg.h"

#include "app/FileDialogs.h"
#include "importexport/LinkListModel.h"
#include "platform/UserPrompts.h"
#include "search/SearchSupport.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace hv {

namespace {

constexpr std::string_view kPlaceName = "ImpHtmlDlgRect";
// How often the caption's progress is shown while a file is read.
constexpr int kProgressIntervalMs = 100;

QAction* NewAction(QWidget* parent, const char* name, const QString& caption,
                   const QKeySequence& shortcut = QKeySequence()) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    parent->addAction(action);
    return action;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The hourglass while files are read.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// The checklist's view, telling whether a title is being edited.
class TLinkView final : public QTreeView {
public:
    using QTreeView::QTreeView;
    bool IsEditing() const { return state() == EditingState; }
};

} // namespace

TImpHtmlDlg::TImpHtmlDlg(TImporter importer, TUserPrompts& prompts, TSettings* settings, QWidget* parent)
    : QDialog(parent, Qt::Window), m_Importer(std::move(importer)), m_Prompts(prompts), m_Settings(settings),
      m_Model(new TLinkListModel(this)) {
    setObjectName(QStringLiteral("ImpHtmlDlg"));
    setWindowTitle(QString::fromUtf8(kImpHtmlCaption.data(), static_cast<qsizetype>(kImpHtmlCaption.size())));
    setAcceptDrops(true);
    setMinimumSize(400, 160);
    resize(560, 360);
    CreateActions();
    CreateLayout();
    RestorePlacement(this, m_Settings, kPlaceName, rpRestoreSize);
    connect(this, &QDialog::finished, this, [this] { StorePlacement(this, m_Settings, kPlaceName, rpRestoreSize); });
}

TImpHtmlDlg::~TImpHtmlDlg() = default;

void TImpHtmlDlg::CreateActions() {
    actOpenFile =
        NewAction(this, "actOpenFile", QStringLiteral("ファイルから(&F)..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    actOpenURL = NewAction(this, "actOpenURL", QStringLiteral("&URLから..."), QKeySequence(Qt::CTRL | Qt::Key_U));
    actOpenURL->setEnabled(false);
    actImport = NewAction(this, "actImport", QStringLiteral("インポート実行(&E)"), QKeySequence(Qt::CTRL | Qt::Key_I));
    actClose = NewAction(this, "actClose", QStringLiteral("終了(&C)"));
    actCheckAll =
        NewAction(this, "actCheckAll", QStringLiteral("全てをチェック(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    actUncheckAll = NewAction(this, "actUncheckAll", QStringLiteral("全てチェック解除(&N)"));
    actInvertChecks = NewAction(this, "actInvertChecks", QStringLiteral("チェック状態を反転(&I)"));
    actSortByName = NewAction(this, "actSortByName", QStringLiteral("名前順(&N)"));
    actSortByURL = NewAction(this, "actSortByURL", QStringLiteral("&URL順"));
    actSortByImportOrder = NewAction(this, "actSortByImportOrder", QStringLiteral("インポート順(&I)"));

    connect(actOpenFile, &QAction::triggered, this, &TImpHtmlDlg::OpenFromDialog);
    connect(actImport, &QAction::triggered, this, &TImpHtmlDlg::Import);
    connect(actClose, &QAction::triggered, this, &QDialog::reject);
    connect(actCheckAll, &QAction::triggered, this, [this] { m_Model->SetAllChecked(true); });
    connect(actUncheckAll, &QAction::triggered, this, [this] { m_Model->SetAllChecked(false); });
    connect(actInvertChecks, &QAction::triggered, this, [this] { m_Model->InvertChecks(); });
    connect(actSortByName, &QAction::triggered, this, [this] { Sort(TLinkSort::ByName); });
    connect(actSortByURL, &QAction::triggered, this, [this] { Sort(TLinkSort::ByURL); });
    connect(actSortByImportOrder, &QAction::triggered, this, [this] { Sort(TLinkSort::ByImportOrder); });
}

void TImpHtmlDlg::CreateLayout() {
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("Menu"));
    QMenu* import = menuBar->addMenu(QStringLiteral("インポート(&I)"));
    import->addAction(actOpenFile);
    import->addAction(actOpenURL);
    import->addSeparator();
    import->addAction(actImport);
    import->addSeparator();
    import->addAction(actClose);
    QMenu* check = menuBar->addMenu(QStringLiteral("チェック(&H)"));
    check->addAction(actCheckAll);
    check->addAction(actUncheckAll);
    check->addAction(actInvertChecks);
    QMenu* sort = menuBar->addMenu(QStringLiteral("ソート(&S)"));
    sort->addAction(actSortByName);
    sort->addAction(actSortByURL);
    sort->addAction(actSortByImportOrder);

    m_List = new TLinkView(this);
    m_List->setObjectName(QStringLiteral("LV"));
    m_List->setModel(m_Model);
    SetUpResultList(m_List, m_Settings);
    m_List->setSelectionMode(QAbstractItemView::SingleSelection);
    // The title is edited with F2 only, in the name column whichever column was clicked.
    m_List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_List->installEventFilter(this);
    m_List->setColumnWidth(TLinkListModel::ColName, 200);
    m_List->setColumnWidth(TLinkListModel::ColURL, 200);
    connect(m_List->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        static constexpr TLinkSort kOrders[] = {TLinkSort::ByName, TLinkSort::ByURL, TLinkSort::ByImportOrder};
        if (section >= 0 && section < TLinkListModel::ColumnCount) {
            Sort(kOrders[section]);
        }
    });

    QPushButton* btnOpenFile = NewButton(this, "btnOpenFile", QStringLiteral("ファイルから(&O)..."));
    QPushButton* btnOpenURL = NewButton(this, "btnOpenURL", QStringLiteral("&URLから..."));
    btnOpenURL->setEnabled(false);
    QPushButton* btnImport = NewButton(this, "btnImport", QStringLiteral("インポート実行(&E)"));
    btnImport->setDefault(true);
    QPushButton* btnClose = NewButton(this, "btnClose", QStringLiteral("閉じる(&C)"));
    connect(btnOpenFile, &QPushButton::clicked, this, &TImpHtmlDlg::OpenFromDialog);
    connect(btnImport, &QPushButton::clicked, this, &TImpHtmlDlg::Import);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOpenFile);
    buttons->addWidget(btnOpenURL);
    buttons->addStretch(1);
    buttons->addWidget(btnImport);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_List, 1);
    layout->addLayout(buttons);
}

void TImpHtmlDlg::OpenFromDialog() {
    const QStringList files =
        TFileDialogs::OpenFiles(this, QStringLiteral("ファイルの選択"), QString(),
                                QStringLiteral("HTMLファイル (*.htm *.html);;すべてのファイル (*)"));
    if (!files.isEmpty()) {
        OpenFiles(files);
    }
}

void TImpHtmlDlg::OpenFiles(const QStringList& files) {
    const QString caption = windowTitle();
    std::vector<THtmlLink> links;
    {
        TWaitCursor wait;
        m_Model->SetLinks({});
        QElapsedTimer sinceShown;
        sinceShown.start();
        try {
            for (const QString& file : files) {
                const QString name = QFileInfo(file).fileName();
                QString shown;
                auto progress = [&](int line, int lineCount) {
                    if (sinceShown.elapsed() < kProgressIntervalMs) {
                        return;
                    }
                    sinceShown.restart();
                    // A file without line breaks is one line: it is at its end all the while.
                    const double percent = lineCount > 0 ? std::min(100.0, line * 100.0 / lineCount) : 100.0;
                    const QString text =
                        QStringLiteral("ファイル解析中... %1  (%2%)").arg(name).arg(percent, 0, 'f', 1);
                    if (text != shown) {
                        shown = text;
                        setWindowTitle(text);
                        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                    }
                };
                ReadHtmlLinks(QFile::encodeName(file).toStdString(), links, progress);
            }
        } catch (const std::exception& e) {
            setWindowTitle(caption);
            m_Model->SetLinks(std::move(links));
            m_Prompts.Error(e.what());
            return;
        }
        setWindowTitle(caption);
        m_Model->SetLinks(std::move(links));
    }
    if (m_Model->rowCount() > 0) {
        m_List->setFocus();
        m_List->setCurrentIndex(m_Model->index(0, TLinkListModel::ColName));
    }
}

void TImpHtmlDlg::Import() {
    if (static_cast<TLinkView*>(m_List)->IsEditing()) {
        return;
    }
    const int count = m_Importer ? m_Importer(m_Model->Links()) : 0;
    m_Prompts.Information(LinksImportedMessage(count));
}

void TImpHtmlDlg::Sort(TLinkSort order) {
    m_Model->Sort(order);
    if (m_List->currentIndex().isValid()) {
        m_List->scrollTo(m_List->currentIndex());
    }
}

void TImpHtmlDlg::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void TImpHtmlDlg::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files << url.toLocalFile();
        }
    }
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Read after the drop has ended, so that the file manager is not held while a big page is read.
    QMetaObject::invokeMethod(
        this, [this, files] { OpenFiles(files); }, Qt::QueuedConnection);
}

bool TImpHtmlDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_List && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
            const QModelIndex current = m_List->currentIndex();
            if (current.isValid() && m_List->selectionModel()->isRowSelected(current.row(), {})) {
                m_List->edit(m_Model->index(current.row(), TLinkListModel::ColName));
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace hv
