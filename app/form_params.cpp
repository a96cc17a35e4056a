// The two parameter tabs and the model: each tab's controls are filled from the model when
// the tab is entered and copied back when it is left; in between, edits of a factor or a
// terraforming limit update the model and the two derived fields at once.
#include <array>
#include <optional>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>

#include "app/application.h"
#include "app/form_main.h"
#include "app/number_spin_field.h"
#include "app/window_language.h"
#include "model/habitability.h"
#include "model/numbers.h"
#include "model/planet_rules.h"

namespace quendal {

namespace {

// Passes each field the player has typed into (or moved by a spin) to `take`; whether any.
template <typename Take> bool TakeTyped(const std::array<NumberSpinField*, 3>& fields, Take take) {
    bool edited = false;
    for (int i = 0; i < 3; ++i)
        if (fields[i]->edit()->isModified()) {
            take(i, fields[i]->value());
            edited = true;
        }
    return edited;
}

// The application's standard error message.
void ShowError(QWidget* parent, const QString& message) {
    if (auto* app = qobject_cast<QuendalApplication*>(QCoreApplication::instance()))
        app->ReportException(message);
    else
        QMessageBox::critical(parent, QCoreApplication::applicationName(), message);
}

} // namespace

void TFormMain::ConnectParamHandlers() {
    shownPage_ = PageControl1->currentWidget();
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFormMain::PageControl1Change);
    for (int i = 0; i < 3; ++i) {
        connect(editPlanetEnv[i]->edit(), &QLineEdit::textChanged, this,
                &TFormMain::editPlanetEnv1Change);
        connect(editPlanetEnv[i], &NumberSpinField::spinClicked, this,
                [this, i] { udPlanetEnvClick(i); });
        connect(editMaxTFormPrc[i]->edit(), &QLineEdit::textChanged, this,
                &TFormMain::editMaxTFormPrc1Change);
        connect(editMaxTFormPrc[i], &NumberSpinField::spinClicked, this,
                [this, i] { udMaxTFormPrcClick(i); });
    }
    // A change of state by the program runs the handlers too.
    connect(cbFullTForm, &QCheckBox::toggled, this, &TFormMain::cbFullTFormClick);
    connect(cbPlanetHW, &QCheckBox::toggled, this, &TFormMain::cbPlanetHWClick);
}

// Runs whenever another tab comes to the front, by mouse, keyboard or program, before the
// player can touch its controls.
void TFormMain::PageControl1Change(int index) {
    if (shownPage_ == TabCalc)
        TabCalcExit();
    else if (shownPage_ == TabAddParam)
        TabAddParamExit();
    shownPage_ = PageControl1->widget(index);
    if (shownPage_ == TabCalc)
        TabCalcEnter();
    else if (shownPage_ == TabAddParam)
        TabAddParamEnter();
    else if (shownPage_ == TabGenetic)
        TabGeneticEnter();
}

void TFormMain::TabCalcEnter() {
    if (editStartPlanetPrc->value() != Model().Planet.PlanetPrc)
        editStartPlanetPrc->setValue(Model().Planet.PlanetPrc);
}

void TFormMain::TabCalcExit() {
    controller_.TakeStartPrc(editStartPlanetPrc->value());
}

void TFormMain::TabAddParamEnter() {
    const RaceParams& race = Model().Race;
    const PlanetParams& planet = Model().Planet;
    ShowDerivedPrc();
    for (int i = 0; i < 7; ++i)
        editRaceP[i]->setValue(race.Economy(i));
    cbFullTForm->setChecked(race.FullTForm);
    const int limit = TFormLimitMax(cbFullTForm->isChecked());
    for (NumberSpinField* field : editMaxTFormPrc)
        field->setRange(field->minimum(), limit);

    ShowPlanetEnv();
    for (NumberSpinField* field : editMaxTFormPrc)
        field->edit()->setModified(false);
    for (int i = 0; i < 3; ++i) {
        editMaxTFormPrc[i]->setValue(TFormLimitOf(planet, i));
        // The spins of a factor the race is immune to are locked too, since a click would write
        // a value the race cannot have; any other factor keeps a way back from 102.
        editPlanetEnv[i]->spin()->setEnabled(controller_.FactorSpinEnabled(i));
        editMaxTFormPrc[i]->spin()->setEnabled(controller_.FactorSpinEnabled(i));
        ShowFactorRowEnabled(i);
        sEnvOpt[i]->setText(QString::fromStdString(OptimumText(race, i, WindowLanguage())));
    }
    // Before the fields, so that they show the model's concentrations.
    cbPlanetHW->setChecked(planet.PlanetHW);
    ShowPlanetStock();
}

