#include "GuiTestSupport.h"
#include "app/FileDialogs.h"
#include "importexport/ImpBrowserDlg.h"
#include "importexport/ImpHtmlDlg.h"
#include "importexport/ImportActions.h"
#include "importexport/LinkListModel.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "model/HVFolder.h"
#include "platform/BrowserConversation.h"
#include "settings/RegistryStore.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <map>
#include <memory>

using hv::TBrowserConversation;
using hv::THVFolder;
using hv::THVWindow;
using hv::TImpBrowserDlg;
using hv::TImpHtmlDlg;
using hv::TLinkListModel;
using hv::TYesNoCancel;
using hv::test::TScriptedPrompts;

namespace {

// Browsers that answer from a table (service to answer text), counting the requests.
class TFakeConversation final : public TBrowserConversation {
public:
    std::map<std::string, std::string, std::less<>> Answers;
    std::optional<std::string> Request(std::string_view service, std::string_view, std::string_view) override {
        const auto it = Answers.find(service);
        return it == Answers.end() ? std::nullopt : std::optional(it->second);
    }
};

struct TFixture {
    TFixture() : Settings(Store) {
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        Imports().SetHomeDirectory(Home.path());
        Imports().SetConversation(&Browsers);
        hv::TFileDialogs::ClearAnswers();
    }
    hv::TImportActions& Imports() { return Window->Imports(); }
    THVFolder& Root() { return Window->Document().Root(); }
    QString Write(const QString& relative, const QByteArray& bytes) {
        const QString path = Home.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    std::vector<std::string> Names(const THVFolder& folder) const {
        std::vector<std::string> names;
        for (int i = 0; i < folder.List().Count(); ++i) {
            names.push_back(folder.List().Items(i)->GetName());
        }
        return names;
    }
    // The rows of the checklist as "✓title|url|source#sequence".
    QStringList Rows(TImpHtmlDlg& dialog) const {
        QStringList rows;
        for (const hv::THtmlLink& link : dialog.Model()->Links()) {
            rows << QStringLiteral("%1%2|%3|%4#%5")
                        .arg(link.Checked ? QStringLiteral("✓") : QString(), QString::fromStdString(link.Title),
                             QString::fromStdString(link.URL), QString::fromStdString(link.Source))
                        .arg(link.Sequence);
        }
        return rows;
    }
    TImpHtmlDlg& OpenChecklist() {
        Imports().actImportHtml->trigger();
        return *Imports().HtmlDialog();
    }
    void Drop(QWidget* target, const QStringList& files) {
        QList<QUrl> urls;
        for (const QString& file : files) {
            urls << QUrl::fromLocalFile(file);
        }
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &drop);
    }

    QTemporaryDir Home;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    TFakeConversation Browsers;
    std::unique_ptr<THVWindow> Window;
};

const QByteArray kPageA = "<html><body>\r\n"
                          "<a href=\"http://b.example/\">Beta &amp; co</a>\r\n"
                          "<a href=\"mailto:x@example.com\">Mail</a> <a name=\"top\">anchor</a>\r\n"
                          "<a href=\"HTTP://a.example/\"><img src=\"a.png\"></a>\r\n"
                          "</body></html>\r\n";
const QByteArray kPageB = "<p><a href=\"relative.html\">Alpha\r\nline</a></p>\r\n";

using TNames = std::vector<std::string>;

} // namespace

class TImportsTest : public QObject {
    Q_OBJECT

private slots:
    void checklistListsDroppedFilesInDropOrder();
    void checklistSortsByMenuAndHeader();
    void checklistEditedTitleIsImportedUniquelyTwice();
    void checklistIsOneWindowThatFreesItself();
    void bookmarkImportRefusesAFolderWithSubfolders();
    void bookmarkImportAsksAboutTheBookmarksInUse();
    void bookmarkImportKeepsWhatWasReadBeforeAnError();
    void favoritesAreAppendedToAFolderWithItems();
    void sameShortcutTwiceGetsAUniqueName();
    void captureWithoutTheDialogTakesTheOnlyAnswer();
    void captureDialogOffersTheBrowsersThatAnswered();
    void captureDontConfirmIsKeptOnlyOnOK();
};

