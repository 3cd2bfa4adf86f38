#include "GuiTestSupport.h"
#include "app/FileDialogs.h"
#include "app/HVApplication.h"
#include "app/StartUp.h"
#include "document/DocumentCommands.h"
#include "document/DocumentFile.h"
#include "document/Preload.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/HVFolder.h"
#include "platform/Clock.h"
#include "properties/DisplaySettings.h"
#include "settings/Settings.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::THVFolder;
using hv::THVWindow;
using hv::TSaveAnswer;
using hv::test::TScriptedPrompts;

namespace {

const QString kSample = QStringLiteral(HV_EXAMPLES_DIR "/sample.hv");

QString Taken(const char* name) {
    return QStringLiteral(
               "Hollyvine|フォルダ名 '%1' は既に使われています。\n\n１つのフォルダに同じ名前のサブフォルダを複数"
               "作ることはできません。半角アルファベットの大文字・小文字は同一視されます。")
        .arg(QString::fromUtf8(name));
}

// The folder tree as the view shows it: indented lines ("  " per level), expanded rows only.
QStringList Outline(QTreeView* view) {
    QStringList lines;
    std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int level) {
        for (int row = 0; row < view->model()->rowCount(parent); ++row) {
            const QModelIndex index = view->model()->index(row, 0, parent);
            lines << QString(level * 2, QLatin1Char(' ')) + index.data().toString();
            if (view->isExpanded(index)) {
                walk(index, level + 1);
            }
        }
    };
    walk({}, 0);
    return lines;
}

// A window over settings kept in memory, with no change delay; prepare sets options before the
// window reads them.
struct TFixture {
    explicit TFixture(const std::function<void(hv::TSettings&)>& prepare = {}) : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        if (prepare) {
            prepare(Settings);
        }
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
    }
    // The sample document in the window, shown on the screen.
    void OpenSampleShown() {
        Window->StartUpOpen(kSample);
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }
    THVFolder* Folder(const char* name) {
        THVFolder* found = nullptr;
        hv::ForEachFolder(Window->Document().Root(), [&](THVFolder& f, int) {
            if (found == nullptr && f.Name() == name) {
                found = &f;
            }
        });
        return found;
    }
    QString Shown() const { return Window->StatusPanel(0)->text(); }

    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
};

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QString CopySample(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("sample.hv"));
    QFile::copy(kSample, path);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

// The captions of a menu's entries, as it fills itself when shown.
QStringList Captions(QMenu* menu) {
    emit menu->aboutToShow();
    QStringList captions;
    for (QAction* action : menu->actions()) {
        captions << action->text();
    }
    return captions;
}

} // namespace

class THVWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { hv::TFileDialogs::ClearAnswers(); }
    void startUpOpen_data();
    void startUpOpen();
    void earlyStartReadsTheStartUpDocumentAhead();
    void failedOpenLeavesThePreviousDocument();
    void altKeysAndHistoryNavigate();
    void renameRules_data();
    void renameRules();
    void folderEditsSurviveSaveAndReopen();
    void deleteAsksAndEmptiesHistory();
    void closingAsksToSave_data();
    void closingAsksToSave();
    void startArguments();
    void cleanUpAsksFirst();
    void hoverSelectsAfterTheDelay_data();
    void hoverSelectsAfterTheDelay();
    void hiddenButtonsDoNotToggle();
    void historyCaptions();
    void historyDropDownsGoThere();
    void popupTarget_data();
    void popupTarget();
    void movingIntoMergesSameNamedFolders();
    void dragRestingOnAFolderOpensIt();
    void debugModeShowsTheDebugMenu();
    void uncaughtErrorIsShown();
    void openEntryOpensTheDialogAndTheButtonListsRecentFiles();
    void defaultSizesFollowTheFontAndStoredOnesAreKept();
    void addItemHasAltInsert();
    void openedFoldersFollowSortFolder();
};

// The document named on the command line, else the most recent one when StartWithFile is on; a
// name that is no file is ignored.
void THVWindowTest::startUpOpen_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("startWithFile");
    QTest::addColumn<QString>("title");
    const QString sample = QStringLiteral("Hollyvine - sample.hv");
    const QString none = QStringLiteral("Hollyvine - (無題)");
    QTest::newRow("command line") << kSample << false << sample;
    QTest::newRow("no such file") << QStringLiteral("/nonexistent/x.hv") << false << none;
    QTest::newRow("nothing named") << QString() << false << none;
    QTest::newRow("most recent") << QString() << true << sample;
}

