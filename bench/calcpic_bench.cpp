// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// calcpic in batches, as scripts run it: whole processes, each timed from the spawn to its exit,
// against the floor of the same work in one plain-Qt process and ImageMagick doing the same
// conversion; photos against a reduced decode + scale; its start-up against /bin/true.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QImage>

#include "bench/harness.h"
#include "bench/photos.h"
#include "core/formats/format_registry.h"

extern char** environ;

namespace {

struct Launched {
    double micros = -1;
    double peakMiB = 0;
};

// Runs a program to its end with output thrown away; negative time when it failed.
Launched launch(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const double start = bench::now();
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {};
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    const double end = bench::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {end - start, double(usage.ru_maxrss) / 1024};
}

// ABBA over whole processes; `value` picks what is compared (time or memory).
template <class Value>
bench::Comparison compareRuns(const std::vector<std::string>& ours,
                              const std::vector<std::string>& anchor, int repetitions, Value value,
                              bool* failed) {
    const auto run = [&](const std::vector<std::string>& arguments) {
        const Launched launched = launch(arguments);
        *failed = *failed || launched.micros < 0;
        return value(launched);
    };
    // The warm-up fills the page cache and the dynamic linker's.
    return bench::compareMeasured([&] { return run(ours); }, [&] { return run(anchor); },
                                  repetitions, 1);
}

std::vector<std::string> with(std::vector<std::string> front, const std::vector<std::string>& files,
                              std::vector<std::string> back) {
    front.insert(front.end(), files.begin(), files.end());
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    // "batches" or "photos": those rows alone, for a quick look after a change to them.
    const std::string only = argc > 2 ? argv[2] : "";
    const bool batchesOnly = only == "batches";
    const bool photosOnly = only == "photos";
    const std::string calcpic = dir + "/../calcpic/calcpic";
    // On the disk the build is on, where a user's files are, not in a memory file system.
    const std::string work = dir + "/calcpic_bench_files";
    QDir(QString::fromStdString(work)).removeRecursively();
    for (const char* sub : {"/83i", "/png", "/out", "/copies", "/floor", "/magick"})
        QDir().mkpath(QString::fromStdString(work + sub));

    // 1,000 different pictures of each kind, made here.
    std::mt19937 random(7);
    std::vector<std::string> pictures, images;
    for (int i = 0; i < 1000; ++i) {
        core::PixelGrid grid(63, 96);
        for (int r = 0; r < 63; ++r)
            for (int c = 0; c < 96; ++c)
                grid.set(r, c, std::int16_t((random() % 3) == 0));
        core::CalculatorPicture picture = core::newPicture(core::FormatId::Ti83);
        picture.grid = grid;
        picture.comment = "bench";
        const auto bytes =
            std::get<std::vector<std::uint8_t>>(core::writePicture(picture, core::FormatId::Ti83));
        pictures.push_back(work + "/83i/p" + std::to_string(i) + ".83i");
        FILE* file = std::fopen(pictures.back().c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        // Photo-sized, so that the conversion scales them as it does a user's.
        QImage image(400, 300, QImage::Format_RGB32);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                const int g = int(random() % 256);
                image.setPixel(x, y, qRgb(g, g, g));
            }
        images.push_back(work + "/png/i" + std::to_string(i) + ".png");
        image.save(QString::fromStdString(images.back()), "PNG");
    }
    const std::string out = work + "/out";
    const std::string copies = work + "/copies";
    bool failed = false;
    const auto time = [](const Launched& l) { return l.micros / 1000; };
    const auto memory = [](const Launched& l) { return l.peakMiB; };

    // Against the floor, the same work per file in one plain-Qt process (bench/
    // batch_floor_anchor.cpp), and against cp copying the files for context. calcpic replaces
    // each output whole or not at all: a new file beside it, synced with its batch, renamed over
    // it. The .83i row's floor does the same in the least way; the same loop overwriting each
    // output in place (which a crash or a full disk leaves cut short) is context.
    const std::string floorProgram = dir + "/batch_floor_anchor";
    const std::string floorOut = work + "/floor";
    bench::Comparison c;
    if (!photosOnly) {
        const std::vector<std::string> toPng =
            with({calcpic, "convert", "--force"}, pictures, {"-d", out, "--to", "png"});
        c = compareRuns(toPng, with({floorProgram, "png-whole", floorOut}, pictures, {}), 21, time,
                        &failed);
        bench::report(
            "calcpic: 1,000 .83i to PNG (anchor: read + PNG encode loop, one process, each "
            "output written whole or not at all)",
            c, "ms", "ratio <= 1.3", c.ratio.median() <= 1.3);
        c = compareRuns(toPng, with({floorProgram, "png", floorOut}, pictures, {}), 21, time,
                        &failed);
        bench::report(
            "  the same (anchor: the same loop, each output overwritten in place; context)", c,
            "ms", "-", true, false);
        c = compareRuns(toPng, with({"cp"}, pictures, {copies}), 21, time, &failed);
        bench::report("  the same (anchor: cp of the files; context)", c, "ms", "-", true, false);

        const std::vector<std::string> toXi =
            with({calcpic, "convert", "--force"}, images, {"-d", out, "--to", "8xi"});
        c = compareRuns(toXi, with({floorProgram, "image-whole", floorOut}, images, {}), 21, time,
                        &failed);
        bench::report("calcpic: 1,000 PNG, 400 x 300, to .8xi (anchor: decode + scale loop, one "
                      "process, each output written whole or not at all)",
                      c, "ms", "ratio <= 1.3", c.ratio.median() <= 1.3);
        c = compareRuns(toXi, with({floorProgram, "image", floorOut}, images, {}), 21, time,
                        &failed);
        bench::report(
            "  the same (anchor: the same loop, each output overwritten in place; context)", c,
            "ms", "-", true, false);
        if (batchesOnly) {
            QDir(QString::fromStdString(work)).removeRecursively();
            return failed ? 1 : 0;
        }
        if (std::system("command -v mogrify >/dev/null 2>&1") == 0) {
            // ImageMagick doing the same conversion: scaled to fit, cut at half grey, 1 bit out.
            // On a tenth of the files, both sides: mogrify takes about 20 times as long, and the
            // cost is linear in files.
            const std::vector<std::string> hundred(images.begin(), images.begin() + 100);
            c = compareRuns(
                with({calcpic, "convert", "--force"}, hundred, {"-d", out, "--to", "8xi"}),
                with({"mogrify", "-path", work + "/magick", "-resize", "96x63", "-colorspace",
                      "Gray", "-threshold", "50%", "-format", "pbm"},
                     hundred, {}),
                21, time, &failed);
            bench::report("  the same for 100 of them (anchor: ImageMagick's mogrify, one process)",
                          c, "ms", "ratio <= 1", c.ratio.median() <= 1);
        }
        c = compareRuns(toXi, with({"cp"}, images, {copies}), 21, time, &failed);
        bench::report("  the same (anchor: cp of the files; context)", c, "ms", "-", true, false);

        const std::vector<std::string> ten(images.begin(), images.begin() + 10);
        c = compareRuns(toXi,
                        with({calcpic, "convert", "--force"}, ten, {"-d", out, "--to", "8xi"}), 21,
                        memory, &failed);
        bench::report("  its peak memory (anchor: the same for 10 files)", c, "MiB", "ratio <= 1.2",
                      c.ratio.median() <= 1.2);
    }

    // Photos to a .92i (240 x 103), against the floor of the same conversion as a process.
    const std::string anchor = dir + "/reduced_decode_anchor";
    const std::string photo = work + "/photo.jpg";
    for (const bench::PhotoSize& size : bench::kPhotoSizes) {
        // Made by a child, so that this process's own peak (which a spawned program's
        // peak starts from) stays small.
        if (const pid_t maker = fork(); maker == 0) {
            bench::writePhoto(QString::fromStdString(photo), size);
            _exit(0);
        } else if (maker > 0) {
            waitpid(maker, nullptr, 0);
        }
        const std::vector<std::string> ours = {calcpic, "convert", "--force", photo,
                                               "-d",    out,       "--to",    "92i"};
        // calcpic writes its output whole or not at all, so its floor does too; the floor
        // that writes nothing is context.
        const std::vector<std::string> floor = {anchor, photo, "240", "103",
                                                floorOut + "/photo.cells"};
        const std::vector<std::string> bare = {anchor, photo, "240", "103"};
        const std::string name = "calcpic: a " + std::string(size.name) +
                                 " JPEG to .92i (anchor: reduced decode + scale, a process, its "
                                 "cells written whole)";
        c = compareRuns(ours, floor, 21, time, &failed);
        bench::report(name, c, "ms", "ratio <= 1.2", c.ratio.median() <= 1.2);
        c = compareRuns(ours, floor, 21, memory, &failed);
        bench::report("  its peak memory", c, "MiB", "ratio <= 2", c.ratio.median() <= 2);
        c = compareRuns(ours, bare, 21, time, &failed);
        bench::report("  the same (anchor: reduced decode + scale, nothing written; context)", c,
                      "ms", "-", true, false);
    }

    // Start-up against a bare QCoreApplication started and ended (the floor with no files).
    c = compareRuns({calcpic, "--version"}, {floorProgram, "image", floorOut}, 41, time, &failed);
    bench::report("calcpic --version, start to exit (anchor: a bare QCoreApplication)", c, "ms",
                  "ratio <= 1.1", c.ratio.median() <= 1.1);

    QDir(QString::fromStdString(work)).removeRecursively();
    if (failed)
        std::printf("a run failed\n");
    return failed ? 1 : 0;
}
