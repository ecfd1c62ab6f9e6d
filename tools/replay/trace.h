// The JSON Lines of a replay trace: a first line naming the sounds, then one line per poll with
// the game's state as it is when the frame that polled has finished.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/headless/control.h"

namespace replay {

// Which slot each sound buffer the game has held lives in. Released buffers are remembered, so
// a stop in the frame that releases the sounds still names its slot.
class SoundSlotNames {
  public:
    void refresh();
    // The slot index, or -1 for a buffer never seen in a slot.
    int slot_of(const platform::SoundBuffer* buffer) const;

  private:
    std::map<const platform::SoundBuffer*, int> slots_;
};

// {"ids": {"menu_up": 0, ...}, "slots": [{"slot": 0, "bytes": n, "rate": r, "length": l}, ...]}
std::string header_line();

// {"poll": k, "t": ms, "state": ..., "sounds": [...]} with the game's state now and the events
// given (plays, stops and volume changes; positions are left out).
std::string poll_line(uint64_t poll, uint64_t time, const SoundSlotNames& names,
                      const std::vector<platform::headless::SoundEvent>& events);

}  // namespace replay
