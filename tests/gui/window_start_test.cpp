// The window as the user meets it, the About text, the calculation-file buttons, Qt's own
// dialogs in Russian, the exception guard and a clean close.
#include <stdexcept>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/application.h"
#include "app/number_spin_field.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

// An object whose every event handler fails.
class Throwing : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("boom"); }
};

} // namespace

class WindowStartTest : public QObject {
    Q_OBJECT
private slots:
    void twoTabsAndLockedTemplates() {
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        auto* pages = Control<QTabWidget>(form, "PageControl1");
        QCOMPARE(VisibleTabs(pages), QStringList({"Динамика планеты", "О программе"}));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabCalc"));
        QCOMPARE(VisibleTabs(Control<QTabWidget>(form, "PageControl2")),
                 QStringList({"График", "Таблица данных"}));

        for (const char* name : {"rbQueueMinus", "rbQueuePlus", "lbQueueM", "lbQueue", "bnQueueUp",
                                 "bnQueueDown", "bnQueueDel", "bnQueueClear", "cbItemAdd",
                                 "editItemAdd", "bnItemAdd", "bnSaveCalcFile", "bnToGraphic"})
            QVERIFY2(!Control<QWidget>(form, name)->isEnabled(), name);
        QVERIFY(Control<QRadioButton>(form, "rbQueueMinus")->isChecked());
        QCOMPARE(Control<QComboBox>(form, "cbItemAdd")->currentIndex(), -1);
        QVERIFY(Control<QWidget>(form, "UpDown9")->isEnabled()); // the spin stays usable

        QCOMPARE(Control<QPushButton>(form, "bnLoadRaceFile")->text(), QStringLiteral("Загрузить"));
        QVERIFY(Control<QLabel>(form, "fileName")->text().isEmpty());
        QVERIFY(Control<QLabel>(form, "raceName")->text().isEmpty());
        QVERIFY(Control<QLineEdit>(form, "editStartPlanetPrc")->isEnabled());
        QCOMPARE(form.Model().Planet.PlanetPrc, 100);
        QVERIFY(!form.Model().RaceLoaded);
    }

    void startConditionsDefaults() {
        Window w = OpenWindow();
        const struct {
            const char* name;
            const char* text;
        } fields[] = {{"editStartPlanetPrc", "100"},
                      {"editStartPlanetMen", "250"},
                      {"editMenYearPrc", "15"},
                      {"editLightYears", "15"},
                      {"editItemAdd", "1"}};
        for (const auto& field : fields)
            QCOMPARE(Control<QLineEdit>(*w.form, field.name)->text(),
                     QString::fromLatin1(field.text));
    }

    void fixedWindowWithIcon() {
        Window w = OpenWindow();
        const TFormMain& form = *w.form;
        QCOMPARE(form.size(), QSize(561, 397));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.font().pointSize(), 8);
        QVERIFY(Control<QListWidget>(form, "lbQueueM")->font().fixedPitch());
        QVERIFY(Control<QListWidget>(form, "lbQueueM")->font().bold());
    }

    void aboutTextHasFourBlocks() {
        Window w = OpenWindow();
        const QStringList lines =
            Control<QPlainTextEdit>(*w.form, "About")->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 26);
        QCOMPARE(lines.first(), QStringLiteral("  Quendal - это эмулятор динамики НАЧАЛЬНОГО "
                                               "развития планеты в игре Torvan, с возможностью "));
        QCOMPARE(lines[3], QStringLiteral("  Что следует иметь ввиду:"));
        QCOMPARE(lines[18], QStringLiteral("  Графики:"));
        QCOMPARE(lines.last(), QStringLiteral("  PS: После изменения ЛЮБОГО параметра необходимо "
                                              "нажимать 'Расчет' =:)"));
        QStringList separators;
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].isEmpty())
                separators << QString::number(i);
        QCOMPARE(separators, QStringList({"2", "17", "24"}));
    }

    void qtDialogsSpeakRussian() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(Control<QLabel>(dialog, "lookInLabel")->text(), QStringLiteral("Перейти к:"));
        QCOMPARE(Control<QLabel>(dialog, "fileNameLabel")->text(), QStringLiteral("&Имя файла:"));
        QStringList buttons;
        for (const QAbstractButton* button :
             Control<QDialogButtonBox>(dialog, "buttonBox")->buttons())
            buttons << button->text();
        QCOMPARE(buttons, QStringList({"&Открыть", "Отмена"}));
    }

    void escapedExceptionIsReported() {
        auto* app = qobject_cast<QuendalApplication*>(QApplication::instance());
        QVERIFY(app);
        QStringList reported;
        app->SetReporter([&](const QString& message) { reported << message; });
        Throwing target;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&target, &event);
        app->SetReporter({});
        QCOMPARE(reported, QStringList({"boom"}));
    }

    void closingEndsTheLoop() {
        Window w = OpenWindow();
        QTimer::singleShot(0, w.form.get(), &QWidget::close);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.form->isVisible());
    }
};

QUENDAL_GUI_TEST(WindowStartTest);

} // namespace quendal::test

#include "window_start_test.moc"
