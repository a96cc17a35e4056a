// "Подбор вариантов ОП": the task shown on entering the tab, a search started, interrupted
// and handed to the planet-dynamics tab, the same search as the companion's, and a window
// closed while it searches.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "gui_test_support.h"

namespace quendal::test {

namespace {

QString SampleFile(const char* name) {
    return QStringLiteral(QUENDAL_SOURCE_DIR "/data/") + QString::fromLatin1(name);
}

// A window with the typical race on a planet of -20 % and the search tab in front.
Window SearchWindow(const QString& generations, const QString& population = "100") {
    Window w = OpenWindow();
    TypeInto(*w.form, "editStartPlanetPrc", QStringLiteral("-20"));
    LoadRaceFile(w, SampleFile("typical.urc"));
    ClickTab(Control<QTabWidget>(*w.form, "PageControl1"), Control<QWidget>(*w.form, "TabGenetic"));
    TypeInto(*w.form, "editGeneticP1", population);
    TypeInto(*w.form, "editGeneticP2", generations);
    return w;
}

QStringList ResultFigures(const TFormMain& form) {
    QStringList figures;
    for (int i = 1; i <= 8; ++i)
        figures << Control<QLabel>(form, qPrintable(QStringLiteral("sGenValue%1").arg(i)))->text();
    return figures;
}

} // namespace

class GeneticTest : public QObject {
    Q_OBJECT
private slots:
    void enteringShowsTheTask() {
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        LoadRaceFile(w, SampleFile("typical.urc"));
        TypeInto(form, "editLightYears", QStringLiteral("99"));
        TypeInto(form, "editStartPlanetMen", QStringLiteral("777x"));
        auto* pages = Control<QTabWidget>(form, "PageControl1");
        ClickTab(pages, Control<QWidget>(form, "TabAddParam"));
        Click(form, "cbPlanetHW");
        ClickTab(pages, Control<QWidget>(form, "TabGenetic"));
        const PlanetParams& p = form.Model().Planet;
        QCOMPARE(Control<QLineEdit>(form, "editGenPlanetPrc")->text(),
                 QStringLiteral("%1 (%2,%3,%4) HW")
                     .arg(p.PlanetPrc)
                     .arg(p.PlanetEnv[0])
                     .arg(p.PlanetEnv[1])
                     .arg(p.PlanetEnv[2]));
        QCOMPARE(Control<QLineEdit>(form, "editGenLYear")->text(), QStringLiteral("50"));
        QCOMPARE(Control<QLineEdit>(form, "editGenFixed")->text(), QStringLiteral("777x"));
    }

    void seededSearchMatchesTheCompanion() {
        Window w = SearchWindow("5", "50");
        w.form->SetSearchSeed(7);
        Click(*w.form, "bnGeneticCalc");

        QProcess calc;
        calc.start(QCoreApplication::applicationDirPath() + "/quendal-calc",
                   {"--race", SampleFile("typical.urc"), "--start-prc", "-20", "--search",
                    "--population", "50", "--generations", "5", "--seed", "7"});
        QVERIFY(calc.waitForFinished(60000));
        QCOMPARE(calc.exitCode(), 0);
        const QStringList out = QString::fromUtf8(calc.readAllStandardOutput()).split(u'\n');
        const int plus = out.indexOf("plus:");
        QVERIFY(plus > 1);
        QCOMPARE(ResultFigures(*w.form).join(u' '), out[0].mid(QStringLiteral("result: ").size()));
        QStringList minus = out.mid(2, plus - 2), plusLines = out.mid(plus + 1);
        plusLines.removeAll(QString());
        for (QString& line : minus)
            line = line.mid(2);
        for (QString& line : plusLines)
            line = line.mid(2);
        QVERIFY(!minus.isEmpty() || !plusLines.isEmpty());
        QCOMPARE(Lines(Control<QListWidget>(*w.form, "lbGenQueue1")), minus);
        QCOMPARE(Lines(Control<QListWidget>(*w.form, "lbGenQueue2")), plusLines);
        QCOMPARE(Control<QProgressBar>(*w.form, "pbGenetic")->value(), 260);
        QCOMPARE(Control<QLabel>(*w.form, "sTimeRemai")->text(), QStringLiteral("0 миллисек"));
    }

