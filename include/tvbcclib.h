/* tvbcclib: in-memory databases of the data of algebraic optimisation models.
 *
 * A database (tvbHandle) holds labels, symbols (sets, parameters, variables, equations, aliases) and their
 * records. Every operation is exported in several entry families that differ only in how strings travel:
 *
 *   c__tvb<op>   zero-terminated strings; arrays of strings as arrays of pointers      (this header)
 *   d__tvb<op>   length-prefixed strings (byte 0 = length, at most 255 characters, 256-byte buffers);
 *                arrays of strings as blocks of 20 slots of 256 bytes (only operations with strings)
 *   n__tvbgetdomain, n__tvbgetkeys   zero-terminated strings in blocks of 20 slots of 256 bytes
 *   tvb<op>_     the d__ entry for operations with strings, the c__ entry otherwise
 *
 * Conventions of every operation:
 *   - Results are 1 for success and 0 for failure. On failure a message (at most 255 characters) is stored
 *     in the database's last error, read with c__tvbgetlasterror; success does not clear it.
 *   - A null database handle, or a null pointer where an argument is required, is a contract violation: the
 *     library prints "Assertion failed: <condition>, file <source>" to standard error and aborts.
 *   - Out handles (symbols, record handles) are set to NULL before any work. Record handles belong to the
 *     caller and are released with c__tvbfreesymboliterator; they must not outlive their database.
 *   - Operations whose name ends in "py" return the new handle (NULL on failure) and write the status into
 *     their last argument.
 *   - Labels and symbol names are matched without regard to letter case and keep the spelling of their
 *     first registration. Labels hold at most 63 characters (trailing blanks are removed); symbol names
 *     1 to 63 characters: a letter, then letters, digits or '_'.
 *   - Values pass the special-value translation: the caller's five special values (undefined, not
 *     available, +infinity, -infinity, epsilon; by default 1e300, 2e300, 3e300, 4e300, 5e300) are mapped
 *     to and from the stored ones (1e300, NaN, +inf, -inf, the smallest subnormal).
 *   - A database must not be used by two threads at once; different databases may be.
 *
 * Record handles stay valid when records are added to their symbol. A handle whose record was removed
 * (by another handle, by clearing the symbol) is detected: operations on it fail with a message, except
 * c__tvbfreesymboliterator, which always releases it.
 */
#ifndef TVBCCLIB_H
#define TVBCCLIB_H

