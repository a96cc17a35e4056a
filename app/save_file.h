#pragma once

#include <QByteArray>
#include <QString>

namespace quendal {

// Writes `bytes` to a new file beside `path` and renames it over `path`, so that a failed or
// interrupted write (a full disk, a folder that cannot be written) leaves any older file whole.
// On failure returns false and the reason in `error`.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString& error);

} // namespace quendal
