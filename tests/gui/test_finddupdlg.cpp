#include "GuiTestSupport.h"
#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "search/FindDupDlg.h"
#include "search/ResultModels.h"
#include "search/SearchWindows.h"
#include "settings/RegistryStore.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::TFindDupDlg;
using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;

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

// Hollyvine (home: http://a.example/) / Tech (HOME: HTTP://A.example/, tool: http://t.example/ with
// the command "docs" http://a.example/ and "self" http://t.example/) ; Life (slash:
// http://a.example, other: http://o.example/)
struct TFixture {
    TFixture() : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        hv::TTreeEdits& edits = Window->TreeEdits();
        THVFolder& root = Window->Document().Root();
        Tech = edits.AddFolder(root, "Tech", false);
        Life = edits.AddFolder(root, "Life", false);
        Add(root, "home", "http://a.example/");
        Add(*Tech, "HOME", "HTTP://A.example/");
        Tool = Add(*Tech, "tool", "http://t.example/", {{"docs", "http://a.example/"}, {"self", "http://t.example/"}});
        Add(*Life, "slash", "http://a.example");
        Add(*Life, "other", "http://o.example/");
        Window->show();
        Window->FolderTree().SelectFolder(Tech);
        Window->SearchWindows().actFindDup->trigger();
        Dlg = Window->SearchWindows().FindDupDlg();
        Tester = std::make_unique<QAbstractItemModelTester>(Dlg->Model(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    THVItem* Add(THVFolder& folder, const char* name, const char* url,
                 std::initializer_list<std::pair<const char*, const char*>> commands = {}) {
        hv::THVList scratch;
        hv::THVItem& source = *scratch.Add();
        source.SetName(name);
        source.SetURL(url);
        for (const auto& [title, line] : commands) {
            hv::TCmdItem& command = source.GetCommands().Add();
            command.Title = title;
            command.CommandLine = line;
        }
        return Window->TreeEdits().AddItem(folder.List(), source);
    }
    template <class T> T* Child(const char* name) { return Dlg->findChild<T*>(S(name)); }
    // "name|folder|command|URL" per row.
    QStringList Rows() const {
        QStringList rows;
        for (int row = 0; row < Dlg->Model()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 4; ++column) {
                cells << Dlg->Model()->index(row, column).data().toString();
            }
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
    void Search() { QTest::mouseClick(Child<QPushButton>("btnSearch"), Qt::LeftButton); }

    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    hv::test::TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
    THVFolder* Tech = nullptr;
    THVFolder* Life = nullptr;
    THVItem* Tool = nullptr;
    QPointer<TFindDupDlg> Dlg;
    std::unique_ptr<QAbstractItemModelTester> Tester;
};

} // namespace

class TestFindDupDlg : public QObject {
    Q_OBJECT

private slots:
    void groupsWithAndWithoutCommands() {
        TFixture f;
        QCOMPARE(f.Dlg->windowTitle(), S("重複URLの検索"));
        QVERIFY(f.Child<QRadioButton>("rdbAll")->isChecked());
        QVERIFY(f.Child<QCheckBox>("chkCommands")->isChecked());
        QCOMPARE(f.Dlg->Model()->headerData(2, Qt::Horizontal).toString(), S("コマンド"));
        f.Search();
        QCOMPARE(f.Rows(), L({"home|Hollyvine||http://a.example/", "HOME|Hollyvine\\Tech||http://a.example/",
                              "tool|Hollyvine\\Tech|docs|http://a.example/", "tool|Hollyvine\\Tech||http://t.example/",
                              "tool|Hollyvine\\Tech|self|http://t.example/"}));
        QCOMPARE(f.Child<QLabel>("lblStatus")->text(), S("検索完了"));
        QCOMPARE(f.Dlg->List()->currentIndex().row(), 0);
        QVERIFY(f.Child<QPushButton>("btnDelete")->isEnabled());
        // URL rows show the item's icon, command rows none.
        QVERIFY(!f.Dlg->Model()->index(0, 0).data(Qt::DecorationRole).isNull());
        QVERIFY(f.Dlg->Model()->index(2, 0).data(Qt::DecorationRole).isNull());

        f.Child<QCheckBox>("chkCommands")->setChecked(false);
        f.Search();
        QCOMPARE(f.Rows(), L({"home|Hollyvine||http://a.example/", "HOME|Hollyvine\\Tech||http://a.example/"}));
    }

    void theRangeControls() {
        TFixture f;
        QVERIFY(!f.Child<QCheckBox>("chkSubFolders")->isEnabled());
        f.Child<QRadioButton>("rdbFolder")->setChecked(true);
        QVERIFY(f.Child<QCheckBox>("chkSubFolders")->isEnabled());
        f.Search(); // Tech alone: the URL column spells the address as its group's first row does
        QCOMPARE(f.Rows(),
                 L({"HOME|Hollyvine\\Tech||HTTP://A.example/", "tool|Hollyvine\\Tech|docs|HTTP://A.example/",
                    "tool|Hollyvine\\Tech||http://t.example/", "tool|Hollyvine\\Tech|self|http://t.example/"}));
        f.Window->FolderTree().SelectFolder(f.Life);
        f.Search(); // a trailing slash makes another address
        QVERIFY(f.Rows().isEmpty());
        QCOMPARE(f.Child<QLabel>("lblStatus")->text(), S("検索完了"));
        QVERIFY(!f.Child<QPushButton>("btnOpenFolder")->isEnabled());
    }

    void opensARowAndDeletesRows() {
        TFixture f;
        f.Search();
        f.Dlg->List()->selectionModel()->setCurrentIndex(
            f.Dlg->Model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::mouseClick(f.Child<QPushButton>("btnOpenFolder"), Qt::LeftButton);
        QCOMPARE(f.Window->ItemList().ShownFolder(), f.Tech);
        QCOMPARE(f.Window->ItemList().CurrentItem(), f.Tech->List().Items(0));
        QTest::mouseClick(f.Child<QPushButton>("btnDelete"), Qt::LeftButton);
        QCOMPARE(f.Rows().size(), 4);
        QCOMPARE(f.Tech->List().Count(), 2); // the items stay
        f.Dlg->close();
        QTRY_VERIFY(f.Dlg.isNull());
        QVERIFY(hv::ReadRestorePos(f.Store, hv::RestorePosKeyName, "FindDupDlgRect").has_value());
    }

    void rowsFollowMovedAndDeletedItems() {
        TFixture f;
        f.Search();
        f.Window->TreeEdits().MoveItems({f.Tool}, *f.Life);
        QCOMPARE(f.Rows().mid(2),
                 L({"tool|Hollyvine\\Life|docs|http://a.example/", "tool|Hollyvine\\Life||http://t.example/",
                    "tool|Hollyvine\\Life|self|http://t.example/"}));
        f.Dlg->List()->selectionModel()->setCurrentIndex(
            f.Dlg->Model()->index(3, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        f.Dlg->OpenResult();
        QCOMPARE(f.Window->ItemList().ShownFolder(), f.Life);
        QCOMPARE(f.Window->ItemList().CurrentItem()->GetName(), std::string("tool"));
        // An item listed twice loses both rows when it is deleted.
        f.Window->TreeEdits().DeleteItems({f.Window->ItemList().CurrentItem()});
        QCOMPARE(f.Rows(), L({"home|Hollyvine||http://a.example/", "HOME|Hollyvine\\Tech||http://a.example/"}));
    }
};

QTEST_MAIN(TestFindDupDlg)
#include "test_finddupdlg.moc"
