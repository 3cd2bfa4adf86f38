#pragma once

#include "model/DateTime.h"

#include <QFontMetrics>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStyledItemDelegate>

#include <array>

class QAbstractItemView;
class QListView;
class QTreeView;

namespace hv {

class TItemListModel;
struct TAccessTimeOptions;

// Bits of ListHotTrackStyle.
inline constexpr int kHotTrackHandCursor = 1;
inline constexpr int kHotTrackUnderlineCold = 2;
inline constexpr int kHotTrackUnderlineHot = 4;

// The report columns' widths of ColumnWidths ("100,116,116"); a missing or unreadable entry
// keeps the default width of its column.
std::array<int, 3> ParseColumnWidths(const QString& text);

// The width of the widest access-time text in the given options (the dates column's content).
int WidestAccessTimeWidth(const QFontMetrics& metrics, const TAccessTimeOptions& options, TDateTime now);

// Draws the rows with the hot-track underline: the row under the mouse (underline hot) or every
// other row (underline cold), while hot tracking is on.
class THotTrackDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetHotTrack(bool on, int style) {
        m_On = on;
        m_Style = style;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    bool m_On = false;
    int m_Style = 0;
};

// The two faces of the item list over one model and one selection model: the report view
// (columns with a header) and the list view of names, which flows in columns like a list of
// icons with names. Also the mouse: hot tracking, double clicks and the single-click open, and
// the sizing that follows a fill.
class TItemListViews : public QObject {
    Q_OBJECT

public:
    // names may be nullptr: the list then has the report face only.
    TItemListViews(QTreeView* report, QListView* names, TItemListModel* model, QObject* parent);

    QTreeView* Report() const { return m_Report; }
    QListView* Names() const { return m_Names; }
    // The face shown now.
    QAbstractItemView* Current() const;
    bool IsView(const QObject* object) const;
    bool ReportView() const { return m_ReportView; }
    // Shows the report or the names; the selection, the current row and the focus carry over.
    void SetReportView(bool on);

    void SetHotTrack(bool on, int style);
    // Takes effect only while hot tracking is on.
    void SetSingleClickOpen(bool on) { m_SingleClickOpen = on; }
    bool SingleClickOpenActive() const { return m_SingleClickOpen && m_HotTrack; }

    void SetColumnWidths(const std::array<int, 3>& widths);
    QString ColumnWidthsText() const;
    // After a fill: the names' column as wide as the widest name (at least 100 pixels) plus
    // room for the icon; in the report, every column fitted to its contents and header when
    // autoResize is on.
    void FitColumns(bool autoResize);

signals:
    // A double click, or a single click that opens (modifiers as they were).
    void itemActivated(Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUp(QAbstractItemView* view);
    void UpdateCursor(QAbstractItemView* view, const QPoint& pos);
    void FitNames();

    QTreeView* m_Report;
    QListView* m_Names;
    TItemListModel* m_Model;
    THotTrackDelegate* m_Delegate;
    bool m_ReportView = true;
    bool m_HotTrack = false;
    int m_HotTrackStyle = 0;
    bool m_SingleClickOpen = false;
    // The left button went down here; a drag from it selects by marquee and does not open.
    QPoint m_PressPos;
    bool m_Pressed = false;
    bool m_Marquee = false;
    // The release that ends a double click opens nothing more.
    bool m_DoubleClicked = false;
    // The names' column width was reckoned for the rows now shown.
    bool m_NamesFitted = false;
};

} // namespace hv
