// A program started for its standard output (a recorder such as parec), ended by its own
// process id when the object goes, never by name: other engineers' recorders on the same
// machine keep running.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace hollowtide::bench {

class ChildOutput {
  public:
    explicit ChildOutput(const std::vector<std::string>& command) {
        int fds[2];
        if (command.empty() || pipe(fds) != 0) return;
        std::vector<char*> argv;
        for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        if (pid_ < 0) {
            close(fds[0]);
            return;
        }
        file_ = fdopen(fds[0], "r");
    }
    ~ChildOutput() {
        Stop();
        if (file_ != nullptr) std::fclose(file_);
    }
    ChildOutput(const ChildOutput&) = delete;
    ChildOutput& operator=(const ChildOutput&) = delete;

    FILE* file() const { return file_; }
    // Ends the program; a reader blocked on file() then sees the end of its output.
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    FILE* file_ = nullptr;
};

}  // namespace hollowtide::bench
