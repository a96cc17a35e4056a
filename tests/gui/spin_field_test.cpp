// The number field with its spin: typing is not limited, a spin click clamps first, then
// steps within the range; the edit flag tells typing from the program's writes.
#include <climits>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include "app/number_spin_field.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

QToolButton* Arrow(const TFormMain& form, const char* spin, bool up) {
    auto* buttons = Control<SpinButtons>(form, spin);
    return up ? buttons->upButton() : buttons->downButton();
}

} // namespace

class SpinFieldTest : public QObject {
    Q_OBJECT
private slots:
    void stepValue_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("expected");
        QTest::newRow("up by the step") << 250 << 10 << 30000 << 50 << 1 << 300;
        QTest::newRow("down by the step") << 250 << 10 << 30000 << 50 << -1 << 200;
        QTest::newRow("not past the maximum") << 29990 << 10 << 30000 << 50 << 1 << 30000;
        QTest::newRow("not past the minimum") << 15 << 10 << 30000 << 50 << -1 << 10;
        QTest::newRow("above the range: clamped, then up")
            << 40000 << 10 << 30000 << 50 << 1 << 30000;
        QTest::newRow("above the range: clamped, then down")
            << 40000 << 10 << 30000 << 50 << -1 << 29950;
        QTest::newRow("below the range: clamped, then up") << -500 << 10 << 30000 << 50 << 1 << 60;
        QTest::newRow("negative range") << 100 << -75 << 100 << 5 << -1 << 95;
        QTest::newRow("at the lowest habitability") << -75 << -75 << 100 << 5 << -1 << -75;
        QTest::newRow("no overflow at the integer limit")
            << INT_MAX << 0 << INT_MAX << 5 << 1 << INT_MAX;
    }

    void stepValue() {
        QFETCH(int, current);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, step);
        QFETCH(int, delta);
        QFETCH(int, expected);
        QCOMPARE(NumberSpinField::StepValue(current, minimum, maximum, step, delta), expected);
    }

    void typingIsNotLimitedButTheSpinIs() {
        Window w = OpenWindow();
        auto* men = Control<QLineEdit>(*w.form, "editStartPlanetMen");
        TypeInto(*w.form, "editStartPlanetMen", QStringLiteral("40000"));
        QCOMPARE(men->text(), QStringLiteral("40000"));
        QVERIFY(men->isModified());

        QTest::mouseClick(Arrow(*w.form, "UpDown3", true), Qt::LeftButton);
        QCOMPARE(men->text(), QStringLiteral("30000"));
        QVERIFY(!men->isModified()); // a write by the program
        QTest::mouseClick(Arrow(*w.form, "UpDown3", false), Qt::LeftButton);
        QCOMPARE(men->text(), QStringLiteral("29950"));
    }

    void spinStartsFromTheLeadingNumber() {
        Window w = OpenWindow();
        TypeInto(*w.form, "editStartPlanetMen", QStringLiteral("12abc"));
        QTest::mouseClick(Arrow(*w.form, "UpDown3", true), Qt::LeftButton);
        QCOMPARE(Control<QLineEdit>(*w.form, "editStartPlanetMen")->text(), QStringLiteral("62"));
    }

    void spinOfADisabledField() {
        Window w = OpenWindow();
        auto* count = Control<QLineEdit>(*w.form, "editItemAdd");
        QVERIFY(!count->isEnabled());
        QTest::mouseClick(Arrow(*w.form, "UpDown9", true), Qt::LeftButton);
        QCOMPARE(count->text(), QStringLiteral("6"));

        // With a race the start habitability is read-only, but its spin still moves it.
        QTemporaryDir dir;
        LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), "humans.urc", SampleRace()));
        auto* prc = Control<QLineEdit>(*w.form, "editStartPlanetPrc");
        QVERIFY(!prc->isEnabled());
        const int before = prc->text().toInt();
        QTest::mouseClick(Arrow(*w.form, "UpDown2", false), Qt::LeftButton);
        QCOMPARE(prc->text().toInt(), before - 5);
    }

    void clickReportsTheValue() {
        NumberSpinField field(QStringLiteral("edit"), QStringLiteral("spin"), 1, 15, 1, 11);
        QList<int> clicks;
        connect(&field, &NumberSpinField::spinClicked, this, [&](int v) { clicks << v; });
        field.setRange(1, 30);
        field.edit()->setText(QStringLiteral("29"));
        QTest::mouseClick(field.spin()->upButton(), Qt::LeftButton);
        QTest::mouseClick(field.spin()->upButton(), Qt::LeftButton);
        QCOMPARE(clicks, QList<int>({30, 30}));
        QCOMPARE(field.value(), 30);
    }
};

QUENDAL_GUI_TEST(SpinFieldTest);

} // namespace quendal::test

#include "spin_field_test.moc"
