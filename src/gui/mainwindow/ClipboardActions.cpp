#include "mainwindow/ClipboardActions.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVDataObject.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/X11Selection.h"
#include "model/HVFolder.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTreeView>

#include <algorithm>

namespace hv {

namespace {

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The data of a format, or nothing when it is not offered.
std::optional<QByteArray> FormatData(const QMimeData& mime, std::string_view format) {
    const QString type = Latin(format);
    if (!mime.hasFormat(type)) {
        return std::nullopt;
    }
    QByteArray bytes = mime.data(type);
    return bytes.isEmpty() ? std::nullopt : std::optional<QByteArray>(std::move(bytes));
}

// Mozilla's link with its title, straight from the X selection where Qt shows it only as a
// uri-list.
std::optional<TDroppedLink> X11MozUrl(const QMimeData& mime, TPasteSource source) {
    if (source == TPasteSource::Other || qobject_cast<const THVDataObject*>(&mime) != nullptr ||
        !mime.hasFormat(Latin(kUriListFormat)) || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return std::nullopt;
    }
    if (source == TPasteSource::Clipboard && QGuiApplication::clipboard()->ownsClipboard()) {
        return std::nullopt;
    }
    // Files from a file manager stay files.
    const QList<QUrl> urls = mime.urls();
    if (std::none_of(urls.begin(), urls.end(), [](const QUrl& url) { return !url.isLocalFile(); })) {
        return std::nullopt;
    }
    const char* selection = source == TPasteSource::Clipboard ? "CLIPBOARD" : "XdndSelection";
    if (std::optional<QByteArray> bytes = ReadX11Selection(selection, "text/x-moz-url")) {
        TDroppedLink link = ParseMozUrl(View(*bytes));
        if (!link.URL.empty()) {
            return link;
        }
    }
    return std::nullopt;
}

} // namespace

TPasteData ReadPasteData(const QMimeData& mime, TPasteSource source) {
    TPasteData data;
    if (auto own = FormatData(mime, kOwnFormat)) {
        data.Own = DecodeOwnData(View(*own));
        if (!data.Own.empty()) {
            return data;
        }
    }
    if (auto moz = FormatData(mime, kMozUrlFormat)) {
        if (TDroppedLink link = ParseMozUrl(View(*moz)); !link.URL.empty()) {
            data.Links.push_back(std::move(link));
            return data;
        }
    }
    if (auto link = X11MozUrl(mime, source)) {
        data.Links.push_back(std::move(*link));
        return data;
    }
    if (auto netscape = FormatData(mime, kNetscapeUrlFormat)) {
        if (TDroppedLink link = ParseNetscapeUrl(View(*netscape)); !link.URL.empty()) {
            data.Links.push_back(std::move(link));
            return data;
        }
    }
    if (auto uris = FormatData(mime, kUriListFormat)) {
        TUriList list = ParseUriList(View(*uris));
        for (std::string& url : list.Links) {
            data.Links.push_back({std::move(url), {}});
        }
        if (data.Links.empty()) {
            data.Files = std::move(list.Files);
        }
    }
    return data;
}

TDropFormat PreferredDropFormat(const QMimeData& mime) {
    if (mime.hasFormat(OwnMimeType())) {
        return TDropFormat::Own;
    }
    if (mime.hasFormat(Latin(kMozUrlFormat)) || mime.hasFormat(Latin(kNetscapeUrlFormat))) {
        return TDropFormat::Link;
    }
    if (mime.hasFormat(Latin(kUriListFormat))) {
        for (const QUrl& url : mime.urls()) {
            if (!url.isLocalFile()) {
                return TDropFormat::Link;
            }
        }
        return TDropFormat::Files;
    }
    return TDropFormat::None;
}

TClipboardActions::TClipboardActions(THVWindow& window, TSettings* settings)
    : QObject(&window), m_Window(window), m_Settings(settings) {
    auto make = [&window](const char* text, const char* name, QKeyCombination key) {
        auto* action = new QAction(QString::fromUtf8(text), &window);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(QKeySequence(key));
        // The keys work in the list and the tree only (the memo box keeps its own).
        action->setShortcutContext(Qt::WidgetShortcut);
        return action;
    };
    actCopyToCB = make("クリップボードにコピー(&Y)", "actCopyToCB", Qt::CTRL | Qt::Key_C);
    actCutToCB = make("カット(&U)", "actCutToCB", Qt::CTRL | Qt::Key_X);
    actPasteFromCB = make("ペースト(&P)", "actPasteFromCB", Qt::CTRL | Qt::Key_V);
    mniPasteFromCB3 = new QAction(QStringLiteral("ペースト(&P)"), &window);
    mniPasteFromCB3->setObjectName(QStringLiteral("mniPasteFromCB3"));
    connect(actCopyToCB, &QAction::triggered, this, &TClipboardActions::CopyToClipboard);
    connect(actCutToCB, &QAction::triggered, this, &TClipboardActions::CutToClipboard);
    connect(actPasteFromCB, &QAction::triggered, this, [this] { PasteFromClipboard(); });
    connect(mniPasteFromCB3, &QAction::triggered, this, [this] {
        THVFolder* target = m_Window.FolderTree().PopupTarget();
        PasteFromClipboard(target != nullptr ? target : m_Window.FolderTree().SelectedFolder());
    });

    TItemListController& list = m_Window.ItemList();
    FillItemMenu(list.Popup());
    m_Window.FolderTree().TreeViewPopup->addSeparator();
    m_Window.FolderTree().TreeViewPopup->addAction(mniPasteFromCB3);

    connect(m_Window.ListView()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TClipboardActions::UpdateActions);
    m_Window.TreeView()->installEventFilter(this);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_Window.ListView()),
                                    static_cast<QAbstractItemView*>(list.Views().Names())}) {
        if (view != nullptr) {
            view->installEventFilter(this);
        }
    }
    UpdateActions();
}

