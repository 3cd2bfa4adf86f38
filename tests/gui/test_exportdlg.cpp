#include "GuiTestSupport.h"
#include "app/FileDialogs.h"
#include "importexport/ExpBmDlg.h"
#include "importexport/ExpFavoritesDlg.h"
#include "importexport/ExpHtmlDlg.h"
#include "importexport/ExportActions.h"
#include "importexport/ExportFolderDlg.h"
#include "importexport/HtmlParse.h"
#include "importexport/ImpBookmark.h"
#include "importexport/ImpHtml.h"
#include "importexport/Shortcut.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "model/HVFolder.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <memory>

using hv::TExpBmDlg;
using hv::TExpFavoritesDlg;
using hv::TExpHtmlDlg;
using hv::THVFolder;
using hv::THVWindow;
using hv::test::TScriptedPrompts;

namespace {

// The root holds one item; "フォルダA" holds an item with a query and the subfolder "A1";
// "B" holds one item.
const QByteArray kDocument = "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n"
                             "[Item]\r\nTitle=ルート項目\r\nURL=http://r/\r\n\r\n"
                             "[Folder]\r\nLevel=1\r\nName=フォルダA\r\n\r\n"
                             "[Item]\r\nTitle=日本語 & <b>\r\nURL=http://a/?x=1&y=2\r\n\r\n"
                             "[Folder]\r\nLevel=2\r\nName=A1\r\n\r\n"
                             "[Item]\r\nTitle=a1\r\nURL=http://a1/\r\n\r\n"
                             "[Folder]\r\nLevel=1\r\nName=B\r\n\r\n"
                             "[Item]\r\nTitle=b\r\nURL=http://b/\r\n\r\n";

const QString kDone = QStringLiteral("Hollyvine|エクスポートが完了しました。");

template <class T> T* Find(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no widget %s", name);
    }
    return child;
}

void Click(QWidget& parent, const char* name) {
    // A click lands where the laid-out button is.
    if (!parent.window()->isVisible()) {
        parent.window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(parent.window()));
    }
    // Near the left edge: a radio button or check box takes clicks on its indicator and text only.
    auto* button = Find<QAbstractButton>(parent, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(button->width() / 2, 8), button->height() / 2));
}

// Folders as "[name]" lines, items as "name <url>", indented by depth.
std::string Outline(const THVFolder& folder) {
    std::string out;
    hv::ForEachFolder(folder, [&out](const THVFolder& f, int level) {
        const std::string indent(static_cast<std::size_t>(level) * 2, ' ');
        if (level > 0) {
            out += indent.substr(2) + "[" + f.Name() + "]\n";
        }
        for (int i = 0; i < f.List().Count(); ++i) {
            out += indent + f.List().Items(i)->GetName() + " <" + f.List().Items(i)->GetURL() + ">\n";
        }
    });
    return out;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct TFixture {
    TFixture() : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        const QString path = Dir.filePath(QStringLiteral("links.hv"));
        WriteBytes(path, kDocument);
        Doc().Open(hv::FullFileName(path.toStdString()));
        Window->Exports().SetHomeDirectory(Dir.path());
    }
    hv::THVDocument& Doc() { return Window->Document(); }
    THVFolder& Folder(const std::string& name) {
        for (int i = 0; i < Doc().Root().ChildCount(); ++i) {
            if (Doc().Root().Child(i)->Name() == name) {
                return *Doc().Root().Child(i);
            }
        }
        qFatal("no folder %s", name.c_str());
    }
    THVFolder& FolderA() { return Folder("フォルダA"); }
    void Select(THVFolder& folder) { Window->TreeView()->setCurrentIndex(Window->FolderModel()->IndexOf(&folder)); }
    QString Path(const char* name) const { return Dir.filePath(QString::fromUtf8(name)); }
    // The bookmark file read back through the import.
    std::string ImportedOutline(const QString& path) {
        THVFolder root("r");
        hv::ImportBookmarkFile(path.toStdString(), root);
        return Outline(root);
    }

    QTemporaryDir Dir;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
};

// The reader keeps folders sorted by name.
const std::string kWholeTree = "ルート項目 <http://r/>\n"
                               "[B]\n"
                               "  b <http://b/>\n"
                               "[フォルダA]\n"
                               "  日本語 & <b> <http://a/?x=1&y=2>\n"
                               "  [A1]\n"
                               "    a1 <http://a1/>\n";

} // namespace

class TExportDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() { hv::TFileDialogs::ClearAnswers(); }
    void bookmarkTargets();
    void bookmarkOverwriteAnsweredNoThenYes();
    void bookmarkMarksCollapsedFoldersFolded();
    void bookmarkFailedWriteShowsTheErrorOnly();
    void bookmarkSettingsAreKept();
    void favoritesFolderIsOfferedAndExportedTwice();
    void favoritesClearingDeclinedWritesNothing();
    void favoritesErrorsPageShowsAfterErrorsOnly();
    void favoritesWindowIsSingleAndFollowsTheSelection();
    void favoritesDestinationAndSubFolder();
    void htmlPageInEachEncoding_data();
    void htmlPageInEachEncoding();
    void htmlSettingsAreKept();
    void menuAndShortcuts();
};

void TExportDlgTest::bookmarkTargets() {
    const std::string current = "日本語 & <b> <http://a/?x=1&y=2>\n[A1]\n  a1 <http://a1/>\n";
    for (const auto& [all, outline] : {std::pair{true, kWholeTree}, std::pair{false, current}}) {
        TFixture f;
        f.Select(f.FolderA());
        const QString out = f.Path("bm.html");
        hv::TFileDialogs::QueueAnswer(out);
        f.Window->Exports().SetBmDialogRunner([&](TExpBmDlg& dialog) {
            Click(dialog, all ? "rdgAllFolder1" : "rdgAllFolder0");
            Click(dialog, "btnExport");
            QCOMPARE(Find<QLabel>(dialog, "lblFileName")->toolTip(), out);
        });
        f.Window->Exports().actExportBookmark->trigger();
        QCOMPARE(f.ImportedOutline(out), outline);
        QCOMPARE(f.Prompts.Seen, QStringList{kDone});
        QVERIFY(ReadBytes(out).contains("<title>Hollyvine</title>"));
    }
}

void TExportDlgTest::bookmarkOverwriteAnsweredNoThenYes() {
    TFixture f;
    const QString out = f.Path("old.html");
    QVERIFY(WriteBytes(out, "old"));
    TExpBmDlg dialog(f.Doc().Root(), &f.FolderA(), f.Prompts, &f.Settings);
    dialog.SetFileName(out);
    f.Prompts.YesNoAnswers = {false, true};
    Click(dialog, "btnExport");
    QCOMPARE(ReadBytes(out), QByteArray("old"));
    const QString question =
        QStringLiteral("Hollyvine|ファイル \"%1\" は既に存在しています。上書きしてよろしいですか？").arg(out);
    QCOMPARE(f.Prompts.Seen, QStringList{question});
    Click(dialog, "btnExport");
    QCOMPARE(f.Prompts.Seen, (QStringList{question, question, kDone}));
    QCOMPARE(f.ImportedOutline(out), kWholeTree);
    QVERIFY(dialog.isVisible()); // stays open after an export
}

void TExportDlgTest::bookmarkMarksCollapsedFoldersFolded() {
    TFixture f;
    const QModelIndex a = f.Window->FolderModel()->IndexOf(&f.FolderA());
    TExpBmDlg dialog(f.Doc().Root(), nullptr, f.Prompts, &f.Settings);
    dialog.SetFileName(f.Path("fold.html"));
    f.Window->TreeView()->collapse(a);
    QVERIFY(dialog.Export());
    QVERIFY(ReadBytes(f.Path("fold.html")).contains("<dt><h3 folded>フォルダA</h3>"));
    f.Prompts.YesNoAnswers = {true};
    f.Window->TreeView()->expand(a);
    QVERIFY(dialog.Export());
    QVERIFY(ReadBytes(f.Path("fold.html")).contains("<dt><h3>フォルダA</h3>"));
}

void TExportDlgTest::bookmarkFailedWriteShowsTheErrorOnly() {
    TFixture f;
    TExpBmDlg dialog(f.Doc().Root(), nullptr, f.Prompts, &f.Settings);
    const QString out = f.Path("missing/bm.html");
    dialog.SetFileName(out);
    QVERIFY(!dialog.Export());
    QCOMPARE(f.Prompts.Seen.size(), 1); // no "done" after it
    QVERIFY2(f.Prompts.Seen.at(0).contains(out), qPrintable(f.Prompts.Seen.at(0)));
}

