// Taking results out of the window: the context menus of the chart, the two tables and the
// search result, the clipboard and the saved files.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/chart_adapter.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

// Every whole number of a line, in order: "  3 100/90/80 ..." gives 3, 100, 90, 80, ...
QList<qint64> Numbers(const QString& line) {
    QList<qint64> numbers;
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    for (const QRegularExpressionMatch& m : number.globalMatch(line))
        numbers << m.captured().toLongLong();
    return numbers;
}

// A race with mines and factories in its template, calculated for 20 years.
Window CalculatedWindow(const QTemporaryDir& dir) {
    Window w = OpenWindow();
    LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), "humans.urc", SampleRace()));
    for (const int entry : {2, 3}) {
        ChooseEntry(Control<QComboBox>(*w.form, "cbItemAdd"), entry);
        TypeInto(*w.form, "editItemAdd", QStringLiteral("20"));
        Click(*w.form, "bnItemAdd");
    }
    TypeInto(*w.form, "editLightYears", QStringLiteral("20"));
    Click(*w.form, "bnCalculate");
    return w;
}

QString LabelText(const QWidget& root, const char* name, int number) {
    return Control<QLabel>(root, qPrintable(QString::fromLatin1(name) + QString::number(number)))
        ->text();
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void tablesCopyAndSaveTheirFigures_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("header");
        QTest::newRow("data table") << "TabDataTable"
                                    << "lbDataSet"
                                    << "Год\t% годности\tНаселение\tРесурсы\tФабрики\tШахты";
        QTest::newRow("minerals table")
            << "TabMineral"
            << "lbMineral"
            << "Год\tКонцентрация Ирониум\tКонцентрация Ураниум\tКонцентрация Либериум\t"
               "Добыча в год Ирониум\tДобыча в год Ураниум\tДобыча в год Либериум\t"
               "На поверхности Ирониум\tНа поверхности Ураниум\tНа поверхности Либериум";
    }

    void tablesCopyAndSaveTheirFigures() {
        QFETCH(QString, page);
        QFETCH(QString, list);
        QFETCH(QString, header);
        QTemporaryDir dir;
        Window w = CalculatedWindow(dir);
        auto* pages = Control<QTabWidget>(*w.form, "PageControl2");
        ClickTab(pages, Control<QWidget>(*w.form, qPrintable(page)));
        auto* table = Control<QListWidget>(*w.form, qPrintable(list));
        const QStringList shown = Lines(table);
        QCOMPARE(shown.size(), 21);

        // "Копировать" with nothing selected: the header and every line, tab-separated.
        QVERIFY(ChooseMenuEntry(OpenContextMenu(table->viewport()), QStringLiteral("Копировать")));
        const QString all = QApplication::clipboard()->text();
        const QStringList copied = all.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), 22);
        QCOMPARE(copied.first(), header);
        for (int line = 0; line < shown.size(); ++line)
            QCOMPARE(Numbers(copied[line + 1]), Numbers(shown[line]));

        // Ctrl+C on a selected line copies that line alone.
        ClickLine(table, 7);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), header + u'\n' + copied[8] + u'\n');

        // "Сохранить как CSV…": the whole table with commas; ".csv" added to a bare name.
        w.dialogs->answers << dir.filePath(QStringLiteral("table"));
        QVERIFY(ChooseMenuEntry(OpenContextMenu(table->viewport()),
                                QStringLiteral("Сохранить как CSV…")));
        QCOMPARE(w.dialogs->calls.back().caption, QStringLiteral("Сохранить как CSV"));
        QCOMPARE(ReadText(dir.filePath(QStringLiteral("table.csv"))),
                 QString(all).replace(u'\t', u','));
    }

    void chartSavesPngAndSvgAndCopiesAPicture() {
        QTemporaryDir dir;
        Window w = CalculatedWindow(dir);
        QWidget* chart = w.form->Chart().widget();
        QWidget* view = Control<QWidget>(*w.form, "Chart1");
        const QString saveImage = QStringLiteral("Сохранить изображение…");

        w.dialogs->answers << dir.filePath(QStringLiteral("chart"));
        QVERIFY(ChooseMenuEntry(OpenContextMenu(view), saveImage));
        QCOMPARE(w.dialogs->calls.back().caption, QStringLiteral("Сохранить изображение"));
        // The picture on the screen, pixel for pixel.
        const QImage shown = chart->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage png(dir.filePath(QStringLiteral("chart.png")), "PNG");
        QCOMPARE(png.convertToFormat(QImage::Format_ARGB32), shown);

        w.dialogs->answers << dir.filePath(QStringLiteral("chart.svg"));
        QVERIFY(ChooseMenuEntry(OpenContextMenu(view), saveImage));
        const QString svg = ReadText(dir.filePath(QStringLiteral("chart.svg")));
        QVERIFY(svg.contains(QStringLiteral("<svg")));
        QVERIFY2(svg.contains(QStringLiteral("Шахты: ")), "the legend is in the picture");

        QApplication::clipboard()->clear();
        QVERIFY(ChooseMenuEntry(OpenContextMenu(view), QStringLiteral("Копировать изображение")));
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32), shown);

        // A save that cannot be written says so and leaves no file.
        const QString nowhere = dir.filePath(QStringLiteral("missing/chart.png"));
        w.dialogs->answers << nowhere;
        QVERIFY(ChooseMenuEntry(OpenContextMenu(view), saveImage));
        QCOMPARE(w.dialogs->errors.size(), 1);
        QVERIFY(w.dialogs->errors.first().contains(nowhere));
        QVERIFY(!QFile::exists(nowhere));
    }

    void searchResultCopiesFiguresAndTemplates() {
        Window w = OpenWindow();
        TypeInto(*w.form, "editStartPlanetPrc", QStringLiteral("-20")); // both templates
        LoadRaceFile(w, QStringLiteral(QUENDAL_SOURCE_DIR "/data/typical.urc"));
        EnterTab(*w.form, "TabGenetic");
        auto* plus = Control<QListWidget>(*w.form, "lbGenQueue2");
        QMenu* menu = OpenContextMenu(plus->viewport());
        QVERIFY2(menu && !ChooseMenuEntry(menu, QStringLiteral("Копировать")), "nothing yet");
        menu->close();

        TypeInto(*w.form, "editGeneticP1", QStringLiteral("50"));
        TypeInto(*w.form, "editGeneticP2", QStringLiteral("2"));
        w.form->SetSearchSeed(3);
        Click(*w.form, "bnGeneticCalc");
        QString shown;
        const auto value = [&](int i) { return LabelText(*w.form, "sGenValue", i); };
        for (int i = 1; i <= 5; ++i)
            shown += LabelText(*w.form, "sGenResult", i) + u'\t' + value(i) + u'\n';
        shown +=
            QStringLiteral("Минералы (кТ):\t") + value(6) + u'\t' + value(7) + u'\t' + value(8);
        shown += QStringLiteral("\nОП для негативной планеты\n");
        for (const QString& line : Lines(Control<QListWidget>(*w.form, "lbGenQueue1")))
            shown += line + u'\n';
        shown += QStringLiteral("ОП для пригодной планеты\n");
        for (const QString& line : Lines(plus))
            shown += line + u'\n';
        QVERIFY(!value(8).isEmpty() && shown.contains(QStringLiteral("терраформ.")));

        // From a template list and from a value label alike.
        for (QWidget* target :
             {static_cast<QWidget*>(plus->viewport()), Control<QWidget>(*w.form, "sGenValue3")}) {
            QApplication::clipboard()->clear();
            QVERIFY(ChooseMenuEntry(OpenContextMenu(target), QStringLiteral("Копировать")));
            QCOMPARE(QApplication::clipboard()->text(), shown);
        }
    }
};

QUENDAL_GUI_TEST(ExportTest);

} // namespace quendal::test

#include "export_test.moc"
