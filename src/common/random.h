// The game's one random generator. Shapes, the voice timer and the sparkle all draw from it,
// in a fixed order, so a seed replays a game exactly.
#pragma once
#include <cstdint>

// Seeds the generator (done once, at first start).
void Random_Seed(uint32_t seed);

// Next number, 0..32767.
int Random_Next();
