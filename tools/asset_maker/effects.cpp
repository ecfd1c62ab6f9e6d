// Short effects and jingles. Each starts and ends in silence so it never clicks.
#include "sequencer.h"
#include "sounds.h"

namespace {

Buffer silence(float seconds) {
    return Buffer(seconds_to_samples(seconds), 0.0f);
}

Buffer finish(Buffer& b) {
    fade_out(b, 0.01f);
    return b;
}

Instrument blip() {
    Instrument i;
    i.wave = Wave::Square;
    i.duty = 0.25f;
    i.env = Envelope{0.002f, 0.03f, 0.6f, 0.02f};
    i.volume = 0.5f;
    return i;
}

Instrument bell() {
    Instrument i;
    i.wave = Wave::Triangle;
    i.env = Envelope{0.002f, 0.5f, 0.0f, 0.3f};
    i.volume = 0.5f;
    return i;
}

Instrument brass() {
    Instrument i;
    i.wave = Wave::Saw;
    i.env = Envelope{0.02f, 0.15f, 0.75f, 0.15f};
    i.volume = 0.35f;
    i.detune = 0.1f;
    i.lowpass = 1800.0f;
    i.vibrato_depth = 0.15f;
    i.vibrato_delay = 0.25f;
    return i;
}

Buffer two_blips(const char* first, const char* second) {
    Buffer b = silence(0.12f);
    play_note(b, 0, 0.035f, float(parse_note(first)), blip());
    play_note(b, seconds_to_samples(0.045f), 0.04f, float(parse_note(second)), blip());
    return finish(b);
}

}  // namespace

Buffer make_menu_up() {
    return two_blips("E5", "A5");
}
Buffer make_menu_down() {
    return two_blips("A5", "E5");
}

Buffer make_menu_select() {
    Buffer b = silence(0.28f);
    const char* notes[] = {"C6", "E6", "G6"};
    for (int i = 0; i < 3; ++i)
        play_note(b, seconds_to_samples(0.035f * i), 0.05f, float(parse_note(notes[i])), bell());
    Instrument body = blip();
    body.volume = 0.25f;
    play_note(b, 0, 0.06f, float(parse_note("C5")), body);
    return finish(b);
}

Buffer make_line_clear() {
    Buffer b = silence(0.6f);
    Instrument sparkle = bell();
    sparkle.volume = 0.35f;
    const char* notes[] = {"C6", "E6", "G6", "C7", "E7", "G7"};
    for (int i = 0; i < 6; ++i)
        play_note(b, seconds_to_samples(0.04f * i), 0.03f, float(parse_note(notes[i])), sparkle);
    // A rising swoosh of noise under the chime.
    Instrument swoosh;
    swoosh.wave = Wave::Noise;
    swoosh.env = Envelope{0.15f, 0.2f, 0.0f, 0.1f};
    swoosh.volume = 0.18f;
    swoosh.lowpass = 3000.0f;
    play_note(b, 0, 0.25f, 60.0f, swoosh);
    add_echo(b, 0.09f, 0.35f, 2, false);
    return finish(b);
}

Buffer make_lock_thud() {
    // A short knock of falling pitch, high enough to be heard on small speakers, over a puff
    // of dull noise: the piece hitting the stack.
    Buffer b = silence(0.12f);
    Instrument body;
    body.wave = Wave::Triangle;
    body.env = Envelope{0.002f, 0.09f, 0.0f, 0.02f};
    body.volume = 0.8f;
    body.glide = -14.0f;
    play_note(b, 0, 0.09f, float(parse_note("A3")), body);
    Instrument knock;
    knock.wave = Wave::Noise;
    knock.env = Envelope{0.002f, 0.03f, 0.0f, 0.01f};
    knock.volume = 0.5f;
    knock.lowpass = 1400.0f;
    play_note(b, 0, 0.03f, 60.0f, knock);
    return finish(b);
}

Buffer make_level_up() {
    Buffer b = silence(1.5f);
    const Timing t{700, false};
    play_melody(b, "D5 . D5 . D5 . A5 - - - - - - - - - - - - - -", t, brass(), 0.8f);
    Instrument chord = brass();
    chord.volume = 0.22f;
    for (const char* n : {"D5", "F#5", "A5", "D6"})
        play_note(b, t.step_samples * 6, 0.75f, float(parse_note(n)), chord);
    Prng rng(0xFA4E);
    play_drum(b, t.step_samples * 6, Drum::Crash, 0.4f, rng);
    return finish(b);
}

Buffer make_game_over() {
    Buffer b = silence(2.4f);
    Instrument sad = blip();
    sad.duty = 0.5f;
    sad.env = Envelope{0.01f, 0.1f, 0.8f, 0.12f};
    sad.volume = 0.4f;
    sad.lowpass = 1500.0f;
    const char* notes[] = {"G4", "F#4", "F4"};
    for (int i = 0; i < 3; ++i)
        play_note(b, seconds_to_samples(0.38f * i), 0.3f, float(parse_note(notes[i])), sad);
    Instrument last = sad;
    last.vibrato_depth = 0.35f;
    last.vibrato_delay = 0.1f;
    last.glide = -5.0f;
    last.env.release = 0.3f;
    play_note(b, seconds_to_samples(1.14f), 0.9f, float(parse_note("E4")), last);
    return finish(b);
}

Buffer make_title_jingle() {
    Buffer b = silence(2.3f);
    Prng rng(0x5717);
    // Thunder: low rumbling noise swelling up and dying away.
    Instrument thunder;
    thunder.wave = Wave::Noise;
    thunder.env = Envelope{0.05f, 1.6f, 0.0f, 0.3f};
    thunder.volume = 0.9f;
    thunder.lowpass = 180.0f;
    play_note(b, 0, 1.7f, 40.0f, thunder);
    const Timing t{880, false};
    Instrument up = blip();
    up.volume = 0.28f;
    play_melody(b, "A3 E4 A4 C5 E5 A5", t, up, 0.8f);
    Instrument chord = brass();
    chord.volume = 0.2f;
    chord.env = Envelope{0.03f, 0.4f, 0.6f, 0.5f};
    for (const char* n : {"A4", "C5", "E5", "B5"})
        play_note(b, t.step_samples * 6, 0.9f, float(parse_note(n)), chord);
    add_echo(b, 0.16f, 0.3f, 3, false);
    return finish(b);
}

Buffer make_closing_jingle() {
    Buffer b = silence(3.6f);
    const Timing t{2205, false};  // a fifth of a second a step
    Instrument chime = bell();
    chime.env = Envelope{0.003f, 1.2f, 0.0f, 0.6f};
    chime.volume = 0.3f;
    play_melody(b, "E5 D5 C5 G5 - - E5 - - C6", t, chime, 1.0f);
    Instrument warm = brass();
    warm.volume = 0.12f;
    warm.env = Envelope{0.2f, 0.6f, 0.6f, 0.8f};
    const char* chords[3][3] = {{"F4", "A4", "C5"}, {"G4", "B4", "D5"}, {"C4", "E4", "G4"}};
    for (int c = 0; c < 3; ++c)
        for (const char* n : chords[c])
            play_note(b, t.step_samples * 3 * size_t(c), c == 2 ? 1.3f : 0.55f,
                      float(parse_note(n)), warm);
    add_echo(b, 0.2f, 0.25f, 2, false);
    return finish(b);
}
