/* Operations of the TVF library beyond those that tvbcclib calls, for the library's own tools, tests and
 * fuzzing. Same row format as tvf_operations.h; the check entry answers for these rows as well.
 *
 *   tvfSetCompression   codec for the chunks of files written from now on: 0 none (the default), 1 lz4,
 *                       2 zstd; 0 and a logged error for another value
 *   tvfOpenReadMemory   as tvfOpenRead, from a copy of size bytes at data (no file involved)
 *   tvfFileInfo         format version and producer text of the open file */

TVF_OP(tvfSetCompression, tvfSetCompression, int, (tvfHandle_t pt, int codec), (pt, codec), (3, 3))
TVF_OP(tvfOpenReadMemory, tvfOpenReadMemory, int, (tvfHandle_t pt, const void *data, int size, int *errNr),
       (pt, data, size, errNr), (3, 1, 3, 4))
TVF_OP(tvfFileInfo, CtvfFileInfo, int, (tvfHandle_t pt, int *formatVersion, char *producer),
       (pt, formatVersion, producer), (3, 4, 12))
