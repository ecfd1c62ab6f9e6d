// Recordings: the header, runs folded into COUNT* lines, a file read while it is still being
// written, and the mistakes a hand-edited file can make.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/common/input_script.h"

namespace {

using platform::PollInput;
using platform::Script;

// The script a text parses to.
Script parsed(const std::string& text) {
    Script script;
    std::string error;
    EXPECT_TRUE(platform::parse_script(text, false, &script, &error)) << error;
    return script;
}

TEST(InputScript, ARecordingReadsBackWhileWrittenAndAfter) {
    char written[512] = {};  // what a reader of the file sees at each flush
    std::FILE* file = fmemopen(written, sizeof written, "w+");
    ASSERT_NE(file, nullptr);
    platform::ScriptWriter writer(file, "made here", platform::ScriptStart{42, true, 40000});

    const uint32_t DOWN = 1u << 3, ENTER = 1u << 4, A = 1u << 7;
    for (uint32_t keys : {0u, DOWN, DOWN, DOWN}) {
        writer.add({keys, 40000});
    }
    writer.flush();
    // A session that ends here (the game killed) leaves every poll so far.
    const std::string cut = written;
    EXPECT_EQ(cut, "# made here\n# seed 42\n# joystick 40000 32767\n-\n3*down\n");
    EXPECT_EQ(parsed(cut).polls, 4u);

    // The run goes on over the line already written; the stick is written only when it moves.
    for (const PollInput& p :
         {PollInput{DOWN, 40000}, PollInput{DOWN | ENTER, 65535}, PollInput{0, 65535, 0, 4},
          PollInput{A, 40000, 0, 4}, PollInput{A, 40000, 0, 4}, PollInput{A, 40000, 0, 4, true}}) {
        writer.add(p);
    }
    writer.comment("end");
    writer.flush();
    ASSERT_TRUE(writer.ok());
    const std::string text = written;
    EXPECT_EQ(text,
              "# made here\n# seed 42\n# joystick 40000 32767\n-\n4*down\ndown enter jx=65535\n"
              "- jy=0 jb=4\n2*a jx=40000\na unfocus\n# end\n");
    std::fclose(file);

    Script script = parsed(text);
    EXPECT_EQ(script.start.seed, 42u);
    EXPECT_TRUE(script.start.joystick);
    EXPECT_EQ(script.start.joystick_x, 40000u);
    EXPECT_EQ(script.polls, 10u);
    EXPECT_TRUE(script.lines.back().unfocused);
}

TEST(InputScript, AHandEditedMistakeNamesItsLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"# seed 1000\n-\n", "line 1: '# seed'"},
        {"# seed 7\n-\n# joystick 1\n", "line 3: '# joystick'"},
        {"# seed 7\n# joystick none\n-\ndown jx=5\n", "line 4: 'jx=5' needs --joystick"},
        {"# seed 7\n-\n3*dwn\n", "line 3: unknown key 'dwn'"},
        {"-\n12*do\n", "line 2: unknown key 'do'"},  // not cut: its newline is there
    };
    for (const auto& [text, message] : cases) {
        Script script;
        std::string error;
        EXPECT_FALSE(platform::parse_script(text, false, &script, &error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
    // Comments that only mention a seed stay comments.
    EXPECT_EQ(parsed("# A session, seed 42\n#seed 9\n-\n").start.seed, 9u);
}

}  // namespace
