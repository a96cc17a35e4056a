// Quendal: the window of the planet calculator. `quendal FILE` opens a calculation file
// (*.cal) or, for a name ending in .urc, loads a race description, as the window's buttons
// would; the other arguments are the window framework's. The one setting kept is the window's
// language, when one is chosen on the About tab.
#include <cstdlib>
#include <exception>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QStringList>

#include "app/application.h"
#include "app/form_main.h"

namespace {

// Qt warns on stderr when the session gives no runtime folder (as under a bare X server or
// sudo); provide the private one it would fall back to, so the start stays quiet.
void EnsureRuntimeDir() {
    if (std::getenv("XDG_RUNTIME_DIR"))
        return;
    const std::string dir = "/tmp/runtime-" + std::to_string(getuid());
    struct stat info;
    if (mkdir(dir.c_str(), 0700) != 0 && (stat(dir.c_str(), &info) != 0 || info.st_uid != getuid()))
        return;
    chmod(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
}

} // namespace

int main(int argc, char* argv[]) {
    EnsureRuntimeDir();
    quendal::QuendalApplication app(argc, argv);
    try {
        quendal::TFormMain form;
        form.show();
        const QStringList args = QCoreApplication::arguments();
        if (args.size() > 1) {
            const QString path = QFileInfo(args.at(1)).absoluteFilePath();
            if (path.endsWith(QStringLiteral(".urc"), Qt::CaseInsensitive))
                form.OpenRaceFile(path);
            else
                form.OpenCalcFile(path);
        }
        app.exec();
    } catch (const std::exception& error) {
        app.ReportException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        app.ReportException(QStringLiteral("Unknown exception"));
    }
    return 0;
}
