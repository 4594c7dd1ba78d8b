#pragma once
// Path texts taken apart and put together. Paths are plain 8-bit text; a
// directory path "with separator" ends in a backslash.
#include <string>

// The text without its trailing blanks.
std::string TrimTrailingBlanks(const std::string& text);

// Empty stays empty; otherwise a backslash is added unless it ends in one.
std::string VORetFullPath(const std::string& directory);
// Everything up to and including the last backslash; empty without one.
std::string VORetFileDir(const std::string& file);
// Everything after the last backslash; the whole path without one.
std::string VORetFileName(const std::string& file);
// The directory with separator + the file-name part of the file.
std::string VOChangePathFile(const std::string& file, const std::string& directory);
// The file with its extension replaced. Only a "." in the file-name part
// counts: "C:\a.b\file" with "txt" gives "C:\a.b\file.txt", never "C:\a.txt".
// The extension may be given with or without its dot.
std::string VOChangeExtFile(const std::string& file, const std::string& extension);
