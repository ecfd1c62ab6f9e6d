// A hostile layout file, loaded into the well and played for a few hundred updates with input
// the fuzzer's bytes choose; after every update the well's rules must hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/game_state.h"
#include "common/random.h"
#include "fuzz_files.h"
#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "input/input_device.h"
#include "support/play_watch.h"

namespace {

constexpr int UPDATES = 400;

void New_Game(FuzzRandom* random) {
    well = Walled_Well();
    clear_phase = full_row_count = flash_tick = flash_count = 0;
    score = lines_total = level_lines = clears_of_3 = clears_of_4 = clears_of_6 = 0;
    rotate_delay = move_repeat = last_dx = 0;
    level = int(random->next() % 10);
    game_type = int(random->next() % 2);
    Set_Game_Type(game_type);
    Random_Seed(random->next());
    piece = Piece{};
    Reset_Piece(&piece);
    game_state = FLOW_PLAYING;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_data_dir();
    fuzz_write_file("playf1.xpf", data, size);
    FuzzRandom random{fuzz_hash(data, size)};
    New_Game(&random);
    Load_Playfield(0);
    PlayWatch watch;
    watch.start();
    for (int update = 0; update < UPDATES && game_state == FLOW_PLAYING; update++) {
        const uint32_t choice = random.next();
        input_state = InputState{};
        input_state.dx = int(choice % 5) - 2;
        input_state.dy = int(choice / 5 % 5) - 2;
        input_state.buttons = (choice >> 8) & (INPUT_BUTTON_1 | INPUT_BUTTON_2);
        Update_Play(&piece);
        const std::string broken = watch.check();
        if (!broken.empty()) {
            std::fprintf(stderr, "update %d: %s\n", update, broken.c_str());
            std::abort();
        }
    }
    return 0;
}
