#include "app/form_main.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include "app/chart_adapter.h"
#include "app/elided_label.h"
#include "app/file_dialogs.h"
#include "app/form_export.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/rank_view.h"
#include "app/window_language.h"

// Resources of a static library must be registered by name from the global namespace.
static void InitWindowResources() {
    Q_INIT_RESOURCE(quendal);
}

namespace quendal {

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace

TFormMain::TFormMain(std::unique_ptr<FileDialogs> dialogs, QWidget* parent)
    : QWidget(parent, kWindowFlags),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogs>()) {
    InitWindowResources();
    controller_.SetLanguage(WindowLanguage());
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Quendal"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quendal.png")));
    setFont(BaseFont());
    setFixedSize(kClientWidth, kClientHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, kClientWidth, kClientHeight);
    // Narrow tab padding, so that all four captions fit the fixed width.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 8px; }"));
    BuildTabCalc();
    BuildTabAddParam();
    BuildTabGenetic();
    BuildTabAbout();
    PageControl1->setCurrentWidget(TabCalc);
    ConnectHandlers();
    new FormExport({this, dialogs_.get(), chart_->widget(), lbDataSet, lbMineral, gbResult,
                    &controller_.LastCalculation().rows});

    SetRaceControlsEnabled(false);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormMain::~TFormMain() = default;

void TFormMain::ConnectHandlers() {
    const auto onClick = [this](QPushButton* button, void (TFormMain::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    onClick(bnLoadRaceFile, &TFormMain::bnLoadRaceFileClick);
    onClick(bnSaveCalcFile, &TFormMain::bnSaveCalcFileClick);
    onClick(bnLoadCalcFile, &TFormMain::bnLoadCalcFileClick);
    onClick(bnCalculate, &TFormMain::bnCalculateClick);
    onClick(bnItemAdd, &TFormMain::bnItemAddClick);
    onClick(bnQueueDel, &TFormMain::bnQueueDelClick);
    onClick(bnQueueClear, &TFormMain::bnQueueClearClick);
    onClick(bnQueueUp, &TFormMain::bnQueueUpClick);
    onClick(bnQueueDown, &TFormMain::bnQueueDownClick);
    connect(rbQueueMinus, &QRadioButton::clicked, this, &TFormMain::rbQueueMinusClick);
    connect(rbQueuePlus, &QRadioButton::clicked, this, &TFormMain::rbQueuePlusClick);
    ConnectParamHandlers();
    onClick(bnPlanetList, &TFormMain::bnPlanetListClick);
    onClick(bnPlanetRank, &TFormMain::bnPlanetRankClick);
    connect(cbPlanetList, &QComboBox::activated, this, &TFormMain::cbPlanetListChange);
    onClick(bnGeneticCalc, &TFormMain::bnGeneticCalcClick);
    onClick(bnToGraphic, &TFormMain::bnToGraphicClick);
}

void TFormMain::SetRaceControlsEnabled(bool enable) {
    rbQueueMinus->setEnabled(enable);
    rbQueueMinus->setChecked(true);
    rbQueuePlus->setEnabled(enable);
    rbQueuePlus->setChecked(false);
    lbQueueM->setEnabled(enable);
    lbQueue->setEnabled(false);
    const std::initializer_list<QWidget*> editing = {bnQueueDel,   bnQueueUp, bnQueueDown,
                                                     bnQueueClear, cbItemAdd, editItemAdd->edit(),
                                                     bnItemAdd};
    for (QWidget* control : editing)
        control->setEnabled(enable);
    PageControl1->setTabVisible(PageControl1->indexOf(TabAddParam), enable);
    PageControl1->setTabVisible(PageControl1->indexOf(TabGenetic), enable);
    PageControl2->setTabVisible(PageControl2->indexOf(TabMineral), enable);
}

} // namespace quendal
