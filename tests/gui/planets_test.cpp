// The planet list: a list of each layout read through the dialog, and a chosen planet's
// values in the fields of both parameter tabs.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include "gui_test_support.h"
#include "model/habitability.h"

namespace quendal::test {

namespace {

QString SampleFile(const char* name) {
    return QStringLiteral(QUENDAL_SOURCE_DIR "/data/") + QString::fromLatin1(name);
}

// Chooses an entry from the open drop-down list, as with the mouse.
void PickEntry(QComboBox* combo, int entry) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect rect = view->visualRect(view->model()->index(entry, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class PlanetsTest : public QObject {
    Q_OBJECT
private slots:
    void chosenPlanetFillsTheFields_data() {
        QTest::addColumn<QString>("race");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("chosenText");
        // editStartPlanetMen, editPlanetFabr, editPlanetMine, the concentrations and the
        // surface minerals.
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("immuneTwo");
        QTest::newRow("8 columns")
            << "typical.urc"
            << "planets-8.txt" << 8 << "Brisk, необитаемая, 35%"
            << QStringList{"0", "0", "0", "12", "66", "40", "0", "0", "0"} << false;
        QTest::newRow("11 columns, Windows-1251, immune race")
            << "immune-two.urc"
            << "planets-11.txt" << 7 << "Берёзовый Мыс, ничья, 48%"
            << QStringList{"0", "0", "0", "18", "77", "35", "0", "0", "0"} << true;
        QTest::newRow("20 columns")
            << "typical.urc"
            << "planets-20.txt" << 7 << "Lantern, обитаемая, 52%"
            << QStringList{"412", "35", "20", "34", "81", "22", "880", "1250", "400"} << false;
    }

    void chosenPlanetFillsTheFields() {
        QFETCH(QString, race);
        QFETCH(QString, list);
        QFETCH(int, entries);
        QFETCH(QString, chosenText);
        QFETCH(QStringList, values);
        QFETCH(bool, immuneTwo);
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        LoadRaceFile(w, SampleFile(qPrintable(race)));
        ClickTab(Control<QTabWidget>(form, "PageControl1"), Control<QWidget>(form, "TabAddParam"));
        TypeInto(form, "editPlanetEnv3", QStringLiteral("7")); // typing earlier is overwritten
        w.dialogs->answers << SampleFile(qPrintable(list));
        Click(form, "bnPlanetList");

        const FakeDialogs::Call& call = w.dialogs->calls.back();
        QCOMPARE(call.caption, QStringLiteral("Загрузить список планет"));
        QCOMPARE(call.dir, QDir::current().filePath("data"));
        QVERIFY(call.filter.startsWith(QStringLiteral("Список планет (*.txt")));
        auto* combo = Control<QComboBox>(form, "cbPlanetList");
        QCOMPARE(combo->count(), entries);
        QCOMPARE(combo->currentIndex(), -1);

        PickEntry(combo, 1);
        QCOMPARE(combo->currentText(), chosenText);
        QStringList shown;
        for (const char* name : {"editStartPlanetMen", "editPlanetFabr", "editPlanetMine",
                                 "editPlanetConPrc1", "editPlanetConPrc2", "editPlanetConPrc3",
                                 "editPlanetMineral1", "editPlanetMineral2", "editPlanetMineral3"})
            shown << Control<QLineEdit>(form, name)->text();
        QCOMPARE(shown, values);

        const PlanetParams& planet = form.Model().Planet;
        QStringList env;
        for (const char* name : {"editPlanetEnv1", "editPlanetEnv2", "editPlanetEnv3"})
            env << Control<QLineEdit>(form, name)->text();
        QCOMPARE(env, QStringList({QString::number(planet.PlanetEnv[0]),
                                   QString::number(planet.PlanetEnv[1]),
                                   QString::number(planet.PlanetEnv[2])}));
        QCOMPARE(env[0] == "102" && env[1] == "102", immuneTwo);
        QVERIFY(env[2] != "7");
        QCOMPARE(Control<QLineEdit>(form, "editCurPlanetPrc")->text(),
                 QString::number(CalcPlanetPrc(form.Model().Race, planet.PlanetEnv)));
        QCOMPARE(Control<QLineEdit>(form, "editCurTFormPrc")->text(),
                 QString::number(CalcTFormPrc(form.Model(), planet.PlanetEnv)));

        // "Динамика планеты" shows the planet's habitability.
        ClickTab(Control<QTabWidget>(form, "PageControl1"), Control<QWidget>(form, "TabCalc"));
        QCOMPARE(Control<QLineEdit>(form, "editStartPlanetPrc")->text(),
                 QString::number(planet.PlanetPrc));
    }

    void cancelledOrMissingListChangesNothing() {
        Window w = OpenWindow();
        LoadRaceFile(w, SampleFile("typical.urc"));
        ClickTab(Control<QTabWidget>(*w.form, "PageControl1"),
                 Control<QWidget>(*w.form, "TabAddParam"));
        w.dialogs->answers << SampleFile("planets-8.txt") << QString() << "/nonexistent/p.txt";
        for (int i = 0; i < 3; ++i)
            Click(*w.form, "bnPlanetList");
        QCOMPARE(Control<QComboBox>(*w.form, "cbPlanetList")->count(), 8);
    }
};

QUENDAL_GUI_TEST(PlanetsTest);

} // namespace quendal::test

#include "planets_test.moc"
