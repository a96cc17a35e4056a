// "Расчет": the data table, the minerals table and the chart as the player sees them.
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include "app/chart_adapter.h"
#include "gui_test_support.h"

namespace quendal::test {

class CalcTest : public QObject {
    Q_OBJECT
private slots:
    void populationOnlyWithoutRace() {
        Window w = OpenWindow();
        Click(*w.form, "bnCalculate");
        const QStringList data = Lines(Control<QListWidget>(*w.form, "lbDataSet"));
        QCOMPARE(data.size(), 16);
        QCOMPARE(data.first(), QStringLiteral("   0 | 100 |   25000 |     0 |     0 |    0"));
        QCOMPARE(data.last(), QStringLiteral("  15 | 100 |  203409 |     0 |     0 |    0"));
        QVERIFY(Lines(Control<QListWidget>(*w.form, "lbMineral")).isEmpty());

        ChartAdapter& chart = w.form->Chart();
        QCOMPARE(chart.PointCount(0), 16);
        QCOMPARE(chart.PointCount(1), 16);
        for (int series = 2; series < ChartAdapter::kSeriesCount; ++series)
            QCOMPARE(chart.PointCount(series), 0);
        QCOMPARE(chart.LegendText(0), QStringLiteral("% среды: 100"));
        QCOMPARE(chart.LegendText(1), QStringLiteral("Насел-е: 203.409"));
        QCOMPARE(chart.LegendText(2), QStringLiteral("Ресурсы"));
    }

    void chartKeepsAboutFortyPoints_data() {
        QTest::addColumn<QString>("years");
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("secondYear");
        QTest::addColumn<double>("lastButOneYear");
        QTest::newRow("15 years: every year") << "15" << 16 << 1.0 << 14.0;
        QTest::newRow("40 years: every second") << "40" << 21 << 2.0 << 38.0;
        QTest::newRow("100 years: every third and the last") << "100" << 35 << 3.0 << 99.0;
        QTest::newRow("999 years: every 25th and the last") << "999" << 41 << 25.0 << 975.0;
    }

    void chartKeepsAboutFortyPoints() {
        QFETCH(QString, years);
        QFETCH(int, points);
        QFETCH(double, secondYear);
        QFETCH(double, lastButOneYear);
        Window w = OpenWindow();
        TypeInto(*w.form, "editLightYears", years);
        Click(*w.form, "bnCalculate");
        const ChartAdapter& chart = w.form->Chart();
        QCOMPARE(chart.PointCount(0), points);
        QCOMPARE(chart.PointCount(1), points);
        QCOMPARE(chart.PointAt(0, 0).x(), 0.0);
        QCOMPARE(chart.PointAt(0, 1).x(), secondYear);
        QCOMPARE(chart.PointAt(0, points - 2).x(), lastButOneYear);
        QCOMPARE(chart.PointAt(0, points - 1).x(), years.toDouble());
        QCOMPARE(Control<QListWidget>(*w.form, "lbDataSet")->count(), years.toInt() + 1);
    }

    void secondCalculationReplacesOutputs() {
        Window w = OpenWindow();
        Click(*w.form, "bnCalculate");
        TypeInto(*w.form, "editLightYears", QStringLiteral("5"));
        Click(*w.form, "bnCalculate");
        QCOMPARE(Control<QListWidget>(*w.form, "lbDataSet")->count(), 6);
        QCOMPARE(w.form->Chart().PointCount(0), 6);
        QCOMPARE(w.form->Chart().PointCount(1), 6);
    }

    // Typed numbers keep their sign and digits only; the number of years is kept within
    // what the table can show.
    void typedStartConditions_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("firstRow");
        QTest::newRow("colonists with letters")
            << "editStartPlanetMen"
            << "12abc"
            << "12" << 16 << "   0 | 100 |    1200 |     0 |     0 |    0";
        QTest::newRow("years with letters")
            << "editLightYears"
            << "3xyz"
            << "3" << 4 << "   0 | 100 |   25000 |     0 |     0 |    0";
        QTest::newRow("negative years: nothing") << "editLightYears"
                                                 << "-5"
                                                 << "-5" << 0 << QString();
        QTest::newRow("years beyond the table")
            << "editLightYears"
            << "2000000000"
            << "200000000" << 10000 << "   0 | 100 |   25000 |     0 |     0 |    0";
        QTest::newRow("habitability -20")
            << "editStartPlanetPrc"
            << "-20"
            << "-20" << 16 << "   0 | -20 |   25000 |     0 |     0 |    0";
    }

    void typedStartConditions() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, rows);
        QFETCH(QString, firstRow);
        Window w = OpenWindow();
        TypeInto(*w.form, qPrintable(field), text);
        Click(*w.form, "bnCalculate");
        const QStringList data = Lines(Control<QListWidget>(*w.form, "lbDataSet"));
        QCOMPARE(data.size(), rows);
        QCOMPARE(data.value(0), firstRow);
        QCOMPARE(w.form->Chart().PointCount(0) == 0, rows == 0);
        QCOMPARE(Control<QLineEdit>(*w.form, qPrintable(field))->text(), shown); // not rewritten
    }

    void raceShowsMineralsAndPlottedKinds() {
        QTemporaryDir dir;
        Window w = OpenWindow();
        LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), "humans.urc", SampleRace()));
        // Only mines in the template: factories stay off the chart.
        ChooseEntry(Control<QComboBox>(*w.form, "cbItemAdd"), 3);
        TypeInto(*w.form, "editItemAdd", QStringLiteral("20"));
        Click(*w.form, "bnItemAdd");
        Click(*w.form, "bnCalculate");

        const QStringList minerals = Lines(Control<QListWidget>(*w.form, "lbMineral"));
        QCOMPARE(minerals.size(), 16);
        QCOMPARE(minerals.first(), QStringLiteral("  0 100/100/100 0/0/0          0/0/0"));
        const ChartAdapter& chart = w.form->Chart();
        QCOMPARE(chart.PointCount(2), 16); // resources
        QCOMPARE(chart.PointCount(3), 0);  // no factories element, none installed
        QCOMPARE(chart.PointCount(4), 16); // mines

        ChooseEntry(Control<QComboBox>(*w.form, "cbItemAdd"), 2);
        Click(*w.form, "bnItemAdd");
        Click(*w.form, "bnCalculate");
        QCOMPARE(chart.PointCount(3), 16);
    }
};

QUENDAL_GUI_TEST(CalcTest);

} // namespace quendal::test

#include "calc_test.moc"
