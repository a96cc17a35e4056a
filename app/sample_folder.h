#pragma once

#include <QString>

class QDir;

namespace quendal {

// The folder that the race and planet-list dialogs open in: `data` under the working
// directory, or the sample files installed with the program when there is no such folder.
QString SampleFolder();

// The same rule for a given working directory and installed sample folder.
QString SampleFolder(const QDir& workingDir, const QString& installedSamples);

} // namespace quendal
