// Runs a built command of tools/ as a user runs it: its own process, arguments in UTF-8, standard
// output and error captured as bytes, exit status returned. And the small volumes the commands
// are run on.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace testsupport {

struct ToolRun {
    int exitCode = -1;
    std::string out;  // bytes as written
    std::string err;

    // Standard output (or error) split at "\n", no empty last line.
    std::vector<std::string> outLines() const { return split(out); }
    std::vector<std::string> errLines() const { return split(err); }

    static std::vector<std::string> split(const std::string& s)
    {
        std::vector<std::string> lines;
        std::istringstream in(s);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

inline std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// captureDir receives the two capture files; it should not be the volume's folder.
inline ToolRun runTool(const std::string& name, const std::vector<std::string>& arguments,
                       const std::filesystem::path& captureDir)
{
    const std::string program = std::string(SORVANE_BINARY_DIR) + "/tools/" + name;
    const std::string outFile = (captureDir / (name + ".out")).string();
    const std::string errFile = (captureDir / (name + ".err")).string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ToolRun run;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(outFile);
    run.err = readBytes(errFile);
    return run;
}

}  // namespace testsupport
