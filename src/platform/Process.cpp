#include "platform/Process.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

int runProgram(const std::vector<std::string>& arguments, const std::string& folder,
               const std::vector<std::string>& environment, const std::string& errors)
{
    if (arguments.empty())
        return -1;
    // Everything the child needs is made before the fork: after it, the
    // child only changes folder, redirects and starts the program.
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; e++)
        envp.push_back(*e);
    envp.push_back(nullptr);

    pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, 2) < 0)
            _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
