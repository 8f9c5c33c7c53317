// Taking paths apart without touching the file system. The delimiter set is
// a parameter so the same rules serve Windows paths (backslash and drive
// colon) and POSIX paths ("/").
#pragma once

#include <string>
#include <string_view>

#include "text/lead_bytes.h"

namespace pictrim::text {

struct PathSyntax {
  std::string_view delimiters;  // bytes that end a directory prefix
  LeadByteSet lead;

  static PathSyntax Windows(const LeadByteSet& lead) { return {"\\:", lead}; }
  static PathSyntax Posix(const LeadByteSet& lead) { return {"/", lead}; }
};

// Up to and including the last delimiter; empty when there is none.
std::string DirectoryPrefix(std::string_view path, const PathSyntax& syntax);

// Everything after the last delimiter; the whole path when there is none.
std::string FileNamePart(std::string_view path, const PathSyntax& syntax);

// From the last "." to the end when that dot comes after every delimiter.
std::string ExtensionPart(std::string_view path, const PathSyntax& syntax);

// The path without its extension part, followed by `extension` as given.
std::string ReplaceExtension(std::string_view path, std::string_view extension,
                             const PathSyntax& syntax);

}  // namespace pictrim::text
