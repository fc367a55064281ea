#pragma once
// The vprog tool as the build made it, in a process of its own, for tests
// that reach it over its FIFOs. Its standard output and error are read by
// the test; every wait on it is tied to an event (its ready line, its exit,
// the kernel reporting it stopped) with a ceiling that only catches a hang.
#include <csignal>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace vprogtool {

// Long enough to catch a hang on a loaded machine, never a bound on speed.
constexpr int HangCeilingMs = 60000;

class TVprogTool {
public:
    explicit TVprogTool(std::vector<std::string> args)
    {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            // A test that dies must not leave the tool behind.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(out[1], 1);
            dup2(err[1], 2);
            std::vector<char*> argv{const_cast<char*>(TARKU_VPROG_TOOL)};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(TARKU_VPROG_TOOL, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~TVprogTool()
    {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGCONT);
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(err_);
    }
    TVprogTool(const TVprogTool&) = delete;
    TVprogTool& operator=(const TVprogTool&) = delete;

    // The first line on standard output; empty when the tool ended first.
    std::string ReadyLine() { return ReadLine(out_); }
    // Everything the tool wrote on standard error until it ended.
    std::string Errors()
    {
        std::string all;
        for (std::string line = ReadLine(err_); !line.empty(); line = ReadLine(err_))
            all += line;
        return all;
    }
    // The exit status of a tool that ends by itself; -1 when it was killed.
    int ExitStatus()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        ended_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Asks the tool to stop as a user would (Ctrl+C); its exit status, or
    // -1 when it had to be killed because it did not stop.
    int Stop()
    {
        kill(pid_, SIGTERM);
        int status = 0;
        for (int waited = 0; waited < HangCeilingMs; ++waited) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        Kill();
        return -1;
    }
    void Kill()
    {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        ended_ = true;
    }
    // Stopped once the kernel says so, so the next poll meets a frozen tool.
    void Freeze()
    {
        kill(pid_, SIGSTOP);
        int status = 0;
        waitpid(pid_, &status, WUNTRACED);
    }
    void Thaw() { kill(pid_, SIGCONT); }

private:
    static std::string ReadLine(int fd)
    {
        std::string line;
        char c = 0;
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, HangCeilingMs) <= 0 || read(fd, &c, 1) != 1)
                return line;
            line += c;
            if (c == '\n')
                return line;
        }
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool ended_ = false;
};

} // namespace vprogtool
