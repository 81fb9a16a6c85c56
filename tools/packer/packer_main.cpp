// The packer's entry point: hands the command line, as UTF-8, to run_packer.
#include <iostream>

#include "packer_commands.h"
#include "tool_arguments.h"

int main(int argc, char** argv) {
    return kz::run_packer(kz::tools::utf8_arguments(argc, argv), std::cout, std::cerr);
}
