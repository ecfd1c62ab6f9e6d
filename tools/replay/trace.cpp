#include "trace.h"

#include <functional>

#include "common/game_state.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "game/well.h"
#include "platform/common/mixer.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"

namespace replay {
namespace {

using platform::headless::SoundEvent;

struct SoundName {
    const char* name;
    const int* id;
};

// Catalogue order.
const SoundName sound_names[] = {
    {"menu_up", &sound_menu_up},
    {"menu_down", &sound_menu_down},
    {"menu_select", &sound_menu_select},
    {"intro", &sound_intro},
    {"line", &sound_line},
    {"lock", &sound_lock},
    {"next_level", &sound_next_level},
    {"loser", &sound_loser},
    {"song", &sound_song},
    {"voice", &sound_voice},
    {"trail", &sound_trail},
    {"splash", &sound_splash},
};

// Appends "name": value with the separator before it unless it opens an object.
class Fields {
  public:
    explicit Fields(std::string* out) : out_(*out) { out_ += '{'; }
    Fields& number(const char* name, int64_t value) {
        key(name);
        out_ += std::to_string(value);
        return *this;
    }
    Fields& text(const char* name, const std::string& value) {
        key(name);
        out_ += '"' + value + '"';
        return *this;
    }
    // The raw JSON of a nested value.
    Fields& raw(const char* name, const std::string& json) {
        key(name);
        out_ += json;
        return *this;
    }
    void close() { out_ += '}'; }

  private:
    void key(const char* name) {
        if (!first_) {
            out_ += ", ";
        }
        first_ = false;
        out_ += '"';
        out_ += name;
        out_ += "\": ";
    }
    std::string& out_;
    bool first_ = true;
};

std::string object(const std::function<void(Fields&)>& fill) {
    std::string out;
    Fields fields(&out);
    fill(fields);
    fields.close();
    return out;
}

std::string piece_json() {
    std::string grid;
    for (int row = 0; row < SHAPE_SIZE; ++row) {
        for (int column = 0; column < SHAPE_SIZE; ++column) {
            grid += piece.body.grid[row][column] != 0 ? '1' : '0';
        }
    }
    return object([&](Fields& f) {
        f.number("state", piece.state)
            .number("x", piece.x)
            .number("y", piece.y)
            .number("speed", piece.speed)
            .number("lock_delay", piece.lock_delay)
            .number("shape", piece.shape)
            .number("next", piece.next_shape)
            .number("image", piece.body.image)
            .text("grid", grid);
    });
}

std::string clear_json() {
    std::string rows = "[";
    int count = full_row_count < 0               ? 0
                : full_row_count > MAX_FULL_ROWS ? MAX_FULL_ROWS
                                                 : full_row_count;
    for (int i = 0; i < count; ++i) {
        rows += (i > 0 ? ", " : "") + std::to_string(full_rows[i]);
    }
    rows += ']';
    return object([&](Fields& f) {
        f.number("phase", clear_phase)
            .raw("rows", rows)
            .number("tick", flash_tick)
            .number("flash", flash_count);
    });
}

// Cell values 0..31 as one base-32 digit each; anything else would be a fault, shown as '?'.
std::string well_json() {
    static const char digits[] = "0123456789abcdefghijklmnopqrstuv";
    std::string out = "[";
    for (int row = 0; row < WELL_ROWS; ++row) {
        out += row > 0 ? ", \"" : "\"";
        for (int column = 0; column < WELL_COLUMNS; ++column) {
            int value = well[row][column].value;
            out += value >= 0 && value < 32 ? digits[value] : '?';
        }
        out += '"';
    }
    return out + ']';
}

std::string menu_json() {
    return object([](Fields& f) {
        f.number("cursor", menu_cursor)
            .number("playfield", playfield_number)
            .number("type", game_type)
            .number("music", music_volume)
            .number("effects", effects_volume);
    });
}

std::string sounds_json(const SoundSlotNames& names, const std::vector<SoundEvent>& events) {
    std::string out = "[";
    bool first = true;
    for (const SoundEvent& event : events) {
        std::string id = std::to_string(names.slot_of(event.buffer));
        std::string entry;
        if (event.kind == SoundEvent::Kind::Play) {
            entry = "[\"play\", " + id + ", " + std::to_string(event.value) + "]";
        } else if (event.kind == SoundEvent::Kind::Stop) {
            entry = "[\"stop\", " + id + "]";
        } else if (event.kind == SoundEvent::Kind::Volume) {
            entry = "[\"volume\", " + id + ", " + std::to_string(event.value) + "]";
        } else {
            continue;
        }
        out += (first ? "" : ", ") + entry;
        first = false;
    }
    return out + ']';
}

}  // namespace

void SoundSlotNames::refresh() {
    for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) {
        if (sound_slots[slot].buffer != nullptr) {
            slots_[sound_slots[slot].buffer] = slot;
        }
    }
}

int SoundSlotNames::slot_of(const platform::SoundBuffer* buffer) const {
    auto found = slots_.find(buffer);
    return found == slots_.end() ? -1 : found->second;
}

std::string header_line() {
    std::string ids = object([](Fields& f) {
        for (const SoundName& sound : sound_names) {
            f.number(sound.name, *sound.id);
        }
    });
    std::string slots = "[";
    bool first = true;
    for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) {
        const SoundSlot& s = sound_slots[slot];
        if (s.in_use == 0) {
            continue;
        }
        // A claimed slot whose buffer could not be made holds no bytes.
        int64_t bytes =
            platform::common::buffer_alive(s.buffer) ? int64_t(s.buffer->samples.size()) : 0;
        slots += (first ? "" : ", ") + object([&](Fields& f) {
                     f.number("slot", slot)
                         .number("bytes", bytes)
                         .number("rate", s.rate)
                         .number("length", s.length);
                 });
        first = false;
    }
    slots += ']';
    return object([&](Fields& f) { f.raw("ids", ids).raw("slots", slots); });
}

std::string poll_line(uint64_t poll, uint64_t time, const SoundSlotNames& names,
                      const std::vector<SoundEvent>& events) {
    return object([&](Fields& f) {
        f.number("poll", int64_t(poll))
            .number("t", int64_t(time))
            .number("state", game_state)
            .number("in_progress", game_in_progress)
            .raw("piece", piece_json())
            .number("score", score)
            .number("lines", lines_total)
            .number("level", level)
            .number("level_lines", level_lines)
            .number("c3", clears_of_3)
            .number("c4", clears_of_4)
            .number("c6", clears_of_6)
            .raw("clear", clear_json())
            .raw("well", well_json())
            .raw("menu", menu_json())
            .raw("sounds", sounds_json(names, events));
    });
}

}  // namespace replay
