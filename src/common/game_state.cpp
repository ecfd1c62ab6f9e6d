#include "common/game_state.h"

int game_state = FLOW_STARTUP;
int game_in_progress = 0;
int menu_latch = 0;