    // A second click interrupts the search; its outcome still goes to "Динамика планеты".
    void interruptedSearchHandsOver() {
        Window w = SearchWindow("999");
        const TFormMain& form = *w.form;
        auto* button = Control<QPushButton>(form, "bnGeneticCalc");
        QString caption;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        QTimer::singleShot(300, button, [&] {
            caption = button->text();
            cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                    : Qt::ArrowCursor;
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(clock.elapsed() < 20000);
        QCOMPARE(caption, QStringLiteral("Прервать"));
        QCOMPARE(cursor, Qt::BusyCursor);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(button->text(), QStringLiteral("Расчет"));
        QVERIFY(button->isEnabled());
        QVERIFY(Control<QProgressBar>(form, "pbGenetic")->value() < 260);
        QVERIFY(!Control<QLabel>(form, "sTimeReady")->text().isEmpty());
        QVERIFY(!ResultFigures(form).contains(QString()));

        TypeInto(form, "editGenLYear", QStringLiteral("33"));
        Click(form, "bnToGraphic");
        const QStringList minus = Lines(Control<QListWidget>(form, "lbGenQueue1"));
        const QStringList plus = Lines(Control<QListWidget>(form, "lbGenQueue2"));
        QVERIFY(!minus.isEmpty() || !plus.isEmpty());
        QCOMPARE(Lines(Control<QListWidget>(form, "lbQueueM")), minus);
        QCOMPARE(Lines(Control<QListWidget>(form, "lbQueue")), plus);
        QCOMPARE(TemplateLines(w.form->Model().QueueMinus), minus);
        QCOMPARE(Control<QLineEdit>(form, "editLightYears")->text(), QStringLiteral("33"));
        QCOMPARE(Control<QLineEdit>(form, "editStartPlanetMen")->text(), QStringLiteral("250"));
    }

    // Clicks that keep coming while the search stops and refines start nothing new.
    void clicksDuringTheEndStageAreHarmless() {
        Window w = SearchWindow("999");
        auto* button = Control<QPushButton>(*w.form, "bnGeneticCalc");
        auto* progress = Control<QProgressBar>(*w.form, "pbGenetic");
        int clicks = 0, disabledClicks = 0, progressDrops = 0, lastProgress = 0;
        QTimer clicker;
        QObject::connect(&clicker, &QTimer::timeout, [&] {
            progressDrops += progress->value() < lastProgress;
            lastProgress = progress->value();
            disabledClicks += !button->isEnabled();
            ++clicks;
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClick(button, Qt::Key_Space);
        });
        QTimer::singleShot(200, [&] { clicker.start(0); });
        QTest::mouseClick(button, Qt::LeftButton);
        clicker.stop();
        QVERIFY(disabledClicks > 0);
        QCOMPARE(progressDrops, 0);
        QCOMPARE(button->text(), QStringLiteral("Расчет"));
        QVERIFY(button->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(progress->value() < 260);
    }

    // Closing the window mid-search stops the search, and the message loop then returns 0.
    void closingMidSearchEndsTheLoop() {
        Window w = SearchWindow("999");
        auto* button = Control<QPushButton>(*w.form, "bnGeneticCalc");
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
        QTimer::singleShot(300, w.form.get(), &QWidget::close);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(clock.elapsed() < 20000);
        QVERIFY(!w.form->isVisible());
        QVERIFY(Control<QProgressBar>(*w.form, "pbGenetic")->value() < 260);
        QCOMPARE(button->text(), QStringLiteral("Расчет"));
    }
};

QUENDAL_GUI_TEST(GeneticTest);

} // namespace quendal::test

#include "genetic_test.moc"
