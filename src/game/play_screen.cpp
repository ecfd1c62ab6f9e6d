#include "game/play_screen.h"

#include <cstring>

#include "common/random.h"
#include "game/line_clear.h"
#include "game/well.h"
#include "graphics/display.h"
#include "graphics/image.h"

BitmapImage block_images[BLOCK_IMAGE_COUNT];
BitmapImage play_background;

const uint8_t sparkle_colours[SPARKLE_COLOUR_COUNT] = {237, 245, 248, 241, 246, 239};

namespace {

// Dots per cleared cell in the first sparkle frame of a flash; each later frame of the flash
// loses 16 per flash already shown.
constexpr int SPARKLE_DOTS = 64;
constexpr int SPARKLE_DOTS_LOST = 16;
// Only the first two frames of each flash sparkle.
constexpr int SPARKLE_TICKS = 2;
constexpr int SPARKLE_FLASHES = SPARKLE_COLOUR_COUNT / 2;

// Stamps block image `image` at (x, y); an index that names no image draws nothing.
void Draw_Block(uint8_t* buffer, int image, int x, int y) {
    if (image < 0 || image >= BLOCK_IMAGE_COUNT) {
        return;
    }
    BitmapImage* block = &block_images[image];
    block->x = x;
    block->y = y;
    Draw_Image(buffer, block);
}

// The cells of a 4 x 4 grid with its cell (0, 0) at (x, y).
void Draw_Shape_Cells(uint8_t* buffer, const Shape& shape, int x, int y) {
    for (int r = 0; r < SHAPE_SIZE; r++) {
        for (int c = 0; c < SHAPE_SIZE; c++) {
            if (shape.grid[r][c] != 0) {
                Draw_Block(buffer, shape.image, x + CELL_SIZE * c, y + CELL_SIZE * r);
            }
        }
    }
}

// n random dots in the cell whose top-left pixel is (px, py). The three draws per dot are taken
// whatever happens to the dot, so the generator's sequence never depends on the screen.
void Sparkle_Cell(uint8_t* buffer, int px, int py, int dots, int flash) {
    for (int i = 0; i < dots; i++) {
        int a = Random_Next();
        int b = Random_Next();
        int k = Random_Next();
        int x = px + a % CELL_SIZE;
        int y = py + b % CELL_SIZE;
        if (buffer != nullptr && x >= 0 && x < SCREEN_WIDTH && y >= 0 && y < SCREEN_HEIGHT) {
            buffer[y * SCREEN_WIDTH + x] = sparkle_colours[2 * flash + k % 2];
        }
    }
}

void Draw_Sparkle(uint8_t* buffer, int origin_x, int origin_y) {
    if (clear_phase != CLEAR_FLASH || flash_tick < 0 || flash_tick >= SPARKLE_TICKS ||
        flash_count < 0 || flash_count >= SPARKLE_FLASHES) {
        return;
    }
    int dots = SPARKLE_DOTS - SPARKLE_DOTS_LOST * flash_tick * flash_count;
    int rows = full_row_count < MAX_FULL_ROWS ? full_row_count : MAX_FULL_ROWS;
    for (int i = 0; i < rows; i++) {
        int row = full_rows[i];
        if (row < 0 || row >= WELL_ROWS) {
            continue;
        }
        for (int column = 0; column < WELL_COLUMNS; column++) {
            const Cell& cell = well[row][column];
            if (!Is_Fixed_Cell(cell.value)) {
                Sparkle_Cell(buffer, origin_x + cell.x, origin_y + cell.y, dots, flash_count);
            }
        }
    }
}

}  // namespace

int Draw_Play_Screen(uint8_t* buffer) {
    if (buffer != nullptr) {
        // Without a whole background picture the frame starts from colour 0 rather than from
        // whatever the last frame left.
        if (play_background.state != IMAGE_LOADED || play_background.width != SCREEN_WIDTH ||
            play_background.height != SCREEN_HEIGHT || play_background.x != 0 ||
            play_background.y != 0) {
            std::memset(buffer, 0, size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
        }
        Draw_Image(buffer, &play_background);
    }
    Draw_Well(buffer, WELL_SCREEN_X, WELL_SCREEN_Y);
    Draw_Next_Piece(buffer, &piece);
    Draw_Piece(buffer, &piece);
    Draw_Status();
    return 1;
}

int Draw_Well(uint8_t* buffer, int origin_x, int origin_y) {
    if (buffer != nullptr) {
        for (int row = 0; row < WELL_ROWS; row++) {
            for (int column = 0; column < WELL_COLUMNS; column++) {
                const Cell& cell = well[row][column];
                if (cell.value != CELL_EMPTY) {
                    Draw_Block(buffer, cell.value, origin_x + cell.x, origin_y + cell.y);
                }
            }
        }
    }
    Draw_Sparkle(buffer, origin_x, origin_y);
    return 1;
}

int Draw_Next_Piece(uint8_t* buffer, const Piece* p) {
    if (buffer == nullptr || p == nullptr || p->next_shape < 0 ||
        p->next_shape >= SHAPE_TABLE_SIZE) {
        return 1;
    }
    Draw_Shape_Cells(buffer, shape_table[p->next_shape], PREVIEW_SCREEN_X, PREVIEW_SCREEN_Y);
    return 1;
}

int Draw_Piece(uint8_t* buffer, const Piece* p) {
    if (buffer == nullptr || p == nullptr || clear_phase != CLEAR_NONE || p->state == PIECE_SPAWN) {
        return 0;
    }
    Draw_Shape_Cells(buffer, p->body, WELL_SCREEN_X + p->x, WELL_SCREEN_Y + p->y);
    return 1;
}
