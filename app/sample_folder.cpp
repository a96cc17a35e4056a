#include "app/sample_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quendal {

QString SampleFolder() {
    // QUENDAL_SAMPLES_FROM_BIN: the installed samples relative to the installed program, so
    // that the rule holds for any installation prefix.
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral(QUENDAL_SAMPLES_FROM_BIN));
    return SampleFolder(QDir::current(), QDir::cleanPath(installed));
}

QString SampleFolder(const QDir& workingDir, const QString& installedSamples) {
    const QString local = workingDir.filePath(QStringLiteral("data"));
    if (!QFileInfo(local).isDir() && QFileInfo(installedSamples).isDir())
        return installedSamples;
    return local;
}

} // namespace quendal
