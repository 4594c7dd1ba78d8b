#include "app/globals.h"

namespace {
struct Globals {
  std::string applicationName;
  std::string release;
  std::uint16_t language = 0;
  std::string errorFile = "VOError.log";
  std::string errorRemark;
  bool errorInProgress = false;
  std::string indexCreated;
};

Globals& G() {
  static Globals globals;
  return globals;
}
}  // namespace

std::string ApplicationNameGet() { return G().applicationName; }
std::string ApplicationNameSet(const std::string& name) { return G().applicationName = name; }

std::string AppReleaseGet() { return G().release; }
std::string AppReleaseSet(const std::string& release) { return G().release = release; }

std::uint16_t LanguageGet() { return G().language; }
std::uint16_t LanguageSet(std::uint16_t language) { return G().language = language; }

std::string ErrorFileGet() { return G().errorFile; }
std::string ErrorFileSet(const std::string& fileName) { return G().errorFile = fileName; }

std::string ErrorRemarkGet() { return G().errorRemark; }
std::string ErrorRemarkSet(const std::string& remark) { return G().errorRemark = remark; }

bool GlobalErrorGet() { return G().errorInProgress; }
bool GlobalErrorSet(bool inProgress) { return G().errorInProgress = inProgress; }

std::string IndexCreatedGet() { return G().indexCreated; }
std::string IndexCreatedSet(const std::string& fileName) { return G().indexCreated = fileName; }

std::string Ret_Build() { return ApplicationNameGet() + ", Release : " + AppReleaseGet(); }

std::string ReleaseFromBuildDate(const std::string& d) {
  if (d.size() != 8) return " Build " + d;
  return " Build " + d.substr(0, 4) + "." + d.substr(4, 2) + "." + d.substr(6, 2);
}
