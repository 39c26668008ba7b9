#include <benchmark/benchmark.h>

#include "pixvane/frm_pixvane.h"
#include "tests/support/scripted_prompts.h"

namespace {

struct Editor {
    Editor() {
        window.endProgram = [] {};
        window.Form_Load(QString());
    }
    testing_support::ScriptedPrompts prompts;
    pixvane::FrmPixvane window{prompts};
};

// A full repaint of an all-dark pixvane picture at the default zoom: clear, then one square
// per dark cell.
void BM_RepaintAllDarkPixvane(benchmark::State& state) {
    Editor e;
    e.window.Picture1_MouseDown(1, 0, 0.5, 0.5); // a picture now exists
    for (int r = 0; r < 103; ++r)
        for (int c = 0; c < 240; ++c)
            e.window.grid().set(r, c, 1);
    for (auto _ : state) {
        e.window.Picture1->clear();
        e.window.Picture1_Paint();
        benchmark::DoNotOptimize(e.window.Picture1->surface().constBits());
    }
    state.counters["zoom"] = e.window.Picture1->zoom();
}
BENCHMARK(BM_RepaintAllDarkPixvane)->Unit(benchmark::kMicrosecond);

// The same surface filled once with one colour: the floor a repaint is measured against.
void BM_RawFillOfTheSameSurface(benchmark::State& state) {
    Editor e;
    QImage& surface = const_cast<QImage&>(e.window.Picture1->surface());
    for (auto _ : state) {
        surface.fill(Qt::black);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_RawFillOfTheSameSurface)->Unit(benchmark::kMicrosecond);

// One pen drag event that crosses 10 cells, status read-out included.
void BM_PenDragEventAcrossTenCells(benchmark::State& state) {
    Editor e;
    e.window.miTool_Click(1);
    e.window.Picture1_MouseDown(1, 0, 5.5, 50.5);
    double x = 5.5;
    for (auto _ : state) {
        x = x > 220 ? 5.5 : x + 10;
        e.window.Picture1_MouseMove(1, 0, x, 50.5);
    }
}
BENCHMARK(BM_PenDragEventAcrossTenCells)->Unit(benchmark::kMicrosecond);

} // namespace
