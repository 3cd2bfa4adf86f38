#include "PropTestSupport.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "properties/CmdPropDlg.h"
#include "properties/ItemPropDlg.h"
#include "properties/Schedule.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace hv;
using namespace hv::test;

class TestItemPropDlg : public QObject {
    Q_OBJECT

private:
    template <class T> static T* Find(QWidget& w, const char* name) {
        T* child = w.findChild<T*>(QString::fromUtf8(name));
        if (child == nullptr) {
            qFatal("no widget %s", name);
        }
        return child;
    }

private slots:
    void clipboardUrl_data() {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("url");
        QTest::newRow("https") << QStringLiteral("https://example.org/a") << QStringLiteral("https://example.org/a");
        QTest::newRow("quoted") << QStringLiteral("\"HTTP://x.jp/\"") << QStringLiteral("HTTP://x.jp/");
        QTest::newRow("single quoted") << QStringLiteral("'ftp://f/'") << QStringLiteral("ftp://f/");
        QTest::newRow("mailto") << QStringLiteral("mailto:a@b") << QStringLiteral("mailto:a@b");
        QTest::newRow("mailto is case sensitive") << QStringLiteral("MAILTO:a@b") << QStringLiteral("http://www.");
        QTest::newRow("sentence") << QStringLiteral("see http://x.jp/") << QStringLiteral("http://www.");
        QTest::newRow("other scheme") << QStringLiteral("file:///etc") << QStringLiteral("http://www.");
        QTest::newRow("unpaired quote") << QStringLiteral("\"http://x/'") << QStringLiteral("http://www.");
    }
    void clipboardUrl() {
        QFETCH(QString, clip);
        QFETCH(QString, url);
        TPropTestEnv env;
        THVList list;
        TItemPropDlg dlg(env.Services);
        QGuiApplication::clipboard()->setText(clip);
        dlg.Load(nullptr, list);
        QCOMPARE(Find<QLineEdit>(dlg, "edtURL")->text(), url);
    }

    void newItemIsCreatedWithEveryPage() {
        TPropTestEnv env;
        THVList list;
        TItemPropDlg dlg(env.Services);
        QGuiApplication::clipboard()->setText(QStringLiteral("https://example.org/"));
        dlg.Load(nullptr, list);
        dlg.show();
        auto* ok = Find<QPushButton>(dlg, "bbtOK");
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(Find<QLineEdit>(dlg, "edtName"), QStringLiteral("Example"));
        QVERIFY(ok->isEnabled());
        QTest::keyClicks(Find<QPlainTextEdit>(dlg, "edtMemo"), QStringLiteral("line1"));
        QTest::keyClick(Find<QPlainTextEdit>(dlg, "edtMemo"), Qt::Key_Return);
        QTest::keyClicks(Find<QPlainTextEdit>(dlg, "edtMemo"), QStringLiteral("line2"));
        // Add two commands through the command dialog, then swap them.
        for (const char* title : {"first", "second"}) {
            OnNextModal([title](QWidget* modal) {
                QTest::keyClicks(modal->findChild<QLineEdit*>(QStringLiteral("edtTitle")), QString::fromUtf8(title));
                QTest::keyClicks(modal->findChild<QLineEdit*>(QStringLiteral("edtCmdLine")), QStringLiteral("prog a"));
                modal->findChild<QPushButton*>(QStringLiteral("bbtOK"))->click();
            });
            dlg.AddCommand();
        }
        auto* commands = Find<QTreeWidget>(dlg, "lvCommands");
        QCOMPARE(commands->topLevelItemCount(), 2);
        QVERIFY(!Find<QPushButton>(dlg, "btnDown")->isEnabled()); // the last row is selected
        Find<QPushButton>(dlg, "btnUp")->click();
        QCOMPARE(commands->currentItem()->text(0), QStringLiteral("second"));
        QVERIFY(!Find<QPushButton>(dlg, "btnUp")->isEnabled());
        Find<QPushButton>(dlg, "btnTest")->click();
        QCOMPARE(env.Opened, std::vector<std::string>{"prog a"});
        // Month days 5,15,25 at 9:00 for one day.
        Find<QTabWidget>(dlg, "")->setCurrentIndex(2);
        Find<QRadioButton>(dlg, "rbDate")->click();
        QTest::keyClicks(Find<QLineEdit>(dlg, "edtDays"), QStringLiteral("5,x15,25"));
        Find<QSpinBox>(dlg, "udHour")->setValue(9);
        Find<QSpinBox>(dlg, "udPeriodDays")->setValue(1);
        ok->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const THVItem& work = dlg.WorkItem();
        QCOMPARE(work.GetName(), std::string("Example"));
        QCOMPARE(work.GetURL(), std::string("https://example.org/"));
        QCOMPARE(work.GetMemo(), std::string("line1\r\nline2"));
        QCOMPARE(work.GetSchedule(), std::string("M 5,15,25 9:00 1,0"));
        QCOMPARE(work.GetCommands().Count(), 2);
        QCOMPARE(work.GetCommands().Items(0).Title, std::string("second"));
        // The row turns due at the first chosen moment after a visit before it.
        const TDateTime visit = EncodeDateTime(2024, 3, 4, 12, 0);
        QVERIFY(!NeedToVisit(work.GetSchedule(), visit, EncodeDateTime(2024, 3, 5, 8, 59)));
        QVERIFY(NeedToVisit(work.GetSchedule(), visit, EncodeDateTime(2024, 3, 5, 9, 0)));
    }