void THVWindowTest::startUpOpen() {
    QFETCH(QString, argument);
    QFETCH(bool, startWithFile);
    QFETCH(QString, title);
    TFixture f([&](hv::TSettings& settings) {
        settings.Set(hv::opt::Main::StartWithFile, startWithFile);
        settings.Set(hv::opt::Main::RecentFiles, argument.isEmpty() ? hv::FullFileName(kSample.toStdString()) : "");
    });
    QCOMPARE(f.Window->windowTitle(), QStringLiteral("Hollyvine - (無題)"));
    f.Window->StartUpOpen(argument);
    QCOMPARE(f.Window->windowTitle(), title);
    QVERIFY2(f.Prompts.Seen.isEmpty(), qPrintable(f.Prompts.Seen.join(QLatin1Char('\n'))));
    if (title.endsWith(QStringLiteral("sample.hv"))) {
        const QStringList outline = Outline(f.Window->TreeView());
        QCOMPARE(outline.value(0), QStringLiteral("Hollyvine"));
        QVERIFY(outline.contains(QStringLiteral("    Linux")));
        QCOMPARE(f.Shown(), QStringLiteral("Hollyvine"));
    }
}

void THVWindowTest::earlyStartReadsTheStartUpDocumentAhead() {
    QTemporaryDir config;
    const QByteArray saved = qgetenv("HOLLYVINE_CONFIG_DIR");
    qputenv("HOLLYVINE_CONFIG_DIR", QFile::encodeName(config.path()));
    {
        hv::TEarlyStart none;
        none.Begin(hv::ParseStartArguments({}));
        QVERIFY(none.Preload() == nullptr);

        hv::TEarlyStart early;
        early.Begin(hv::ParseStartArguments({kSample}));
        QVERIFY(early.Preload() != nullptr);
        TScriptedPrompts prompts;
        THVWindow window(&early.Settings(), &prompts);
        window.StartUpOpen(kSample, early.Preload());
        QCOMPARE(window.windowTitle(), QStringLiteral("Hollyvine - sample.hv"));
        QVERIFY(Outline(window.TreeView()).contains(QStringLiteral("    Linux")));
        QVERIFY2(!early.Preload()->Take(hv::FullFileName(kSample.toStdString()), false), "the window took the tree");
    }
    qputenv("HOLLYVINE_CONFIG_DIR", saved);
}

void THVWindowTest::failedOpenLeavesThePreviousDocument() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    const QStringList before = Outline(f.Window->TreeView());
    QTemporaryDir dir;
    hv::TFileDialogs::QueueAnswer(WriteFile(dir, "broken.hv", "<html></html>\r\n"));
    f.Window->DocumentCommands().actOpen->trigger();
    QCOMPARE(f.Prompts.Seen.size(), 1);
    QVERIFY2(f.Prompts.Seen.first().startsWith(QStringLiteral("Hollyvine|ファイル \"")),
             qPrintable(f.Prompts.Seen.first()));
    QCOMPARE(f.Window->windowTitle(), QStringLiteral("Hollyvine - sample.hv"));
    QCOMPARE(Outline(f.Window->TreeView()), before);
}

