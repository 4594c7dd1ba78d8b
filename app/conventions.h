#pragma once
// Number and date conventions of the whole process. App::Initialize fixes
// them once; library routines read them here and never consult the user's
// regional settings.
#include <string>

struct Conventions {
  std::string dateFormat;  // e.g. "DD/MM/YYYY"
  bool century = false;    // four-digit years
  int epoch = 1900;        // two-digit years fall into [epoch, epoch + 99]
  char decimalSep = '.';
  char thousandsSep = ',';
  char timeSep = ':';
  bool amPm = true;
  bool fixedDigits = false;
  int digits = 10;    // positions before the decimal separator
  int decimals = 2;   // decimal places for numbers turned into text
  double floatDelta = 0.0;  // numbers closer than this count as equal
};

const Conventions& ConventionsGet();

// The fixed, locale-independent set: "DD/MM/YYYY", epoch 1970, ",", ".",
// 20 digits, 4 decimals, 1e-8 tolerance, 24-hour time with ":".
void ConventionsSetFixed();
