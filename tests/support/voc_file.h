// Test sound files in the VOC form the game reads: a 26-byte header and one sound-data block.
// Write them with write_bmp_bytes (bmp_file.h), which writes any bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Offsets inside a file made by make_voc_bytes, for tests that damage one field.
constexpr size_t VOC_TEST_HEADER_SIZE_OFFSET = 20;  // 16-bit header size, 26
constexpr size_t VOC_TEST_LENGTH_OFFSET = 27;       // 24-bit block length: samples + 2
constexpr size_t VOC_TEST_SAMPLES_OFFSET = 32;      // after time constant and pack byte

// count samples of an audible 8-bit unsigned pattern (a ramp around the middle, 128).
std::vector<uint8_t> make_voc_samples(size_t count);

// The whole file: "Creative Voice File\x1A", header size 26, version 0x010A, check word 0x1129,
// one type-1 block (length = samples + 2, time constant, pack 0, samples) and the terminator 0.
std::vector<uint8_t> make_voc_bytes(const std::vector<uint8_t>& samples,
                                    uint8_t time_constant = 165);

// Writes the game's twelve sound files into dir, count samples each; false when one cannot be
// written.
bool write_game_sound_files(const std::string& dir, size_t count);
