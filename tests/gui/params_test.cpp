// "Дополнительные параметры": what the tab shows on entering it, how edits reach the derived
// fields and the model, the start habitability between the tabs, and the planet list.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/sample_folder.h"
#include "gui_test_support.h"
#include "model/habitability.h"

namespace quendal::test {

namespace {

QString SampleFile(const QString& name) {
    return QStringLiteral(QUENDAL_SOURCE_DIR "/data/") + name;
}

// A window with a race loaded and the additional-parameters tab in front.
Window RaceWindow(const QString& race = SampleFile("typical.urc")) {
    Window w = OpenWindow();
    LoadRaceFile(w, race);
    EnterTab(*w.form, "TabAddParam");
    return w;
}

// The two derived fields show what the core computes for the factors the fields show.
void VerifyDerived(const TFormMain& form) {
    const int32_t env[3] = {Text(form, "editPlanetEnv1").toInt(),
                            Text(form, "editPlanetEnv2").toInt(),
                            Text(form, "editPlanetEnv3").toInt()};
    QCOMPARE(Text(form, "editCurPlanetPrc"),
             QString::number(CalcPlanetPrc(form.Model().Race, env)));
    QCOMPARE(Text(form, "editCurTFormPrc"), QString::number(CalcTFormPrc(form.Model(), env)));
}

QStringList Texts(const TFormMain& form, std::initializer_list<const char*> names) {
    QStringList texts;
    for (const char* name : names)
        texts << Text(form, name);
    return texts;
}

} // namespace

class ParamsTest : public QObject {
    Q_OBJECT
private slots:
    void immuneFactorIsShownLocked() {
        QTemporaryDir dir;
        QString race = SampleRace();
        race.replace("Env1Min=20\nEnv1Max=80", "Env1Min=102\nEnv1Max=102");
        Window w = RaceWindow(WriteRaceFile(QDir(dir.path()), "race.urc", race));
        const TFormMain& form = *w.form;
        QCOMPARE(Texts(form, {"editPlanetEnv2", "editMaxTFormPrc2"}), QStringList({"102", "0"}));
        for (const char* name : {"editPlanetEnv2", "sPlanetEnv2", "udPlanetEnv2",
                                 "editMaxTFormPrc2", "udMaxTFormPrc2", "sMaxTFormPrc2"})
            QVERIFY2(!Control<QWidget>(form, name)->isEnabled(), name);
        ClickSpin(form, "udPlanetEnv2", false);
        ClickSpin(form, "udMaxTFormPrc2", true);
        QCOMPARE(Texts(form, {"editPlanetEnv2", "editMaxTFormPrc2"}), QStringList({"102", "0"}));
        QVERIFY(Control<QWidget>(form, "editMaxTFormPrc1")->isEnabled());
        QStringList optima;
        for (const char* name : {"sEnv1Opt", "sEnv2Opt", "sEnv3Opt"})
            optima << Control<QLabel>(form, name)->text();
        QCOMPARE(optima, QStringList({"50  <15..86>", "Иммунитет", "50  <30..70>"}));
        EnterTab(form, "TabCalc");
        QCOMPARE(form.Model().Planet.MaxTFormPrc[1], 0);
    }

    // Factor edits change both derived fields at once, limit edits only the terraformed one.
    void editsUpdateDerivedFields() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        TypeInto(form, "editPlanetEnv1", QStringLiteral("9"));
        VerifyDerived(form);
        const QStringList typed = Texts(form, {"editCurPlanetPrc", "editCurTFormPrc"});
        ClickSpin(form, "udPlanetEnv1", true);
        QCOMPARE(form.Model().Planet.PlanetEnv[0], 10);
        const QStringList clicked = Texts(form, {"editCurPlanetPrc", "editCurTFormPrc"});
        QVERIFY(clicked[0] != typed[0] && clicked[1] != typed[1]);
        VerifyDerived(form);

        ClickSpin(form, "udMaxTFormPrc1", false, 3);
        QCOMPARE(form.Model().Planet.MaxTFormPrc[0], 8);
        QCOMPARE(Text(form, "editCurPlanetPrc"), clicked[0]);
        QVERIFY(Text(form, "editCurTFormPrc").toInt() < clicked[1].toInt());
        VerifyDerived(form);
    }

    // Unchecked, the limits come down to 15 as program writes: the model and the derived
    // field keep the old limit until the tab is left. An empty limit is reported and ends the
    // lowering, after the spins took their new maximum.
    void fullTerraformRaisesAndLowersLimits() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        TypeInto(form, "editPlanetEnv2", QStringLiteral("0"));
        Click(form, "cbFullTForm");
        ClickSpin(form, "udMaxTFormPrc2", true, 25);
        QCOMPARE(Text(form, "editMaxTFormPrc2"), QStringLiteral("30"));
        TypeInto(form, "editMaxTFormPrc2", QStringLiteral("25"));
        const QString tform25 = Text(form, "editCurTFormPrc");
        Click(form, "cbFullTForm");
        QCOMPARE(Text(form, "editMaxTFormPrc2"), QStringLiteral("15"));
        QCOMPARE(Text(form, "editCurTFormPrc"), tform25);
        EnterTab(form, "TabCalc");
        EnterTab(form, "TabAddParam");
        QCOMPARE(form.Model().Planet.MaxTFormPrc[1], 15);
        QVERIFY(Text(form, "editCurTFormPrc") != tform25);

