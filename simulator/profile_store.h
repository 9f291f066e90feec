// The player's configuration file in its profile folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The file's bytes; empty when there is no file. Throws std::runtime_error when it exists but
// cannot be read.
std::vector<uint8_t> ReadProfileFile(const std::wstring& path);

// Replaces the file in one step: the bytes go to a temporary file in the same folder, which
// then takes the file's place, so an interrupted save leaves the previous file whole.
// Throws std::runtime_error on failure, with the previous file untouched.
void SaveProfileFile(const std::wstring& path, const std::vector<uint8_t>& bytes);