void TFormMain::ShowPlanetStock() {
    const PlanetParams& planet = Model().Planet;
    editPlanetFabr->setValue(planet.PlanetFabr);
    editPlanetMine->setValue(planet.PlanetMine);
    for (int i = 0; i < 3; ++i) {
        editPlanetConPrc[i]->setValue(planet.PlanetConPrc[i]);
        editPlanetMineral[i]->setValue(planet.PlanetMineral[i]);
    }
}

void TFormMain::TabAddParamExit() {
    Controller& c = controller_;
    for (int i = 0; i < 7; ++i)
        c.SetEconomy(i, editRaceP[i]->value());
    c.SetFullTForm(cbFullTForm->isChecked());
    c.SetPlanetPrc(LeadingInt(editCurPlanetPrc->text().toStdString()));
    c.SetHomeworld(cbPlanetHW->isChecked()); // before the concentrations, which it may raise
    // Disabled fields too: an immune factor leaves with 102 and a limit of 0.
    for (int i = 0; i < 3; ++i) {
        c.SetFactor(i, editPlanetEnv[i]->value());
        c.SetTFormLimit(i, editMaxTFormPrc[i]->value());
        c.SetConcentration(i, editPlanetConPrc[i]->value());
        c.SetMineral(i, editPlanetMineral[i]->value());
    }
    c.SetFactories(editPlanetFabr->value());
    c.SetMines(editPlanetMine->value());
}

void TFormMain::ShowFactorRowEnabled(int i) {
    const bool enabled = controller_.FactorRowEnabled(i);
    for (QWidget* control : std::initializer_list<QWidget*>{
             editPlanetEnv[i]->edit(), sPlanetEnv[i], editMaxTFormPrc[i]->edit(), sMaxTFormPrc[i]})
        control->setEnabled(enabled);
}

void TFormMain::ShowDerivedPrc() {
    editCurPlanetPrc->setText(QString::number(Model().Planet.PlanetPrc));
    editCurTFormPrc->setText(QString::number(controller_.TFormPrc()));
}

void TFormMain::ShowPlanetEnv() {
    // Each write runs the change handler, which must not take a field typed earlier for
    // an edit and overwrite the new factors with it.
    for (NumberSpinField* field : editPlanetEnv)
        field->edit()->setModified(false);
    for (int i = 0; i < 3; ++i)
        editPlanetEnv[i]->setValue(Model().Planet.PlanetEnv[i]);
}

void TFormMain::editPlanetEnv1Change() {
    if (TakeTyped(editPlanetEnv, [this](int i, int32_t v) { controller_.TypeFactor(i, v); }))
        ShowDerivedPrc();
}

void TFormMain::editMaxTFormPrc1Change() {
    if (TakeTyped(editMaxTFormPrc, [this](int i, int32_t v) { controller_.TypeTFormLimit(i, v); }))
        ShowDerivedPrc();
}

// The spin has written its position, which ran the change handler as a program write;
// marked as an edit, the position is taken now.
void TFormMain::udPlanetEnvClick(int i) {
    editPlanetEnv[i]->edit()->setModified(true);
    editPlanetEnv1Change();
    ShowFactorRowEnabled(i); // a click away from 102 gives the field back
}

void TFormMain::udMaxTFormPrcClick(int i) {
    editMaxTFormPrc[i]->edit()->setModified(true);
    editMaxTFormPrc1Change();
}

// The lowered limits are program writes: the model takes them when the tab is left.
void TFormMain::cbFullTFormClick() {
    const int limit = TFormLimitMax(cbFullTForm->isChecked());
    for (NumberSpinField* field : editMaxTFormPrc)
        field->setRange(field->minimum(), limit);
    for (NumberSpinField* field : editMaxTFormPrc) {
        const QString text = field->edit()->text();
        const std::optional<int64_t> value = StrictInt(text.toStdString());
        if (!value || *value != SaturateInt32(*value)) {
            ShowError(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
            return;
        }
        if (*value > field->maximum())
            field->setValue(field->maximum());
    }
}

void TFormMain::cbPlanetHWClick() {
    if (!cbPlanetHW->isChecked())
        return;
    for (NumberSpinField* field : editPlanetConPrc)
        if (field->value() != HomeworldConPrc(field->value()))
            field->setValue(HomeworldConPrc(field->value()));
}

} // namespace quendal
