#pragma once
// The shell's side of files: display names, the folder picker, shell
// copies, version information, the system folders and drive readiness.
#include <string>
#include <vector>

#include "app/boxes.h"

// The name the shell shows for the path; an extension the shell hides is
// put back from the path.
std::string VOFileDisplayName(const std::string& path);
// The full path with each component replaced by its display name.
std::string VODirDisplayName(const std::string& path);

// The folder the user picks, starting at `startFolder`; empty when cancelled.
std::string VODirectoryPicker(BoxOwner owner, const std::string& caption, const std::string& startFolder);

// A shell copy without questions; `severalTargets` when the target names a
// file per source. True when the copy ran and nothing was aborted.
bool VOSHCopy(const std::string& source, const std::string& target, bool severalTargets);
// Copies sourceNames[i] from one folder to targetNames[i] in the other, in
// one shell operation; the lists are walked by the source names.
bool VOSHCopy2(const std::string& sourceDirectory, const std::string& targetDirectory,
               const std::vector<std::string>& sourceNames, const std::vector<std::string>& targetNames);

// The value at `query` (such as "\StringFileInfo\040904E4\FileVersion") of
// the file's version resource; empty when there is none.
std::string VOGetFileVSInfo(const std::string& file, const std::string& query);

std::string VOGetSystemDir();
std::string VOGetWindowsDir();

// True when the drive ("D" or "D:") can be made current; otherwise asks
// whether to try again, and false after No. The current folder is kept.
bool VOIsDriveReady(BoxOwner owner, const std::string& drive);
