#include "search/SearchSupport.h"

#include "settings/Settings.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace hv {

namespace {

constexpr int kColumnWidth = 120;

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
    const bool hotTrack =
        settings != nullptr ? settings->Get(opt::Window::ListHotTrack) : opt::Window::ListHotTrack.Default;
    list->setMouseTracking(hotTrack);
    list->viewport()->setAttribute(Qt::WA_Hover, hotTrack);
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