#ifdef __cplusplus
extern "C" {
#endif

#define TRV_SSSIZE 256          /* size of every string buffer: 255 characters and the terminating zero */
#define GLOBAL_MAX_INDEX_DIM 20 /* largest symbol dimension */
#define TRV_MAX_LABEL_LENGTH 63 /* longest label, after trailing blanks are removed */
#define TVB_API_VERSION 2       /* interface version answered by c__xapiversion */

/* Symbol types. */
#define TRV_DT_SET 0
#define TRV_DT_PAR 1
#define TRV_DT_VAR 2
#define TRV_DT_EQU 3
#define TRV_DT_ALIAS 4 /* only created by loading a file or copying a database */

/* Variable types (userInfo of a variable): the defaults that a new record receives. */
#define TRV_VAR_UNKNOWN 0
#define TRV_VAR_BINARY 1
#define TRV_VAR_INTEGER 2
#define TRV_VAR_POSITIVE 3
#define TRV_VAR_NEGATIVE 4
#define TRV_VAR_FREE 5
#define TRV_VAR_SOS1 6
#define TRV_VAR_SOS2 7
#define TRV_VAR_SEMICONT 8
#define TRV_VAR_SEMIINT 9

/* Equation types (userInfo of an equation). */
#define TRV_EQU_EQ 0 /* equality */
#define TRV_EQU_GE 1 /* greater than or equal */
#define TRV_EQU_LE 2 /* less than or equal */
#define TRV_EQU_NB 3 /* non-binding */
#define TRV_EQU_4 4
#define TRV_EQU_5 5

/* Value fields of a variable or equation record; also the slots of c__tvbgetrecordraw's value array. */
#define TRV_FIELD_LEVEL 0
#define TRV_FIELD_MARGINAL 1
#define TRV_FIELD_LOWER 2
#define TRV_FIELD_UPPER 3
#define TRV_FIELD_SCALE 4

/* Slots of the special-value arrays. */
#define TRV_SV_UNDEF 0
#define TRV_SV_NA 1
#define TRV_SV_PINF 2
#define TRV_SV_MINF 3
#define TRV_SV_EPS 4

/* Keys of c__tvbinfo. */
#define TRV_INFO_SYMBOL_COUNT 0
#define TRV_INFO_UEL_COUNT 1

/* Keys of c__tvbsymbolinfo. */
#define TRV_SYMINFO_NAME 0
#define TRV_SYMINFO_DIM 1
#define TRV_SYMINFO_TYPE 2
#define TRV_SYMINFO_RECORD_COUNT 3
#define TRV_SYMINFO_USERINFO 4
#define TRV_SYMINFO_TEXT 5
#define TRV_SYMINFO_NUMBER 6
#define TRV_SYMINFO_WRITTEN 7

typedef struct tvbHandle tvbHandle;             /* a database */
typedef struct tvbSymbol tvbSymbol;             /* a symbol of a database, owned by it */
typedef struct tvbRecordHandle tvbRecordHandle; /* a position on a record, owned by the caller */
typedef struct tvbDVHandle tvbDVHandle;         /* a position on a domain violation, owned by the caller */

/* The routines of a host program, handed over by c__tvbinitfromcmex. Each receives the host's opaque value
 * (hostHandle) last; the five readers return 0 for success. Names and texts travel length-prefixed (byte 0
 * holds the length, at most 255 characters follow). Keys hold 20 label numbers (the first dim used), values
 * 5 doubles with the special values 1e300 (undefined), 2e300 (not available), 3e300 (+infinity), 4e300
 * (-infinity) and 5e300 (epsilon). */
typedef int (*tvbHostFindSymbol)(const char *name, int *symNr, void *hostHandle);
typedef int (*tvbHostDataReadRawStart)(int symNr, int *recordCount, void *hostHandle);
typedef int (*tvbHostDataReadRaw)(int *keys, double *values, int *dimFirst, void *hostHandle);
typedef int (*tvbHostDataReadDone)(void *hostHandle);
/* Writes element text number textNr of a set record into text (room for maxLength characters after the
 * length byte). */
typedef int (*tvbHostElemText)(int textNr, char *text, int maxLength, void *hostHandle);
/* Receives the messages of c__tvbprintlog. */
typedef void (*tvbHostLog)(const char *msg, void *hostHandle);

#if defined(_WIN32)
#define TVB_EXPORT __declspec(dllexport)
#elif defined(__GNUC__)
#define TVB_EXPORT __attribute__((visibility("default")))
#else
#define TVB_EXPORT
#endif

/* ---------------------------------------------------------------------------------------------------------
 * Creating and releasing a database
 *
 * tvbcreate(&db, msg, size)    Makes a new database in *db (set to NULL first). Returns 1 and empties msg
 *                              (when size > 0); returns 0 with "Error while creating object" in msg (at most
 *                              size bytes, zero-terminated) when no database could be made. db must not be NULL.
 * tvbcreated(&db, dir, msg, size)  As tvbcreate; dir (shorter than 256 characters, may be empty) is the system
 *                              directory in which the external libraries are looked for. d__tvbcreated takes
 *                              dir as a length-prefixed string.
 * xcreate(&db), xcreated(&db, dir)  As above without a message buffer; 1 when a database was made.
 * tvbfree(&db), xfree(&db)     Releases the database in *db, if any, and sets *db to NULL. Returns 1.
 *                              Record and domain-violation handles are not released: free them first.
 * ------------------------------------------------------------------------------------------------------- */
#define TVB_FIXED_ENTRIES(X)                                                                           \
  X(int, tvbcreate, Create, (tvbHandle **ptvb, char *msgBuf, int msgBufLen))                          \
  X(int, tvbcreate_, Create, (tvbHandle **ptvb, char *msgBuf, int msgBufLen))                         \
  X(int, tvbcreated, CreateD, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))       \
  X(int, tvbcreated_, CreateD, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))      \
  X(int, d__tvbcreated, CreateDLp, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))  \
  X(int, d__tvbcreated_, CreateDLp, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen)) \
  X(int, tvbfree, Free, (tvbHandle **ptvb))                                                           \
  X(int, tvbfree_, Free, (tvbHandle **ptvb))                                                          \
  X(int, tvbxcreate, XCreate, (tvbHandle **ptvb))                                                     \
  X(int, tvbxcreate_, XCreate, (tvbHandle **ptvb))                                                    \
  X(int, xcreate, XCreate, (tvbHandle **ptvb))                                                        \
  X(int, xcreate_, XCreate, (tvbHandle **ptvb))                                                       \
  X(int, tvbxcreated, XCreateD, (tvbHandle **ptvb, const char *dir))                                  \
  X(int, tvbxcreated_, XCreateD, (tvbHandle **ptvb, const char *dir))                                 \
  X(int, xcreated, XCreateD, (tvbHandle **ptvb, const char *dir))                                     \
  X(int, xcreated_, XCreateD, (tvbHandle **ptvb, const char *dir))                                    \
  X(int, d__tvbxcreated, XCreateDLp, (tvbHandle **ptvb, const char *dir))                             \
  X(int, d__tvbxcreated_, XCreateDLp, (tvbHandle **ptvb, const char *dir))                            \
  X(int, d__xcreated, XCreateDLp, (tvbHandle **ptvb, const char *dir))                                \
  X(int, tvbxfree, XFree, (tvbHandle **ptvb))                                                         \
  X(int, tvbxfree_, XFree, (tvbHandle **ptvb))                                                        \
  X(int, xfree, XFree, (tvbHandle **ptvb))                                                            \
  X(int, xfree_, XFree, (tvbHandle **ptvb))                                                           \
  /* Interface version and signature check (no database needed):                                      \
   * c__xapiversion(v, msg, &code): 1 when client version v is accepted (v >= 2); code 1 same version,   \
   *   3 newer client, 0 refused. c__xcheck(name, n, sig, msg): 1 when this library has operation name \
   *   (exact case) with n arguments and signature codes sig[0..n]; else 0 and a message. msg holds 256 \
   *   bytes; the d__ forms take the name and return the message as length-prefixed strings. */        \
  X(int, c__xapiversion, ApiVersion, (int api, char *msg, int *compatibility))                          \
  X(int, d__xapiversion, ApiVersionLp, (int api, char *msg, int *compatibility))                        \
  X(int, d__tvbxapiversion, ApiVersionLp, (int api, char *msg, int *compatibility))                     \
  X(int, c__xcheck, Check, (const char *name, int nargs, const int *sig, char *msg))                    \
  X(int, d__xcheck, CheckLp, (const char *name, int nargs, const int *sig, char *msg))                  \
  X(int, d__tvbxcheck, CheckLp, (const char *name, int nargs, const int *sig, char *msg))

