#include "app/rank_view.h"

#include <span>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/form_export.h"
#include "app/form_style.h"
#include "app/table_export.h"
#include "app/window_language.h"
#include "optimiser/genetic_run.h"
#include "optimiser/worker_pool.h"

namespace quendal {

namespace {

constexpr int kSortKey = Qt::UserRole;     // the number of a figure column
constexpr int kRowRole = Qt::UserRole + 1; // the ranking's row behind a table row
constexpr int kPollMs = 25;

// Number columns sort by value, the texts as texts.
class RankItem : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant a = data(kSortKey);
        const QVariant b = other.data(kSortKey);
        if (a.isValid() && b.isValid())
            return a.toLongLong() < b.toLongLong();
        return QTableWidgetItem::operator<(other);
    }
};

template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

RankView::RankView(FileDialogs* dialogs, Controller& controller, InputSource source,
                   ChosenHandler chosen)
    : QDialog(nullptr), dialogs_(dialogs), controller_(controller), source_(std::move(source)),
      chosen_(std::move(chosen)) {
    setObjectName(QStringLiteral("RankView"));
    setWindowTitle(tr("Рейтинг планет"));
    setFont(BaseFont());
    setWindowIcon(QIcon(QStringLiteral(":/icons/quendal.png")));
    resize(980, 440);

    cbCriterion = Named(new QComboBox(this), "cbRankCriterion");
    for (const char* caption : kCriterionCaptions)
        cbCriterion->addItem(CoreText(caption));
    cbCriterion->setCurrentIndex(static_cast<int>(Criterion::Resources));
    cbSearch = Named(new QCheckBox(tr("с подбором ОП"), this), "cbRankSearch");
    bnRank = Named(new QPushButton(tr("Рассчитать"), this), "bnRank");
    bnSaveCsv = Named(new QPushButton(tr("Сохранить как CSV…"), this), "bnRankSaveCsv");
    auto* task = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{new QLabel(tr("Максимизация:"), this),
                                                      cbCriterion, cbSearch, bnRank})
        task->addWidget(w);
    task->addStretch();
    task->addWidget(bnSaveCsv);
    for (QPushButton* button : {bnRank, bnSaveCsv})
        button->setAutoDefault(false);

    pbRank = Named(new QProgressBar(this), "pbRank");
    pbRank->setTextVisible(false);
    pbRank->setValue(0);
    sElapsed = Named(new QLabel(this), "sRankElapsed");
    sRemaining = Named(new QLabel(this), "sRankRemaining");
    for (QLabel* time : {sElapsed, sRemaining})
        time->setMinimumWidth(time->fontMetrics().horizontalAdvance(
            Text(FormatDuration((59 * 60 + 59) * 1000, WindowLanguage()))));
    sStatus = Named(new QLabel(this), "sRankStatus");
    auto* progress = new QHBoxLayout;
    progress->addWidget(pbRank, 1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{new QLabel(tr("Прошло:"), this), sElapsed,
                                         new QLabel(tr("Осталось:"), this), sRemaining, sStatus})
        progress->addWidget(w);

    tbRank = Named(new QTableWidget(this), "tbRank");
    tbRank->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbRank->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbRank->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tbRank->verticalHeader()->hide();
    tbRank->verticalHeader()->setDefaultSectionSize(tbRank->fontMetrics().height() + 6);
    tbRank->setWordWrap(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(task);
    layout->addLayout(progress);
    layout->addWidget(tbRank, 1);

    // Copy (also Ctrl+C while the table has the focus) and CSV, as on the other tables.
    QMenu* menu = ContextMenu(tbRank, QStringLiteral("tbRankMenu"));
    connect(AddCopyAction(menu, tbRank), &QAction::triggered, this, &RankView::CopyRows);
    connect(menu->addAction(tr("Сохранить как CSV…")), &QAction::triggered, this,
            &RankView::SaveCsv);

    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, tbRank, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, this, &RankView::ChooseCurrentRow);
    connect(tbRank, &QTableWidget::cellDoubleClicked, this, &RankView::ChooseCurrentRow);
    connect(bnRank, &QPushButton::clicked, this, &RankView::StartClick);
    connect(bnSaveCsv, &QPushButton::clicked, this, &RankView::SaveCsv);

    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(kPollMs);
    connect(pollTimer_, &QTimer::timeout, this, &RankView::Poll);
    SetIdle(true);
}

RankView::~RankView() = default; // a running ranking is stopped and waited for

void RankView::Reset() {
    run_.reset(); // a ranking of the list another one replaces
    SetIdle(true);
    controller_.KeepRanking({});
    tbRank->setRowCount(0);
    tbRank->setColumnCount(0);
    pbRank->setValue(0);
    sElapsed->clear();
    sRemaining->clear();
    sStatus->clear();
}

void RankView::reject() {
    StopAndForget();
    QDialog::reject();
}

// The destructor of the ranking stops it and waits for its threads.
void RankView::StopAndForget() {
    if (!run_)
        return;
    run_.reset();
    SetIdle(true);
    sStatus->setText(tr("Прервано"));
}

