#include "replay_run.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

size_t value_start(const std::string& line, const std::string& key, const std::string& within) {
    size_t from = within.empty() ? 0 : line.find("\"" + within + "\": ");
    size_t at = from == std::string::npos ? from : line.find("\"" + key + "\": ", from);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << within << "." << key << " in " << line.substr(0, 100);
        return std::string::npos;
    }
    return at + key.size() + 4;
}

}  // namespace

ReplayScratch::ReplayScratch() {
    dir_ = (std::filesystem::temp_directory_path() / "replay_test_XXXXXX").string();
    if (mkdtemp(dir_.data()) == nullptr) {
        ADD_FAILURE() << "no scratch directory";
    }
}

ReplayScratch::~ReplayScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string read_file(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

ReplayResult run_replay_raw(const ReplayScratch& scratch, const std::vector<std::string>& args) {
    // A hung tool is killed instead of hanging the suite (timeout's exit code is then 124).
    std::string command = std::string("timeout 120 '") + REPLAY_TOOL + "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    const std::string errors_path = scratch.path("stderr.txt");
    std::filesystem::remove(scratch.path("trace.jsonl"));
    const int status = std::system((command + " >/dev/null 2>'" + errors_path + "'").c_str());
    ReplayResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errors = read_file(errors_path);
    std::istringstream trace(read_file(scratch.path("trace.jsonl")));
    std::getline(trace, result.header);
    for (std::string line; std::getline(trace, line);) {
        result.polls.push_back(line);
    }
    return result;
}

ReplayResult run_replay(const ReplayScratch& scratch, const std::string& script,
                        const std::vector<std::string>& extra, int seed) {
    std::ofstream(scratch.path("script.txt"), std::ios::binary) << script;
    std::vector<std::string> args = {
        "--data",  CELLSTORM_BIN_DIR,          "--seed",  std::to_string(seed),
        "--input", scratch.path("script.txt"), "--trace", scratch.path("trace.jsonl")};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_replay_raw(scratch, args);
}

int64_t trace_number(const std::string& line, const std::string& key, const std::string& within) {
    size_t at = value_start(line, key, within);
    return at == std::string::npos ? INT64_MIN : std::strtoll(line.c_str() + at, nullptr, 10);
}

std::string trace_text(const std::string& line, const std::string& key, const std::string& within) {
    size_t at = value_start(line, key, within);
    return at == std::string::npos ? std::string()
                                   : line.substr(at + 1, line.find('"', at + 1) - at - 1);
}

std::string turned_clockwise(const std::string& grid) {
    std::string out(16, '0');
    for (int i = 0; i < 16; ++i) {
        out[size_t(i)] = grid[size_t((3 - i % 4) * 4 + i / 4)];
    }
    return out;
}
