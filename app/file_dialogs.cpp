#include "app/file_dialogs.h"

#include <QFileDialog>

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

} // namespace quendal
