#include "mainwindow/ToolBars.h"

#include "settings/Settings.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace hv {

namespace {

struct TActionLook {
    const char* Name;
    const char* Icon; // a freedesktop icon name; the fallbacks carry the same names
    const char* Hint; // "short|long"
};

// Every action of the window with its icon and hint.
constexpr TActionLook kActionLooks[] = {
    {"actNew", "document-new", "新規|新しいファイルを作成します"},
    {"actOpen", "document-open", "開く|既存のファイルを開きます"},
    {"actSave", "document-save", "上書き保存|ファイルを上書き保存します"},
    {"mniSaveAs", "document-save-as", "名前を付けて保存|ファイルに名前を付けて保存します"},
    {"actMerge", nullptr, "マージ|他のファイルの内容を現在のファイルに追加します"},
    {"actFileProp", "document-properties", "ファイルのプロパティ|ファイルのパスワードなどを設定します"},
    {"actExit", "application-exit", "終了|Hollyvine を終了します"},
    {"actBackFolder", "go-previous", "戻る|前に開いていたフォルダに戻ります"},
    {"actNextFolder", "go-next", "進む|次のフォルダに進みます"},
    {"actAddFolder", "folder-new", "フォルダの追加|選択されているフォルダの中に新しいフォルダを作成します"},
    {"actRenameFolder", "edit-rename", "名前の変更|フォルダの名前を変更します"},
    {"actMoveFolderForward", "go-up", "１つ前へ|フォルダを１つ前へ移動します"},
    {"actMoveFolderBack", "go-down", "１つ後ろへ|フォルダを１つ後ろへ移動します"},
    {"actDeleteFolder", "edit-delete", "フォルダの削除|選択されているフォルダを中身ごと削除します"},
    {"actExpandSubFolder", nullptr, "サブフォルダを展開|選択されているフォルダのサブフォルダを全て展開します"},
    {"actExpandAllFolder", nullptr, "全て展開|全てのフォルダを展開します"},
    {"actOpenItem", "internet-web-browser", "開く|選択されているアイテムを開きます"},
    {"actItemProp", "document-properties", "プロパティ|アイテムの名前・URL・メモなどを編集します"},
    {"actAddItem", "list-add", "アイテムの追加|表示しているフォルダに新しいアイテムを追加します"},
    {"actMoveItem", "go-jump", "移動|選択されているアイテムを他のフォルダに移動します"},
    {"actCopyItem", "edit-copy", "コピー|選択されているアイテムを他のフォルダにコピーします"},
    {"actDeleteItem", "list-remove", "アイテムの削除|選択されているアイテムを削除します"},
    {"actCopyToCB", "edit-copy", "クリップボードにコピー|選択されているアイテムをクリップボードにコピーします"},
    {"actCutToCB", "edit-cut", "カット|選択されているアイテムをクリップボードに移します"},
    {"actPasteFromCB", "edit-paste", "ペースト|クリップボードのアイテムを表示しているフォルダに貼り付けます"},
    {"actViewReport", "view-list-details", "詳細表示|アイテムのURLとアクセス日時も表示します"},
    {"actNameOrder", nullptr, "名前順|アイテムを名前順に並べます"},
    {"actURLOrder", nullptr, "URL順|アイテムをURL順に並べます"},
    {"actDateOrder", nullptr, "アクセス日時順|アイテムをアクセス日時順に並べます"},
    {"actAscending", nullptr, "昇順|アイテムを昇順に並べます"},
    {"actDescending", nullptr, "降順|アイテムを降順に並べます"},
    {"actVertical", "view-split-top-bottom", "縦型|フォルダツリーをアイテムリストの上に置きます"},
    {"actCompact", "view-compact", "コンパクト表示|メモとステータスバーを隠してウィンドウを小さくします"},
    {"actFind", "edit-find", "検索|アイテムを検索します"},
    {"actFindDup", "edit-find-duplicate", "重複URLを検索|同じURLを指しているアイテム・コマンドを検索します"},
    {"actExportHtml", "text-html", "HTML出力|フォルダの内容をHTMLファイルに書き出します"},
    {"actShowFileBar", nullptr, "ファイル ツールバー|ファイル ツールバーの表示・非表示を切り替えます"},
    {"actShowFolderBar", nullptr, "フォルダ ツールバー|フォルダ ツールバーの表示・非表示を切り替えます"},
    {"actShowItemBar", nullptr, "アイテム ツールバー|アイテム ツールバーの表示・非表示を切り替えます"},
    {"actShowViewBar", nullptr, "表示 ツールバー|表示 ツールバーの表示・非表示を切り替えます"},
    {"actShowFindBar", nullptr, "検索 ツールバー|検索 ツールバーの表示・非表示を切り替えます"},
};

struct TBarInfo {
    const char* Name;
    const char* Title;
    const char* ShowName;
    const char* ShowText;
    const TOptionKey<THashKeyKind::String>* Place;
};

const TBarInfo kBarInfos[TToolBars::kBarCount] = {
    {"tbrFile", "ファイル", "actShowFileBar", "ファイル(&F)", &opt::ToolBar::FileBar},
    {"tbrFolder", "フォルダ", "actShowFolderBar", "フォルダ(&O)", &opt::ToolBar::FolderBar},
    {"tbrItem", "アイテム", "actShowItemBar", "アイテム(&I)", &opt::ToolBar::ItemBar},
    {"tbrView", "表示", "actShowViewBar", "表示(&V)", &opt::ToolBar::ViewBar},
    {"tbrFind", "検索", "actShowFindBar", "検索(&S)", &opt::ToolBar::FindBar},
};

constexpr int kFlatHeight = 22;
constexpr int kRaisedHeight = 26;

} // namespace

