#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "model/calc_model.h"
#include "model/planet_rules.h"
#include "optimiser/controller.h"
#include "optimiser/planet_rank.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace quendal {

class FileDialogs;

// "Рейтинг планет": every planet of the loaded list set up as choosing its entry does and
// calculated, or searched with the search tab's parameters, in the background on every core;
// the rows in the companion's --rank columns, best first by the chosen criterion.
class RankView : public QDialog {
    Q_OBJECT
public:
    using InputSource = std::function<RankInput()>;
    // A row chosen by double-click or Enter; searched tells whether it holds found templates.
    using ChosenHandler = std::function<void(const RankedPlanet& row, bool searched)>;

    // The rows shown are the controller's last ranking.
    RankView(FileDialogs* dialogs, Controller& controller, InputSource source,
             ChosenHandler chosen);
    ~RankView() override;

    bool running() const { return run_ != nullptr; }
    // Stops a running ranking, waits for its threads and forgets the rows (a new list).
    void Reset();

protected:
    // Closing the view (Escape included; a dialog's close event rejects it) stops a running
    // ranking.
    void reject() override;

private:
    void StartClick(); // starts a ranking, or interrupts the running one
    void Poll();       // progress, and the rows once the ranking has ended
    void ShowRows();
    void ChooseCurrentRow();
    // The texts of the shown rows in their shown order; only the selected ones if asked and
    // any is selected.
    std::vector<std::vector<std::string>> ShownFields(bool selectedOnly) const;
    void CopyRows();
    void SaveCsv();
    void SetIdle(bool idle);
    void StopAndForget();

    FileDialogs* dialogs_;
    Controller& controller_;
    InputSource source_;
    ChosenHandler chosen_;
    std::unique_ptr<BackgroundRank> run_;
    bool runSearch_ = false; // the running ranking searches

    QComboBox* cbCriterion = nullptr;
    QCheckBox* cbSearch = nullptr;
    QPushButton* bnRank = nullptr;
    QPushButton* bnSaveCsv = nullptr;
    QProgressBar* pbRank = nullptr;
    QLabel* sElapsed = nullptr;
    QLabel* sRemaining = nullptr;
    QLabel* sStatus = nullptr;
    QTableWidget* tbRank = nullptr;
    QTimer* pollTimer_ = nullptr;
};

} // namespace quendal
