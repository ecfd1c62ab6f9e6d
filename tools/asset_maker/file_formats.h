// Writers for the two file formats the game reads: 8-bit BMP and Creative Voice (VOC).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "palette.h"

constexpr int BMP_PIXEL_OFFSET = 14 + 40 + 256 * 4;
constexpr int VOC_SAMPLE_RATE = 11025;
// 256 - 1,000,000 / 11,025, rounded down: what players of the format expect for 11 kHz.
constexpr int VOC_TIME_CONSTANT = 165;
// The game reads at most this many bytes of a sound file.
constexpr size_t VOC_MAX_FILE_BYTES = 640000;

// Bottom-up rows, 256-entry colour table; the width must be a multiple of 4 (no row padding).
std::vector<uint8_t> encode_bmp(const IndexedImage& image);
// 26-byte header, one sound-data block of unsigned 8-bit mono samples, terminator.
std::vector<uint8_t> encode_voc(const std::vector<uint8_t>& samples);

// Throws std::runtime_error when the file cannot be written whole.
void write_file(const std::string& path, const std::vector<uint8_t>& bytes);
