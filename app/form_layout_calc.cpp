// Controls of the tab "Динамика планеты": race file, start conditions, calculation buttons,
// the two templates and the inner pages with the chart and the tables.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/chart_adapter.h"
#include "app/elided_label.h"
#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/window_language.h"
#include "model/output.h"
#include "model/queue_edit.h"

namespace quendal {

namespace {

const TextStyle kBoldGreen(true, colour::kGreen);
const TextStyle kBoldBlue(true, colour::kBlue);
const TextStyle kBoldItalic(true, QColor(), true);
const TextStyle kNavy(false, colour::kNavy);

QWidget* AddPage(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    tabs->addTab(page, caption);
    return page;
}

ElidedLabel* MakeValueLabel(QWidget* parent, const char* name, const QRect& rect) {
    auto* label = new ElidedLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    ApplyStyle(label, kBoldBlue);
    return label;
}

// One fixed-pitch header line of a table.
struct Header {
    const char* name;
    const char* text;
};

// A table page: two fixed-pitch header lines over a list box in the window colour.
QListWidget* BuildTablePage(QWidget* page, const Header (&headers)[2], const char* listName,
                            QLabel*& label1, QLabel*& label2) {
    const QFont font = FixedPitchFont(8, false);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    QLabel* labels[2] = {};
    for (int i = 0; i < 2; ++i) {
        labels[i] = new QLabel(CoreText(headers[i].text), page);
        labels[i]->setObjectName(QString::fromLatin1(headers[i].name));
        labels[i]->setFont(font);
        ApplyStyle(labels[i], kNavy);
        // Line the header up with the text inside the list box.
        labels[i]->setContentsMargins(4, 0, 0, 0);
        layout->addWidget(labels[i]);
    }
    auto* list = new QListWidget(page);
    list->setObjectName(QString::fromLatin1(listName));
    list->setFont(font);
    list->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    list->setUniformItemSizes(true);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    list->setPalette(palette);
    layout->addWidget(list);
    label1 = labels[0];
    label2 = labels[1];
    return list;
}

} // namespace

void TFormMain::BuildTabCalc() {
    TabCalc = AddPage(PageControl1, "TabCalc", tr("Динамика планеты"));
    QWidget* page = TabCalc;
    bnLoadRaceFile =
        MakeButton(page, QStringLiteral("bnLoadRaceFile"), tr("Загрузить"), {4, 5, 80, 26});
    sFile = MakeLabel(page, QStringLiteral("sFile"), tr("Файл:"), {90, 3, 42, 15}, kBold);
    fileName = MakeValueLabel(page, "fileName", {134, 3, 232, 15});
    sRace = MakeLabel(page, QStringLiteral("sRace"), tr("Раса:"), {90, 19, 42, 15}, kBold);
    raceName = MakeValueLabel(page, "raceName", {134, 19, 232, 15});
    BuildStartConditions(page);
    BuildQueueControls(page);
    BuildOutputPages(page);
}

void TFormMain::BuildStartConditions(QWidget* page) {
    sStartPlanet = MakeGroup(page, QStringLiteral("sStartPlanet"),
                             tr("Минимальный набор входных данных:"), {4, 36, 362, 88});
    struct Row {
        const char* label;
        const char* edit;
        const char* spin;
        NumberSpinField** field;
    };
    const Row rows[] = {
        {QT_TR_NOOP("Начальный процент годности планеты:"), "editStartPlanetPrc", "UpDown2",
         &editStartPlanetPrc},
        {QT_TR_NOOP("Начальное число колонистов (в сотнях):"), "editStartPlanetMen", "UpDown3",
         &editStartPlanetMen},
        {QT_TR_NOOP("Процент прироста колонистов (за год):"), "editMenYearPrc", "UpDown4",
         &editMenYearPrc},
    };
    int y = 18;
    for (const Row& row : rows) {
        const QString edit = QString::fromLatin1(row.edit);
        MakeLabel(sStartPlanet, QStringLiteral("s") + edit.mid(4), tr(row.label),
                  {8, y + 2, 270, 16}, kBoldGreen);
        *row.field =
            MakeNumber(sStartPlanet, edit, QString::fromLatin1(row.spin), {282, y, 72, 21});
        y += 22;
    }

    bnCalculate = MakeButton(page, QStringLiteral("bnCalculate"), tr("Расчет"), {4, 128, 76, 24},
                             kBoldItalic);
    bnSaveCalcFile = MakeButton(page, QStringLiteral("bnSaveCalcFile"), tr("Сохранить"),
                                {84, 128, 86, 24}, kBoldItalic);
    bnSaveCalcFile->setEnabled(false);
    bnLoadCalcFile = MakeButton(page, QStringLiteral("bnLoadCalcFile"), tr("Загрузить"),
                                {174, 128, 86, 24}, kBoldItalic);
    editLightYears = MakeNumber(page, QStringLiteral("editLightYears"), QStringLiteral("UpDown1"),
                                {270, 129, 56, 22});
    sLYear = MakeLabel(page, QStringLiteral("sLYear"), tr("ЛЕТ"), {330, 132, 34, 16});
}

void TFormMain::BuildQueueControls(QWidget* page) {
    const TextStyle navy(false, colour::kNavy);
    const QFont listFont = FixedPitchFont(9, true);

    gbQueue =
        MakeGroup(page, QStringLiteral("gbQueue"), tr("Шаблон производства:"), {370, 2, 181, 268});
    rbQueueMinus = MakeRadio(gbQueue, QStringLiteral("rbQueueMinus"), tr("для негативной планеты"),
                             {6, 17, 172, 18}, navy);
    rbQueueMinus->setChecked(true);
    lbQueueM = MakeListBox(gbQueue, QStringLiteral("lbQueueM"), {6, 36, 169, 92}, listFont);
    rbQueuePlus = MakeRadio(gbQueue, QStringLiteral("rbQueuePlus"), tr("для пригодной планеты"),
                            {6, 130, 172, 18}, navy);
    lbQueue = MakeListBox(gbQueue, QStringLiteral("lbQueue"), {6, 149, 169, 92}, listFont);
    struct Button {
        const char* name;
        const char* caption;
        int x, width;
        QPushButton** button;
    };
    const Button buttons[] = {{"bnQueueUp", QT_TR_NOOP("Up"), 6, 38, &bnQueueUp},
                              {"bnQueueDown", QT_TR_NOOP("Down"), 45, 48, &bnQueueDown},
                              {"bnQueueDel", QT_TR_NOOP("Del"), 94, 38, &bnQueueDel},
                              {"bnQueueClear", QT_TR_NOOP("Clear"), 133, 42, &bnQueueClear}};
    for (const Button& b : buttons) {
        *b.button = MakeButton(gbQueue, QString::fromLatin1(b.name), tr(b.caption),
                               {b.x, 243, b.width, 22});
        (*b.button)->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    }

    gbQueueItem =
        MakeGroup(page, QStringLiteral("gbQueueItem"), tr("Элемент очереди:"), {370, 274, 181, 92});
    cbItemAdd = MakeDropDown(gbQueueItem, QStringLiteral("cbItemAdd"), {6, 19, 114, 23}, 4);
    for (const char* entry : kItemAddEntries)
        cbItemAdd->addItem(CoreText(entry));
    cbItemAdd->setCurrentIndex(-1);
    editItemAdd = MakeNumber(gbQueueItem, QStringLiteral("editItemAdd"), QStringLiteral("UpDown9"),
                             {124, 20, 51, 21});
    bnItemAdd = MakeButton(gbQueueItem, QStringLiteral("bnItemAdd"), tr("Добавить в очередь"),
                           {6, 50, 169, 26});
}

void TFormMain::BuildOutputPages(QWidget* page) {
    PageControl2 = new QTabWidget(page);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    PageControl2->setGeometry(4, 156, 362, 210);

    TabDataChart = AddPage(PageControl2, "TabDataChart", tr("График"));
    chart_ = std::make_unique<ChartAdapter>(TabDataChart);
    auto* chartLayout = new QVBoxLayout(TabDataChart);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(chart_->widget());

    TabDataTable = AddPage(PageControl2, "TabDataTable", tr("Таблица данных"));
    lbDataSet = BuildTablePage(TabDataTable, {{"sHead1", kDataHeader1}, {"sHead2", kDataHeader2}},
                               "lbDataSet", sHead1, sHead2);
    TabMineral = AddPage(PageControl2, "TabMineral", tr("Минералы"));
    lbMineral =
        BuildTablePage(TabMineral, {{"sHead3", kMineralHeader1}, {"sHead4", kMineralHeader2}},
                       "lbMineral", sHead3, sHead4);
    PageControl2->setCurrentWidget(TabDataChart);
}

} // namespace quendal
