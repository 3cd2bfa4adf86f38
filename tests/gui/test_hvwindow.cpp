#include "GuiTestSupport.h"
#include "app/FileDialogs.h"
#include "app/StartUp.h"
#include "document/DocumentCommands.h"
#include "document/DocumentFile.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "model/HVFolder.h"
#include "settings/Settings.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::THVFolder;
using hv::THVWindow;
using hv::TSaveAnswer;
using hv::test::TScriptedPrompts;

namespace {

const QString kSample = QStringLiteral(HV_EXAMPLES_DIR "/sample.hv");

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

// A window over settings kept in memory, with no change delay and the given folder sorting.
struct TFixture {
    explicit TFixture(bool sortFolder = false) : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Settings.Set(hv::opt::Main::SortFolder, sortFolder);
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
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

QString CopySample(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("sample.hv"));
    QFile::copy(kSample, path);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

} // namespace

class THVWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { hv::TFileDialogs::ClearAnswers(); }
    void startUpOpensTheCommandLineDocument();
    void startUpOpensTheMostRecentWithStartWithFile();
    void failedOpenLeavesThePreviousDocument();
    void altKeysAndHistoryNavigate();
    void renameRules_data();
    void renameRules();
    void folderEditsSurviveSaveAndReopen();
    void deleteAsksAndEmptiesHistory();
    void closingAsksToSave_data();
    void closingAsksToSave();
    void startArguments_data();
    void startArguments();
    void cleanUpAsksFirst();
};

void THVWindowTest::startUpOpensTheCommandLineDocument() {
    TFixture f;
    QCOMPARE(f.Window->windowTitle(), QStringLiteral("Hollyvine - (無題)"));
    f.Window->StartUpOpen(kSample);
    QCOMPARE(f.Window->windowTitle(), QStringLiteral("Hollyvine - sample.hv"));
    QVERIFY2(f.Prompts.Seen.isEmpty(), qPrintable(f.Prompts.Seen.join(QLatin1Char('\n'))));
    const QStringList outline = Outline(f.Window->TreeView());
    QCOMPARE(outline.value(0), QStringLiteral("Hollyvine"));
    QVERIFY(outline.contains(QStringLiteral("    Linux")));
    QCOMPARE(f.Shown(), QStringLiteral("Hollyvine"));
    // A name that is no file is ignored.
    TFixture g;
    g.Window->StartUpOpen(QStringLiteral("/nonexistent/x.hv"));
    QCOMPARE(g.Window->windowTitle(), QStringLiteral("Hollyvine - (無題)"));
}

void THVWindowTest::startUpOpensTheMostRecentWithStartWithFile() {
    for (const bool startWithFile : {false, true}) {
        hv::TMemoryRegistryStore store;
        hv::TSettings settings(store);
        settings.Set(hv::opt::Main::StartWithFile, startWithFile);
        settings.Set(hv::opt::Main::RecentFiles, hv::FullFileName(kSample.toStdString()));
        TScriptedPrompts prompts;
        THVWindow window(&settings, &prompts);
        window.StartUpOpen(QString());
        QCOMPARE(window.windowTitle(),
                 startWithFile ? QStringLiteral("Hollyvine - sample.hv") : QStringLiteral("Hollyvine - (無題)"));
    }
}

void THVWindowTest::failedOpenLeavesThePreviousDocument() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    const QStringList before = Outline(f.Window->TreeView());
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.hv"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>\r\n");
    file.close();
    hv::TFileDialogs::QueueAnswer(broken);
    f.Window->DocumentCommands().actOpen->trigger();
    QCOMPARE(f.Prompts.Seen.size(), 1);
    QVERIFY2(f.Prompts.Seen.first().startsWith(QStringLiteral("Hollyvine|ファイル \"")),
             qPrintable(f.Prompts.Seen.first()));
    QCOMPARE(f.Window->windowTitle(), QStringLiteral("Hollyvine - sample.hv"));
    QCOMPARE(Outline(f.Window->TreeView()), before);
}

