// The planet list: reading a list into the drop-down list, applying the chosen planet to the
// model and the controls, and the ranking of the list with the use of a ranked row.
#include <algorithm>
#include <optional>
#include <string>

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/file_dialogs.h"
#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/rank_view.h"
#include "app/sample_folder.h"
#include "io/file_bytes.h"
#include "io/planet_list.h"
#include "lists/queue_item.h"
#include "optimiser/planet_rank.h"

namespace quendal {

void TFormMain::bnPlanetListClick() {
    const QString path =
        dialogs_->getOpenFileName(this, QStringLiteral("Загрузить список планет"), SampleFolder(),
                                  QStringLiteral("Список планет (*.txt *.TXT)"));
    if (path.isEmpty())
        return;
    const std::optional<std::string> bytes = ReadFileBytes(QFile::encodeName(path).toStdString());
    if (!bytes)
        return;
    ShowPlanetList(ParsePlanetList(*bytes, model_.Race), path, -1);
}

void TFormMain::ShowPlanetList(const PlanetList& list, const QString& path, int chosen) {
    planetListPath_ = path;
    planets_.Clear();
    for (const PlanetEntry& planet : list.planets)
        planets_.Append(&planet);
    // Filling the drop-down list is no choice of the player's: only `chosen` shows as chosen.
    const QSignalBlocker blocker(cbPlanetList);
    cbPlanetList->clear();
    for (const std::string& entry : list.entries)
        cbPlanetList->addItem(QString::fromStdString(entry));
    cbPlanetList->setCurrentIndex(chosen < cbPlanetList->count() ? chosen : -1);
    bnPlanetRank->setEnabled(!list.entries.empty());
    if (rankView_)
        rankView_->Reset(); // its rows were another list's
}

void TFormMain::cbPlanetListChange(int index) {
    const PlanetEntry* chosen = index >= 0 ? planets_.At(index + 1) : nullptr;
    if (!chosen)
        return;
    editStartPlanetMen->setValue(ApplyPlanet(model_, *chosen));
    ShowDerivedPrc();
    ShowPlanetEnv();
    ShowPlanetStock();
}

void TFormMain::bnPlanetRankClick() {
    if (!rankView_)
        rankView_ = std::make_unique<RankView>(
            dialogs_.get(), [this] { return TakeRankInput(); },
            [this](const RankedPlanet& row, bool searched) { UseRankedPlanet(row, searched); });
    rankView_->show();
    rankView_->raise();
    rankView_->activateWindow();
}

RankInput TFormMain::TakeRankInput() {
    RankInput input;
    if (!model_.RaceLoaded)
        return input;
    // The additional parameters as leaving their tab stores them.
    if (shownPage_ == TabAddParam)
        TabAddParamExit();
    input.base = model_;
    for (int i = 0; i < cbPlanetList->count(); ++i) {
        const PlanetEntry* planet = planets_.At(i + 1);
        if (!planet)
            break;
        input.planets.push_back(*planet);
        input.entries.push_back(cbPlanetList->itemText(i).toStdString());
    }
    // As "Расчет" and the search tab take them.
    RankSettings& settings = input.settings;
    settings.years = std::min(editLightYears->value(), kMaxYears);
    settings.growth = editMenYearPrc->value();
    settings.startPrc = editStartPlanetPrc->value();
    settings.params = ShownSearchTab().params;
    settings.seed = searchSeed_.value_or(ClockSeed());
    return input;
}

void TFormMain::UseRankedPlanet(const RankedPlanet& row, bool searched) {
    if (!model_.RaceLoaded || row.index < 0 || row.index >= cbPlanetList->count())
        return;
    PageControl1->setCurrentWidget(TabAddParam);
    cbPlanetList->setCurrentIndex(row.index);
    cbPlanetListChange(row.index);
    if (searched) {
        FillTemplate(model_.QueueMinus, row.foundMinus);
        FillTemplate(model_.QueuePlus, row.foundPlus);
        ShowLines(lbQueueM, TemplateLines(row.foundMinus));
        ShowLines(lbQueue, TemplateLines(row.foundPlus));
    }
    // Leaving the tab stores the planet; the start habitability follows it.
    PageControl1->setCurrentWidget(TabCalc);
    PageControl2->setCurrentWidget(TabDataChart);
    bnCalculateClick();
    activateWindow();
    raise();
}

} // namespace quendal
