#pragma once

#include <QObject>
#include <QPointer>

class QAbstractItemView;
class QLabel;
class QTreeView;

namespace hv {

class TFolderTreeModel;
class TItemListModel;
class THVListHintWindow;
class THVTreeHintWindow;
class TSettings;

// Decides, for every hint the application is about to show, which window shows what: the
// folder hint over a folder's label or icon, the item hint over a row of the item list, the
// info panel's URL only when it is cut off, a row of a recent-files list box only when cut off.
// Every other hint is Qt's own, kept up for the hint hide pause.
class THintDispatcher : public QObject {
    Q_OBJECT

public:
    struct TTargets {
        QTreeView* Tree = nullptr;
        TFolderTreeModel* FolderModel = nullptr;
        QAbstractItemView* Report = nullptr;
        QAbstractItemView* Names = nullptr;
        TItemListModel* ItemModel = nullptr;
        QLabel* URLLabel = nullptr;
    };
    THintDispatcher(const TTargets& targets, QObject* parent);
    ~THintDispatcher() override;

    // ShowTreeHint, HintHidePause and the access-time settings.
    void ApplySettings(TSettings& settings);
    int HidePause() const { return m_HidePause; }
    THVTreeHintWindow* TreeHint() const { return m_TreeHint; }
    THVListHintWindow* ListHint() const { return m_ListHint; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool TreeHintAt(const QPoint& pos);
    bool ListHintAt(QAbstractItemView* view, const QPoint& pos);
    bool URLHint();
    bool RecentFileHint(QAbstractItemView* view, const QPoint& pos);
    void HideRichHints();
    int MaxHintWidth(const QPoint& globalPos) const;

    TTargets m_Targets;
    THVTreeHintWindow* m_TreeHint;
    THVListHintWindow* m_ListHint;
    bool m_ShowTreeHint = true;
    int m_HidePause = 5000;
};

} // namespace hv
