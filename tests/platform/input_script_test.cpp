// Recordings: the header, runs folded into COUNT* lines, a file read while it is still being
// written, and the mistakes a hand-edited file can make.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/input_script.h"

namespace {

using platform::PollInput;
using platform::Script;

std::string file_text(std::FILE* file) {
    std::fflush(file);
    long end = std::ftell(file);
    std::string text(size_t(end), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
    std::fseek(file, 0, SEEK_END);
    return text;
}

// Every poll a script gives, as the game would read it.
std::vector<PollInput> polls_of(const std::string& text) {
    Script script;
    std::string error;
    EXPECT_TRUE(platform::parse_script(text, false, &script, &error)) << error;
    std::vector<PollInput> polls;
    PollInput at;
    at.joystick_x = script.start.joystick_x;
    at.joystick_y = script.start.joystick_y;
    platform::ScriptCursor cursor(script);
    while (const platform::ScriptLine* line = cursor.next()) {
        at.keys = line->keys;
        at.joystick_x = line->joystick_x.value_or(at.joystick_x);
        at.joystick_y = line->joystick_y.value_or(at.joystick_y);
        at.joystick_buttons = line->joystick_buttons.value_or(at.joystick_buttons);
        polls.push_back(at);
    }
    return polls;
}

PollInput poll(uint32_t keys, uint32_t x = 40000, uint32_t y = 32767, uint32_t buttons = 0) {
    PollInput input;
    input.keys = keys;
    input.joystick_x = x;
    input.joystick_y = y;
    input.joystick_buttons = buttons;
    return input;
}

TEST(InputScript, ARecordingReadsBackPollForPollWhileWrittenAndAfter) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    platform::ScriptStart start;
    start.seed = 42;
    start.joystick = true;
    start.joystick_x = 40000;
    platform::ScriptWriter writer(file, "made here", start);

    const uint32_t DOWN = 1u << 3, ENTER = 1u << 4, A = 1u << 7;
    std::vector<PollInput> polls = {poll(0), poll(DOWN), poll(DOWN), poll(DOWN)};
    for (const PollInput& p : polls) {
        writer.add(p);
    }
    writer.flush();
    // A session that ends here (the game killed) leaves every poll so far.
    std::string cut = file_text(file);
    EXPECT_EQ(cut, "# made here\n# seed 42\n# joystick 40000 32767\n-\n3*down\n");
    EXPECT_EQ(polls_of(cut).size(), polls.size());

    // The run goes on over the line already written; the stick is written only when it moves.
    std::vector<PollInput> more = {poll(DOWN), poll(DOWN | ENTER, 65535), poll(0, 65535, 0, 4),
                                   poll(A, 40000, 0, 4), poll(A, 40000, 0, 4)};
    for (const PollInput& p : more) {
        writer.add(p);
        polls.push_back(p);
    }
    writer.comment("end");
    writer.flush();
    ASSERT_TRUE(writer.ok());
    std::string text = file_text(file);
    EXPECT_EQ(text,
              "# made here\n# seed 42\n# joystick 40000 32767\n-\n4*down\ndown enter jx=65535\n"
              "- jy=0 jb=4\n2*a jx=40000\n# end\n");
    std::fclose(file);

    Script script;
    std::string error;
    ASSERT_TRUE(platform::parse_script(text, false, &script, &error)) << error;
    EXPECT_EQ(script.start.seed, 42u);
    EXPECT_TRUE(script.start.joystick);
    EXPECT_EQ(polls_of(text), polls);
}

TEST(InputScript, AHandEditedMistakeNamesItsLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"# seed 1000\n-\n", "line 1: '# seed'"},
        {"# seed 7\n-\n# joystick 1\n", "line 3: '# joystick'"},
        {"# seed 7\n# joystick none\n-\ndown jx=5\n", "line 4: 'jx=5' needs --joystick"},
        {"# seed 7\n-\n3*dwn\n", "line 3: unknown key 'dwn'"},
        {"-\n12*do", "line 2: unknown key 'do'"},
    };
    for (const auto& [text, message] : cases) {
        Script script;
        std::string error;
        EXPECT_FALSE(platform::parse_script(text, false, &script, &error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
    // Comments that only mention a seed stay comments.
    Script script;
    std::string error;
    ASSERT_TRUE(
        platform::parse_script("# A session, seed 42\n#seed 9\n-\n", false, &script, &error))
        << error;
    EXPECT_EQ(script.start.seed, 9u);
}

}  // namespace
