#include "common/random.h"

namespace {
uint32_t random_state = 1;
}

void Random_Seed(uint32_t seed) {
    random_state = seed;
}

int Random_Next() {
    // The classic linear congruential step; bits 16..30 are the result.
    random_state = random_state * 214013u + 2531011u;
    return int((random_state >> 16) & 0x7FFF);
}
