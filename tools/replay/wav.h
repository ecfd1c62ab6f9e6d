// The sound recording of a replay: 16-bit mono PCM in a WAV file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// False when the file cannot be written whole.
bool write_wav(const std::string& path, const std::vector<int16_t>& samples, int rate);

}  // namespace replay
