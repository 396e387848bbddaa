// The kinds of error the library logs. Their texts are in error_messages.cc; the comment of each code says
// which entry fields it uses (a and b are numbers unless marked as texts).
#ifndef TVF_ERROR_CODES_H
#define TVF_ERROR_CODES_H

#include <cstdint>

namespace tvf {

enum class ErrorCode : uint8_t {
  // Calls
  kOutOfMemory,       // a: text operation
  kUnexpected,        // a: text operation, b: text what
  kNullArgument,      // a: text operation, b: text argument
  kAlreadyOpen,       // a: text operation
  kNoFileOpen,        // a: text operation
  kNotWriting,        // a: text operation
  kNotReading,        // a: text operation
  kNoSymbolStarted,   // a: text operation
  kSymbolInProgress,  // symbol, a: text operation
  kNotRegistering,    // a: text operation
  kRegistering,       // a: text operation
  kNoReadStarted,     // a: text operation
  kBadCodec,          // a: the codec
  kBadSpecialValues,  // a, b: the two slots
  // Opening and reading
  kCannotOpen,    // a: text system reason
  kCannotCreate,  // a: text system reason
  kReadFailed,    // a: text system reason
  kWriteFailed,   // a: text system reason
  kTooShort,      // a: file size
  kNotTvf,
  kHeaderDamaged,
  kVersionTooNew,  // a: version
  kIncomplete,
  kTruncated,  // a: file size, b: length in the header
  kTooLong,    // a: file size, b: length in the header
  kDirectoryDamaged,
  kDirectoryMalformed,  // a: text problem
  kBadSymbolNumber,     // a: number, b: symbol count
  kBlockDamaged,        // symbol
  kBlockMalformed,      // symbol, a: text problem
  kLabelOutOfRange,     // symbol, a: label number, b: label count
  // Writing
  kLabelTooLong,    // a: text label
  kDuplicateLabel,  // a: text label, b: earlier number
  kTooManyLabels,
  kTooManyTexts,
  kTextTooLong,         // a: length
  kBadSymbolName,       // a: text name
  kDuplicateSymbol,     // a: text name
  kBadDimension,        // a: text name, b: dimension
  kBadType,             // a: text name, b: type
  kSymbolTextTooLong,   // a: text name
  kUnknownAliasTarget,  // a: text alias, b: text set
  kAliasTargetNotSet,   // a: text alias, b: text target
  kDomainUnknown,       // symbol, position, a: text name
  kDomainNotOneDim,     // symbol, position, a: text name
  kDomainTooLate,       // symbol
  kDomainNameTooLong,   // symbol, position
  kAliasHasNoDomain,    // symbol
  kDuplicateKey,        // symbol, a: offset of the key in the log's key store
  kDomainViolation,     // symbol, position, a: label number
  kTooManyRecords,      // symbol
  kLeftAsItWas,         // a: the number of errors that kept the new file from replacing it
};

}  // namespace tvf

#endif
