// Option values by name: formats, fields, encodings, column targets.
#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "cli/Convert.h"

template <typename T>
struct TNamedValue {
  const char* name;
  T value;
};

// The value of the name (letter case ignored); EUsageError naming what is
// wanted and the choices when no entry has it.
template <typename T, size_t N>
T ValueNamed(const TNamedValue<T> (&table)[N], const std::string& name, const char* what) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string choices;
  for (const TNamedValue<T>& entry : table) {
    if (lower == entry.name) return entry.value;
    choices += choices.empty() ? "" : ", ";
    choices += entry.name;
  }
  throw EUsageError("unknown " + std::string(what) + " '" + name + "' (one of: " + choices + ")");
}

// The names of a comma-separated list, blanks around them removed; empty
// names are dropped.
std::vector<std::string> SplitNames(const std::string& list);
