#pragma once
// A fresh folder under the Wine prefix's temporary folder for one test,
// removed with everything in it afterwards.
#include <windows.h>

#include <string>

#include "app/globals.h"

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with its final backslash.
  const std::string& Path() const { return path_; }
  // Creates `name` in the folder with `content`; returns its full path.
  std::string File(const std::string& name, const std::string& content = "data") const;

 private:
  std::string path_;
};

// Sets the language for one scope.
class LanguageScope {
 public:
  explicit LanguageScope(std::uint16_t language) : saved_(LanguageGet()) { LanguageSet(language); }
  ~LanguageScope() { LanguageSet(saved_); }
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;

 private:
  std::uint16_t saved_;
};
