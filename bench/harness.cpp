// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "bench/harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace bench {
namespace {

std::vector<double> sorted(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v;
}

double timeCalls(const std::function<void()>& f, int calls) {
    const double start = now();
    for (int i = 0; i < calls; ++i)
        f();
    return (now() - start) / calls;
}

} // namespace

double now() {
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

double Series::min() const {
    return values.empty() ? 0 : sorted(values).front();
}
double Series::max() const {
    return values.empty() ? 0 : sorted(values).back();
}
double Series::median() const {
    if (values.empty())
        return 0;
    const std::vector<double> s = sorted(values);
    const size_t n = s.size();
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
}

Comparison compareMeasured(const std::function<double()>& ours,
                           const std::function<double()>& anchor, int repetitions, int warmups) {
    for (int warm = 0; warm < warmups; ++warm)
        ours(), anchor();
    Comparison c;
    for (int rep = 0; rep < repetitions; ++rep) {
        double a, b;
        if (rep % 2 == 0) {
            a = ours();
            b = anchor();
        } else {
            b = anchor();
            a = ours();
        }
        c.ours.values.push_back(a);
        c.anchor.values.push_back(b);
        c.ratio.values.push_back(a / b);
    }
    return c;
}

Comparison compare(const std::function<void()>& ours, const std::function<void()>& anchor,
                   int calls, int repetitions) {
    return compareMeasured([&] { return timeCalls(ours, calls); },
                           [&] { return timeCalls(anchor, calls); }, repetitions, 1);
}

void report(const std::string& measure, const Comparison& c, const std::string& unit,
            const std::string& goal, bool met, bool hasGoal) {
    std::printf("%s (%zu repetitions, ABBA)\n", measure.c_str(), c.ours.values.size());
    std::printf("  ours    min %10.2f  median %10.2f  max %10.2f %s\n", c.ours.min(),
                c.ours.median(), c.ours.max(), unit.c_str());
    std::printf("  anchor  min %10.2f  median %10.2f  max %10.2f %s\n", c.anchor.min(),
                c.anchor.median(), c.anchor.max(), unit.c_str());
    std::printf("  ratio   min %10.3f  median %10.3f  max %10.3f\n", c.ratio.min(),
                c.ratio.median(), c.ratio.max());
    report(
        {measure, c.ours.median(), c.anchor.median(), c.ratio.median(), unit, goal, met, hasGoal});
}

void report(const Row& row) {
    const char* path = std::getenv("BENCH_TABLE");
    if (!path)
        return;
    std::ofstream out(path, std::ios::app);
    out << row.measure << '\t' << row.ours << '\t' << row.anchor << '\t' << row.ratio << '\t'
        << row.unit << '\t' << row.goal << '\t' << (row.hasGoal ? (row.met ? "yes" : "NO") : "-")
        << '\n';
}

bool printTable(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    bool allMet = true;
    std::printf("\n%-64s %12s %12s %8s  %-16s %s\n", "measure", "ours", "anchor", "ratio", "goal",
                "met");
    std::printf("%s\n", std::string(120, '-').c_str());
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string measure, ours, anchor, ratio, unit, goal, met;
        std::getline(fields, measure, '\t');
        std::getline(fields, ours, '\t');
        std::getline(fields, anchor, '\t');
        std::getline(fields, ratio, '\t');
        std::getline(fields, unit, '\t');
        std::getline(fields, goal, '\t');
        std::getline(fields, met, '\t');
        const double o = std::atof(ours.c_str()), a = std::atof(anchor.c_str());
        const double r = std::atof(ratio.c_str());
        std::printf("%-64s %9.2f %-3s %9.2f %-3s %8.3f  %-16s %s\n", measure.c_str(), o,
                    unit.c_str(), a, unit.c_str(), r, goal.c_str(), met.c_str());
        allMet = allMet && met != "NO";
    }
    return allMet;
}

double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024; // "VmHWM:   1234 kB"
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace bench
