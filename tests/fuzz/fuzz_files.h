// What every harness needs: a fresh headless platform whose only data directory is a scratch
// directory, and a way to put the fuzzer's bytes there as a named file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Sets the platform up the first time (window, display, data directory); later calls only
// return the directory.
const std::string& fuzz_data_dir();

// Writes the bytes as dir/name; aborts when it cannot (a fault of the machine, not the game).
void fuzz_write_file(const char* name, const uint8_t* data, size_t size);

// A small generator for the harnesses' own choices, seeded from the input.
struct FuzzRandom {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};
uint32_t fuzz_hash(const uint8_t* data, size_t size);