#define TVB_DECLARE_FIXED_ENTRY(result, name, target, params) TVB_EXPORT result name params;
TVB_FIXED_ENTRIES(TVB_DECLARE_FIXED_ENTRY)

/* ---------------------------------------------------------------------------------------------------------
 * The operations, c__ family. Contracts by area:
 *
 * Errors and log
 *   getlasterror(db, msg)          Copies the last error (256-byte buffer). 1 if there is one, else 0.
 *   setdebug(db, level)            Sets the process-wide trace level (db is not used). 1.
 *   printlog(db, msg)              Writes msg and a newline to standard output, or hands it to the log
 *                                  routine of a host program. db is not checked. 1.
 * Labels
 *   mergeuel(db, label, &nr)       Registers label (or finds it, any case) and stores its number (1-based).
 *                                  0 for a label with both quote kinds or longer than 63 characters.
 *   getuelbyindex(db, nr, label)   Copies label number nr (buffer of 64 bytes at least); 0 if out of range.
 * Symbols
 *   addsymbol(db, name, dim, type, userInfo, text, &sym)   Adds a symbol over the Universe in each position.
 *                                  dim 0..20 (sets at least 1); type 0..3; userInfo is the variable type
 *                                  0..9 of a variable or the equation type 0..5 of an equation; text
 *                                  at most 255 characters, not NULL.
 *   addsymbolx(..., domains, domainNames, &sym)  As addsymbol with a domain per position: domains[i], a
 *                                  one-dimensional set of this database, or NULL and domainNames[i] ("*" or
 *                                  " " for the Universe, any other name is kept as a relaxed domain name).
 *   findsymbol(db, name, &sym)     Finds a symbol by name (any case); "*" is the Universe; an alias yields
 *                                  its set.
 *   getsymbolbyindex(db, i, &sym)  Symbol i (0-based, creation order, aliases skipped); -1 is the Universe.
 *   getdomain(db, sym, dim, domains, names)  Per position: the domain set (or NULL) and its name (64 bytes).
 * Records (sym of any type; the Universe's records are the labels)
 *   addrecord(db, sym, labels, &rec)   Adds a record with default values, registering new labels; fails if
 *                                  the key exists. rec is a new record handle on it.
 *   addrecordraw(db, sym, uels, values, text)   Adds or replaces a record by label numbers. values holds 5
 *                                  doubles (first only for sets and parameters); for a set, values[0] != 0
 *                                  gives the record the element text text (not NULL).
 *   findrecord(db, sym, labels, &rec)   A new record handle on the record with these labels.
 *   getkeys(db, rec, dim, labels)  The record's labels (dim buffers of 64 bytes at least).
 *   getkey(db, rec, index, label)  The label of position index (0-based).
 *   getrecordraw(db, rec, dim, uels, values)  The label numbers and the values (5 for variables and
 *                                  equations, 1 otherwise; 0 for a Universe record).
 *   get/set level, marginal, lower, upper, scale (db, rec, value)   One value of the record. The level of
 *                                  parameters, variables and equations; the others of variables and
 *                                  equations only (other types abort). 0 for a handle on a removed record.
 * Navigation (records in ascending order of their label numbers, position by position)
 *   findfirstrecord / findlastrecord(db, sym, &rec)   A new handle on the first / last record.
 *   findfirstrecordslice / findlastrecordslice(db, sym, slice, &rec)   The first / last record matching
 *                                  slice: per position a label, or " " for any label. The handle keeps the
 *                                  slice and its moves visit only matching records.
 *   recordmovenext / recordmoveprev(db, rec)   Steps; 0 (handle unmoved) at the end.
 *   recordhasnext / recordhasprev(db, rec)     1 if the step would succeed.
 *   samerecord(db, rec1, rec2)     1 if both stand on the same record.
 *   copysymboliterator(db, src, &rec)   A new handle on the same record (without the slice).
 *   freesymboliterator(db, rec)    Releases a record handle.
 * Maintenance
 *   deleterecord(db, rec)          Removes the record; the handle moves on to the next record.
 *   clearsymbol(db, sym)           Removes every record.
 *   copysymbol(db, target, source) Replaces target's records by copies of source's (same dimension and
 *                                  type; databases may differ: labels are matched by text).
 *   getelemtext / setelemtext(db, rec, text)   The element text of a set record (256-byte buffer; at
 *                                  most 255 characters).
 *   setuserinfo(db, sym, value)    Sets the symbol's user information (subtype).
 *   startwriterecording / stopwriterecording(db)   While on, every changed symbol is flagged "written"
 *                                  (symbolinfo key 7).
 * Information and special values
 *   info(db, key, &i, &d, text)    key 0: number of symbols; 1: number of labels.
 *   symbolinfo(db, sym, key, &i, &d, text)   key 0 name, 1 dim, 2 type, 3 record count, 4 userInfo,
 *                                  5 text, 6 creation number, 7 written flag (text buffer of 256 bytes).
 *   symboldim / symboltype(db, sym, &n)   -1 on failure.
 *   getspecialvalues(db, v)        The five stored special values (v has room for 5 doubles).
 *   setspecialvalues(db, v)        The caller's five special values.
 *   setspecialvaluesx(db, v, &mode)   As setspecialvalues; mode receives 0 (no translation), 1 (only
 *                                  epsilon translated) or 2 (all translated).
 * ------------------------------------------------------------------------------------------------------- */