void TImportsTest::checklistListsDroppedFilesInDropOrder() {
    TFixture f;
    const QString a = f.Write(QStringLiteral("a.html"), kPageA);
    const QString b = f.Write(QStringLiteral("b.htm"), kPageB);
    TImpHtmlDlg& dialog = f.OpenChecklist();
    QAbstractItemModelTester tester(dialog.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    f.Drop(&dialog, {b, a});
    QTRY_COMPARE(dialog.Model()->rowCount(), 4);
    QCOMPARE(f.Rows(dialog), (QStringList{
                                 QStringLiteral("Alpha line|relative.html|b.htm (1行目)#1"),
                                 QStringLiteral("✓Beta & co|http://b.example/|a.html (2行目)#2"),
                                 QStringLiteral("Mail|mailto:x@example.com|a.html (3行目)#3"),
                                 QStringLiteral("✓(Untitled)|HTTP://a.example/|a.html (4行目)#4"),
                             }));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("HTMLファイルのインポート"));
    QCOMPARE(dialog.List()->currentIndex().row(), 0);

    // The check menu's commands.
    dialog.actInvertChecks->trigger();
    QVERIFY(dialog.Model()->Links()[0].Checked && !dialog.Model()->Links()[1].Checked);
    dialog.actCheckAll->trigger();
    dialog.actUncheckAll->trigger();
    for (const hv::THtmlLink& link : dialog.Model()->Links()) {
        QVERIFY(!link.Checked);
    }

    // A new opening replaces the list.
    hv::TFileDialogs::QueueAnswer(b);
    dialog.actOpenFile->trigger();
    QCOMPARE(dialog.Model()->rowCount(), 1);
}

void TImportsTest::checklistSortsByMenuAndHeader() {
    TFixture f;
    TImpHtmlDlg& dialog = f.OpenChecklist();
    dialog.OpenFiles({f.Write(QStringLiteral("a.html"), kPageA), f.Write(QStringLiteral("b.html"), kPageB)});
    const auto column = [&dialog](int col) {
        QStringList texts;
        for (int row = 0; row < dialog.Model()->rowCount(); ++row) {
            texts << dialog.Model()->index(row, col).data().toString();
        }
        return texts;
    };
    dialog.actSortByName->trigger();
    QCOMPARE(column(0), (QStringList{QStringLiteral("(Untitled)"), QStringLiteral("Alpha line"),
                                     QStringLiteral("Beta & co"), QStringLiteral("Mail")}));
    // Byte order: capitals before small letters.
    QHeaderView* header = dialog.List()->header();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QCOMPARE(column(1).first(), QStringLiteral("HTTP://a.example/"));
    QCOMPARE(column(1).last(), QStringLiteral("relative.html"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    QCOMPARE(column(0).first(), QStringLiteral("Beta & co"));
}

void TImportsTest::checklistEditedTitleIsImportedUniquelyTwice() {
    TFixture f;
    f.Root().List().Add("Renamed");
    TImpHtmlDlg& dialog = f.OpenChecklist();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.OpenFiles({f.Write(QStringLiteral("a.html"), kPageA)});
    QTest::keyClick(dialog.List(), Qt::Key_F2);
    auto* editor = dialog.List()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    // Importing while a title is edited does nothing.
    dialog.Import();
    QVERIFY(f.Prompts.Seen.isEmpty());
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Renamed"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(dialog.Model()->Links()[0].Title, std::string("Renamed"));

    dialog.actImport->trigger();
    QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|2個のリンクをインポートしました。")});
    QCOMPARE(f.Names(f.Root()), (TNames{"(Untitled)", "Renamed", "Renamed~1"}));
    QVERIFY(f.Window->Document().Modified());
    QCOMPARE(f.Window->ListView()->model()->rowCount(), 3);

    dialog.actImport->trigger();
    QCOMPARE(f.Names(f.Root()), (TNames{"(Untitled)", "(Untitled)~1", "Renamed", "Renamed~1", "Renamed~2"}));
}

void TImportsTest::checklistIsOneWindowThatFreesItself() {
    TFixture f;
    TImpHtmlDlg* first = &f.OpenChecklist();
    QCOMPARE(&f.OpenChecklist(), first);
    QCOMPARE(first->minimumSize(), QSize(400, 160));
    first->close();
    QTRY_VERIFY(f.Imports().HtmlDialog() == nullptr);
    QVERIFY(hv::ReadRestorePos(f.Store, hv::RestorePosKeyName, "ImpHtmlDlgRect").has_value());
}

void TImportsTest::bookmarkImportRefusesAFolderWithSubfolders() {
    TFixture f;
    f.Root().AddChild("Sub");
    f.Imports().actImportBookmark->trigger();
    QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral(
                                 "ブックマークのインポート|現在選択されているフォルダはサブフォルダを持っているため、"
                                 "実行できません。空のフォルダを選択してからやり直してください。")});
}

