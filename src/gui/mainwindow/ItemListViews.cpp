#include "mainwindow/ItemListViews.h"

#include "mainwindow/ItemListModel.h"
#include "platform/Clock.h"
#include "properties/AccessTimeText.h"

#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace hv {

namespace {

constexpr std::array<int, 3> kDefaultColumnWidths{100, 116, 116};
constexpr int kSmallIcon = 16;
// The names' column: at least this wide, and this much more than the widest name.
constexpr int kMinNameColumn = 100;
constexpr int kNameColumnExtra = 20;

// Access times whose texts are the widest: a late date and hour, and long elapsed-day counts.
std::vector<TDateTime> WideAccessTimes(TDateTime now) {
    return {EncodeDateTime(2000, 12, 28, 22, 28), now - 1, now - 9999, EncodeDateTime(1999, 12, 28, 20, 28)};
}

} // namespace

int WidestAccessTimeWidth(const QFontMetrics& metrics, const TAccessTimeOptions& options, TDateTime now) {
    int widest = 0;
    for (const TDateTime when : WideAccessTimes(now)) {
        widest =
            std::max(widest, metrics.horizontalAdvance(QString::fromStdString(AccessTimeText(when, now, options))));
    }
    return widest;
}

std::array<int, 3> ParseColumnWidths(const QString& text) {
    std::array<int, 3> widths = kDefaultColumnWidths;
    const QStringList parts = text.split(QLatin1Char(','));
    for (std::size_t i = 0; i < widths.size() && static_cast<qsizetype>(i) < parts.size(); ++i) {
        bool ok = false;
        const int width = parts.at(static_cast<qsizetype>(i)).trimmed().toInt(&ok);
        if (ok && width >= 0) {
            widths[i] = width;
        }
    }
    return widths;
}

void THotTrackDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!m_On) {
        return;
    }
    const bool hot = option->state.testFlag(QStyle::State_MouseOver);
    if ((hot && (m_Style & kHotTrackUnderlineHot) != 0) || (!hot && (m_Style & kHotTrackUnderlineCold) != 0)) {
        option->font.setUnderline(true);
    }
}

TItemListViews::TItemListViews(QTreeView* report, QListView* names, TItemListModel* model, QObject* parent)
    : QObject(parent), m_Report(report), m_Names(names), m_Model(model), m_Delegate(new THotTrackDelegate(this)) {
    m_Report->setModel(m_Model);
    m_Report->setRootIsDecorated(false);
    m_Report->setUniformRowHeights(true);
    m_Report->setAllColumnsShowFocus(true);
    // Header clicks sort through the controller, which sets the indicator. The view's own sorting
    // stays off; never call setSortingEnabled(false): it makes the header unclickable again.
    m_Report->header()->setSectionsClickable(true);
    m_Report->header()->setSortIndicatorShown(true);
    m_Report->header()->setStretchLastSection(false);
    SetUp(m_Report);
    if (m_Names != nullptr) {
        m_Names->setModel(m_Model);
        // One selection model serves both faces.
        QItemSelectionModel* own = m_Names->selectionModel();
        m_Names->setSelectionModel(m_Report->selectionModel());
        delete own;
        m_Names->setViewMode(QListView::ListMode);
        m_Names->setFlow(QListView::TopToBottom);
        m_Names->setWrapping(true);
        m_Names->setResizeMode(QListView::Adjust);
        m_Names->setUniformItemSizes(true);
        m_Names->setSelectionRectVisible(true);
        SetUp(m_Names);
        // A fill leaves the names' column to be reckoned when the names are shown.
        connect(m_Model, &QAbstractItemModel::modelReset, this, [this] { m_NamesFitted = false; });
    }
}

void TItemListViews::SetUp(QAbstractItemView* view) {
    view->setItemDelegate(m_Delegate);
    view->setIconSize(QSize(kSmallIcon, kSmallIcon));
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Whole rows, in either face: the names' face then selects what the report shows selected.
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setMouseTracking(true);
    view->viewport()->setAttribute(Qt::WA_Hover, true);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this] {
        // A single click has opened the item already.
        if (!SingleClickOpenActive()) {
            emit itemActivated(QApplication::keyboardModifiers());
        }
    });
}

QAbstractItemView* TItemListViews::Current() const {
    if (m_ReportView || m_Names == nullptr) {
        return m_Report;
    }
    return m_Names;
}

bool TItemListViews::IsView(const QObject* object) const {
    return object != nullptr && (object == m_Report || object == m_Names);
}

void TItemListViews::SetReportView(bool on) {
    if (m_Names == nullptr) {
        return;
    }
    QAbstractItemView* before = Current();
    const bool hadFocus = before->hasFocus();
    m_ReportView = on;
    QAbstractItemView* after = Current();
    if (auto* stack = qobject_cast<QStackedWidget*>(after->parentWidget())) {
        stack->setCurrentWidget(after);
    } else {
        before->hide();
        after->show();
    }
    if (!on && !m_NamesFitted) {
        FitNames();
    }
    if (after->currentIndex().isValid()) {
        after->scrollTo(after->currentIndex());
    }
    if (hadFocus) {
        after->setFocus();
    }
}