void THVWindowTest::altKeysAndHistoryNavigate() {
    TFixture f;
    f.OpenSampleShown();
    auto& tree = f.Window->FolderTree();
    QVERIFY(!tree.actBackFolder->isEnabled());

    const auto alt = [&f](Qt::Key key) {
        QTest::keyClick(f.Window->TreeView(), key, Qt::AltModifier);
        return f.Shown();
    };
    QCOMPARE(alt(Qt::Key_Down), QStringLiteral("ニュース"));
    QCOMPARE(alt(Qt::Key_PageDown), QStringLiteral("暮らし"));
    QCOMPARE(alt(Qt::Key_Up), QStringLiteral("Linux"));
    QCOMPARE(alt(Qt::Key_PageUp), QStringLiteral("Hollyvine"));
    QCOMPARE(tree.History().Position(), 4);
    alt(Qt::Key_Left);
    QCOMPARE(alt(Qt::Key_Left), QStringLiteral("暮らし"));
    QVERIFY(tree.actNextFolder->isEnabled());
    QCOMPARE(alt(Qt::Key_Right), QStringLiteral("Linux"));
    // A new folder drops the forward entries.
    tree.SelectFolder(f.Folder("技術"));
    QVERIFY(!tree.actNextFolder->isEnabled());
    QCOMPARE(tree.History().LastIndex(), 4);

    // The history keeps the last 33 folders.
    for (int i = 0; i < 40; ++i) {
        tree.SelectFolder(f.Folder(i % 2 == 0 ? "ニュース" : "技術"));
    }
    QCOMPARE(tree.History().Entries().size(), std::size_t{33});
    tree.actBackFolder->trigger();
    QCOMPARE(f.Shown(), QStringLiteral("ニュース"));
}

// The rules themselves are the core's; here the user renames with F2, typing and Enter.
void THVWindowTest::renameRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("plain") << QStringLiteral("世界") << QStringLiteral("世界") << QString();
    QTest::newRow("backslash to yen") << QStringLiteral("a\\b") << QStringLiteral("a￥b") << QString();
    QTest::newRow("empty") << QString() << QStringLiteral("ニュース")
                           << QStringLiteral("Hollyvine|名前が入力されていません。");
    QTest::newRow("sibling's name") << QStringLiteral("技術") << QStringLiteral("ニュース") << Taken("技術");
}

void THVWindowTest::renameRules() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    TFixture f;
    f.OpenSampleShown();
    THVFolder* news = f.Folder("ニュース");
    f.Window->FolderTree().SelectFolder(news);
    QTreeView* tree = f.Window->TreeView();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    // One key event carries the text, as an input method hands over what it composed.
    if (!typed.isEmpty()) {
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, typed, Qt::NoModifier);
    }
    QCOMPARE(editor->text(), typed);
    // Insert, which the editor passes on, adds no folder while the label is edited.
    bool picked = false;
    f.Window->FolderTree().SetFolderPickerRunner([&](hv::TSelectFolderDlg&) { return picked = true; });
    QTest::keyClick(editor, Qt::Key_Insert);
    QVERIFY(!picked);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(QString::fromStdString(news->Name()), stored);
    QTRY_COMPARE(f.Prompts.Seen.value(0), message);
    QCOMPARE(f.Window->Document().Modified(), stored != QStringLiteral("ニュース"));
    QCOMPARE(f.Shown(), stored);
    QCOMPARE(f.Window->FolderModel()->IndexOf(news).data().toString(), stored);
}

void THVWindowTest::folderEditsSurviveSaveAndReopen() {
    QTemporaryDir dir;
    const QString path = CopySample(dir);
    QStringList edited;
    {
        TFixture f;
        f.Window->StartUpOpen(path);
        auto& tree = f.Window->FolderTree();
        // Insert opens the folder picker on the selected folder; a taken name keeps it open.
        tree.SelectFolder(f.Folder("技術"));
        f.Window->TreeView()->setFocus();
        QStringList tried;
        tree.SetFolderPickerRunner([&](hv::TSelectFolderDlg& dialog) {
            for (const QString& name : {QStringLiteral("linux"), QStringLiteral("新しいフォルダ")}) {
                tried << QString::fromStdString(dialog.ChosenFolder()->Name()) + QLatin1Char('/') + name;
                dialog.SetName(name);
                if (dialog.CheckOK()) {
                    return true;
                }
            }
            return false;
        });
        QTest::keyClick(f.Window->TreeView(), Qt::Key_Insert);
        QCOMPARE(tried, (QStringList{QStringLiteral("技術/linux"), QStringLiteral("技術/新しいフォルダ")}));
        QCOMPARE(f.Prompts.Seen, QStringList{Taken("linux")});
        f.Prompts.Seen.clear();
        QCOMPARE(f.Folder("新しいフォルダ")->Parent(), f.Folder("技術"));
        QCOMPARE(f.Shown(), QStringLiteral("技術"));
        tree.SelectFolder(f.Folder("暮らし"));
        tree.actMoveFolderForward->trigger();
        QVERIFY(f.Window->Document().Modified());
        QVERIFY(f.Window->windowTitle().endsWith(QStringLiteral("(更新)")));
        edited = Outline(f.Window->TreeView());
        f.Window->DocumentCommands().actSave->trigger();
        QVERIFY(!f.Window->Document().Modified());
        QVERIFY(f.Prompts.Seen.isEmpty());
    }
    TFixture g;
    g.Window->StartUpOpen(path);
    QCOMPARE(Outline(g.Window->TreeView()), edited);
}

