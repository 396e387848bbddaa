// The process-wide trace output of the initialisations: a level set by tvbSetDebug, and lines written to
// standard output when the level reaches theirs.
#pragma once

namespace tvb {

int debugLevel();
void setDebugLevel(int level);

// Writes a trace line of the given level (indented by two blanks per level above 1) when the level is on.
void trace(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace tvb
