#pragma once

#include <vector>

#include <QObject>
#include <QString>

#include "app/table_export.h"
#include "model/calc_model.h"

class QAction;
class QListWidget;
class QMenu;
class QWidget;

namespace quendal {

class FileDialogs;

// Takes results out of the window: context menus on the chart (save as PNG or SVG, copy as
// a picture), on the two yearly tables (copy, also Ctrl+C, as tab-separated text; save as
// CSV) and on the search result (copy as text).
class FormExport : public QObject {
    Q_OBJECT
public:
    struct Targets {
        QWidget* window = nullptr;
        FileDialogs* dialogs = nullptr;
        QWidget* chart = nullptr;            // the chart with its legend
        QListWidget* dataTable = nullptr;    // lbDataSet
        QListWidget* mineralTable = nullptr; // lbMineral
        QWidget* searchResult = nullptr;     // the group with sGenValue1..8 and lbGenQueue1/2
        const std::vector<YearResult>* rows = nullptr; // the figures behind the table lines
    };

    explicit FormExport(const Targets& targets);

private:
    void AddTableMenu(QListWidget* list, YearTable table);
    void SaveChartImage();
    void CopyChartImage();
    void CopyTable(QListWidget* list, YearTable table);
    void SaveTableCsv(QListWidget* list, YearTable table);
    void CopySearchResult();
    Targets targets_;
};

// Writes the file whole or not at all (nothing for empty bytes: the picture or text could not
// be made); says so in a message headed `caption` when it fails.
bool WriteFile(QWidget* window, FileDialogs* dialogs, const QString& path, const QByteArray& bytes,
               const QString& caption);

// Asks for a CSV file name (".csv" added when it has no such suffix) and writes `text` into
// it, whole or not at all; says so in a message when it fails.
void SaveCsvFile(QWidget* window, FileDialogs* dialogs, const QString& text);

// A context menu named `name` that a right click on `owner` opens.
QMenu* ContextMenu(QWidget* owner, const QString& name);
// The menu's "Копировать", also Ctrl+C while `owner` has the focus.
QAction* AddCopyAction(QMenu* menu, QWidget* owner);

} // namespace quendal
