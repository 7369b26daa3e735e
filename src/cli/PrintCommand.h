#pragma once

// The print command: run by the helper program varenta-cli-print, offered by varenta-cli.
namespace varenta::cli {

inline constexpr const char* PrintHelperName = "varenta-cli-print";

inline constexpr const char* PrintUsage =
    "print [--program-dir P] --data-dir D --client N [--summary-page] --pdf OUT.pdf\n"
    "                                       score client N and print the report into OUT.pdf";

inline constexpr const char* PrintHelp =
    "Scores client N of the data disk D as the report viewer does, rewrites report.prn and\n"
    "prints it into the PDF file OUT.pdf, page for page as the printer would print it.\n"
    "Needs no display. --summary-page adds the one-page summary.";

} // namespace varenta::cli
