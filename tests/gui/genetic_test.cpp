// "Подбор вариантов ОП": a search as the companion runs it, one interrupted and handed to
// "Динамика планеты", clicks while a search ends, and the window closed mid-search.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "gui_test_support.h"
#include "model/simulation.h"

namespace quendal::test {

namespace {

const QString kRace = QStringLiteral(QUENDAL_SOURCE_DIR "/data/typical.urc");

// The typical race with 99 years to calculate, and the search tab in front with the given
// population and generations.
Window SearchWindow(const QString& population, const QString& generations,
                    const QString& startPrc = QStringLiteral("-20")) {
    Window w = OpenWindow();
    TypeInto(*w.form, "editStartPlanetPrc", startPrc);
    TypeInto(*w.form, "editLightYears", QStringLiteral("99"));
    LoadRaceFile(w, kRace);
    EnterTab(*w.form, "TabGenetic");
    TypeInto(*w.form, "editGeneticP1", population);
    TypeInto(*w.form, "editGeneticP2", generations);
    return w;
}

QPushButton* StartButton(const Window& w) {
    return Control<QPushButton>(*w.form, "bnGeneticCalc");
}

// The eight figures of the result area.
QStringList Figures(const TFormMain& form) {
    QStringList figures;
    for (int i = 1; i <= 8; ++i)
        figures << Control<QLabel>(form, qPrintable(QStringLiteral("sGenValue%1").arg(i)))->text();
    return figures;
}

} // namespace

class GeneticTest : public QObject {
    Q_OBJECT
private slots:
    // The companion prints "result:" with the eight figures, then "minus:" and "plus:" with
    // the templates, each line indented by two blanks.
    void seededSearchMatchesTheCompanion() {
        Window w = SearchWindow("50", "5", "40");
        QCOMPARE(Text(*w.form, "editGenPlanetPrc"), QStringLiteral("39 (41,43,42)"));
        QCOMPARE(Text(*w.form, "editGenLYear"), QStringLiteral("50"));
        w.form->SetSearchSeed(7);
        Click(*w.form, "bnGeneticCalc");
        QStringList shown{"result: " + Figures(*w.form).join(u' '), QStringLiteral("minus:")};
        for (const QString& line : Lines(Control<QListWidget>(*w.form, "lbGenQueue1")))
            shown << "  " + line;
        shown << QStringLiteral("plus:");
        for (const QString& line : Lines(Control<QListWidget>(*w.form, "lbGenQueue2")))
            shown << "  " + line;

        QProcess calc;
        calc.start(QCoreApplication::applicationDirPath() + "/quendal-calc",
                   {"--race", kRace, "--start-prc", "40", "--years", "99", "--search",
                    "--population", "50", "--generations", "5", "--seed", "7"});
        QVERIFY(calc.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(calc.readAllStandardOutput()), shown.join(u'\n') + u'\n');
        QVERIFY(shown.size() > 3);
        QCOMPARE(Control<QProgressBar>(*w.form, "pbGenetic")->value(), 260);
        QCOMPARE(Control<QLabel>(*w.form, "sTimeRemai")->text(), QStringLiteral("0 миллисек"));
    }

