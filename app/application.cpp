#include "app/application.h"

#include <exception>

#include <QMessageBox>

namespace quendal {

QuendalApplication::QuendalApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quendal"));
    setDesktopFileName(QStringLiteral("quendal"));
}

bool QuendalApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportException(QStringLiteral("Unknown exception"));
    }
    return false;
}

void QuendalApplication::ReportException(const QString& message) {
    if (reporter_)
        reporter_(message);
    else
        QMessageBox::critical(activeWindow(), applicationName(), message);
}

} // namespace quendal
