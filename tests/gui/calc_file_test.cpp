// The calculation-file buttons: a calculation saved and loaded back, the same file in the
// companion and back, bad files, and a save that cannot be written.
#include <csignal>
#include <sys/resource.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/chart_adapter.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

const QString kData = QStringLiteral(QUENDAL_SOURCE_DIR "/data/");
const QString kFilter = QStringLiteral("Результаты расчета (*.cal *.CAL)");

// Every control's state, by name: what a player can read off the window, but for the
// times of the last search.
QStringList Snapshot(const TFormMain& form) {
    QStringList state;
    for (const QLineEdit* edit : form.findChildren<QLineEdit*>())
        state << edit->objectName() + "=" + edit->text() + (edit->isEnabled() ? "" : " off");
    for (const QAbstractButton* box : form.findChildren<QAbstractButton*>())
        state << box->objectName() + (box->isChecked() ? " checked" : "") +
                     (box->isEnabled() ? "" : " off") + " " + box->text();
    for (const QComboBox* combo : form.findChildren<QComboBox*>())
        state << combo->objectName() + "=" + combo->currentText();
    for (const QListWidget* list : form.findChildren<QListWidget*>())
        state << list->objectName() + ":" + Lines(list).join(u'|');
    for (const QLabel* label : form.findChildren<QLabel*>())
        if (!label->objectName().startsWith("sTime")) // how long a search took
            state << label->objectName() + "=" + label->text();
    state.sort(); // the order of the children is no state
    state << VisibleTabs(Control<QTabWidget>(form, "PageControl1"));
    for (int series = 0; series < ChartAdapter::kSeriesCount; ++series)
        state << QString::number(const_cast<TFormMain&>(form).Chart().PointCount(series));
    return state;
}

// The tables as the companion prints them.
QString TablesText(const TFormMain& form) {
    QStringList lines{Control<QLabel>(form, "sHead1")->text(),
                      Control<QLabel>(form, "sHead2")->text()};
    lines << Lines(Control<QListWidget>(form, "lbDataSet"));
    const QStringList minerals = Lines(Control<QListWidget>(form, "lbMineral"));
    if (!minerals.isEmpty())
        lines << QString() << Control<QLabel>(form, "sHead3")->text()
              << Control<QLabel>(form, "sHead4")->text() << minerals;
    return lines.join(u'\n') + u'\n';
}

QString Companion(const QStringList& args, const QString& folder = QString()) {
    QProcess calc;
    calc.setWorkingDirectory(folder);
    calc.start(QCoreApplication::applicationDirPath() + "/quendal-calc", args);
    calc.waitForFinished(60000);
    return QString::fromUtf8(calc.readAllStandardOutput());
}

void AddElement(const TFormMain& form, int entry, const QString& count) {
    ChooseEntry(Control<QComboBox>(form, "cbItemAdd"), entry);
    TypeInto(form, "editItemAdd", count);
    Click(form, "bnItemAdd");
}

// A window with every part of a calculation set by hand, calculated.
Window FullCalculation() {
    Window w = OpenWindow();
    const TFormMain& form = *w.form;
    TypeInto(form, "editStartPlanetPrc", QStringLiteral("-20"));
    TypeInto(form, "editLightYears", QStringLiteral("30"));
    LoadRaceFile(w, kData + "typical.urc");
    AddElement(form, 0, QStringLiteral("1"));
    AddElement(form, 1, QStringLiteral("3"));
    Click(form, "rbQueuePlus");
    AddElement(form, 2, QStringLiteral("40"));
    AddElement(form, 3, QStringLiteral("25"));
    Click(form, "rbQueueMinus"); // the template being edited is no part of a calculation
    EnterTab(form, "TabAddParam");
    w.dialogs->answers << kData + "planets-20.txt";
    Click(form, "bnPlanetList");
    ChooseEntry(Control<QComboBox>(form, "cbPlanetList"), 2);
    for (const char* field : {"editRaceP3", "editPlanetFabr", "editPlanetMineral2"})
        TypeInto(form, field, QStringLiteral("12"));
    Click(form, "cbPlanetHW");
    ClickSpin(form, "udMaxTFormPrc2", true);
    EnterTab(form, "TabGenetic");
    TypeInto(form, "editGeneticP1", QStringLiteral("50"));
    TypeInto(form, "editGeneticP2", QStringLiteral("2"));
    Click(form, "rgGenMaxFactor4"); // "Шахты"
    w.form->SetSearchSeed(5);
    Click(form, "bnGeneticCalc");
    EnterTab(form, "TabCalc");
    Click(form, "bnCalculate");
    return w;
}

} // namespace

