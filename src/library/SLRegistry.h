#pragma once
// The registry routines: the only way the program's own code reads and writes
// the registry. Each call opens its key, does its one job and closes it again.
// None of them throws or reports: a read that cannot be done returns its
// default, a write or delete that cannot be done does nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

std::string ReadRegString(RegHive root, const std::string& key, const std::string& name,
                          const std::string& defaultValue);
bool ReadRegBool(RegHive root, const std::string& key, const std::string& name, bool defaultValue);
int32_t ReadRegInteger(RegHive root, const std::string& key, const std::string& name,
                       int32_t defaultValue);
// Value names of key\subKey in registry order; empty when either key is missing.
std::vector<std::string> ReadRegValueNames(RegHive root, const std::string& key,
                                           const std::string& subKey);

void WriteRegString(RegHive root, const std::string& key, const std::string& name,
                    const std::string& text);
void WriteRegBool(RegHive root, const std::string& key, const std::string& name, bool flag);
void WriteRegInteger(RegHive root, const std::string& key, const std::string& name,
                     int32_t number);
// Deletes key\subKey with everything below it, creates it anew and writes one
// value per string, in order, named by the string with an empty string as data.
void WriteRegValueNames(RegHive root, const std::string& key, const std::string& subKey,
                        const std::vector<std::string>& names);

bool RegValueExists(RegHive root, const std::string& key, const std::string& name);
void DeleteRegValue(RegHive root, const std::string& key, const std::string& name);
// Replaces the list's contents with the key's sub-key names, in registry order.
void GetRegKeyNames(RegHive root, const std::string& key, std::vector<std::string>& list);
void DeleteRegSubKeys(RegHive root, const std::string& key);
void DeleteRegValues(RegHive root, const std::string& key);