/* ---------------------------------------------------------------------------------------------------------
 * Data exchange: TVF files, copies and host programs
 *
 * Every database owns a TVF library object (libtvfdclib.so, taken from the directory given to tvbcreated,
 * else found beside libtvbcclib.so). When the library cannot be loaded the database is made all the same
 * and its last error says "TVF create did not succeed: <reason>"; reading a file then fails with that text.
 *
 *   initfromtvf(db, fileName)      Fills a new database (nothing added yet) from a TVF file: element texts,
 *                                  labels (same numbers as in the file), symbols with their texts, subtypes,
 *                                  aliases and domains. Records are not read: the file stays open and each
 *                                  symbol's records are read the first time an operation needs them. On
 *                                  failure what was read so far stays and the database counts as filled.
 *   closetvf(db, loadRemaining)    Ends the link to the file; with loadRemaining != 0 every symbol not yet
 *                                  read is read first (the file stays open if that fails). Symbols left
 *                                  unread stay empty. 0 when the database was not filled from a file.
 *   writetvf(db, fileName, noDomainCheck)   Writes the whole database to a new file: labels, element texts,
 *                                  symbols in creation order with their records. Symbols not yet read from
 *                                  their source are copied from it without being loaded. Domains are stored
 *                                  checked by the TVF library unless noDomainCheck != 0 or the library refuses
 *                                  them (then unchecked). Records outside a checked domain, and any other
 *                                  error the library logs, fail the write with "<n> TVF Error(s). First
 *                                  Error: <text>". The database is not changed; a file being read stays open.
 *   initfromdb(db, source)         Fills db (no labels, no symbols, not filled from a file, model or host)
 *                                  with an independent copy of source: labels with their numbers, symbols
 *                                  with their numbers, records, element texts, aliases and domains. Symbols
 *                                  of source still in their TVF file are read there first. source must not
 *                                  be NULL.
 *   initfromcmex(db, findSymbol, dataReadRawStart, dataReadRaw, dataReadDone, elemText, log, hostHandle)
 *                                  Hands the database the routines of a host program (typedefs above). Every
 *                                  symbol is emptied and its records are read through the routines the first
 *                                  time they are needed; the host's special values are mapped to the stored
 *                                  ones, and set records receive their element texts through elemText. log
 *                                  (may be NULL) receives printlog's messages. Only the c__ entry exists.
 * ------------------------------------------------------------------------------------------------------- */

