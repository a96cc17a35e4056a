// Editing of the two queue templates: add, delete, clear, move up and down, and the choice
// of the template being edited. Each list box mirrors its template line by line.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "app/form_main.h"
#include "app/number_spin_field.h"
#include "model/queue_edit.h"

namespace quendal {

namespace {

// The selected line of a list box, -1 when none is selected.
int SelectedLine(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

QString LineText(const QueueItem& item) {
    return QString::fromStdString(QueueLineText(item));
}

// Moves list-box line `from` to `to` and selects it there.
void MoveLine(QListWidget* list, int from, int to) {
    QListWidgetItem* item = list->takeItem(from);
    list->insertItem(to, item);
    list->setCurrentRow(to);
}

} // namespace

LIST_ITEM& TFormMain::ActiveTemplate() {
    return rbQueueMinus->isChecked() ? model_.QueueMinus : model_.QueuePlus;
}

QListWidget* TFormMain::ActiveListBox() const {
    return rbQueueMinus->isChecked() ? lbQueueM : lbQueue;
}

void TFormMain::bnItemAddClick() {
    const int entry = cbItemAdd->currentIndex();
    if (entry < 0)
        return;
    QueueItem item;
    if (!MakeQueueElement(model_.Race, entry, editItemAdd->edit()->text().toStdString(), item))
        return;
    // The line is added only when the element is, so the list box keeps mirroring it.
    if (ActiveTemplate().Append(&item) == LIST_OK)
        ActiveListBox()->addItem(LineText(item));
}

void TFormMain::bnQueueDelClick() {
    QListWidget* list = ActiveListBox();
    const int line = SelectedLine(list);
    if (line < 0)
        return;
    ActiveTemplate().RemoveAt(line + 1);
    delete list->takeItem(line);
    list->setCurrentRow(-1); // no new selection
}

void TFormMain::bnQueueClearClick() {
    ActiveTemplate().Clear();
    ActiveListBox()->clear();
}

void TFormMain::bnQueueUpClick() {
    QListWidget* list = ActiveListBox();
    const int line = SelectedLine(list);
    if (line <= 0)
        return;
    LIST_ITEM& queue = ActiveTemplate();
    QueueItem moved{};
    queue.CopyAt(&moved, line + 1);
    queue.RemoveAt(line + 1);
    if (queue.InsertAt(&moved, line) != LIST_OK) {
        delete list->takeItem(line); // the element is gone; keep the list box in step
        return;
    }
    MoveLine(list, line, line - 1);
}

void TFormMain::bnQueueDownClick() {
    QListWidget* list = ActiveListBox();
    const int line = SelectedLine(list);
    if (line < 0 || line >= list->count() - 1)
        return;
    LIST_ITEM& queue = ActiveTemplate();
    QueueItem moved{};
    queue.CopyAt(&moved, line + 1);
    queue.RemoveAt(line + 1);
    if (queue.InsertAt(&moved, line + 2) != LIST_OK) {
        delete list->takeItem(line);
        return;
    }
    MoveLine(list, line, line + 1);
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
