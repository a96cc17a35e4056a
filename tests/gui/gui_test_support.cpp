#include "gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/window_language.h"

namespace quendal::test {

std::vector<TestFactory>& Registry() {
    static std::vector<TestFactory> tests;
    return tests;
}

Window OpenWindow() {
    auto dialogs = std::make_unique<FakeDialogs>();
    FakeDialogs* raw = dialogs.get();
    auto form = std::make_unique<TFormMain>(std::move(dialogs));
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qFatal("the window was not shown");
    return {raw, std::move(form)};
}

void Click(const QWidget& root, const char* name) {
    QTest::mouseClick(Control<QAbstractButton>(root, name), Qt::LeftButton);
}

void TypeInto(const QWidget& root, const char* name, const QString& text) {
    auto* edit = Control<QLineEdit>(root, name);
    edit->setFocus();
    QTest::keySequence(edit, QKeySequence::SelectAll);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void ChooseEntry(QComboBox* combo, int entry) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

void ClickLine(QListWidget* list, int line) {
    const QRect rect = list->visualItemRect(list->item(line));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void ClickTab(QTabWidget* tabs, QWidget* page) {
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tabs->indexOf(page)).center());
}

void EnterTab(const QWidget& root, const char* page) {
    ClickTab(Control<QTabWidget>(root, "PageControl1"), Control<QWidget>(root, page));
}

void ClickSpin(const QWidget& root, const char* spin, bool up, int clicks) {
    auto* arrow = Control<QWidget>(root, spin)->findChild<QAbstractButton*>(up ? "up" : "down");
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(arrow, Qt::LeftButton);
}

QString Text(const QWidget& root, const char* name) {
    return Control<QLineEdit>(root, name)->text();
}

QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QStringList VisibleTabs(const QTabWidget* tabs) {
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->isTabVisible(i))
            captions << tabs->tabText(i);
    return captions;
}

QStringList TemplateLines(const LIST_ITEM& queue) {
    QStringList lines;
    for (const QueueItem& item : queue)
        lines << QString::fromStdString(QueueLineText(item, WindowLanguage()));
    return lines;
}

QString WriteRaceFile(const QDir& dir, const QString& name, const QString& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString SampleRace() {
    return QStringLiteral("[Step1]\nRaceName=Хумы\n"
                          "[Step2]\nEnv0Min=15\nEnv0Max=86\nEnv1Min=20\nEnv1Max=80\n"
                          "Env2Min=30\nEnv2Max=70\nMaxGrowthYRate=17\n"
                          "[Step3]\nNColonistYTo1Resource=1000\nNResourceYFrom10Factory=10\n"
                          "NResourceBuildFactory=10\nNFactoryWork10000=10\n"
                          "NResourceBuildMine=5\nNMineWork10000=10\nNMineralYFrom10Mine=10\n"
                          "[Step4]\nAdvantage=0\n");
}

void LoadRaceFile(Window& window, const QString& path) {
    window.dialogs->answers << path;
    Click(*window.form, "bnLoadRaceFile");
}

void FillWindow(Window& window) {
    const TFormMain& form = *window.form;
    LoadRaceFile(window, QStringLiteral(QUENDAL_SOURCE_DIR "/data/typical.urc"));
    for (int entry = 0; entry < 4; ++entry) { // terraforming to the minus template, the rest plus
        Click(form, entry < 2 ? "rbQueueMinus" : "rbQueuePlus");
        ChooseEntry(Control<QComboBox>(form, "cbItemAdd"), entry);
        TypeInto(form, "editItemAdd", entry < 2 ? QStringLiteral("1") : QStringLiteral("50"));
        Click(form, "bnItemAdd");
    }
    EnterTab(form, "TabAddParam");
    window.dialogs->answers << QStringLiteral(QUENDAL_SOURCE_DIR "/data/planets-8.txt");
    Click(form, "bnPlanetList");
    ChooseEntry(Control<QComboBox>(form, "cbPlanetList"), 1);
    EnterTab(form, "TabCalc");
    TypeInto(form, "editLightYears", QStringLiteral("30"));
    Click(form, "bnCalculate");
    EnterTab(form, "TabGenetic");
    TypeInto(form, "editGeneticP2", QStringLiteral("1"));
    Click(form, "bnGeneticCalc");
}

// Right-clicks `target` at its centre and returns the menu that opened.
QMenu* OpenContextMenu(QWidget* target) {
    const QPoint pos = target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

bool ChooseMenuEntry(QMenu* menu, const QString& text) {
    if (!menu)
        return false;
    for (QAction* action : menu->actions())
        if (action->text() == text && action->isEnabled()) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return true;
        }
    return false;
}

} // namespace quendal::test

// All test classes of the binary, run in turn under the program's own application object, in
// Russian whatever the locale; the settings are kept apart from the player's.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsSet("QUENDAL_LANGUAGE_PROBE"))
        return quendal::test::LanguageProbe(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    quendal::QuendalApplication app(argc, argv);
    quendal::SetWindowLanguage(quendal::Language());
    int failed = 0;
    for (const auto& make : quendal::test::Registry()) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
