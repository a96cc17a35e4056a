// The planet list: reading a list into the drop-down list, and applying the chosen planet
// to the model and the controls.
#include <optional>
#include <string>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalBlocker>

#include "app/file_dialogs.h"
#include "app/form_main.h"
#include "app/number_spin_field.h"
#include "app/sample_folder.h"
#include "io/file_bytes.h"
#include "io/planet_list.h"

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
    const PlanetList list = ParsePlanetList(*bytes, model_.Race);
    planetListPath_ = path;
    planets_.Clear();
    for (const PlanetEntry& planet : list.planets)
        planets_.Append(&planet);
    // Filling an empty drop-down list would choose its first entry; no entry is chosen.
    const QSignalBlocker blocker(cbPlanetList);
    cbPlanetList->clear();
    for (const std::string& entry : list.entries)
        cbPlanetList->addItem(QString::fromStdString(entry));
    cbPlanetList->setCurrentIndex(-1);
}

void TFormMain::cbPlanetListChange(int index) {
    const PlanetEntry* chosen = index >= 0 ? planets_.At(index + 1) : nullptr;
    if (!chosen)
        return;
    editStartPlanetMen->setValue(ApplyPlanet(model_, *chosen));
    const PlanetParams& planet = model_.Planet;
    ShowDerivedPrc();
    ShowPlanetEnv();
    editPlanetFabr->setValue(planet.PlanetFabr);
    editPlanetMine->setValue(planet.PlanetMine);
    for (int i = 0; i < 3; ++i)
        editPlanetConPrc[i]->setValue(planet.PlanetConPrc[i]);
    for (int i = 0; i < 3; ++i)
        editPlanetMineral[i]->setValue(planet.PlanetMineral[i]);
}

} // namespace quendal
