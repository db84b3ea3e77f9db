// Replacing a file as a whole: whoever reads it sees the old content or the new, never a part.
#pragma once

#include <filesystem>
#include <functional>

namespace drawfollow {

// The file a path names once symbolic links are followed (a dangling link names its missing
// target), so that writing through a link replaces the file it points to and keeps the link.
// Throws std::system_error for a loop of links.
std::filesystem::path linkTarget(const std::filesystem::path& path);

// `write` fills a temporary file beside the file `target` names, which then takes that
// file's place in one rename, with the permissions the replaced file had; a failure leaves
// the old file as it was, and the temporary file never outlives it. Whatever `write` throws
// passes through; a file that cannot be replaced throws std::system_error with a message
// naming it. A target inside `dataFolder` (when one is given) whose links lead outside it
// throws StoreError before anything is written: anyone who could plant a link there must not
// make the program overwrite another file.
void replaceFile(const std::filesystem::path& target,
                 const std::function<void(const std::filesystem::path& temporary)>& write,
                 const std::filesystem::path& dataFolder = {});

}  // namespace drawfollow
