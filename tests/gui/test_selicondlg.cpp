#include "IconFileBuilder.h"
#include "PropTestSupport.h"
#include "properties/SelIconDlg.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace hv;
using namespace hv::test;

namespace {
QString Write(const QTemporaryDir& dir, const QString& name, const std::vector<std::uint8_t>& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}
TTestIconGroup Group(int size, std::uint32_t colour) {
    return {{static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size), 32, SolidIconImage(size, colour)}};
}
} // namespace

class TestSelIconDlg : public QObject {
    Q_OBJECT
private slots:
    void icoFileGivesOneEntry() {
        QTemporaryDir dir;
        TPropTestEnv env;
        const QString ico =
            Write(dir, QStringLiteral("a.ICO"), BuildIcoFile({Group(32, 0xFF00FF00)[0], Group(16, 0xFFFF0000)[0]}));
        TSelIconDlg dlg(env.Services);
        QString file = ico;
        int index = 3;
        dlg.Load(file, index);
        auto* list = dlg.findChild<QListWidget*>(QStringLiteral("ListView"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("0"));
        const QImage image = list->item(0)->icon().pixmap(16, 16).toImage();
        QCOMPARE(image.pixelColor(8, 8), QColor(255, 0, 0)); // the 16 x 16 image was taken
        dlg.Result(file, index);
        QCOMPARE(index, 0);
    }

    void peFileListsGroupsAndSelectsTheGivenIndex() {
        QTemporaryDir dir;
        TPropTestEnv env;
        std::vector<TTestIconGroup> groups;
        for (int i = 0; i < 12; ++i) {
            groups.push_back(Group(16, 0xFF000000u | static_cast<std::uint32_t>(i * 20)));
        }
        const QString dll = Write(dir, QStringLiteral("lib.dll"), BuildPeFile(groups));
        TSelIconDlg dlg(env.Services);
        dlg.Load(dll, 5);
        auto* list = dlg.findChild<QListWidget*>(QStringLiteral("ListView"));
        QCOMPARE(list->count(), 12);
        QCOMPARE(list->currentRow(), 5);
        QCOMPARE(list->item(5)->icon().pixmap(16, 16).toImage().pixelColor(1, 1), QColor(0, 0, 100));
        QString file;
        int index = -1;
        dlg.Result(file, index);
        QCOMPARE(file, dll);
        QCOMPARE(index, 5);
    }

    // "参照(&B)" loads the chosen file at once and remembers it.
    void browseLoads() {
        QTemporaryDir dir;
        TPropTestEnv env;
        const QString ico = Write(dir, QStringLiteral("b.ico"), BuildIcoFile(Group(16, 0xFF0000FF)));
        TSelIconDlg dlg(env.Services);
        TFileDialogs::QueueAnswer(ico);
        dlg.Browse();
        QCOMPARE(dlg.LoadedFile(), ico);
        QCOMPARE(dlg.findChild<QListWidget*>(QStringLiteral("ListView"))->count(), 1);
        QCOMPARE(dlg.History(), QStringList{ico});
    }

    void defaultIconClears() {
        TPropTestEnv env;
        TSelIconDlg dlg(env.Services);
        dlg.Load(QStringLiteral("/nonexistent/x.dll"), 0);
        dlg.UseDefaultIcon();
        QString file = QStringLiteral("x");
        int index = 4;
        dlg.Result(file, index);
        QVERIFY(file.isEmpty());
        QCOMPARE(index, -1);
    }

    void historyIsCappedAndStored() {
        TPropTestEnv env;
        QStringList history;
        for (int i = 0; i < 65; ++i) {
            history = TSelIconDlg::AddToHistory(history, QStringLiteral("/f%1").arg(i));
        }
        QCOMPARE(history.size(), 64);
        QCOMPARE(history.last(), QStringLiteral("/f1"));
        history = TSelIconDlg::AddToHistory(history, QStringLiteral("/F5"));
        QCOMPARE(history.size(), 64);
        QCOMPARE(history.count(QStringLiteral("/f5")), 0);
        {
            TSelIconDlg dlg(env.Services);
            dlg.Load(QStringLiteral("/a/b.ico"), -1);
        }
        const auto stored = env.Registry.ReadValue("Software\\K.Amsel\\Hollyvine", "SelIconHistory");
        QVERIFY(stored);
        QCOMPARE(stored->Data, std::string("/a/b.ico"));
    }
};

QTEST_MAIN(TestSelIconDlg)
#include "test_selicondlg.moc"
