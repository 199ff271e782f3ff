#pragma once
// Behaviour every registry implementation must show, as a table of cases that
// take the registry to test. Each case works below its own key of HKCU and
// expects that key to be missing when it starts.
#include <string>
#include <vector>

#include "platform/Registry.h"

struct RegistryContractCase {
  const char* name;
  void (*run)(IRegistry& registry, const std::string& base);
};

const std::vector<RegistryContractCase>& RegistryContractCases();

// Every key below `path` with its values, in enumeration order, as text; for
// comparing whole trees.
std::string DumpKey(IRegistry& registry, RegHive hive, const std::string& path);
