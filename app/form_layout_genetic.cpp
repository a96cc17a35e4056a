// Controls of the tab "Подбор вариантов ОП": the search parameters, the task, the run
// controls and the best variant found.
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/window_language.h"
#include "model/field_specs.h"

namespace quendal {

namespace {

const TextStyle kBoldNavy(true, colour::kNavy);
const TextStyle kBoldGreen(true, colour::kGreen);
const TextStyle kNavy(false, colour::kNavy);

QString Numbered(const char* stem, int number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

} // namespace

void TFormMain::BuildTabGenetic() {
    TabGenetic = new QWidget;
    TabGenetic->setObjectName(QStringLiteral("TabGenetic"));
    PageControl1->addTab(TabGenetic, tr("Подбор вариантов ОП"));
    QWidget* page = TabGenetic;

    gbGenetic = MakeGroup(page, QStringLiteral("gbGenetic"), tr("Параметры алгоритма (П1..П6):"),
                          {4, 2, 368, 146});
    for (int i = 0; i < 6; ++i) {
        const FieldSpec& p = kGeneticParamFields[i];
        const int y = 16 + i * 21;
        editGeneticP[i] = MakeNumber(gbGenetic, Numbered("editGeneticP", i + 1),
                                     Numbered("udGeneticP", i + 1), p.spin, {6, y, 54, 21});
        MakeLabel(gbGenetic, Numbered("sGeneticP", i + 1), CoreText(p.caption),
                  {64, y + 2, 300, 16}, i == 0 ? kBoldNavy : kPlain);
    }

    gbMemo = MakeGroup(page, QStringLiteral("gbMemo"), tr("Примечание:"), {376, 2, 177, 146},
                       TextStyle(false, QColor(), false, true));
    sGeneticMemo =
        MakeLabel(gbMemo, QStringLiteral("sGeneticMemo"),
                  tr("Генетический алгоритм - это вероятностно направленный метод перебора "
                     "вариантов. Общее число оцениваемых вариантов равно (в первом "
                     "приближении) П1*П2, а точнее: численность популяции + изменения на "
                     "каждой итерации)."),
                  {5, 14, 168, 130});
    QFont memoFont = BaseFont();
    memoFont.setUnderline(false); // only the group's title is underlined
    sGeneticMemo->setFont(memoFont);
    sGeneticMemo->setWordWrap(true);
    sGeneticMemo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    BuildGeneticTask(page);
    BuildGeneticResult(page);
}

void TFormMain::BuildGeneticTask(QWidget* page) {
    gbTask = MakeGroup(page, QStringLiteral("gbTask"), tr("Постановка задачи:"), {4, 150, 549, 82});
    MakeLabel(gbTask, QStringLiteral("sGenPlanetPrc"), tr("Планета (%, факторы):"),
              {8, 18, 150, 16}, kBoldGreen);
    // Wide enough for the longest text, "-75 (-999,-999,-999) HW", shown from its start.
    editGenPlanetPrc = MakeReadOnly(gbTask, QStringLiteral("editGenPlanetPrc"), {160, 16, 156, 20});
    MakeLabel(gbTask, QStringLiteral("sGenLYear"), tr("Интервал расчета:"), {8, 39, 150, 16},
              kBoldGreen);
    editGenLYear = MakeNumber(gbTask, QStringLiteral("editGenLYear"), QStringLiteral("UpDown7"),
                              {160, 37, 52, 21});
    MakeLabel(gbTask, QStringLiteral("sGenLYearComm"), tr("ЛЕТ"), {216, 39, 34, 16});
    auto* sGenFixed = MakeLabel(gbTask, QStringLiteral("sGenFixed"), tr("Десант:  (в сотнях)"),
                                {8, 60, 150, 16}, kBoldGreen);
    sGenFixed->setWordWrap(true);
    editGenFixed = MakeNumber(gbTask, QStringLiteral("editGenFixed"), QStringLiteral("UpDown8"),
                              {160, 58, 72, 21});

    // Two columns of three items, filled column by column.
    rgGenMaxFactor = MakeGroup(gbTask, QStringLiteral("rgGenMaxFactor"), tr("Максимизация:"),
                               {318, 8, 227, 70}, kBoldGreen);
    rgGenMaxFactorItems = new QButtonGroup(rgGenMaxFactor);
    for (int i = 0; i < 6; ++i) {
        auto* item = MakeRadio(
            rgGenMaxFactor, Numbered("rgGenMaxFactor", i), CoreText(kCriterionCaptions[i]),
            {6 + (i / 3) * 122, 16 + (i % 3) * 17, i < 3 ? 120 : 98, 17}, kBoldGreen);
        rgGenMaxFactorItems->addButton(item, i);
    }
    rgGenMaxFactorItems->button(2)->setChecked(true);
}

void TFormMain::BuildGeneticResult(QWidget* page) {
    bnGeneticCalc =
        MakeButton(page, QStringLiteral("bnGeneticCalc"), tr("Расчет"), {4, 236, 80, 24});
    // The time labels are wide enough for "59 мин 59 сек" and "999 миллисек" (in English
    // "59 min 59 s" and "999 ms").
    MakeLabel(page, QStringLiteral("Label1"), tr("Прошло:"), {90, 240, 58, 16}, kBold);
    sTimeReady =
        MakeLabel(page, QStringLiteral("sTimeReady"), QString(), {150, 240, 84, 16}, kNavy);
    MakeLabel(page, QStringLiteral("Label2"), tr("Осталось:"), {236, 240, 66, 16}, kBold);
    sTimeRemai =
        MakeLabel(page, QStringLiteral("sTimeRemai"), QString(), {304, 240, 84, 16}, kNavy);
    pbGenetic = new QProgressBar(page);
    pbGenetic->setObjectName(QStringLiteral("pbGenetic"));
    pbGenetic->setGeometry(390, 240, 68, 16);
    pbGenetic->setRange(0, 260);
    pbGenetic->setValue(0);
    pbGenetic->setTextVisible(false);
    bnToGraphic =
        MakeButton(page, QStringLiteral("bnToGraphic"), tr("В график"), {464, 236, 89, 24});
    bnToGraphic->setEnabled(false);

    gbResult = MakeGroup(page, QStringLiteral("gbResult"), tr("Лучший найденный вариант ОП:"),
                         {4, 262, 549, 106});
    const QFont listFont = FixedPitchFont(8, true);
    QListWidget** lists[2] = {&lbGenQueue1, &lbGenQueue2};
    for (int i = 0; i < 2; ++i) {
        const int x = 6 + i * 174;
        MakeLabel(gbResult, Numbered("sGenQueue", i + 1), CoreText(kFoundTemplateCaptions[i]),
                  {x + 2, 15, 168, 16});
        QListWidget* list =
            MakeListBox(gbResult, Numbered("lbGenQueue", i + 1), {x, 31, 170, 69}, listFont);
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        list->setPalette(palette);
        *lists[i] = list;
    }

    const int x = 356;
    const int valueRight = 544; // every value ends here, right-aligned
    for (int i = 0; i < 5; ++i) {
        const int y = 14 + i * 13;
        MakeLabel(gbResult, Numbered("sGenResult", i + 1), CoreText(kSearchResultCaptions[i]),
                  {x, y, 104, 13}, kNavy);
        sGenValue[i] = MakeLabel(gbResult, Numbered("sGenValue", i + 1), QString(),
                                 {x + 106, y, valueRight - x - 106, 13}, kBoldNavy);
        sGenValue[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    // The minerals: the caption on two lines beside them, and each mineral's name over its
    // value.
    QLabel* minerals =
        MakeLabel(gbResult, QStringLiteral("sGenResult6"), CoreText(kSearchResultCaptions[5]),
                  {x, 79, 60, 26}, TextStyle(false, colour::kNavy, false, true));
    minerals->setWordWrap(true);
    constexpr int kMineralWidth = 42;
    for (int i = 0; i < 3; ++i) {
        const int left = valueRight - (3 - i) * kMineralWidth;
        QLabel* name =
            MakeLabel(gbResult, Numbered("sGenMineral", i + 1), CoreText(kMineralShortNames[i]),
                      {left, 79, kMineralWidth, 13}, kNavy);
        name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        sGenValue[5 + i] = MakeLabel(gbResult, Numbered("sGenValue", 6 + i), QString(),
                                     {left, 92, kMineralWidth, 13}, kBoldNavy);
        sGenValue[5 + i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

} // namespace quendal