void InstallFallbackIcons() {
    const QString path = QStringLiteral(":/actions");
    QStringList paths = QIcon::fallbackSearchPaths();
    if (!paths.contains(path)) {
        paths << path;
        QIcon::setFallbackSearchPaths(paths);
    }
}

void DecorateActions(QObject* window) {
    for (QAction* action : window->findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.isEmpty()) {
            continue;
        }
        const auto look = std::find_if(std::begin(kActionLooks), std::end(kActionLooks),
                                       [&name](const TActionLook& l) { return name == QLatin1String(l.Name); });
        if (look == std::end(kActionLooks)) {
            continue;
        }
        if (look->Icon != nullptr && action->icon().isNull()) {
            // Without an icon theme (offscreen, a bare X server) the fallback search finds
            // nothing either: the drawing is taken straight from the resources.
            const QString icon = QLatin1String(look->Icon);
            action->setIcon(QIcon::fromTheme(icon, QIcon(QStringLiteral(":/actions/%1.png").arg(icon))));
        }
        if (action->statusTip().isEmpty()) {
            const QString hint = QString::fromUtf8(look->Hint);
            const qsizetype bar = hint.indexOf(QLatin1Char('|'));
            action->setToolTip(hint.left(bar));
            action->setStatusTip(hint.mid(bar + 1));
        }
    }
}

TToolBars::TToolBars(QMainWindow& window) : QObject(&window), m_Window(window) {
    m_Menu = new QMenu(QStringLiteral("ツールバー(&T)"), &window);
    m_Menu->setObjectName(QStringLiteral("mniToolBars"));
    for (int i = 0; i < kBarCount; ++i) {
        const TBarInfo& info = kBarInfos[i];
        auto* bar = new QToolBar(QString::fromUtf8(info.Title), &window);
        bar->setObjectName(QLatin1String(info.Name));
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setFloatable(false);
        bar->setMovable(true);
        bar->setIconSize(QSize(16, 16));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        // The area's own menu would hide a bar behind the show action's back.
        bar->toggleViewAction()->setVisible(false);
        window.addToolBar(Qt::TopToolBarArea, bar);
        auto* show = new QAction(QString::fromUtf8(info.ShowText), &window);
        show->setObjectName(QLatin1String(info.ShowName));
        show->setCheckable(true);
        show->setChecked(true);
        show->setData(i + 1);
        const int tag = i + 1;
        connect(show, &QAction::toggled, this, [this, tag](bool on) { Toggle(tag, on); });
        m_Menu->addAction(show);
        m_Bars[static_cast<std::size_t>(i)] = bar;
        m_Shows[static_cast<std::size_t>(i)] = show;
    }
    window.setContextMenuPolicy(Qt::NoContextMenu);
    tbrFile = m_Bars[0];
    tbrFolder = m_Bars[1];
    tbrItem = m_Bars[2];
    tbrView = m_Bars[3];
    tbrFind = m_Bars[4];
    actShowFileBar = m_Shows[0];
    actShowFolderBar = m_Shows[1];
    actShowItemBar = m_Shows[2];
    actShowViewBar = m_Shows[3];
    actShowFindBar = m_Shows[4];
}