void THVWindowTest::deleteAsksAndEmptiesHistory() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    auto& tree = f.Window->FolderTree();
    qRegisterMetaType<hv::THVItem*>("hv::THVItem*");
    QSignalSpy freed(f.Window.get(), &THVWindow::itemAboutToBeFreed);
    const int items = f.Folder("技術")->List().Count() + f.Folder("Linux")->List().Count();
    tree.SelectFolder(f.Folder("技術"));
    QVERIFY(tree.actDeleteFolder->isEnabled());
    tree.actDeleteFolder->trigger(); // answered No
    QVERIFY(f.Folder("技術") != nullptr);
    f.Prompts.YesNoAnswers.push_back(true);
    tree.actDeleteFolder->trigger();
    QCOMPARE(f.Prompts.Seen.value(1),
             QStringLiteral(
                 "フォルダの削除|フォルダ '技術' とそのサブフォルダ・アイテムを全て削除します。よろしいですか？"));
    QVERIFY(f.Folder("技術") == nullptr && f.Folder("Linux") == nullptr);
    QCOMPARE(freed.count(), items);
    // Its history entry is empty now.
    tree.GoToHistory(1);
    QCOMPARE(f.Prompts.Seen.value(2), QStringLiteral("Hollyvine|フォルダが見つかりません。"));
    // The root is never deleted.
    tree.SelectFolder(&f.Window->Document().Root());
    QVERIFY(!tree.actDeleteFolder->isEnabled() && !tree.actRenameFolder->isEnabled());
}

void THVWindowTest::closingAsksToSave_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");
    QTest::newRow("save") << static_cast<int>(TSaveAnswer::Save) << true << true;
    QTest::newRow("don't save") << static_cast<int>(TSaveAnswer::DontSave) << true << false;
    QTest::newRow("cancel") << static_cast<int>(TSaveAnswer::Cancel) << false << false;
}

void THVWindowTest::closingAsksToSave() {
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, written);
    QTemporaryDir dir;
    const QString path = CopySample(dir);
    TFixture f;
    f.Window->StartUpOpen(path);
    f.Window->show();
    f.Window->FolderTree().AddFolderUnder(&f.Window->Document().Root(), "追加");
    f.Prompts.SaveAnswers.push_back(static_cast<TSaveAnswer>(answer));
    QCOMPARE(f.Window->close(), closed);
    QCOMPARE(f.Prompts.Seen.size(), 1);
    QVERIFY(f.Prompts.Seen.first().startsWith(QStringLiteral("ファイルの保存|")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().contains("Name=\x92\xc7\x89\xc1"), written); // "追加" in CP932
}

void THVWindowTest::startArguments() {
    const struct {
        QStringList Arguments;
        bool CleanUp;
        bool Debug;
        QString Path;
    } cases[] = {
        {{}, false, false, {}},
        {{QStringLiteral("a.hv")}, false, false, QStringLiteral("a.hv")},
        {{QStringLiteral("a.hv"), QStringLiteral("/D")}, false, true, QStringLiteral("a.hv")},
        {{QStringLiteral("/d")}, false, true, {}},
        {{QStringLiteral("/U")}, true, false, {}},
    };
    for (const auto& c : cases) {
        const hv::TStartOptions options = hv::ParseStartArguments(c.Arguments);
        QCOMPARE(options.CleanUp, c.CleanUp);
        QCOMPARE(options.DebugMode, c.Debug);
        QCOMPARE(options.DocumentPath, c.Path);
    }
}

