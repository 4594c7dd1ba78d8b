#pragma once
// The application object: start-up, the network refusal, and the main loop.
#include <string>

class App {
 public:
  // The program's main routine; returns when the main window has closed.
  int Start();
  // False (after telling the user) when run from a network location.
  bool StartInit();
  // The same check for a given program directory.
  bool StartInitFor(const std::string& directory);
  // Conventions, global settings and the shared registry object.
  void Initialize();
};

// The refusal shown when the program runs from a network location.
extern const char* const kNetworkRefusalText;
// The error when the main window cannot be built (Indonesian, English).
extern const char* const kNoWindowText;
extern const char* const kNoWindowTextEnglish;
