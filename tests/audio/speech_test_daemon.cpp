#include "audio/speech_test_daemon.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace hunt::testing {

PrivateSpeechd::PrivateSpeechd(bool brokenAudio) {
    std::random_device random;
    // Unix socket paths are short: keep the directory name small.
    const fs::path dir =
        fs::temp_directory_path() / ("hunt-spd-" + std::to_string(random() % 1000000000u));
    dir_ = dir.string();
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "home", ec);
    fs::copy("/etc/speech-dispatcher", dir / "conf", fs::copy_options::recursive, ec);
    if (ec) {
        error_ = "cannot copy /etc/speech-dispatcher: " + ec.message();
        return;
    }
    {
        std::ofstream conf(dir / "conf" / "speechd.conf", std::ios::app);
        if (!brokenAudio)
            conf << "\nAudioOutputMethod \"libao\"\n";
        conf << "\nLogDir \"" << (dir / "log").string() << "\"\n";
    }
    fs::create_directories(dir / "log", ec);
    std::ofstream(dir / "home" / ".libao") << "default_driver=null\n";
    socket_ = (dir / "sock").string();
    fs::remove(socket_, ec); // a stale socket keeps a new daemon from starting

    const std::string home = (dir / "home").string();
    const std::string confDir = (dir / "conf").string();
    const std::string logFile = (dir / "log" / "daemon.out").string();
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0); // its own process group: stopping it stops its output modules too
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        if (FILE *out = std::freopen(logFile.c_str(), "w", stdout))
            (void)out;
        dup2(STDOUT_FILENO, STDERR_FILENO);
        execlp("speech-dispatcher", "speech-dispatcher", "-s", "-C", confDir.c_str(), "-S",
               socket_.c_str(), "-t", "0", static_cast<char *>(nullptr));
        _exit(127);
    }
    if (pid_ < 0) {
        error_ = "fork failed";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(socket_)) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error_ = "speech-dispatcher exited; see " + logFile;
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            error_ = "speech-dispatcher did not open its socket";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

PrivateSpeechd::~PrivateSpeechd() {
    if (pid_ > 0) {
        kill(-pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) != pid_) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(-pid_, SIGKILL); // a daemon stuck on its audio ignores SIGTERM
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(-pid_, SIGKILL); // output modules left behind
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

} // namespace hunt::testing
