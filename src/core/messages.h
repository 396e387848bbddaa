// Every message text of the database core, in one place, so that a reader finds where a message comes from
// and the texts stay exactly as clients see them. Formats take printf arguments.
#pragma once

namespace tvb::msg {

// Frame
inline constexpr const char* kOutOfMemory = "Out of memory in %s";
inline constexpr const char* kUnexpectedException = "Unexpected exception in %s: %s";
inline constexpr const char* kCreateFailed = "Error while creating object";
inline constexpr const char* kNullArgument = "%s: argument %s cannot be NULL";
inline constexpr const char* kForeignSymbolHandle = "Symbol %s does not belong to this database";
inline constexpr const char* kForeignRecordHandle = "Record handle of symbol %s does not belong to this database";

// Labels
inline constexpr const char* kLabelBothQuotes = "Label with single and double quote not allowed >%s<";
inline constexpr const char* kNullLabel = "Label cannot be NULL";
inline constexpr const char* kLabelTooLong = "Label exceeds maximum size of %d: >%s<";
inline constexpr const char* kUelOutOfRange = "Uel index %d out of range [1,%d]";

// Symbols
inline constexpr const char* kSetNeedsDimension = "Dimension must be greater than 0 for a Set";
inline constexpr const char* kBadDimension = "Dimension must be greater or equal 0 and smaller or equal %d (saw %d)";
inline constexpr const char* kNullSymbolName = "Name of symbol cannot be NULL";
inline constexpr const char* kBadSymbolName = "'%s' is not a valid name for a TORV symbol";
inline constexpr const char* kNullSymbolText = "Explanatory text cannot be NULL";
inline constexpr const char* kTextTooLong = "Explanatory text too long. Max length is %d";
inline constexpr const char* kBadSymbolType =
    "Symbol type %d is not valid: use 0 (set), 1 (parameter), 2 (variable) or 3 (equation)";
inline constexpr const char* kBadVariableType = "Variable type %d of symbol %s is not valid: use 0 to 9";
inline constexpr const char* kBadEquationType = "Equation type %d of symbol %s is not valid: use 0 to 5";
inline constexpr const char* kSymbolExists = "Symbol %s exists already";
inline constexpr const char* kDomainNotOneDim = "1 <> Dim of Symbol %s";
inline constexpr const char* kForeignUniverse = "Universe from different database";
inline constexpr const char* kForeignSymbol = "Symbol %s not in this database";
inline constexpr const char* kDomainNotSet = "Symbol %s not a set";
inline constexpr const char* kFindNullName = "Symbol name cannot be NULL";
inline constexpr const char* kSymbolNotFound = "Cannot find symbol %s";
inline constexpr const char* kSymbolIndexRange = "Symbol index %d is out of range";
inline constexpr const char* kNoSymbol = "No symbol handle specified";
inline constexpr const char* kUniverseNoDomain = "The Universe has no domain";
inline constexpr const char* kAlreadyLoaded = "Symbol %s already loaded";
inline constexpr const char* kNoLoader = "Symbol %s not initialized from TVF or TVP: %d";

// Records
inline constexpr const char* kAddToUniverse = "Cannot add records to the Universe";
inline constexpr const char* kRecordExists = "Record %s exists already for symbol %s";
inline constexpr const char* kRecordLost = "Unexpected error when adding record to symbol %s";
inline constexpr const char* kUelNotPositive = "Error when adding record to symbol %s: UEL needs to be greater than zero but is %d";
inline constexpr const char* kUelUnknown = "Error when adding record to symbol %s: UEL %d is unknown. Largest known UEL is %d";
inline constexpr const char* kNotInUniverse = "Cannot find element %s in Universe";
inline constexpr const char* kSymbolEmpty = "Cannot find any record in Symbol %s (%s is empty)";
inline constexpr const char* kElementNotFound = "Cannot find element %s (on position %d) in Symbol %s";
inline constexpr const char* kRecordNotFound = "Cannot find record %s in Symbol %s";
inline constexpr const char* kNoRecordHandle = "No symbol record handle specified";
inline constexpr const char* kIndexTooLarge = "Index too large";
inline constexpr const char* kNegativeIndex = "Index %d is negative";
inline constexpr const char* kBadKeyCount = "Dimension %d does not match symbol %s of dimension %d";
inline constexpr const char* kStaleHandle = "The record handle of symbol %s stands on no record (its record was removed)";

// Navigation
inline constexpr const char* kNoRecordInUniverse = "Cannot find a record in Universe";
inline constexpr const char* kNoRecordInSymbol = "Cannot find a record in Symbol %s";
inline constexpr const char* kSliceOnUniverse = "Cannot define a slice on the Universe";
inline constexpr const char* kSliceElementNotFound = "Cannot find slice element %s (on position %d) in Symbol %s";
inline constexpr const char* kNoRecordForSlice = "Cannot find a record for slice %s in Symbol %s";
inline constexpr const char* kLastInUniverse = "Last record reached in Universe";
inline constexpr const char* kLastInSymbol = "Last record reached in symbol %s";
inline constexpr const char* kLastInSlice = "Last record reached in slice of symbol %s";
inline constexpr const char* kFirstInUniverse = "First record reached in Universe";
inline constexpr const char* kFirstInSymbol = "First record reached in symbol %s";
inline constexpr const char* kFirstInSlice = "First record reached in slice of symbol %s";
inline constexpr const char* kNoSourceRecordHandle = "No source symbol record handle specified";
inline constexpr const char* kNoIteratorToFree = "No iterator to be freed defined";

// Maintenance
inline constexpr const char* kDeleteUniverse = "Cannot delete the Universe";
inline constexpr const char* kClearUniverse = "Cannot clear the Universe";
inline constexpr const char* kNoSourceSymbol = "No source symbol handle specified";
inline constexpr const char* kNoTargetSymbol = "No target symbol handle specified";
inline constexpr const char* kInconsistentDims = "Inconsistent symbol dimensions";
inline constexpr const char* kInconsistentTypes = "Inconsistent symbol types";
inline constexpr const char* kGetTextUniverse = "Cannot get explanatory text for records of the Universe";
inline constexpr const char* kSetTextUniverse = "Cannot set explanatory text for records of the Universe";
inline constexpr const char* kTextNotSet = "Element texts belong to records of sets; symbol %s is a %s";
inline constexpr const char* kUserInfoUniverse = "Cannot set UserInfo of Universe";
inline constexpr const char* kRecordingActive = "Write Recording already active";
inline constexpr const char* kRecordingInactive = "Write Recording not active";

// Information
inline constexpr const char* kInfoKey = "infoKey needs to be either %d or %d, saw %d";
inline constexpr const char* kSymbolInfoKey = "No valid infoKey, saw %d";

}  // namespace tvb::msg
