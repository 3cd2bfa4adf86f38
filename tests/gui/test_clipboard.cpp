#include "GuiTestSupport.h"
#include "mainwindow/ClipboardActions.h"
#include "mainwindow/DragDrop.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVDataObject.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "model/HVFolder.h"
#include "settings/Settings.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;

namespace {

// A window over settings in memory with the document
//   Hollyvine: Top
//     A: Alpha (http://a/), Beta (http://b/)
//       Inner
//     B
struct TFixture {
    TFixture() : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        Window->ChangeTree([this] {
            THVFolder& root = Window->Document().Root();
            root.List().Add("Top")->SetURL("http://top/");
            A = root.AddChild("A");
            A->List().Add("Alpha")->SetURL("http://a/");
            A->List().Add("Beta")->SetURL("http://b/");
            A->AddChild("Inner");
            B = root.AddChild("B");
        });
        Window->FolderTree().OpenFolderNow(A);
        Window->show();
    }
    QStringList Names(const THVFolder* folder) const {
        QStringList names;
        for (int i = 0; i < folder->List().Count(); ++i) {
            names << QString::fromStdString(folder->List().Items(i)->GetName());
        }
        names.sort(); // the list keeps its rows' order
        return names;
    }
    QStringList Children(const THVFolder* folder) const {
        QStringList names;
        for (int i = 0; i < folder->ChildCount(); ++i) {
            names << QString::fromStdString(folder->Child(i)->Name());
        }
        names.sort();
        return names;
    }
    QPoint RowOf(const THVFolder* folder) const {
        QTreeView* tree = Window->TreeView();
        const QModelIndex index = Window->FolderModel()->IndexOf(folder);
        tree->scrollTo(index);
        return tree->visualRect(index).center();
    }
    void SelectAllItems() const {
        Window->ListView()->setFocus();
        Window->ListView()->selectAll();
    }
    void Key(QWidget* widget, Qt::Key key) const { QTest::keyClick(widget, key, Qt::ControlModifier); }
    bool Modified() const { return Window->Document().Modified(); }

    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    hv::test::TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
    THVFolder* A = nullptr;
    THVFolder* B = nullptr;
};

// Sends a whole drag over a widget: enter, move and drop at pos. Returns the action the drop took.
Qt::DropAction Drop(QWidget* viewport, const QPoint& pos, const QMimeData* mime,
                    Qt::KeyboardModifiers mods = Qt::NoModifier,
                    Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction) {
    QDragEnterEvent enter(pos, actions, mime, Qt::LeftButton, mods);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(pos, actions, mime, Qt::LeftButton, mods);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(pos), actions, mime, Qt::LeftButton, mods);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

QStringList L(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names) {
        list << QString::fromUtf8(name);
    }
    return list;
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

QByteArray Utf16(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

} // namespace

class TClipboardTest : public QObject {
    Q_OBJECT

private slots:
    // The keys themselves are pressed by the tests below.
    void actionsHaveTheirCaptionsAndRules() {
        TFixture f;
        auto& clip = f.Window->Clipboard();
        QCOMPARE(clip.actCopyToCB->text(), QStringLiteral("クリップボードにコピー(&Y)"));
        QCOMPARE(clip.actCutToCB->text(), QStringLiteral("カット(&U)"));
        QCOMPARE(clip.actPasteFromCB->text(), QStringLiteral("ペースト(&P)"));
        QCOMPARE(clip.mniPasteFromCB3->text(), QStringLiteral("ペースト(&P)"));
        QVERIFY(f.Window->FolderTree().TreeViewPopup->actions().contains(clip.mniPasteFromCB3));
        QVERIFY(f.Window->ItemList().Popup()->actions().contains(clip.actCutToCB));
        f.Window->ListView()->clearSelection();
        QVERIFY(!clip.actCopyToCB->isEnabled() && !clip.actCutToCB->isEnabled() && clip.actPasteFromCB->isEnabled());
        f.SelectAllItems();
        QVERIFY(clip.actCopyToCB->isEnabled() && clip.actCutToCB->isEnabled());
    }

    void copiedItemsPastedBesideThemselvesEndInOne() {
        TFixture f;
        f.SelectAllItems();
        f.Key(f.Window->ListView(), Qt::Key_C);
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        QVERIFY(offered != nullptr);
        QCOMPARE(offered->formats(), QStringList({hv::OwnMimeType(), QStringLiteral("text/x-moz-url"),
                                                  QStringLiteral("text/uri-list"), QStringLiteral("text/plain")}));
        // Every URL, not only the last.
        QCOMPARE(offered->text(), QStringLiteral("http://a/\nhttp://b/"));
        QVERIFY(!f.Modified());
        f.Key(f.Window->ListView(), Qt::Key_V);
        QCOMPARE(f.Names(f.A), L({"Alpha", "Alpha~1", "Beta", "Beta~1"}));
        QCOMPARE(f.Window->ListView()->model()->rowCount(), 4);
        QVERIFY(f.Modified());
    }

