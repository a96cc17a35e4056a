// "Рейтинг…": the view ranks as the companion's --rank does, a chosen searched row is the
// planet the window then shows, a ranking stops at a click (showing the planets that ended),
// on closing the view and on closing the window, and a failing ranking is told.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/rank_view.h"
#include "gui_test_support.h"
#include "io/csv_text.h"
#include "tests/support/model_fixtures.h"

namespace quendal::test {

namespace {

const QString kData = QStringLiteral(QUENDAL_SOURCE_DIR "/data/");
const QStringList kListArgs = {
    "--race", kData + "typical.urc", "--planets", kData + "planets-rank.txt", "--years", "20"};
const QStringList kSearchArgs = {"--population", "20", "--generations", "3", "--seed", "7"};

// The companion's standard output for `args`.
QString Companion(const QStringList& args) {
    QProcess calc;
    calc.start(QCoreApplication::applicationDirPath() + "/quendal-calc", kListArgs + args);
    if (!calc.waitForFinished(120000))
        qFatal("quendal-calc did not end");
    return QString::fromUtf8(calc.readAllStandardOutput());
}

// The typical race, "fab:20,mine:20" as the habitable template, 20 years, the sample ranking
// list, the search's population 20 and 3 generations with seed 7; the view open.
struct RankWindow {
    Window w = OpenWindow();
    RankView* view = nullptr;
    QTableWidget* table = nullptr;

    RankWindow(const QString& population = QStringLiteral("20"),
               const QString& generations = QStringLiteral("3")) {
        const TFormMain& form = *w.form;
        TypeInto(form, "editLightYears", QStringLiteral("20"));
        LoadRaceFile(w, kData + "typical.urc");
        Click(form, "rbQueuePlus");
        for (int entry : {2, 3}) {
            ChooseEntry(Control<QComboBox>(form, "cbItemAdd"), entry);
            TypeInto(form, "editItemAdd", QStringLiteral("20"));
            Click(form, "bnItemAdd");
        }
        EnterTab(form, "TabGenetic");
        TypeInto(form, "editGeneticP1", population);
        TypeInto(form, "editGeneticP2", generations);
        w.form->SetSearchSeed(7);
        EnterTab(form, "TabAddParam");
        w.dialogs->answers << kData + "planets-rank.txt";
        Click(form, "bnPlanetList");
        Click(form, "bnPlanetRank");
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<RankView*>(window))
                view = found;
        if (!view || !view->isVisible())
            qFatal("the ranking view is not shown");
        table = Control<QTableWidget>(*view, "tbRank");
    }
    QPushButton* button() const { return Control<QPushButton>(*view, "bnRank"); }
    // Starts a ranking by clicks and waits for its rows.
    void Rank(int criterion, bool search) {
        ChooseEntry(Control<QComboBox>(*view, "cbRankCriterion"), criterion);
        if (Control<QCheckBox>(*view, "cbRankSearch")->isChecked() != search)
            Click(*view, "cbRankSearch");
        Click(*view, "bnRank");
        QTRY_VERIFY_WITH_TIMEOUT(!view->running(), 60000);
    }
    QLabel* status() const { return Control<QLabel>(*view, "sRankStatus"); }
    QStringList Row(int r) const {
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c)
            texts << table->item(r, c)->text();
        return texts;
    }
    QList<QStringList> Rows() const {
        QList<QStringList> rows;
        for (int r = 0; r < table->rowCount(); ++r)
            rows << Row(r);
        return rows;
    }
    QString Label(const char* name) const { return Control<QLabel>(*view, name)->text(); }
};

} // namespace

