#include "search/SearchSupport.h"

#include "mainwindow/ItemListViews.h"
#include "settings/Settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeView>

namespace hv {

namespace {

constexpr int kColumnWidth = 120;

// The hand cursor over the rows of a result list, while its hot-track style asks for it.
class THotTrackCursor final : public QObject {
public:
    explicit THotTrackCursor(QTreeView* list) : QObject(list), m_List(list) {
        setObjectName(QStringLiteral("HotTrackCursor"));
        list->viewport()->installEventFilter(this);
    }
    bool HandCursor = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_List->viewport()) {
            if (event->type() == QEvent::MouseMove) {
                const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
                if (HandCursor && m_List->indexAt(pos).isValid()) {
                    m_List->viewport()->setCursor(Qt::PointingHandCursor);
                } else {
                    m_List->viewport()->unsetCursor();
                }
            } else if (event->type() == QEvent::Leave) {
                m_List->viewport()->unsetCursor();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTreeView* m_List;
};

} // namespace

void SetUpResultList(QTreeView* list, TSettings* settings) {
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsClickable(true);
    list->header()->setSectionsMovable(false);
    ApplyResultHotTrack(list, settings);
    const bool fit =
        settings != nullptr ? settings->Get(opt::Window::AutoResizeColumns) : opt::Window::AutoResizeColumns.Default;
    // Fitted columns are never narrower than the usual width, and the last one takes the rest of
    // the list's width, so that a long address stays readable.
    for (int column = 0; column < list->header()->count(); ++column) {
        list->setColumnWidth(column,
                             fit ? std::max(list->header()->sectionSizeHint(column), kColumnWidth) : kColumnWidth);
    }
    list->header()->setStretchLastSection(fit);
}

void ApplyResultHotTrack(QTreeView* list, TSettings* settings) {
    const bool hotTrack =
        settings != nullptr ? settings->Get(opt::Window::ListHotTrack) : opt::Window::ListHotTrack.Default;
    const int style =
        settings != nullptr ? settings->Get(opt::Window::ListHotTrackStyle) : opt::Window::ListHotTrackStyle.Default;
    list->setMouseTracking(hotTrack);
    list->viewport()->setAttribute(Qt::WA_Hover, hotTrack);
    auto* delegate = qobject_cast<THotTrackDelegate*>(list->itemDelegate());
    if (delegate == nullptr) {
        delegate = new THotTrackDelegate(list);
        list->setItemDelegate(delegate);
    }
    delegate->SetHotTrack(hotTrack, style);
    auto* cursor = dynamic_cast<THotTrackCursor*>(
        list->findChild<QObject*>(QStringLiteral("HotTrackCursor"), Qt::FindDirectChildrenOnly));
    if (cursor == nullptr) {
        cursor = new THotTrackCursor(list);
    }
    cursor->HandCursor = hotTrack && (style & kHotTrackHandCursor) != 0;
    list->viewport()->unsetCursor();
    list->viewport()->update();
}

bool SingleClickOpens(TSettings* settings) {
    if (settings == nullptr) {
        return opt::Main::SingleClickOpen.Default && opt::Window::ListHotTrack.Default;
    }
    return settings->Get(opt::Main::SingleClickOpen) && settings->Get(opt::Window::ListHotTrack);
}

void RestorePlacement(QWidget* window, TSettings* settings, std::string_view valueName, TRestorePosOptions options) {
    if (settings == nullptr) {
        return;
    }
    const auto text = ReadRestorePos(settings->Registry(), RestorePosKeyName, valueName);
    if (!text) {
        return;
    }
    const TWindowPlacement placement =
        ApplyRestorePos(*text, options, {window->x(), window->y(), window->width(), window->height(), false});
    // A place on a screen that is gone would leave the window out of reach.
    const QRect rect(placement.Left, placement.Top, std::max(placement.Width, 1), std::max(placement.Height, 1));
    if (QGuiApplication::screenAt(rect.center()) != nullptr) {
        window->move(placement.Left, placement.Top);
    }
    if ((options & rpRestoreSize) != 0 && placement.Width > 0 && placement.Height > 0) {
        window->resize(placement.Width, placement.Height);
    }
}

void StorePlacement(const QWidget* window, TSettings* settings, std::string_view valueName,
                    TRestorePosOptions options) {
    if (settings == nullptr) {
        return;
    }
    WriteRestorePos(settings->Registry(), RestorePosKeyName, valueName,
                    {window->x(), window->y(), window->width(), window->height(), false}, options);
}

} // namespace hv
