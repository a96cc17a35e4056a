// The search tab: the task shown on entering it, the search started and interrupted by one
// button, its progress and results, and "В график". The search itself is the core's
// GeneticRun; the window only feeds it and shows what it reports.
#include <array>
#include <optional>
#include <string>

#include <QApplication>
#include <QButtonGroup>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/rank_view.h"
#include "lists/queue_item.h"
#include "model/numbers.h"
#include "model/planet_rules.h"
#include "optimiser/worker_pool.h"

namespace quendal {

void TFormMain::TabGeneticEnter() {
    editGenPlanetPrc->setText(QString::fromStdString(controller_.GenPlanet()));
    editGenPlanetPrc->setCursorPosition(0); // the habitability first, should the text not fit
    const SearchTab search = controller_.EnterSearch(ShownStart(), ShownSearchTab());
    editGenLYear->setValue(search.interval);
    editGenFixed->setValue(search.landing);
}

void TFormMain::bnGeneticCalcClick() {
    if (geneticRun_.running()) {
        // While a search runs the button only interrupts it, and not once it is refining:
        // no second search ever starts inside the first.
        if (!geneticEndStage_) {
            bnGeneticCalc->setEnabled(false);
            geneticRun_.RequestStop();
        }
        return;
    }
    RunSearch();
}

SearchTab TFormMain::ShownSearchTab() const {
    SearchTab search;
    for (int i = 0; i < 6; ++i)
        search.params[i] = editGeneticP[i]->value();
    // The group is exclusive and starts with an item checked: one of the six is always.
    search.criterion = static_cast<Criterion>(rgGenMaxFactorItems->checkedId());
    search.interval = editGenLYear->value();
    search.landing = editGenFixed->value();
    return search;
}

void TFormMain::ShowSearchTab(const SearchTab& search) {
    for (int i = 0; i < 6; ++i)
        editGeneticP[i]->setValue(search.params[i]);
    rgGenMaxFactorItems->button(static_cast<int>(search.criterion))->setChecked(true);
    editGenLYear->setValue(search.interval);
    editGenFixed->setValue(search.landing);
}

void TFormMain::RunSearch() {
    const SearchTab search = ShownSearchTab();
    if (const std::string refusal = controller_.SearchRefusal(search); !refusal.empty()) {
        dialogs_->showError(this, tr("Подбор ОП"), QString::fromStdString(refusal));
        return;
    }
    const GeneticInputs inputs =
        controller_.SearchInputs(search, editMenYearPrc->value(), searchSeed_);

    QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    bnGeneticCalc->setText(tr("Прервать"));
    // Clearing the race would hide this tab, and its interrupt button, while the search goes
    // on with the race taken from under it; so would loading a calculation, and a calculation
    // saved meanwhile would hold a search half done.
    bnLoadRaceFile->setEnabled(false);
    bnLoadCalcFile->setEnabled(false);
    bnSaveCalcFile->setEnabled(false);
    pbGenetic->setValue(0);
    sTimeReady->clear();
    sTimeRemai->clear();
    // However the search ends, an exception included, the tab is idle again.
    struct BackToIdle {
        TFormMain& form;
        ~BackToIdle() {
            form.geneticEndStage_ = false;
            form.bnGeneticCalc->setText(tr("Расчет"));
            QApplication::restoreOverrideCursor();
            form.bnGeneticCalc->setEnabled(true);
            form.bnToGraphic->setEnabled(true);
            form.bnLoadRaceFile->setEnabled(true);
            form.bnLoadCalcFile->setEnabled(true);
            form.bnSaveCalcFile->setEnabled(form.controller_.CanSave());
        }
    } backToIdle{*this};

    // The trials of a generation run on every core; this thread processes the window's
    // messages after each of them, so progress, repaint and the interrupt behave as ever.
    geneticRun_.threads = AvailableCores();
    geneticRun_.processMessages = [] { QCoreApplication::processEvents(); };
    geneticRun_.onProgress = [this](const GeneticProgress& progress) {
        sTimeReady->setText(QString::fromStdString(progress.elapsedText));
        sTimeRemai->setText(QString::fromStdString(progress.remainingText));
        pbGenetic->setValue(progress.position);
    };
    geneticRun_.onEndStage = [this] {
        geneticEndStage_ = true;
        bnGeneticCalc->setEnabled(false);
    };
    ShowSearchResults(controller_.RunSearch(geneticRun_, inputs));
}

void TFormMain::ShowSearchResults(const GeneticResults& results) {
    const std::array<int64_t, 8> figures = ShownFigures(results.figures);
    for (int i = 0; i < 8; ++i)
        sGenValue[i]->setText(QString::number(figures[i]));
    ShowLines(lbGenQueue1, results.queueMinusLines);
    ShowLines(lbGenQueue2, results.queuePlusLines);
}

void TFormMain::ClearSearchResults() {
    for (QLabel* value : sGenValue)
        value->clear();
    lbGenQueue1->clear();
    lbGenQueue2->clear();
    sTimeReady->clear();
    sTimeRemai->clear();
    pbGenetic->setValue(0);
    bnToGraphic->setEnabled(false);
}

// Copies the templates the snapshot holds, also while a search runs; nothing is
// recalculated.
void TFormMain::bnToGraphicClick() {
    const StartFields start = controller_.TakeFound(ShownStart(), ShownSearchTab());
    editLightYears->setValue(start.years);
    editStartPlanetMen->setValue(start.men);
    ShowTemplates();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (geneticRun_.running())
        geneticRun_.RequestStop();
    if (rankView_)
        rankView_->close(); // stops a running ranking
    QWidget::closeEvent(event);
}

} // namespace quendal