void TClipboardActions::FillItemMenu(QMenu* menu) {
    menu->addSeparator();
    menu->addAction(actCopyToCB);
    menu->addAction(actCutToCB);
    menu->addAction(actPasteFromCB);
    connect(menu, &QMenu::aboutToShow, this, &TClipboardActions::UpdateActions);
}

void TClipboardActions::UpdateActions() {
    const bool selected = m_Window.ListView()->selectionModel()->hasSelection();
    actCopyToCB->setEnabled(selected);
    actCutToCB->setEnabled(selected);
}

void TClipboardActions::CopyToClipboard() {
    const std::vector<THVItem*> items = m_Window.ItemList().SelectedItems();
    if (items.empty()) {
        return;
    }
    m_Window.ItemList().StoreMemo();
    const std::vector<const THVItem*> copied(items.begin(), items.end());
    QGuiApplication::clipboard()->setMimeData(new THVDataObject(copied), m_Mode);
}

void TClipboardActions::CutToClipboard() {
    const std::vector<THVItem*> items = m_Window.ItemList().SelectedItems();
    if (items.empty()) {
        return;
    }
    CopyToClipboard();
    m_Window.ItemList().DeleteItemsWithoutAsking(items);
}

bool TClipboardActions::PasteFromClipboard(THVFolder* folder) {
    return Paste(QGuiApplication::clipboard()->mimeData(m_Mode), folder, TPasteSource::Clipboard);
}

bool TClipboardActions::Paste(const QMimeData* mime, THVFolder* folder, TPasteSource source) {
    if (folder == nullptr) {
        folder = m_Window.FolderTree().SelectedFolder();
    }
    if (mime == nullptr || folder == nullptr) {
        return false;
    }
    const TPasteData data = ReadPasteData(*mime, source);
    if (data.Empty()) {
        return false;
    }
    TPasteOptions options;
    options.SortFolders = m_Settings != nullptr && m_Settings->Get(opt::Main::SortFolder);
    TPasteResult result;
    m_Window.ChangeTree([&] { result = PasteInto(data, *folder, options); });
    if (result.Created == 0) {
        return false;
    }
    m_Window.Document().MarkModified();
    m_Window.TreeView()->scrollTo(m_Window.FolderModel()->IndexOf(m_Window.FolderTree().SelectedFolder()));
    return true;
}

bool TClipboardActions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    auto* view = static_cast<QWidget*>(watched);
    // Keys for an open editor are the editor's.
    if (QWidget* focus = view->focusWidget(); focus != nullptr && focus != view && view->isAncestorOf(focus)) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) {
        return QObject::eventFilter(watched, event);
    }
    const bool tree = watched == m_Window.TreeView();
    QAction* action = nullptr;
    switch (key->key()) {
    case Qt::Key_C:
        action = tree ? nullptr : actCopyToCB;
        break;
    case Qt::Key_X:
        action = tree ? nullptr : actCutToCB;
        break;
    case Qt::Key_V:
        action = actPasteFromCB;
        break;
    default:
        break;
    }
    if (action == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    UpdateActions();
    if (action->isEnabled()) {
        action->trigger();
    }
    return true;
}

} // namespace hv
