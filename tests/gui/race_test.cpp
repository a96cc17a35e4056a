// The race button: loading and clearing a race, with every window state they change.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/sample_folder.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

const char* const kTemplateControls[] = {"rbQueueMinus", "rbQueuePlus", "lbQueueM",     "bnQueueUp",
                                         "bnQueueDown",  "bnQueueDel",  "bnQueueClear", "cbItemAdd",
                                         "editItemAdd",  "bnItemAdd"};

QColor FieldColour(const TFormMain& form) {
    return Control<QLineEdit>(form, "editStartPlanetPrc")->palette().color(QPalette::Base);
}

} // namespace

class RaceTest : public QObject {
    Q_OBJECT
private slots:
    void loadUnlocksTheWindow() {
        QTemporaryDir dir;
        const QString path = WriteRaceFile(QDir(dir.path()), "humans.urc", SampleRace());
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        LoadRaceFile(w, path);

        QCOMPARE(w.dialogs->calls.size(), size_t{1});
        const FakeDialogs::Call& call = w.dialogs->calls.front();
        QCOMPARE(call.caption, QStringLiteral("Загрузить описание расы"));
        QCOMPARE(call.dir, SampleFolder());
        QVERIFY(call.filter.startsWith(QStringLiteral("Описание расы (*.urc")));
        QVERIFY(call.filter.contains(QStringLiteral("*.URC")));

        QCOMPARE(Control<QLabel>(form, "fileName")->text(), path);
        QCOMPARE(Control<QLabel>(form, "raceName")->text(), QStringLiteral("Хумы"));
        QCOMPARE(Control<QLineEdit>(form, "editMenYearPrc")->text(), QStringLiteral("17"));
        auto* startPrc = Control<QLineEdit>(form, "editStartPlanetPrc");
        QVERIFY(!startPrc->isEnabled());
        QCOMPARE(startPrc->text(), QString::number(form.Model().Planet.PlanetPrc));
        QVERIFY(form.Model().Planet.PlanetPrc <= 100);
        QCOMPARE(FieldColour(form), QApplication::palette("QMenu").color(QPalette::Window));
        QVERIFY(Control<QWidget>(form, "UpDown2")->isEnabled());

        QCOMPARE(VisibleTabs(Control<QTabWidget>(form, "PageControl1")),
                 QStringList({"Динамика планеты", "Дополнительные параметры", "Подбор вариантов ОП",
                              "О программе"}));
        QCOMPARE(VisibleTabs(Control<QTabWidget>(form, "PageControl2")),
                 QStringList({"График", "Таблица данных", "Минералы"}));
        for (const char* name : kTemplateControls)
            QVERIFY2(Control<QWidget>(form, name)->isEnabled(), name);
        QVERIFY(!Control<QWidget>(form, "lbQueue")->isEnabled());
        QVERIFY(Control<QRadioButton>(form, "rbQueueMinus")->isChecked());
        QVERIFY(!Control<QWidget>(form, "bnSaveCalcFile")->isEnabled());
        QCOMPARE(Control<QPushButton>(form, "bnLoadRaceFile")->text(), QStringLiteral("Очистить"));
        QVERIFY(form.Model().RaceLoaded);
    }

    void clearReturnsToTheStartState() {
        QTemporaryDir dir;
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        const QColor windowColour = FieldColour(form);
        LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), "humans.urc", SampleRace()));
        const QString shownPrc = Control<QLineEdit>(form, "editStartPlanetPrc")->text();
        Click(*w.form, "rbQueuePlus");
        ChooseEntry(Control<QComboBox>(form, "cbItemAdd"), 2);
        Click(*w.form, "bnItemAdd");
        QCOMPARE(Control<QListWidget>(form, "lbQueue")->count(), 1);

        Click(*w.form, "bnLoadRaceFile"); // a loaded race is cleared without a dialog
        QCOMPARE(w.dialogs->calls.size(), size_t{1});
        QVERIFY(Control<QLabel>(form, "fileName")->text().isEmpty());
        QVERIFY(Control<QLabel>(form, "raceName")->text().isEmpty());
        QCOMPARE(Control<QListWidget>(form, "lbQueue")->count(), 0);
        QCOMPARE(form.Model().QueuePlus.count(), 0);
        auto* startPrc = Control<QLineEdit>(form, "editStartPlanetPrc");
        QVERIFY(startPrc->isEnabled());
        QCOMPARE(startPrc->text(), shownPrc);
        QCOMPARE(FieldColour(form), windowColour);
        QCOMPARE(VisibleTabs(Control<QTabWidget>(form, "PageControl1")),
                 QStringList({"Динамика планеты", "О программе"}));
        QCOMPARE(VisibleTabs(Control<QTabWidget>(form, "PageControl2")),
                 QStringList({"График", "Таблица данных"}));
        for (const char* name : kTemplateControls)
            QVERIFY2(!Control<QWidget>(form, name)->isEnabled(), name);
        QCOMPARE(Control<QPushButton>(form, "bnLoadRaceFile")->text(), QStringLiteral("Загрузить"));
        QVERIFY(!form.Model().RaceLoaded);
        QCOMPARE(form.Model().Race.MaxGrowthYRate, 17); // the race values stay

        // The next load edits the negative template again.
        LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), "again.urc", SampleRace()));
        QVERIFY(Control<QRadioButton>(form, "rbQueueMinus")->isChecked());
        QVERIFY(Control<QWidget>(form, "lbQueueM")->isEnabled());
        QVERIFY(!Control<QWidget>(form, "lbQueue")->isEnabled());
    }

    void cancelledDialogChangesNothing() {
        Window w = OpenWindow();
        w.dialogs->answers << QString();
        Click(*w.form, "bnLoadRaceFile");
        QCOMPARE(w.dialogs->calls.size(), size_t{1});
        QVERIFY(!w.form->Model().RaceLoaded);
        QCOMPARE(Control<QPushButton>(*w.form, "bnLoadRaceFile")->text(),
                 QStringLiteral("Загрузить"));
        QVERIFY(Control<QLineEdit>(*w.form, "editStartPlanetPrc")->isEnabled());
        QCOMPARE(VisibleTabs(Control<QTabWidget>(*w.form, "PageControl1")).size(), 2);
    }

    void missingFileStillLoadsDefaults() {
        Window w = OpenWindow();
        LoadRaceFile(w, QStringLiteral("/nonexistent/none.urc"));
        QCOMPARE(Control<QLabel>(*w.form, "raceName")->text(), QStringLiteral("-"));
        QCOMPARE(Control<QLineEdit>(*w.form, "editMenYearPrc")->text(), QStringLiteral("0"));
        QVERIFY(Control<QWidget>(*w.form, "bnItemAdd")->isEnabled());

        // A race of zeros still calculates to the end.
        ChooseEntry(Control<QComboBox>(*w.form, "cbItemAdd"), 2);
        Click(*w.form, "bnItemAdd");
        Click(*w.form, "bnCalculate");
        QCOMPARE(Control<QListWidget>(*w.form, "lbDataSet")->count(), 16);
        QCOMPARE(Control<QListWidget>(*w.form, "lbMineral")->count(), 16);
    }
};

QUENDAL_GUI_TEST(RaceTest);

} // namespace quendal::test

#include "race_test.moc"
