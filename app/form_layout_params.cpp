// Controls of the tab "Дополнительные параметры": the race's economy, the terraforming
// limits, the planet list and the planet's characteristics.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/window_language.h"
#include "model/field_specs.h"

namespace quendal {

namespace {

const TextStyle kBoldNavy(true, colour::kNavy);
const TextStyle kBoldMaroon(true, colour::kMaroon);
const TextStyle kBoldGreen(true, colour::kGreen);
const TextStyle kBoldYellow(true, colour::kYellow);

// Gravity, temperature, radiation.
const TextStyle* const kFactorStyles[3] = {&kBoldNavy, &kBoldMaroon, &kBoldGreen};

QString Numbered(const char* stem, int number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

} // namespace

void TFormMain::BuildTabAddParam() {
    TabAddParam = new QWidget;
    TabAddParam->setObjectName(QStringLiteral("TabAddParam"));
    PageControl1->addTab(TabAddParam, tr("Дополнительные параметры"));
    QWidget* page = TabAddParam;

    gbRace = MakeGroup(page, QStringLiteral("gbRace"), tr("Из описания расы:"), {4, 2, 372, 168});
    const char* const spins[7] = {"UpDown6",  "UpDown10", "UpDown14", "UpDown13",
                                  "UpDown12", "UpDown11", "UpDown15"};
    for (int i = 0; i < 7; ++i) {
        const FieldSpec& f = kEconomyFields[i];
        const int y = 17 + i * 21;
        editRaceP[i] = MakeNumber(gbRace, Numbered("editRaceP", i + 1),
                                  QString::fromLatin1(spins[i]), f.spin, {6, y, 58, 21});
        sRaceP[i] = MakeLabel(gbRace, Numbered("sRaceP", i + 1), CoreText(f.caption),
                              {68, y + 2, 300, 16}, kBoldNavy);
    }

    cbFullTForm = MakeCheck(page, QStringLiteral("cbFullTForm"), tr("Полный терраформ"),
                            {384, 4, 169, 20}, kBoldNavy);
    gbMaxTFormPrc = MakeGroup(page, QStringLiteral("gbMaxTFormPrc"), tr("Доступный терраформ (%):"),
                              {378, 24, 175, 86});
    for (int i = 0; i < 3; ++i) {
        const int y = 17 + i * 21;
        sMaxTFormPrc[i] =
            MakeLabel(gbMaxTFormPrc, Numbered("sMaxTFormPrc", i + 1), CoreText(kFactorCaptions[i]),
                      {8, y + 2, 92, 16}, *kFactorStyles[i]);
        editMaxTFormPrc[i] = MakeNumber(gbMaxTFormPrc, Numbered("editMaxTFormPrc", i + 1),
                                        Numbered("udMaxTFormPrc", i + 1), {104, y, 56, 21});
    }
    editMaxTFormPrc[0]->edit()->setEnabled(false);

    Label5 =
        MakeLabel(page, QStringLiteral("Label5"), tr("Список планет:"), {382, 120, 100, 16}, kBold);
    bnPlanetList =
        MakeButton(page, QStringLiteral("bnPlanetList"), tr("Загрузить"), {482, 115, 71, 24});
    cbPlanetList = MakeDropDown(page, QStringLiteral("cbPlanetList"), {380, 143, 99, 24}, 12);
    cbPlanetList->view()->setMinimumWidth(173); // the entries keep their width in the list
    bnPlanetRank =
        MakeButton(page, QStringLiteral("bnPlanetRank"), tr("Рейтинг…"), {481, 143, 72, 24});
    bnPlanetRank->setEnabled(false); // until a list is loaded

    BuildPlanetGroup(page);
}

void TFormMain::BuildPlanetGroup(QWidget* page) {
    gbPlanet = MakeGroup(page, QStringLiteral("gbPlanet"), tr("Характеристика планеты:"),
                         {4, 172, 549, 194});

    MakeLabel(gbPlanet, QStringLiteral("sCurPlanetPrc"), tr("Пригодность (%):"), {8, 18, 116, 16},
              kBold);
    editCurPlanetPrc =
        MakeReadOnly(gbPlanet, QStringLiteral("editCurPlanetPrc"), {126, 16, 34, 20});
    MakeLabel(gbPlanet, QStringLiteral("sCurTFormPrc"), tr("Терраформ до (%):"), {168, 18, 126, 16},
              kBold);
    editCurTFormPrc = MakeReadOnly(gbPlanet, QStringLiteral("editCurTFormPrc"), {296, 16, 34, 20});
    MakeLabel(gbPlanet, QStringLiteral("sPlanetFabr"), tr("Фабрик:"), {8, 40, 58, 16}, kBold);
    editPlanetFabr = MakeNumber(gbPlanet, QStringLiteral("editPlanetFabr"),
                                QStringLiteral("UpDown5"), {68, 38, 64, 21});
    MakeLabel(gbPlanet, QStringLiteral("sPlanetMine"), tr("Шахт:"), {146, 40, 44, 16}, kBold);
    editPlanetMine = MakeNumber(gbPlanet, QStringLiteral("editPlanetMine"),
                                QStringLiteral("UpDown22"), {192, 38, 64, 21});

    gbPlanetEnv =
        MakeGroup(gbPlanet, QStringLiteral("gbPlanetEnv"), tr("Факторы среды:"), {6, 62, 154, 84});
    gbRaceOpt = MakeGroup(gbPlanet, QStringLiteral("gbRaceOpt"), tr("Оптимум для расы:"),
                          {164, 62, 168, 84});
    for (int i = 0; i < 3; ++i) {
        const int y = 16 + i * 21;
        sPlanetEnv[i] =
            MakeLabel(gbPlanetEnv, Numbered("sPlanetEnv", i + 1), CoreText(kFactorCaptions[i]),
                      {8, y + 2, 90, 16}, *kFactorStyles[i]);
        editPlanetEnv[i] = MakeNumber(gbPlanetEnv, Numbered("editPlanetEnv", i + 1),
                                      Numbered("udPlanetEnv", i + 1), {100, y, 48, 21});
        sEnvOpt[i] =
            MakeLabel(gbRaceOpt, Numbered("sEnv", i + 1) + QStringLiteral("Opt"),
                      CoreText(kOptimumPlaceholders[i]), {8, y + 2, 154, 16}, *kFactorStyles[i]);
    }
    sFactorHelp = MakeLabel(gbPlanet, QStringLiteral("sFactorHelp"),
                            tr("Диапазон факторов среды: от 0 до 100, при "
                               "иммунитете 102. В оптимуме также указаны мин.и "
                               "макс.значения для расы."),
                            {8, 148, 326, 42}, kBold);
    sFactorHelp->setWordWrap(true);
    sFactorHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    gbPlanetMineral = MakeGroup(gbPlanet, QStringLiteral("gbPlanetMineral"), tr("Минералы:"),
                                {338, 12, 205, 176});
    cbPlanetHW = MakeCheck(gbPlanetMineral, QStringLiteral("cbPlanetHW"), tr("Домашний мир"),
                           {8, 18, 180, 20}, kBold);
    // Two column headers in one wrapped label: "Концен-трация" over the concentrations and
    // "Минералы на поверх." over the surface amounts.
    sPlanetMineral = MakeLabel(gbPlanetMineral, QStringLiteral("sPlanetMineral"),
                               tr("Концен     Минералы  трация      на поверх."), {72, 42, 128, 28},
                               TextStyle(false, colour::kNavy));
    sPlanetMineral->setWordWrap(true);
    const TextStyle* const mineralStyles[3] = {&kBoldNavy, &kBoldGreen, &kBoldYellow};
    const char* const conSpins[3] = {"UpDown16", "UpDown20", "UpDown21"};
    const char* const mineralSpins[3] = {"UpDown17", "UpDown18", "UpDown19"};
    for (int i = 0; i < 3; ++i) {
        const int y = 74 + i * 22;
        MakeLabel(gbPlanetMineral, Numbered("sPlanetMineral", i + 1), CoreText(kMineralNames[i]),
                  {6, y + 2, 66, 16}, *mineralStyles[i]);
        editPlanetConPrc[i] = MakeNumber(gbPlanetMineral, Numbered("editPlanetConPrc", i + 1),
                                         QString::fromLatin1(conSpins[i]), {72, y, 52, 21});
        editPlanetMineral[i] = MakeNumber(gbPlanetMineral, Numbered("editPlanetMineral", i + 1),
                                          QString::fromLatin1(mineralSpins[i]), {130, y, 66, 21});
    }
}

} // namespace quendal