/* ---------------------------------------------------------------------------------------------------------
 * Array transfer: one value field of a symbol to and from a caller-owned cube
 *
 * A cube has one cell per combination of positions along the symbol's dimensions, row-major (the last
 * dimension fastest); extents holds dim counts and the cube their product of cells: doubles, or 32-bit ints
 * for a set. The caller sizes both (and each domain array to dim entries); the library cannot tell. Domain,
 * slice and squeeze sets are one-dimensional symbols of the symbol's database, not the Universe; position k
 * along dimension d is the k-th record of that set (records in ascending label numbers). Values pass the
 * special-value translation. Symbols still in their data source are read first; the Universe and scalars are
 * refused ("Can't map universe", "Can't map scalars"), as is a NULL symbol ("Empty symbol pointer").
 *
 *   densesymboltodensearray(db, cube, extents, sym, field)   The k-th record into cell k: exactly the
 *                                  row-major cube when the records are the full product of their labels; the
 *                                  cube must have as many cells as sym has records. field 0..4 (level ..
 *                                  scale) for variables and equations, ignored otherwise; a set's cells get
 *                                  1, 2, ...
 *   sparsesymboltodensearray(db, cube, extents, sym, domains, field, &dropped)   Clears the cube, then puts
 *                                  each record at the positions of its labels in domains[d] (extents[d] =
 *                                  their record counts); a set's cells get a running count 1, 2, ... Records
 *                                  with a label outside its domain are skipped and counted in dropped (-1 when
 *                                  the call failed before placing records; the cube may be cleared already).
 *   sparsesymboltosqzdarray(db, cube, extents, sym, squeeze, domains, field, &dropped)   As above, but along
 *                                  dimension d the cube has only the positions of squeeze[d] (extents[d] =
 *                                  its record count); records at domain positions that squeeze[d] lacks are
 *                                  dropped. A set's cell gets 1 + the record's index in the full cube over the
 *                                  domains.
 *   densearraytosymbol(db, sym, domains, cube, extents)   Replaces the records of a set or parameter by the
 *                                  cube over domains (extents[d] = their record counts, none 0): a parameter
 *                                  gets a record for every cell, zeros included; a set one for every non-zero
 *                                  cell, whose value becomes the record's element-text number.
 *   densearrayslicestosymbol(db, sym, slices, domains, cube, extents)   As densearraytosymbol, but only the
 *                                  cells at the labels of slices[d] that lie in domains[d], and only the
 *                                  non-zero ones, become records; no such label leaves the symbol empty.
 *                                  A write that fails (checks, memory) leaves the symbol as it was; a
 *                                  successful one marks it written while write recording is on.
 * ------------------------------------------------------------------------------------------------------- */

