#include "GuiTestSupport.h"
#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "search/FindDlg.h"
#include "search/ResultModels.h"
#include "search/SearchWindows.h"
#include "settings/RegistryStore.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::TFindDlg;
using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;
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

// Hollyvine (Root news) / Tech (Linux News, Qt docs) / Tech\Sub (news digest) ; Life (Cooking,
// abc, ABC, aBc), opened through the window's menu.
struct TFixture {
    explicit TFixture(const std::function<void(hv::TSettings&)>& prepare = {}) : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        if (prepare) {
            prepare(Settings);
        }
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        hv::TTreeEdits& edits = Window->TreeEdits();
        THVFolder& root = Window->Document().Root();
        Tech = edits.AddFolder(root, "Tech", false);
        Sub = edits.AddFolder(*Tech, "Sub", false);
        Life = edits.AddFolder(root, "Life", false);
        Add(root, "Root news", "http://r.example/", "");
        Add(*Tech, "Linux News", "http://l.example/", "kernel news");
        Add(*Tech, "Qt docs", "http://doc.qt.io/", "");
        Add(*Sub, "news digest", "http://n.example/news", "");
        Add(*Life, "Cooking", "http://c.example/", "recipes");
        Add(*Life, "abc", "http://abc.example/", "");
        Add(*Life, "ABC", "http://abc.example/upper", "");
        Add(*Life, "aBc", "", "");
        Window->show();
        Window->FolderTree().SelectFolder(Tech);
        Window->SearchWindows().actFind->trigger();
        Dlg = Window->SearchWindows().FindDlg();
        Tester = std::make_unique<QAbstractItemModelTester>(Dlg->Model(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    THVItem* Add(THVFolder& folder, const char* name, const char* url, const char* memo) {
        hv::THVList scratch;
        hv::THVItem& source = *scratch.Add();
        source.SetName(name);
        source.SetURL(url);
        source.SetMemo(memo);
        return Window->TreeEdits().AddItem(folder.List(), source);
    }
    template <class T> T* Child(const char* name) { return Dlg->findChild<T*>(S(name)); }
    // Fills in the condition and presses btnSearch, then waits for the search to end.
    void Find(const char* text, const char* range = "rdbAll", int subject = 0, int type = 0) {
        Child<QComboBox>("cbbSubject")->setCurrentIndex(subject);
        Child<QComboBox>("cbbFindType")->setCurrentIndex(type);
        Child<QComboBox>("cbbFindText")->setEditText(S(text));
        Child<QRadioButton>(range)->setChecked(true);
        QTest::mouseClick(Child<QPushButton>("btnSearch"), Qt::LeftButton);
        QTRY_VERIFY(!Dlg->Search().Searching());
    }
    QStringList Column(int column) const {
        QStringList texts;
        for (int row = 0; row < Dlg->Model()->rowCount(); ++row) {
            texts << Dlg->Model()->index(row, column).data().toString();
        }
        return texts;
    }
    QString Text(const char* label) { return Child<QLabel>(label)->text(); }
    // A search for "news" over 200 more items, four items a slice, left running.
    void StartLongSearch() {
        for (int i = 0; i < 200; ++i) {
            Add(*Life, ("more news " + std::to_string(i)).c_str(), "", "");
        }
        Dlg->SetSliceLimit(4);
        Child<QComboBox>("cbbFindText")->setEditText(S("news"));
        Child<QRadioButton>("rdbAll")->setChecked(true);
        Child<QPushButton>("btnSearch")->click();
    }
    void SelectRow(int row) {
        Dlg->List()->selectionModel()->setCurrentIndex(Dlg->Model()->index(row, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
    THVFolder* Tech = nullptr;
    THVFolder* Sub = nullptr;
    THVFolder* Life = nullptr;
    QPointer<TFindDlg> Dlg;
    std::unique_ptr<QAbstractItemModelTester> Tester;
};

} // namespace

class TestFindDlg : public QObject {
    Q_OBJECT

private slots:
    void theMenuOpensOneWindow();
    void searchesEachRangeAndWithinTheList();
    void matchTypesAndTheCaseBox();
    void historyPutsAReusedTextOnTop();
    void sortsByEachColumnBothWays();
    void opensAResultInTheMainWindow();
    void warnsWhenTheFolderOrItemWasRenamed();
    void rowsFollowDeletedAndMovedItems();
    void cancellingKeepsTheRowsFoundSoFar();
    void closingWhileSearchingAsks();
    void deletesRowsAndKeepsTheOptions();
};

void TestFindDlg::theMenuOpensOneWindow() {
    TFixture f;
    QMenu* menu = nullptr;
    for (QAction* action : f.Window->menuBar()->actions()) {
        if (action->text() == S("検索(&S)")) {
            menu = action->menu();
        }
    }
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->text(), S("検索(&S)..."));
    QCOMPARE(menu->actions().at(0)->shortcut(), QKeySequence(S("Ctrl+F")));
    QCOMPARE(menu->actions().at(1)->text(), S("重複&URLを検索..."));
    QCOMPARE(f.Dlg->windowTitle(), S("検索"));
    f.Window->SearchWindows().actFind->trigger();
    QCOMPARE(f.Window->SearchWindows().FindDlg(), f.Dlg.data());
    QCOMPARE(f.Window->findChildren<TFindDlg*>().size(), 1);
    QCOMPARE(f.Text("lblItemCount"), S("0個 (0個選択)"));
    QVERIFY(!f.Child<QPushButton>("btnOpenFolder")->isEnabled());
    f.Child<QPushButton>("btnCancel")->click();
    QTRY_VERIFY(f.Dlg.isNull());
}

void TestFindDlg::searchesEachRangeAndWithinTheList() {
    TFixture f;
    f.Find("news");
    QCOMPARE(f.Column(0), L({"Root news", "Linux News", "news digest"}));
    QCOMPARE(f.Column(1), L({"Hollyvine", "Hollyvine\\Tech", "Hollyvine\\Tech\\Sub"}));
    QCOMPARE(f.Column(2), L({"http://r.example/", "http://l.example/", "http://n.example/news"}));
    QCOMPARE(f.Text("lblStatus"), S("検索終了"));
    QCOMPARE(f.Text("lblItemCount"), S("3個 (1個選択)"));
    QCOMPARE(f.Dlg->List()->currentIndex().row(), 0);

    // The current folder is Tech: with its sub-folders, then alone.
    f.Child<QCheckBox>("chkIncludeSubFolder")->setChecked(true);
    f.Find("news", "rdbFolder");
    QCOMPARE(f.Column(0), L({"Linux News", "news digest"}));
    f.Child<QCheckBox>("chkIncludeSubFolder")->setChecked(false);
    f.Find("news", "rdbFolder");
    QCOMPARE(f.Column(0), L({"Linux News"}));
    QVERIFY(f.Child<QCheckBox>("chkIncludeSubFolder")->isEnabled());

    // Within the list: only the rows that match the new condition stay.
    f.Find("http", "rdbAll", 1);
    QCOMPARE(f.Column(0).size(), 7);
    f.Find("news", "rdbInList");
    QVERIFY(!f.Child<QCheckBox>("chkIncludeSubFolder")->isEnabled());
    QCOMPARE(f.Column(0), L({"Root news", "Linux News", "news digest"}));
    QCOMPARE(f.Text("lblStatus"), S("検索終了"));

    f.Find("\t");
    QCOMPARE(f.Prompts.Seen, L({"Hollyvine|検索文字列が指定されていません。"}));
    QCOMPARE(f.Column(0).size(), 3);
    QVERIFY(f.Child<QPushButton>("btnSearch")->isEnabled());
}

void TestFindDlg::matchTypesAndTheCaseBox() {
    TFixture f;
    f.Find("abc"); // contains, case ignored
    QCOMPARE(f.Column(0), L({"abc", "ABC", "aBc"}));
    f.Child<QCheckBox>("chkDiscriminateCase")->setChecked(true);
    f.Find("abc");
    QCOMPARE(f.Column(0), L({"abc"}));
    f.Child<QCheckBox>("chkDiscriminateCase")->setChecked(false);
    f.Find("kernel", "rdbAll", 2, 1); // memo does not contain: empty memos never match
    QCOMPARE(f.Column(0), L({"Cooking"}));
    f.Find("qt docs", "rdbAll", 0, 2); // name equals
    QCOMPARE(f.Column(0), L({"Qt docs"}));
    f.Find("http://abc", "rdbAll", 1, 3); // URL begins with
    QCOMPARE(f.Column(0), L({"abc", "ABC"}));
    f.Find("/NEWS", "rdbAll", 1, 4); // URL ends with
    QCOMPARE(f.Column(0), L({"news digest"}));
}

void TestFindDlg::historyPutsAReusedTextOnTop() {
    TFixture f;
    f.Find("one");
    f.Find("two");
    f.Find("three");
    f.Find("one");
    QComboBox* box = f.Child<QComboBox>("cbbFindText");
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    QCOMPARE(items, L({"one", "three", "two"}));
    QCOMPARE(box->currentText(), S("one"));
    for (int i = 0; i < 40; ++i) {
        f.Find(std::to_string(i).c_str());
    }
    QCOMPARE(box->count(), 32);
    QCOMPARE(box->itemText(0), S("39"));
}

void TestFindDlg::sortsByEachColumnBothWays() {
    TFixture f;
    f.Find("http", "rdbAll", 1);
    QCOMPARE(f.Column(0), L({"Root news", "Linux News", "Qt docs", "news digest", "Cooking", "abc", "ABC"}));
    QHeaderView* header = f.Dlg->List()->header();
    const struct {
        int Column;
        const char* Status;
        QStringList First;
    } cases[] = {
        {0, "名前順（昇順）", L({"ABC", "Cooking", "Linux News"})},
        {0, "名前順（降順）", L({"news digest", "abc", "Root news"})},
        // A stable sort: rows of one folder keep the order the last sort gave them.
        {1, "フォルダ順（昇順）", L({"Root news", "abc", "Cooking"})},
        {1, "フォルダ順（降順）", L({"news digest", "Linux News", "Qt docs"})},
        {2, "URL順（昇順）", L({"abc", "ABC", "Cooking"})},
        {2, "URL順（降順）", L({"Root news", "news digest", "Linux News"})},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c.Column) + 5, header->height() / 2));
        QCOMPARE(f.Text("lblStatus"), S(c.Status));
        QCOMPARE(f.Column(0).mid(0, 3), c.First);
    }
}

