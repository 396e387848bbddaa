/* The public C interface of the TVF data-exchange file library (libtvfdclib.so, API version 7).
 * Every operation takes a library object made by XCreate and released by XFree; results are 1 for success
 * and 0 for failure unless stated otherwise. Strings are zero-terminated, at most 255 characters, and every
 * string written by the library goes into a caller buffer of 256 bytes. Nothing throws across this boundary. */
#ifndef TVF_TVF_H
#define TVF_TVF_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define TVF_EXPORT __attribute__((visibility("default")))
#else
#define TVF_EXPORT
#endif

/* The library object: one open file (read or write) with its error log and special values. */
typedef struct tvfRec *tvfHandle_t;

/* The API version that this library implements; clients of version 7 and later are accepted. */
#define TVF_API_VERSION 7

/* Number of entries of a special-value array; the first five are UNDF, NA, PINF, MINF, EPS. */
#define TVF_SPECIAL_VALUE_COUNT 7

/* Dimension limit and buffer sizes shared with the callers. */
#define TVF_MAX_DIM 20
#define TVF_VALUE_COUNT 5
#define TVF_STRING_SIZE 256
#define TVF_MAX_LABEL_LENGTH 63

/* Writes a new object to *pt (NULL on failure); 1 on success, 0 when no memory was available. */
TVF_EXPORT int XCreate(tvfHandle_t *pt);

/* Closes any open file of *pt, frees it and sets *pt to NULL; 1 (also for a NULL object). */
TVF_EXPORT int XFree(tvfHandle_t *pt);

/* Answers whether the operation `name` (compared exactly) exists with `nargs` counted arguments and the
 * signature `sig` (nargs + 1 codes, result first). 1 and an empty msg when it does; 0 and the reason in
 * msg (a 256-byte buffer, may be NULL) otherwise. */
TVF_EXPORT int CXCheck(const char *name, int nargs, const int *sig, char *msg);

/* Agrees the API version with a client: api >= 7 is accepted (compatibility 1 when equal, 3 when the
 * client is newer); an older api is refused with 0 and a message. msg and compatibility may be NULL. */
TVF_EXPORT int CXAPIVersion(int api, char *msg, int *compatibility);

/* The directory the library was loaded from, as told by the loader; kept for the library's own use.
 * CtvfSetLoadPath copies at most 255 characters; CtvfGetLoadPath writes into a 256-byte buffer. Both 1. */
TVF_EXPORT int CtvfSetLoadPath(const char *dir);
TVF_EXPORT int CtvfGetLoadPath(char *dir);

