// Every message and trace text of the data exchange (TVF reading and writing, database copies, host
// programs), in one place, exactly as clients see them. Formats take printf arguments.
#pragma once

namespace tvb::exchange::msg {

// The database's TVF object and the writer's own
inline constexpr const char* kTvfCreateFailed = "TVF create did not succeed: %s";
inline constexpr const char* kSpecialValuesRefused = "Error setting special values";

// The start of the TVF library's text for an operation of its own that ran out of memory
inline constexpr const char* kLibraryOutOfMemory = "out of memory in ";

// Reading a file
inline constexpr const char* kAlreadyInitialized = "Database has been initialized, cannot initialize from %s";
inline constexpr const char* kOpenFailed = "Error opening TVF file: %s";
inline constexpr const char* kNotFromTvf = "Database not initialized from TVF";
inline constexpr const char* kCatalogReadFailed = "Error reading TVF file %s: %s";
inline constexpr const char* kReadFailed = "Error reading the records of symbol %s from the TVF file: %s";

// Writing a file
inline constexpr const char* kOpenWriteFailed = "%s: %s";
inline constexpr const char* kAliasRefused = "Error writing alias %s of set %s to TVF";
inline constexpr const char* kSymbolRefused = "Error writing symbol %s to TVF";
inline constexpr const char* kStreamFailed = "Problems writing symbol %s to TVF";
inline constexpr const char* kStreamFailedBecause = "Problems writing symbol %s to TVF: %s";
inline constexpr const char* kWriteErrors = "%d TVF Error(s). First Error: %s";

// Copying a database
inline constexpr const char* kTargetHasLabels = "Uels present. Cannot load Uels from other database.";
inline constexpr const char* kTargetHasSymbols = "Symbols present. Cannot load symbols from other database.";
inline constexpr const char* kTargetInitialized = "Database incorrectly initialized.";

// Host programs
inline constexpr const char* kHostFindSymbol = "Problems with findSymbol for symbol %s";
inline constexpr const char* kHostReadStart = "Problems with dataReadRawStart for symbol %s";
inline constexpr const char* kHostRead = "Problems with dataReadRaw for symbol %s";
inline constexpr const char* kHostReadDone = "Problems with dataReadDone for symbol %s";
inline constexpr const char* kHostBadLabel = "Problems with dataReadRaw for symbol %s: label number %d outside [1,%d]";

}  // namespace tvb::exchange::msg

// Trace lines of the initialisations (written when the debug level reaches their level).
namespace tvb::exchange::traces {

inline constexpr const char* kEnterInitFromTvf = "---- Entering InitFromTVF ----";
inline constexpr const char* kLeaveInitFromTvf = "---- Leaving InitFromTVF ----";
inline constexpr const char* kNotNoSource = "FROM_NOSOURCE!=initFrom";
inline constexpr const char* kOpening = "Open tvf file for reading";
inline constexpr const char* kOpenError = "Error opening tvf file";
inline constexpr const char* kOpened = "Opening tvf file was successful";
inline constexpr const char* kSpecialValues = "using special values from TVB";
inline constexpr const char* kTextsStart = "Start loading string table";
inline constexpr const char* kTextsLoading = "loading strings";
inline constexpr const char* kTextRead = "reading string: %s";
inline constexpr const char* kTextExists = "Text already exists";
inline constexpr const char* kTextAdded = "Adding test";
inline constexpr const char* kTextsDone = "loading strings done";
inline constexpr const char* kLabelsStart = "start loading uels";
inline constexpr const char* kLabelGet = "Get uel";
inline constexpr const char* kLabelLoaded = "Uel loaded: %s";
inline constexpr const char* kLabelsDone = "loading uels done";
inline constexpr const char* kSymbolsStart = "creating symbols";
inline constexpr const char* kSymbolCreating = "creating symbol";
inline constexpr const char* kSymbolCreated = "symbol created: %s";
inline constexpr const char* kEnterInitFromDb = "---- Entering InitFromDB ----";

}  // namespace tvb::exchange::traces
