// Splitting one command line into arguments, for platforms that hand the
// program a single text rather than an argument vector.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/lead_bytes.h"

namespace pictrim::text {

// Every argument of `line`, the program name first. Bytes 0x01-0x20 separate
// arguments; double quotes group blanks into an argument and are dropped;
// there is no escape character. The list ends before the first empty
// argument.
std::vector<std::string> SplitCommandLine(std::string_view line, const LeadByteSet& lead);

}  // namespace pictrim::text