        QStringList reported;
        auto* app = qobject_cast<QuendalApplication*>(QCoreApplication::instance());
        app->SetReporter([&](const QString& message) { reported << message; });
        Click(form, "cbFullTForm");
        TypeInto(form, "editMaxTFormPrc1", QString());
        TypeInto(form, "editMaxTFormPrc3", QStringLiteral("25"));
        Click(form, "cbFullTForm");
        app->SetReporter({});
        QCOMPARE(reported, QStringList({"'' is not a valid integer value"}));
        QCOMPARE(Text(form, "editMaxTFormPrc3"), QStringLiteral("25"));
        ClickSpin(form, "udMaxTFormPrc3", true);
        QCOMPARE(Text(form, "editMaxTFormPrc3"), QStringLiteral("15"));
    }

    // Also: every field reaches the model when the tab is left.
    void homeworldRaisesLowConcentrations() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        TypeInto(form, "editPlanetConPrc1", QStringLiteral("10"));
        TypeInto(form, "editPlanetConPrc2", QStringLiteral("15"));
        TypeInto(form, "editRaceP7", QStringLiteral("21"));
        Click(form, "cbPlanetHW");
        QCOMPARE(Texts(form, {"editPlanetConPrc1", "editPlanetConPrc2", "editPlanetConPrc3"}),
                 QStringList({"15", "15", "100"}));
        QTest::keyClick(Control<QTabWidget>(form, "PageControl1"), Qt::Key_Tab,
                        Qt::ControlModifier);
        const CalcModel& m = form.Model();
        QVERIFY(m.Planet.PlanetHW);
        QCOMPARE(QList<int>({m.Planet.PlanetConPrc[0], m.Race.NMineralYFrom10Mine}),
                 QList<int>({15, 21}));
    }

    // The spin's start habitability becomes factors on leaving "Динамика планеты"; an
    // unchanged one leaves the factors alone.
    void startHabitabilityRoundTrip() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        EnterTab(form, "TabCalc");
        CalcModel expected;
        expected.Race = form.Model().Race;
        expected.RaceLoaded = true;
        expected.Planet = form.Model().Planet;
        expected.Planet.PlanetPrc -= 50;
        ClickSpin(form, "UpDown2", false, 10);
        QCOMPARE(Text(form, "editStartPlanetPrc"), QString::number(expected.Planet.PlanetPrc));
        SetEnvForPrc(expected);
        EnterTab(form, "TabAddParam");
        const PlanetParams& p = expected.Planet;
        QCOMPARE(
            Texts(form, {"editPlanetEnv1", "editPlanetEnv2", "editPlanetEnv3", "editCurPlanetPrc"}),
            QStringList({QString::number(p.PlanetEnv[0]), QString::number(p.PlanetEnv[1]),
                         QString::number(p.PlanetEnv[2]), QString::number(p.PlanetPrc)}));
        EnterTab(form, "TabCalc");
        QCOMPARE(Text(form, "editStartPlanetPrc"), QString::number(p.PlanetPrc));

        EnterTab(form, "TabAddParam");
        TypeInto(form, "editPlanetEnv1", QStringLiteral("60"));
        EnterTab(form, "TabCalc");
        EnterTab(form, "TabAddParam");
        QCOMPARE(Text(form, "editPlanetEnv1"), QStringLiteral("60"));
    }

    // Reading a list changes nothing of the planet until an entry is chosen: a limit click
    // afterwards still computes from the typed factors.
    void loadingAListKeepsThePlanet() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        const int32_t typed[3] = {40, 45, 50};
        for (int i = 0; i < 3; ++i)
            TypeInto(form, qPrintable(QStringLiteral("editPlanetEnv%1").arg(i + 1)),
                     QString::number(typed[i]));
        w.dialogs->answers << SampleFile("planets-20.txt");
        Click(form, "bnPlanetList");
        QCOMPARE(Control<QComboBox>(form, "cbPlanetList")->count(), 7);
        ClickSpin(form, "udMaxTFormPrc1", true);
        VerifyDerived(form);
        EnterTab(form, "TabCalc");
        QCOMPARE(Text(form, "editStartPlanetPrc"),
                 QString::number(CalcPlanetPrc(form.Model().Race, typed)));
    }

    // A factor the race is not immune to may hold 102; its spin still leads back, and the
    // field is given back once it leaves 102.
    void factorAt102WithoutImmunityKeepsItsSpin() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        TypeInto(form, "editPlanetEnv1", QStringLiteral("102"));
        EnterTab(form, "TabCalc");
        EnterTab(form, "TabAddParam");
        QVERIFY(!Control<QWidget>(form, "editPlanetEnv1")->isEnabled());
        ClickSpin(form, "udPlanetEnv1", false);
        QCOMPARE(Text(form, "editPlanetEnv1"), QStringLiteral("99"));
        QCOMPARE(form.Model().Planet.PlanetEnv[0], 99);
        QVERIFY(Control<QWidget>(form, "editPlanetEnv1")->isEnabled());
        VerifyDerived(form);
    }

    // Letters never enter a number field: what is shown is what the model receives.
    void numberFieldsTakeSignAndDigits() {
        Window w = RaceWindow();
        const TFormMain& form = *w.form;
        TypeInto(form, "editPlanetFabr", QStringLiteral("12x"));
        TypeInto(form, "editRaceP1", QStringLiteral("abc"));
        TypeInto(form, "editPlanetMine", QStringLiteral("-7"));
        TypeInto(form, "editPlanetEnv2", QStringLiteral("12345"));
        QCOMPARE(Texts(form, {"editPlanetFabr", "editRaceP1", "editPlanetMine", "editPlanetEnv2"}),
                 QStringList({"12", "", "-7", "123"}));
        EnterTab(form, "TabCalc");
        const CalcModel& m = form.Model();
        QCOMPARE(QList<int>({m.Planet.PlanetFabr, m.Race.NColonistYTo1Resource, m.Planet.PlanetMine,
                             m.Planet.PlanetEnv[1]}),
                 QList<int>({12, 0, -7, 123}));
    }

    void chosenPlanetFillsTheFields_data() {
        QTest::addColumn<QString>("race");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("chosen");
        // Colonists, factories, mines, the concentrations and the surface minerals.
        QTest::addColumn<QStringList>("values");
        QTest::newRow("8 columns") << "typical.urc"
                                   << "planets-8.txt" << 8 << "Brisk, необитаемая, 35%"
                                   << QStringList{"0", "0", "0", "12", "66", "40", "0", "0", "0"};
        QTest::newRow("11 columns, Windows-1251, immune race")
            << "immune-two.urc"
            << "planets-11.txt" << 7 << "Берёзовый Мыс, ничья, 48%"
            << QStringList{"0", "0", "0", "18", "77", "35", "0", "0", "0"};
        QTest::newRow("20 columns")
            << "typical.urc"
            << "planets-20.txt" << 7 << "Lantern, обитаемая, 52%"
            << QStringList{"412", "35", "20", "34", "81", "22", "880", "1250", "400"};
    }

    // Typing into a factor earlier does not count as an edit of the chosen planet's factors.
    void chosenPlanetFillsTheFields() {
        QFETCH(QString, race);
        QFETCH(QString, list);
        QFETCH(int, entries);
        QFETCH(QString, chosen);
        QFETCH(QStringList, values);
        Window w = RaceWindow(SampleFile(race));
        const TFormMain& form = *w.form;
        TypeInto(form, "editPlanetEnv3", QStringLiteral("7"));
        w.dialogs->answers << SampleFile(list);
        Click(form, "bnPlanetList");
        const FakeDialogs::Call& call = w.dialogs->calls.back();
        QCOMPARE(QStringList({call.caption, call.dir, call.filter.left(21)}),
                 QStringList({"Загрузить список планет", SampleFolder(), "Список планет (*.txt "}));
        auto* combo = Control<QComboBox>(form, "cbPlanetList");
        QCOMPARE(combo->count(), entries);
        QCOMPARE(combo->currentIndex(), -1);

        combo->showPopup(); // chosen with the mouse
        QAbstractItemView* view = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(1, 0)).center());
        QCOMPARE(combo->currentText(), chosen);
        QCOMPARE(Texts(form, {"editStartPlanetMen", "editPlanetFabr", "editPlanetMine",
                              "editPlanetConPrc1", "editPlanetConPrc2", "editPlanetConPrc3",
                              "editPlanetMineral1", "editPlanetMineral2", "editPlanetMineral3"}),
                 values);
        const PlanetParams& planet = form.Model().Planet;
        const QStringList env = Texts(form, {"editPlanetEnv1", "editPlanetEnv2", "editPlanetEnv3"});
        QCOMPARE(env, QStringList({QString::number(planet.PlanetEnv[0]),
                                   QString::number(planet.PlanetEnv[1]),
                                   QString::number(planet.PlanetEnv[2])}));
        QCOMPARE(env[1] == "102", race == "immune-two.urc");
        QVERIFY(env[2] != "7");
        VerifyDerived(form);
        EnterTab(form, "TabCalc");
        QCOMPARE(Text(form, "editStartPlanetPrc"), QString::number(planet.PlanetPrc));
    }
};

QUENDAL_GUI_TEST(ParamsTest);

} // namespace quendal::test

#include "params_test.moc"
