// The window in the system's language or the one chosen on the About tab, Qt's own dialogs with
// it, no Russian left in English, and files the same in every language.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include <utility>

#include "app/application.h"
#include "app/rank_view.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

const QString kRussianStart = QStringLiteral("Динамика планеты|Перейти к:");
const QString kEnglishStart = QStringLiteral("Planet dynamics|Look in:");

// Every text the accessible object `node` and those within it say: captions, values, tooltips,
// items, headers, tab captions.
void Said(QAccessibleInterface* node, QStringList& texts) {
    for (const auto kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
        texts << node->text(kind);
    for (int i = 0; i < node->childCount(); ++i)
        Said(node->child(i), texts);
}

// Of `texts` and all that `roots` say, their menus too, those with Cyrillic letters once the
// languages' own names are taken out.
QStringList Russian(QStringList texts, const QList<QWidget*>& roots) {
    for (QWidget* root : roots) {
        Said(QAccessible::queryAccessibleInterface(root), texts);
        for (const QMenu* menu : root->findChildren<QMenu*>())
            for (const QAction* action : menu->actions())
                texts << action->text();
    }
    for (const Language language : Language::All())
        texts.replaceInStrings(QString::fromUtf8(language.Name()), QString());
    return texts.filter(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")));
}

} // namespace

// Run instead of the tests where QUENDAL_LANGUAGE_PROBE is set: opens the window as the program
// does and prints its first tab's caption and the look-in label of Qt's file dialog.
int LanguageProbe(int argc, char* argv[]) {
    QuendalApplication app(argc, argv);
    TFormMain form;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    std::puts(qUtf8Printable(Control<QTabWidget>(form, "PageControl1")->tabText(0) + u'|' +
                             Control<QLabel>(dialog, "lookInLabel")->text()));
    return 0;
}

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    // Each row chooses an entry of the About tab, which is kept for the next start and wins
    // over the locale (LANG); "as the system" forgets it. Rows run in order: the last two
    // start with the choice of the row before.
    void startsInTheChosenOrTheLocalesLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("choice");
        const QString system = QStringLiteral("Как в системе");
        QTest::newRow("en_US") << "en_US.UTF-8" << kEnglishStart << system;
        QTest::newRow("de_DE, another language") << "de_DE.UTF-8" << kEnglishStart << system;
        QTest::newRow("ru_RU") << "ru_RU.UTF-8" << kRussianStart << system;
        QTest::newRow("C") << "C" << kRussianStart << system;
        QTest::newRow("no LANG") << "" << kRussianStart << system;
        QTest::newRow("kept ru, en_US") << "en_US.UTF-8" << kRussianStart << "Русский";
        QTest::newRow("kept en, ru_RU") << "ru_RU.UTF-8" << kEnglishStart << "English";
        QTest::newRow("as the system again, ru_RU") << "ru_RU.UTF-8" << kRussianStart << system;
    }
    void startsInTheChosenOrTheLocalesLanguage() {
        QFETCH(QString, locale);
        QFETCH(QString, says);
        QFETCH(QString, choice);
        if (locale.startsWith(QStringLiteral("de")) && Language::OfCode("de"))
            QSKIP("a German catalogue is there: German is no other language");
        Window w = OpenWindow();
        EnterTab(*w.form, "TabAbout");
        auto* box = Control<QComboBox>(*w.form, "cbLanguage");
        static QString kept = QStringLiteral("Как в системе"); // by the row before
        QCOMPARE(box->currentText(), kept);
        QVERIFY(box->findText(choice) >= 0);
        ChooseEntry(box, box->findText(choice));
        QCOMPARE(Control<QLabel>(*w.form, "sLanguageNote")->text(),
                 choice == std::exchange(kept, choice)
                     ? QString()
                     : QStringLiteral("Язык сменится при следующем запуске."));
        QCOMPARE(VisibleTabs(Control<QTabWidget>(*w.form, "PageControl1")).first(),
                 QStringLiteral("Динамика планеты")); // this window stays as it is

        QProcess probe; // the test binary again, as a probe, in `locale` with the settings kept
        probe.start("env", {"-u", "LANGUAGE", "-u", "LC_ALL", "-u", "LC_MESSAGES", "-u",
                            "LC_NUMERIC", "LANG=" + locale, "QUENDAL_LANGUAGE_PROBE=1",
                            "XDG_CONFIG_HOME=" + QSettings().fileName().section(u'/', 0, -3),
                            QCoreApplication::applicationFilePath()});
        QVERIFY2(probe.waitForFinished(60000) && probe.exitCode() == 0,
                 probe.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), says);
    }

    // The English window after a race, templates, a planet of a list, a calculation, a search,
    // a ranking and refusals shows no Cyrillic, nor do its messages, dialogs and chart; what it
    // saves, the Russian window opens and saves again byte for byte.
    void englishShowsNoRussianAndSavesAsRussian() {
        QTemporaryDir dir;
        const QString english = dir.filePath(QStringLiteral("english.cal"));
        {
            SetWindowLanguage(Language::English());
            const auto russianAgain = qScopeGuard([] { SetWindowLanguage(Language()); });
            Window w = OpenWindow();
            const TFormMain& form = *w.form;
            FillWindow(w);
            w.dialogs->answers << english;
            Click(form, "bnSaveCalcFile");
            QCOMPARE(Control<QComboBox>(form, "cbPlanetList")->currentText(),
                     QStringLiteral("Brisk, uninhabited, 35%"));
            QVERIFY(!Control<QLabel>(form, "sGenValue1")->text().isEmpty());
            TypeInto(form, "editGeneticP1", QStringLiteral("0")); // out of range: refused
            Click(form, "bnGeneticCalc");
            EnterTab(form, "TabAddParam");
            Click(form, "bnPlanetRank");
            QWidget* view = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (qobject_cast<RankView*>(window))
                    view = window;
            QVERIFY(view);
            Click(*view, "bnRank"); // refused: П1 is out of range
            QVERIFY(Control<QLabel>(*view, "sRankStatus")->text().startsWith("P1: 0"));
            TypeInto(form, "editGeneticP1", QStringLiteral("50"));
            Click(*view, "cbRankSearch");
            Click(*view, "bnRank");
            QTRY_VERIFY_WITH_TIMEOUT(!qobject_cast<RankView*>(view)->running(), 60000);
            QCOMPARE(Control<QTableWidget>(*view, "tbRank")->rowCount(), 8);
            w.dialogs->answers << WriteRaceFile(QDir(dir.path()), "broken.cal",
                                                "[QuendalCalculation]\n");
            Click(form, "bnLoadCalcFile");
            QVERIFY(ChooseMenuEntry(
                OpenContextMenu(Control<QListWidget>(form, "lbDataSet")->viewport()), "Copy"));
            QVERIFY(QGuiApplication::clipboard()->text().startsWith(
                "Year\t% habitability\tPopulation\tResources\tFactories\tMines\n"));

            QCOMPARE(w.dialogs->errors.size(), 2);
            QVERIFY(w.dialogs->errors[0].startsWith("P1: 0 is outside"));
            QVERIFY(w.dialogs->errors[1].startsWith("Could not load the file"));
            QStringList shown = w.dialogs->errors;
            for (const FakeDialogs::Call& call : w.dialogs->calls)
                shown << call.caption << call.filter;
            for (int series = 0; series < 5; ++series)
                shown << w.form->Chart().LegendText(series);
            const QStringList russian = Russian(shown, {w.form.get(), view});
            QVERIFY2(russian.isEmpty(), qPrintable(russian.join(u'\n')));
        }
        Window w = OpenWindow();
        QVERIFY(w.form->OpenCalcFile(english));
        QVERIFY(Control<QComboBox>(*w.form, "cbPlanetList")->currentText().contains("обитаемая"));
        w.dialogs->answers << dir.filePath(QStringLiteral("russian.cal"));
        Click(*w.form, "bnSaveCalcFile");
        QFile a(english), b(dir.filePath(QStringLiteral("russian.cal")));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QVERIFY(bytes.contains("PlanetEntryText="));
        QCOMPARE(bytes, b.readAll());
    }
};

QUENDAL_GUI_TEST(LanguageTest);

} // namespace quendal::test

#include "language_test.moc"