/* ---------------------------------------------------------------------------------------------------------
 * Domain checking: records whose labels lie outside the domain sets of their symbol
 *
 * A position is checked when its domain is a set (or an alias of one) named as a domain, not the Universe.
 * Membership is taken from the domain sets when a check begins: labels registered later count as outside.
 * Violation handles (tvbDVHandle) belong to the caller and are released with freedvhandle; a handle is invalid
 * once moved past its symbol's last violation or when its record was removed ("No valid violation handle").
 * A NULL handle is refused with "No domain violation handle specified", a NULL symbol with "No symbol handle
 * specified".
 *
 *   checksymboldv(db, sym, &has)   has = 1 when sym has a violation. Looks at the records in memory: a symbol
 *                                  not yet read from its source has none. Its domain sets are read if needed.
 *   getfirstdvinsymbol(db, sym, &dv)   A new handle on sym's first violation (key order), or NULL.
 *   movenextdvinsymbol(db, dv, &moved)   To the next violation of the symbol; moved = 0 at the end (the handle
 *                                  is invalid then).
 *   getdvindicator(db, dv, marks)  marks[d] = 1 where the record's label lies outside its domain, else 0
 *                                  (dim ints).
 *   getdvsymbol(db, dv, &sym), getdvsymbolrecord(db, dv, &rec)   The symbol; a new record handle on the
 *                                  violating record (free it with freesymboliterator).
 *   freedvhandle(db, dv)           Releases the handle (NULL is accepted).
 *   checkdbdv(db, &has)            has = 1 when any symbol has a violation; leaves no check open.
 *   getfirstdbdv(db, &dv)          Opens a check of the whole database: symbols are read from their source as
 *                                  needed and visited in creation order; dv is the first violation, or NULL.
 *                                  The check stays open (even with dv NULL, unless no symbol has a checked
 *                                  domain) until domaincheckdone; opening a second one fails. A symbol that
 *                                  cannot be read ends the walk with its message in the last error.
 *   getfirstdvinnextsymbol(db, dv, &moved)   Within an open check: to the first violation of a later symbol;
 *                                  moved = 0 (dv unchanged) when there is none. Fails when no check is open.
 *   domaincheckdone(db)            Closes the open check, if any. 1.
 * ------------------------------------------------------------------------------------------------------- */

/* Areas of the library that this build contains; their operations are declared and exported. */
#define TVB_AREA_CORE(x) x
#define TVB_AREA_ARRAYS(x) x
#define TVB_AREA_EXCHANGE(x) x
#define TVB_AREA_MODEL(x)
#define TVB_AREA_HOST(x) x
#define TVB_AREA_DOMAINS(x) x

/* c__ family, and the underscore names of operations without strings. */
#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_AREA_##area(TVB_EXPORT result c__tvb##lower params; TVB_C_UNDERSCORE_##family(result, lower, params))
#define TVB_C_UNDERSCORE_C(result, lower, params) TVB_EXPORT result tvb##lower##_ params;
#define TVB_C_UNDERSCORE_D(result, lower, params)
#define TVB_C_UNDERSCORE_CO(result, lower, params)
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVB_LABELS_IN
#undef TVB_LABELS_OUT

/* d__ family (length-prefixed strings; per-position strings in a block of 20 slots of 256 bytes), and the
 * underscore names of operations with strings. */
#define TVB_LABELS_IN const char *
#define TVB_LABELS_OUT char *
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_AREA_##area(TVB_D_ENTRIES_##family(result, lower, params))
#define TVB_D_ENTRIES_D(result, lower, params) \
  TVB_EXPORT result d__tvb##lower params;      \
  TVB_EXPORT result tvb##lower##_ params;
#define TVB_D_ENTRIES_C(result, lower, params)
#define TVB_D_ENTRIES_CO(result, lower, params)
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVB_LABELS_IN
#undef TVB_LABELS_OUT

/* n__ family: zero-terminated strings in a block of 20 slots of 256 bytes. */
TVB_EXPORT int n__tvbgetdomain(tvbHandle *ptvb, tvbSymbol *sym, int dim, tvbSymbol **domains, char *domainNames);
TVB_EXPORT int n__tvbgetkeys(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, char *labels);

#ifdef __cplusplus
}
#endif

#endif /* TVBCCLIB_H */
