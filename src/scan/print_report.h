#pragma once

#include <string>
#include <string_view>

namespace core {
class Context;
class Printer;
}  // namespace core

namespace scan {

// The line that closes a printed report, after the program's name.
inline constexpr std::string_view kPrintNotice = "Report of missing add-on files for FS98, FS2000 and FS2002.";

// Half an inch, in twips: the left and top margin of every page, and the
// space kept free at the bottom.
inline constexpr double kPrintMargin = 720;

// The text of "print.txt": the report, three empty lines and the two
// closing lines, each line ended by CR LF.
std::string PrintFileText(std::string_view report);

// Lays text's lines out on the printer's pages: half-inch margins, and a
// new page whenever the next line would reach into the bottom margin.
// Throws the printer's first failure; the document is left open.
void PrintLines(core::Printer& printer, std::string_view text);

// The pages Print makes of the report (Arial 10, the closing lines after
// it), as one document on printer, ended. Throws the first failure.
void PrintReportOn(core::Printer& printer, std::string_view report);

// Prints the report on ctx.printer, Arial 10, half-inch margins, through
// "print.txt" in the application folder, which is gone afterwards whatever
// failed. Reports nothing: the first failing step ends the printing of
// lines, and the document is still ended. Returns the printer's
// destination (empty when nothing was printed or the printer says nothing).
std::string PrintReport(core::Context& ctx, std::string_view report);

}  // namespace scan
