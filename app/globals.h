#pragma once
// Process-wide settings, reached only through their getter/setter pairs.
// Written on the main thread only; the comm watcher never touches them.
#include <cstdint>
#include <string>

std::string ApplicationNameGet();
std::string ApplicationNameSet(const std::string& name);

std::string AppReleaseGet();
std::string AppReleaseSet(const std::string& release);

// 1 Indonesian, 2 English; any other value behaves as 1.
std::uint16_t LanguageGet();
std::uint16_t LanguageSet(std::uint16_t language);

std::string ErrorFileGet();
std::string ErrorFileSet(const std::string& fileName);

std::string ErrorRemarkGet();
std::string ErrorRemarkSet(const std::string& remark);

bool GlobalErrorGet();
bool GlobalErrorSet(bool inProgress);

std::string IndexCreatedGet();
std::string IndexCreatedSet(const std::string& fileName);

// Application name + ", Release : " + release text.
std::string Ret_Build();

// " Build YYYY.MM.DD" from a build date "YYYYMMDD".
std::string ReleaseFromBuildDate(const std::string& yyyymmdd);
