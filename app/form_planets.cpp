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
#include "app/number_spin_field.h"
#include "app/rank_view.h"
#include "app/sample_folder.h"
#include "app/window_language.h"
#include "io/file_bytes.h"
#include "optimiser/planet_rank.h"

namespace quendal {

void TFormMain::bnPlanetListClick() {
    const QString path = dialogs_->getOpenFileName(
        this, tr("Загрузить список планет"), SampleFolder(), tr("Список планет (*.txt *.TXT)"));
    if (path.isEmpty())
        return;
    std::optional<std::string> bytes = ReadFileBytes(QFile::encodeName(path).toStdString());
    if (!bytes)
        return;
    controller_.LoadPlanetList(std::move(*bytes), QFile::encodeName(path).toStdString());
    ShowPlanetList();
}

void TFormMain::ShowPlanetList() {
    const std::vector<std::string>& entries = controller_.List().entries;
    // Filling the drop-down list is no choice of the player's: only the chosen entry shows.
    const QSignalBlocker blocker(cbPlanetList);
    cbPlanetList->clear();
    for (const std::string& entry : entries)
        cbPlanetList->addItem(QString::fromStdString(ShownEntry(entry, WindowLanguage())));
    cbPlanetList->setCurrentIndex(controller_.ChosenEntry());
    bnPlanetRank->setEnabled(!entries.empty());
    if (rankView_)
        rankView_->Reset(); // its rows were another list's
}

void TFormMain::cbPlanetListChange(int index) {
    const int32_t men = controller_.ChoosePlanet(index);
    if (men < 0)
        return;
    editStartPlanetMen->setValue(men);
    ShowDerivedPrc();
    ShowPlanetEnv();
    ShowPlanetStock();
}

void TFormMain::bnPlanetRankClick() {
    if (!rankView_)
        rankView_ = std::make_unique<RankView>(
            dialogs_.get(), controller_, [this] { return TakeRankInput(); },
            [this](const RankedPlanet& row, bool searched) { UseRankedPlanet(row, searched); });
    rankView_->show();
    rankView_->raise();
    rankView_->activateWindow();
}

RankInput TFormMain::TakeRankInput() {
    // The additional parameters as leaving their tab stores them.
    if (shownPage_ == TabAddParam)
        TabAddParamExit();
    return controller_.TakeRankInput(ShownStart(), ShownSearchTab(),
                                     searchSeed_.value_or(ClockSeed()));
}

void TFormMain::UseRankedPlanet(const RankedPlanet& row, bool searched) {
    if (!controller_.RaceLoaded() || row.index < 0 || row.index >= cbPlanetList->count())
        return;
    PageControl1->setCurrentWidget(TabAddParam);
    cbPlanetList->setCurrentIndex(row.index);
    editStartPlanetMen->setValue(controller_.UseRankedRow(row, searched));
    ShowDerivedPrc();
    ShowPlanetEnv();
    ShowPlanetStock();
    ShowTemplates();
    // Leaving the tab stores the planet; the start habitability follows it.
    PageControl1->setCurrentWidget(TabCalc);
    PageControl2->setCurrentWidget(TabDataChart);
    bnCalculateClick();
    activateWindow();
    raise();
}

} // namespace quendal
