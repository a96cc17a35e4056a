// "Дополнительные параметры": what the tab shows on entering it, how the player's edits reach
// the derived fields and the model, and the trip of the start habitability between tabs.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/application.h"
#include "gui_test_support.h"
#include "model/habitability.h"

namespace quendal::test {

namespace {

struct RaceWindow {
    QTemporaryDir dir;
    Window w;
    const TFormMain& form() const { return *w.form; }
    QString Text(const char* name) const { return Control<QLineEdit>(form(), name)->text(); }
    void Enter(const char* page) {
        ClickTab(Control<QTabWidget>(form(), "PageControl1"), Control<QWidget>(form(), page));
    }
    void Spin(const char* spin, bool up, int clicks = 1) {
        auto* arrow =
            Control<QWidget>(form(), spin)->findChild<QAbstractButton*>(up ? "up" : "down");
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(arrow, Qt::LeftButton);
    }
    // The two derived fields, as the core computes them for the factors the fields show.
    void VerifyDerived() const {
        const int32_t env[3] = {Text("editPlanetEnv1").toInt(), Text("editPlanetEnv2").toInt(),
                                Text("editPlanetEnv3").toInt()};
        QCOMPARE(Text("editCurPlanetPrc"),
                 QString::number(CalcPlanetPrc(form().Model().Race, env)));
        QCOMPARE(Text("editCurTFormPrc"), QString::number(CalcTFormPrc(form().Model(), env)));
    }
};

// A window with a race loaded and the additional-parameters tab in front.
void Open(RaceWindow& r, const QString& race = SampleRace()) {
    r.w = OpenWindow();
    LoadRaceFile(r.w, WriteRaceFile(QDir(r.dir.path()), "race.urc", race));
    r.Enter("TabAddParam");
}

} // namespace

class ParamsTest : public QObject {
    Q_OBJECT
private slots:
    void immuneFactorIsShownLocked() {
        RaceWindow r;
        QString race = SampleRace();
        Open(r, race.replace("Env1Min=20\nEnv1Max=80", "Env1Min=102\nEnv1Max=102"));
        QCOMPARE(r.Text("editPlanetEnv2"), QStringLiteral("102"));
        QCOMPARE(r.Text("editMaxTFormPrc2"), QStringLiteral("0"));
        for (const char* name :
             {"editPlanetEnv2", "sPlanetEnv2", "editMaxTFormPrc2", "sMaxTFormPrc2"})
            QVERIFY2(!Control<QWidget>(r.form(), name)->isEnabled(), name);
        for (const char* name : {"editPlanetEnv1", "editMaxTFormPrc1", "udPlanetEnv2"})
            QVERIFY2(Control<QWidget>(r.form(), name)->isEnabled(), name);
        QCOMPARE(Control<QLabel>(r.form(), "sEnv1Opt")->text(), QStringLiteral("50  <15..86>"));
        QCOMPARE(Control<QLabel>(r.form(), "sEnv2Opt")->text(), QStringLiteral("Иммунитет"));
        QCOMPARE(Control<QLabel>(r.form(), "sEnv3Opt")->text(), QStringLiteral("50  <30..70>"));

        r.Enter("TabCalc");
        QCOMPARE(r.form().Model().Planet.PlanetEnv[1], 102);
        QCOMPARE(r.form().Model().Planet.MaxTFormPrc[1], 0);
    }

    // Factor edits change both derived fields at once, limit edits only the terraformed one.
    void editsUpdateDerivedFields() {
        RaceWindow r;
        Open(r);
        TypeInto(r.form(), "editPlanetEnv1", QStringLiteral("9"));
        QVERIFY(r.Text("editCurPlanetPrc").toInt() < 0);
        r.VerifyDerived();
        const QString typedPrc = r.Text("editCurPlanetPrc");
        const QString typedTForm = r.Text("editCurTFormPrc");

        r.Spin("udPlanetEnv1", true);
        QCOMPARE(r.Text("editPlanetEnv1"), QStringLiteral("10"));
        QCOMPARE(r.form().Model().Planet.PlanetEnv[0], 10);
        QVERIFY(r.Text("editCurPlanetPrc") != typedPrc);
        QVERIFY(r.Text("editCurTFormPrc") != typedTForm);
        r.VerifyDerived();

        const QString prc = r.Text("editCurPlanetPrc");
        const QString tform = r.Text("editCurTFormPrc");
        r.Spin("udMaxTFormPrc1", false, 3);
        QCOMPARE(r.form().Model().Planet.MaxTFormPrc[0], 8);
        QCOMPARE(r.Text("editCurPlanetPrc"), prc);
        QVERIFY(r.Text("editCurTFormPrc").toInt() < tform.toInt());
        r.VerifyDerived();
    }

    void fullTerraformRaisesAndLowersLimits() {
        RaceWindow r;
        Open(r);
        TypeInto(r.form(), "editPlanetEnv2", QStringLiteral("0"));
        Click(r.form(), "cbFullTForm");
        r.Spin("udMaxTFormPrc2", true, 25);
        QCOMPARE(r.Text("editMaxTFormPrc2"), QStringLiteral("30"));
        TypeInto(r.form(), "editMaxTFormPrc2", QStringLiteral("25"));
        const QString tform25 = r.Text("editCurTFormPrc");

        Click(r.form(), "cbFullTForm");
        QCOMPARE(r.Text("editMaxTFormPrc2"), QStringLiteral("15"));
        QCOMPARE(r.Text("editCurTFormPrc"), tform25); // a program write is no edit
        r.Enter("TabCalc");
        QCOMPARE(r.form().Model().Planet.MaxTFormPrc[1], 15);
        QVERIFY(!r.form().Model().Race.FullTForm);
        r.Enter("TabAddParam");
        QVERIFY(r.Text("editCurTFormPrc") != tform25);
        r.VerifyDerived();
    }

