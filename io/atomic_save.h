#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendal {

// Writes `bytes` to a new file beside `path` (".quendal-save-XXXXXX"), flushes it to the disk
// and renames it over `path`, so that a failed or interrupted write (a full disk, a folder
// that cannot be written) leaves any older file whole. A `path` that is a symbolic link (or a
// chain of them) is written where the link leads, beside that file, and stays a link; a link
// to a file not there yet creates it. The new file gets the permissions of the file it
// replaces, or those an ordinary new file gets (0666 less the process's mask, which is read
// and never set where the system tells it). Returns why it failed, if it did.
std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes);

} // namespace quendal
