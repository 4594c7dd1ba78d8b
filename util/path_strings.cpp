#include "util/path_strings.h"

std::string TrimTrailingBlanks(const std::string& text) {
  const std::string::size_type end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string VORetFullPath(const std::string& directory) {
  if (directory.empty() || directory.back() == '\\') return directory;
  return directory + '\\';
}

std::string VORetFileDir(const std::string& file) {
  const std::string::size_type slash = file.rfind('\\');
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string VORetFileName(const std::string& file) {
  const std::string::size_type slash = file.rfind('\\');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

std::string VOChangePathFile(const std::string& file, const std::string& directory) {
  std::string result = directory;
  if (result.empty() || result.back() != '\\') result += '\\';
  return result + VORetFileName(file);
}

std::string VOChangeExtFile(const std::string& file, const std::string& extension) {
  // A dot in a folder name is not an extension: cutting there would name a
  // different file in a different folder.
  const std::string::size_type slash = file.rfind('\\');
  const std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::string::size_type dot = file.rfind('.');
  std::string result = (dot != std::string::npos && dot >= nameStart) ? file.substr(0, dot) : file;
  if (extension.find('.') == std::string::npos) result += '.';
  return result + extension;
}
