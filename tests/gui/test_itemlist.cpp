#include "GuiTestSupport.h"
#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "platform/NetworkConnections.h"
#include "platform/ShellLauncher.h"
#include "properties/ItemPropDlg.h"
#include "settings/Settings.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;
using hv::TItemListModel;
using hv::test::TScriptedPrompts;

namespace {

class TFakeShell final : public hv::TShellLauncher {
public:
    int Result = 42;
    QStringList Calls;
    int Execute(const std::string& file, const std::string& parameters) override {
        Calls << QString::fromStdString(file) + QLatin1Char('|') + QString::fromStdString(parameters);
        return Result;
    }
};

class TFakeNetwork final : public hv::TNetworkConnections {
public:
    bool IsConnected() override { return true; }
    int Dial(const std::string&) override { return 0; }
    std::vector<std::string> Entries() override { return {}; }
};

QString S(const char* text) {
    return QString::fromUtf8(text);
}

QStringList L(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << S(text);
    }
    return list;
}

const hv::TDateTime kNow = hv::EncodeDateTime(2024, 3, 5, 12, 0);

// A window over settings kept in memory, a standing clock and a fake launcher, showing the root
// folder filled with: alpha (visited 2 days ago, due daily at 9:00), Beta (never visited),
// gamma (visited an hour ago), delta (never visited), each with a memo.
struct TFixture {
    TFixture() : Clock(kNow), ScopedClock(Clock), Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        List().SetLaunchers(&Shell, &Network);
        THVFolder& root = Window->Document().Root();
        Add(root, "alpha", "http://a.example/", kNow - 2).SetSchedule("W 1,2,3,4,5,6,7 9:00 1,0");
        Add(root, "Beta", "https://b.example/", 0);
        Add(root, "gamma", "zz://g", kNow - 1.0 / 24);
        Add(root, "delta", "http://a.example/", 0);
        List().ShowFolder(&root);
    }
    THVItem& Add(THVFolder& folder, const char* name, const char* url, hv::TDateTime visited) {
        THVItem* item = folder.List().Add(name);
        item->SetURL(url);
        item->SetLastVisited(visited);
        item->SetMemo(std::string("memo of ") + name);
        return *item;
    }
    hv::TItemListController& List() { return Window->ItemList(); }
    TItemListModel* Model() { return List().Model(); }
    QStringList Column(int column) {
        QStringList texts;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            texts << Model()->index(row, column).data().toString();
        }
        return texts;
    }
    void Focus(const char* name) {
        for (int row = 0; row < Model()->rowCount(); ++row) {
            const QModelIndex index = Model()->index(row, 0);
            if (index.data().toString() == QString::fromUtf8(name)) {
                Window->ListView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                                 QItemSelectionModel::Rows);
            }
        }
    }
    void Select(const QStringList& names) {
        auto* selection = Window->ListView()->selectionModel();
        selection->clearSelection();
        for (int row = 0; row < Model()->rowCount(); ++row) {
            const QModelIndex index = Model()->index(row, 0);
            if (names.contains(index.data().toString())) {
                selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
    }

    hv::TTestClock Clock;
    hv::TScopedClock ScopedClock;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    TFakeShell Shell;
    TFakeNetwork Network;
    std::unique_ptr<THVWindow> Window;
};

} // namespace

class TItemListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<hv::THVItem*>(); }

    void ModelPassesTheTesterThroughChanges() {
        TFixture f;
        QAbstractItemModelTester tester(f.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.List().SetSortType(hv::TItemOrder::ByURL);
        f.List().SetSortDescending(true);
        f.Select({QStringLiteral("gamma")});
        f.Prompts.YesNoAnswers = {true};
        f.List().DeleteSelectedItems();
        f.List().ShowFolder(nullptr);
        QCOMPARE(f.Model()->rowCount(), 0);
        f.List().ShowFolder(&f.Window->Document().Root());
        QCOMPARE(f.Model()->rowCount(), 3);
    }

    void ShowsTheFolderWithTimesAndColours() {
        TFixture f;
        QCOMPARE(f.Column(0), (L({"alpha", "Beta", "delta", "gamma"})));
        QCOMPARE(f.Column(2), (L({"24/03/03(日) 12:00", "", "", "24/03/05(火) 11:00"})));
        QCOMPARE(f.Window->StatusPanel(1)->text(), QStringLiteral("4個 (1個選択)"));
        QCOMPARE(f.Window->StatusPanel(2)->text(), QStringLiteral("名前順（昇順）"));
        // The first row is the current item.
        QCOMPARE(f.List().CurrentItem()->GetName(), std::string("alpha"));
        QCOMPARE(f.Window->MemoBox()->toPlainText(), QStringLiteral("memo of alpha"));
        QCOMPARE(f.Window->findChild<QLabel*>(QStringLiteral("lblURL"))->text(), QStringLiteral("http://a.example/"));
        // alpha is due (red by default), gamma was visited within the grey time, the rest plain.
        QCOMPARE(f.Model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(!f.Model()->index(1, 0).data(Qt::ForegroundRole).isValid());
        QVERIFY(f.Model()->index(3, 1).data(Qt::ForegroundRole).value<QColor>() != QColor(255, 0, 0));
        QVERIFY(f.Model()->index(3, 1).data(Qt::ForegroundRole).isValid());
        QVERIFY(!f.Model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    }

    void SortsByEachColumnBothWays_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("panel");
        // Same URLs and never-visited items fall back to the names, ascending either way; never
        // visited items come after all visited ones.
        QTest::newRow("name asc") << 0 << false << L({"alpha", "Beta", "delta", "gamma"}) << S("名前順（昇順）");
        QTest::newRow("name desc") << 0 << true << L({"gamma", "delta", "Beta", "alpha"}) << S("名前順（降順）");
        QTest::newRow("url asc") << 1 << false << L({"alpha", "delta", "Beta", "gamma"}) << S("URL順（昇順）");
        QTest::newRow("url desc") << 1 << true << L({"gamma", "Beta", "alpha", "delta"}) << S("URL順（降順）");
        QTest::newRow("time asc") << 2 << false << L({"alpha", "gamma", "Beta", "delta"})
                                  << S("アクセス日時順（昇順）");
        QTest::newRow("time desc") << 2 << true << L({"Beta", "delta", "gamma", "alpha"})
                                   << S("アクセス日時順（降順）");
    }
    void SortsByEachColumnBothWays() {
        QFETCH(int, type);
        QFETCH(bool, descending);
        QFETCH(QStringList, names);
        QFETCH(QString, panel);
        TFixture f;
        f.Focus("gamma");
        // A header click selects the column; clicking it again turns the direction round.
        emit f.Window->ListView()->header()->sectionClicked(type);
        if (type == 0) {
            QVERIFY(f.List().Order().SortDescending);
            emit f.Window->ListView()->header()->sectionClicked(type);
        }
        if (descending) {
            emit f.Window->ListView()->header()->sectionClicked(type);
        }
        QCOMPARE(f.Column(0), names);
        QCOMPARE(f.Window->StatusPanel(2)->text(), panel);
        QCOMPARE(static_cast<int>(f.Settings.Get(hv::opt::Main::SortType)), type);
        QCOMPARE(static_cast<bool>(f.Settings.Get(hv::opt::Main::SortDescending)), descending);
        // The document's list is in the same order, and the focus stayed on its item.
        QCOMPARE(f.Window->Document().Root().List().Items(0)->GetName(), names.first().toStdString());
        QCOMPARE(f.List().CurrentItem()->GetName(), std::string("gamma"));
    }

    void OpeningRecordsTheAccessOnlyOnSuccess_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("launched");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("web address") << S("Beta") << 42 << S("https://b.example/|") << true;
        QTest::newRow("command") << S("gamma") << 33 << S("zz://g|") << true;
        QTest::newRow("launch failed") << S("Beta") << 2 << S("https://b.example/|") << false;
    }
    void OpeningRecordsTheAccessOnlyOnSuccess() {
        QFETCH(QString, name);
        QFETCH(int, result);
        QFETCH(QString, launched);
        QFETCH(bool, recorded);
        TFixture f;
        f.Focus(name.toUtf8().constData());
        THVItem* item = f.List().CurrentItem();
        const hv::TDateTime before = item->GetLastVisited();
        f.Shell.Result = result;
        QVERIFY(!f.Window->Document().Modified());
        f.Clock.AdvanceMinutes(5);
        QTest::keyClick(f.Window->ListView(), Qt::Key_Return);
        QCOMPARE(f.Shell.Calls, QStringList{launched});
        QCOMPARE(item->GetLastVisited(), recorded ? kNow + 5 / hv::MinutesPerDay : before);
        QCOMPARE(f.Window->Document().Modified(), recorded);
        const QString time = f.Model()->IndexOf(item, TItemListModel::ColLastVisited).data().toString();
        QCOMPARE(time.isEmpty(), !recorded && before == 0);
        if (!recorded) {
            QCOMPARE(f.Prompts.Seen.size(), 1);
            QVERIFY(
                f.Prompts.Seen.first().startsWith(QStringLiteral("Hollyvine|実行できませんでした。エラーコード: 2")));
        }
    }

    void UnparsableCommandLaunchesNothing() {
        TFixture f;
        f.Focus("gamma");
        f.List().CurrentItem()->SetURL("\"/bin/x\"y");
        QVERIFY(!f.List().OpenCurrentItem());
        QVERIFY(f.Shell.Calls.isEmpty());
        QVERIFY(!f.Window->Document().Modified());
        QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|コマンドを解析できません。\n\n\"/bin/x\"y")});
    }

    void MemoEditsStayWithTheirItem() {
        TFixture f;
        QPlainTextEdit* memo = f.Window->MemoBox();
        f.Focus("Beta");
        QVERIFY(!memo->isReadOnly());
        memo->selectAll();
        QTest::keyClicks(memo, QStringLiteral("first line"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("second"));
        QVERIFY(f.Window->Document().Modified());
        f.Focus("delta");
        QCOMPARE(memo->toPlainText(), QStringLiteral("memo of delta"));
        f.Focus("Beta");
        QCOMPARE(memo->toPlainText(), QStringLiteral("first line\nsecond"));
        // Stored with the line breaks the document format uses.
        QCOMPARE(f.List().CurrentItem()->GetMemo(), std::string("first line\r\nsecond"));
        // No item: an empty read-only box.
        f.List().ShowFolder(nullptr);
        QVERIFY(memo->isReadOnly());
        QVERIFY(memo->toPlainText().isEmpty());
    }

    void RenameRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");
        QTest::newRow("new name") << S("omega") << S("omega") << S("");
        QTest::newRow("control characters removed") << S("om\tega\x01") << S("omega") << S("");
        QTest::newRow("backslash kept") << S("a\\b") << S("a\\b") << S("");
        QTest::newRow("empty") << S("\t") << S("gamma") << S("Hollyvine|名前が入力されていません。");
        QTest::newRow("duplicate, other case")
            << S("BETA") << S("gamma")
            << S("Hollyvine|アイテム名 'BETA' "
                 "は既に使われています。\n\n１つのフォルダに同じ名前のアイテムを複数作ることはで"
                 "きません。半角アルファベットの大文字・小文字は同一視されます。");
        QTest::newRow("own name in other case") << S("GAMMA") << S("GAMMA") << S("");
    }
    void RenameRules() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, message);
        TFixture f;
        f.Focus("gamma");
        THVItem* item = f.List().CurrentItem();
        const QModelIndex index = f.Model()->IndexOf(item);
        f.Model()->setData(index, text);
        QCOMPARE(QString::fromStdString(item->GetName()), expected);
        QCOMPARE(f.Prompts.Seen, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.Window->Document().Modified(), message.isEmpty());
        QCOMPARE(f.Window->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), expected);
        QCOMPARE(f.Window->Document().Root().List().IndexOfName(expected.toStdString()) >= 0, true);
    }

    void DeleteAsksOnceAndAnnouncesEachItem_data() {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("one, yes") << L({"Beta"}) << true << S("アイテム 'Beta' を削除してよろしいですか？")
                                  << L({"alpha", "delta", "gamma"});
        QTest::newRow("several, yes") << L({"alpha", "delta", "gamma"}) << true
                                      << S("選択されている 3 個のアイテムを削除してよろしいですか？") << L({"Beta"});
        QTest::newRow("several, no") << L({"alpha", "gamma"}) << false
                                     << S("選択されている 2 個のアイテムを削除してよろしいですか？")
                                     << L({"alpha", "Beta", "delta", "gamma"});
    }
    void DeleteAsksOnceAndAnnouncesEachItem() {
        QFETCH(QStringList, selected);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        TFixture f;
        f.Select(selected);
        QSignalSpy freed(f.Window.get(), &THVWindow::itemAboutToBeFreed);
        QVERIFY(freed.isValid());
        f.Prompts.YesNoAnswers = {answer};
        QTest::keyClick(f.Window->ListView(), Qt::Key_Delete);
        QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("アイテムの削除|") + question});
        QCOMPARE(f.Column(0), left);
        QCOMPARE(freed.count(), answer ? selected.size() : 0);
        QCOMPARE(f.Window->Document().Modified(), answer);
        QCOMPARE(f.Window->StatusPanel(1)->text(),
                 QStringLiteral("%1個 (%2個選択)")
                     .arg(left.size())
                     .arg(f.Window->ListView()->selectionModel()->selectedRows().size()));
        // The memo box follows whatever row holds the focus now.
        THVItem* current = f.List().CurrentItem();
        QCOMPARE(f.Window->MemoBox()->toPlainText(),
                 current == nullptr ? QString() : QString::fromStdString(current->GetMemo()));
    }

    // The properties dialog as a user fills it: name, URL and memo typed, then OK.
    void AddAndEditGoThroughThePropertiesDialog_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("add") << true << S("omega") << true << L({"alpha", "Beta", "delta", "gamma", "omega"});
        QTest::newRow("add, duplicate name") << true << S("ALPHA") << false << L({"alpha", "Beta", "delta", "gamma"});
        QTest::newRow("edit renames") << false << S("aaa") << true << L({"aaa", "alpha", "Beta", "delta"});
        QTest::newRow("edit, duplicate name") << false << S("beta") << false << L({"alpha", "Beta", "delta", "gamma"});
    }
    void AddAndEditGoThroughThePropertiesDialog() {
        QFETCH(bool, add);
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(QStringList, names);
        TFixture f;
        f.Focus("gamma");
        f.List().SetItemDialogRunner([&](hv::TItemPropDlg& dialog, THVItem* item, const hv::THVList& list) {
            dialog.Load(item, list);
            dialog.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(name);
            dialog.findChild<QLineEdit*>(QStringLiteral("edtURL"))->setText(QStringLiteral("http://new.example/"));
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("edtMemo"))->setPlainText(QStringLiteral("new memo"));
            if (!dialog.CheckOK()) {
                return false;
            }
            dialog.Store();
            return true;
        });
        QTest::keyClick(f.Window->ListView(), Qt::Key_Insert, add ? Qt::NoModifier : Qt::AltModifier);
        if (!add) {
            // Alt+Insert does nothing in the list itself; Alt+Enter opens the properties.
            QTest::keyClick(f.Window->ListView(), Qt::Key_Return, Qt::AltModifier);
        }
        QCOMPARE(f.Column(0), names);
        QCOMPARE(f.Window->Document().Modified(), accepted);
        QCOMPARE(f.Prompts.Seen.size(), accepted ? 0 : 1);
        if (accepted) {
            QCOMPARE(QString::fromStdString(f.List().CurrentItem()->GetName()), name);
            QCOMPARE(f.Window->ListView()->selectionModel()->selectedRows().size(), 1);
            QCOMPARE(f.Window->MemoBox()->toPlainText(), QStringLiteral("new memo"));
            QCOMPARE(f.Window->findChild<QLabel*>(QStringLiteral("lblURL"))->text(),
                     QStringLiteral("http://new.example/"));
        }
    }

    void FreeingTheShownFolderEmptiesTheList() {
        TFixture f;
        THVFolder* child = f.Window->Document().Root().AddChild("child");
        child->List().Add("x");
        f.List().ShowFolder(child);
        QCOMPARE(f.Model()->rowCount(), 1);
        emit f.Window->FolderTree().folderAboutToBeFreed(child);
        QCOMPARE(f.Model()->rowCount(), 0);
        QCOMPARE(f.List().CurrentItem(), nullptr);
    }
};

QTEST_MAIN(TItemListTest)
#include "test_itemlist.moc"