    void unchangedOkIsCancel() {
        TPropTestEnv env;
        THVList list;
        THVItem* item = list.Add("news");
        item->SetURL("http://n/");
        TItemPropDlg dlg(env.Services);
        QTimer::singleShot(0, &dlg, [&dlg] { dlg.accept(); });
        QVERIFY(!dlg.Execute(item, list));
        QCOMPARE(item->GetURL(), std::string("http://n/"));
    }

    void nameChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::newRow("case change of its own") << QStringLiteral("News") << true << QString();
        QTest::newRow("taken by another")
            << QStringLiteral("OTHER") << false << QString::fromUtf8("アイテム名 'OTHER' は既に使われています。");
        QTest::newRow("tabs only") << QStringLiteral("\t\t") << false
                                   << QString::fromUtf8("名前が入力されていません。");
        QTest::newRow("free") << QStringLiteral("fresh") << true << QString();
    }
    void nameChecks() {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        TPropTestEnv env;
        THVList list;
        THVItem* item = list.Add("news");
        item->SetURL("http://n/");
        list.Add("other");
        TItemPropDlg dlg(env.Services);
        dlg.Load(item, list);
        Find<QLineEdit>(dlg, "edtName")->setText(name);
        QCOMPARE(dlg.CheckOK(), accepted);
        if (!accepted) {
            QVERIFY(
                QString::fromStdString(env.Prompts.Messages.at(0)).startsWith(QStringLiteral("Hollyvine|") + message));
        }
    }

    void emptyUrlIsRefused() {
        TPropTestEnv env;
        THVList list;
        TItemPropDlg dlg(env.Services);
        dlg.Load(nullptr, list);
        Find<QLineEdit>(dlg, "edtName")->setText(QStringLiteral("a"));
        Find<QLineEdit>(dlg, "edtURL")->clear();
        QVERIFY(!dlg.CheckOK());
        QCOMPARE(env.Prompts.Messages, std::vector<std::string>{"Hollyvine|URLが指定されていません。"});
    }

    void weekScheduleLoadsAndNumbersDoNotMarkWhileLoading() {
        TPropTestEnv env;
        THVList list;
        THVItem* item = list.Add("w");
        item->SetURL("u");
        item->SetSchedule("W 2,6 7:30 0,12");
        TItemPropDlg dlg(env.Services);
        dlg.Load(item, list);
        QVERIFY(Find<QCheckBox>(dlg, "chkWDay2")->isChecked());
        QVERIFY(!Find<QCheckBox>(dlg, "chkWDay3")->isChecked());
        QVERIFY(!Find<QLineEdit>(dlg, "edtDays")->isEnabled());
        QCOMPARE(Find<QSpinBox>(dlg, "udMinute")->value(), 30);
        QVERIFY(!dlg.Modified());
        Find<QSpinBox>(dlg, "udMinute")->setValue(31); // the page is not on screen
        QVERIFY(!dlg.Modified());
        dlg.show();
        Find<QSpinBox>(dlg, "udMinute")->setValue(32); // the dialog shows another page
        QVERIFY(!dlg.Modified());
        Find<QRadioButton>(dlg, "rbWeek")->click(); // already chosen: no change
        QVERIFY(!dlg.Modified());
        Find<QTabWidget>(dlg, "")->setCurrentIndex(2);
        auto* hour = Find<QSpinBox>(dlg, "udHour");
        hour->selectAll();
        QTest::keyClicks(hour, QStringLiteral("1+x-5"));
        QCOMPARE(hour->value(), 15);
        QVERIFY(dlg.Modified());
    }

    // The URL field puts the caret after "http://www."; Esc in the memo cancels the dialog.
    void generalPageKeys() {
        TPropTestEnv env;
        THVList list;
        THVItem* item = list.Add("a");
        item->SetURL("http://www.");
        item->SetMemo("memo");
        TItemPropDlg dlg(env.Services);
        QTimer::singleShot(0, &dlg, [&dlg] {
            auto* url = Find<QLineEdit>(dlg, "edtURL");
            url->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(url->cursorPosition(), 11);
            QVERIFY(!url->hasSelectedText());
            auto* memo = Find<QPlainTextEdit>(dlg, "edtMemo");
            QTest::keyClicks(memo, QStringLiteral("x"));
            QTest::keyClick(memo, Qt::Key_Escape);
        });
        QVERIFY(!dlg.Execute(item, list));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(item->GetMemo(), std::string("memo"));
    }

    void deleteCommandAsks() {
        TPropTestEnv env;
        THVList list;
        THVItem* item = list.Add("c");
        item->SetURL("u");
        item->GetCommands().Add() = {"one", "x", true};
        TItemPropDlg dlg(env.Services);
        dlg.Load(item, list);
        auto* commands = Find<QTreeWidget>(dlg, "lvCommands");
        QCOMPARE(commands->topLevelItem(0)->text(2), QString::fromUtf8("アクセス日時更新"));
        dlg.DeleteCommand(); // answered No
        QCOMPARE(commands->topLevelItemCount(), 1);
        env.Prompts.YesNoAnswers.push_back(true);
        dlg.DeleteCommand();
        QCOMPARE(commands->topLevelItemCount(), 0);
        QCOMPARE(env.Prompts.Messages.back(), std::string("Hollyvine|?コマンド 'one' を削除します。よろしいですか？"));
        QVERIFY(!Find<QPushButton>(dlg, "btnEdit")->isEnabled());
    }

    void commandDialog() {
        TPropTestEnv env;
        TCmdPropDlg dlg(env.Services);
        TCmdItem command{"t", "c", false};
        dlg.Load(command);
        QVERIFY(!Find<QPushButton>(dlg, "bbtOK")->isEnabled());
        QVERIFY(!dlg.Store(command)); // nothing changed
        TFileDialogs::QueueAnswer(QStringLiteral("/opt/My Programs/run me"));
        dlg.Browse();
        QVERIFY(Find<QPushButton>(dlg, "bbtOK")->isEnabled());
        QVERIFY(dlg.Store(command));
        QCOMPARE(command.CommandLine, std::string("/opt/My Programs/run me"));
        Find<QLineEdit>(dlg, "edtTitle")->clear();
        QVERIFY(!dlg.CheckOK());
        QCOMPARE(env.Prompts.Messages, std::vector<std::string>{"Hollyvine|タイトルが入力されていません。"});
    }

    // A fixed-size dialog with the close button only, at the same place over openings and
    // restarts (the registry store outlives the settings objects).
    void fixedSizeAndKeptPlace() {
        TMemoryRegistryStore store;
        TRecordingPrompts prompts;
        QPoint first;
        for (int opening = 0; opening < 3; ++opening) {
            TSettings settings(store);
            TPropDlgServices services{settings, prompts, {}};
            TItemPropDlg dlg(services);
            if (opening == 0) {
                dlg.move(150, 120);
            }
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
            if (opening == 0) {
                first = dlg.geometry().topLeft();
            }
            QCOMPARE(dlg.geometry().topLeft(), first);
            dlg.close();
        }
    }
};

QTEST_MAIN(TestItemPropDlg)
#include "test_itempropdlg.moc"
