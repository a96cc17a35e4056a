// The window in the system's language or the one chosen on the About tab, Qt's own dialogs with
// it, no Russian left in English but what the player's files hold, and files the same in every
// language.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/rank_view.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

const QString kData = QStringLiteral(QUENDAL_SOURCE_DIR "/data/");
const QString kProbe = QStringLiteral("QUENDAL_LANGUAGE_PROBE");

// Every text a widget shows or may show: captions, titles, items, headers, tooltips, its
// menus' entries.
QStringList TextsOf(const QWidget* widget) {
    QStringList texts = {widget->toolTip(), widget->windowTitle()};
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        texts << label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        texts << button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        texts << group->title();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        texts << edit->text() << edit->placeholderText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        texts << plain->toPlainText();
    if (const auto* tabs = qobject_cast<const QTabWidget*>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        for (int i = 0; i < combo->count(); ++i)
            if (combo->objectName() != QLatin1String("cbLanguage") || i == 0)
                texts << combo->itemText(i); // the languages are named in themselves
    if (const auto* list = qobject_cast<const QListWidget*>(widget))
        texts << Lines(list);
    if (const auto* table = qobject_cast<const QTableWidget*>(widget))
        for (int c = 0; c < table->columnCount(); ++c) {
            texts << table->horizontalHeaderItem(c)->text();
            for (int r = 0; r < table->rowCount(); ++r)
                texts << table->item(r, c)->text();
        }
    for (const QMenu* menu : widget->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        for (const QAction* action : menu->actions())
            texts << action->text();
    return texts;
}

// The texts of `root` and every widget in it that hold Cyrillic letters once the player's own
// texts are taken out.
QStringList RussianTexts(const QWidget* root, const QStringList& players) {
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    QList<const QWidget*> widgets = {root};
    for (const QWidget* child : root->findChildren<QWidget*>())
        widgets << child;
    QStringList found;
    for (const QWidget* widget : widgets)
        for (QString text : TextsOf(widget)) {
            for (const QString& own : players)
                text.remove(own);
            if (text.contains(cyrillic))
                found << widget->objectName() + QStringLiteral(": ") + text;
        }
    return found;
}

// The tab captions and a Qt file dialog's label of the program started as `environment` sets
// it: the test binary again, which then only opens the window as the program does and says.
QString StartedWindowSays(const QProcessEnvironment& environment) {
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
        qFatal("the probe failed: %s", probe.readAllStandardError().constData());
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

// The environment of a program started in `locale` (LANG; none when empty) with the settings
// kept in `config`.
QProcessEnvironment StartEnvironment(const QString& locale, const QString& config) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_NUMERIC"})
        environment.remove(QString::fromLatin1(name));
    if (!locale.isEmpty())
        environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(kProbe, QStringLiteral("1"));
    return environment;
}

const QString kRussianStart = QStringLiteral(
    "Динамика планеты|Дополнительные параметры|Подбор вариантов ОП|О программе|Перейти к:");
const QString kEnglishStart =
    QStringLiteral("Planet dynamics|Additional parameters|PQ variant search|About|Look in:");

} // namespace

// What the probe prints: the window's tab captions and the look-in label of Qt's file dialog,
// '|' between them.
int LanguageProbe(int argc, char* argv[]) {
    QuendalApplication app(argc, argv);
    TFormMain form;
    QStringList said;
    const auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int i = 0; i < tabs->count(); ++i)
        said << tabs->tabText(i);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    said << dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
    std::fputs(said.join(u'|').toUtf8().append('\n').constData(), stdout);
    return 0;
}

