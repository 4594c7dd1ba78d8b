#include "app/conventions.h"

namespace {
Conventions& Current() {
  static Conventions conventions;
  return conventions;
}
}  // namespace

const Conventions& ConventionsGet() { return Current(); }

void ConventionsSetFixed() {
  Conventions& c = Current();
  // Locale-independent base first (time separator, 24-hour clock), then the rest.
  c.timeSep = ':';
  c.amPm = false;
  c.century = true;
  c.fixedDigits = true;
  c.digits = 20;
  c.floatDelta = 0.00000001;
  c.dateFormat = "DD/MM/YYYY";
  c.decimalSep = ',';
  c.thousandsSep = '.';
  c.epoch = 1970;
  c.decimals = 4;
}
