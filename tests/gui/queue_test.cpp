// Composing the two templates with the real controls; each list box mirrors its template.
#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>

#include "gui_test_support.h"

namespace quendal::test {

namespace {

// A window with a race loaded, so that the template controls are enabled.
class RaceWindow {
public:
    RaceWindow() : window_(OpenWindow()) {
        LoadRaceFile(window_, WriteRaceFile(QDir(dir_.path()), "humans.urc", SampleRace()));
    }
    TFormMain& form() { return *window_.form; }

    void Add(int entry, const QString& count) {
        ChooseEntry(Control<QComboBox>(form(), "cbItemAdd"), entry);
        TypeInto(form(), "editItemAdd", count);
        Click(form(), "bnItemAdd");
    }

private:
    QTemporaryDir dir_;
    Window window_;
};

} // namespace

class QueueTest : public QObject {
    Q_OBJECT
private slots:
    void addElement_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("line"); // empty: nothing is added
        QTest::newRow("min terraform takes one step") << 0 << "7"
                                                      << "Мин.терраформ.   1";
        QTest::newRow("max terraform 20") << 1 << "20"
                                          << "Макс.терраформ.  20";
        QTest::newRow("max terraform 21 ignored") << 1 << "21"
                                                  << "";
        QTest::newRow("factories from leading digits") << 2 << "12abc"
                                                       << "Фабрики          12";
        QTest::newRow("factories beyond the spin") << 2 << "5000"
                                                   << "Фабрики          5000";
        QTest::newRow("mines") << 3 << "40"
                               << "Шахты            40";
        QTest::newRow("no digits ignored") << 2 << "abc"
                                           << "";
        QTest::newRow("zero ignored") << 3 << "0"
                                      << "";
        QTest::newRow("negative ignored") << 3 << "-3"
                                          << "";
    }

    void addElement() {
        QFETCH(int, entry);
        QFETCH(QString, count);
        QFETCH(QString, line);
        RaceWindow w;
        w.Add(entry, count);
        const QStringList expected = line.isEmpty() ? QStringList() : QStringList(line);
        QCOMPARE(Lines(Control<QListWidget>(w.form(), "lbQueueM")), expected);
        QCOMPARE(TemplateLines(w.form().Model().QueueMinus), expected);
        QVERIFY(Lines(Control<QListWidget>(w.form(), "lbQueue")).isEmpty());
    }

    void addNeedsAKind() {
        RaceWindow w;
        TypeInto(w.form(), "editItemAdd", QStringLiteral("5"));
        Click(w.form(), "bnItemAdd");
        QCOMPARE(w.form().Model().QueueMinus.count(), 0);
        QCOMPARE(Control<QListWidget>(w.form(), "lbQueueM")->count(), 0);
    }

    void unitCostComesFromTheRace() {
        RaceWindow w;
        w.Add(2, QStringLiteral("3"));
        w.Add(3, QStringLiteral("4"));
        LIST_ITEM& queue = w.form().Model().QueueMinus;
        QCOMPARE(queue.At(1)->unitCost, 10); // NResourceBuildFactory
        QCOMPARE(queue.At(2)->unitCost, 5);  // NResourceBuildMine
    }

    void movesFollowTheSelection() {
        RaceWindow w;
        w.Add(2, QStringLiteral("1"));
        w.Add(2, QStringLiteral("2"));
        w.Add(2, QStringLiteral("3"));
        auto* list = Control<QListWidget>(w.form(), "lbQueueM");
        LIST_ITEM& queue = w.form().Model().QueueMinus;
        const auto counts = [&] {
            QStringList lines = Lines(list);
            for (QString& line : lines)
                line = line.section(u' ', -1);
            return lines;
        };

        ClickLine(list, 1);
        Click(w.form(), "bnQueueUp"); // second becomes first
        QCOMPARE(counts(), QStringList({"2", "1", "3"}));
        QCOMPARE(list->currentRow(), 0);
        Click(w.form(), "bnQueueUp"); // already first
        QCOMPARE(counts(), QStringList({"2", "1", "3"}));

        ClickLine(list, 1);
        Click(w.form(), "bnQueueDown"); // second-to-last becomes last
        QCOMPARE(counts(), QStringList({"2", "3", "1"}));
        QCOMPARE(list->currentRow(), 2);
        Click(w.form(), "bnQueueDown"); // already last
        QCOMPARE(counts(), QStringList({"2", "3", "1"}));
        QCOMPARE(TemplateLines(queue), Lines(list));

        ClickLine(list, 0);
        Click(w.form(), "bnQueueDel");
        QCOMPARE(counts(), QStringList({"3", "1"}));
        QVERIFY(list->selectedItems().isEmpty());
        Click(w.form(), "bnQueueDel"); // nothing selected
        Click(w.form(), "bnQueueUp");
        Click(w.form(), "bnQueueDown");
        QCOMPARE(counts(), QStringList({"3", "1"}));
        QCOMPARE(TemplateLines(queue), Lines(list));

        Click(w.form(), "bnQueueClear");
        QCOMPARE(list->count(), 0);
        QCOMPARE(queue.count(), 0);
    }

    void radioButtonsChooseTheTemplate() {
        RaceWindow w;
        auto* minus = Control<QListWidget>(w.form(), "lbQueueM");
        auto* plus = Control<QListWidget>(w.form(), "lbQueue");
        QVERIFY(minus->isEnabled());
        QVERIFY(!plus->isEnabled());

        Click(w.form(), "rbQueuePlus");
        QVERIFY(!minus->isEnabled());
        QVERIFY(plus->isEnabled());
        w.Add(3, QStringLiteral("8"));
        QCOMPARE(Lines(plus), QStringList({"Шахты            8"}));
        QCOMPARE(TemplateLines(w.form().Model().QueuePlus), Lines(plus));
        QCOMPARE(w.form().Model().QueueMinus.count(), 0);

        ClickLine(plus, 0);
        Click(w.form(), "rbQueueMinus");
        Click(w.form(), "bnQueueClear"); // acts on the negative template only
        QCOMPARE(plus->count(), 1);
        QVERIFY(minus->isEnabled());
        QVERIFY(!plus->isEnabled());
    }
};

QUENDAL_GUI_TEST(QueueTest);

} // namespace quendal::test

#include "queue_test.moc"
