#include "document/DocumentFile.h"
#include "mainwindow/MainWindow.h"
#include "model/HVFolder.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using hv::TMainWindow;

namespace {

// The folder tree as indented lines ("  " per level), in display order.
QStringList TreeOutline(const QTreeWidget& tree) {
    QStringList lines;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it != nullptr; ++it) {
        int level = 0;
        for (const QTreeWidgetItem* p = (*it)->parent(); p != nullptr; p = p->parent()) {
            ++level;
        }
        lines << QString(level * 2, QLatin1Char(' ')) + (*it)->text(0);
    }
    return lines;
}

// The rows of the item list as "name|url".
QStringList ListRows(const QTreeWidget& list) {
    QStringList rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        rows << list.topLevelItem(i)->text(0) + QLatin1Char('|') + list.topLevelItem(i)->text(1);
    }
    return rows;
}

QTreeWidgetItem* FindFolderRow(const QTreeWidget& tree, const QString& name) {
    const auto found = tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// While it lives, answers every modal message box and remembers the last one's title and text,
// so that a test never hangs on a box and can check the boxes it expects.
class TMessageBoxCatcher {
public:
    TMessageBoxCatcher() {
        QObject::connect(&m_Timer, &QTimer::timeout, &m_Timer, [this] { Catch(); });
        m_Timer.start(10);
    }

    QString Title;
    QString Text;
    int Seen = 0;

private:
    void Catch() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            Title = box->windowTitle();
            Text = box->text();
            ++Seen;
            box->accept();
        }
    }

    QTimer m_Timer;
};

} // namespace

class TMainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sampleDocumentShowsItsFolders();
    void savedTreeIsShownAsWritten();
    void unreadableDocumentsShowAnError_data();
    void unreadableDocumentsShowAnError();
    void exitMenuAndWindowCloseQuit();
};

void TMainWindowTest::sampleDocumentShowsItsFolders() {
    TMainWindow window;
    TMessageBoxCatcher catcher;
    const bool opened = window.OpenDocument(QStringLiteral(HV_EXAMPLES_DIR "/sample.hv"));
    QVERIFY2(opened && catcher.Seen == 0, qPrintable(catcher.Text));
    QCOMPARE(window.windowTitle(), QStringLiteral("Hollyvine - sample.hv"));

    // The sample's folders, one nested in 技術, each row listing the items of its folder.
    const QStringList outline = TreeOutline(*window.FolderTree());
    for (const char* row : {"Hollyvine", "  ニュース", "  技術", "    Linux"}) {
        QVERIFY2(outline.contains(QString::fromUtf8(row)), qPrintable(outline.join(QLatin1Char('\n'))));
    }
    int folders = 0;
    hv::ForEachFolder(window.Root(), [&](const hv::THVFolder& folder, int) {
        ++folders;
        window.FolderTree()->setCurrentItem(FindFolderRow(*window.FolderTree(), QString::fromStdString(folder.Name())));
        QCOMPARE(window.ItemList()->topLevelItemCount(), folder.List().Count());
    });
    QCOMPARE(outline.size(), folders);
}

void TMainWindowTest::savedTreeIsShownAsWritten() {
    hv::THVFolder root("Hollyvine");
    auto addItem = [](hv::THVFolder& folder, const char* name, const char* url) {
        hv::THVItem* item = folder.List().Add();
        item->SetName(name);
        item->SetURL(url);
    };
    addItem(root, "トップ", "https://example.jp/");
    hv::THVFolder* news = root.AddChild("ニュース");
    addItem(*news, "Zeta News", "https://zeta.example.com/");
    addItem(*news, "アルファ新聞", "https://alpha.example.jp/news?id=1&x=2");
    hv::THVFolder* local = news->AddChild("地域");
    addItem(*local, "Town", "https://town.example.org/");
    root.AddChild("Empty");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tree.hv"));
    hv::SaveDocumentFile(QFile::encodeName(path).toStdString(), root, {});

    TMainWindow window;
    TMessageBoxCatcher catcher;
    QVERIFY(window.OpenDocument(path));
    QCOMPARE(window.windowTitle(), QStringLiteral("Hollyvine - tree.hv"));
    const QStringList expected{QStringLiteral("Hollyvine"), QStringLiteral("  ニュース"), QStringLiteral("    地域"),
                               QStringLiteral("  Empty")};
    QCOMPARE(TreeOutline(*window.FolderTree()), expected);

    // The root is selected at first; its items are listed in document order.
    QCOMPARE(ListRows(*window.ItemList()), QStringList{QStringLiteral("トップ|https://example.jp/")});
    window.FolderTree()->setCurrentItem(FindFolderRow(*window.FolderTree(), QStringLiteral("ニュース")));
    const QStringList newsRows{QStringLiteral("Zeta News|https://zeta.example.com/"),
                               QStringLiteral("アルファ新聞|https://alpha.example.jp/news?id=1&x=2")};
    QCOMPARE(ListRows(*window.ItemList()), newsRows);
    window.FolderTree()->setCurrentItem(FindFolderRow(*window.FolderTree(), QStringLiteral("Empty")));
    QCOMPARE(window.ItemList()->topLevelItemCount(), 0);

    QCOMPARE(catcher.Seen, 0);
}

void TMainWindowTest::unreadableDocumentsShowAnError_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QByteArray() << QString();
    QTest::newRow("not a document") << QByteArray("<html></html>\r\n")
                                    << QStringLiteral("Hollyvine のドキュメントではありません");
    QTest::newRow("bad folder level") << QByteArray(
                                             "# Holly Vine Document 1\r\n\r\n[Folder]\r\nName=A\r\nLevel=x\r\n\r\n")
                                      << QStringLiteral("'x' は有効な整数値ではありません");
    hv::THVFolder root("Hollyvine");
    root.AddChild("Secret");
    const std::string locked = hv::BuildDocumentBytes(root, "pw");
    QTest::newRow("protected") << QByteArray(locked.data(), static_cast<qsizetype>(locked.size()))
                               << QStringLiteral("パスワードで保護されたドキュメントはまだ開けません");
}

void TMainWindowTest::unreadableDocumentsShowAnError() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.hv"));
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    TMainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Hollyvine - (無題)"));
    TMessageBoxCatcher catcher;
    QVERIFY(!window.OpenDocument(path));
    QCOMPARE(catcher.Seen, 1);
    QCOMPARE(catcher.Title, QStringLiteral("Hollyvine"));
    if (message.isEmpty()) {
        QVERIFY2(catcher.Text.contains(QStringLiteral("broken.hv")), qPrintable(catcher.Text));
    } else {
        QCOMPARE(catcher.Text, message);
    }
    // The window stays as it was: untitled, with the empty root.
    QCOMPARE(window.windowTitle(), QStringLiteral("Hollyvine - (無題)"));
    QCOMPARE(TreeOutline(*window.FolderTree()), QStringList{QStringLiteral("Hollyvine")});
    QCOMPARE(window.ItemList()->topLevelItemCount(), 0);
}

void TMainWindowTest::exitMenuAndWindowCloseQuit() {
    for (const bool fromMenu : {true, false}) {
        TMainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTimer::singleShot(0, &window, [&window, fromMenu] {
            if (fromMenu) {
                window.ExitAction()->trigger();
            } else {
                window.close();
            }
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        // The application's event loop ends by itself once its only window is gone.
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!window.isVisible());
    }
}

QTEST_MAIN(TMainWindowTest)
#include "test_mainwindow.moc"
