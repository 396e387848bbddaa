// Every message text of the array transfers, in one place. Formats take printf arguments; %ld arguments are
// passed as long.
#pragma once

namespace tvb::arrays::msg {

// The symbol being transferred
inline constexpr const char* kEmptySymbol = "Empty symbol pointer";
inline constexpr const char* kMapUniverse = "Can't map universe";
inline constexpr const char* kMapScalar = "Can't map scalars";
inline constexpr const char* kCopyIntoVarEqu = "Copy into var/equ symbol %s not possible";

// The cube
inline constexpr const char* kZeroSizedCube = "Zero sized cube";
inline constexpr const char* kCubeSizeMismatch = "Size of cube %ld and number of record %ld in %s do not match";
inline constexpr const char* kFieldOutOfBounds = "Field %d is out of bounds [0,%d]";
inline constexpr const char* kZeroSizedDimension = "Zero sized dimension %d";
inline constexpr const char* kNegativeExtent = "Cube dimension %d is %d, needs to be at least 0";
inline constexpr const char* kCubeTooLarge = "The cube of symbol %s has more cells than can be addressed";

// Domain, slice and squeeze sets
inline constexpr const char* kNoDomainSymbol = "No domain symbol given for dimension %d of symbol %s";
inline constexpr const char* kUniverseAsDomain = "Cannot use universe as domain symbol %s";
inline constexpr const char* kDomainInOtherDatabase = "Symbol %s and domain symbol %s in different databases";
inline constexpr const char* kDomainDimension = "Domain symbol %s has dimension %d, needs to be 1";
inline constexpr const char* kExtentNotCard = "Cube dimension %d is %d while card(%s) is %ld.";

}  // namespace tvb::arrays::msg
