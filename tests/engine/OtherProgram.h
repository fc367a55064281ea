#pragma once
// Another program on the same pipe folder, in a process of its own: it
// opens the link as a program does (taking the programmer first) and holds
// it until the test lets it go; then it asks the power status once more, to
// show that its replies stayed its own, and closes. Every wait on it is tied
// to its answer on a pipe, with a ceiling that only catches a hang. The
// engine's tests run in one thread (no application object), so the forked
// process may allocate freely.
#include "engine/EnginePipes.h"

#include "VprogTool.h"

#include <csignal>
#include <ctime>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace otherprogram {

class TOtherProgram {
public:
    explicit TOtherProgram(const std::string& folder)
    {
        int answers[2], go[2];
        if (pipe(answers) != 0 || pipe(go) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(answers[0]);
            close(go[1]);
            Serve(folder, answers[1], go[0]);
        }
        close(answers[1]);
        close(go[0]);
        answers_ = answers[0];
        go_ = go[1];
    }
    ~TOtherProgram()
    {
        close(go_);
        close(answers_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
    }
    TOtherProgram(const TOtherProgram&) = delete;
    TOtherProgram& operator=(const TOtherProgram&) = delete;

    // Whether it took the programmer and its first status read went well.
    bool Holds() { return Answer(); }
    // Lets it go on: whether its next status read went well too.
    bool LetGo()
    {
        const char c = 'g';
        return write(go_, &c, 1) == 1 && Answer();
    }

private:
    bool Answer()
    {
        pollfd p{answers_, POLLIN, 0};
        char c = 0;
        return poll(&p, 1, vprogtool::HangCeilingMs) > 0 && read(answers_, &c, 1) == 1 && c == 'y';
    }

    // The status command and its two replies, "o" and the status, each
    // awaited up to the hang ceiling.
    static bool StatusAnswered(TEnginePipes& link, int commands, int replies)
    {
        const uint8_t command[2] = {9, 1};
        if (link.Write(commands, command, 2) != 2)
            return false;
        uint8_t reply[2];
        int got = 0;
        for (int waited = 0; got < 2 && waited < vprogtool::HangCeilingMs; ++waited) {
            const int n = link.Read(replies, reply + got, 2 - got);
            if (n < 0)
                return false;
            got += n;
            const timespec pause{0, 1000000};
            nanosleep(&pause, nullptr);
        }
        return got == 2 && reply[0] == 0x6F;
    }

    [[noreturn]] static void Serve(const std::string& folder, int answers, int go)
    {
        TEnginePipes link(folder);
        const uint8_t reset = 0;
        bool ok = link.Claim();
        const int commands = ok ? link.Open("01") : -1;
        const int replies = ok ? link.Open("00") : -1;
        const int control = ok ? link.Open("02") : -1;
        ok = ok && commands >= 0 && replies >= 0 && control >= 0 && link.Write(control, &reset, 1) == 1 &&
             StatusAnswered(link, commands, replies);
        char c = ok ? 'y' : 'n';
        if (write(answers, &c, 1) != 1 || read(go, &c, 1) != 1)
            _exit(1);
        c = ok && StatusAnswered(link, commands, replies) && link.Write(control, &reset, 1) == 1 ? 'y' : 'n';
        link.Release();
        if (write(answers, &c, 1) != 1)
            _exit(1);
        _exit(0);
    }

    pid_t pid_ = -1;
    int answers_ = -1;
    int go_ = -1;
};

} // namespace otherprogram