void THVWindowTest::cleanUpAsksFirst() {
    for (const bool yes : {false, true}) {
        hv::TMemoryRegistryStore store;
        store.WriteValue("Software\\K.Amsel\\Hollyvine", "RecentFiles", hv::TRegValue::String("x"));
        TScriptedPrompts prompts;
        prompts.YesNoAnswers.push_back(yes);
        QCOMPARE(hv::RunSettingsCleanUp(store, prompts), yes);
        QCOMPARE(store.KeyExists("Software\\K.Amsel\\Hollyvine"), !yes);
        QCOMPARE(prompts.Seen.value(0),
                 QStringLiteral("Hollyvine|Hollyvine がレジストリに保存した情報を全て削除します。よろしいですか？"));
        QCOMPARE(prompts.Seen.size(), yes ? 2 : 1);
        if (yes) {
            QVERIFY(prompts.Seen.value(1).startsWith(QStringLiteral(
                "Hollyvine|レジストリ内の情報の削除が完了しました。ファイル Hollyvine.exe を削除して下さい。\r\n\t")));
        }
    }
}

void THVWindowTest::hoverSelectsAfterTheDelay_data() {
    QTest::addColumn<bool>("hotTrack");
    QTest::addColumn<bool>("memoFocused");
    QTest::addColumn<bool>("selects");
    QTest::newRow("on") << true << false << true;
    QTest::newRow("off") << false << false << false;
    QTest::newRow("memo has the focus") << true << true << false;
}

void THVWindowTest::hoverSelectsAfterTheDelay() {
    QFETCH(bool, hotTrack);
    QFETCH(bool, memoFocused);
    QFETCH(bool, selects);
    TFixture f;
    f.Settings.Set(hv::opt::Window::TreeHotTrack, hotTrack);
    f.Window->FolderTree().ApplySettings();
    f.Window->StartUpOpen(kSample);
    f.Window->show();
    f.Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    if (memoFocused) {
        f.Window->MemoBox()->setFocus();
    }
    QTreeView* view = f.Window->TreeView();
    const QRect label = view->visualRect(f.Window->FolderModel()->IndexOf(f.Folder("技術")));
    QTest::mouseMove(view->viewport(), label.topLeft() + QPoint(24, label.height() / 2));
    QTest::qWait(100);
    QCOMPARE(f.Shown(), QStringLiteral("Hollyvine")); // not before the delay
    if (selects) {
        QTRY_COMPARE_WITH_TIMEOUT(f.Shown(), QStringLiteral("技術"), 2000);
        QVERIFY(view->hasFocus());
    } else {
        QTest::qWait(800);
        QCOMPARE(f.Shown(), QStringLiteral("Hollyvine"));
    }
    // The empty space right of a label selects nothing.
    const QRect root = view->visualRect(f.Window->FolderModel()->IndexOf(&f.Window->Document().Root()));
    QTest::mouseMove(view->viewport(), QPoint(view->viewport()->width() - 4, root.center().y()));
    QTest::qWait(800);
    QCOMPARE(f.Shown(), selects ? QStringLiteral("技術") : QStringLiteral("Hollyvine"));
}

void THVWindowTest::hiddenButtonsDoNotToggle() {
    TFixture f;
    f.Settings.Set(hv::opt::Window::ShowTreeBtn, false);
    f.Window->FolderTree().ApplySettings();
    f.OpenSampleShown();
    QTreeView* view = f.Window->TreeView();
    const QModelIndex tech = f.Window->FolderModel()->IndexOf(f.Folder("技術"));
    const bool expanded = view->isExpanded(tech);
    const QRect label = view->visualRect(tech);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(label.left() - 6, label.center().y()));
    QCOMPARE(view->isExpanded(tech), expanded);
    QTRY_COMPARE(f.Shown(), QStringLiteral("技術"));
}

// Rows 1 to 9 and 0, then the letters without O; an ampersand in the name is doubled.
void THVWindowTest::historyCaptions() {
    const struct {
        const char* Name;
        int Row;
        const char* Caption;
    } cases[] = {{"A&B", 0, "A&&B(&1)"}, {"x", 8, "x(&9)"},  {"x", 9, "x(&0)"}, {"x", 10, "x(&A)"},
                 {"x", 23, "x(&N)"},     {"x", 24, "x(&P)"}, {"x", 34, "x(&Z)"}};
    for (const auto& c : cases) {
        QCOMPARE(hv::HistoryMenuCaption(QString::fromUtf8(c.Name), c.Row), QString::fromUtf8(c.Caption));
    }
}

