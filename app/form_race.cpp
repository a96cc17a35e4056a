// The race button: loads a race description file into the model and puts the window into
// its race-loaded state, or clears the race and returns the window to its start state.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/elided_label.h"
#include "app/file_dialogs.h"
#include "app/form_main.h"
#include "app/number_spin_field.h"
#include "app/sample_folder.h"
#include "io/file_bytes.h"

namespace quendal {

namespace {

// Paints the background of a field.
void SetFieldColour(QLineEdit* edit, const QColor& colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

QColor MenuColour() {
    return QApplication::palette("QMenu").color(QPalette::Window);
}

QColor WindowColour() {
    return QApplication::palette("QLineEdit").color(QPalette::Active, QPalette::Base);
}

} // namespace

void TFormMain::bnLoadRaceFileClick() {
    if (controller_.RaceLoaded())
        ClearRaceFromWindow();
    else
        LoadRaceIntoWindow();
}

void TFormMain::LoadRaceIntoWindow() {
    const QString path = dialogs_->getOpenFileName(
        this, tr("Загрузить описание расы"), SampleFolder(), tr("Описание расы (*.urc *.URC)"));
    if (!path.isEmpty())
        OpenRaceFile(path);
}

void TFormMain::OpenRaceFile(const QString& path) {
    if (controller_.RaceLoaded())
        ClearRaceFromWindow();
    fileName->setText(path);
    fileName->setToolTip(path);
    // A file that cannot be read gives the race of an empty file, as a missing key does.
    controller_.LoadRace(
        ReadFileBytes(QFile::encodeName(path).toStdString()).value_or(std::string()),
        path.toStdString(), editStartPlanetPrc->value());
    ShowLoadedRace();
}

void TFormMain::ShowLoadedRace() {
    raceName->setText(QString::fromStdString(controller_.Race()->name));
    raceName->setToolTip(raceName->text());

    editMenYearPrc->setValue(Model().Race.MaxGrowthYRate);
    QLineEdit* startPrc = editStartPlanetPrc->edit();
    startPrc->setEnabled(false);
    SetFieldColour(startPrc, MenuColour());
    editStartPlanetPrc->setValue(Model().Planet.PlanetPrc);
    SetRaceControlsEnabled(true);
    bnSaveCalcFile->setEnabled(controller_.CanSave());
    bnLoadRaceFile->setText(tr("Очистить"));
}

void TFormMain::ClearRaceFromWindow() {
    controller_.ClearRace(); // empties both templates and forgets the search result
    ShowNoRace();
}

void TFormMain::ShowNoRace() {
    fileName->clear();
    fileName->setToolTip(QString());
    raceName->clear();
    raceName->setToolTip(QString());
    lbQueueM->clear();
    lbQueue->clear();
    QLineEdit* startPrc = editStartPlanetPrc->edit();
    startPrc->setEnabled(true);
    SetFieldColour(startPrc, WindowColour());
    SetRaceControlsEnabled(false);
    ClearSearchResults();
    bnSaveCalcFile->setEnabled(controller_.CanSave());
    bnLoadRaceFile->setText(tr("Загрузить"));
}

} // namespace quendal
