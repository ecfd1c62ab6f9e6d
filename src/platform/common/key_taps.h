// Key taps shorter than the game's sampling of the keys. The game samples the keys once a frame,
// up to 100 ms apart; a tap that went down and up between two samples still reads as held once,
// at the next read of that key, so no short press is lost. Only a recent tap counts: one from
// before a long wait is forgotten. The release message of such a tap waits until the game has
// read the press (or forgotten it), so a release message always comes after the read that saw the
// key down; the game's shut-down state ends on the next message and relies on that order.
// Keys are virtual keys (1 to 255); now_ms is the backend's clock in milliseconds.
#pragma once
#include <cstdint>

namespace platform {

// The bits of a key message's lparam.
constexpr intptr_t KEY_REPEAT_COUNT_ONE = 1;
constexpr intptr_t KEY_CONTEXT_ALT = intptr_t(1) << 29;
constexpr intptr_t KEY_PREVIOUS_DOWN = intptr_t(1) << 30;
constexpr intptr_t KEY_TRANSITION_UP = intptr_t(1) << 31;

// How long an unread tap is remembered: longer than the longest gap between two samples of the
// keys, the menu's entry sleep (a test ties the two).
constexpr double kTapMemoryMs = 250;

// A physical key giving key went down or up (not a repeat). Several can hold one key: both
// Enters, both Shifts. A press first posts the release still held back from an earlier tap.
void count_key_change(int key, bool down, double now_ms);

// Posts key's release message, or holds it back when this release (changed: not a repeat or a
// stray) lets go of an unread tap.
void post_key_release(int key, bool changed, uint32_t message, intptr_t lparam, double now_ms);

// No physical key holds any key any more (their releases will never come).
void let_go_of_all_keys();

// Posts the release messages of taps the game never read and has now forgotten.
void release_forgotten_taps(double now_ms);

// Forgets every key, tap and held-back release (a fresh process).
void reset_key_taps();

// True while key is held or its unread tap is remembered. The read uses up the tap and posts
// its held-back release.
bool read_key(int key, double now_ms);

}  // namespace platform