void THVWindowTest::historyDropDownsGoThere() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    auto& tree = f.Window->FolderTree();
    // 21 visits: Hollyvine, then ニュース and 技術 in turn, the last one 技術.
    for (int i = 0; i < 20; ++i) {
        tree.SelectFolder(f.Folder(i % 2 == 0 ? "ニュース" : "技術"));
    }
    const auto* button =
        f.Window->findChild<QToolBar*>(QStringLiteral("tbrFolder"))->widgetForAction(tree.actBackFolder);
    QCOMPARE(qobject_cast<const QToolButton*>(button)->menu(), tree.RecentFolderPopup1);
    const QStringList back = Captions(tree.RecentFolderPopup1);
    QCOMPARE(back.size(), 16);
    QCOMPARE(back.first(), QStringLiteral("ニュース(&1)"));
    QCOMPARE(back.at(1), QStringLiteral("技術(&2)"));
    QCOMPARE(back.last(), QStringLiteral("技術(&F)"));
    QVERIFY(Captions(tree.RecentFolderPopup2).isEmpty());
    // Choosing the third row goes three entries back; forward then lists the two skipped.
    tree.RecentFolderPopup1->actions().at(2)->trigger();
    QCOMPARE(f.Shown(), QStringLiteral("ニュース"));
    QCOMPARE(tree.History().Position(), 17);
    QCOMPARE(Captions(tree.RecentFolderPopup2),
             (QStringList{QStringLiteral("技術(&1)"), QStringLiteral("ニュース(&2)"), QStringLiteral("技術(&3)")}));
    // A deleted folder's rows stay, empty and inert.
    f.Prompts.YesNoAnswers.push_back(true);
    tree.SelectFolder(f.Folder("技術"));
    tree.actDeleteFolder->trigger();
    const QList<QAction*> rows = (Captions(tree.RecentFolderPopup1), tree.RecentFolderPopup1->actions());
    QVERIFY(rows.at(0)->text().isEmpty() && !rows.at(0)->isEnabled());
    QCOMPARE(rows.at(1)->text(), QStringLiteral("ニュース(&2)"));
}

void THVWindowTest::popupTarget_data() {
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<bool>("rClickSelect");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("renameEnabled");
    QTest::newRow("menu key: the selected folder") << true << true << "技術"
                                                   << "技術" << true;
    QTest::newRow("right click selects") << false << true << "Hollyvine"
                                         << "Hollyvine" << false;
    QTest::newRow("right click only marks") << false << false << "Hollyvine"
                                            << "技術" << false;
}

void THVWindowTest::popupTarget() {
    QFETCH(bool, keyboard);
    QFETCH(bool, rClickSelect);
    QFETCH(QString, target);
    QFETCH(QString, shown);
    QFETCH(bool, renameEnabled);
    TFixture f;
    f.Settings.Set(hv::opt::Window::TreeRClickSelect, rClickSelect);
    f.OpenSampleShown();
    auto& tree = f.Window->FolderTree();
    tree.SelectFolder(f.Folder("技術"));
    QString seenTarget;
    bool seenRename = !renameEnabled;
    connect(tree.TreeViewPopup, &QMenu::aboutToShow, this, [&] {
        seenTarget = QString::fromStdString(tree.PopupTarget()->Name());
        seenRename = tree.actRenameFolder->isEnabled();
        QTimer::singleShot(0, tree.TreeViewPopup, &QMenu::close);
    });
    QTreeView* view = f.Window->TreeView();
    view->setFocus();
    if (keyboard) {
        QTest::keyClick(view, Qt::Key_Menu);
    } else {
        const QPoint at = view->visualRect(f.Window->FolderModel()->IndexOf(&f.Window->Document().Root())).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
    }
    QCOMPARE(seenTarget, target);
    QCOMPARE(seenRename, renameEnabled);
    QCOMPARE(f.Shown(), shown);
    // Once the menu is gone the commands follow the selection again.
    QTRY_VERIFY(tree.PopupTarget() == nullptr);
    QCOMPARE(tree.actRenameFolder->isEnabled(), shown != QStringLiteral("Hollyvine"));
}

