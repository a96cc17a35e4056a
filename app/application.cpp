#include "app/application.h"

#include <exception>

#include <QMessageBox>

#include "app/window_language.h"

namespace quendal {

QuendalApplication::QuendalApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quendal"));
    setOrganizationName(QStringLiteral("Quendal"));
    setDesktopFileName(QStringLiteral("org.quendal.Quendal"));
    // The window's texts and Qt's own (file dialogs, message boxes, context menus) in the
    // language chosen on the About tab, or the system's.
    SetWindowLanguage(StartLanguage());
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
