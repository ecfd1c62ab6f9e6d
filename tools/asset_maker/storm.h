// Sky, falling cells and piles of settled cells for the title and closing pictures.
#pragma once

#include "canvas.h"

// Vertical gradient through three colours, the middle one at `middle` (0 … 1) of the height.
void sky(Canvas& c, Rgb top, Rgb middle, Rgb bottom, float at);
// Soft dark cloud banks across the band y0 … y1.
void clouds(Canvas& c, int y0, int y1, Rgb colour, unsigned seed);
// Cells falling through the sky, far ones small and dim, near ones large with long trails.
// Cells whose left edge would fall in clear_x0 … clear_x1 are left out, keeping text clear.
void falling_cells(Canvas& c, int count, int y_min, int y_max, Rgb haze, unsigned seed,
                   float trail = 1.0f, int clear_x0 = 0, int clear_x1 = -1);
// Settled cells stacked up from the bottom edge to about `height` pixels, ragged on top.
void cell_pile(Canvas& c, int height, unsigned seed, bool neat);