void THVWindowTest::altKeysAndHistoryNavigate() {
    TFixture f;
    f.Window->StartUpOpen(kSample);
    f.Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    auto& tree = f.Window->FolderTree();
    QVERIFY(!tree.actBackFolder->isEnabled());

    QTest::keyClick(f.Window->TreeView(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(f.Shown(), QStringLiteral("ニュース"));
    QTest::keyClick(f.Window->TreeView(), Qt::Key_PageDown, Qt::AltModifier);
    QCOMPARE(f.Shown(), QStringLiteral("暮らし"));
    QTest::keyClick(f.Window->TreeView(), Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(f.Shown(), QStringLiteral("Linux"));
    QTest::keyClick(f.Window->TreeView(), Qt::Key_PageUp, Qt::AltModifier);
    QCOMPARE(f.Shown(), QStringLiteral("Hollyvine"));
    QCOMPARE(tree.History().Position(), 4);

    QTest::keyClick(f.Window->TreeView(), Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(f.Window->TreeView(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QStringLiteral("暮らし"));
    QVERIFY(tree.actNextFolder->isEnabled());
    QTest::keyClick(f.Window->TreeView(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.Shown(), QStringLiteral("Linux"));
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

void THVWindowTest::renameRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    const QString duplicate = QStringLiteral("Hollyvine|") + hv::DuplicateFolderMessage(QStringLiteral("技術"));
    QTest::newRow("plain") << QStringLiteral("世界") << QStringLiteral("世界") << QString();
    QTest::newRow("backslash to yen") << QStringLiteral("a\\b") << QStringLiteral("a￥b") << QString();
    QTest::newRow("control characters removed") << QStringLiteral("x\ty\x01") << QStringLiteral("xy") << QString();
    QTest::newRow("only control characters") << QStringLiteral("\t\x02") << QStringLiteral("ニュース")
                                             << QStringLiteral("Hollyvine|名前が入力されていません。");
    QTest::newRow("sibling's name") << QStringLiteral("技術") << QStringLiteral("ニュース") << duplicate;
    QTest::newRow("same name") << QStringLiteral("ニュース") << QStringLiteral("ニュース") << QString();
}

void THVWindowTest::renameRules() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    TFixture f;
    f.Window->StartUpOpen(kSample);
    THVFolder* news = f.Folder("ニュース");
    f.Window->FolderTree().SelectFolder(news);
    f.Window->FolderModel()->setData(f.Window->FolderModel()->IndexOf(news), typed);
    QCOMPARE(QString::fromStdString(news->Name()), stored);
    QCOMPARE(f.Prompts.Seen.value(0), message);
    QCOMPARE(f.Window->Document().Modified(), stored != QStringLiteral("ニュース"));
    QCOMPARE(f.Shown(), stored);
}

void THVWindowTest::folderEditsSurviveSaveAndReopen() {
    QTemporaryDir dir;
    const QString path = CopySample(dir);
    QStringList edited;
    {
        TFixture f;
        f.Window->StartUpOpen(path);
        auto& tree = f.Window->FolderTree();
        // Insert in the tree adds a folder under the selected one.
        tree.SelectFolder(f.Folder("技術"));
        f.Window->TreeView()->setFocus();
        QTest::keyClick(f.Window->TreeView(), Qt::Key_Insert);
        QVERIFY(f.Folder("新しいフォルダ") != nullptr);
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

void THVWindowTest::startArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("cleanUp");
    QTest::addColumn<bool>("debug");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList() << false << false << QString();
    QTest::newRow("path") << QStringList{QStringLiteral("a.hv")} << false << false << QStringLiteral("a.hv");
    QTest::newRow("path and /D") << QStringList{QStringLiteral("a.hv"), QStringLiteral("/D")} << false << true
                                 << QStringLiteral("a.hv");
    QTest::newRow("/d alone") << QStringList{QStringLiteral("/d")} << false << true << QString();
    QTest::newRow("/U") << QStringList{QStringLiteral("/U")} << true << false << QString();
}

void THVWindowTest::startArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, cleanUp);
    QFETCH(bool, debug);
    QFETCH(QString, path);
    const hv::TStartOptions options = hv::ParseStartArguments(arguments);
    QCOMPARE(options.CleanUp, cleanUp);
    QCOMPARE(options.DebugMode, debug);
    QCOMPARE(options.DocumentPath, path);
}

void THVWindowTest::cleanUpAsksFirst() {
    for (const bool yes : {false, true}) {
        hv::TMemoryRegistryStore store;
        store.WriteValue("Software\\K.Amsel\\Hollyvine", "RecentFiles", hv::TRegValue::String("x"));
        TScriptedPrompts prompts;
        prompts.YesNoAnswers.push_back(yes);
        QCOMPARE(hv::RunSettingsCleanUp(store, prompts), yes);
        QCOMPARE(store.KeyExists("Software\\K.Amsel\\Hollyvine"), !yes);
        QCOMPARE(prompts.Seen.size(), yes ? 2 : 1);
    }
}

QTEST_MAIN(THVWindowTest)
#include "test_hvwindow.moc"