void TestFindDlg::opensAResultInTheMainWindow() {
    TFixture f;
    f.Window->FolderTree().SelectFolder(f.Life);
    f.Find("digest");
    f.SelectRow(0);
    QTest::mouseClick(f.Child<QPushButton>("btnOpenFolder"), Qt::LeftButton);
    QCOMPARE(f.Window->FolderTree().SelectedFolder(), f.Sub);
    QCOMPARE(f.Window->ItemList().ShownFolder(), f.Sub);
    QVERIFY(f.Window->ItemList().CurrentItem() != nullptr);
    QCOMPARE(f.Window->ItemList().CurrentItem()->GetName(), std::string("news digest"));
    QCOMPARE(f.Window->ItemList().SelectedItems().size(), std::size_t{1});
    QVERIFY(f.Prompts.Seen.isEmpty());
}

void TestFindDlg::warnsWhenTheFolderOrItemWasRenamed() {
    TFixture f;
    f.Find("http", "rdbAll", 1);
    // Rows: Root news, Linux News, Qt docs, news digest, Cooking, abc, ABC.
    // Renames in the main window show in the rows at once, and the rows still open.
    QVERIFY(f.Window->TreeEdits().RenameFolder(*f.Tech, "Tek", false).Changed);
    QVERIFY(f.Window->TreeEdits().RenameItem(*f.Life->List().Items(0), "Baking").Changed);
    QCOMPARE(f.Column(1).at(3), QStringLiteral("Hollyvine\\Tek\\Sub"));
    QCOMPARE(f.Column(0).at(4), QStringLiteral("Baking"));
    f.SelectRow(3);
    f.Dlg->OpenResult();
    QVERIFY(f.Prompts.Seen.isEmpty());
    QCOMPARE(f.Window->ItemList().ShownFolder(), f.Sub);

    // Names changed behind the rows' back (nothing announced) give the two warnings.
    f.Sub->SetName("Renamed");
    f.SelectRow(3);
    f.Dlg->OpenResult();
    QCOMPARE(f.Prompts.Seen, L({"Hollyvine|フォルダ 'Hollyvine\\Tek\\Sub' が見つかりません。検索終了後に移動か削除、"
                                "または名前を変更されたものと思われます。"}));
    f.Prompts.Seen.clear();
    f.Life->List().Items(0)->SetName("Roasting");
    f.SelectRow(4);
    f.Dlg->OpenResult();
    QCOMPARE(f.Prompts.Seen, L({"Hollyvine|アイテム 'Baking' が見つかりません。検索終了後に移動か削除、"
                                "または名前を変更されたものと思われます。"}));
    QCOMPARE(f.Window->ItemList().ShownFolder(), f.Life); // the folder is shown all the same
    // A name that differs only in letter case still finds the item.
    f.Prompts.Seen.clear();
    f.Tech->List().Items(1)->SetName("QT DOCS");
    f.SelectRow(2);
    f.Dlg->OpenResult();
    QVERIFY(f.Prompts.Seen.isEmpty());
    QCOMPARE(f.Window->ItemList().CurrentItem(), f.Tech->List().Items(1));
}

