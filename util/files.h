#pragma once
// Files: existence, deleting, renaming and copying with the user kept
// informed by error boxes, the retrying forms that wait for a busy file,
// sizes, and clearing a folder's plain files. Sizes are 64-bit.
#include <cstdint>
#include <string>

#include "app/boxes.h"

// True when the path exists and is not a plain directory: a directory with
// any attribute beside the directory bit counts as a file.
bool VOFile(const std::string& path);

// Deletes the file; true when it is gone (a missing file is true at once).
// A failed delete shows an error box in the current language.
bool VOFErase(BoxOwner owner, const std::string& file);
// VOFErase until it works, every 500 ms, with a progress window counting the
// tries; after `maxTries` failed tries the application ends.
bool VOFEraseEx(BoxOwner owner, const std::string& file, std::uint16_t maxTries);

// Renames source to target, replacing an existing target in the same step:
// a failed rename leaves the old target as it was. A target that cannot be
// replaced shows VOFErase's box.
bool VOFRename(BoxOwner owner, const std::string& source, const std::string& target);
// VOFRename retried as VOFEraseEx retries a delete; ends the application
// after the last failed try.
bool VOFRenameEx(BoxOwner owner, const std::string& source, const std::string& target, std::uint16_t maxTries);

// Copies source to target, asking before an overwrite when `ask`, refusing
// when the free space of the volume of the target's full path is not more
// than the file's size (no refusal when the space cannot be asked). An old
// target is replaced only by a complete copy; a failed copy leaves it.
bool VOFCopy(BoxOwner owner, const std::string& source, const std::string& target, bool useShell, bool ask);

// Size in bytes of the first file matching the name (wildcards allowed,
// hidden files included); 0 when nothing matches.
std::uint64_t VOFileSize(const std::string& file);

// Deletes every plain file of the directory (no subfolders, no hidden,
// system, temporary or compressed files); false at the first failure.
bool VOFEraseAll(BoxOwner owner, const std::string& directory);

// The free-space query VOFCopy uses: bytes free to the caller on the volume
// whose root is given ("C:\", "\\server\share\"); false when it cannot be
// asked. Replaceable, so a test can play a nearly full drive.
using FreeSpaceQuery = bool (*)(const std::string& root, std::uint64_t& freeBytes);
FreeSpaceQuery SetFreeSpaceQuery(FreeSpaceQuery query);
