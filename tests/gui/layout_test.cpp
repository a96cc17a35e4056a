// Every caption fits its control and every control lies within its parent, on every tab, in
// each language: the window keeps its fixed size in English too.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

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

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    // In each language, with every tab filled; the tab captions fit the window too.
    void nothingIsClipped() {
        // QUENDAL_SCREENSHOTS=folder keeps a picture of each tab (the README's).
        const QString shots = qEnvironmentVariable("QUENDAL_SCREENSHOTS");
        QStringList problems;
        const auto russianAgain = qScopeGuard([] { SetWindowLanguage(Language()); });
        for (const Language language : Language::All()) {
            SetWindowLanguage(language);
            const QString code = QString::fromUtf8(language.Code()) + u' ';
            Window w = OpenWindow();
            FillWindow(w);
            auto* pages = Control<QTabWidget>(*w.form, "PageControl1");
            const QTabBar* bar = pages->tabBar(); // all its tabs within the window, unscrolled
            for (int i = 0; i < bar->count(); ++i)
                if (bar->tabRect(i).width() <
                        bar->fontMetrics().horizontalAdvance(bar->tabText(i)) ||
                    bar->tabRect(i).right() - bar->tabRect(0).left() >= w.form->width())
                    problems << code + bar->tabText(i) + QStringLiteral(": tab cut");
            for (int i = 0; i < pages->count(); ++i) {
                ClickTab(pages, pages->widget(i));
                QWidget* page = pages->widget(i);
                QVERIFY(page->isVisible());
                if (!shots.isEmpty())
                    w.form->grab().save(
                        QDir(shots).filePath(page->objectName() + u'-' + code.trimmed() + ".png"));
                for (const QWidget* widget : page->findChildren<QWidget*>()) {
                    if (!widget->isVisibleTo(page) || widget->objectName().isEmpty())
                        continue;
                    const QString clipping = Clipping(widget);
                    if (!clipping.isEmpty())
                        problems << code + widget->objectName() + QStringLiteral(": ") + clipping;
                    if (!widget->parentWidget()->rect().contains(widget->geometry()))
                        problems << code + widget->objectName() +
                                        QStringLiteral(" leaves its parent");
                }
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }
};

QUENDAL_GUI_TEST(LayoutTest);

} // namespace quendal::test

#include "layout_test.moc"
