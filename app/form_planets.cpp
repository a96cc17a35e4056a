// The planet list: reading a list into the drop-down list, and applying the chosen planet
// to the model and the controls.
#include <string>
#include <vector>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalBlocker>

#include "app/file_dialogs.h"
#include "app/form_main.h"
#include "app/number_spin_field.h"
#include "app/sample_folder.h"
#include "io/planet_list.h"

namespace quendal {

void TFormMain::bnPlanetListClick() {
    const QString path =
        dialogs_->getOpenFileName(this, QStringLiteral("Загрузить список планет"), SampleFolder(),
                                  QStringLiteral("Список планет (*.txt *.TXT)"));
    if (path.isEmpty())
        return;
    // The reader works in the planet fields of its model: a scratch copy, so that the player's
    // planet stays as it is until an entry is chosen.
    CalcModel scratch;
    scratch.Race = model_.Race;
    scratch.Planet = model_.Planet;
    std::vector<std::string> entries;
    if (!ReadPlanetList(QFile::encodeName(path).toStdString(), scratch, planets_, entries))
        return;
    // Filling an empty drop-down list would choose its first entry; no entry is chosen.
    const QSignalBlocker blocker(cbPlanetList);
    cbPlanetList->clear();
    for (const std::string& entry : entries)
        cbPlanetList->addItem(QString::fromStdString(entry));
    cbPlanetList->setCurrentIndex(-1);
}

void TFormMain::cbPlanetListChange(int index) {
    int32_t startMen = 0;
    if (!ApplyPlanet(model_, planets_, index, startMen))
        return;
    const PlanetParams& planet = model_.Planet;
    editStartPlanetMen->setValue(startMen);
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
