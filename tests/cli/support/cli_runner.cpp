#include "cli_runner.h"

#include <fcntl.h>
#include <locale.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace {

// The program under test; the build names it.
const char* const CliExecutable = TOVU_CLI_EXECUTABLE;

// A run that hangs fails its test instead of the whole suite.
constexpr int RunLimitMs = 60000;

std::vector<std::string> Environment(const TCliOptions& options)
{
    std::vector<std::string> env;
    if (const char* path = std::getenv("PATH"))
        env.push_back(std::string("PATH=") + path);
    env.push_back("LC_ALL=" + options.Locale);
    env.push_back("LANG=" + options.Locale);
    return env;
}

void CloseIfOpen(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// One of the program's output channels: a pipe, or a pseudo-terminal whose
// master side the runner reads.
void OpenChannel(bool terminal, int& readEnd, int& writeEnd)
{
    if (terminal) {
        readEnd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (readEnd < 0 || ::grantpt(readEnd) != 0 || ::unlockpt(readEnd) != 0)
            throw std::runtime_error("pty");
        writeEnd = ::open(::ptsname(readEnd), O_RDWR | O_NOCTTY | O_CLOEXEC);
        return;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    readEnd = ends[0];
    writeEnd = ends[1];
}

}  // namespace

TCliRun RunCli(const std::vector<std::string>& args, const TCliOptions& options)
{
    int outRead = -1;
    int outWrite = -1;
    if (options.StdoutPath.empty())
        OpenChannel(options.StdoutOnTerminal, outRead, outWrite);
    else
        outWrite = ::open(options.StdoutPath.c_str(), O_WRONLY | O_CLOEXEC);
    int errRead = -1;
    int errWrite = -1;
    OpenChannel(options.StderrOnTerminal, errRead, errWrite);

    int inPipe[2] = {-1, -1};
    if (options.InputPipe && ::pipe2(inPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.InputPipe)
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outWrite, 1);
    posix_spawn_file_actions_adddup2(&actions, errWrite, 2);

    std::vector<std::string> argStrings{CliExecutable};
    // A limit is the shell's to set, as a user would set it.
    if (options.AddressSpaceKiB > 0)
        argStrings = {"/bin/sh", "-c",
                      "ulimit -v " + std::to_string(options.AddressSpaceKiB) + " && exec \"$0\" \"$@\"", CliExecutable};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = Environment(options);
    std::vector<char*> envp;
    for (std::string& entry : envStrings)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    // The runner ignores SIGPIPE (a program may stop reading its input);
    // the program gets the usual disposition back.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, argStrings.front().c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(outWrite);
    ::close(errWrite);
    int inFd = inPipe[1];
    CloseIfOpen(inPipe[0]);
    if (spawned != 0)
        throw std::runtime_error("posix_spawn failed");
    if (inFd >= 0)
        ::fcntl(inFd, F_SETFL, O_NONBLOCK);
    size_t inputDone = 0;
    if (inFd >= 0 && options.Input.empty() && !options.HoldInputOpen)
        CloseIfOpen(inFd);

    TCliRun run;
    int outFd = outRead;
    int errFd = errRead;
    const auto start = std::chrono::steady_clock::now();
    bool interrupted = false;
    while (outFd >= 0 || errFd >= 0) {
        const auto elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        if (!interrupted && options.InterruptAfterMs >= 0 && elapsedMs >= options.InterruptAfterMs) {
            ::kill(pid, options.InterruptSignal);
            interrupted = true;
        }
        if (elapsedMs > RunLimitMs) {
            ::kill(pid, SIGKILL);
            break;
        }
        const bool feeding = inFd >= 0 && inputDone < options.Input.size();
        pollfd fds[3] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {feeding ? inFd : -1, POLLOUT, 0}};
        int timeoutMs = 100;
        if (!interrupted && options.InterruptAfterMs >= 0)
            timeoutMs = static_cast<int>(std::max<long long>(0, options.InterruptAfterMs - elapsedMs));
        if (::poll(fds, 3, timeoutMs) < 0 && errno != EINTR)
            break;
        if (feeding && fds[2].revents != 0) {
            const ssize_t written = ::write(inFd, options.Input.data() + inputDone, options.Input.size() - inputDone);
            if (written > 0)
                inputDone += static_cast<size_t>(written);
            if (written < 0 && errno != EAGAIN)
                inputDone = options.Input.size();
            if (inputDone == options.Input.size() && !options.HoldInputOpen)
                CloseIfOpen(inFd);
        }
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            int& fd = i == 0 ? outFd : errFd;
            if (fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            // A terminal's master side reports EIO once the program is gone.
            if (got <= 0)
                CloseIfOpen(fd);
            else
                (i == 0 ? run.Out : run.Err).append(buffer, static_cast<size_t>(got));
        }
    }
    CloseIfOpen(outFd);
    CloseIfOpen(errFd);
    CloseIfOpen(inFd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TScratchDir::TScratchDir()
{
    char pattern[] = "/tmp/tovu-cli-test-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("mkdtemp");
    FPath = pattern;
}

TScratchDir::~TScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::string TScratchDir::WritePoints(const std::string& name, const std::vector<std::pair<int, int>>& points) const
{
    const std::string path = Path(name);
    std::ofstream file(path, std::ios::binary);
    for (const auto& [x, y] : points)
        file << x << "; " << y << "\r\n";
    return path;
}

std::string SystemErrorIn(int errorNumber, const std::string& locale)
{
    const locale_t messages = ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, locale.c_str(), locale_t{});
    if (messages == locale_t{})
        return "(locale " + locale + " nie jest zainstalowane)";
    std::string text = ::strerror_l(errorNumber, messages);
    ::freelocale(messages);
    return text;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}