    void cutThenPasteElsewhereMovesTheItems() {
        TFixture f;
        f.SelectAllItems();
        f.Key(f.Window->ListView(), Qt::Key_X);
        QVERIFY(f.Prompts.Seen.isEmpty()); // no question
        QCOMPARE(f.A->List().Count(), 0);
        QVERIFY(f.Modified());
        // The data outlives the items.
        f.Window->FolderTree().OpenFolderNow(f.B);
        f.Key(f.Window->TreeView(), Qt::Key_V);
        QCOMPARE(f.Names(f.B), L({"Alpha", "Beta"}));
        QCOMPARE(QString::fromStdString(f.B->List().Items(1)->GetURL()), QStringLiteral("http://b/"));
    }

    void treeMenuPastesIntoItsFolder() {
        TFixture f;
        f.SelectAllItems();
        f.Window->Clipboard().actCopyToCB->trigger();
        // Broken own data pastes nothing.
        QMimeData broken;
        broken.setData(hv::OwnMimeType(), "[Folder]\r\nLevel=x\r\nName=F\r\n\r\n");
        QVERIFY(!f.Window->Clipboard().Paste(&broken, f.B));
        QVERIFY(!f.Modified());
        // With no menu open, the menu's paste goes to the selected folder.
        f.Window->FolderTree().OpenFolderNow(f.B);
        f.Window->Clipboard().mniPasteFromCB3->trigger();
        QCOMPARE(f.Names(f.B), L({"Alpha", "Beta"}));
    }

    void folderDroppedOnItselfIsCopiedInsideAndOnItsParentDoesNothing() {
        TFixture f;
        QWidget* viewport = f.Window->TreeView()->viewport();
        f.Window->FolderTree().OpenFolderNow(f.A);
        QPoint at;
        Qt::DropAction dropped = Qt::IgnoreAction;
        Qt::DropActions offered;
        f.Window->DragDrop().SetDragRunner([&](hv::THVDataObject* data, Qt::DropActions actions) {
            offered = actions;
            dropped = Drop(viewport, at, data);
            data->deleteLater(); // as QDrag does
            return dropped;
        });
        at = f.RowOf(&f.Window->Document().Root());
        f.Window->DragDrop().DragSelectedFolder();
        QCOMPARE(offered, Qt::CopyAction | Qt::MoveAction);
        QCOMPARE(dropped, Qt::IgnoreAction);
        QVERIFY(!f.Modified());

        at = f.RowOf(f.A);
        f.Window->DragDrop().DragSelectedFolder();
        QCOMPARE(dropped, Qt::CopyAction);
        QCOMPARE(f.Children(f.A), L({"A", "Inner"}));
        const THVFolder* copy = f.A->FindChild("A");
        QVERIFY(copy != nullptr);
        QCOMPARE(f.Names(copy), L({"Alpha", "Beta"}));
        QCOMPARE(f.Children(copy), L({"Inner"}));
        QCOMPARE(f.Window->Document().Root().ChildCount(), 2); // the source stays
        QVERIFY(f.Modified());

        // A plain drag onto another folder moves it there, and the source deletes nothing more.
        f.Window->FolderTree().OpenFolderNow(f.A);
        at = f.RowOf(f.B);
        f.Window->DragDrop().DragSelectedFolder();
        QCOMPARE(dropped, Qt::CopyAction);
        QCOMPARE(f.Children(&f.Window->Document().Root()), L({"B"}));
        QCOMPARE(f.Children(f.B), L({"A"}));
    }