void TExportDlgTest::bookmarkSettingsAreKept() {
    TFixture f;
    {
        TExpBmDlg dialog(f.Doc().Root(), &f.FolderA(), f.Prompts, &f.Settings);
        QVERIFY(Find<QAbstractButton>(dialog, "rdgAllFolder1")->isChecked()); // the defaults
        QVERIFY(Find<QCheckBox>(dialog, "chkItemsFirst")->isChecked());
        QCOMPARE(Find<QLineEdit>(dialog, "edtTitle")->text(), QStringLiteral("Hollyvine"));
        Click(dialog, "rdgAllFolder0");
        Click(dialog, "chkItemsFirst");
        dialog.move(40, 50);
    }
    QCOMPARE(f.Settings.Key(hv::opt::ExportBm::AllFolder).AsInteger(), 0);
    QVERIFY(hv::ReadRestorePos(f.Store, hv::RestorePosKeyName, "ExpBmDlgRect").has_value());
    TExpBmDlg again(f.Doc().Root(), &f.FolderA(), f.Prompts, &f.Settings);
    QVERIFY(Find<QAbstractButton>(again, "rdgAllFolder0")->isChecked());
    QVERIFY(!Find<QCheckBox>(again, "chkItemsFirst")->isChecked());
}

void TExportDlgTest::favoritesFolderIsOfferedAndExportedTwice() {
    TFixture f;
    f.Prompts.YesNoAnswers = {true};
    f.Window->Exports().actExportFavorites->trigger();
    const QString favorites = f.Path("Favorites");
    QCOMPARE(f.Prompts.Seen,
             QStringList{QStringLiteral("Hollyvine|エクスポート先のフォルダ '%1' がありません。作成してよろし"
                                        "いですか？")
                             .arg(favorites)});
    QVERIFY(QFileInfo(favorites).isDir());
    TExpFavoritesDlg* dialog = f.Window->Exports().FavoritesDialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(Find<QLabel>(*dialog, "lblDestination")->toolTip(), favorites);
    Click(*dialog, "rdgAllFolder1");
    Click(*dialog, "btnExport");
    Click(*dialog, "btnExport");
    QCOMPARE(f.Prompts.Seen.mid(1), (QStringList{kDone, kDone}));
    for (const char* name : {"ルート項目.url", "ルート項目(2).url", "フォルダA/A1/a1.url", "フォルダA/A1/a1(2).url"}) {
        QVERIFY2(QFileInfo::exists(favorites + QLatin1Char('/') + QString::fromUtf8(name)), name);
    }
    // "<" and ">" in the name are widened, the URL is kept.
    const QString item = favorites + QStringLiteral("/フォルダA/日本語 & ＜b＞(2).url");
    QCOMPARE(hv::ReadShortcutURL(item.toStdString()), std::string("http://a/?x=1&y=2"));
    QVERIFY(!dialog->ErrorsPageShown());
}

void TExportDlgTest::favoritesClearingDeclinedWritesNothing() {
    TFixture f;
    QDir(f.Dir.path()).mkdir(QStringLiteral("Favorites"));
    f.Window->Exports().actExportFavorites->trigger();
    TExpFavoritesDlg* dialog = f.Window->Exports().FavoritesDialog();
    QVERIFY(f.Prompts.Seen.isEmpty()); // the folder exists: no question
    Click(*dialog, "chkClear");
    Click(*dialog, "btnExport");
    QCOMPARE(
        f.Prompts.Seen,
        QStringList{QStringLiteral("Hollyvine|%1\n現在このフォルダ以下にある項目（インターネットショートカット）とサブ"
                                   "フォルダを削除します。よろしいですか？")
                        .arg(f.Path("Favorites"))});
    QVERIFY(QDir(f.Path("Favorites")).isEmpty());
}

void TExportDlgTest::favoritesErrorsPageShowsAfterErrorsOnly() {
    TFixture f;
    QDir(f.Dir.path()).mkpath(QStringLiteral("out"));
    QVERIFY(WriteBytes(f.Path("out/B"), {})); // a file where the folder B wants its directory
    TExpFavoritesDlg dialog(
        f.Path("out"), [&f](bool) { return &f.Doc().Root(); }, f.Prompts, &f.Settings);
    auto* pages = Find<QTabWidget>(dialog, "PageControl");
    QVERIFY(!pages->isTabVisible(1));
    Click(dialog, "btnExport");
    QCOMPARE(f.Prompts.Seen, QStringList{kDone});
    QVERIFY(pages->isTabVisible(1));
    QCOMPARE(pages->currentIndex(), 1);
    QCOMPARE(Find<QPlainTextEdit>(dialog, "memErrors")->toPlainText(),
             QStringLiteral("フォルダ '%1' を作れませんでした。").arg(f.Path("out/B")));
    QVERIFY(QFileInfo::exists(f.Path("out/フォルダA/A1/a1.url")));
    QVERIFY(QFile::remove(f.Path("out/B")));
    pages->setCurrentIndex(0);
    Click(dialog, "btnExport");
    QVERIFY(!pages->isTabVisible(1));
    QCOMPARE(pages->currentIndex(), 0);
}

