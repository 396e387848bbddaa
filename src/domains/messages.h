// Every message text of domain checking, in one place. Formats take printf arguments.
#pragma once

namespace tvb::domains::msg {

inline constexpr const char* kNoViolationHandle = "No domain violation handle specified";
inline constexpr const char* kInvalidViolationHandle = "No valid violation handle";
inline constexpr const char* kForeignViolationHandle =
    "Domain violation handle of symbol %s does not belong to this database";
inline constexpr const char* kWholeCheckOpen =
    "A domain check of the whole database is open already: close it with tvbDomainCheckDone first";
inline constexpr const char* kNoWholeCheckOpen =
    "No domain check of the whole database is open: start one with tvbGetFirstDBDV";

}  // namespace tvb::domains::msg