void TImportsTest::bookmarkImportAsksAboutTheBookmarksInUse() {
    const QString question =
        QStringLiteral("Hollyvine|現在使用中のブックマークをインポートしますか？\n\n"
                       "[はい] をクリックすると、現在使用中のブックマークをインポートします。\n"
                       "[いいえ] をクリックすると、インポートするブックマークファイルを選択できます。");
    const QString done = QStringLiteral("Hollyvine|ブックマークのインポートが完了しました。");
    const auto profile = [](TFixture& f) {
        f.Write(QStringLiteral(".mozilla/firefox/profiles.ini"),
                "[Profile0]\nName=default\nIsRelative=1\nPath=p.default\nDefault=1\n");
        f.Write(QStringLiteral(".mozilla/firefox/p.default/bookmarks.html"),
                "<DL><p><DT><H3>Dev</H3><DL><p><DT><H3>Sub</H3><DL><DT><A HREF=\"http://d/\">Deep</A></DL>"
                "<DT><A HREF=\"http://qt.io/\">Qt</A></DL><p></DL>");
    };
    for (const TYesNoCancel answer : {TYesNoCancel::Yes, TYesNoCancel::No, TYesNoCancel::Cancel}) {
        TFixture f;
        profile(f);
        // No: the file dialog chooses another file.
        hv::TFileDialogs::QueueAnswer(
            f.Write(QStringLiteral("other.html"), "<DL><DT><A HREF=\"http://o/\">O</A></DL>"));
        f.Prompts.YesNoCancelAnswers = {answer};
        f.Imports().actImportBookmark->trigger();
        QCOMPARE(f.Prompts.Seen,
                 answer == TYesNoCancel::Cancel ? QStringList{question} : (QStringList{question, done}));
        QCOMPARE(hv::TFileDialogs::PendingAnswers(), answer == TYesNoCancel::No ? 0 : 1);
        QCOMPARE(f.Window->Document().Modified(), answer != TYesNoCancel::Cancel);
        if (answer == TYesNoCancel::Yes) {
            QCOMPARE(f.Root().ChildCount(), 1);
            QCOMPARE(f.Names(*f.Root().Child(0)), TNames{"Qt"});
            QVERIFY(f.Window->TreeView()->isExpanded(f.Window->FolderModel()->IndexOf(f.Root().Child(0))));
        } else if (answer == TYesNoCancel::No) {
            QCOMPARE(f.Names(f.Root()), TNames{"O"});
            QCOMPARE(f.Window->ListView()->model()->rowCount(), 1);
        } else {
            QCOMPARE(f.Root().ChildCount() + f.Root().List().Count(), 0);
        }
    }
}

void TImportsTest::bookmarkImportKeepsWhatWasReadBeforeAnError() {
    TFixture f;
    // No profile: the file dialog comes at once.
    hv::TFileDialogs::QueueAnswer(
        f.Write(QStringLiteral("broken.html"), "<DL><DT><A HREF=\"http://a/\">A</A>\n<DT><A HREF=\"http://b/"));
    f.Imports().actImportBookmark->trigger();
    QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|文字列が終了していません(行番号: 2)")});
    QCOMPARE(f.Names(f.Root()), TNames{"A"});
    QVERIFY(f.Window->Document().Modified());
}