class RankTest : public QObject {
    Q_OBJECT
private slots:
    void rowsAreTheCompanions() {
        RankWindow rw;
        for (const bool search : {false, true}) {
            // By habitability, where planets alike keep their list order, unlike by resources.
            rw.Rank(0, search);
            if (!search) // the view opens wide enough for the calculated columns
                QVERIFY(!rw.table->horizontalScrollBar()->isVisible());
            QStringList args = {"--rank", "--csv", "--plus", "fab:20,mine:20", "--criterion", "0"};
            if (search)
                args << "--search" << kSearchArgs;
            QStringList lines = Companion(args).split(u'\n', Qt::SkipEmptyParts);
            lines.removeFirst();
            // The companion's CSV joins a template's items by ';', an empty one is an empty field.
            QStringList shown;
            for (int r = 0; r < rw.table->rowCount(); ++r) {
                std::vector<std::string> fields;
                for (QString text : rw.Row(r)) {
                    QVERIFY(!text.isEmpty()); // an empty template shows as "-"
                    fields.push_back((fields.size() < 12 ? text
                                      : text == "-"      ? QString()
                                                         : text.replace(u',', u';'))
                                         .toStdString());
                }
                shown << QString::fromStdString(CsvRow(fields));
            }
            QCOMPARE(shown, lines);
        }
        // A header click sorts by its column; Ctrl+C copies the rows with the header.
        QHeaderView* header = rw.table->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(5) + 5, 5));
        for (int r = 1; r < rw.table->rowCount(); ++r)
            QVERIFY(rw.table->item(r - 1, 5)->text().toLongLong() <=
                    rw.table->item(r, 5)->text().toLongLong());
        rw.table->setFocus();
        rw.table->clearSelection();
        QTest::keyClick(rw.table, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QGuiApplication::clipboard()->text().split(u'\n');
        QCOMPARE(copied.size(), rw.table->rowCount() + 2); // the header, the rows, a last break
        QVERIFY(copied[0].startsWith(QStringLiteral("Место\t№\tПланета\t")));
        QCOMPARE(copied[1].split(u'\t')[5], rw.table->item(0, 5)->text());
    }

    // The table as a player reads it: its captions, numbers aligned right, no row numbers, cells
    // that typing leaves alone; a ranking after a sort by another column puts every figure in
    // its planet's row again; the CSV reached by a right click.
    void tableReadsAndSavesAsShown() {
        RankWindow rw;
        QCOMPARE(Control<QProgressBar>(*rw.view, "pbRank")->value(), 0);
        QStringList labels;
        for (const QLabel* label : rw.view->findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains(QStringLiteral("Прошло:")));
        QVERIFY(labels.contains(QStringLiteral("Осталось:")));
        const QRect criterion = Control<QComboBox>(*rw.view, "cbRankCriterion")->geometry();
        QVERIFY(rw.button()->geometry().left() > criterion.right());
        QVERIFY(qAbs(rw.button()->geometry().center().y() - criterion.center().y()) < 8);
        const auto* bar = Control<QProgressBar>(*rw.view, "pbRank");
        const QRect idleBar = bar->geometry();

        rw.Rank(2, true);
        QVERIFY(!rw.Label("sRankElapsed").isEmpty());
        QVERIFY(!rw.view->windowIcon().isNull());
        QCOMPARE(rw.view->font(), rw.w.form->font());
        // Every control inside the view and none over another; the bar, without a percentage,
        // takes the row's spare width and keeps its place while the times change.
        QList<QRect> placed;
        for (const QWidget* control : rw.view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control->isVisible()) {
                QVERIFY2(rw.view->rect().contains(control->geometry()),
                         qPrintable(control->objectName()));
                for (const QRect& other : placed)
                    QVERIFY2(!other.intersects(control->geometry()),
                             qPrintable(control->objectName()));
                placed << control->geometry();
            }
        QVERIFY(!bar->isTextVisible());
        QVERIFY(bar->width() > rw.view->width() / 3);
        QVERIFY(qAbs(bar->width() - idleBar.width()) < 8);
        QStringList header;
        for (int c = 0; c < rw.table->columnCount(); ++c)
            header << rw.table->horizontalHeaderItem(c)->text();
        QCOMPARE(header, QStringList({"Место", "№", "Планета", "% нач.", "% кон.", "Население",
                                      "Ресурсы", "Фабрики", "Шахты", "Ир.", "Ур.", "Либ.",
                                      "ОП для негативной планеты", "ОП для пригодной планеты"}));
        QVERIFY(!rw.table->verticalHeader()->isVisible());
        // Rows as dense as text lines, and the table takes the view's spare height.
        QVERIFY(rw.table->rowHeight(0) < 2 * rw.table->fontMetrics().height());
        QVERIFY(rw.table->height() > rw.view->height() / 2);
        for (int c = 0; c < rw.table->columnCount(); ++c)
            QCOMPARE((rw.table->item(0, c)->textAlignment() & Qt::AlignRight) != 0,
                     c != 2 && c < 12);
        const QList<QStringList> ranked = rw.Rows();
        rw.table->setFocus();
        rw.table->setCurrentCell(0, 5);
        QTest::keyClick(rw.table, Qt::Key_5);
        QTest::keyClick(rw.table, Qt::Key_F2);
        rw.table->setCurrentCell(1, 5);
        QCOMPARE(rw.Rows(), ranked);

        // Sorted by factories, planets alike keep their ranking order.
        QHeaderView* columns = rw.table->horizontalHeader();
        QTest::mouseClick(columns->viewport(), Qt::LeftButton, {},
                          QPoint(columns->sectionViewportPosition(7) + 5, 5));
        int ties = 0;
        for (int r = 1; r < rw.table->rowCount(); ++r)
            if (rw.table->item(r, 7)->text() == rw.table->item(r - 1, 7)->text()) {
                ++ties;
                QVERIFY(rw.table->item(r - 1, 0)->text().toInt() <
                        rw.table->item(r, 0)->text().toInt());
            }
        QVERIFY(ties > 0);
        QTest::mouseClick(columns->viewport(), Qt::LeftButton, {},
                          QPoint(columns->sectionViewportPosition(2) + 5, 5));
        QVERIFY(rw.Rows() != ranked);
        rw.Rank(2, true);
        QCOMPARE(rw.Rows(), ranked);

        // The CSV by the button and by a right click.
        QTemporaryDir dir;
        std::vector<std::string> first;
        for (const QString& field : ranked[0])
            first.push_back(field.toStdString());
        for (const QString name : {"button.csv", "menu.csv"}) {
            rw.w.dialogs->answers << dir.filePath(name);
            if (name == "button.csv")
                Click(*rw.view, "bnRankSaveCsv");
            else
                QVERIFY(ChooseMenuEntry(OpenContextMenu(rw.table->viewport()),
                                        QStringLiteral("Сохранить как CSV…")));
            QFile csv(dir.filePath(name));
            QVERIFY(csv.open(QIODevice::ReadOnly));
            const QStringList lines =
                QString::fromUtf8(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), ranked.size() + 1);
            QCOMPARE(lines[0].split(u','), header);
            QCOMPARE(lines[1], QString::fromStdString(CsvRow(first)));
        }

        // Another planet list in the window clears the rows and the progress of this one.
        rw.w.dialogs->answers << kData + "planets-rank.txt";
        Click(*rw.w.form, "bnPlanetList");
        QCOMPARE(rw.table->rowCount(), 0);
        QCOMPARE(bar->value(), 0);
        for (const char* label : {"sRankElapsed", "sRankRemaining", "sRankStatus"})
            QCOMPARE(rw.Label(label), QString());
    }

    void chosenSearchedRowIsShown() {
        RankWindow rw;
        rw.Rank(2, true);
        const int row = 1;
        const QStringList chosen = rw.Row(row);
        const QRect cell = rw.table->visualItemRect(rw.table->item(row, 2));
        // A double-click is a press and release, then a press that doubles it.
        QTest::mouseClick(rw.table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(rw.table->viewport(), Qt::LeftButton, {}, cell.center());

        const TFormMain& form = *rw.w.form;
        const QString pick = chosen[1];
        QCOMPARE(Control<QComboBox>(form, "cbPlanetList")->currentIndex(), pick.toInt());
        QCOMPARE(Control<QTabWidget>(form, "PageControl1")->currentWidget()->objectName(),
                 QStringLiteral("TabCalc"));
        // The templates are those a search of that planet alone finds ...
        const QString found = Companion(QStringList{"--pick", pick, "--search"} + kSearchArgs);
        QStringList shown{QStringLiteral("minus:")};
        for (const QString& line : Lines(Control<QListWidget>(form, "lbQueueM")))
            shown << "  " + line;
        shown << QStringLiteral("plus:");
        for (const QString& line : Lines(Control<QListWidget>(form, "lbQueue")))
            shown << "  " + line;
        QCOMPARE(found.section(u'\n', 1), shown.join(u'\n') + u'\n');
        // ... and the table is that planet calculated with them.
        QStringList replay = {"--pick", pick};
        if (chosen[12] != "-")
            replay << "--minus" << chosen[12];
        if (chosen[13] != "-")
            replay << "--plus" << chosen[13];
        const QStringList table = Companion(replay).split(u'\n').mid(2, 21);
        QCOMPARE(Lines(Control<QListWidget>(form, "lbDataSet")), table);

        // Enter chooses a row too.
        rw.table->setCurrentCell(0, 0);
        QTest::keyClick(rw.table, Qt::Key_Return);
        QCOMPARE(Control<QComboBox>(form, "cbPlanetList")->currentText(), rw.Row(0)[2]);
    }

    void interruptAndCloseStopAtOnce() {
        // A search of each planet far longer than the test waits.
        RankWindow rw(QStringLiteral("2000"), QStringLiteral("999"));
        Click(*rw.view, "cbRankSearch");
        QElapsedTimer clock;
        const auto start = [&] {
            Click(*rw.view, "bnRank");
            QCOMPARE(rw.button()->text(), QStringLiteral("Прервать"));
            QTest::qWait(300);
            clock.start();
        };
        start();
        QCOMPARE(rw.Label("sRankRemaining"), QString()); // no planet has ended yet
        Click(*rw.view, "bnRank");
        QVERIFY(!rw.button()->isEnabled()); // until the ranking has stopped
        QTRY_VERIFY_WITH_TIMEOUT(!rw.view->running(), 1000);
        QCOMPARE(rw.status()->text(), QStringLiteral("Прервано, рассчитано планет: 0 из 5"));
        QCOMPARE(rw.button()->text(), QStringLiteral("Рассчитать"));
        QCOMPARE(rw.table->rowCount(), 0);

        // Another planet list in the window stops the ranking of the one it replaces.
        start();
        rw.w.dialogs->answers << kData + "planets-rank.txt";
        Click(*rw.w.form, "bnPlanetList");
        QVERIFY(!rw.view->running());
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(rw.button()->text(), QStringLiteral("Рассчитать"));

        start();
        QTest::keyClick(rw.view, Qt::Key_Escape);
        QVERIFY(!rw.view->running());
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(rw.status()->text(), QStringLiteral("Прервано"));

        Click(*rw.w.form, "bnPlanetRank");
        start();
        rw.w.form->close();
        QVERIFY(!rw.view->running());
        QVERIFY(!rw.view->isVisible());
        QVERIFY(clock.elapsed() < 1000);
    }

    // Stopped once a planet has ended: the planets that ended, ranked as in the whole ranking.
    void stoppedRankingShowsThePlanetsThatEnded() {
        RankWindow rw(QStringLiteral("20"), QStringLiteral("100"));
        rw.Rank(2, true);
        QList<QStringList> whole;
        for (int r = 0; r < rw.table->rowCount(); ++r)
            whole << rw.Row(r);
        Click(*rw.view, "bnRank");
        const auto* progress = Control<QProgressBar>(*rw.view, "pbRank");
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 60000);
        if (progress->value() == 1) // shown with the first planet's end
            QVERIFY(!rw.Label("sRankRemaining").isEmpty());
        Click(*rw.view, "bnRank");
        QTRY_VERIFY_WITH_TIMEOUT(!rw.view->running(), 5000);
        QList<QStringList> shown, expected;
        QStringList ended;
        for (int r = 0; r < rw.table->rowCount(); ++r)
            ended << (shown << rw.Row(r)).last()[1];
        for (QStringList row : whole)
            if (ended.contains(row[1])) {
                row[0] = QString::number(expected.size() + 1);
                expected << row;
            }
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown, expected);
        QCOMPARE(rw.status()->text(),
                 QStringLiteral("Прервано, рассчитано планет: %1 из 5").arg(shown.size()));
    }

    // A ranking that throws is told in the status; the view then ranks as before.
    void failingRankingIsToldAndTheViewRanksOn() {
        FakeDialogs dialogs;
        const auto race = simtest::MakeRace({15, 0, 35}, {86, 100, 64}, 15);
        size_t planets = 1; // fewer than the entries: setting up the second planet throws
        Controller controller;
        RankView view(&dialogs, controller,
                      [&] {
                          RankInput input;
                          input.base = *race;
                          input.planets.resize(planets);
                          input.entries = {"A", "B"};
                          return input;
                      },
                      {});
        view.show();
        QStringList escaped; // to the application's last resort
        auto* app = qobject_cast<QuendalApplication*>(QCoreApplication::instance());
        app->SetReporter([&](const QString& message) { escaped << message; });
        const auto restore = qScopeGuard([app] { app->SetReporter({}); });
        const auto* table = Control<QTableWidget>(view, "tbRank");
        for (const QString status : {"Ошибка: рейтинг не рассчитан", ""}) {
            Click(view, "bnRank");
            QTRY_VERIFY_WITH_TIMEOUT(!view.running(), 5000);
            QCOMPARE(escaped, QStringList());
            QCOMPARE(Control<QLabel>(view, "sRankStatus")->text(), status);
            QCOMPARE(table->rowCount(), status.isEmpty() ? 2 : 0);
            planets = 2;
        }
    }
};

QUENDAL_GUI_TEST(RankTest);

} // namespace quendal::test

#include "rank_test.moc"
