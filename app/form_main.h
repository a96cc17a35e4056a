#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "app/chart_adapter.h"
#include "app/file_dialogs.h"
#include "optimiser/controller.h"
#include "optimiser/genetic_run.h"

class QButtonGroup;
class QCloseEvent;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quendal {

class ElidedLabel;
class NumberSpinField;
class RankView;

// The one window of the program: planet dynamics, additional parameters, queue-variant
// search and About, on four tabs. It translates between its controls and the calculation
// model it owns; every rule of the calculation lives in the core.
class TFormMain : public QWidget {
    Q_OBJECT
public:
    // Client area of the window, not scaled.
    static constexpr int kClientWidth = 561;
    static constexpr int kClientHeight = 397;
    // The data table's year column shows four digits; longer runs are cut to it.
    static constexpr int kMaxYears = kMaxShownYears;

    // `dialogs` answers the open and save dialogs; the platform's dialogs when null.
    explicit TFormMain(std::unique_ptr<FileDialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~TFormMain() override;

    CalcModel& Model() { return controller_.Model(); }
    const CalcModel& Model() const { return controller_.Model(); }
    ChartAdapter& Chart() { return *chart_; }

    // Enables the template editing for a loaded race, or locks it, and shows or hides the
    // tabs that need a race.
    void SetRaceControlsEnabled(bool enable);

    // Opens a calculation file as "Загрузить" does, or a race file as the race button does
    // (clearing a loaded race first). A calculation file that cannot be read or is invalid is
    // reported, changes nothing and gives false.
    bool OpenCalcFile(const QString& path);
    void OpenRaceFile(const QString& path);

    // Seeds the searches of the search tab, so that they repeat (tests); without it each
    // search takes a seed from the clock.
    void SetSearchSeed(uint32_t seed) { searchSeed_ = seed; }

protected:
    // Closing the window stops a running search; its handler then ends at once.
    void closeEvent(QCloseEvent* event) override;

private slots:
    void bnLoadRaceFileClick();
    void bnSaveCalcFileClick();
    void bnLoadCalcFileClick();
    void bnCalculateClick();
    void bnItemAddClick();
    void bnQueueDelClick();
    void bnQueueClearClick();
    void bnQueueUpClick();
    void bnQueueDownClick();
    void rbQueueMinusClick();
    void rbQueuePlusClick();
    void PageControl1Change(int index);
    void editPlanetEnv1Change();
    void editMaxTFormPrc1Change();
    void cbFullTFormClick();
    void cbPlanetHWClick();
    void bnPlanetListClick();
    void cbPlanetListChange(int index);
    void bnPlanetRankClick();
    void bnGeneticCalcClick();
    void bnToGraphicClick();

private:
    void BuildTabCalc();
    void BuildStartConditions(QWidget* page);
    void BuildQueueControls(QWidget* page);
    void BuildOutputPages(QWidget* page);
    void BuildTabAddParam();
    void BuildPlanetGroup(QWidget* page);
    void BuildTabGenetic();
    void BuildGeneticTask(QWidget* page);
    void BuildGeneticResult(QWidget* page);
    void BuildTabAbout();
    void ConnectHandlers();
    void ConnectParamHandlers();

    // Tab enter and exit handlers; leaving a tab runs its exit handler before the next
    // tab's enter handler.
    void TabCalcEnter();
    void TabCalcExit();
    void TabAddParamEnter();
    void TabAddParamExit();
    void TabGeneticEnter();
    // Spin clicks on factor `i` (udPlanetEnv1Click..3) and limit `i` (udMaxTFormPrc1Click..3):
    // the written position counts as an edit.
    void udPlanetEnvClick(int i);
    void udMaxTFormPrcClick(int i);
    // Writes the factor fields as program writes: no earlier typing counts as an edit.
    void ShowPlanetEnv();
    // Enables the fields of factor `i` unless it holds the immune mark.
    void ShowFactorRowEnabled(int i);
    // Writes the factories, mines, concentrations and minerals of the model's planet.
    void ShowPlanetStock();
    // Shows PlanetPrc and the habitability reachable by terraforming.
    void ShowDerivedPrc();
    // Shows both templates as the controller holds them.
    void ShowTemplates();
    // The start fields of "Динамика планеты".
    StartFields ShownStart() const;
    // The search of the search tab, from the start click to its end stage.
    void RunSearch();
    void ShowSearchResults(const GeneticResults& results);
    // Back to the tab's start state: no figures, templates or progress, "В график" disabled.
    void ClearSearchResults();
    // The search tab's fields as a value, and a value shown in them.
    SearchTab ShownSearchTab() const;
    void ShowSearchTab(const SearchTab& search);

    // The ranking view's start: the model with the tab's values, the list and the settings.
    RankInput TakeRankInput();
    // A row chosen in the ranking view: its entry chosen in the planet list, a searched row's
    // templates put into the template lists, then calculated.
    void UseRankedPlanet(const RankedPlanet& row, bool searched);

    // The two procedures of the race button.
    void LoadRaceIntoWindow();
    void ClearRaceFromWindow();
    // The window's start state without a race, as the controller holds it.
    void ShowNoRace();
    // The race-loaded state for the race the controller holds.
    void ShowLoadedRace();
    // A calculation just opened, shown as if typed.
    void ShowSetup(const CalcSetup& setup);
    // The controller's planet list in the drop-down list, its chosen entry shown as chosen.
    void ShowPlanetList();
    // Whether the editing buttons act on the template for a habitable planet, and its list box.
    bool ActivePlus() const;
    // Mirrors in the active list box a move of line `line` that the core answered with `to`.
    void MirrorQueueMove(int line, int to);
    QListWidget* ActiveListBox() const;

    Controller controller_;
    std::unique_ptr<FileDialogs> dialogs_;
    std::unique_ptr<ChartAdapter> chart_;
    QWidget* shownPage_ = nullptr; // the page whose exit handler runs next
    GeneticRun geneticRun_;
    bool geneticEndStage_ = false; // the running search refines its best individual
    std::optional<uint32_t> searchSeed_;

    // Pages.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabCalc = nullptr;
    QWidget* TabAddParam = nullptr;
    QWidget* TabGenetic = nullptr;
    QWidget* TabAbout = nullptr;

    // "Динамика планеты": race file and start conditions.
    QPushButton* bnLoadRaceFile = nullptr;
    QLabel* sFile = nullptr;
    ElidedLabel* fileName = nullptr;
    QLabel* sRace = nullptr;
    ElidedLabel* raceName = nullptr;
    QGroupBox* sStartPlanet = nullptr;
    NumberSpinField* editStartPlanetPrc = nullptr;
    NumberSpinField* editStartPlanetMen = nullptr;
    NumberSpinField* editMenYearPrc = nullptr;
    QPushButton* bnCalculate = nullptr;
    QPushButton* bnSaveCalcFile = nullptr;
    QPushButton* bnLoadCalcFile = nullptr;
    NumberSpinField* editLightYears = nullptr;
    QLabel* sLYear = nullptr;

    // "Динамика планеты": templates.
    QGroupBox* gbQueue = nullptr;
    QRadioButton* rbQueueMinus = nullptr;
    QListWidget* lbQueueM = nullptr;
    QRadioButton* rbQueuePlus = nullptr;
    QListWidget* lbQueue = nullptr;
    QPushButton* bnQueueUp = nullptr;
    QPushButton* bnQueueDown = nullptr;
    QPushButton* bnQueueDel = nullptr;
    QPushButton* bnQueueClear = nullptr;
    QGroupBox* gbQueueItem = nullptr;
    QComboBox* cbItemAdd = nullptr;
    NumberSpinField* editItemAdd = nullptr;
    QPushButton* bnItemAdd = nullptr;

    // "Динамика планеты": outputs.
    QTabWidget* PageControl2 = nullptr;
    QWidget* TabDataChart = nullptr;
    QWidget* TabDataTable = nullptr;
    QWidget* TabMineral = nullptr;
    QLabel* sHead1 = nullptr;
    QLabel* sHead2 = nullptr;
    QListWidget* lbDataSet = nullptr;
    QLabel* sHead3 = nullptr;
    QLabel* sHead4 = nullptr;
    QListWidget* lbMineral = nullptr;

    // "Дополнительные параметры". Rows of three follow the factor order (gravity,
    // temperature, radiation) or the mineral order (Ironium, Uranium, Liberium).
    QGroupBox* gbRace = nullptr;
    std::array<NumberSpinField*, 7> editRaceP{};
    std::array<QLabel*, 7> sRaceP{};
    QCheckBox* cbFullTForm = nullptr;
    QGroupBox* gbMaxTFormPrc = nullptr;
    std::array<NumberSpinField*, 3> editMaxTFormPrc{};
    std::array<QLabel*, 3> sMaxTFormPrc{};
    QLabel* Label5 = nullptr;
    QComboBox* cbPlanetList = nullptr;
    QPushButton* bnPlanetList = nullptr;
    QPushButton* bnPlanetRank = nullptr;
    // A window of its own, so that the chart can come in front of it; made on the first click
    // of bnPlanetRank.
    std::unique_ptr<RankView> rankView_;
    QGroupBox* gbPlanet = nullptr;
    QLineEdit* editCurPlanetPrc = nullptr;
    QLineEdit* editCurTFormPrc = nullptr;
    NumberSpinField* editPlanetFabr = nullptr;
    NumberSpinField* editPlanetMine = nullptr;
    QLabel* sFactorHelp = nullptr;
    QGroupBox* gbPlanetEnv = nullptr;
    std::array<NumberSpinField*, 3> editPlanetEnv{};
    std::array<QLabel*, 3> sPlanetEnv{};
    QGroupBox* gbRaceOpt = nullptr;
    std::array<QLabel*, 3> sEnvOpt{};
    QGroupBox* gbPlanetMineral = nullptr;
    QCheckBox* cbPlanetHW = nullptr;
    QLabel* sPlanetMineral = nullptr;
    std::array<NumberSpinField*, 3> editPlanetConPrc{};
    std::array<NumberSpinField*, 3> editPlanetMineral{};

    // "Подбор вариантов ОП".
    QGroupBox* gbGenetic = nullptr;
    std::array<NumberSpinField*, 6> editGeneticP{};
    QGroupBox* gbMemo = nullptr;
    QLabel* sGeneticMemo = nullptr;
    QGroupBox* gbTask = nullptr;
    QLineEdit* editGenPlanetPrc = nullptr;
    NumberSpinField* editGenLYear = nullptr;
    QGroupBox* rgGenMaxFactor = nullptr;
    QButtonGroup* rgGenMaxFactorItems = nullptr;
    NumberSpinField* editGenFixed = nullptr;
    QPushButton* bnGeneticCalc = nullptr;
    QLabel* sTimeReady = nullptr;
    QLabel* sTimeRemai = nullptr;
    QProgressBar* pbGenetic = nullptr;
    QGroupBox* gbResult = nullptr;
    QListWidget* lbGenQueue1 = nullptr;
    QListWidget* lbGenQueue2 = nullptr;
    std::array<QLabel*, 8> sGenValue{};
    QPushButton* bnToGraphic = nullptr;

    // "О программе".
    QPlainTextEdit* About = nullptr;
    QComboBox* cbLanguage = nullptr;
};

} // namespace quendal
