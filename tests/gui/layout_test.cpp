// Every caption fits its control and every control lies within its parent, on every tab, in
// each language: the window keeps its fixed size in English too.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <tuple>

#include "app/elided_label.h"
#include "gui_test_support.h"

namespace quendal::test {

namespace {

// Why the text of `widget` does not fit, or an empty string.
QString Clipping(const QWidget* widget) {
    if (qobject_cast<const ElidedLabel*>(widget))
        return {}; // shortens long paths on purpose
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->wordWrap()) {
            const int need = label->heightForWidth(label->width());
            return need > label->height() ? QStringLiteral("needs height %1").arg(need) : QString();
        }
        const QSize need = label->sizeHint();
        return need.width() > label->width() || need.height() > label->height()
                   ? QStringLiteral("needs %1x%2").arg(need.width()).arg(need.height())
                   : QString();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        const int need = button->fontMetrics().horizontalAdvance(button->text()) + 8;
        return need > button->width() ? QStringLiteral("needs width %1").arg(need) : QString();
    }
    if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget)) {
        const int need = widget->sizeHint().width();
        return need > widget->width() ? QStringLiteral("needs width %1").arg(need) : QString();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        const int need = group->fontMetrics().horizontalAdvance(group->title()) + 12;
        return need > group->width() ? QStringLiteral("needs width %1").arg(need) : QString();
    }
    return {};
}

void EachLanguage() {
    QTest::addColumn<QString>("language");
    for (const Language language : Language::All()) {
        const std::string code(language.Code());
        QTest::newRow(code.c_str()) << QString::fromStdString(code);
    }
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void nothingIsClipped_data() { EachLanguage(); }
    void nothingIsClipped() {
        const InLanguage language(LanguageOfRow());
        Window w = OpenWindow();
        LoadRaceFile(w, QStringLiteral(QUENDAL_SOURCE_DIR "/data/typical.urc"));
        // Templates, a planet of a list and a short search fill the lists, the times and the
        // results.
        for (const auto& [radio, entry, count] : {std::tuple{"rbQueueMinus", 0, "1"},
                                                  {"rbQueuePlus", 2, "50"},
                                                  {"rbQueuePlus", 3, "50"}}) {
            Click(*w.form, radio);
            ChooseEntry(Control<QComboBox>(*w.form, "cbItemAdd"), entry);
            TypeInto(*w.form, "editItemAdd", QString::fromLatin1(count));
            Click(*w.form, "bnItemAdd");
        }
        auto* pages = Control<QTabWidget>(*w.form, "PageControl1");
        ClickTab(pages, Control<QWidget>(*w.form, "TabAddParam"));
        w.dialogs->answers << QStringLiteral(QUENDAL_SOURCE_DIR "/data/planets-20.txt");
        Click(*w.form, "bnPlanetList");
        ChooseEntry(Control<QComboBox>(*w.form, "cbPlanetList"), 1);
        ClickTab(pages, Control<QWidget>(*w.form, "TabCalc"));
        TypeInto(*w.form, "editLightYears", QStringLiteral("30"));
        Click(*w.form, "bnCalculate");
        ClickTab(pages, Control<QWidget>(*w.form, "TabGenetic"));
        TypeInto(*w.form, "editGeneticP2", QStringLiteral("1"));
        Click(*w.form, "bnGeneticCalc");
        // QUENDAL_SCREENSHOTS=folder keeps a picture of each tab (the README's).
        const QString shots = qEnvironmentVariable("QUENDAL_SCREENSHOTS");
        QStringList problems;
        for (int i = 0; i < pages->count(); ++i) {
            ClickTab(pages, pages->widget(i));
            QWidget* page = pages->widget(i);
            QVERIFY(page->isVisible());
            if (!shots.isEmpty())
                w.form->grab().save(QDir(shots).filePath(
                    page->objectName() + u'-' + QString::fromUtf8(QTest::currentDataTag()) +
                    QStringLiteral(".png")));
            for (const QWidget* widget : page->findChildren<QWidget*>()) {
                if (!widget->isVisibleTo(page) || widget->objectName().isEmpty())
                    continue;
                const QString clipping = Clipping(widget);
                if (!clipping.isEmpty())
                    problems << widget->objectName() + QStringLiteral(": ") + clipping;
                const QWidget* parent = widget->parentWidget();
                if (!parent->rect().contains(widget->geometry()))
                    problems << widget->objectName() + QStringLiteral(" leaves its parent");
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    void allFourTabCaptionsFit_data() { EachLanguage(); }
    void allFourTabCaptionsFit() {
        const InLanguage language(LanguageOfRow());
        QTemporaryDir dir;
        Window w = OpenWindow();
        LoadRaceFile(w, WriteRaceFile(QDir(dir.path()), "humans.urc", SampleRace()));
        QTabBar* bar = Control<QTabWidget>(*w.form, "PageControl1")->tabBar();
        int right = 0;
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            QVERIFY(tab.width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
            right = std::max(right, tab.right());
        }
        QVERIFY(right < w.form->width());
    }
};

QUENDAL_GUI_TEST(LayoutTest);

} // namespace quendal::test

#include "layout_test.moc"
