#pragma once

// Runs the built sordanel-render as a user would, in a directory of the test's own with
// TMPDIR inside it, and collects its exit status and what it printed.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sordanel::testing {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

inline std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// In a forked child: becomes the program args[0] with its arguments; 127 if it cannot.
[[noreturn]] inline void ExecArguments(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

class RenderProcess {
public:
    // `dir` receives stdout, stderr and the temporary directory "tmp".
    explicit RenderProcess(std::filesystem::path dir) : dir_(std::move(dir)) {
        std::filesystem::create_directories(TempDir());
    }

    std::filesystem::path TempDir() const { return dir_ / "tmp"; }

    // Starts the renderer; stdout and stderr go to files, so stderr is not a terminal.
    pid_t Start(std::vector<std::string> args) const {
        args.insert(args.begin(), SORDANEL_RENDER);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("TMPDIR", TempDir().c_str(), 1);
            ::dup2(::open((dir_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            ::dup2(::open((dir_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            ExecArguments(args);
        }
        return pid;
    }
    Outcome Wait(pid_t pid) const {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Contents(dir_ / "stdout"),
                Contents(dir_ / "stderr")};
    }
    Outcome Run(std::vector<std::string> args) const { return Wait(Start(std::move(args))); }

private:
    std::filesystem::path dir_;
};

}  // namespace sordanel::testing