void TItemListViews::SetHotTrack(bool on, int style) {
    m_HotTrack = on;
    m_HotTrackStyle = style;
    m_Delegate->SetHotTrack(on, style);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_Report), static_cast<QAbstractItemView*>(m_Names)}) {
        if (view != nullptr) {
            view->viewport()->unsetCursor();
            view->viewport()->update();
        }
    }
}

void TItemListViews::SetColumnWidths(const std::array<int, 3>& widths) {
    for (int column = 0; column < TItemListModel::ColumnCount; ++column) {
        m_Report->setColumnWidth(column, widths.at(static_cast<std::size_t>(column)));
    }
}

QString TItemListViews::ColumnWidthsText() const {
    QStringList widths;
    for (int column = 0; column < TItemListModel::ColumnCount; ++column) {
        widths << QString::number(m_Report->columnWidth(column));
    }
    return widths.join(QLatin1Char(','));
}

void TItemListViews::FitColumns(bool autoResize) {
    if (autoResize) {
        for (int column = 0; column < TItemListModel::ColumnCount; ++column) {
            m_Report->resizeColumnToContents(column);
        }
        // Only the rows in sight are measured; the dates column is kept wide enough for any
        // date, so that it does not cut the dates scrolled into sight after a re-sort.
        const int margins = 2 * (m_Report->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_Report) + 1);
        const int dates =
            WidestAccessTimeWidth(m_Report->fontMetrics(), m_Model->TimeOptions(), Clock().Now()) + margins;
        if (m_Report->columnWidth(TItemListModel::ColLastVisited) < dates) {
            m_Report->setColumnWidth(TItemListModel::ColLastVisited, dates);
        }
    }
    m_NamesFitted = false;
    if (!m_ReportView) {
        FitNames();
    }
}

void TItemListViews::FitNames() {
    if (m_Names == nullptr) {
        return;
    }
    const QFontMetrics metrics = m_Names->fontMetrics();
    const int rows = m_Model->rowCount();
    // Shaping every name of a large folder takes long: the names are first measured by the sum
    // of their characters' advances, and only the widest few are then measured exactly.
    std::vector<qint16> advances(0x10000, -1);
    std::vector<std::pair<int, int>> estimates; // width, row
    estimates.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const QString name = m_Model->NameAt(row);
        int width = 0;
        for (qsizetype i = 0; i < name.size(); ++i) {
            const QChar c = name.at(i);
            if (c.isHighSurrogate() && i + 1 < name.size()) {
                width += metrics.horizontalAdvance(name.mid(i, 2));
                ++i;
                continue;
            }
            qint16& advance = advances[c.unicode()];
            if (advance < 0) {
                advance = static_cast<qint16>(std::clamp(metrics.horizontalAdvance(c), 0, 0x7FFF));
            }
            width += advance;
        }
        estimates.emplace_back(width, row);
    }
    constexpr std::size_t kMeasured = 64;
    const auto top = estimates.begin() + static_cast<std::ptrdiff_t>(std::min(kMeasured, estimates.size()));
    std::nth_element(estimates.begin(), top, estimates.end(), std::greater<>());
    int widest = 0;
    for (auto it = estimates.begin(); it != top; ++it) {
        widest = std::max(widest, metrics.horizontalAdvance(m_Model->NameAt(it->second)));
    }
    // The icon sits left of the name.
    const int width = std::max(widest, kMinNameColumn) + kNameColumnExtra + m_Names->iconSize().width();
    const int height =
        rows > 0 ? m_Names->sizeHintForRow(0) : std::max(metrics.height(), m_Names->iconSize().height()) + 4;
    m_Names->setGridSize(QSize(width, std::max(height, 1)));
    m_NamesFitted = true;
}

void TItemListViews::UpdateCursor(QAbstractItemView* view, const QPoint& pos) {
    if (m_HotTrack && (m_HotTrackStyle & kHotTrackHandCursor) != 0 && view->indexAt(pos).isValid()) {
        view->viewport()->setCursor(Qt::PointingHandCursor);
    } else {
        view->viewport()->unsetCursor();
    }
}

bool TItemListViews::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* view = nullptr;
    if (watched == m_Report->viewport()) {
        view = m_Report;
    } else if (m_Names != nullptr && watched == m_Names->viewport()) {
        view = m_Names;
    }
    if (view == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_PressPos = mouse->position().toPoint();
            m_Pressed = true;
            m_Marquee = false;
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        m_DoubleClicked = true;
        break;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        if (m_Pressed && mouse->buttons().testFlag(Qt::LeftButton) &&
            (pos - m_PressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_Marquee = true;
        }
        UpdateCursor(view, pos);
        break;
    }
    case QEvent::Leave:
        view->viewport()->unsetCursor();
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            break;
        }
        const bool counts = m_Pressed && !m_Marquee && !m_DoubleClicked && mouse->buttons() == Qt::NoButton;
        m_Pressed = false;
        m_Marquee = false;
        m_DoubleClicked = false;
        const Qt::KeyboardModifiers mods = mouse->modifiers();
        if (counts && SingleClickOpenActive() && (mods == Qt::NoModifier || mods == Qt::AltModifier)) {
            // After the view has taken the release, so the clicked row is the current one.
            QMetaObject::invokeMethod(
                this, [this, mods] { emit itemActivated(mods); }, Qt::QueuedConnection);
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hv
