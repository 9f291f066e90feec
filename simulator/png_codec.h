// PNG files through the system's imaging codecs (the Windows Imaging Component).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width * height pixels, three bytes each, rows from the top. Answers false
// when the codec or the file fails.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

// Decodes a PNG file into the same layout; false when it cannot be read.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgb);
