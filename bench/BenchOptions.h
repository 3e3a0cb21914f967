// Command-line options the benchmark programs take beside Google Benchmark's own flags.
#pragma once

#include <filesystem>
#include <string>

namespace bench {

// The value of "--name=value" among the arguments, removed from them so that the benchmark
// library does not see it; empty when it is not given.
inline std::string optionValue(int& argc, char** argv, const std::string& name)
{
    std::string value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind(name + "=", 0) == 0)
            value = arg.substr(name.size() + 1);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

// The build's folder: the parent of bench/, where the benchmark programs lie.
inline std::filesystem::path buildFolder()
{
    return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}

}  // namespace bench