QToolBar* TToolBars::Bar(int tag) const {
    return tag >= 1 && tag <= kBarCount ? m_Bars[static_cast<std::size_t>(tag - 1)] : nullptr;
}

QAction* TToolBars::ShowAction(int tag) const {
    return tag >= 1 && tag <= kBarCount ? m_Shows[static_cast<std::size_t>(tag - 1)] : nullptr;
}

void TToolBars::Add(QToolBar* bar, QAction* action, QMenu* dropDown) {
    if (action == nullptr) {
        bar->addSeparator();
        return;
    }
    bar->addAction(action);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
        // The button shows the icon; its text goes into the tool tip.
        if (action->toolTip().isEmpty() || action->toolTip() == action->text()) {
            QString tip = action->text();
            tip.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$|&")));
            action->setToolTip(tip);
        }
        if (dropDown != nullptr) {
            button->setMenu(dropDown);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
}

void TToolBars::Toggle(int tag, bool visible) {
    QToolBar* bar = Bar(tag);
    QAction* show = ShowAction(tag);
    if (show->isChecked() != visible) {
        show->setChecked(visible);
    }
    // A hidden bar keeps the place it had, to come back there.
    auto& place = m_Places[static_cast<std::size_t>(tag - 1)];
    if (!visible && bar->isVisible()) {
        place = {false, bar->x(), bar->y() - AreaTop()};
    }
    place.Visible = visible;
    bar->setVisible(visible);
}

void TToolBars::Restore(TSettings& settings) {
    const bool flat = settings.Get(opt::ToolBar::Flat);
    std::vector<TToolBarPlace> places;
    for (int i = 0; i < kBarCount; ++i) {
        const auto& key = *kBarInfos[i].Place;
        const TToolBarPlace fallback = ParseToolBarPlace(QString::fromStdString(std::string(key.Default)), {});
        places.push_back(ParseToolBarPlace(QString::fromStdString(settings.Get(key)), fallback));
    }
    for (QToolBar* bar : m_Bars) {
        m_Window.removeToolBar(bar);
    }
    bool firstRow = true;
    for (const auto& row : ArrangeToolBars(places, kRaisedHeight)) {
        if (!firstRow) {
            m_Window.addToolBarBreak(Qt::TopToolBarArea);
        }
        firstRow = false;
        for (const int index : row) {
            QToolBar* bar = m_Bars[static_cast<std::size_t>(index)];
            m_Window.addToolBar(Qt::TopToolBarArea, bar);
            bar->setMinimumHeight(flat ? kFlatHeight : kRaisedHeight);
            for (auto* button : bar->findChildren<QToolButton*>()) {
                button->setAutoRaise(flat);
            }
        }
    }
    std::copy(places.begin(), places.end(), m_Places.begin());
    for (int i = 0; i < kBarCount; ++i) {
        const bool visible = places[static_cast<std::size_t>(i)].Visible;
        m_Bars[static_cast<std::size_t>(i)]->setVisible(visible);
        m_Shows[static_cast<std::size_t>(i)]->setChecked(visible);
    }
}

void TToolBars::Store(TSettings& settings) const {
    const int areaTop = AreaTop();
    // Only a shown window has laid its bars out; otherwise the places read at start stay.
    const bool laidOut = m_Window.isVisible();
    for (int i = 0; i < kBarCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const QToolBar* bar = m_Bars[index];
        const bool visible = m_Shows[index]->isChecked();
        TToolBarPlace place = m_Places[index];
        if (laidOut && visible) {
            place = {true, bar->x(), bar->y() - areaTop};
        }
        place.Visible = visible;
        settings.Set(*kBarInfos[i].Place, FormatToolBarPlace(place).toStdString());
    }
}

int TToolBars::AreaTop() const {
    // The tool-bar area begins right under the menu bar.
    const QWidget* menu = m_Window.menuWidget();
    return menu != nullptr && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0;
}

int TToolBars::AreaHeight() const {
    int top = -1;
    int bottom = -1;
    for (const QToolBar* bar : m_Bars) {
        if (!bar->isHidden()) {
            top = top < 0 ? bar->y() : std::min(top, bar->y());
            bottom = std::max(bottom, bar->geometry().bottom());
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

} // namespace hv
