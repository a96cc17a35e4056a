// The tab "О программе": what the program does, what to keep in mind and how to read the
// chart.
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/form_main.h"

namespace quendal {

namespace {

// 26 lines in four blocks; only the first line is longer than the tab is wide.
const char* const kAboutLines[] = {
    "  Quendal - это эмулятор динамики НАЧАЛЬНОГО развития планеты в игре Torvan, с "
    "возможностью ",
    "производства терраформинга, фабрик и шахт из автоматической очереди производства.",
    "",
    "  Что следует иметь ввиду:",
    "  ~~~~~~~~~~~~~~~~",
    "- без загруженного описания расы очередь производства недоступна,",
    "  рассчитывается только население;",
    "- если в очереди есть фабрики, учитываются минералы на поверхности (см. доп.",
    "  параметры); сам я всегда гружу в транспорт, кроме колонистов, немного минералов;",
    "- можно задавать отрицательную годность планеты;",
    "- отрицательная годность зависит от худшего фактора среды вне диапазона расы,",
    "  положительная - это произведение отклонений всех факторов от оптимума расы,",
    "  кроме факторов, к которым у расы иммунитет;",
    "- задание годности ставит все факторы среды в худшие для нее значения, их",
    "  можно поправить на вкладке 'Дополнительные параметры';",
    "- факторы среды изменяются от 0 до 100, при иммунитете ставится 102;",
    "- динамика верна качественно, а количественно - очень приблизительно.",
    "",
    "  Графики:",
    "  ~~~~~~",
    "- годность планеты - по левой шкале, в %;",
    "- население - по правой шкале, в тысячах колонистов;",
    "- ресурсы - по правой шкале, в единицах;",
    "- фабрики и шахты - по правой шкале, в штуках.",
    "",
    "  PS: После изменения ЛЮБОГО параметра необходимо нажимать 'Расчет' =:)",
};

} // namespace

void TFormMain::BuildTabAbout() {
    TabAbout = new QWidget;
    TabAbout->setObjectName(QStringLiteral("TabAbout"));
    PageControl1->addTab(TabAbout, QStringLiteral("О программе"));

    QStringList lines;
    for (const char* line : kAboutLines)
        lines << QString::fromUtf8(line);
    About = new QPlainTextEdit(TabAbout);
    About->setObjectName(QStringLiteral("About"));
    About->setPlainText(lines.join(u'\n'));
    About->setReadOnly(true);
    About->setFrameShape(QFrame::NoFrame);
    QPalette palette = About->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    About->setPalette(palette);
    auto* layout = new QVBoxLayout(TabAbout);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(About);
}

} // namespace quendal
