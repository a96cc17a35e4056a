// The calculation-file buttons: "Сохранить" writes the whole calculation the window holds,
// "Загрузить" restores it as if typed and calculates. The file's format and every rule of
// applying it live in the core (io/calc_file.h, model/calc_setup.h); the window only
// translates between its controls and that value.
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/elided_label.h"
#include "app/file_dialogs.h"
#include "app/form_export.h"
#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "io/calc_file.h"
#include "io/file_bytes.h"
#include "io/planet_list.h"
#include "optimiser/genetic_run.h"

namespace quendal {

namespace {

const QString kCalcFileFilter = QStringLiteral("Результаты расчета (*.cal *.CAL)");
const QString kSaveCaption = QStringLiteral("Сохранить результат расчета");
const QString kLoadCaption = QStringLiteral("Загрузить результаты расчета");

} // namespace

void TFormMain::bnSaveCalcFileClick() {
    if (RefuseOutOfRange(kSaveCaption, true)) // a file Quendal writes must open again
        return;
    QString path =
        dialogs_->getSaveFileName(this, kSaveCaption, QStringLiteral("."), kCalcFileFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty()) // a name typed without its extension
        path += QStringLiteral(".cal");
    if (!WriteFile(this, dialogs_.get(), path,
                   QByteArray::fromStdString(WriteCalcFile(WindowSetup())), kSaveCaption))
        return;
    fileName->setText(path);
    fileName->setToolTip(path);
}

void TFormMain::bnLoadCalcFileClick() {
    const QString path =
        dialogs_->getOpenFileName(this, kLoadCaption, QStringLiteral("."), kCalcFileFilter);
    if (!path.isEmpty())
        OpenCalcFile(path);
}

bool TFormMain::OpenCalcFile(const QString& path) {
    const CalcFileResult read = ReadCalcFile(QFile::encodeName(path).toStdString());
    if (read.error) {
        dialogs_->showError(this, kLoadCaption,
                            QStringLiteral("Не удалось загрузить файл «%1»: %2")
                                .arg(path, QString::fromStdString(read.error->Message(true))));
        return false;
    }
    ShowSetup(read.setup);
    bnCalculateClick();
    fileName->setText(path);
    fileName->setToolTip(path);
    return true;
}

CalcSetup TFormMain::WindowSetup() const {
    PlanetListChoice list;
    if (cbPlanetList->count() > 0)
        list = {QFile::encodeName(planetListPath_).toStdString(), cbPlanetList->currentIndex(),
                cbPlanetList->currentText().toStdString()};
    return CaptureSetup(model_, loadedRace_, list,
                        {editStartPlanetPrc->value(), editStartPlanetMen->value(),
                         editMenYearPrc->value(), editLightYears->value()},
                        ShownSearchTab(), tableRows_);
}

void TFormMain::ShowSetup(const CalcSetup& setup) {
    // From "Динамика планеты", where the buttons are: the tab shown last has been left.
    PageControl1->setCurrentWidget(TabCalc);
    if (model_.RaceLoaded)
        ClearRaceFromWindow();
    ClearSearchResults();
    ApplySetup(model_, setup);
    if (setup.race)
        ShowLoadedRace(*setup.race);
    // The start fields as saved, after the race wrote its growth and habitability into them.
    editStartPlanetPrc->setValue(setup.start.prc);
    editStartPlanetMen->setValue(setup.start.men);
    editMenYearPrc->setValue(setup.start.growth);
    editLightYears->setValue(setup.start.years);
    ShowLines(lbQueueM, TemplateLines(setup.minus));
    ShowLines(lbQueue, TemplateLines(setup.plus));
    ShowPlanetList(setup.planetTab);

    const SearchTab& search = setup.search;
    ShowSearchTab(search);
    editGenPlanetPrc->setText(QString::fromStdString(GenPlanetText(model_)));
    if (search.result) {
        GeneticResults shown;
        shown.figures = search.result->figures;
        shown.queueMinusLines = TemplateLines(search.result->minus);
        shown.queuePlusLines = TemplateLines(search.result->plus);
        ShowSearchResults(shown);
        bnToGraphic->setEnabled(true);
    }
}

// The planet list the calculation was set up from, read again when it is still there, with
// its entry shown as chosen: the planet's values are the file's, which the player may have
// edited after choosing it. A list no longer there leaves the drop-down list empty.
void TFormMain::ShowPlanetList(const PlanetTab& tab) {
    const std::optional<std::string> bytes =
        tab.list.path.empty() ? std::nullopt : ReadFileBytes(tab.list.path);
    if (!bytes) {
        ShowPlanetList(PlanetList{}, QString(), -1);
        return;
    }
    ShowPlanetList(ParsePlanetList(*bytes, model_.Race), QFile::decodeName(tab.list.path.c_str()),
                   tab.list.entry);
}

} // namespace quendal