void RankView::StartClick() {
    if (run_) {
        run_->Stop(); // the rows come with the next poll
        bnRank->setEnabled(false);
        return;
    }
    RankInput input = source_();
    if (input.planets.empty()) {
        sStatus->setText(tr("Нет списка планет"));
        return;
    }
    if (!input.refusal.empty()) { // every row must be a calculation its files can hold
        sStatus->setText(Text(input.refusal));
        return;
    }
    auto base = std::make_shared<const CalcModel>(std::move(input.base));
    auto planets = std::make_shared<const std::vector<PlanetEntry>>(std::move(input.planets));
    input.settings.criterion = static_cast<Criterion>(cbCriterion->currentIndex());
    auto settings = std::make_shared<const RankSettings>(input.settings);

    RankTask task;
    task.entries = std::move(input.entries);
    task.search = cbSearch->isChecked();
    task.criterion = settings->criterion;
    task.threads = AvailableCores();
    task.prepare = [base, planets, settings](int32_t index, CalcModel& model) {
        model = *base;
        return SetUpListPlanet(model, planets->at(static_cast<size_t>(index)), *settings);
    };
    Reset(); // no rows of an earlier ranking stand beside the progress of this one
    runSearch_ = task.search;
    pbRank->setRange(0, static_cast<int>(task.entries.size()));
    run_ = std::make_unique<BackgroundRank>(std::move(task));
    SetIdle(false);
}

void RankView::Poll() {
    if (!run_)
        return;
    const RankProgress p = run_->progress();
    pbRank->setValue(p.done);
    sElapsed->setText(Text(FormatDuration(p.elapsedMs, WindowLanguage())));
    sRemaining->setText(p.done > 0 ? Text(FormatDuration(p.remainingMs, WindowLanguage()))
                                   : QString());
    if (!run_->finished())
        return;
    const std::unique_ptr<BackgroundRank> run = std::move(run_);
    SetIdle(true);
    try {
        controller_.KeepRanking({run->TakeRows(), runSearch_, p.total});
    } catch (...) { // not through the timer's signal: the view stays as it was
        sStatus->setText(tr("Ошибка: рейтинг не рассчитан"));
        return;
    }
    ShowRows();
    if (run->stopped()) // the planets that ended
        sStatus->setText(tr("Прервано, рассчитано планет: %1 из %2")
                             .arg(controller_.LastRanking().rows.size())
                             .arg(p.total));
}

void RankView::ShowRows() {
    const RankOutcome& ranking = controller_.LastRanking();
    const std::vector<RankedPlanet>& rows = ranking.rows;
    const std::span<const RankColumn> columns = RankColumns(ranking.searched);
    tbRank->setSortingEnabled(false);
    tbRank->setColumnCount(static_cast<int>(columns.size()));
    tbRank->setRowCount(static_cast<int>(rows.size()));
    QStringList header;
    for (const RankColumn& column : columns)
        header << CoreText(column.caption);
    tbRank->setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string> fields =
            RankRowFields(rows[r], ranking.searched, ',', "-", WindowLanguage());
        for (size_t c = 0; c < fields.size(); ++c) {
            auto* item = new RankItem(Text(fields[c]));
            if (columns[c].number) {
                item->setData(kSortKey, item->text().toLongLong());
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (c == 0)
                item->setData(kRowRole, static_cast<int>(r));
            tbRank->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    tbRank->setSortingEnabled(true);
    tbRank->sortByColumn(0, Qt::AscendingOrder);
    tbRank->resizeColumnsToContents(); // with room for the sort mark
}

void RankView::ChooseCurrentRow() {
    const QTableWidgetItem* first = tbRank->item(tbRank->currentRow(), 0);
    if (!first || !chosen_)
        return;
    const RankOutcome& ranking = controller_.LastRanking();
    chosen_(ranking.rows[static_cast<size_t>(first->data(kRowRole).toInt())], ranking.searched);
}

std::vector<std::vector<std::string>> RankView::ShownFields(bool selectedOnly) const {
    const QItemSelectionModel* selection = tbRank->selectionModel();
    const bool some = selectedOnly && selection->hasSelection();
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < tbRank->rowCount(); ++r) {
        if (some && !selection->isRowSelected(r, QModelIndex()))
            continue;
        std::vector<std::string> fields;
        for (int c = 0; c < tbRank->columnCount(); ++c)
            fields.push_back(tbRank->item(r, c)->text().toStdString());
        rows.push_back(std::move(fields));
    }
    return rows;
}

// The selected rows, or the whole table when none is selected.
void RankView::CopyRows() {
    if (controller_.LastRanking().rows.empty())
        return;
    QGuiApplication::clipboard()->setText(
        TableText(RankColumnCaptions(controller_.LastRanking().searched, WindowLanguage()),
                  ShownFields(true), '\t'));
}

void RankView::SaveCsv() {
    if (controller_.LastRanking().rows.empty())
        return;
    SaveCsvFile(this, dialogs_,
                TableText(RankColumnCaptions(controller_.LastRanking().searched, WindowLanguage()),
                          ShownFields(false), ','));
}

void RankView::SetIdle(bool idle) {
    bnRank->setText(idle ? tr("Рассчитать") : tr("Прервать"));
    bnRank->setEnabled(true);
    cbCriterion->setEnabled(idle);
    cbSearch->setEnabled(idle);
    if (idle)
        pollTimer_->stop();
    else
        pollTimer_->start();
}

} // namespace quendal
