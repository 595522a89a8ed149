#pragma once
// Which existing files an output may replace: those Quorvel wrote itself (a report, a summary,
// a table, a trace, a chart, told by how they begin), empty files and nothing at all. Anything
// else, a tally given the wrong name say, is kept unless the user says --force.

#include <filesystem>

#include "engine/refusal.h"

namespace quorvel {

// True when nothing stands at `path`, or an empty file, or a file that begins as one of
// Quorvel's outputs does, or something that is no regular file (which the writing refuses by
// itself, with its own reason).
bool replaceable_output(const std::filesystem::path& path);

// Throws Refused (output_not_ours) naming `path` as an output of the kind given, unless
// `force` or the file may be replaced.
void refuse_unless_replaceable(const std::filesystem::path& path, Output output, bool force);

}  // namespace quorvel
