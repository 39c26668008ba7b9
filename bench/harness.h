// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Per-call times of one side over the repetitions, in microseconds.
struct Series {
    std::vector<double> values;
    double min() const;
    double median() const;
    double max() const;
};

struct Comparison {
    Series ours;
    Series anchor;
    Series ratio; // ours / anchor, repetition by repetition
};

// Times `ours` and `anchor` alternately in the same process, ABBA: even repetitions run ours
// first, odd ones the anchor first. Each repetition runs `calls` calls of each side and keeps
// the time per call. One untimed warm-up round of each comes first.
Comparison compare(const std::function<void()>& ours, const std::function<void()>& anchor,
                   int calls, int repetitions = 21);

// The same for measurements taken whole, each call giving one value (a process's time from
// its start to its end, its peak memory), after `warmups` untimed rounds.
Comparison compareMeasured(const std::function<double()>& ours,
                           const std::function<double()>& anchor, int repetitions, int warmups);

// A row of the summary table. `goal` says what must hold ("<= 50 us", "ratio <= 0.5"), `met`
// whether it did; rows with no goal only show a curve.
struct Row {
    std::string measure;
    double ours; // medians
    double anchor;
    double ratio;     // the median of the repetitions' ratios
    std::string unit; // "us", "ms", "MiB"
    std::string goal;
    bool met;
    bool hasGoal = true;
};

// Prints a comparison's min / median / max, and appends its row to the table file named by
// BENCH_TABLE (when set).
void report(const std::string& measure, const Comparison& c, const std::string& unit,
            const std::string& goal, bool met, bool hasGoal = true);
void report(const Row& row);

// Reads the rows every benchmark appended and prints the one summary table; false when a goal
// was missed.
bool printTable(const std::string& path);

double now(); // microseconds on a steady clock

// This process's peak resident memory since the last resetPeak, in MiB; 0 when unknown.
double peakMegabytes();
void resetPeak();

} // namespace bench
