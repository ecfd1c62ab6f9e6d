// Runs cellstorm-replay as a child process on the game's real data files and reads its trace.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ReplayResult {
    int exit_code = -1;              // -1 when the tool did not exit by itself
    std::string errors;              // what it wrote on stderr
    std::string header;              // the first trace line
    std::vector<std::string> polls;  // the other trace lines, poll 1 first
};

// A scratch directory for one test, removed with everything in it at the end.
class ReplayScratch {
  public:
    ReplayScratch();
    ~ReplayScratch();
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

  private:
    std::string dir_;
};

// Writes script into the scratch directory and runs the tool with --data (the build's data
// directory), --seed, --input and --trace, then the extra arguments.
ReplayResult run_replay(const ReplayScratch& scratch, const std::string& script,
                        const std::vector<std::string>& extra = {}, int seed = 7);
// Runs the tool with exactly these arguments.
ReplayResult run_replay_raw(const ReplayScratch& scratch, const std::vector<std::string>& args);

std::string read_file(const std::string& path);

// The number after "key": in a trace line; with `within`, the first one after "within": (so
// trace_number(line, "state", "piece") is the piece's state). Fails the test when missing.
int64_t trace_number(const std::string& line, const std::string& key,
                     const std::string& within = "");
std::string trace_text(const std::string& line, const std::string& key,
                       const std::string& within = "");

// A piece's 4 x 4 box as the trace gives it (16 characters, row-major), turned clockwise.
std::string turned_clockwise(const std::string& grid);