void TExportDlgTest::favoritesWindowIsSingleAndFollowsTheSelection() {
    TFixture f;
    f.Prompts.YesNoAnswers = {true};
    f.Window->Exports().actExportFavorites->trigger();
    TExpFavoritesDlg* first = f.Window->Exports().FavoritesDialog();
    f.Window->Exports().actExportFavorites->trigger();
    QCOMPARE(f.Window->Exports().FavoritesDialog(), first);
    QVERIFY(!first->isModal());
    f.Select(*f.FolderA().Child(0)); // "A1", chosen after the window opened
    Click(*first, "btnExport");
    QCOMPARE(QDir(f.Path("Favorites")).entryList(QDir::Files), QStringList{QStringLiteral("a1.url")});
    Click(*first, "btnClose");
    QTRY_VERIFY(f.Window->Exports().FavoritesDialog() == nullptr);
    QVERIFY(hv::ReadRestorePos(f.Store, hv::RestorePosKeyName, "ExpFavoritesDlgPos").has_value());
}

void TExportDlgTest::favoritesDestinationAndSubFolder() {
    TFixture f;
    TExpFavoritesDlg dialog(
        f.Dir.path(), [&f](bool) { return &f.Doc().Root(); }, f.Prompts, nullptr);
    QStringList opened;
    dialog.SetDirectoryOpener([&opened](const QString& dir) {
        opened << dir;
        return true;
    });
    // The folder dialog as a user works it: a bad name first, then a good one, then OK.
    dialog.SetFolderChooser([&f](const QString& current, QWidget* parent) -> std::optional<QString> {
        hv::TExportFolderDlg chooser(current, f.Prompts, parent);
        if (chooser.SelectedPath() != current) {
            return std::nullopt;
        }
        QStringList names{QStringLiteral("a:b"), QStringLiteral("新規")};
        chooser.SetNameAsker([&names](QWidget*) { return std::optional<QString>(names.takeFirst()); });
        Click(chooser, "btnCreateFolder");
        Click(chooser, "btnCreateFolder");
        return chooser.SelectedPath();
    });
    Click(dialog, "btnChange");
    QCOMPARE(dialog.Destination(), f.Path("新規"));
    QVERIFY(QFileInfo(f.Path("新規")).isDir());
    QVERIFY(!QFileInfo::exists(f.Path("a:b")));
    QCOMPARE(f.Prompts.Seen, QStringList{QStringLiteral("Hollyvine|フォルダ名に使えない文字が含まれていました。")});
    Click(dialog, "btnOpen");
    Click(dialog, "btnExplore");
    QCOMPARE(opened, (QStringList{f.Path("新規"), f.Path("新規")}));
}

void TExportDlgTest::htmlPageInEachEncoding_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("charset");
    QTest::newRow("Shift_JIS") << 0 << QByteArray("shift_jis");
    QTest::newRow("JIS") << 1 << QByteArray("iso-2022-jp");
    QTest::newRow("EUC-JP") << 2 << QByteArray("euc-jp");
    QTest::newRow("UTF-8") << 3 << QByteArray("utf-8");
}

