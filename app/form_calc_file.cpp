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
#include "app/window_language.h"
#include "io/calc_file.h"
#include "io/file_bytes.h"
#include "io/planet_list.h"
#include "optimiser/genetic_run.h"

namespace quendal {

namespace {

const char* const kCalcFileFilter =
    QT_TRANSLATE_NOOP("quendal::TFormMain", "Результаты расчета (*.cal *.CAL)");
const char* const kSaveCaption =
    QT_TRANSLATE_NOOP("quendal::TFormMain", "Сохранить результат расчета");
const char* const kLoadCaption =
    QT_TRANSLATE_NOOP("quendal::TFormMain", "Загрузить результаты расчета");

} // namespace

void TFormMain::bnSaveCalcFileClick() {
    const StartFields start = ShownStart();
    const SearchTab search = ShownSearchTab();
    // A file Quendal writes must open again.
    if (const std::string refusal = controller_.Refusal(start, search); !refusal.empty()) {
        dialogs_->showError(this, tr(kSaveCaption), QString::fromStdString(refusal));
        return;
    }
    QString path =
        dialogs_->getSaveFileName(this, tr(kSaveCaption), QStringLiteral("."), tr(kCalcFileFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty()) // a name typed without its extension
        path += QStringLiteral(".cal");
    if (!WriteFile(this, dialogs_.get(), path,
                   QByteArray::fromStdString(controller_.CalcText(start, search)),
                   tr(kSaveCaption)))
        return;
    fileName->setText(path);
    fileName->setToolTip(path);
}

void TFormMain::bnLoadCalcFileClick() {
    const QString path =
        dialogs_->getOpenFileName(this, tr(kLoadCaption), QStringLiteral("."), tr(kCalcFileFilter));
    if (!path.isEmpty())
        OpenCalcFile(path);
}

bool TFormMain::OpenCalcFile(const QString& path) {
    const OpenedCalc opened = controller_.OpenCalc(
        ReadCalcFile(QFile::encodeName(path).toStdString()), path.toStdString(),
        [](const std::string& listPath) { return ReadFileBytes(listPath); });
    if (!opened.error.empty()) {
        dialogs_->showError(this, tr(kLoadCaption), QString::fromStdString(opened.error));
        return false;
    }
    ShowSetup(opened.setup);
    bnCalculateClick();
    fileName->setText(path);
    fileName->setToolTip(path);
    return true;
}

void TFormMain::ShowSetup(const CalcSetup& setup) {
    // From "Динамика планеты", where the buttons are: the tab shown last has been left.
    PageControl1->setCurrentWidget(TabCalc);
    ShowNoRace();
    if (setup.race)
        ShowLoadedRace();
    // The start fields as saved, after the race wrote its growth and habitability into them.
    editStartPlanetPrc->setValue(setup.start.prc);
    editStartPlanetMen->setValue(setup.start.men);
    editMenYearPrc->setValue(setup.start.growth);
    editLightYears->setValue(setup.start.years);
    ShowLines(lbQueueM, TemplateLines(setup.minus, WindowLanguage()));
    ShowLines(lbQueue, TemplateLines(setup.plus, WindowLanguage()));
    ShowPlanetList();

    const SearchTab& search = setup.search;
    ShowSearchTab(search);
    editGenPlanetPrc->setText(QString::fromStdString(controller_.GenPlanet()));
    if (search.result) {
        GeneticResults shown;
        shown.figures = search.result->figures;
        shown.queueMinusLines = TemplateLines(search.result->minus, WindowLanguage());
        shown.queuePlusLines = TemplateLines(search.result->plus, WindowLanguage());
        ShowSearchResults(shown);
        bnToGraphic->setEnabled(true);
    }
}

} // namespace quendal