    // A second click interrupts the search; its outcome still goes to "Динамика планеты".
    void interruptedSearchHandsOver() {
        Window w = SearchWindow("100", "999");
        const TFormMain& form = *w.form;
        QPushButton* button = StartButton(w);
        QStringList during;
        QTimer::singleShot(300, button, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            during << button->text() << (cursor && cursor->shape() == Qt::BusyCursor ? "busy" : "");
            // The race cannot be cleared from under the running search.
            QTest::mouseClick(Control<QPushButton>(form, "bnLoadRaceFile"), Qt::LeftButton);
            during << (form.Model().RaceLoaded ? "race" : "");
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(during, QStringList({"Прервать", "busy", "race"}));
        QVERIFY(Control<QPushButton>(form, "bnLoadRaceFile")->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(button->text(), QStringLiteral("Расчет"));
        QVERIFY(button->isEnabled());
        QVERIFY(Control<QProgressBar>(form, "pbGenetic")->value() < 260);
        QVERIFY(!Control<QLabel>(form, "sGenValue8")->text().isEmpty());
        // The figures shown are those of the templates shown: one individual simulated.
        const CalcModel& model = w.form->Model();
        RunGenSimulation(w.form->Model());
        QCOMPARE(Control<QLabel>(form, "sGenValue2")->text(),
                 QString::number(model.GeneticState.GenResMen));
        QCOMPARE(Control<QLabel>(form, "sGenValue3")->text(),
                 QString::number(model.GeneticState.GenResResource));
        QCOMPARE(Control<QLabel>(form, "sGenValue6")->text(),
                 QString::number(model.GeneticState.GenResMineral[0]));

        Click(form, "bnToGraphic");
        const QStringList minus = Lines(Control<QListWidget>(form, "lbGenQueue1"));
        const QStringList plus = Lines(Control<QListWidget>(form, "lbGenQueue2"));
        QVERIFY(!minus.isEmpty() || !plus.isEmpty());
        QCOMPARE(Lines(Control<QListWidget>(form, "lbQueueM")), minus);
        QCOMPARE(Lines(Control<QListWidget>(form, "lbQueue")), plus);
        QCOMPARE(TemplateLines(w.form->Model().QueuePlus), plus);
        QCOMPARE(Text(form, "editLightYears"), QStringLiteral("50"));
    }

    // A search keeps the race and planet it started with: an edit on "Дополнительные
    // параметры" made while it runs reaches the model for the next search only.
    void editsDuringASearchWaitForTheNext() {
        Window w = SearchWindow("50", "5");
        const TFormMain& form = *w.form;
        const auto outcome = [&] {
            w.form->SetSearchSeed(11);
            Click(form, "bnGeneticCalc");
            return Figures(form) + Lines(Control<QListWidget>(form, "lbGenQueue1")) +
                   QStringList{"|"} + Lines(Control<QListWidget>(form, "lbGenQueue2"));
        };
        struct Edit {
            const char* field;
            QString text;
            const int32_t& value; // what leaving the tab writes
        } edits[] = {{"editRaceP1", "700", form.Model().Race.NColonistYTo1Resource},
                     {"editPlanetMineral1", "5000", form.Model().Planet.PlanetMineral[0]}};
        for (const Edit& edit : edits) {
            const QStringList unedited = outcome();
            QString during;
            QTimer::singleShot(0, w.form.get(), [&] {
                during = StartButton(w)->text();
                EnterTab(form, "TabAddParam");
                TypeInto(form, edit.field, edit.text);
                EnterTab(form, "TabGenetic");
            });
            QCOMPARE(outcome(), unedited);
            QCOMPARE(during, QStringLiteral("Прервать"));
            QCOMPARE(edit.value, edit.text.toInt());
        }
    }

    // Clicks that keep coming while the search stops and refines start nothing new: the
    // progress never falls back, and the window ends idle.
    void clicksWhileTheSearchEndsAreHarmless() {
        Window w = SearchWindow("100", "999");
        QPushButton* button = StartButton(w);
        auto* progress = Control<QProgressBar>(*w.form, "pbGenetic");
        int disabledClicks = 0, progressDrops = 0, lastProgress = 0;
        QTimer clicker;
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            progressDrops += progress->value() < lastProgress;
            lastProgress = progress->value();
            disabledClicks += !button->isEnabled();
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClick(button, Qt::Key_Space);
        });
        QTimer::singleShot(200, &clicker, [&] { clicker.start(0); });
        QTest::mouseClick(button, Qt::LeftButton);
        clicker.stop();
        QVERIFY(disabledClicks > 0);
        QCOMPARE(progressDrops, 0);
        QCOMPARE(button->text(), QStringLiteral("Расчет"));
        QVERIFY(button->isEnabled() && !QApplication::overrideCursor());
    }

