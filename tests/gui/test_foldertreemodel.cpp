#include "mainwindow/FolderTreeModel.h"
#include "model/HVFolder.h"
#include "model/TreeEdits.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QSignalSpy>
#include <QtTest>

using hv::TFolderTreeModel;
using hv::THVFolder;

namespace {

QStringList Names(const THVFolder& parent) {
    QStringList names;
    for (const auto& child : parent.Children()) {
        names << QString::fromStdString(child->Name());
    }
    return names;
}

} // namespace

class TFolderTreeModelTest : public QObject {
    Q_OBJECT

private slots:
    void changesKeepTheModelConsistent() {
        THVFolder root("Hollyvine");
        THVFolder* news = root.AddChild("News");
        news->AddChild("Local");
        root.AddChild("Tech");
        TFolderTreeModel model;
        model.EndReset(&root);
        hv::TTreeEdits edits;
        edits.AddObserver(&model);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.nodeFromIndex(model.index(0, 0)), &root);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(model.flags(model.IndexOf(news)) & Qt::ItemIsEditable);

        const QPersistentModelIndex newsIndex(model.IndexOf(news));
        edits.AddFolder(root, "Alpha", true);
        QCOMPARE(Names(root), (QStringList{QStringLiteral("Alpha"), QStringLiteral("News"), QStringLiteral("Tech")}));
        // Persistent indexes follow their folders through the sort.
        QCOMPARE(model.nodeFromIndex(newsIndex), news);
        QCOMPARE(newsIndex.row(), 1);

        edits.RenameFolder(*news, "Zulu", true);
        QCOMPARE(Names(root), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Tech"), QStringLiteral("Zulu")}));
        QCOMPARE(newsIndex.row(), 2);

        edits.DeleteFolder(*news);
        QVERIFY(!newsIndex.isValid());
        QCOMPARE(Names(root), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Tech")}));
        edits.DeleteFolder(root); // the root stays
        QCOMPARE(model.rowCount(), 1);
        // A merging move: rows come and go while the receiving folder fills.
        THVFolder* tech = root.Child(1);
        tech->AddChild("Sub");
        root.Child(0)->AddChild("Tech")->AddChild("sub");
        QVERIFY(edits.MoveFolderInto(*tech, *root.Child(0), true) != nullptr);
        QCOMPARE(Names(root), QStringList{QStringLiteral("Alpha")});

        model.BeginReset();
        model.EndReset(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

    void moveSwapsWithTheNeighbour_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("delta");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QString>("order");
        QTest::newRow("first forward") << 0 << -1 << false << QStringLiteral("A,B,C");
        QTest::newRow("first back") << 0 << 1 << true << QStringLiteral("B,A,C");
        QTest::newRow("middle forward") << 1 << -1 << true << QStringLiteral("B,A,C");
        QTest::newRow("middle back") << 1 << 1 << true << QStringLiteral("A,C,B");
        QTest::newRow("last back") << 2 << 1 << false << QStringLiteral("A,B,C");
    }

    void moveSwapsWithTheNeighbour() {
        QFETCH(int, from);
        QFETCH(int, delta);
        QFETCH(bool, moved);
        QFETCH(QString, order);
        THVFolder root("Hollyvine");
        for (const char* name : {"A", "B", "C"}) {
            root.AddChild(name)->AddChild("sub");
        }
        TFolderTreeModel model;
        model.EndReset(&root);
        hv::TTreeEdits edits;
        edits.AddObserver(&model);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        THVFolder* folder = root.Child(from);
        const QPersistentModelIndex child(model.IndexOf(folder->Child(0)));
        QCOMPARE(edits.MoveFolder(*folder, delta), moved);
        QCOMPARE(Names(root).join(QLatin1Char(',')), order);
        QCOMPARE(model.nodeFromIndex(child.parent()), folder);
    }

    void openImageFollowsTheSelectedFolder() {
        THVFolder root("Hollyvine");
        THVFolder* news = root.AddChild("News");
        THVFolder* local = news->AddChild("Local");
        THVFolder* tech = root.AddChild("Tech");
        TFolderTreeModel model;
        QPixmap red(16, 16), green(16, 16), blue(16, 16);
        red.fill(Qt::red);
        green.fill(Qt::green);
        blue.fill(Qt::blue);
        model.SetIcons({QIcon(red), QIcon(green), QIcon(blue)});
        model.EndReset(&root);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        auto image = [&](const THVFolder* folder) {
            return model.data(model.IndexOf(folder), Qt::DecorationRole).value<QIcon>().cacheKey();
        };
        const qint64 rootKey = model.Icons().Root.cacheKey();
        const qint64 closed = model.Icons().Closed.cacheKey();
        const qint64 open = model.Icons().Open.cacheKey();

        model.SetOpenFolder(local);
        QCOMPARE(image(local), open);
        QCOMPARE(image(news), closed);
        model.SetOpenFolder(tech);
        QCOMPARE(changed.count(), 3); // local, then local closed and tech open
        QCOMPARE(image(local), closed);
        QCOMPARE(image(tech), open);
        // The root keeps the program's image even when selected.
        model.SetOpenFolder(&root);
        QCOMPARE(image(&root), rootKey);
        // A deleted open folder is forgotten, not read after it is freed.
        model.SetOpenFolder(local);
        model.SetDropHighlight(local);
        hv::TTreeEdits edits;
        edits.AddObserver(&model);
        edits.DeleteFolder(*news);
        QCOMPARE(model.OpenFolder(), nullptr);
        QCOMPARE(model.DropHighlight(), nullptr);
    }
};

QTEST_MAIN(TFolderTreeModelTest)
#include "test_foldertreemodel.moc"
