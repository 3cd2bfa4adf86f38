#include "FakeLaunchers.h"
#include "GuiTestSupport.h"
#include "IconFileBuilder.h"
#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "properties/ItemPropDlg.h"
#include "settings/Settings.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;
using hv::TItemListModel;
using hv::test::TFakeNetwork;
using hv::test::TFakeShell;
using hv::test::TScriptedPrompts;

namespace {

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
    // prepare sets options before the window reads them.
    explicit TFixture(const std::function<void(hv::TSettings&)>& prepare = {})
        : Clock(kNow), ScopedClock(Clock), Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        if (prepare) {
            prepare(Settings);
        }
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        Network.Connected = true;
        List().SetLaunchers(&Shell, &Network);
        THVFolder& root = Window->Document().Root();
        Add(root, "alpha", "http://a.example/", kNow - 2).SetSchedule("W 1,2,3,4,5,6,7 9:00 1,0");
        Add(root, "Beta", "https://b.example/", 0);
        Add(root, "gamma", "zz://g", kNow - 1.0 / 24);
        Add(root, "delta", "http://a.example/", 0);
        List().ShowFolder(&root);
        Tester =
            std::make_unique<QAbstractItemModelTester>(Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
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
    QModelIndex Row(const char* name) {
        const QModelIndexList found = Model()->match(Model()->index(0, 0), Qt::DisplayRole, S(name), 1,
                                                     Qt::MatchFixedString | Qt::MatchCaseSensitive);
        return found.value(0);
    }
    void Focus(const char* name) {
        Window->ListView()->selectionModel()->setCurrentIndex(Row(name), QItemSelectionModel::ClearAndSelect |
                                                                             QItemSelectionModel::Rows);
    }
    void Show() {
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }
    // The folder picker answers with folder and, when given, name; what OK's rule said is kept.
    void Pick(THVFolder* folder, const QString& name = {}) {
        List().SetFolderPickerRunner([this, folder, name](hv::TSelectFolderDlg& dialog) {
            PickerMode = static_cast<int>(dialog.Mode());
            ProposedName = dialog.NameText();
            dialog.SelectFolder(folder);
            if (!name.isEmpty()) {
                dialog.SetName(name);
            }
            PickerOK = dialog.OKEnabled();
            return dialog.CheckOK();
        });
    }
    static QStringList Names(const THVFolder& folder) {
        QStringList names;
        for (const auto& item : folder.List()) {
            names << QString::fromStdString(item->GetName());
        }
        return names;
    }
    void Select(const QStringList& names) {
        auto* selection = Window->ListView()->selectionModel();
        selection->clearSelection();
        for (const QString& name : names) {
            selection->select(Row(name.toUtf8().constData()), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    hv::TTestClock Clock;
    hv::TScopedClock ScopedClock;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    TFakeShell Shell;
    TFakeNetwork Network;
    // What the shell was asked to open, as "file|parameters".
    QStringList ShellCalls() const {
        QStringList calls;
        for (const auto& [file, parameters] : Shell.Calls) {
            calls << QString::fromStdString(file) + QLatin1Char('|') + QString::fromStdString(parameters);
        }
        return calls;
    }
    std::unique_ptr<THVWindow> Window;
    std::unique_ptr<QAbstractItemModelTester> Tester; // every change the tests make is checked
    int PickerMode = -1;
    QString ProposedName;
    bool PickerOK = false;
};

class TExposedDelegate : public hv::THotTrackDelegate {
public:
    using hv::THotTrackDelegate::initStyleOption;
};

} // namespace

class TItemListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qRegisterMetaType<hv::THVItem*>();
        qRegisterMetaType<hv::THVFolder*>();
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
        f.Show();
        QHeaderView* header = f.Window->ListView()->header();
        const auto click = [&] {
            const QPoint at(header->sectionViewportPosition(type) + header->sectionSize(type) / 2,
                            header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        };
        // A header click selects the column; clicking it again turns the direction round.
        click();
        if (type == 0) {
            QVERIFY(f.List().Order().SortDescending);
            click();
        }
        if (descending) {
            click();
        }
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), type);
        QCOMPARE(header->sortIndicatorOrder(), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
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
        QCOMPARE(f.ShellCalls(), QStringList{launched});
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

    // The access question lets events run; the item deleted meanwhile still opens what it held,
    // and nothing is recorded on it.
    void ItemDeletedWhileTheLaunchAsks() {
        TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Main::AccessRestriction, std::int32_t{1}); });
        f.Focus("alpha");
        THVItem* alpha = f.List().CurrentItem();
        f.Prompts.YesNoAnswers.push_back(true);
        const auto record = f.Prompts.OnRecord;
        f.Prompts.OnRecord = [&](const hv::test::TFakePrompts::TRecord& asked) {
            record(asked);
            if (alpha != nullptr) {
                f.Window->TreeEdits().DeleteItems({std::exchange(alpha, nullptr)});
            }
        };
        QVERIFY(f.List().OpenCurrentItem());
        QCOMPARE(f.ShellCalls(), QStringList{QStringLiteral("http://a.example/|")});
        const QStringList left = TFixture::Names(f.Window->Document().Root());
        QCOMPARE(left.size(), 3);
        QVERIFY(!left.contains(QStringLiteral("alpha")));
    }

    void UnparsableCommandLaunchesNothing() {
        TFixture f;
        f.Focus("gamma");
        f.List().CurrentItem()->SetURL("\"/bin/x\"y");
        QVERIFY(!f.List().OpenCurrentItem());
        QVERIFY(f.Shell.Calls.empty());
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

    // The rules themselves are the core's; here the user renames with F2, typing and Enter. Enter
    // commits the name with its checks and never opens the item.
    void RenameRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");
        QTest::newRow("new name") << S("omega") << S("omega") << S("");
        QTest::newRow("backslash kept") << S("a\\b") << S("a\\b") << S("");
        QTest::newRow("empty") << S("") << S("gamma") << S("Hollyvine|名前が入力されていません。");
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
        f.Show();
        f.Focus("gamma");
        THVItem* item = f.List().CurrentItem();
        QTreeView* list = f.Window->ListView();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F2);
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QString::fromStdString(item->GetName()), expected);
        QTRY_COMPARE(f.Prompts.Seen, message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(f.Shell.Calls.empty());
        QCOMPARE(item->GetLastVisited(), kNow - 1.0 / 24);
        QCOMPARE(f.Window->Document().Modified(), message.isEmpty());
        QCOMPARE(f.Window->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), expected);
        QCOMPARE(f.Model()->IndexOf(item).data().toString(), expected);
        // Enter outside the editor still opens.
        QTRY_VERIFY(list->viewport()->findChild<QLineEdit*>() == nullptr);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(f.ShellCalls(), QStringList{S("zz://g|")});
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

    // The target already holds ALPHA and alpha~1; moved items are announced old, new, folder.
    void MoveMakesNamesUniqueAndAnnouncesEachItem_data() {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("target");
        QTest::newRow("one, renamed") << L({"gamma"}) << S("renamed") << 1 << L({"ALPHA", "alpha~1", "renamed"});
        QTest::newRow("one, clashing name refused") << L({"gamma"}) << S("Alpha") << 1 << L({"ALPHA", "alpha~1"});
        QTest::newRow("several") << L({"alpha", "Beta"}) << S("") << 2 << L({"ALPHA", "alpha~1", "Beta", "alpha~2"});
    }
    void MoveMakesNamesUniqueAndAnnouncesEachItem() {
        QFETCH(QStringList, selected);
        QFETCH(QString, name);
        QFETCH(int, mode);
        QFETCH(QStringList, target);
        TFixture f;
        THVFolder* other = f.Window->Document().Root().AddChild("other");
        other->List().Add("ALPHA");
        other->List().Add("alpha~1");
        f.Select(selected);
        std::vector<THVItem*> olds = f.List().SelectedItems();
        f.Pick(other, name);
        QSignalSpy moved(f.Window.get(), &THVWindow::itemMoved);
        f.List().actMoveItem->trigger();
        QCOMPARE(f.PickerMode, mode);
        QCOMPARE(f.ProposedName, mode == 1 ? selected.first() : QString());
        QCOMPARE(TFixture::Names(*other), target);
        const bool done = target.size() > 2;
        QCOMPARE(moved.count(), done ? selected.size() : 0);
        QCOMPARE(f.Model()->rowCount(), done ? 4 - selected.size() : 4);
        QCOMPARE(f.Window->Document().Modified(), done);
        for (int i = 0; i < moved.count(); ++i) {
            // Last row first; the new item carries what the old one had.
            auto* oldItem = moved.at(i).at(0).value<THVItem*>();
            auto* newItem = moved.at(i).at(1).value<THVItem*>();
            QCOMPARE(oldItem, olds.at(olds.size() - 1 - static_cast<std::size_t>(i)));
            QCOMPARE(newItem->Owner(), &other->List());
            QCOMPARE(moved.at(i).at(2).value<THVFolder*>(), other);
            QVERIFY(newItem->GetMemo().starts_with("memo of "));
        }
        if (done) {
            QCOMPARE(f.List().CurrentItem(), f.Model()->nodeFromIndex(f.Window->ListView()->currentIndex()));
            QCOMPARE(f.Window->StatusPanel(1)->text().left(2), QStringLiteral("%1個").arg(4 - selected.size()));
        }
    }

    void MoveIntoTheShownFolderIsRefused() {
        TFixture f;
        f.Select({S("alpha"), S("Beta")});
        // Even an OK that slipped through moves nothing.
        f.List().SetFolderPickerRunner([&](hv::TSelectFolderDlg& dialog) {
            f.PickerOK = dialog.OKEnabled();
            return true;
        });
        f.List().MoveSelectedItems();
        QVERIFY(!f.PickerOK);
        QCOMPARE(f.Column(0), (L({"alpha", "Beta", "delta", "gamma"})));
        QVERIFY(!f.Window->Document().Modified());
    }

    void CopiesGetUniqueNames_data() {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("intoShown");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("target");
        QTest::newRow("several into the shown folder")
            << L({"alpha", "Beta"}) << true << S("") << L({"alpha", "alpha~1", "Beta", "Beta~1", "delta", "gamma"})
            << QStringList();
        QTest::newRow("several into another folder")
            << L({"alpha", "Beta"}) << false << S("") << L({"alpha", "Beta", "delta", "gamma"})
            << L({"beta", "alpha", "Beta~1"});
        QTest::newRow("one, renamed, into the shown folder")
            << L({"gamma"}) << true << S("a copy") << L({"a copy", "alpha", "Beta", "delta", "gamma"}) << QStringList();
    }
    void CopiesGetUniqueNames() {
        QFETCH(QStringList, selected);
        QFETCH(bool, intoShown);
        QFETCH(QString, name);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, target);
        TFixture f;
        THVFolder* other = f.Window->Document().Root().AddChild("other");
        other->List().Add("beta");
        f.Select(selected);
        f.Pick(intoShown ? &f.Window->Document().Root() : other, name);
        f.List().actCopyItem->trigger();
        QCOMPARE(f.PickerMode, selected.size() == 1 ? 3 : 4);
        QCOMPARE(f.Column(0), rows);
        if (!intoShown) {
            QCOMPARE(TFixture::Names(*other), target);
        }
        QVERIFY(f.Window->Document().Modified());
        QCOMPARE(f.Window->StatusPanel(1)->text().left(2), QStringLiteral("%1個").arg(rows.size()));
    }

    void ViewSwitchKeepsSelectionAndIsStored() {
        TFixture f([](hv::TSettings& settings) {
            settings.Set(hv::opt::Window::AutoResizeColumns, false);
            settings.Set(hv::opt::Window::ColumnWidths, std::string("150,x,80"));
        });
        f.Focus("delta");
        f.Window->ListView()->selectionModel()->select(f.Model()->index(0, 0),
                                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        auto* names = f.Window->findChild<QListView*>(QStringLiteral("ListViewNames"));
        auto* panel = f.Window->findChild<QStackedWidget*>(QStringLiteral("pnlList"));
        f.List().actViewReport->trigger();
        QCOMPARE(panel->currentWidget(), names);
        QCOMPARE(names->selectionModel(), f.Window->ListView()->selectionModel());
        QCOMPARE(names->currentIndex().data().toString(), QStringLiteral("delta"));
        QCOMPARE(f.List().SelectedItems().size(), std::size_t{2});
        QVERIFY(f.List().actOpenItem->isEnabled());
        // Keys work in the names too.
        f.Shell.Calls.clear();
        QTest::keyClick(names, Qt::Key_Return);
        QCOMPARE(f.ShellCalls(), QStringList{QStringLiteral("http://a.example/|")});
        f.List().StoreLayout();
        QVERIFY(!f.Settings.Get(hv::opt::Window::ViewReport));
        QCOMPARE(f.Settings.Get(hv::opt::Window::ColumnWidths), std::string("150,116,80"));
        f.List().actViewReport->trigger();
        QCOMPARE(panel->currentWidget(), f.Window->ListView());
        QCOMPARE(f.List().SelectedItems().size(), std::size_t{2});
    }

    // Press on a row, maybe drag (a marquee), release; or a double click.
    void SingleClickOpen_data() {
        QTest::addColumn<bool>("hotTrack");
        QTest::addColumn<bool>("singleClick");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("opened");
        QTest::newRow("click opens") << true << true << S("click") << 1;
        QTest::newRow("marquee does not") << true << true << S("marquee") << 0;
        QTest::newRow("double click opens once") << true << true << S("double") << 1;
        QTest::newRow("without hot tracking, no") << false << true << S("click") << 0;
        QTest::newRow("setting off") << true << false << S("click") << 0;
        QTest::newRow("setting off, double click") << true << false << S("double") << 1;
    }
    void SingleClickOpen() {
        QFETCH(bool, hotTrack);
        QFETCH(bool, singleClick);
        QFETCH(QString, gesture);
        QFETCH(int, opened);
        TFixture f([&](hv::TSettings& settings) {
            settings.Set(hv::opt::Window::ListHotTrack, hotTrack);
            settings.Set(hv::opt::Main::SingleClickOpen, singleClick);
        });
        f.Show();
        QWidget* viewport = f.Window->ListView()->viewport();
        const QPoint at = f.Window->ListView()->visualRect(f.Model()->index(2, 0)).center();
        if (gesture == S("click")) {
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        } else if (gesture == S("double")) {
            // As a mouse sends it: press, release, double click, release.
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
        } else {
            QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at);
            QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(0, 40)), viewport->mapToGlobal(QPointF(at)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at + QPoint(0, 40));
        }
        QTest::qWait(20);
        QCOMPARE(f.ShellCalls().size(), opened);
        if (opened > 0) {
            QCOMPARE(f.ShellCalls().first(), QStringLiteral("http://a.example/|"));
        }
    }

    void HotTrackUnderline_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("hotUnderlined");
        QTest::addColumn<bool>("coldUnderlined");
        QTest::newRow("default style 5") << true << 5 << true << false;
        QTest::newRow("underline cold") << true << 2 << false << true;
        QTest::newRow("hand cursor only") << true << 1 << false << false;
        QTest::newRow("hot tracking off") << false << 7 << false << false;
    }
    void HotTrackUnderline() {
        QFETCH(bool, on);
        QFETCH(int, style);
        QFETCH(bool, hotUnderlined);
        QFETCH(bool, coldUnderlined);
        TFixture f;
        TExposedDelegate delegate;
        delegate.SetHotTrack(on, style);
        for (const bool hot : {true, false}) {
            QStyleOptionViewItem option;
            option.state = hot ? QStyle::State_MouseOver : QStyle::State_None;
            delegate.initStyleOption(&option, f.Model()->index(0, 0));
            QCOMPARE(option.font.underline(), hot ? hotUnderlined : coldUnderlined);
        }
    }

    void ItemCommandsRunFromTheContextMenu() {
        TFixture f;
        f.Focus("Beta");
        THVItem* item = f.List().CurrentItem();
        hv::TCmdItem& tool = item->GetCommands().Add();
        tool.Title = "Run tool";
        tool.CommandLine = "/bin/sh -c true";
        tool.UpdateLastVisited = true;
        hv::TCmdItem& web = item->GetCommands().Add();
        web.Title = "Web";
        web.CommandLine = "http://w.example/";
        QMenu* popup = f.List().Popup();
        emit popup->aboutToShow();
        const QList<QAction*> actions = popup->actions();
        const qsizetype open = actions.indexOf(f.List().actOpenItem);
        QCOMPARE(actions.at(open + 1)->text(), QStringLiteral("Run tool"));
        QCOMPARE(actions.at(open + 2)->text(), QStringLiteral("Web"));
        QCOMPARE(actions.at(open + 3), f.List().actItemProp);
        QVERIFY(!actions.at(open + 1)->icon().isNull());
        QCOMPARE(actions.at(open + 2)->icon().cacheKey(), f.List().actOpenItem->icon().cacheKey());
        QCOMPARE(f.List().actOpenItem->statusTip(), QStringLiteral("https://b.example/"));
        f.Clock.AdvanceMinutes(1);
        actions.at(open + 1)->trigger();
        QCOMPARE(f.ShellCalls(), QStringList{QStringLiteral("/bin/sh|-c true")});
        QCOMPARE(item->GetLastVisited(), kNow + 1 / hv::MinutesPerDay);
        QVERIFY(f.Window->Document().Modified());
        emit popup->aboutToHide();
        QTRY_COMPARE(popup->actions().size(), actions.size() - 2);
        // Nothing is listed while the focused row is not selected.
        f.Window->ListView()->selectionModel()->clearSelection();
        emit popup->aboutToShow();
        QCOMPARE(popup->actions().size(), actions.size() - 2);
    }

    // Items of one folder share a library's icons: the file is read once per fill.
    void RowIconsComeFromProgramsOncePerFill() {
        QTemporaryDir dir;
        const QString dll = dir.filePath(QStringLiteral("icons.dll"));
        auto group = [](std::uint32_t colour) {
            return hv::test::TTestIconGroup{{16, 16, 32, hv::test::SolidIconImage(16, colour)}};
        };
        const std::vector<std::uint8_t> pe = hv::test::BuildPeFile({group(0xFFFF0000), group(0xFF0000FF)});
        QFile file(dll);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(pe.data()), static_cast<qint64>(pe.size()));
        file.close();
        TFixture f;
        hv::THVList& list = f.Window->Document().Root().List();
        list.Items(0)->SetIconRaw(dll.toStdString(), 1);
        list.Items(1)->SetIconRaw(dll.toStdString(), 0);
        list.Items(2)->SetIconRaw(dll.toStdString(), 5);
        f.List().ShowFolder(&f.Window->Document().Root());
        auto icon = [&](const char* name) { return f.Row(name).data(Qt::DecorationRole).value<QIcon>(); };
        auto centre = [](const QIcon& i) { return i.pixmap(16, 16).toImage().pixelColor(8, 8); };
        QCOMPARE(centre(icon("alpha")), QColor(0, 0, 255));
        QCOMPARE(centre(icon("Beta")), QColor(255, 0, 0));
        // No such icon in the file: the Internet-shortcut icon, as for items without one.
        QCOMPARE(icon("gamma").cacheKey(), icon("delta").cacheKey());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.close();
        QCOMPARE(centre(icon("alpha")), QColor(0, 0, 255));
        f.List().ShowFolder(&f.Window->Document().Root());
        QCOMPARE(icon("alpha").cacheKey(), icon("delta").cacheKey());
    }

    void FreeingTheShownFolderEmptiesTheList() {
        TFixture f;
        THVFolder* child = f.Window->TreeEdits().AddFolder(f.Window->Document().Root(), "child", false);
        child->List().Add("x");
        f.List().ShowFolder(child);
        QCOMPARE(f.Model()->rowCount(), 1);
        f.Window->TreeEdits().DeleteFolder(*child);
        QCOMPARE(f.Model()->rowCount(), 0);
        QCOMPARE(f.List().CurrentItem(), nullptr);
    }
};

QTEST_MAIN(TItemListTest)
#include "test_itemlist.moc"
