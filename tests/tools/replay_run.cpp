#include "replay_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

// A hung tool is killed instead of hanging the suite.
constexpr unsigned CHILD_TIME_LIMIT_S = 120;

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
    std::vector<std::string> words = args;
    words.insert(words.begin(), REPLAY_TOOL);
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::string errors_path = scratch.path("stderr.txt");
    std::filesystem::remove(scratch.path("trace.jsonl"));

    pid_t child = fork();
    if (child == 0) {
        dup2(open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        dup2(open("/dev/null", O_WRONLY), 1);
        alarm(CHILD_TIME_LIMIT_S);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
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

std::vector<std::string> trace_well(const std::string& line) {
    std::vector<std::string> rows;
    for (size_t at = value_start(line, "well", ""); at != std::string::npos && rows.size() < 26;) {
        size_t open = line.find('"', at);
        size_t close = line.find('"', open + 1);
        rows.push_back(line.substr(open + 1, close - open - 1));
        at = close + 1;
    }
    return rows;
}