void TestFindDlg::rowsFollowDeletedAndMovedItems() {
    TFixture f;
    f.Find("news");
    f.Window->TreeEdits().DeleteItems({f.Tech->List().Items(0)});
    QCOMPARE(f.Column(0), L({"Root news", "news digest"}));
    QTRY_COMPARE(f.Text("lblItemCount"), S("2個 (1個選択)"));
    f.Window->TreeEdits().MoveItems({f.Sub->List().Items(0)}, *f.Life);
    QCOMPARE(f.Column(1), L({"Hollyvine", "Hollyvine\\Life"}));
    f.Window->TreeEdits().DeleteFolder(*f.Life);
    QCOMPARE(f.Column(0), L({"Root news"}));
}

void TestFindDlg::cancellingKeepsTheRowsFoundSoFar() {
    TFixture f;
    f.StartLongSearch();
    QVERIFY(f.Dlg->Search().Searching());
    QCOMPARE(f.Child<QPushButton>("btnCancel")->text(), S("中止(&C)"));
    QVERIFY(!f.Child<QPushButton>("btnSearch")->isEnabled());
    // One pass of the event loop runs one slice: waiting any longer might let the search end.
    for (int pass = 0; pass < 1000 && f.Dlg->Model()->rowCount() < 10; ++pass) {
        QCoreApplication::processEvents();
    }
    QVERIFY(f.Dlg->Search().Searching());
    QVERIFY(f.Text("lblStatus").startsWith(S("検索中... ")));
    f.Child<QPushButton>("btnCancel")->click();
    QTRY_VERIFY(!f.Dlg->Search().Searching());
    const int rows = f.Dlg->Model()->rowCount();
    QVERIFY(rows >= 10 && rows < 203);
    QCOMPARE(f.Prompts.Seen, L({"Hollyvine|検索を中止しました。"}));
    QCOMPARE(f.Text("lblStatus"), S("検索終了"));
    QVERIFY(!f.Dlg->List()->selectionModel()->hasSelection());
    QCOMPARE(f.Child<QPushButton>("btnCancel")->text(), S("閉じる(&C)"));
    QVERIFY(f.Dlg->isVisible());
}

