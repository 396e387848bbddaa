// CRC-32C (Castagnoli), the checksum of the TVF header, directory and record chunks.
// Uses the SSE4.2 instruction when the processor has it and a table-driven loop otherwise; both give the
// same result. Thread-safe (no mutable state).
#ifndef TVF_CRC32C_H
#define TVF_CRC32C_H

#include <cstddef>
#include <cstdint>

namespace tvf {

// Extends `crc` (0 for a fresh checksum) over [data, data + size).
uint32_t Crc32cExtend(uint32_t crc, const void *data, size_t size);

inline uint32_t Crc32c(const void *data, size_t size) { return Crc32cExtend(0, data, size); }

// The table-driven loop alone, so that tests can compare it with the hardware path.
uint32_t Crc32cExtendPortable(uint32_t crc, const void *data, size_t size);

}  // namespace tvf

#endif
