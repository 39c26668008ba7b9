// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Start-up, timed whole-process from exec to the first painted frame: each editor against a bare
// window with the same widgets, all launched and timed the same way.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/bench_app.h"
#include "bench/harness.h"

extern char** environ;

namespace {

// Microseconds from just before the exec to the first frame the program reports; negative
// when it reported nothing.
double launch(const std::vector<std::string>& arguments) {
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : arguments)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    const double start = bench::now();
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return -1;
    }
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return text.empty() ? -1 : std::atof(text.c_str()) - start;
}

} // namespace

int main(int argc, char** argv) {
    bench::choosePlatform();
    const std::string dir = argc > 1 ? argv[1] : ".";
    bool failed = false;
    // One launch is one call, timed from exec to the reported frame: the program's exit
    // after it is not counted.
    const auto timed = [&failed](const std::vector<std::string>& program) {
        const double micros = launch(program);
        failed = failed || micros < 0;
        return micros / 1000;
    };
    // Whole processes vary more than calls in one: 41 repetitions for a steady median.
    for (const char* editor : {"dotwell", "pixvane"}) {
        const std::vector<std::string> ours = {dir + "/first_paint_" + editor};
        const std::vector<std::string> anchor = {dir + "/first_paint_bare", editor};
        const bench::Comparison c = bench::compareMeasured([&] { return timed(ours); },
                                                           [&] { return timed(anchor); }, 41, 2);
        bench::report(std::string("start to first paint of ") + editor +
                          " (anchor: bare window, the same widgets)",
                      c, "ms", "ratio <= 1.1", !failed && c.ratio.median() <= 1.1);
    }
    // The least a window costs, for context.
    const bench::Comparison bare =
        bench::compareMeasured([&] { return timed({dir + "/first_paint_pixvane"}); },
                               [&] { return timed({dir + "/first_paint_anchor"}); }, 41, 2);
    bench::report("  pixvane against a label and a line edit (context)", bare, "ms", "-", true,
                  false);
    if (failed)
        std::printf("a program did not report its first paint\n");
    return 0;
}
