// results-report's entry point: hands the command line, as UTF-8, to
// run_results_report, and says whether standard error is a terminal.
#include <iostream>

#include "report_run.h"
#include "tool_arguments.h"

int main(int argc, char** argv) {
    return kz::report::run_results_report(kz::tools::utf8_arguments(argc, argv), std::cout, std::cerr,
                                          kz::tools::error_stream_is_terminal());
}
