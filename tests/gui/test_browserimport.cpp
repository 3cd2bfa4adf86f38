#include "GuiTestSupport.h"
#include "importexport/BrowserImport.h"
#include "importexport/BrowserImportDlg.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "model/HVFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using hv::TBrowserImportDlg;
using hv::TBrowserStore;
using hv::TBrowserStoreRow;
using hv::THVFolder;
using hv::THVWindow;
using hv::test::TScriptedPrompts;

namespace {

// A home directory with one Chromium profile holding two bookmarks in a folder of the bar.
struct TFixture {
    TFixture() {
        Window = std::make_unique<THVWindow>(nullptr, &Prompts);
        Window->BrowserImport().SetHome(
            {Home.path().toStdString(), Home.filePath(QStringLiteral(".config")).toStdString()});
    }
    void PutChromium() {
        QDir(Home.path()).mkpath(QStringLiteral(".config/chromium/Default"));
        QFile file(Home.filePath(QStringLiteral(".config/chromium/Default/Bookmarks")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"roots\": {\"bookmark_bar\": {\"type\": \"folder\", \"name\": \"Bookmarks bar\", \"children\": ["
                   "{\"type\": \"folder\", \"name\": \"Dev\", \"children\": ["
                   "{\"type\": \"url\", \"name\": \"Qt\", \"url\": \"https://www.qt.io/\"},"
                   "{\"type\": \"url\", \"name\": \"\", \"url\": \"https://doc.qt.io/\"}]}]}}, \"version\": 1}");
    }

    QTemporaryDir Home;
    TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
};

TBrowserStoreRow Row(const char* browser, const char* profile, int count, bool isDefault = false) {
    return {TBrowserStore{browser, profile, "/p", std::string("/p/") + profile, isDefault}, count,
            count < 0 ? "読めません" : ""};
}

} // namespace

class TBrowserImportTest : public QObject {
    Q_OBJECT

private slots:
    void theFileMenuOffersTheImportAndSaysWhenThereIsNoStore() {
        TFixture f;
        QMenu* file = f.Window->menuBar()->actions().value(0)->menu();
        QVERIFY(file != nullptr);
        QVERIFY(file->actions().contains(f.Window->BrowserImport().actImportBrowserBookmarks));
        QCOMPARE(f.Window->BrowserImport().actImportBrowserBookmarks->text(),
                 QStringLiteral("ブラウザのブックマーク(&W)..."));
        // With no store found it says so.
        f.Window->BrowserImport().actImportBrowserBookmarks->trigger();
        QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|ブラウザのブックマークが見つかりません。")});
        QVERIFY(!f.Window->Document().Modified());
    }

    void aFolderWithSubfoldersIsRefused() {
        TFixture f;
        f.PutChromium();
        f.Window->Document().Root().AddChild("Sub");
        bool asked = false;
        f.Window->BrowserImport().SetChooser([&asked](const std::vector<TBrowserStoreRow>&) {
            asked = true;
            return std::optional<TBrowserStore>();
        });
        f.Window->BrowserImport().actImportBrowserBookmarks->trigger();
        QVERIFY(!asked);
        QCOMPARE(f.Prompts.Seen,
                 QStringList{QStringLiteral(
                     "ブックマークのインポート|現在選択されているフォルダはサブフォルダを持っているため、"
                     "実行できません。空のフォルダを選択してからやり直してください。")});
    }

    void theChosenStoreIsImportedIntoTheSelectedFolder() {
        TFixture f;
        f.PutChromium();
        std::vector<TBrowserStoreRow> offered;
        f.Window->BrowserImport().SetChooser([&offered](const std::vector<TBrowserStoreRow>& rows) {
            offered = rows;
            return std::optional<TBrowserStore>(rows.front().Store);
        });
        QVERIFY(f.Window->BrowserImport().Execute());
        QCOMPARE(offered.size(), std::size_t{1});
        QCOMPARE(offered[0].Count, 2);
        QCOMPARE(offered[0].Store.Browser, std::string("chromium"));
        QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|ブックマークのインポートが完了しました。")});
        QVERIFY(f.Window->Document().Modified());

        // The tree view shows the new folders expanded.
        QTreeView* view = f.Window->TreeView();
        const QModelIndex root = view->model()->index(0, 0);
        const QModelIndex bar = view->model()->index(0, 0, root);
        QCOMPARE(bar.data().toString(), QStringLiteral("ブックマーク バー"));
        const QModelIndex dev = view->model()->index(0, 0, bar);
        QCOMPARE(dev.data().toString(), QStringLiteral("Dev"));
        QVERIFY(view->isExpanded(bar));
        const THVFolder* folder = f.Window->Document().Root().Children()[0]->Children()[0].get();
        QCOMPARE(folder->List().Count(), 2);
        QCOMPARE(folder->List().Items(1)->GetName(), std::string("https://doc.qt.io/"));
    }

    void theDialogListsStoresAndImportsOnlyReadableOnes() {
        TBrowserImportDlg dialog;
        dialog.Load({Row("firefox", "broken", -1), Row("chromium", "Default", 3), Row("chrome", "仕事", 12, true)});
        QTreeWidget* list = dialog.List();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(2)->text(0), QStringLiteral("Google Chrome"));
        QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("仕事"));
        QCOMPARE(list->topLevelItem(2)->text(2), QStringLiteral("12"));
        QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("読めません"));
        // The default profile is chosen first.
        QCOMPARE(dialog.ChosenStore()->Profile, std::string("仕事"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect broken = list->visualItemRect(list->topLevelItem(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, broken.center());
        QVERIFY(!dialog.ImportButton()->isEnabled());
        QVERIFY(!dialog.ChosenStore());
        QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
        QVERIFY(dialog.isVisible());

        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(dialog.ImportButton()->isEnabled());
        QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenStore()->Browser, std::string("chromium"));
    }
};

QTEST_MAIN(TBrowserImportTest)
#include "test_browserimport.moc"
