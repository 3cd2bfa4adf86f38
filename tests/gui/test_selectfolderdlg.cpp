#include "GuiTestSupport.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/HVFolder.h"
#include "settings/Settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using hv::THVFolder;
using hv::TSelectFolderDlg;
using hv::test::TScriptedPrompts;
using TMode = TSelectFolderDlg::TMode;

namespace {

// Hollyvine
//   News       (items "Item A", "Other")
//     Local
//   Tech
//     Linux    (collapsed)
struct TTree {
    TTree() : Root("Hollyvine") {
        News = Root.AddChild("News");
        News->AddChild("Local");
        News->List().Add("Item A");
        News->List().Add("Other");
        Tech = Root.AddChild("Tech");
        Linux = Tech->AddChild("Linux");
        Linux->AddChild("Kernel");
        News->SetExpanded(true);
        Tech->SetExpanded(true);
    }
    // One of the folders a row chooses.
    THVFolder* Named(const QString& name) {
        return name == u"Hollyvine" ? &Root : name == u"News" ? News : name == u"Tech" ? Tech : Linux;
    }
    THVFolder Root;
    THVFolder* News;
    THVFolder* Tech;
    THVFolder* Linux;
};

} // namespace

class TSelectFolderDlgTest : public QObject {
    Q_OBJECT

private slots:
    void modeRules_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("name");
        const QString folderDup =
            QStringLiteral("Hollyvine|フォルダ名 'news' "
                           "は既に使われています。\n\n１つのフォルダに同じ名前のサブフォルダを複数作ることは"
                           "できません。半角アルファベットの大文字・小文字は同一視されます。");
        const QString itemDup = QStringLiteral(
            "Hollyvine|アイテム名 'item a' は既に使われています。\n\n１つのフォルダに同じ名前のアイテムを複数作ることは"
            "できません。半角アルファベットの大文字・小文字は同一視されます。");
        const auto row = [](const char* label, int mode, const char* chosen, const char* typed, bool enabled,
                            bool accepted, const QString& message, const char* name) {
            QTest::newRow(label) << mode << QString::fromUtf8(chosen) << QString::fromUtf8(typed) << enabled << accepted
                                 << message << QString::fromUtf8(name);
        };
        // The main window shows "News" in every row.
        row("add: no name", 0, "Tech", "", false, false, {}, "");
        row("add: new name", 0, "Tech", "Web", true, true, {}, "Web");
        row("add: sibling in other case", 0, "Hollyvine", "news", true, false, folderDup, "news");
        row("add: same name elsewhere", 0, "Tech", "news", true, true, {}, "news");
        row("add: backslash", 0, "Tech", "a\\b", true, true, {}, "a￥b");
        row("move+name: into shown", 1, "News", "x", false, false, {}, "x");
        row("move+name: no name", 1, "Tech", "", false, false, {}, "");
        row("move+name: elsewhere", 1, "Tech", "Item A", true, true, {}, "Item A");
        row("move+name: backslash kept", 1, "Tech", "a\\b", true, true, {}, "a\\b");
        row("move: into shown", 2, "News", "", false, false, {}, "");
        row("move: elsewhere", 2, "Linux", "", true, true, {}, "");
        row("copy+name: item there", 3, "News", "item a", true, false, itemDup, "item a");
        row("copy+name: into shown", 3, "News", "Item B", true, true, {}, "Item B");
        row("copy: into shown", 4, "News", "", true, true, {}, "");
    }

    void modeRules() {
        QFETCH(int, mode);
        QFETCH(QString, chosen);
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        QFETCH(QString, name);
        TTree tree;
        TScriptedPrompts prompts;
        TSelectFolderDlg dialog(prompts);
        dialog.Load(static_cast<TMode>(mode), &tree.Root, tree.News, tree.News);
        dialog.SelectFolder(tree.Named(chosen));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("Edit"));
        QTest::keyClicks(edit, typed);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->isEnabled(), enabled);
        dialog.show();
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(prompts.Seen.value(0), message);
        QCOMPARE(QString::fromStdString(dialog.Name()), name);
        if (accepted) {
            QCOMPARE(dialog.ChosenFolder(), tree.Named(chosen));
        }
    }

    void startsLikeTheMainTree() {
        const struct {
            TMode Mode;
            const char* Caption;
            bool NameShown;
        } modes[] = {{TMode::AddFolder, "フォルダの追加", true},
                     {TMode::MoveRename, "アイテムの移動", true},
                     {TMode::Move, "アイテムの移動", false},
                     {TMode::CopyRename, "アイテムのコピー", true},
                     {TMode::Copy, "アイテムのコピー", false}};
        for (const auto& m : modes) {
            TTree tree;
            tree.Root.SetExpanded(false); // the root shows its folders anyway
            TScriptedPrompts prompts;
            TSelectFolderDlg dialog(prompts);
            dialog.Load(m.Mode, &tree.Root, tree.Linux, tree.News, QStringLiteral("Item A"));
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.windowTitle(), QString::fromUtf8(m.Caption));
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Edit"))->isVisible(), m.NameShown);
            QCOMPARE(dialog.NameText(), m.NameShown ? QStringLiteral("Item A") : QString());
            QCOMPARE(dialog.ChosenFolder(), tree.Linux);
            auto* view = dialog.findChild<QTreeView*>(QStringLiteral("TreeView"));
            auto* model = view->model();
            const QModelIndex root = model->index(0, 0);
            const QModelIndex news = model->index(0, 0, root);
            const QModelIndex tech = model->index(1, 0, root);
            const QModelIndex linux = model->index(0, 0, tech);
            QVERIFY(view->isExpanded(root) && view->isExpanded(news) && view->isExpanded(tech));
            QVERIFY(!view->isExpanded(linux));
            // The root stays open; the copy is read-only.
            view->collapse(root);
            QVERIFY(view->isExpanded(root));
            QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
            // Choosing a folder in the copy leaves the main tree's states alone.
            view->expand(linux);
            QVERIFY(!tree.Linux->Expanded());
        }
    }

    void nameFieldDropsControlCharacters() {
        TTree tree;
        TScriptedPrompts prompts;
        TSelectFolderDlg dialog(prompts);
        dialog.Load(TMode::AddFolder, &tree.Root, tree.Tech, nullptr, QStringLiteral("a\tb"));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("Edit"));
        QCOMPARE(edit->text(), QStringLiteral("ab"));
        // A pasted text made only of control characters leaves the field empty, and OK off.
        edit->clear();
        edit->insert(QStringLiteral("\x01\x02\r\n"));
        QCOMPARE(edit->text(), QString());
        QVERIFY(!dialog.OKEnabled());
        QVERIFY(!dialog.CheckOK());
        QVERIFY(prompts.Seen.isEmpty());
    }

    void cancelChoosesNothingAndPositionIsKept() {
        TTree tree;
        hv::TMemoryRegistryStore store;
        hv::TSettings settings(store);
        TScriptedPrompts prompts;
        TSelectFolderDlg dialog(prompts, &settings);
        dialog.Load(TMode::Copy, &tree.Root, tree.Tech, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.move(40, 30);
        dialog.reject();
        QCOMPARE(dialog.ChosenFolder(), nullptr);
        const auto value = store.ReadValue("Software\\K.Amsel\\Hollyvine\\Window", "SelFolderDlgPos");
        QVERIFY(value.has_value());
        const QPoint place = dialog.geometry().topLeft(); // the client area's, which setGeometry gives back
        QCOMPARE(QString::fromStdString(value->Data), QStringLiteral("%1,%2").arg(place.x()).arg(place.y()));
    }
};

QTEST_MAIN(TSelectFolderDlgTest)
#include "test_selectfolderdlg.moc"