bool IsLanguageProbe() {
    return qEnvironmentVariableIsSet("QUENDAL_LANGUAGE_PROBE");
}

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void startsInTheLocalesLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("says");
        QTest::newRow("en_US.UTF-8") << "en_US.UTF-8" << kEnglishStart;
        QTest::newRow("de_DE.UTF-8 (another language)") << "de_DE.UTF-8" << kEnglishStart;
        QTest::newRow("ru_RU.UTF-8") << "ru_RU.UTF-8" << kRussianStart;
        QTest::newRow("C") << "C" << kRussianStart;
        QTest::newRow("no LANG") << "" << kRussianStart;
    }
    void startsInTheLocalesLanguage() {
        QFETCH(QString, locale);
        QFETCH(QString, says);
        if (locale.startsWith(QStringLiteral("de")) && Language::OfCode("de"))
            QSKIP("a German catalogue is there: German is no other language");
        QTemporaryDir config;
        QCOMPARE(StartedWindowSays(StartEnvironment(locale, config.path())), says);
    }

    // The About tab's choice is kept and wins over the locale at the next start; "as the
    // system" forgets it.
    void choiceIsKeptForTheNextStart() {
        Window w = OpenWindow();
        auto* choice = Control<QComboBox>(*w.form, "cbLanguage");
        QCOMPARE(choice->itemText(0), QStringLiteral("Как в системе"));
        QCOMPARE(choice->currentIndex(), 0);
        QVERIFY(Control<QLabel>(*w.form, "sLanguageNote")->text().isEmpty());
        EnterTab(*w.form, "TabAbout");
        ChooseEntry(choice, choice->findText(QStringLiteral("English")));
        QCOMPARE(LanguageChoice(), std::optional<Language>(Language::English()));
        QCOMPARE(Control<QLabel>(*w.form, "sLanguageNote")->text(),
                 QStringLiteral("Язык сменится при следующем запуске."));
        QCOMPARE(VisibleTabs(Control<QTabWidget>(*w.form, "PageControl1")).first(),
                 QStringLiteral("Динамика планеты")); // this window stays as it is

        const QString config = QSettings().fileName().section(u'/', 0, -3);
        QCOMPARE(StartedWindowSays(StartEnvironment(QStringLiteral("ru_RU.UTF-8"), config)),
                 kEnglishStart);
        ChooseEntry(choice, 0);
        QCOMPARE(LanguageChoice(), std::nullopt);
        QCOMPARE(StartedWindowSays(StartEnvironment(QStringLiteral("en_US.UTF-8"), config)),
                 kEnglishStart);
        QCOMPARE(StartedWindowSays(StartEnvironment(QStringLiteral("ru_RU.UTF-8"), config)),
                 kRussianStart);
    }

    // Everything the English window shows after a race, templates, a calculation, a planet
    // list, a search, a ranking and refusals: no Cyrillic but the race file's name and its
    // race's.
    void englishWindowShowsNoRussian() {
        const InLanguage english(Language::English());
        QTemporaryDir dir;
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), QStringLiteral("Хумы.urc"), SampleRace()));
        for (const char* radio : {"rbQueueMinus", "rbQueuePlus"})
            for (int entry = 0; entry < 4; ++entry) {
                Click(form, radio);
                ChooseEntry(Control<QComboBox>(form, "cbItemAdd"), entry);
                TypeInto(form, "editItemAdd", QStringLiteral("3"));
                Click(form, "bnItemAdd");
            }
        Click(form, "bnCalculate");
        Click(form, "rbQueueMinus");
        EnterTab(form, "TabAddParam");
        w.dialogs->answers << kData + "planets-8.txt";
        Click(form, "bnPlanetList");
        ChooseEntry(Control<QComboBox>(form, "cbPlanetList"), 1);
        QCOMPARE(Control<QComboBox>(form, "cbPlanetList")->currentText(),
                 QStringLiteral("Brisk, uninhabited, 35%"));
        EnterTab(form, "TabGenetic");
        TypeInto(form, "editGeneticP2", QStringLiteral("1"));
        Click(form, "bnGeneticCalc");
        QVERIFY(!Control<QLabel>(form, "sGenValue1")->text().isEmpty());
        TypeInto(form, "editGeneticP1", QStringLiteral("0")); // out of range: refused
        Click(form, "bnGeneticCalc");
        EnterTab(form, "TabAddParam");
        Click(form, "bnPlanetRank");
        RankView* view = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<RankView*>(window))
                view = found;
        QVERIFY(view);
        Click(*view, "bnRank"); // refused: П1 is out of range
        QVERIFY(Control<QLabel>(*view, "sRankStatus")->text().startsWith(QStringLiteral("P1: 0")));
        TypeInto(form, "editGeneticP1", QStringLiteral("50"));
        Click(*view, "cbRankSearch");
        Click(*view, "bnRank");
        QTRY_VERIFY_WITH_TIMEOUT(!view->running(), 60000);
        QCOMPARE(Control<QTableWidget>(*view, "tbRank")->rowCount(), 8);
        EnterTab(form, "TabCalc");
        w.dialogs->answers << dir.filePath(QStringLiteral("broken.cal"));
        QFile broken(dir.filePath(QStringLiteral("broken.cal")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("[QuendalCalculation]\n") > 0);
        broken.close();
        Click(form, "bnLoadCalcFile");

        QCOMPARE(w.dialogs->errors.size(), 2);
        QVERIFY2(w.dialogs->errors[0].startsWith(QStringLiteral("P1: 0 is outside")),
                 qPrintable(w.dialogs->errors[0]));
        QVERIFY2(w.dialogs->errors[1].startsWith(QStringLiteral("Could not load the file")),
                 qPrintable(w.dialogs->errors[1]));
        QStringList shown = w.dialogs->errors;
        for (const FakeDialogs::Call& call : w.dialogs->calls)
            shown << call.caption << call.filter;
        for (int series = 0; series < 5; ++series)
            shown << w.form->Chart().LegendText(series);
        ClickTab(Control<QTabWidget>(form, "PageControl2"), Control<QWidget>(form, "TabDataTable"));
        QVERIFY(
            ChooseMenuEntry(OpenContextMenu(Control<QListWidget>(form, "lbDataSet")->viewport()),
                            QStringLiteral("Copy")));
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(
            QStringLiteral("Year\t% habitability\tPopulation\tResources\tFactories\tMines\n")));
        shown << QGuiApplication::clipboard()->text();
        QVERIFY2(
            shown.filter(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]"))).isEmpty(),
            qPrintable(shown.join(u'\n')));

        const QStringList players = {QStringLiteral("Хумы")};
        const QStringList russian = RussianTexts(&form, players) + RussianTexts(view, players);
        QVERIFY2(russian.isEmpty(), qPrintable(russian.join(u'\n')));
        view->close();
    }

    // A calculation saved by the English window opens in the Russian one, which saves the
    // same bytes.
    void filesDoNotDependOnTheLanguage() {
        QTemporaryDir dir;
        const QString english = dir.filePath(QStringLiteral("english.cal"));
        const QString russian = dir.filePath(QStringLiteral("russian.cal"));
        {
            const InLanguage language(Language::English());
            Window w = OpenWindow();
            LoadRaceFile(w, kData + "typical.urc");
            Click(*w.form, "rbQueuePlus");
            ChooseEntry(Control<QComboBox>(*w.form, "cbItemAdd"), 2);
            TypeInto(*w.form, "editItemAdd", QStringLiteral("20"));
            Click(*w.form, "bnItemAdd");
            EnterTab(*w.form, "TabAddParam");
            w.dialogs->answers << kData + "planets-20.txt";
            Click(*w.form, "bnPlanetList");
            ChooseEntry(Control<QComboBox>(*w.form, "cbPlanetList"), 1);
            EnterTab(*w.form, "TabCalc");
            Click(*w.form, "bnCalculate");
            w.dialogs->answers << english;
            Click(*w.form, "bnSaveCalcFile");
        }
        Window w = OpenWindow();
        QVERIFY(w.form->OpenCalcFile(english));
        QCOMPARE(Control<QComboBox>(*w.form, "cbPlanetList")->currentText().contains("обитаемая"),
                 true);
        w.dialogs->answers << russian;
        Click(*w.form, "bnSaveCalcFile");
        QFile a(english), b(russian);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QVERIFY(bytes.contains("PlanetEntryText="));
        QCOMPARE(bytes, b.readAll());
    }
};

QUENDAL_GUI_TEST(LanguageTest);

} // namespace quendal::test

#include "language_test.moc"
