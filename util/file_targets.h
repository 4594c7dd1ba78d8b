#pragma once
// What copying and renaming need to know about a target before they touch
// it: its full path, the volume that will hold it, and a staging file beside
// it, so an old target is replaced only by a complete new one.
#include <string>

// The absolute form of a path (relative to the current folder); the path
// itself when the system cannot make one.
std::string FullPath(const std::string& path);

// The drive ("C") or share ("\\server\share") that holds a path, and the
// root a free-space query takes ("C:\", "\\server\share\").
struct Volume {
  std::string name;
  std::string root;
};
Volume VolumeOf(const std::string& path);

// A fresh, uniquely named file in the target's folder. It is deleted when it
// goes out of scope unless it has taken the target's place.
class StagingFile {
 public:
  explicit StagingFile(const std::string& target);
  ~StagingFile();
  StagingFile(const StagingFile&) = delete;
  StagingFile& operator=(const StagingFile&) = delete;

  // Empty when no name could be reserved (a missing or read-only folder).
  const std::string& Path() const { return path_; }
  // Puts the staged file in the target's place in one step; true when done.
  bool ReplaceTarget();

 private:
  std::string path_;
  std::string target_;
};