void TExportDlgTest::htmlPageInEachEncoding() {
    QFETCH(int, code);
    QFETCH(QByteArray, charset);
    TFixture f;
    const QString out = f.Path("page.html");
    hv::TFileDialogs::QueueAnswer(out);
    f.Window->Exports().SetHtmlDialogRunner([&](TExpHtmlDlg& dialog) {
        QCOMPARE(Find<QLineEdit>(dialog, "edtTitle")->text(), QStringLiteral("Hollyvine - links.hv"));
        const QList<QColor> picks{QColor(0x10, 0x20, 0x30), QColor(0xfe, 0xdc, 0xba), QColor(1, 2, 3),
                                  QColor(0xaa, 0xbb, 0xcc)};
        int next = 0;
        dialog.SetColorChooser([&](const QColor&, QWidget*) { return std::optional<QColor>(picks.at(next++)); });
        for (const char* name : {"btnBGColor", "btnTextColor", "btnLinkColor", "btnVLinkColor"}) {
            Click(dialog, name);
        }
        Click(dialog, QStringLiteral("rdgKanjiCode%1").arg(code).toLatin1().constData());
        Click(dialog, "rdgReturnCode1");
        Click(dialog, "btnExport");
    });
    f.Window->Exports().actExportHtml->trigger();
    QCOMPARE(f.Prompts.Seen, QStringList{kDone});
    const QByteArray bytes = ReadBytes(out);
    QVERIFY2(bytes.contains("charset=" + charset + "\">\n"), bytes.left(300).toHex(' ').constData());
    QVERIFY(bytes.contains("<body bgcolor=#102030 text=#fedcba link=#010203 vlink=#aabbcc><dl>\n"));
    QVERIFY(!bytes.contains('\r'));
    int lines = 0;
    const QString text = QString::fromStdString(hv::LoadHtmlFile(out.toStdString(), lines));
    QVERIFY2(text.contains(QStringLiteral("<title>Hollyvine - links.hv</title>")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("<h1>フォルダA</h1>")));
    std::vector<hv::THtmlLink> links;
    hv::ReadHtmlLinks(out.toStdString(), links);
    QCOMPARE(links.size(), std::size_t{4});
    QStringList read;
    for (const hv::THtmlLink& link : links) {
        read << QString::fromStdString(link.Title + " <" + link.URL + ">");
    }
    // Items sorted by name within each folder, folders in tree order.
    QCOMPARE(read,
             (QStringList{QStringLiteral("ルート項目 <http://r/>"), QStringLiteral("b <http://b/>"),
                          QStringLiteral("日本語 & <b> <http://a/?x=1&y=2>"), QStringLiteral("a1 <http://a1/>")}));
}

void TExportDlgTest::htmlSettingsAreKept() {
    TFixture f;
    {
        TExpHtmlDlg dialog(f.Doc().Root(), &f.FolderA(), f.Doc().FileName(), {}, f.Prompts, &f.Settings);
        QVERIFY(Find<QAbstractButton>(dialog, "rdgKanjiCode0")->isChecked());
        QCOMPARE(dialog.Color(TExpHtmlDlg::crLink), QColor(0, 0, 255));
        QCOMPARE(dialog.Color(TExpHtmlDlg::crVisitedLink), QColor(0, 0, 128));
        for (const char* name :
             {"rdgAllFolder0", "rdgKanjiCode3", "rdgReturnCode2", "rdgFolderName3", "chkBoldItem", "chkShowCmd"}) {
            Click(dialog, name);
        }
        dialog.SetColorChooser([](const QColor&, QWidget*) { return std::optional<QColor>(QColor(1, 2, 3)); });
        Click(dialog, "btnBGColor");
    }
    QCOMPARE(f.Settings.Key(hv::opt::ExportHtml::BGColor).AsInteger(), 0x030201);
    QVERIFY(hv::ReadRestorePos(f.Store, hv::RestorePosKeyName, "ExpHtmlDlgRect").has_value());
    TExpHtmlDlg again(f.Doc().Root(), &f.FolderA(), f.Doc().FileName(), {}, f.Prompts, &f.Settings);
    for (const char* name :
         {"rdgAllFolder0", "rdgKanjiCode3", "rdgReturnCode2", "rdgFolderName3", "chkBoldItem", "chkShowCmd"}) {
        QVERIFY2(Find<QAbstractButton>(again, name)->isChecked(), name);
    }
    QCOMPARE(again.Color(TExpHtmlDlg::crBackground), QColor(1, 2, 3));
}

void TExportDlgTest::menuAndShortcuts() {
    TFixture f;
    hv::TExportActions& exports = f.Window->Exports();
    QCOMPARE(exports.actExportBookmark->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+B")));
    QCOMPARE(exports.actExportFavorites->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+I")));
    QCOMPARE(exports.actExportHtml->statusTip(),
             QStringLiteral("フォルダとアイテムの内容をHTMLファイルに書き出します"));
    QCOMPARE(exports.ExportMenu()->title(), QStringLiteral("エクスポート(&E)"));
    QCOMPARE(exports.ExportMenu()->actions().size(), 3);
    const QList<QToolBar*> bars = f.Window->findChildren<QToolBar*>();
    QVERIFY(std::ranges::any_of(bars, [&](QToolBar* bar) { return bar->actions().contains(exports.actExportHtml); }));
}

QTEST_MAIN(TExportDlgTest)
#include "test_exportdlg.moc"
