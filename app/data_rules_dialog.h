#pragma once
// "Data rules...": the list of rules, the fields of the selected one, and a
// Try field that shows at once what a sample record would type.
#include <windows.h>

#include <vector>

#include "app/data_rules.h"

// Shows the dialog over `rules`. OK checks every rule and saves them (then
// `rules` holds them and the result is true); Cancel changes nothing.
bool EditDataRules(HWND owner, std::vector<DataRule>& rules);
