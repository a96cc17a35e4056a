// Editing of the two queue templates: add, delete, clear, move up and down, and the choice
// of the template being edited. Each list box mirrors its template line by line.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "app/window_language.h"

namespace quendal {

namespace {

// The selected line of a list box, -1 when none is selected.
int SelectedLine(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// Moves list-box line `from` to `to` and selects it there.
void MoveLine(QListWidget* list, int from, int to) {
    QListWidgetItem* item = list->takeItem(from);
    list->insertItem(to, item);
    list->setCurrentRow(to);
}

} // namespace

bool TFormMain::ActivePlus() const {
    return !rbQueueMinus->isChecked();
}

void TFormMain::ShowTemplates() {
    ShowLines(lbQueueM, TemplateLines(controller_.Template(false), WindowLanguage()));
    ShowLines(lbQueue, TemplateLines(controller_.Template(true), WindowLanguage()));
}

QListWidget* TFormMain::ActiveListBox() const {
    return rbQueueMinus->isChecked() ? lbQueueM : lbQueue;
}

void TFormMain::bnItemAddClick() {
    const int entry = cbItemAdd->currentIndex();
    if (entry < 0)
        return;
    // The line is added only when the element is, so the list box keeps mirroring it.
    if (controller_.AddElement(ActivePlus(), entry, editItemAdd->edit()->text().toStdString()))
        ActiveListBox()->addItem(QString::fromStdString(
            TemplateLines(controller_.Template(ActivePlus()), WindowLanguage()).back()));
}

void TFormMain::bnQueueDelClick() {
    QListWidget* list = ActiveListBox();
    const int line = SelectedLine(list);
    if (line < 0)
        return;
    controller_.DeleteLine(ActivePlus(), line);
    delete list->takeItem(line);
    list->setCurrentRow(-1); // no new selection
}

void TFormMain::bnQueueClearClick() {
    controller_.ClearTemplate(ActivePlus());
    ActiveListBox()->clear();
}

// The list box follows the core's move: the line moves, or goes when its element was lost.
void TFormMain::MirrorQueueMove(int line, int to) {
    QListWidget* list = ActiveListBox();
    if (to == -2)
        delete list->takeItem(line);
    else if (to >= 0)
        MoveLine(list, line, to);
}

void TFormMain::bnQueueUpClick() {
    const int line = SelectedLine(ActiveListBox());
    MirrorQueueMove(line, controller_.MoveUp(ActivePlus(), line));
}

void TFormMain::bnQueueDownClick() {
    const int line = SelectedLine(ActiveListBox());
    MirrorQueueMove(line, controller_.MoveDown(ActivePlus(), line));
}

void TFormMain::rbQueueMinusClick() {
    if (!rbQueueMinus->isChecked())
        return;
    lbQueueM->setEnabled(true);
    lbQueue->setEnabled(false);
}

void TFormMain::rbQueuePlusClick() {
    if (!rbQueuePlus->isChecked())
        return;
    lbQueueM->setEnabled(false);
    lbQueue->setEnabled(true);
}

} // namespace quendal
