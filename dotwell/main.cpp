#include "core/ui/program_main.h"
#include "dotwell/frm_dotwell.h"

int main(int argc, char* argv[]) {
    return core::runProgram(argc, argv, {"Dotwell", [](core::Prompts& prompts) {
                                             return std::make_unique<dotwell::FrmDotwell>(prompts);
                                         }});
}
