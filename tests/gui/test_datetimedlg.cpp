#include "PropTestSupport.h"
#include "model/HVItems.h"
#include "properties/DateTimeDlg.h"
#include "properties/ItemPropDlg.h"
#include "settings/OptionKeys.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace hv;
using namespace hv::test;

class TestDateTimeDlg : public QObject {
    Q_OBJECT

private:
    static void SetTexts(TDateTimeDlg& dlg, const QStringList& texts) {
        for (int i = 0; i < TDateTimeDlg::FieldCount; ++i) {
            dlg.Field(i)->SetText(texts.value(i));
        }
    }

private slots:
    void upDownWraps_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("year past max") << 0 << QStringLiteral("2080") << int(Qt::Key_Up) << QStringLiteral("1981");
        QTest::newRow("year below min") << 0 << QStringLiteral("1981") << int(Qt::Key_Down) << QStringLiteral("2080");
        QTest::newRow("month up") << 1 << QStringLiteral("12") << int(Qt::Key_Up) << QStringLiteral("1");
        QTest::newRow("month down") << 1 << QStringLiteral("1") << int(Qt::Key_Down) << QStringLiteral("12");
        QTest::newRow("day up") << 2 << QStringLiteral("31") << int(Qt::Key_Up) << QStringLiteral("1");
        QTest::newRow("hour down") << 3 << QStringLiteral("0") << int(Qt::Key_Down) << QStringLiteral("23");
        QTest::newRow("minute up") << 4 << QStringLiteral("59") << int(Qt::Key_Up) << QStringLiteral("0");
        QTest::newRow("minute inside") << 4 << QStringLiteral("07") << int(Qt::Key_Up) << QStringLiteral("8");
        QTest::newRow("empty starts at min") << 3 << QString() << int(Qt::Key_Up) << QStringLiteral("1");
    }
    void upDownWraps() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(QString, expected);
        TRecordingPrompts prompts;
        TDateTimeDlgParams params;
        params.Value = EncodeDateTime(2024, 5, 6, 7, 8);
        TDateTimeDlg dlg(params, prompts);
        TDTDEdit* edit = dlg.Field(field);
        edit->SetText(text);
        QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(edit->Text(), expected);
    }

    void okChecksEveryField_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("warning"); // empty: accepted
        const auto row = [](const char* name, std::initializer_list<const char*> fields, const char* warning) {
            QStringList texts;
            for (const char* f : fields) {
                texts.append(QString::fromUtf8(f));
            }
            QTest::newRow(name) << texts << QString::fromUtf8(warning);
        };
        row("plain", {"2024", "4", "30", "23", "59"}, "");
        row("31 in April", {"2024", "4", "31", "0", "0"}, "[日] の値が不正です。");
        row("29 Feb leap", {"2024", "2", "29", "0", "0"}, "");
        row("29 Feb common", {"2023", "2", "29", "0", "0"}, "[日] の値が不正です。");
        row("year below", {"1799", "1", "1", "0", "0"}, "[年] の値が不正です。");
        row("month 13 before bad day", {"2024", "13", "40", "0", "0"}, "[月] の値が不正です。");
        row("day 0", {"2024", "1", "0", "0", "0"}, "[日] の値が不正です。");
        row("hour 24", {"2024", "1", "1", "24", "0"}, "[時] の値が不正です。");
        row("empty minute", {"2024", "1", "1", "0", ""}, "[分] の値が不正です。");
        row("hex", {"2024", "$A", "1", "0", "0"}, "[月] の値が不正です。");
        row("leading zeros", {"2024", "02", "09", "00", "05"}, "");
    }
    void okChecksEveryField() {
        QFETCH(QStringList, texts);
        QFETCH(QString, warning);
        TRecordingPrompts prompts;
        TDateTimeDlgParams params;
        params.MinYear = 1800;
        params.MaxYear = 2200;
        TDateTimeDlg dlg(params, prompts);
        SetTexts(dlg, texts);
        QCOMPARE(dlg.Validate(), warning.isEmpty());
        if (warning.isEmpty()) {
            QVERIFY(prompts.Messages.empty());
            QCOMPARE(dlg.Value(), EncodeDateTime(texts[0].toInt(), texts[1].toInt(), texts[2].toInt(), texts[3].toInt(),
                                                 texts[4].toInt()));
        } else {
            QCOMPARE(prompts.Messages, std::vector<std::string>{"Hollyvine|" + warning.toStdString()});
            // A failed day check leaves the day's bound as it was.
            QCOMPARE(dlg.Field(TDateTimeDlg::FieldDay)->Maximum(), 31);
        }
    }

    void fieldsTakeDigitsOnly() {
        TRecordingPrompts prompts;
        TDateTimeDlgParams params;
        TDateTimeDlg dlg(params, prompts);
        dlg.show();
        TDTDEdit* minute = dlg.Field(TDateTimeDlg::FieldMinute);
        minute->SetText({});
        QGuiApplication::clipboard()->setText(QStringLiteral("42"));
        QTest::keyClicks(minute, QStringLiteral("1a-"));
        QTest::keyClick(minute, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(minute, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClicks(minute, QStringLiteral(" 2"));
        QCOMPARE(minute->Text(), QStringLiteral("12"));
        QTest::keyClick(minute, Qt::Key_Backspace);
        QTest::keyClick(minute, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(minute->Text(), QStringLiteral("12"));
        QTest::keyClicks(dlg.Field(TDateTimeDlg::FieldYear), QStringLiteral("12345"));
        QCOMPARE(dlg.Field(TDateTimeDlg::FieldYear)->Text().size(), 4);
        const std::unique_ptr<QMenu> menu(minute->CreateContextMenu());
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().at(0)->text(), QString::fromUtf8("すべて選択(&A)"));
    }

    // The access-time dialog opens at DTimeDlgPos, and its last position is stored back.
    void accessTimeDialogKeepsItsPosition() {
        TPropTestEnv env;
        env.Settings.Set(opt::Window::DTimeDlgPos, "321,234");
        THVList list;
        THVItem* item = list.Add("a");
        item->SetURL("http://a/");
        item->SetLastVisited(EncodeDateTime(2020, 1, 2, 3, 4));
        TItemPropDlg dlg(env.Services);
        dlg.Load(item, list);
        QPoint shownAt;
        QPoint movedTo;
        QString preset;
        OnNextModal([&](QWidget* modal) {
            auto* dt = qobject_cast<TDateTimeDlg*>(modal);
            shownAt = dt->geometry().topLeft(); // the client area's place, as stored
            preset = dt->Field(0)->Text() + QLatin1Char('/') + dt->Field(4)->Text();
            dt->move(40, 50);
            movedTo = dt->geometry().topLeft();
            SetTexts(*dt, {QStringLiteral("2024"), QStringLiteral("2"), QStringLiteral("29"), QStringLiteral("10"),
                           QStringLiteral("5")});
            dt->findChild<QPushButton*>(QStringLiteral("bbtOK"))->click();
        });
        dlg.EditAccessTime();
        QCOMPARE(shownAt, QPoint(321, 234));
        QCOMPARE(preset, QStringLiteral("2020/4"));
        QCOMPARE(dlg.WorkItem().GetLastVisited(), EncodeDateTime(2024, 2, 29, 10, 5));
        QVERIFY(dlg.Modified());
        QCOMPARE(env.Settings.Get(opt::Window::DTimeDlgPos),
                 QStringLiteral("%1,%2").arg(movedTo.x()).arg(movedTo.y()).toStdString());
        QCOMPARE(item->GetLastVisited(), EncodeDateTime(2020, 1, 2, 3, 4)); // not before OK
    }
};

QTEST_MAIN(TestDateTimeDlg)
#include "test_datetimedlg.moc"