    // A new race starts with no result: the old templates were priced for the old race.
    void clearingTheRaceClearsTheResult() {
        Window w = SearchWindow("50", "1");
        Click(*w.form, "bnGeneticCalc");
        QVERIFY(!Control<QLabel>(*w.form, "sGenValue1")->text().isEmpty());
        Click(*w.form, "bnLoadRaceFile"); // clears the race
        LoadRaceFile(w, QStringLiteral(QUENDAL_SOURCE_DIR "/data/immune-two.urc"));
        EnterTab(*w.form, "TabGenetic");
        QStringList shown;
        for (int i = 1; i <= 8; ++i)
            shown << Control<QLabel>(*w.form, qPrintable(QStringLiteral("sGenValue%1").arg(i)))
                         ->text();
        shown << Lines(Control<QListWidget>(*w.form, "lbGenQueue1"))
              << Lines(Control<QListWidget>(*w.form, "lbGenQueue2"));
        QCOMPARE(shown.join(QString()), QString());
        QVERIFY(!Control<QPushButton>(*w.form, "bnToGraphic")->isEnabled());
        QCOMPARE(Control<QProgressBar>(*w.form, "pbGenetic")->value(), 0);
    }

    // The longest planet text (lowest habitability, widest factors, homeworld) fits its field
    // and is shown from its start.
    void planetTextFitsItsField() {
        Window w = OpenWindow();
        LoadRaceFile(w, kRace);
        EnterTab(*w.form, "TabAddParam");
        for (const char* field : {"editPlanetEnv1", "editPlanetEnv2", "editPlanetEnv3"})
            TypeInto(*w.form, field, QStringLiteral("-9999"));
        Click(*w.form, "cbPlanetHW");
        EnterTab(*w.form, "TabGenetic");
        auto* edit = Control<QLineEdit>(*w.form, "editGenPlanetPrc");
        QCOMPARE(edit->text(), QStringLiteral("-75 (-999,-999,-999) HW"));
        QCOMPARE(edit->cursorPosition(), 0);
        // A line edit keeps two pixels free at either side of its text.
        QVERIFY(edit->fontMetrics().horizontalAdvance(edit->text()) + 4 <=
                edit->contentsRect().width());
    }

    // Each mineral's caption stands over its own value, in the order Ironium, Uranium, Liberium
    // (the layout test checks that texts fit).
    void mineralCaptionsStandOverTheirValues() {
        Window w = OpenWindow();
        const char* const captions[3] = {"Ир.", "Ур.", "Либ."};
        for (int i = 0; i < 3; ++i) {
            const auto* caption =
                Control<QLabel>(*w.form, qPrintable(QStringLiteral("sGenMineral%1").arg(i + 1)));
            const QRect value =
                Control<QLabel>(*w.form, qPrintable(QStringLiteral("sGenValue%1").arg(6 + i)))
                    ->geometry();
            QCOMPARE(caption->text(), QString::fromUtf8(captions[i]));
            QVERIFY(caption->geometry().bottom() < value.top());
            QCOMPARE(caption->geometry().right(), value.right());
        }
    }

    // Closing the window mid-search stops the search, and the message loop returns 0 soon.
    void closingMidSearchEndsTheLoop() {
        Window w = SearchWindow("100", "999");
        QPushButton* button = StartButton(w);
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
        QTimer::singleShot(300, w.form.get(), &QWidget::close);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(Control<QProgressBar>(*w.form, "pbGenetic")->value() < 260);
        QCOMPARE(button->text(), QStringLiteral("Расчет"));
    }
};

QUENDAL_GUI_TEST(GeneticTest);

} // namespace quendal::test

#include "genetic_test.moc"