void TImportsTest::favoritesAreAppendedToAFolderWithItems() {
    TFixture f;
    f.Root().List().Add("z")->SetURL("http://z/");
    f.Write(QStringLiteral("Favorites/News/a.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    f.Write(QStringLiteral("Favorites/Page.URL"), "[InternetShortcut]\r\nURL=http://p/\r\n");
    f.Write(QStringLiteral("Favorites/readme.txt"), "x");
    f.Prompts.YesNoAnswers = {true};
    f.Imports().actImportFavorites->trigger();
    QCOMPARE(
        f.Prompts.Seen,
        (QStringList{QStringLiteral("[お気に入り] のインポート|フォルダ 'Hollyvine' の中に、Windows に登録されている "
                                    "[お気に入り] の内容を取り込みます。\n\n続けてよろしいですか？"),
                     QStringLiteral("Hollyvine|[お気に入り] のインポートが完了しました。")}));
    // The list shows, and so keeps, its items in name order.
    QCOMPARE(f.Names(f.Root()), (TNames{"Page", "z"}));
    QCOMPARE(f.Root().ChildCount(), 1);
    QCOMPARE(f.Names(*f.Root().Child(0)), TNames{"a"});
    QVERIFY(f.Window->Document().Modified());
}

void TImportsTest::sameShortcutTwiceGetsAUniqueName() {
    TFixture f;
    const QString x = f.Write(QStringLiteral("x.url"), "[InternetShortcut]\r\nURL=http://x/\r\n");
    const QString empty = f.Write(QStringLiteral("e.url"), "[InternetShortcut]\r\n");
    hv::TFileDialogs::QueueAnswer(x + QLatin1Char('\n') + empty);
    f.Imports().actImportShortcut->trigger();
    hv::TFileDialogs::QueueAnswer(x);
    f.Imports().actImportShortcut->trigger();
    QCOMPARE(f.Names(f.Root()), (TNames{"x", "x~1"}));
    QCOMPARE(f.Prompts.Seen, QStringList(2, QStringLiteral("Hollyvine|1 個のショートカットをインポートしました。")));
    QCOMPARE(f.Window->ListView()->model()->rowCount(), 2);
}

void TImportsTest::captureWithoutTheDialogTakesTheOnlyAnswer() {
    TFixture f;
    f.Settings.Set(hv::opt::Main::ImpBrowserConfirm, false);
    f.Imports().actImportBrowser->trigger();
    QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|ブラウザが見つかりません。URL を取得できません。")});
    QVERIFY(!f.Window->Document().Modified());

    f.Browsers.Answers["Netscape"] = "\"http://t/\",\"T\"";
    f.Imports().actImportBrowser->trigger();
    f.Imports().actImportBrowser->trigger();
    QCOMPARE(f.Names(f.Root()), (TNames{"T", "T~1"}));
    QCOMPARE(f.Prompts.Seen.size(), 1);
    QVERIFY(f.Window->Document().Modified());
    // The new row is the only one selected.
    const QModelIndexList selected = f.Window->ListView()->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected[0].data().toString(), QStringLiteral("T~1"));
}

void TImportsTest::captureDialogOffersTheBrowsersThatAnswered() {
    TFixture f;
    f.Browsers.Answers["IExplore"] = "\"http://c/\",\"Page, one\"";
    f.Browsers.Answers["Netscape"] = "\"http://f/\",\"F\"";
    QStringList seen;
    bool chromiumFirst = false;
    f.Imports().SetBrowserDialogRunner([&seen, &chromiumFirst](TImpBrowserDlg& dialog) {
        seen << dialog.edtTitle->text();
        chromiumFirst = dialog.rdbIE->isChecked() && dialog.rdbNN->isEnabled();
        dialog.rdbNN->click();
        seen << dialog.edtTitle->text();
        dialog.edtTitle->setText(QStringLiteral("Edited"));
        return true;
    });
    f.Imports().actImportBrowser->trigger();
    QVERIFY(chromiumFirst);
    QCOMPARE(seen, (QStringList{QStringLiteral("Page, one"), QStringLiteral("F")}));
    QCOMPARE(f.Names(f.Root()), TNames{"Edited"});
    QCOMPARE(f.Root().List().Items(0)->GetURL(), std::string("http://f/"));

    // Only Chromium answered, Firefox preferred: the Firefox button is checked though disabled.
    f.Browsers.Answers.erase("Netscape");
    f.Settings.Set(hv::opt::Main::ImpBrowserNNFirst, true);
    bool firefoxChecked = false;
    f.Imports().SetBrowserDialogRunner([&firefoxChecked](TImpBrowserDlg& dialog) {
        firefoxChecked = dialog.rdbNN->isChecked() && !dialog.rdbNN->isEnabled() && dialog.rdbIE->isEnabled() &&
                         dialog.edtURL->text().isEmpty();
        return false;
    });
    f.Imports().actImportBrowser->trigger();
    QVERIFY(firefoxChecked);
    QCOMPARE(f.Root().List().Count(), 1);
}

void TImportsTest::captureDontConfirmIsKeptOnlyOnOK() {
    TFixture f;
    f.Browsers.Answers["IExplore"] = "\"http://c/\",\"C\"";
    const auto tick = [](bool ok) {
        return [ok](TImpBrowserDlg& dialog) {
            dialog.chkDontConfirm->setChecked(true);
            return ok;
        };
    };
    f.Imports().SetBrowserDialogRunner(tick(false));
    f.Imports().actImportBrowser->trigger();
    QVERIFY(f.Settings.Get(hv::opt::Main::ImpBrowserConfirm));
    QCOMPARE(f.Root().List().Count(), 0);
    QVERIFY(!f.Window->Document().Modified());

    f.Imports().SetBrowserDialogRunner(tick(true));
    f.Imports().actImportBrowser->trigger();
    QVERIFY(!f.Settings.Get(hv::opt::Main::ImpBrowserConfirm));
    // The next capture goes without the dialog.
    f.Imports().SetBrowserDialogRunner([](TImpBrowserDlg&) {
        qFatal("the dialog was shown");
        return false;
    });
    f.Imports().actImportBrowser->trigger();
    QCOMPARE(f.Names(f.Root()), (TNames{"C", "C~1"}));
}

QTEST_MAIN(TImportsTest)
#include "test_imports.moc"