    void itemsDraggedOntoAFolderMoveThereAndOutToAnotherCopyLeave() {
        TFixture f;
        QWidget* viewport = f.Window->TreeView()->viewport();
        f.SelectAllItems();
        Qt::DropAction dropped = Qt::IgnoreAction;
        f.Window->DragDrop().SetDragRunner([&](hv::THVDataObject* data, Qt::DropActions) {
            dropped = Drop(viewport, f.RowOf(f.B), data);
            data->deleteLater(); // as QDrag does
            return dropped;
        });
        f.Window->DragDrop().DragSelectedItems();
        QCOMPARE(dropped, Qt::MoveAction);
        QCOMPARE(f.Names(f.B), L({"Alpha", "Beta"}));
        QCOMPARE(f.A->List().Count(), 0);

        // Another copy of the program that takes the records with a move: they leave here.
        f.Window->FolderTree().OpenFolderNow(f.B);
        f.SelectAllItems();
        f.Window->DragDrop().SetDragRunner([](hv::THVDataObject* data, Qt::DropActions) {
            data->data(hv::OwnMimeType());
            data->deleteLater(); // as QDrag does
            return Qt::MoveAction;
        });
        f.Window->DragDrop().DragSelectedItems();
        QCOMPARE(f.B->List().Count(), 0);
        // A receiver that took nothing keeps a move from deleting.
        f.Window->FolderTree().OpenFolderNow(&f.Window->Document().Root());
        f.SelectAllItems();
        f.Window->DragDrop().SetDragRunner([](hv::THVDataObject* data, Qt::DropActions) {
            data->deleteLater(); // as QDrag does
            return Qt::MoveAction;
        });
        f.Window->DragDrop().DragSelectedItems();
        QCOMPARE(f.Window->Document().Root().List().Count(), 1);
        // On X11 the loop ends before the receiver asks for the data: a take after it still counts.
        QPointer<hv::THVDataObject> late;
        f.Window->DragDrop().SetDragRunner([&late](hv::THVDataObject* data, Qt::DropActions) {
            late = data;
            return Qt::MoveAction;
        });
        f.Window->DragDrop().DragSelectedItems();
        QCOMPARE(f.Window->Document().Root().List().Count(), 1);
        QVERIFY(late != nullptr);
        late->data(hv::OwnMimeType());
        QTRY_COMPARE(f.Window->Document().Root().List().Count(), 0);
        delete late;
    }

    void firefoxLinkDropKeepsThePageTitle() {
        TFixture f;
        QMimeData mime;
        mime.setData(QStringLiteral("text/x-moz-url"), Utf16(QStringLiteral("https://example.com/\nExample Domain")));
        mime.setData(QStringLiteral("text/uri-list"), "https://example.com/\r\n");
        QCOMPARE(Drop(f.Window->TreeView()->viewport(), f.RowOf(f.B), &mime), Qt::LinkAction);
        QCOMPARE(f.Names(f.B), L({"Example Domain"}));
        QCOMPARE(QString::fromStdString(f.B->List().Items(0)->GetURL()), QStringLiteral("https://example.com/"));
        // On the list: into the shown folder.
        QCOMPARE(Drop(f.Window->ListView()->viewport(), QPoint(5, 5), &mime), Qt::LinkAction);
        QCOMPARE(f.Names(f.A), L({"Alpha", "Beta", "Example Domain"}));
        QCOMPARE(f.Window->ListView()->model()->rowCount(), 3);
        QVERIFY(f.Modified());
    }

    void chromiumUriListDropIsUntitled() {
        TFixture f;
        QMimeData mime;
        mime.setUrls({QUrl(QStringLiteral("https://www.chromium.org/"))});
        mime.setText(QStringLiteral("https://www.chromium.org/"));
        Drop(f.Window->ListView()->viewport(), QPoint(5, 5), &mime);
        Drop(f.Window->ListView()->viewport(), QPoint(5, 5), &mime);
        QCOMPARE(f.Names(f.A), L({"(Untitled)", "(Untitled)~2", "Alpha", "Beta"}));
        // Chromium's own form with the title.
        QMimeData titled;
        titled.setData(QStringLiteral("_NETSCAPE_URL"), "https://www.chromium.org/\nThe Chromium Projects");
        titled.setUrls({QUrl(QStringLiteral("https://www.chromium.org/"))});
        Drop(f.Window->TreeView()->viewport(), f.RowOf(f.B), &titled);
        QCOMPARE(f.Names(f.B), L({"The Chromium Projects"}));
    }

    void shortcutFileDropAddsItsLinkAndOtherFilesNothing() {
        TFixture f;
        QTemporaryDir dir;
        const QString photo = WriteFile(dir.filePath(QStringLiteral("photo.jpg")), "\xFF\xD8\xFF\xE0 not a link");
        QMimeData other;
        other.setUrls({QUrl::fromLocalFile(photo)});
        Drop(f.Window->ListView()->viewport(), QPoint(5, 5), &other);
        QCOMPARE(f.A->List().Count(), 2);
        QVERIFY(!f.Modified());

        const QString shortcut = WriteFile(dir.filePath(QStringLiteral("ｼｮｰﾄｶｯﾄ News.url")),
                                           "[InternetShortcut]\r\nURL=http://news.example/\r\n");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(shortcut), QUrl::fromLocalFile(photo)});
        QCOMPARE(Drop(f.Window->TreeView()->viewport(), f.RowOf(f.B), &files), Qt::LinkAction);
        // A dropped file keeps its own name: only a link's descriptor drops the prefix.
        QCOMPARE(f.Names(f.B), L({"ｼｮｰﾄｶｯﾄ News"}));
        QVERIFY(f.Modified());
    }
};

QTEST_MAIN(TClipboardTest)
#include "test_clipboard.moc"
