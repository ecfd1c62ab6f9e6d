#include "app/game_state.h"

int game_state = FLOW_STARTUP;
