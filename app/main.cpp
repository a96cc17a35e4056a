// Quendal: the window of the planet calculator. Command-line arguments are left to the
// window framework; the program reads no file and no setting at start and writes none.
#include <exception>

#include "app/application.h"
#include "app/form_main.h"

int main(int argc, char* argv[]) {
    quendal::QuendalApplication app(argc, argv);
    try {
        quendal::TFormMain form;
        form.show();
        app.exec();
    } catch (const std::exception& error) {
        app.ReportException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        app.ReportException(QStringLiteral("Unknown exception"));
    }
    return 0;
}