void THVWindowTest::movingIntoMergesSameNamedFolders() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    auto& tree = f.Window->FolderTree();
    THVFolder* root = &f.Window->Document().Root();
    THVFolder* tech = f.Folder("技術");
    // Moves that would lose or loop the tree are refused.
    QVERIFY(tree.MoveFolderInto(root, f.Folder("暮らし")) == nullptr);
    QVERIFY(tree.MoveFolderInto(tech, root) == nullptr);
    QVERIFY(tree.MoveFolderInto(tech, f.Folder("Linux")) == nullptr);
    QVERIFY(!f.Window->Document().Modified());

    // How the folders merge is the tree edits' rule; here the window announces each item moved.
    THVFolder* life = f.Folder("暮らし");
    tree.AddFolderUnder(tree.AddFolderUnder(life, "技術"), "linux");
    const int techItems = tech->List().Count();
    const int linuxItems = f.Folder("Linux")->List().Count();
    qRegisterMetaType<hv::THVItem*>("hv::THVItem*");
    qRegisterMetaType<hv::THVFolder*>("hv::THVFolder*");
    QSignalSpy moved(f.Window.get(), &THVWindow::itemMoved);
    THVFolder* receiver = tree.MoveFolderInto(tech, life);
    QVERIFY(receiver != nullptr && receiver->Parent() == life);
    QCOMPARE(moved.count(), techItems + linuxItems);
    QCOMPARE(root->ChildCount(), 2); // the source is gone
    QCOMPARE(f.Shown(), QStringLiteral("技術"));
}

void THVWindowTest::dragRestingOnAFolderOpensIt() {
    TFixture f;
    f.Settings.Set(hv::opt::Window::TreeDragExpandDelay, std::int32_t{2});
    f.OpenSampleShown();
    auto& tree = f.Window->FolderTree();
    QTreeView* view = f.Window->TreeView();
    const QModelIndex news = f.Window->FolderModel()->IndexOf(f.Folder("ニュース"));
    view->collapse(news);
    const QPoint at = view->visualRect(news).center();
    tree.DragEnter();
    QCOMPARE(tree.DragOver(at), f.Folder("ニュース"));
    QCOMPARE(f.Window->FolderModel()->DropHighlight(), f.Folder("ニュース"));
    tree.DragOver(at);
    QVERIFY(!view->isExpanded(news));
    tree.DragOver(at); // the second notice after the first over the same folder
    QVERIFY(view->isExpanded(news));
    tree.DragLeave();
    QCOMPARE(f.Window->FolderModel()->DropHighlight(), nullptr);
}

void THVWindowTest::debugModeShowsTheDebugMenu() {
    TFixture f;
    auto* debug = f.Window->findChild<QMenu*>(QStringLiteral("mniDebug"));
    QVERIFY(!debug->menuAction()->isVisible());
    f.Window->SetDebugMode(true);
    QVERIFY(debug->menuAction()->isVisible());
    QCOMPARE(debug->title(), QStringLiteral("デバッグ(&D)"));
}

void THVWindowTest::uncaughtErrorIsShown() {
    TFixture f;
    auto* app = qobject_cast<hv::THVApplication*>(QCoreApplication::instance());
    QVERIFY(app != nullptr);
    app->SetPrompts(&f.Prompts);
    auto* raise = f.Window->findChild<QAction*>(QStringLiteral("actRaiseException"));
    // Through the event loop, as a menu command runs.
    QMetaObject::invokeMethod(raise, &QAction::trigger, Qt::QueuedConnection);
    QTRY_COMPARE(f.Prompts.Seen,
                 QStringList{QStringLiteral("Hollyvine|デバッグメニューから発生させた例外.\n[EHVError]")});
    app->SetPrompts(nullptr);
    // The program goes on.
    QVERIFY(f.Window->FolderTree().actAddFolder->isEnabled());
}