    // The strict conversion stops at the first limit that is no number, after the spins
    // already took their new maximum.
    void badLimitTextIsReported() {
        RaceWindow r;
        Open(r);
        QStringList reported;
        auto* app = qobject_cast<QuendalApplication*>(QCoreApplication::instance());
        app->SetReporter([&](const QString& message) { reported << message; });
        Click(r.form(), "cbFullTForm");
        TypeInto(r.form(), "editMaxTFormPrc1", QStringLiteral("abc"));
        TypeInto(r.form(), "editMaxTFormPrc3", QStringLiteral("25"));
        Click(r.form(), "cbFullTForm");
        app->SetReporter({});
        QCOMPARE(reported, QStringList({"'abc' is not a valid integer value"}));
        QCOMPARE(r.Text("editMaxTFormPrc3"), QStringLiteral("25"));
        r.Spin("udMaxTFormPrc3", true);
        QCOMPARE(r.Text("editMaxTFormPrc3"), QStringLiteral("15"));
    }

    void homeworldRaisesLowConcentrations() {
        RaceWindow r;
        Open(r);
        const char* const fields[3] = {"editPlanetConPrc1", "editPlanetConPrc2",
                                       "editPlanetConPrc3"};
        const QStringList typed = {"10", "15", "100"};
        for (int i = 0; i < 3; ++i)
            TypeInto(r.form(), fields[i], typed[i]);
        Click(r.form(), "cbPlanetHW");
        QStringList shown;
        for (const char* field : fields)
            shown << r.Text(field);
        QCOMPARE(shown, QStringList({"15", "15", "100"}));
        r.Enter("TabCalc");
        QVERIFY(r.form().Model().Planet.PlanetHW);
        QCOMPARE(r.form().Model().Planet.PlanetConPrc[0], 15);
    }

    // Every field of the tab shows the model on entering and is stored on leaving.
    void fieldsTravelToTheModel() {
        RaceWindow r;
        Open(r);
        const char* const economy[7] = {"editRaceP1", "editRaceP2", "editRaceP3", "editRaceP4",
                                        "editRaceP5", "editRaceP6", "editRaceP7"};
        QStringList shown;
        for (const char* field : economy)
            shown << r.Text(field);
        QCOMPARE(shown, QStringList({"1000", "10", "10", "10", "5", "10", "10"}));
        const char* const typed[] = {"editRaceP1",     "editRaceP7",         "editPlanetFabr",
                                     "editPlanetMine", "editPlanetMineral2", "editPlanetEnv3"};
        for (int i = 0; i < 6; ++i)
            TypeInto(r.form(), typed[i], QString::number(1200 + i));
        QTest::keyClick(Control<QTabWidget>(r.form(), "PageControl1"), Qt::Key_Tab,
                        Qt::ControlModifier);
        const CalcModel& m = r.form().Model();
        QCOMPARE(QList<int>({m.Race.NColonistYTo1Resource, m.Race.NMineralYFrom10Mine,
                             m.Planet.PlanetFabr, m.Planet.PlanetMine, m.Planet.PlanetMineral[1],
                             m.Planet.PlanetEnv[2]}),
                 QList<int>({1200, 1201, 1202, 1203, 1204, 1205}));
        QCOMPARE(m.Planet.PlanetPrc, r.Text("editCurPlanetPrc").toInt());
    }

    // The spin's start habitability becomes factors on leaving "Динамика планеты"; an
    // unchanged one leaves the factors alone.
    void startHabitabilityRoundTrip() {
        RaceWindow r;
        Open(r);
        r.Enter("TabCalc");
        CalcModel expected;
        expected.Race = r.form().Model().Race;
        expected.RaceLoaded = true;
        expected.Planet = r.form().Model().Planet;
        const int lowered = expected.Planet.PlanetPrc - 50;
        r.Spin("UpDown2", false, 10);
        QCOMPARE(r.Text("editStartPlanetPrc"), QString::number(lowered));
        expected.Planet.PlanetPrc = lowered;
        SetEnvForPrc(expected);

        r.Enter("TabAddParam");
        QCOMPARE(QStringList({r.Text("editPlanetEnv1"), r.Text("editPlanetEnv2"),
                              r.Text("editPlanetEnv3"), r.Text("editCurPlanetPrc")}),
                 QStringList({QString::number(expected.Planet.PlanetEnv[0]),
                              QString::number(expected.Planet.PlanetEnv[1]),
                              QString::number(expected.Planet.PlanetEnv[2]),
                              QString::number(expected.Planet.PlanetPrc)}));
        r.Enter("TabCalc");
        QCOMPARE(r.Text("editStartPlanetPrc"), QString::number(expected.Planet.PlanetPrc));

        r.Enter("TabAddParam");
        TypeInto(r.form(), "editPlanetEnv1", QStringLiteral("60"));
        r.Enter("TabCalc");
        r.Enter("TabAddParam");
        QCOMPARE(r.Text("editPlanetEnv1"), QStringLiteral("60"));
    }
};

QUENDAL_GUI_TEST(ParamsTest);

} // namespace quendal::test

#include "params_test.moc"
