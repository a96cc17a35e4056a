#include "app/save_file.h"

#include <QSaveFile>

namespace quendal {

bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    // QSaveFile::commit does not notice a failure of the flush its close does (the buffered
    // bytes then never reach the disk) and would rename a cut file over the old one: flush
    // first, and give up the new file when that fails.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit())
        return true;
    error = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace quendal