void TestFindDlg::closingWhileSearchingAsks() {
    TFixture f;
    f.StartLongSearch();
    f.Prompts.YesNoAnswers = {false, true};
    QVERIFY(!f.Dlg->close());
    QCOMPARE(f.Prompts.Seen, L({"Hollyvine|検索を中止してよろしいですか？"}));
    QVERIFY(f.Dlg->Search().Searching());
    QVERIFY(!f.Dlg->close());
    QTRY_VERIFY(f.Dlg.isNull());
    QCOMPARE(f.Prompts.Seen.size(), 2); // no "検索を中止しました。" on the way out
}

void TestFindDlg::deletesRowsAndKeepsTheOptions() {
    TFixture f([](hv::TSettings& settings) { hv::WriteFindOptions(settings, {1, "\"a b\",x", 3, true, false, 2}); });
    QCOMPARE(f.Child<QComboBox>("cbbSubject")->currentIndex(), 1);
    QCOMPARE(f.Child<QComboBox>("cbbFindType")->currentIndex(), 3);
    QCOMPARE(f.Child<QComboBox>("cbbFindText")->currentText(), S("a b"));
    QVERIFY(f.Child<QCheckBox>("chkDiscriminateCase")->isChecked());
    QVERIFY(!f.Child<QCheckBox>("chkIncludeSubFolder")->isChecked());
    QVERIFY(f.Child<QRadioButton>("rdbInList")->isChecked());

    f.Find("http", "rdbAll", 1, 0);
    QCOMPARE(f.Column(0).size(), 7);
    f.Dlg->List()->selectAll();
    f.Dlg->List()->selectionModel()->select(f.Dlg->Model()->index(1, 0),
                                            QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    QTest::mouseClick(f.Child<QPushButton>("btnDelete"), Qt::LeftButton);
    QCOMPARE(f.Column(0), L({"Linux News"}));
    QTRY_COMPARE(f.Text("lblItemCount"), S("1個 (0個選択)"));
    QCOMPARE(f.Window->Document().Root().List().Count(), 1); // the items stay

    f.Child<QRadioButton>("rdbAll")->setChecked(true);
    f.Dlg->close();
    QTRY_VERIFY(f.Dlg.isNull());
    const hv::TFindOptions stored = hv::ReadFindOptions(f.Settings);
    QCOMPARE(stored.Subject, 1);
    QCOMPARE(stored.FindText, std::string("http,\"a b\",x"));
    QCOMPARE(stored.Range, 1);
    QVERIFY(!stored.IncludeSubFolder);
    QVERIFY(hv::ReadRestorePos(f.Store, hv::RestorePosKeyName, "FindDlgPos").has_value());

    // A window still open when the main window goes keeps its settings too.
    f.Window->SearchWindows().actFind->trigger();
    f.Window->SearchWindows().FindDlg()->findChild<QComboBox*>(S("cbbSubject"))->setCurrentIndex(2);
    f.Tester.reset();
    f.Window.reset();
    QCOMPARE(hv::ReadFindOptions(f.Settings).Subject, 2);
}

QTEST_MAIN(TestFindDlg)
#include "test_finddlg.moc"
