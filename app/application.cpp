#include "app/application.h"

#include <exception>

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace quendal {

QuendalApplication::QuendalApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Quendal"));
    setDesktopFileName(QStringLiteral("org.quendal.Quendal"));
    // Qt's own texts (file dialogs, message boxes, context menus) in Russian, like the window.
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral("qtbase_ru"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
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