void THVWindowTest::openEntryOpensTheDialogAndTheButtonListsRecentFiles() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    auto& commands = f.Window->DocumentCommands();
    // The File menu's entry is a command, not a sub-menu.
    QMenu* file = f.Window->menuBar()->actions().first()->menu();
    QVERIFY(file->actions().contains(commands.actOpen));
    QVERIFY(commands.actOpen->menu() == nullptr);
    QTemporaryDir dir;
    const QString copy = CopySample(dir);
    hv::TFileDialogs::QueueAnswer(copy);
    commands.actOpen->trigger();
    QCOMPARE(f.Window->Document().FileName(), hv::FullFileName(copy.toStdString()));

    const auto* button = qobject_cast<const QToolButton*>(
        f.Window->findChild<QToolBar*>(QStringLiteral("tbrFile"))->widgetForAction(commands.actOpen));
    QCOMPARE(button->menu(), commands.RecentFilePopup);
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    emit commands.RecentFilePopup->aboutToShow();
    const QList<QAction*> entries = commands.RecentFilePopup->actions();
    QCOMPARE(entries.size(), 4); // the copy, the sample, a separator, the other files
    QVERIFY(entries.at(1)->text().startsWith(QString::fromStdString(hv::FullFileName(kSample.toStdString())) +
                                             QStringLiteral("(&")));
    QVERIFY(!entries.at(0)->icon().isNull() && !entries.at(1)->icon().isNull());
    QVERIFY(entries.at(2)->isSeparator());
    QCOMPARE(entries.at(3)->text(), QStringLiteral("その他のファイル(&T)..."));
    hv::TFileDialogs::QueueAnswer(kSample);
    entries.at(3)->trigger();
    QCOMPARE(f.Window->Document().FileName(), hv::FullFileName(kSample.toStdString()));
    emit commands.mniRecentFiles->aboutToShow();
    QVERIFY(!commands.mniRecentFiles->actions().first()->icon().isNull());
}

void THVWindowTest::defaultSizesFollowTheFontAndStoredOnesAreKept() {
    {
        TFixture f; // nothing stored
        const QFontMetrics metrics = f.Window->StatusPanel(1)->fontMetrics();
        QVERIFY(f.Window->StatusPanel(1)->width() >
                metrics.horizontalAdvance(QStringLiteral("100000個 (100000個選択)")));
        QVERIFY(f.Window->StatusPanel(2)->width() >
                metrics.horizontalAdvance(QStringLiteral("アクセス日時順（降順）")));
    }
    hv::TMemoryRegistryStore store;
    {
        hv::TSettings settings(store);
        settings.Set(hv::opt::Window::StatusPanelWidths, std::string("150,60,70,80"));
        settings.End();
    }
    hv::TSettings settings(store);
    TScriptedPrompts prompts;
    THVWindow window(&settings, &prompts);
    QCOMPARE(window.StatusPanel(0)->width(), 150);
    QCOMPARE(window.StatusPanel(1)->width(), 60);
    QCOMPARE(window.StatusPanel(2)->width(), 70);
    QCOMPARE(window.StatusPanel(3)->minimumWidth(), 80);

    // Only the rows in sight are measured; the dates column still holds any date.
    TFixture f;
    f.Window->StartUpOpen(kSample);
    f.Window->FolderTree().SelectFolder(f.Folder("ニュース"));
    const int dates = hv::WidestAccessTimeWidth(f.Window->ListView()->fontMetrics(),
                                                hv::AccessTimeOptionsFromSettings(f.Settings), hv::Clock().Now());
    QVERIFY(f.Window->ListView()->columnWidth(2) > dates);
}

// The command once had no key of its own.
void THVWindowTest::addItemHasAltInsert() {
    TFixture f;
    QCOMPARE(f.Window->ItemList().actAddItem->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Insert));
}

void THVWindowTest::openedFoldersFollowSortFolder() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "unsorted.hv",
                                   "# Holly Vine Document 1\r\n\r\n[Folder]\r\nLevel=1\r\nName=b\r\n\r\n"
                                   "[Folder]\r\nLevel=1\r\nName=C\r\n\r\n[Folder]\r\nLevel=1\r\nName=a\r\n\r\n");
    for (const bool sorted : {true, false}) {
        TFixture f([sorted](hv::TSettings& settings) { settings.Set(hv::opt::Main::SortFolder, sorted); });
        f.Window->StartUpOpen(path);
        QCOMPARE(Outline(f.Window->TreeView()).mid(1).join(QLatin1Char('|')),
                 sorted ? QStringLiteral("  a|  b|  C") : QStringLiteral("  b|  C|  a"));
    }
}

// The program's application object, so that errors reach its handler as in the program.
int main(int argc, char* argv[]) {
    hv::THVApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    THVWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_hvwindow.moc"