class CalcFileTest : public QObject {
    Q_OBJECT
private slots:
    void saveClearLoadRestoresEveryControl() {
        QTemporaryDir dir;
        const QString path = dir.filePath("colony.cal");
        Window w = OpenWindow();
        QVERIFY(!Control<QWidget>(*w.form, "bnSaveCalcFile")->isEnabled());
        QVERIFY(Control<QWidget>(*w.form, "bnLoadCalcFile")->isEnabled());
        w = FullCalculation();
        const TFormMain& form = *w.form;
        w.dialogs->answers << path;
        Click(form, "bnSaveCalcFile");
        QVERIFY(w.dialogs->errors.isEmpty());
        const QStringList onCalc = Snapshot(form);
        EnterTab(form, "TabAddParam");
        const QStringList onParams = Snapshot(form);

        EnterTab(form, "TabGenetic");
        for (const char* field : {"editGeneticP1", "editGenLYear", "editGenFixed"})
            TypeInto(form, field, QStringLiteral("7"));
        EnterTab(form, "TabCalc");
        for (const char* field : {"editLightYears", "editMenYearPrc", "editStartPlanetMen"})
            TypeInto(form, field, QStringLiteral("7"));
        Click(form, "bnLoadRaceFile");           // clears the race
        w.dialogs->answers << QString() << path; // a cancel changes nothing
        Click(form, "bnLoadCalcFile");
        QCOMPARE(Text(form, "editLightYears"), QStringLiteral("7"));
        Click(form, "bnLoadCalcFile");
        QCOMPARE(Snapshot(form), onCalc);
        // The file's name shows its whole path on hovering.
        QCOMPARE(Control<QLabel>(form, "fileName")->toolTip(), path);
        EnterTab(form, "TabAddParam");
        QCOMPARE(Snapshot(form), onParams);

        const FakeDialogs::Call& save = w.dialogs->calls.at(w.dialogs->calls.size() - 3);
        const FakeDialogs::Call& load = w.dialogs->calls.back();
        QCOMPARE(save.caption, QStringLiteral("Сохранить результат расчета"));
        QCOMPARE(load.caption, QStringLiteral("Загрузить результаты расчета"));
        QVERIFY(save.save && !load.save && save.dir == "." && load.dir == ".");
        QVERIFY(save.filter == kFilter && load.filter == kFilter);

        // The found templates were restored with the figures: "В график" takes them.
        EnterTab(form, "TabGenetic");
        Click(form, "bnToGraphic");
        QCOMPARE(Lines(Control<QListWidget>(form, "lbQueue")),
                 Lines(Control<QListWidget>(form, "lbGenQueue2")));
        QVERIFY(!Lines(Control<QListWidget>(form, "lbQueue")).isEmpty());
    }

    // The window's file in the companion prints the window's tables; the companion's file
    // opens in the window to the companion's tables.
    void companionAndWindowShareFiles() {
        QTemporaryDir dir;
        Window w = FullCalculation();
        w.dialogs->answers << dir.filePath("window"); // typed without its extension
        Click(*w.form, "bnSaveCalcFile");
        QCOMPARE(Companion({"--calc", dir.filePath("window.cal")}), TablesText(*w.form));

        // Files named as typed in the data folder: the window works in another one.
        const QString printed =
            Companion({"--race", "immune-two.urc", "--planets", "planets-20.txt", "--pick", "1",
                       "--plus", "fab:50,mine:50", "--save-calc", dir.filePath("companion.cal")},
                      kData);
        QVERIFY(QDir::currentPath() + "/" != kData);
        Window opened = OpenWindow();
        QVERIFY(opened.form->OpenCalcFile(dir.filePath("companion.cal")));
        QCOMPARE(TablesText(*opened.form), printed);
        QVERIFY(printed.count(u'\n') > 30);
        // Its planet list was read again, and can be ranked.
        QCOMPARE(Control<QComboBox>(*opened.form, "cbPlanetList")->currentIndex(), 1);
        QVERIFY(Control<QPushButton>(*opened.form, "bnPlanetRank")->isEnabled());

        // A calculation without a race, opened over one: no race, no list, the tabs it hides.
        Companion({"--years", "3", "--save-calc", dir.filePath("none.cal")});
        const QStringList withRace = VisibleTabs(Control<QTabWidget>(*opened.form, "PageControl1"));
        QVERIFY(opened.form->OpenCalcFile(dir.filePath("none.cal")));
        QCOMPARE(Control<QLabel>(*opened.form, "raceName")->text(), QString());
        QCOMPARE(Control<QComboBox>(*opened.form, "cbPlanetList")->count(), 0);
        QVERIFY(VisibleTabs(Control<QTabWidget>(*opened.form, "PageControl1")).size() <
                withRace.size());
    }

