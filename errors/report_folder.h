#pragma once
// Where the error log, its screen pictures and the trace log are written:
// beside the executable, or, where that folder cannot be written (a user
// under "C:\Program Files", with no virtualisation for a program with a
// manifest), in the user's local application data.
#include <string>

// The folder the reports go to, ending in a backslash.
std::string ReportFolder();

// The choice itself: `programDirectory` when a file can be created there,
// otherwise `localAppData` + "TV-SERKEY\" (made when missing). Should that
// fail too, `programDirectory`: the report is then skipped as before.
std::string ReportFolderFor(const std::string& programDirectory, const std::string& localAppData);

// The executable's folder, as ReportFolder() compares it.
std::string ReportProgramFolder();

// The line that opens a log written away from the executable's folder:
// where it is, and why.
std::string ReportMovedLine(const std::string& path);

// The folder taken as the executable's; empty (the default) for the real
// one. A test puts a folder here that cannot be written.
void ReportProgramFolderUse(const std::string& directory);