/* The operations, each exported under its lookup name (tvf_operations.h: those that tvbcclib calls;
 * tvf_extra_operations.h: the library's own additions). CXCheck answers for every row of both.
 *
 * Common rules. A NULL object gives 0 and nothing else. Every failure logs an error (see Errors) unless said
 * otherwise. Strings written by the library are zero-terminated and cut to 255 characters; out arguments
 * may be NULL where they are only written, except where noted. Symbol numbers run from 1 in the order the
 * symbols (aliases included) were written; number 0 is the Universe "*", whose records are the labels.
 * Keys are arrays of 20 label numbers of which the first dim are used; values arrays of 5 doubles, sets
 * and parameters using the first (the other four are read back as 0).
 *
 * Opening and closing
 *   CtvfOpenWrite(fileName, producer, errNr)  starts a new file of that name; 1 and *errNr = 0 on success,
 *       else 0 and *errNr the number of the logged error. The new file is written beside a file of that
 *       name (following a symbolic link), which stays as it was, and readable by those reading it, until
 *       tvfClose puts the new one in its place. Refused when that file is not a regular file or may not be
 *       written, or when its directory takes no new file. Opening (read or write) clears the error log and
 *       is refused while a file is open.
 *   CtvfOpenRead(fileName, errNr)  opens and checks the file (magic, version, header and directory
 *       checksums, length against the header, the directory's contents); as above for the results. Blocks
 *       of records are checked when they are read.
 *   tvfClose  finishes a file being written (a symbol still open is finished first), syncs it to disk and
 *       renames it over the file of its name, or releases a file being read. A file being written is put in
 *       place only when no error was logged since it was opened (the refusals of tvfSymbolSetDomain
 *       excepted) and every step succeeded; otherwise tvfClose gives 0 with a logged error, the file of that
 *       name stays as it was, and no partial or temporary file is left behind (only when the sync of the
 *       directory after the rename fails is the new file in place with a result of 0). A file being written
 *       when its object is freed with XFree is thrown away in the same way.
 *
 * Errors
 *   tvfErrorCount  every error logged since the file was opened, those already taken off included.
 *   tvfGetLastError  takes the most recent error off the log and returns its number; 0 when none is left.
 *   CtvfErrorStr(errNr, errMsg)  the text of an error number (also of numbers already taken off; "no error"
 *       for 0); 1, or 0 when errMsg is NULL.
 *
 * Special values (7 entries: UNDF, NA, PINF, MINF, EPS, then two reserved entries kept as given)
 *   tvfSetSpecialValues  the doubles that mean the five special values in records written from now on;
 *       refused (0) when two of the five have the same bits. Defaults: 1.0e300, a quiet NaN, +inf, -inf, the
 *       smallest positive subnormal.
 *   tvfSetReadSpecialValues  the doubles handed back for special values read from now on (same defaults).
 *   tvfGetSpecialValues  the values in force for reading while a file is open for reading, else those for
 *       writing. Matching is by bit pattern: a NaN is special only when its bits equal a slot's bits; every
 *       other double (other NaN payloads, negative zero, subnormals) is stored and read back bit for bit.
 *
 * Writing, in this order
 *   tvfUELRegisterRawStart, CtvfUELRegisterRaw(label), tvfUELRegisterDone  the i-th label registered gets
 *       number i; a label longer than 63 characters or equal (ignoring case) to an earlier one is refused.
 *   CtvfAddSetText(text, textNr)  element texts, numbered 1, 2, ... as given (repeats included).
 *   CtvfAddAlias(alias, set)  an alias of a set already written, of an alias (it then stands for the same
 *       set) or of "*"; its subtype is the set's number (0 for the Universe).
 *   CtvfDataWriteRawStart(name, text, dim, type, userInfo)  starts a symbol: name of 1 to 63 letters, digits
 *       and underscores starting with a letter, unique regardless of case; dim 0 to 20; type 0 set,
 *       1 parameter, 2 variable, 3 equation; userInfo is stored as the subtype.
 *   CtvfSymbolSetDomain(domainNames)  before the first record, the current symbol's domain, checked: each
 *       name "*" or a one-dimensional set or alias written earlier. Refused (0, one logged error per bad
 *       name, nothing stored) otherwise. Records whose labels lie outside a domain set are logged errors.
 *   tvfDataWriteRaw(keys, values)  one record, in any order; labels must be registered. A key written twice
 *       is a logged error.
 *   tvfDataWriteDone  ends the symbol: its records are sorted and appended to the file.
 *   CtvfSymbolSetDomainX(symNr, domainNames)  a symbol's domain names, stored as given without checking.
 *
 * Reading
 *   tvfSystemInfo(symbolCount, uelCount); tvfUMUelInfo(uelCount, highMap) both the label count;
 *   CtvfUMUelGet(uelNr, label, mapping) the label and mapping = uelNr, 0 when out of range;
 *   CtvfGetElemText(textNr, text, node) non-zero while the text exists (node always 0);
 *   CtvfSymbolInfo(symNr, name, dim, type); CtvfSymbolInfoX(symNr, recordCount, userInfo, text);
 *   CtvfSymbolGetDomainX(symNr, domainNames) writes dim names into 256-byte buffers and returns 1 when no
 *       domain was given (every name "*"), 2 for names stored as given, 3 for a checked domain, 0 for a bad
 *       number; CtvfFindSymbol(name, symNr) any letter case, "*" gives 0.
 *   These catalog questions (0 for numbers out of range, without a logged error) also work during a write.
 *   tvfDataReadRawStart(symNr, recordCount)  starts reading a symbol (an alias reads as its set); 0 with a
 *       count of 0 when the number is out of range or the block is damaged.
 *   tvfDataReadRaw(keys, values, dimFirst)  the next record in ascending key order, dimFirst the first
 *       position (from 1) that differs from the previous record; 0 after the last record (no error) or when
 *       the block turns out damaged (logged error; reading stops).
 *   tvfDataReadDone  ends reading the symbol. */
#define TVF_OP(name, lookup, result, parameters, arguments, signature) TVF_EXPORT result lookup parameters;
// clang-format off
#include "tvf_operations.h"
#include "tvf_extra_operations.h"
// clang-format on
#undef TVF_OP

#ifdef __cplusplus
}
#endif

#endif
