// Start-up of the desktop application: the time from the program's entry to the main window
// shown on the screen, and the resident memory once it is up. Runs each start in a fresh
// process (a cold start of the application, warm file cache), in the runtime directory with a
// first-start settings file of its own. Targets: under 300 ms and under 80 MB.
//
//   startup_bench [rounds]        (run under a display, e.g. xvfb-run -a bench/startup_bench)
#include "shell/application.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return -1;
}

// Milliseconds since the process started (the kernel counts in clock ticks, usually 10 ms).
double msSinceExec() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    const double startSeconds = std::stod(field) / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - startSeconds) * 1000.0;
}

// One start: prints "<ms to shown> <ms since exec> <resident kB> <platform>".
int once(int argc, char **argv, Clock::time_point entry) {
    QApplication qtApplication(argc, argv);
    QDir::setCurrent(QStringLiteral(HUNT_RUNTIME_DIR));
    hunt::ApplicationOptions options;
    options.iniPath = std::getenv("HUNT_BENCH_INI");
    hunt::Application app(options);
    app.createWindows();
    app.form1->show();
    if (!QTest::qWaitForWindowExposed(app.form1.get()))
        return 2;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - entry).count();
    const double execMs = msSinceExec();
    QApplication::processEvents();
    std::printf("%.1f %.1f %ld %s\n", ms, execMs, residentKilobytes(),
                QApplication::platformName().toStdString().c_str());
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace

int main(int argc, char **argv) {
    const auto entry = Clock::now();
    if (std::getenv("HUNT_BENCH_ONCE"))
        return once(argc, argv, entry);

    const int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    QCoreApplication core(argc, argv);
    std::vector<double> ms, execMs;
    std::vector<long> kb;
    std::string platform;
    for (int i = 0; i < rounds; ++i) {
        QTemporaryDir dir;
        QProcess child;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("HUNT_BENCH_ONCE", "1");
        env.insert("HUNT_BENCH_INI", dir.filePath("hunt.ini"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "startup_bench: a start failed (is there a display?)\n%s",
                         child.readAllStandardError().constData());
            return 1;
        }
        const auto fields = QString::fromUtf8(child.readAllStandardOutput()).split(' ');
        if (fields.size() < 4)
            return 1;
        ms.push_back(fields[0].toDouble());
        execMs.push_back(fields[1].toDouble());
        kb.push_back(fields[2].toLong());
        platform = fields[3].trimmed().toStdString();
    }
    std::sort(ms.begin(), ms.end());
    std::sort(execMs.begin(), execMs.end());
    std::sort(kb.begin(), kb.end());
    std::printf("start-up to the main window shown (%s platform, %d starts):\n", platform.c_str(),
                rounds);
    std::printf("  time    median %6.1f ms   min %6.1f ms   max %6.1f ms   (target < 300 ms)\n",
                ms[ms.size() / 2], ms.front(), ms.back());
    std::printf("  from the process's start (libraries loaded, 10 ms steps): median %6.1f ms\n",
                execMs[execMs.size() / 2]);
    std::printf("  memory  median %6.1f MB   max %6.1f MB resident             (target < 80 MB)\n",
                double(kb[kb.size() / 2]) / 1024.0, double(kb.back()) / 1024.0);
    return 0;
}
