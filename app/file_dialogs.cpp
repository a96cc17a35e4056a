#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quendal {

// An open dialog only accepts an existing file (QFileDialog::ExistingFile).
QString QtFileDialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                       const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtFileDialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                       const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void QtFileDialogs::showError(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::warning(parent, caption, text);
}

} // namespace quendal
