// Every message and trace text of the model link, in one place, exactly as clients see them. Formats take
// printf arguments.
#pragma once

namespace tvb::model::msg {

// The start of the model libraries' text for an operation of theirs that ran out of memory
inline constexpr const char* kLibraryOutOfMemory = "Out of memory in ";

// Registering a model
inline constexpr const char* kNoModel = "No model instance specified (the model handle is NULL)";
inline constexpr const char* kTvpNotReady = "Error in tvpGetReady: %s";
inline constexpr const char* kDctNotReady = "Error in dctGetReady: %s";
inline constexpr const char* kNoDictionary = "No dictionary available";

// Initialising from the dictionary
inline constexpr const char* kUelsPresent = "Uels present. Cannot load Uels from dictionary.";
inline constexpr const char* kIncorrectlyInitialized = "Database incorrectly initialized.";
inline constexpr const char* kNotInModel = "Variable/Equation symbol %s does not exist in model";
inline constexpr const char* kNotVariableOrEquation = "TVP symbol type not variable or equation of symbol %s";
inline constexpr const char* kDimensionMismatch = "Mismatch in dimension for symbol %s";
inline constexpr const char* kTypeMismatch = "Mismatch in type for symbol %s";
inline constexpr const char* kTooManyDimensions = "Symbol %s of the model has %d dimensions; at most %d are possible";

// Preparing updates
inline constexpr const char* kFromTvf = "Database initialized from TVF cannot sync with model";
inline constexpr const char* kNoneRegistered =
    "No model registered with this database: call tvbRegisterTVP or tvbInitFromDict first";
inline constexpr const char* kNotRegistered =
    "The model instance is not the one registered with this database (tvbRegisterTVP, tvbInitFromDict)";
inline constexpr const char* kNoConfigurationFile = "Could not read configuration file";

// Loading a symbol from the model
inline constexpr const char* kNoModelEntry = "Symbol %s has no entry in the model's dictionary";
inline constexpr const char* kEntryMismatch =
    "Symbol %s (a %s of dimension %d) does not match the model's symbol of that name (%s of dimension %d)";
inline constexpr const char* kLabelOutside =
    "Label number %d of symbol %s in the model lies outside the database's labels [1,%d]: initialise the "
    "database from the model's dictionary";

// Updating a model symbol
inline constexpr const char* kNotPrepared = "The database is not prepared for model updates: call tvbInitUpdate first";
inline constexpr const char* kNoModelSymbol = "No TORV symbol handle specified";
inline constexpr const char* kNoDataSymbol = "No Data symbol handle specified for TORV symbol %s";
inline constexpr const char* kModelSymbolType = "TORV symbol %s must be parameter, variable, or equation";
inline constexpr const char* kDataSymbolType = "Data symbol %s must be parameter";
inline constexpr const char* kSymbolNotInModel = "Could not find symbol %s in model";
inline constexpr const char* kBadValue = "Bad value %g";
inline constexpr const char* kInvalidAction = "Invalid actionType, saw %d";
inline constexpr const char* kBoundsOfEquation =
    "actionType %d moves the level and bounds of variables; %s is an equation of the model (use 4 or 5)";
inline constexpr const char* kLevelOfParameter =
    "actionType %d sets levels or marginals; parameter %s is fixed by its values (use 0 to 3)";
inline constexpr const char* kOutsideSnapshot =
    "Entry %d of symbol %s lies outside the model as tvbInitUpdate found it (%d entries)";

// Invoking a solver
inline constexpr const char* kNoSolverName = "No solver name specified";
inline constexpr const char* kInvalidSolver = "Invalid solver name: %s";
inline constexpr const char* kCreateFailed = "Could not create an instance of solver %s";
inline constexpr const char* kReadyApiFailed = "readyapi failed";
inline constexpr const char* kModifyFailed = "modifyproblem failed";
inline constexpr const char* kCallSolverFailed = "callsolver failed";
inline constexpr const char* kSolveFailed = "Solver %s failed";

}  // namespace tvb::model::msg

namespace tvb::model::traces {

inline constexpr const char* kEnterInitFromDict = "---- Entering InitFromDict ----";

}  // namespace tvb::model::traces
