// Watches the rules' globals from one look to the next and says which rule of the well broke.
// Needs nothing of the test framework, so the fuzz harnesses use it too.
#pragma once
#include <string>

#include "game/piece.h"
#include "game/well.h"

class PlayWatch {
  public:
    // The well, the counters and the piece as they are now become the start of a game.
    void start();
    // "" when, since the last look, every cell holds 0..31, a cell changed only by a lock into
    // an empty cell or by a row clear, a locked piece came to rest on empty cells only, no
    // counter fell and every rise of the row count equals the full rows found. Otherwise what
    // broke. Either way, now becomes the last look.
    std::string check();

  private:
    WellGrid well_{};
    Piece piece_{};
    int counters_[5] = {};
    int clear_phase_ = 0;
    int deepest_full_row_ = -1;
};
