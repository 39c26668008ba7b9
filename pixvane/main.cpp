#include "core/ui/program_main.h"
#include "pixvane/frm_pixvane.h"

int main(int argc, char* argv[]) {
    return core::runProgram(argc, argv, {"Pixvane", [](core::Prompts& prompts) {
                                             return std::make_unique<pixvane::FrmPixvane>(prompts);
                                         }});
}