    // A value that a search or a calculation file cannot take is named, and nothing runs or
    // is written.
    void outOfRangeValuesAreRefused() {
        QTemporaryDir dir;
        Window w = FullCalculation();
        const TFormMain& form = *w.form;
        EnterTab(form, "TabGenetic");
        const QString found = Control<QLabel>(form, "sGenValue1")->text();
        TypeInto(form, "editGeneticP1", QStringLiteral("0"));
        Click(form, "bnGeneticCalc");
        TypeInto(form, "editGeneticP1", QStringLiteral("50"));
        TypeInto(form, "editGenLYear", QStringLiteral("1000"));
        Click(form, "bnGeneticCalc");
        QCOMPARE(Control<QLabel>(form, "sGenValue1")->text(), found);
        TypeInto(form, "editGenLYear", QStringLiteral("15"));
        EnterTab(form, "TabCalc");
        TypeInto(form, "editLightYears", QStringLiteral("-5"));
        w.dialogs->answers << dir.filePath("refused.cal");
        const size_t dialogs = w.dialogs->calls.size();
        Click(form, "bnSaveCalcFile");
        QCOMPARE(w.dialogs->errors,
                 QStringList({"П1: 0 вне допустимых пределов 2..9999",
                              "Интервал расчета: 1000 вне допустимых пределов 1..999",
                              "ЛЕТ: -5 вне допустимых пределов 0..99999"}));
        QCOMPARE(w.dialogs->calls.size(), dialogs); // not even the save dialog
        QVERIFY(!QFile::exists(dir.filePath("refused.cal")));
    }

    void badFileIsReportedAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = "[QuendalCalculation]\nVersion=1\n[Start]\nHabitability=5\n"
                                "Colonists=10\nGrowth=5\nYears=3\n[Templates]\nMinus=\nPlus=\n"
                                "[Search]\nPopulation=50\nGenerations=1\nElite=1\nSurvival=50\n"
                                "Mutation=1\nCrossover=0\nCriterion=0\nInterval=1\nColonists=10\n"
                                "[End]\n";
        QTest::newRow("race file") << QByteArray("[Step1]\nRaceName=x\n")
                                   << "строка 1: не файл расчета: первая строка не "
                                      "[QuendalCalculation]";
        QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n", 8)
                                 << "строка 2: двоичные данные (байт 0x1A): не текстовый файл";
        QTest::newRow("cut short")
            << good.left(60) << "строка 5: файл обрывается до [End]: он не дописан";
        QTest::newRow("newer") << QByteArray(good).replace("Version=1", "Version=3")
                               << "строка 2: [QuendalCalculation] Version: версия 3 записана "
                                  "более новым Quendal (этот читает версию 1)";
        QTest::newRow("twice")
            << QByteArray(good).replace("Years=3", "Years=3\nYears=4")
            << "строка 8: [Start] Years: ключ указан дважды (впервые в строке 7)";
        QTest::newRow("range") << QByteArray(good).replace("Criterion=0", "Criterion=9")
                               << "строка 18: [Search] Criterion: 9 вне 0..5";
        QTest::newRow("huge") << QByteArray(16 << 20 | 1, ';') << "файл больше 16 МиБ";
    }

    void badFileIsReportedAndChangesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.cal");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        Window w = FullCalculation();
        const QStringList before = Snapshot(*w.form);
        w.dialogs->answers << path;
        Click(*w.form, "bnLoadCalcFile");
        QCOMPARE(
            w.dialogs->errors,
            QStringList(QStringLiteral("Не удалось загрузить файл «%1»: %2").arg(path, message)));
        QCOMPARE(Snapshot(*w.form), before);
    }

    // A save that cannot be written says so; an older file stays whole. Root passes file
    // permissions, so a folder that is a file, and a write limit (as a full disk), stop it.
    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString old = dir.filePath("old.cal");
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
        file.close();
        Window w = FullCalculation();
        const QString label = Control<QLabel>(*w.form, "fileName")->text();
        w.dialogs->answers << old + "/new.cal" << old;
        Click(*w.form, "bnSaveCalcFile");
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{100, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        Click(*w.form, "bnSaveCalcFile");
        setrlimit(RLIMIT_FSIZE, &limit);
        QCOMPARE(w.dialogs->errors.size(), 2);
        QVERIFY(w.dialogs->errors[0].startsWith("Не удалось сохранить файл «" + old + "/new.cal»"));
        QVERIFY(w.dialogs->errors[1].startsWith("Не удалось сохранить файл «" + old + "»"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList("old.cal"));
        QCOMPARE(Control<QLabel>(*w.form, "fileName")->text(), label);
    }
};

QUENDAL_GUI_TEST(CalcFileTest);

} // namespace quendal::test

#include "calc_file_test.moc"
