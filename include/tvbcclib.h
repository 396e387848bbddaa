/* tvbcclib: in-memory databases of the data of algebraic optimisation models.
 *
 * A database (tvbHandle) holds labels, symbols (sets, parameters, variables, equations, aliases) and their
 * records. This header declares every function that the library exports, grouped by area, each with its
 * contract in the comment above it:
 *
 *   Creating and releasing a database         tvbcreate, tvbcreated, tvbfree, xcreate, xfree, ...
 *   Interface version and signature check     c__xapiversion, c__xcheck
 *   Errors, trace level and log output        c__tvbgetlasterror, c__tvbsetdebug, c__tvbprintlog
 *   Labels                                    c__tvbmergeuel, c__tvbgetuelbyindex
 *   Symbols                                   c__tvbaddsymbol, c__tvbfindsymbol, c__tvbgetdomain, ...
 *   Records and values                        c__tvbaddrecord, c__tvbfindrecord, c__tvbgetlevel, ...
 *   Navigation                                c__tvbfindfirstrecord, c__tvbrecordmovenext, ...
 *   Maintenance                               c__tvbdeleterecord, c__tvbclearsymbol, c__tvbcopysymbol, ...
 *   Information and special values            c__tvbinfo, c__tvbsymbolinfo, c__tvbsetspecialvalues, ...
 *   Array transfer                            c__tvbdensesymboltodensearray, c__tvbdensearraytosymbol, ...
 *   TVF files and database copies             c__tvbinitfromtvf, c__tvbclosetvf, c__tvbwritetvf, ...
 *   Model link                                c__tvbinitfromdict, c__tvbinitupdate, c__tvbcallsolver, ...
 *   Host programs                             c__tvbinitfromcmex
 *   Domain checking                           c__tvbchecksymboldv, c__tvbgetfirstdbdv, ...
 *
 * ENTRY FAMILIES. Each operation is exported under several names that differ only in how strings travel.
 * The contracts below are written for the c__ family; each area ends with the other names of its entries.
 *   c__tvb<op>   Zero-terminated strings. Per-position strings (one for each index position of a symbol) as
 *                an array of pointers.
 *   d__tvb<op>   Only operations with strings. Strings as length-prefixed buffers of 256 bytes: byte 0 holds
 *                the length (0 to 255), the characters follow, no terminating zero is needed. Per-position
 *                strings as a block of 20 such slots of 256 bytes, slot i for position i. A key's slots are
 *                as many as its symbol's dimension: for a NULL symbol the entry fails with "No symbol handle
 *                specified" without running the operation (the py forms return NULL with *status 0).
 *                Domain names (addsymbolx) and written label blocks (getdomain, getkeys) take the dim
 *                argument's number of slots. Strings that the operation writes come back length-prefixed
 *                (cut to 255 characters) also after a failure, empty then; their buffers hold 256 bytes.
 *   n__tvbgetdomain, n__tvbgetkeys   Zero-terminated strings written into a block of 20 slots of 256 bytes.
 *   tvb<op>_     The same entry as d__tvb<op> for operations with strings, as c__tvb<op> otherwise.
 *
 * CONVENTIONS of every operation unless its contract says otherwise:
 *   - Result 1 for success, 0 for failure. A failure stores its message (cut to 255 characters) as the
 *     database's last error, read with c__tvbgetlasterror; success does not clear it. Messages are quoted
 *     below as the printf formats that produce them: %s and %d stand for the names and numbers that the
 *     contract mentions.
 *   - An operation that allocates may also fail with "Out of memory in tvb<Op>" (also written to standard
 *     output) or "Unexpected exception in tvb<Op>: %s", <Op> being the operation's name (tvbAddSymbol, ...).
 *     These are not repeated below. A failure keeps what was changed before it; there is no rollback.
 *   - A NULL database (ptvb) is a contract violation: the library prints "Assertion failed: ptvb != NULL,
 *     file tvbcoorg" to standard error and aborts. Other arguments marked "asserted" abort the same way when
 *     NULL. No other NULL pointer crashes the library: a NULL symbol or handle fails with the message its
 *     contract names; a NULL string, array, buffer or out argument that the call needs fails with
 *     "tvb<Op>: argument <name> cannot be NULL" (<name> as in the prototype; the py forms' status is checked
 *     before the operation runs), a NULL label of a key with "Label cannot be NULL". Arguments said to "may
 *     be NULL" are optional.
 *   - Symbols, record handles and domain-violation handles belong to the database that made them. Given to an
 *     operation of another database they are refused before anything is read or changed: "Symbol %s does not
 *     belong to this database", "Record handle of symbol %s does not belong to this database", "Domain
 *     violation handle of symbol %s does not belong to this database". c__tvbcopysymbol and the data symbol of
 *     c__tvbupdatemodelsymbol take symbols of any database.
 *   - Ownership. The caller owns a database from tvbcreate to tvbfree. Symbols belong to their database and
 *     live until it is freed. Record handles and domain-violation handles belong to the caller from the call
 *     that returns them until c__tvbfreesymboliterator / c__tvbfreedvhandle, which must come before tvbfree.
 *     Strings and arrays passed in are read during the call only; the library keeps no pointer to them
 *     (except the routines and value given to c__tvbinitfromcmex). Results are written into the caller's
 *     buffers: single strings into 256 bytes (TRV_SSSIZE), labels into at least 64.
 *   - An operation that makes a handle writes it to its out argument; after a failure that argument holds
 *     NULL or is left as it was. The py forms return the handle (NULL on failure) and write the status into
 *     their last argument.
 *   - Labels and symbol names are matched without regard to letter case and keep the spelling of their first
 *     registration. A label holds at most 63 characters once trailing white space is removed; a symbol name
 *     1 to 63 characters: a letter, then letters, digits or '_'. Element texts are matched exactly.
 *   - Values pass the special-value translation: the caller's five special values (undefined, not available,
 *     +infinity, -infinity, epsilon; by default 1e300, 2e300, 3e300, 4e300, 5e300) are mapped to and from the
 *     stored ones (1e300, NaN, +inf, -inf, the smallest subnormal).
 *   - Records of a symbol are kept in ascending order of their label numbers, position by position (labels
 *     are numbered in the order of their first registration).
 *   - "Loads": a database filled from a TVF file, a host program or a model (after c__tvbinitupdate) reads a
 *     symbol's records from there the first time an operation needs them. Such an operation may fail with the
 *     messages of its source (see TVF files; Model link; Host programs) and, once the source is gone
 *     (c__tvbclosetvf), with "Symbol %s not initialized from TVF or TVP: %d" (the database's data source
 *     code); a symbol whose reading failed counts as read and keeps what it got.
 *   - Record handles stay valid when records are added. A handle whose record was removed (by another
 *     handle, by clearing or replacing the symbol's records) is detected: operations on it fail with the
 *     removed-record message "The record handle of symbol %s stands on no record (its record was removed)".
 *   - A database must not be used by two threads at once; different databases may be.
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

/* Every function declared from here to the end is exported by libtvbcclib.so. */
#if defined(__GNUC__)
#pragma GCC visibility push(default)
#endif

/* =========================================================================================================
 * Creating and releasing a database
 * ======================================================================================================= */

/* Makes a new database in *ptvb (set to NULL first); the caller releases it with tvbfree. Returns 1 and
 * empties msgBuf (when msgBufLen > 0). Returns 0 with "Error while creating object" in msgBuf (cut to
 * msgBufLen - 1 characters) when no database could be made; "Out of memory in tvbCreate" then goes to
 * standard output. msgBuf may be NULL when msgBufLen is 0. A NULL ptvb aborts ("NULL != tvb", file
 * tvbcclib).
 * Every database loads the TVF library (libtvfdclib.so, found beside libtvbcclib.so): when it cannot be
 * loaded the database is made all the same and its last error says "TVF create did not succeed: %s"; files
 * cannot be read or written then. */
int tvbcreate(tvbHandle **ptvb, char *msgBuf, int msgBufLen);

/* As tvbcreate; dir is the system directory in which the external libraries are looked for. dir shorter than
 * 256 characters (longer aborts: "sysDir.length() < TRV_SSSIZE"); NULL or empty means none, as tvbcreate.
 * The d__ forms take dir length-prefixed; msgBuf is zero-terminated in all forms. Out of memory reports
 * "Out of memory in tvbCreateD". */
int tvbcreated(tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen);
int d__tvbcreated(tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen);

/* Releases the database in *ptvb, if there is one, and sets *ptvb to NULL: its symbols and records go, a file
 * it reads is closed. Returns 1; a NULL *ptvb does nothing. A NULL ptvb aborts ("ptvb != NULL"). Record and
 * domain-violation handles are not released: free them first; they must not be used afterwards. */
int tvbfree(tvbHandle **ptvb);

/* As tvbcreate and tvbcreated without a message buffer: 1 when a database was made in *ptvb, else 0. A NULL
 * ptvb aborts ("ptvb != NULL"). d__tvbxcreated and d__xcreated take dir length-prefixed. */
int tvbxcreate(tvbHandle **ptvb);
int tvbxcreated(tvbHandle **ptvb, const char *dir);
int d__tvbxcreated(tvbHandle **ptvb, const char *dir);

/* As tvbfree. */
int tvbxfree(tvbHandle **ptvb);

/* Other names of the same entries. */
int tvbcreate_(tvbHandle **ptvb, char *msgBuf, int msgBufLen);
int tvbcreated_(tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen);
int d__tvbcreated_(tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen);
int tvbfree_(tvbHandle **ptvb);
int tvbxcreate_(tvbHandle **ptvb);
int xcreate(tvbHandle **ptvb);
int xcreate_(tvbHandle **ptvb);
int tvbxcreated_(tvbHandle **ptvb, const char *dir);
int xcreated(tvbHandle **ptvb, const char *dir);
int xcreated_(tvbHandle **ptvb, const char *dir);
int d__tvbxcreated_(tvbHandle **ptvb, const char *dir);
int d__xcreated(tvbHandle **ptvb, const char *dir);
int tvbxfree_(tvbHandle **ptvb);
int xfree(tvbHandle **ptvb);
int xfree_(tvbHandle **ptvb);

/* =========================================================================================================
 * Interface version and signature check: the protocol of programs that load the library at run time. Both
 * answers need no database and may be called from any thread at any time.
 * ======================================================================================================= */

/* Agrees the interface version api of a client with this library's (TVB_API_VERSION). Sets *compatibility
 * and writes a message into msg (256 bytes):
 *   api < 2   0, *compatibility 0, "tvbcclib: The API is too old for the used library, API version: %d,
 *             library version: %d" (client's version, then the library's)
 *   api = 2   1, *compatibility 1, "tvbcclib: Client version and DLL version are the same."
 *   api > 2   1, *compatibility 3, "tvbcclib: Client version is newer than this DLL."
 * d__xapiversion and d__tvbxapiversion return the message length-prefixed. */
int c__xapiversion(int api, char *msg, int *compatibility);
int d__xapiversion(int api, char *msg, int *compatibility);
int d__tvbxapiversion(int api, char *msg, int *compatibility);

/* 1 when the library has the operation name (its implementation name, case counting: "tvbGetLevel") with
 * nargs arguments after the database and the signature sig[0..nargs] (result, then one code per argument;
 * codes in tvbcclib_signatures.h); msg (256 bytes) is emptied. Else 0 with, name inserted as passed:
 * "tvbcclib: %s cannot be found in library.", "tvbcclib: %s has wrong number of arguments." or
 * "tvbcclib: %s has wrong argument types."; a NULL name or sig gives "tvbcclib: no operation name or
 * signature given (NULL).". d__xcheck and d__tvbxcheck take name and return msg length-prefixed. Without msg
 * (NULL), here and in c__xapiversion (or without compatibility), the result is 0 and nothing is answered. */
int c__xcheck(const char *name, int nargs, const int *sig, char *msg);
int d__xcheck(const char *name, int nargs, const int *sig, char *msg);
int d__tvbxcheck(const char *name, int nargs, const int *sig, char *msg);

/* =========================================================================================================
 * Errors, trace level and log output
 * ======================================================================================================= */

/* Copies the last error into msg (256 bytes): 1 when there is one, else 0 with msg empty. Reading does not
 * clear it. A NULL msg returns 0 and leaves the last error as it is. */
int c__tvbgetlasterror(tvbHandle *ptvb, char *msg);

/* Sets the process-wide trace level of every database (ptvb is not used and may be NULL). At level 1 and 2
 * c__tvbinitfromtvf, c__tvbinitfromdb and the model link write trace lines to standard output. Returns 1. */
int c__tvbsetdebug(tvbHandle *ptvb, int level);

/* Hands msg to the log routine given to c__tvbinitfromcmex (length-prefixed, cut to 255 characters), or
 * writes it and a newline to standard output when there is none. ptvb may be NULL. Returns 1 (0 for a NULL
 * msg). */
int c__tvbprintlog(tvbHandle *ptvb, const char *msg);

/* The other families (see ENTRY FAMILIES). */
int d__tvbgetlasterror(tvbHandle *ptvb, char *msg);
int tvbgetlasterror_(tvbHandle *ptvb, char *msg);
int tvbsetdebug_(tvbHandle *ptvb, int level);
int d__tvbprintlog(tvbHandle *ptvb, const char *msg);
int tvbprintlog_(tvbHandle *ptvb, const char *msg);

/* =========================================================================================================
 * Labels: the database's table of record labels (UELs), numbered from 1 in order of registration. Labels
 * are never removed.
 * ======================================================================================================= */

/* Registers label, or finds it in any letter case, and stores its number in *uelNr. Fails with "Label with
 * single and double quote not allowed >%s<" or "Label exceeds maximum size of %d: >%s<". */
int c__tvbmergeuel(tvbHandle *ptvb, const char *label, int *uelNr);

/* Copies label number uelNr (1-based) into label (at least 64 bytes). Fails with "Uel index %d out of range
 * [1,%d]" (the number, then the label count). */
int c__tvbgetuelbyindex(tvbHandle *ptvb, int uelNr, char *label);

/* The other families (see ENTRY FAMILIES). */
int d__tvbmergeuel(tvbHandle *ptvb, const char *label, int *uelNr);
int tvbmergeuel_(tvbHandle *ptvb, const char *label, int *uelNr);
int d__tvbgetuelbyindex(tvbHandle *ptvb, int uelNr, char *label);
int tvbgetuelbyindex_(tvbHandle *ptvb, int uelNr, char *label);

/* =========================================================================================================
 * Symbols. Every database has the Universe, the one-dimensional set "*" whose records are the labels; it is
 * not counted among the symbols and refuses changes. Symbols are numbered in creation order.
 * ======================================================================================================= */

/* Adds a symbol whose domain is the Universe in every position and stores it in *sym (NULL first, before any
 * check). dim 0 to 20 (sets at
 * least 1); type TRV_DT_SET, _PAR, _VAR or _EQU; userInfo the variable type (TRV_VAR_*, 0 to 9) of a
 * variable, the equation type (TRV_EQU_*, 0 to 5) of an equation, free otherwise; text at most 255
 * characters ("Explanatory text cannot be NULL"). After the first symbol the database counts as filled in memory (c__tvbinitfromtvf
 * then refuses it). Fails with, in this order: "Dimension must be greater than 0 for a Set", "Dimension must
 * be greater or equal 0 and smaller or equal %d (saw %d)", "Name of symbol cannot be NULL", "'%s' is not a
 * valid name for a TORV symbol", "Explanatory text too long. Max length is %d", "Symbol type %d is not valid:
 * use 0 (set), 1 (parameter), 2 (variable) or 3 (equation)", "Variable type %d of symbol %s is not valid: use
 * 0 to 9", "Equation type %d of symbol %s is not valid: use 0 to 5", "Symbol %s exists already". */
int c__tvbaddsymbol(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                    tvbSymbol **sym);

/* As c__tvbaddsymbol, returning the symbol. */
tvbSymbol *c__tvbaddsymbolpy(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                             int *status);

/* As c__tvbaddsymbol with a domain per position. domains[i] is a one-dimensional set of this database or the
 * Universe; where domains (or domains[i]) is NULL, domainNames[i] names the domain: NULL, "*" or " " for
 * the Universe, any other text is kept as a relaxed domain name (not checked). domainNames may be NULL.
 * A dim outside 0 to 20, a set of dimension 0 and type TRV_DT_ALIAS abort ("(aDim>=0) &&
 * (aDim<=GLOBAL_MAX_INDEX_DIM)", "(aDim>0) || (TRV_DT_SET!=type)", "TRV_DT_ALIAS!=type"). Fails with the
 * messages of c__tvbaddsymbol from "Name of symbol cannot be NULL" on, and for a domain set with "1 <> Dim of
 * Symbol %s", "Universe from different database", "Symbol %s not in this database" or "Symbol %s not a set". */
int c__tvbaddsymbolx(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                     tvbSymbol **domains, const char *const *domainNames, tvbSymbol **sym);

/* As c__tvbaddsymbolx, returning the symbol. */
tvbSymbol *c__tvbaddsymbolxpy(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                              tvbSymbol **domains, const char *const *domainNames, int *status);

/* Finds a symbol by name, in any letter case, and stores it in *sym (NULL first): "*" is the Universe, an
 * alias yields its set. Fails with "Symbol name cannot be NULL" or "Cannot find symbol %s". */
int c__tvbfindsymbol(tvbHandle *ptvb, const char *name, tvbSymbol **sym);

/* As c__tvbfindsymbol, returning the symbol. */
tvbSymbol *c__tvbfindsymbolpy(tvbHandle *ptvb, const char *name, int *status);

/* Stores symbol number index in *sym (NULL first): 0-based in creation order, aliases skipped; -1 is the
 * Universe. Fails with "Symbol index %d is out of range". */
int c__tvbgetsymbolbyindex(tvbHandle *ptvb, int index, tvbSymbol **sym);

/* As c__tvbgetsymbolbyindex, returning the symbol. */
tvbSymbol *c__tvbgetsymbolbyindexpy(tvbHandle *ptvb, int index, int *status);

/* For each position of sym: domains[i] receives the domain set (an alias's set), or NULL for a relaxed
 * domain name; domainNames[i] (256 bytes) its name, "*" for the Universe. Both arrays hold as many entries
 * as sym has positions; the c__ form fills them all, whatever dim says. Fails with "No symbol handle
 * specified" or "The Universe has no domain". */
int c__tvbgetdomain(tvbHandle *ptvb, tvbSymbol *sym, int dim, tvbSymbol **domains, char **domainNames);

/* The other families (see ENTRY FAMILIES). */
int d__tvbaddsymbol(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                    tvbSymbol **sym);
int tvbaddsymbol_(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                  tvbSymbol **sym);
tvbSymbol *d__tvbaddsymbolpy(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                             int *status);
tvbSymbol *tvbaddsymbolpy_(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                           int *status);
int d__tvbaddsymbolx(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                     tvbSymbol **domains, const char *domainNames, tvbSymbol **sym);
int tvbaddsymbolx_(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                   tvbSymbol **domains, const char *domainNames, tvbSymbol **sym);
tvbSymbol *d__tvbaddsymbolxpy(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                              tvbSymbol **domains, const char *domainNames, int *status);
tvbSymbol *tvbaddsymbolxpy_(tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text,
                            tvbSymbol **domains, const char *domainNames, int *status);
int d__tvbfindsymbol(tvbHandle *ptvb, const char *name, tvbSymbol **sym);
int tvbfindsymbol_(tvbHandle *ptvb, const char *name, tvbSymbol **sym);
tvbSymbol *d__tvbfindsymbolpy(tvbHandle *ptvb, const char *name, int *status);
tvbSymbol *tvbfindsymbolpy_(tvbHandle *ptvb, const char *name, int *status);
int tvbgetsymbolbyindex_(tvbHandle *ptvb, int index, tvbSymbol **sym);
tvbSymbol *tvbgetsymbolbyindexpy_(tvbHandle *ptvb, int index, int *status);
int d__tvbgetdomain(tvbHandle *ptvb, tvbSymbol *sym, int dim, tvbSymbol **domains, char *domainNames);
int tvbgetdomain_(tvbHandle *ptvb, tvbSymbol *sym, int dim, tvbSymbol **domains, char *domainNames);
int n__tvbgetdomain(tvbHandle *ptvb, tvbSymbol *sym, int dim, tvbSymbol **domains, char *domainNames);

/* =========================================================================================================
 * Records and values. A record of a symbol is keyed by one label per position; it holds one value (sets:
 * the number of its element text, 0 for none; parameters: the value) or five (variables and equations:
 * level, marginal, lower, upper, scale).
 * ======================================================================================================= */

/* Adds a record to sym with the labels labels[0 .. dim-1] (one per position, registered if new, and kept
 * registered when the addition fails later) and the default values of sym's type: 0 for sets and
 * parameters, the row of the variable or equation type otherwise. *rec (NULL first) receives a new record
 * handle on it. Loads sym. Fails with "No symbol handle specified", "Cannot add records to the Universe",
 * a label's message (see c__tvbmergeuel) or "Record %s exists already for symbol %s" (the key written as
 * ("a","b")). */
int c__tvbaddrecord(tvbHandle *ptvb, tvbSymbol *sym, const char *const *labels, tvbRecordHandle **rec);

/* As c__tvbaddrecord, returning the record handle. */
tvbRecordHandle *c__tvbaddrecordpy(tvbHandle *ptvb, tvbSymbol *sym, const char *const *labels, int *status);

/* Adds a record by label numbers, or replaces the values of the record with that key; makes no handle and
 * does not load sym. uels holds dim label numbers, values 5 doubles (the first only is read for sets and
 * parameters). For a set, values[0] != 0 gives the record the element text text (not NULL; "" allowed),
 * values[0] == 0 none. Fails with "No symbol handle specified", "Cannot add records to the Universe",
 * "Error when adding record to symbol %s: UEL needs to be greater than zero but is %d" or "Error when adding
 * record to symbol %s: UEL %d is unknown. Largest known UEL is %d". Out of memory reports "Out of memory in
 * tvbAddRecord". */
int c__tvbaddrecordraw(tvbHandle *ptvb, tvbSymbol *sym, const int *uels, const double *values, const char *text);

/* Stores in *rec (NULL first) a new record handle on the record of sym with the labels labels[0 .. dim-1]
 * (for the Universe: the label labels[0]). Loads sym. Fails with "No symbol handle specified", a label's
 * message (see c__tvbmergeuel), "Cannot find element %s in Universe", "Cannot find any record in Symbol %s
 * (%s is empty)", "Cannot find element %s (on position %d) in Symbol %s" (an unknown label, 1-based
 * position) or "Cannot find record %s in Symbol %s". */
int c__tvbfindrecord(tvbHandle *ptvb, tvbSymbol *sym, const char *const *labels, tvbRecordHandle **rec);

/* As c__tvbfindrecord, returning the record handle. */
tvbRecordHandle *c__tvbfindrecordpy(tvbHandle *ptvb, tvbSymbol *sym, const char *const *labels, int *status);

/* Copies the labels of the first dim positions of rec's record into labels[0 .. dim-1] (at least 64 bytes
 * each); a Universe record has one. Fails with "No symbol record handle specified", the removed-record
 * message or "Dimension %d does not match symbol %s of dimension %d" (dim below 0 or above the symbol's). */
int c__tvbgetkeys(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, char **labels);

/* Copies the label of position index (0-based) of rec's record into label (at least 64 bytes); a Universe
 * record gives its label whatever the index. Fails with "No symbol record handle specified", the
 * removed-record message, "Index too large" or "Index %d is negative". */
int c__tvbgetkey(tvbHandle *ptvb, tvbRecordHandle *rec, int index, char *label);

/* Copies the label numbers of the first dim positions into uels and the values into values (5 doubles for a
 * variable or equation, 1 otherwise; a Universe record gives its label number and the value 0). Fails as
 * c__tvbgetkeys. */
int c__tvbgetrecordraw(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, int *uels, double *values);

/* Store one value of rec's record in *value: the level of a parameter, variable or equation; the marginal,
 * lower and upper bound and scale of a variable or equation. A NULL rec and a symbol of another type abort
 * ("symIterPtr != NULL", "(sym->type==TRV_DT_PAR) || (sym->type==TRV_DT_VAR) || (sym->type==TRV_DT_EQU)",
 * "(sym->type==TRV_DT_VAR) || (sym->type==TRV_DT_EQU)"). Fail only with the removed-record message. */
int c__tvbgetlevel(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int c__tvbgetmarginal(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int c__tvbgetlower(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int c__tvbgetupper(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int c__tvbgetscale(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);

/* Set one value of rec's record, with the same types and aborts as the getters above. Fail only with the
 * removed-record message. */
int c__tvbsetlevel(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int c__tvbsetmarginal(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int c__tvbsetlower(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int c__tvbsetupper(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int c__tvbsetscale(tvbHandle *ptvb, tvbRecordHandle *rec, double value);

/* The other families (see ENTRY FAMILIES). */
int d__tvbaddrecord(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, tvbRecordHandle **rec);
int tvbaddrecord_(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, tvbRecordHandle **rec);
tvbRecordHandle *d__tvbaddrecordpy(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, int *status);
tvbRecordHandle *tvbaddrecordpy_(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, int *status);
int d__tvbaddrecordraw(tvbHandle *ptvb, tvbSymbol *sym, const int *uels, const double *values, const char *text);
int tvbaddrecordraw_(tvbHandle *ptvb, tvbSymbol *sym, const int *uels, const double *values, const char *text);
int d__tvbfindrecord(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, tvbRecordHandle **rec);
int tvbfindrecord_(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, tvbRecordHandle **rec);
tvbRecordHandle *d__tvbfindrecordpy(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, int *status);
tvbRecordHandle *tvbfindrecordpy_(tvbHandle *ptvb, tvbSymbol *sym, const char *labels, int *status);
int d__tvbgetkeys(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, char *labels);
int tvbgetkeys_(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, char *labels);
int n__tvbgetkeys(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, char *labels);
int d__tvbgetkey(tvbHandle *ptvb, tvbRecordHandle *rec, int index, char *label);
int tvbgetkey_(tvbHandle *ptvb, tvbRecordHandle *rec, int index, char *label);
int tvbgetrecordraw_(tvbHandle *ptvb, tvbRecordHandle *rec, int dim, int *uels, double *values);
int tvbgetlevel_(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int tvbgetmarginal_(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int tvbgetlower_(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int tvbgetupper_(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int tvbgetscale_(tvbHandle *ptvb, tvbRecordHandle *rec, double *value);
int tvbsetlevel_(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int tvbsetmarginal_(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int tvbsetlower_(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int tvbsetupper_(tvbHandle *ptvb, tvbRecordHandle *rec, double value);
int tvbsetscale_(tvbHandle *ptvb, tvbRecordHandle *rec, double value);

/* =========================================================================================================
 * Navigation: record handles walk a symbol's records in key order; those of the Universe walk the labels.
 * ======================================================================================================= */

/* Store in *rec (NULL first) a new handle on the first / last record of sym. Load sym. Fail with "No symbol
 * handle specified", "Cannot find a record in Universe" (no labels) or "Cannot find a record in Symbol %s". */
int c__tvbfindfirstrecord(tvbHandle *ptvb, tvbSymbol *sym, tvbRecordHandle **rec);
int c__tvbfindlastrecord(tvbHandle *ptvb, tvbSymbol *sym, tvbRecordHandle **rec);

/* As c__tvbfindfirstrecord / c__tvbfindlastrecord, returning the record handle. */
tvbRecordHandle *c__tvbfindfirstrecordpy(tvbHandle *ptvb, tvbSymbol *sym, int *status);
tvbRecordHandle *c__tvbfindlastrecordpy(tvbHandle *ptvb, tvbSymbol *sym, int *status);

/* Store in *rec (NULL first) a new handle on the first / last record of sym that matches slice: per position
 * a label, or " " for any label. The handle keeps the slice: its moves visit matching records only. Load sym.
 * Fail with "No symbol handle specified", "Cannot define a slice on the Universe", a label's message (see
 * c__tvbmergeuel), "Cannot find a record in Symbol %s", "Cannot find slice element %s (on position %d) in
 * Symbol %s" (a label never registered) or "Cannot find a record for slice %s in Symbol %s". */
int c__tvbfindfirstrecordslice(tvbHandle *ptvb, tvbSymbol *sym, const char *const *slice, tvbRecordHandle **rec);
int c__tvbfindlastrecordslice(tvbHandle *ptvb, tvbSymbol *sym, const char *const *slice, tvbRecordHandle **rec);

/* As the slice searches above, returning the record handle. */
tvbRecordHandle *c__tvbfindfirstrecordslicepy(tvbHandle *ptvb, tvbSymbol *sym, const char *const *slice, int *status);
tvbRecordHandle *c__tvbfindlastrecordslicepy(tvbHandle *ptvb, tvbSymbol *sym, const char *const *slice, int *status);

/* Moves rec to the next record (of its slice, if it has one). At the end the handle stays where it is and the
 * call fails with "Last record reached in symbol %s", "Last record reached in slice of symbol %s" or "Last
 * record reached in Universe". Fails also with "No symbol record handle specified" and the removed-record
 * message. */
int c__tvbrecordmovenext(tvbHandle *ptvb, tvbRecordHandle *rec);

/* Moves rec to the previous record, as c__tvbrecordmovenext; at the start: "First record reached in symbol
 * %s", "First record reached in slice of symbol %s" or "First record reached in Universe". */
int c__tvbrecordmoveprev(tvbHandle *ptvb, tvbRecordHandle *rec);

/* 1 when a move to the next / previous record would succeed, else 0 without a message; only a NULL rec fails
 * with one: "No symbol record handle specified". */
int c__tvbrecordhasnext(tvbHandle *ptvb, tvbRecordHandle *rec);
int c__tvbrecordhasprev(tvbHandle *ptvb, tvbRecordHandle *rec);

/* 1 when rec1 and rec2 stand on the same record of the same symbol (or are the same handle), else 0 (also for
 * NULL or removed records). Leaves no message. */
int c__tvbsamerecord(tvbHandle *ptvb, tvbRecordHandle *rec1, tvbRecordHandle *rec2);

/* Stores in *rec (NULL first) a new handle on src's record, without src's slice. Fails with "No source symbol
 * record handle specified" or the removed-record message. */
int c__tvbcopysymboliterator(tvbHandle *ptvb, tvbRecordHandle *src, tvbRecordHandle **rec);

/* As c__tvbcopysymboliterator, returning the record handle. */
tvbRecordHandle *c__tvbcopysymboliteratorpy(tvbHandle *ptvb, tvbRecordHandle *src, int *status);

/* Releases the record handle rec, also one whose record was removed; rec must not be used afterwards.
 * Returns 1. A NULL rec fails with "No iterator to be freed defined"; ptvb may be NULL when rec is not. */
int c__tvbfreesymboliterator(tvbHandle *ptvb, tvbRecordHandle *rec);

/* The other families (see ENTRY FAMILIES). */
int tvbfindfirstrecord_(tvbHandle *ptvb, tvbSymbol *sym, tvbRecordHandle **rec);
tvbRecordHandle *tvbfindfirstrecordpy_(tvbHandle *ptvb, tvbSymbol *sym, int *status);
int tvbfindlastrecord_(tvbHandle *ptvb, tvbSymbol *sym, tvbRecordHandle **rec);
tvbRecordHandle *tvbfindlastrecordpy_(tvbHandle *ptvb, tvbSymbol *sym, int *status);
int d__tvbfindfirstrecordslice(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, tvbRecordHandle **rec);
int tvbfindfirstrecordslice_(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, tvbRecordHandle **rec);
tvbRecordHandle *d__tvbfindfirstrecordslicepy(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, int *status);
tvbRecordHandle *tvbfindfirstrecordslicepy_(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, int *status);
int d__tvbfindlastrecordslice(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, tvbRecordHandle **rec);
int tvbfindlastrecordslice_(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, tvbRecordHandle **rec);
tvbRecordHandle *d__tvbfindlastrecordslicepy(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, int *status);
tvbRecordHandle *tvbfindlastrecordslicepy_(tvbHandle *ptvb, tvbSymbol *sym, const char *slice, int *status);
int tvbrecordmovenext_(tvbHandle *ptvb, tvbRecordHandle *rec);
int tvbrecordmoveprev_(tvbHandle *ptvb, tvbRecordHandle *rec);
int tvbrecordhasnext_(tvbHandle *ptvb, tvbRecordHandle *rec);
int tvbrecordhasprev_(tvbHandle *ptvb, tvbRecordHandle *rec);
int tvbsamerecord_(tvbHandle *ptvb, tvbRecordHandle *rec1, tvbRecordHandle *rec2);
int tvbcopysymboliterator_(tvbHandle *ptvb, tvbRecordHandle *src, tvbRecordHandle **rec);
tvbRecordHandle *tvbcopysymboliteratorpy_(tvbHandle *ptvb, tvbRecordHandle *src, int *status);
int tvbfreesymboliterator_(tvbHandle *ptvb, tvbRecordHandle *rec);

/* =========================================================================================================
 * Maintenance. Operations that change a symbol flag it as written while write recording is on.
 * ======================================================================================================= */

/* Removes rec's record; rec moves on to the next record (after the last one it stands on no record). Other
 * handles on the record stand on no record. Fails with "No symbol record handle specified", "Cannot delete
 * the Universe" or the removed-record message. */
int c__tvbdeleterecord(tvbHandle *ptvb, tvbRecordHandle *rec);

/* Removes every record of sym; a symbol not yet read from its source is never read. Fails with "No symbol
 * handle specified" or "Cannot clear the Universe". */
int c__tvbclearsymbol(tvbHandle *ptvb, tvbSymbol *sym);

/* Replaces target's records by copies of source's; the symbols may belong to different databases (labels
 * are then matched by text and registered in target's database). With the Universe as source its labels
 * are copied; with the Universe as target the labels of source's records are registered. Loads source.
 * Fails with "No source symbol handle specified", "No target symbol handle specified", "Inconsistent symbol
 * dimensions", "Inconsistent symbol types", or the message of a record that could not be added (target
 * keeps the records copied before it). */
int c__tvbcopysymbol(tvbHandle *ptvb, tvbSymbol *target, tvbSymbol *source);

/* Copies the element text of rec's set record into text (256 bytes; empty when it has none). Fails with "No
 * symbol record handle specified", "Cannot get explanatory text for records of the Universe", "Element texts
 * belong to records of sets; symbol %s is a %s" (name, type) or the removed-record message. */
int c__tvbgetelemtext(tvbHandle *ptvb, tvbRecordHandle *rec, char *text);

/* Gives rec's set record the element text text (at most 255 characters; "" removes it). Fails as
 * c__tvbgetelemtext ("Cannot set explanatory text for records of the Universe") and with "Explanatory text
 * too long. Max length is %d". */
int c__tvbsetelemtext(tvbHandle *ptvb, tvbRecordHandle *rec, const char *text);

/* Sets sym's user information (variable or equation type, not checked): records added later get the
 * defaults of the new type. Fails with "No symbol handle specified" or "Cannot set UserInfo of Universe". */
int c__tvbsetuserinfo(tvbHandle *ptvb, tvbSymbol *sym, int userInfo);

/* Starts write recording: every symbol's written flag (c__tvbsymbolinfo key TRV_SYMINFO_WRITTEN) is cleared,
 * then set by each change of the symbol. Fails with "Write Recording already active". */
int c__tvbstartwriterecording(tvbHandle *ptvb);

/* Stops write recording; the flags stay. Fails with "Write Recording not active". */
int c__tvbstopwriterecording(tvbHandle *ptvb);

/* The other families (see ENTRY FAMILIES). */
int tvbdeleterecord_(tvbHandle *ptvb, tvbRecordHandle *rec);
int tvbclearsymbol_(tvbHandle *ptvb, tvbSymbol *sym);
int tvbcopysymbol_(tvbHandle *ptvb, tvbSymbol *target, tvbSymbol *source);
int d__tvbgetelemtext(tvbHandle *ptvb, tvbRecordHandle *rec, char *text);
int tvbgetelemtext_(tvbHandle *ptvb, tvbRecordHandle *rec, char *text);
int d__tvbsetelemtext(tvbHandle *ptvb, tvbRecordHandle *rec, const char *text);
int tvbsetelemtext_(tvbHandle *ptvb, tvbRecordHandle *rec, const char *text);
int tvbsetuserinfo_(tvbHandle *ptvb, tvbSymbol *sym, int userInfo);
int tvbstartwriterecording_(tvbHandle *ptvb);
int tvbstopwriterecording_(tvbHandle *ptvb);

/* =========================================================================================================
 * Information and special values
 * ======================================================================================================= */

/* Stores in *ival, for infoKey TRV_INFO_SYMBOL_COUNT, the number of symbols (aliases not counted); for
 * TRV_INFO_UEL_COUNT the number of labels. dval and sval are not used (may be NULL). Fails with "infoKey
 * needs to be either %d or %d, saw %d". */
int c__tvbinfo(tvbHandle *ptvb, int infoKey, int *ival, double *dval, char *sval);

/* Answers a question about sym by infoKey (TRV_SYMINFO_*): its name or explanatory text into sval (256
 * bytes), or its dimension, type, record count (loads sym), user information, creation number or written
 * flag into *ival. dval is not used (may be NULL), nor the one of ival and sval that the key does not write.
 * Fails with "No symbol handle specified" or "No valid infoKey, saw %d". */
int c__tvbsymbolinfo(tvbHandle *ptvb, tvbSymbol *sym, int infoKey, int *ival, double *dval, char *sval);

/* Store sym's dimension / type in *dim / *type; -1 there and "No symbol handle specified" for a NULL sym. */
int c__tvbsymboldim(tvbHandle *ptvb, tvbSymbol *sym, int *dim);
int c__tvbsymboltype(tvbHandle *ptvb, tvbSymbol *sym, int *type);

/* Writes the five stored special values into values (room for 5, TRV_SV_* order): 1e300, NaN, +inf, -inf
 * and the smallest subnormal. ptvb is needed only to report a NULL values (0 without it). Returns 1. */
int c__tvbgetspecialvalues(tvbHandle *ptvb, double *values);

/* Sets the caller's five special values (TRV_SV_* order) in which values travel from now on. Returns 1 (0 for
 * a NULL values). */
int c__tvbsetspecialvalues(tvbHandle *ptvb, const double *values);

/* As c__tvbsetspecialvalues; *mode (mode may be NULL) receives the translation this needs: 0 none (values
 * are the stored ones, any NaN standing for not available), 1 epsilon only, 2 all. Returns 1. */
int c__tvbsetspecialvaluesx(tvbHandle *ptvb, const double *values, int *mode);

/* The other families (see ENTRY FAMILIES). */
int d__tvbinfo(tvbHandle *ptvb, int infoKey, int *ival, double *dval, char *sval);
int tvbinfo_(tvbHandle *ptvb, int infoKey, int *ival, double *dval, char *sval);
int d__tvbsymbolinfo(tvbHandle *ptvb, tvbSymbol *sym, int infoKey, int *ival, double *dval, char *sval);
int tvbsymbolinfo_(tvbHandle *ptvb, tvbSymbol *sym, int infoKey, int *ival, double *dval, char *sval);
int tvbsymboldim_(tvbHandle *ptvb, tvbSymbol *sym, int *dim);
int tvbsymboltype_(tvbHandle *ptvb, tvbSymbol *sym, int *type);
int tvbgetspecialvalues_(tvbHandle *ptvb, double *values);
int tvbsetspecialvalues_(tvbHandle *ptvb, const double *values);
int tvbsetspecialvaluesx_(tvbHandle *ptvb, const double *values, int *mode);

/* =========================================================================================================
 * Array transfer: one value field of a symbol to and from a caller-owned cube.
 *
 * A cube has one cell per combination of positions along the symbol's dimensions, row-major (the last
 * dimension fastest); extents holds dim counts and the cube their product of cells: doubles, or 32-bit ints
 * for a set. The caller sizes both (and each set array to dim entries); the library cannot tell; NULL ones
 * fail with "tvb<Op>: argument <name> cannot be NULL". Domain, slice and squeeze sets are one-dimensional symbols of
 * sym's database, not the Universe; position k along dimension d is the k-th record of that set. Values
 * pass the special-value translation. Every transfer fails with "Empty symbol pointer" (NULL sym), "Can't
 * map universe" or "Can't map scalars". A set of the arrays fails with "No domain symbol given for dimension
 * %d of symbol %s", "Cannot use universe as domain symbol %s", "Symbol %s and domain symbol %s in different
 * databases", "Domain symbol %s has dimension %d, needs to be 1" or, where its extent is tied to it, "Cube
 * dimension %d is %d while card(%s) is %ld."; it is loaded first. Extents fail with "Cube dimension %d is %d,
 * needs to be at least 0" or "The cube of symbol %s has more cells than can be addressed". field 0 to 4
 * (TRV_FIELD_*) for variables and equations, else "Field %d is out of bounds [0,%d]"; ignored otherwise.
 * ======================================================================================================= */

/* Writes the k-th record of sym into cell k: the row-major cube exactly when the records are the full
 * product of their labels. The cube must have as many cells as sym has records. A set's cells get 1, 2, ...
 * Loads sym. Fails also with "Zero sized cube" and "Size of cube %ld and number of record %ld in %s do not
 * match". */
int c__tvbdensesymboltodensearray(tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, int field);

/* Clears the cube, then puts each record at the positions of its labels in domains[d] (extents[d] = their
 * record counts); a set's cells get a running count 1, 2, ... Records with a label outside its domain are
 * skipped and counted in *dropped (-1 when the call failed before placing records, by which time
 * the cube may be cleared). Loads sym. Fails also with "Zero sized cube". */
int c__tvbsparsesymboltodensearray(tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, tvbSymbol **domains,
                                   int field, int *dropped);

/* As c__tvbsparsesymboltodensearray, but along dimension d the cube has only the positions of squeeze[d]
 * (extents[d] = its record count); records at domain positions that squeeze[d] lacks are dropped. A set's
 * cell gets 1 + the record's index in the full cube over the domains. */
int c__tvbsparsesymboltosqzdarray(tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, tvbSymbol **squeeze,
                                  tvbSymbol **domains, int field, int *dropped);

/* Replaces the records of a set or parameter by the cube over domains (extents[d] = their record counts,
 * none 0): a parameter gets a record for every cell, zeros included; a set one for every non-zero cell,
 * whose value becomes the record's element-text number. A refused write changes nothing. Fails also with
 * "Copy into var/equ symbol %s not possible" and "Zero sized dimension %d". */
int c__tvbdensearraytosymbol(tvbHandle *ptvb, tvbSymbol *sym, tvbSymbol **domains, const void *cube,
                             const int *extents);

/* As c__tvbdensearraytosymbol, but only the cells at the labels of slices[d] that lie in domains[d], and only
 * the non-zero ones, become records; no such label leaves the symbol empty. */
int c__tvbdensearrayslicestosymbol(tvbHandle *ptvb, tvbSymbol *sym, tvbSymbol **slices, tvbSymbol **domains,
                                   const void *cube, const int *extents);

/* The other families (see ENTRY FAMILIES). */
int tvbdensesymboltodensearray_(tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, int field);
int tvbsparsesymboltodensearray_(tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, tvbSymbol **domains,
                                 int field, int *dropped);
int tvbsparsesymboltosqzdarray_(tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, tvbSymbol **squeeze,
                                tvbSymbol **domains, int field, int *dropped);
int tvbdensearraytosymbol_(tvbHandle *ptvb, tvbSymbol *sym, tvbSymbol **domains, const void *cube, const int *extents);
int tvbdensearrayslicestosymbol_(tvbHandle *ptvb, tvbSymbol *sym, tvbSymbol **slices, tvbSymbol **domains,
                                 const void *cube, const int *extents);

/* =========================================================================================================
 * TVF files and database copies. Files are read and written through the TVF library that each database
 * loads when it is created (see tvbcreate); without it these operations fail with "TVF create did not
 * succeed: %s".
 * ======================================================================================================= */

/* Fills a new database (no symbol added, not filled before) from the TVF file fileName: element
 * texts, labels (with the file's numbers), symbols with their texts, subtypes, aliases and domains. Records
 * are not read: the file stays open and each symbol's records are read the first time an operation needs
 * them, which can then fail with "Error reading the records of symbol %s from the TVF file: %s". Fails with
 * "Database has been initialized, cannot initialize from %s", "TVF create did not succeed: %s", "Error
 * opening TVF file: %s" or "Error setting special values". Once the file is being opened the database counts
 * as filled from it, also when that fails. Traces at levels 1 and 2 (c__tvbsetdebug). */
int c__tvbinitfromtvf(tvbHandle *ptvb, const char *fileName);

/* Ends the link to the file read by c__tvbinitfromtvf; with loadRemaining != 0 every symbol not yet read is
 * read first (the file stays open if that fails, with the reading message). Symbols left unread are empty
 * (see "Loads" above). Fails with "Database not initialized from TVF". */
int c__tvbclosetvf(tvbHandle *ptvb, int loadRemaining);

/* Writes the whole database to the new TVF file fileName: labels, element texts, symbols in
 * creation order with their records. Symbols not yet read from their source are copied from it without
 * being loaded. Domains are stored checked by the TVF library unless noDomainCheck != 0 or the library
 * refuses them (then unchecked). The database is not changed; a file being read stays open. Fails with
 * "TVF create did not succeed: %s", "%s: %s" (the library's reason, the file name), "Error setting special
 * values", "Error writing alias %s of set %s to TVF", "Error writing symbol %s to TVF", "Problems writing
 * symbol %s to TVF" (its source could not be read) or, for records outside a checked domain and any other
 * error the library logs, "%d TVF Error(s). First Error: %s". */
int c__tvbwritetvf(tvbHandle *ptvb, const char *fileName, int noDomainCheck);

/* Fills ptvb (no labels, no symbols, not filled from a file or host program) with an independent copy of
 * source (asserted): labels with their numbers, symbols with their numbers, records, element texts, aliases
 * and domains. Symbols of source still in its TVF file are read there first (their failure is reported
 * with source's message); symbols waiting in any other source are copied empty. Fails with "Uels present. Cannot
 * load Uels from other database.", "Symbols present. Cannot load symbols from other database." or "Database
 * incorrectly initialized.". Traces at level 1. */
int c__tvbinitfromdb(tvbHandle *ptvb, tvbHandle *source);

/* The other families (see ENTRY FAMILIES). */
int d__tvbinitfromtvf(tvbHandle *ptvb, const char *fileName);
int tvbinitfromtvf_(tvbHandle *ptvb, const char *fileName);
int tvbclosetvf_(tvbHandle *ptvb, int loadRemaining);
int d__tvbwritetvf(tvbHandle *ptvb, const char *fileName, int noDomainCheck);
int tvbwritetvf_(tvbHandle *ptvb, const char *fileName, int noDomainCheck);
int tvbinitfromdb_(tvbHandle *ptvb, tvbHandle *source);

/* =========================================================================================================
 * Model link: a database tied to a model instance of librunddclib.so (rundd.h), which the caller creates,
 * loads (CtvpLoadMathProg) and frees after the database. The usual order:
 *   c__tvbinitfromdict(db, model)   labels and variable and equation symbols from the model's dictionary
 *   c__tvbinitupdate(db, model)     the model becomes the source of those symbols' records
 *   c__tvbupdatemodelsymbol(...)    data into the model (as often as needed)
 *   c__tvbcallsolver(db, "CLP")     solve; the symbols then read the new solution when next used
 * The libraries are loaded from the database's system directory when it has one (tvbcreated), else from
 * beside libtvbcclib.so. A NULL model fails with "No model instance specified (the model handle is NULL)".
 * Model symbols are matched by name in any letter case; a parameter p of the model is the variable p_var,
 * which c__tvbinitupdate fixes at its level and updates move. Keys are the dictionary's label numbers, which
 * c__tvbinitfromdict gives the database's labels. Failures of registration and of c__tvbinitfromdict are also
 * traced at level 1 (c__tvbsetdebug).
 * ======================================================================================================= */

/* Ties the database to model (not changed otherwise): loads the model-instance and dictionary libraries and
 * sets the model's infinities to IEEE's. Registering another model releases the solver instance held for
 * the one before and undoes c__tvbinitupdate. Fails with "Error in tvpGetReady: %s", "Error in dctGetReady:
 * %s" (the loader's reason) or "No dictionary available" (the instance holds no model yet; it stays
 * registered). */
int c__tvbregistertvp(tvbHandle *ptvb, void *tvp);

/* Fills a database without labels, not read from a file or host program, from the dictionary of model
 * (registering it as c__tvbregistertvp): every label with the dictionary's number, and for each variable and
 * equation of the model a symbol of its name, dimension, variable or equation type (userInfo) and text, with
 * the Universe as domain, its records waiting in the model until c__tvbinitupdate (reading them before fails
 * with "Symbol %s not initialized from TVF or TVP: 3"). Variables and equations the database has already
 * stay as they are, records included. Fails with "Uels present. Cannot load Uels from dictionary.",
 * "Database incorrectly initialized.", the registration's messages, "Variable/Equation symbol %s does not
 * exist in model" (a variable or equation of the database's own), "TVP symbol type not variable or equation
 * of symbol %s", "Mismatch in dimension for symbol %s" or "Mismatch in type for symbol %s"; labels and
 * symbols read before a failure stay. Traces "---- Entering InitFromDict ----" at level 1. */
int c__tvbinitfromdict(tvbHandle *ptvb, void *tvp);

/* Prepares the database for updates and solves of model, which must be the registered one: the model
 * becomes the data source (records of the variables and equations are read from it when first needed: level,
 * marginal, bounds in force, scale; an equation's bounds from its right-hand side), the environment and
 * configuration libraries are set up, the solvers of trvcmpNT.txt (in the environment's system directory)
 * are read, the model's levels and marginals are kept, and each variable "p_var" is fixed at its levels
 * (alternative bounds). Once prepared, later calls succeed at once. Fails with "Database initialized from TVF
 * cannot sync with model", "No model registered with this database: call tvbRegisterTVP or tvbInitFromDict
 * first", "The model instance is not the one registered with this database (tvbRegisterTVP,
 * tvbInitFromDict)", "No dictionary available", the loaders' messages or "Could not read configuration file";
 * a later call then prepares again. Loading a symbol from the model fails with "Symbol %s has no entry in the
 * model's dictionary", "Symbol %s (a %s of dimension %d) does not match the model's symbol of that name (%s
 * of dimension %d)" or "Label number %d of symbol %s in the model lies outside the database's labels [1,%d]:
 * initialise the database from the model's dictionary". */
int c__tvbinitupdate(tvbHandle *ptvb, void *tvp);

/* Writes the values of the parameter dataSym (of any database; its records as they are in memory: one not
 * yet read from its source counts as empty) into the model entries of modelSym, a variable, an equation or a
 * parameter (through its variable "<name>_var"; only modelSym's name and type count). Entries are visited in
 * the model's order; a data record matches the entry of the same label numbers. actionType:
 *   0  variable level and both alternative bounds := v (fixed)   without data: its level at c__tvbinitupdate
 *   1  alternative upper bound := v, the level lowered to it      without data: its own upper bound
 *   2  alternative lower bound := v, the level raised to it       without data: its own lower bound
 *   3  1, then 2 (fixed at v)                                     without data: both own bounds
 *   4  level of the variable or equation := v                     without data: its level at c__tvbinitupdate
 *   5  marginal := v (level and statuses kept)                    without data: as 4, the marginal
 * updateType says what entries without a data record get: 0 the value 0, 2 nothing, any other value the
 * default above. Values: epsilon counts as 0, the infinities stay. *count (when not NULL) receives, on
 * success, the number of data records that matched no entry. Alternative bounds are used by every later solve
 * once a parameter or variable was updated. Fails with "No TORV symbol handle specified", "No Data symbol
 * handle specified for TORV symbol %s", "TORV symbol %s must be parameter, variable, or equation", "Data
 * symbol %s must be parameter", "The database is not prepared for model updates: call tvbInitUpdate first",
 * "actionType %d moves the level and bounds of variables; %s is an equation of the model (use 4 or 5)",
 * "actionType %d sets levels or marginals; parameter %s is fixed by its values (use 0 to 3)", "Could not find
 * symbol %s in model" (the model's name, "_var" included), and, at the first entry that gets a value, "Bad
 * value %g" (undefined, not available, 1e300 and above), "Invalid actionType, saw %d" or "Entry %d of symbol
 * %s lies outside the model as tvbInitUpdate found it (%d entries)"; entries handled before stay changed. The
 * database's records of modelSym do not change until the next solve. */
int c__tvbupdatemodelsymbol(tvbHandle *ptvb, tvbSymbol *modelSym, int actionType, tvbSymbol *dataSym, int updateType,
                            int *count);

/* Solves the model with the solver named solver (any letter case) in the configuration. A solver that keeps
 * its instance (CLP) is made ready on its first call and only modified and re-solved (warm) by later calls
 * with the same name; naming another solver, registering another model, or freeing the database releases
 * it. Others (GLPK) run afresh each time. After a solve, each symbol of the database named like a variable or
 * equation of the model is emptied and read anew from the model when next used; an infeasible or unbounded
 * model is a completed solve (its statuses: tvpModelStat, tvpSolveStat of rundd.h). Fails with "The database
 * is not prepared for model updates: call tvbInitUpdate first", "No solver name specified", "Invalid solver
 * name: %s", the configuration library's reason (or "Could not create an instance of solver %s"), "readyapi
 * failed", "modifyproblem failed", "callsolver failed" or the environment's reason (or "Solver %s failed");
 * after these the symbols keep what they had. */
int c__tvbcallsolver(tvbHandle *ptvb, const char *solver);

/* As c__tvbcallsolver, and *seconds (when not NULL) receives the processor time of the solver call alone,
 * also when that call fails. */
int c__tvbcallsolvertimed(tvbHandle *ptvb, const char *solver, double *seconds);

/* The other families (see ENTRY FAMILIES). */
int tvbregistertvp_(tvbHandle *ptvb, void *tvp);
int tvbinitfromdict_(tvbHandle *ptvb, void *tvp);
int tvbinitupdate_(tvbHandle *ptvb, void *tvp);
int tvbupdatemodelsymbol_(tvbHandle *ptvb, tvbSymbol *modelSym, int actionType, tvbSymbol *dataSym, int updateType,
                          int *count);
int d__tvbcallsolver(tvbHandle *ptvb, const char *solver);
int tvbcallsolver_(tvbHandle *ptvb, const char *solver);
int d__tvbcallsolvertimed(tvbHandle *ptvb, const char *solver, double *seconds);
int tvbcallsolvertimed_(tvbHandle *ptvb, const char *solver, double *seconds);

/* =========================================================================================================
 * Host programs
 * ======================================================================================================= */

/* Hands the database the routines of a host program (typedefs above) and the host's value hostHandle, which
 * each routine receives. Every symbol is emptied and its records are read through the routines the first
 * time they are needed: the host's special values are mapped to the stored ones and set records receive
 * their element texts through elemText. A routine that fails (or is NULL) fails that reading with "Problems
 * with findSymbol for symbol %s", "Problems with dataReadRawStart for symbol %s", "Problems with dataReadRaw
 * for symbol %s", "Problems with dataReadDone for symbol %s" or "Problems with dataReadRaw for symbol %s:
 * label number %d outside [1,%d]"; a failing elemText leaves no message of its own. log (may be NULL)
 * receives c__tvbprintlog's messages. The routines must stay callable while the database lives. Only this
 * entry exists: there is no d__ or underscore form. */
int c__tvbinitfromcmex(tvbHandle *ptvb, tvbHostFindSymbol findSymbol, tvbHostDataReadRawStart dataReadRawStart,
                       tvbHostDataReadRaw dataReadRaw, tvbHostDataReadDone dataReadDone, tvbHostElemText elemText,
                       tvbHostLog log, void *hostHandle);

/* =========================================================================================================
 * Domain checking: records whose labels lie outside the domain sets of their symbol.
 *
 * A position is checked when its domain is a set (or an alias of one) named as a domain, not the Universe.
 * Membership is taken from the domain sets when a check begins: labels registered later count as outside.
 * Violation handles (tvbDVHandle) belong to the caller and are released with c__tvbfreedvhandle; a handle is
 * invalid once moved past its symbol's last violation or when its record was removed ("No valid violation
 * handle"). A NULL handle fails with "No domain violation handle specified", a NULL symbol with "No symbol
 * handle specified".
 * ======================================================================================================= */

/* Stores in *hasViolation 1 when any symbol of the database has a violation, else 0; leaves no check open.
 * Fails as c__tvbgetfirstdbdv. */
int c__tvbcheckdbdv(tvbHandle *ptvb, int *hasViolation);

/* Stores in *hasViolation 1 when sym has a violation. Looks at the records in memory: a symbol not yet read
 * from its source has none. Its domain sets are loaded. */
int c__tvbchecksymboldv(tvbHandle *ptvb, tvbSymbol *sym, int *hasViolation);

/* Opens a check of the whole database: symbols are loaded as needed and visited in creation order; *dv (NULL
 * first) receives a handle on the first violation, or NULL. The check stays open (even with no violation,
 * unless no symbol has a checked domain) until c__tvbdomaincheckdone. Fails with "A domain check of the whole
 * database is open already: close it with tvbDomainCheckDone first". A symbol that cannot be loaded ends the
 * walk there, as if no violation followed, and leaves its message as the last error. */
int c__tvbgetfirstdbdv(tvbHandle *ptvb, tvbDVHandle **dv);

/* As c__tvbgetfirstdbdv, returning the violation handle. */
tvbDVHandle *c__tvbgetfirstdbdvpy(tvbHandle *ptvb, int *status);

/* Stores in *dv (NULL first) a new handle on sym's first violation in key order, or NULL. */
int c__tvbgetfirstdvinsymbol(tvbHandle *ptvb, tvbSymbol *sym, tvbDVHandle **dv);

/* As c__tvbgetfirstdvinsymbol, returning the violation handle. */
tvbDVHandle *c__tvbgetfirstdvinsymbolpy(tvbHandle *ptvb, tvbSymbol *sym, int *status);

/* Within an open check of the whole database: moves dv to the first violation of a later symbol; *moved = 0
 * (dv unchanged) when there is none. Fails with "No domain check of the whole database is open: start one
 * with tvbGetFirstDBDV". */
int c__tvbgetfirstdvinnextsymbol(tvbHandle *ptvb, tvbDVHandle *dv, int *moved);

/* Moves dv to the next violation of its symbol; *moved = 0 at the end, where dv becomes invalid (result 1).
 * A dv whose record was removed fails with the removed-record message and becomes invalid. */
int c__tvbmovenextdvinsymbol(tvbHandle *ptvb, tvbDVHandle *dv, int *moved);

/* Stores in *sym (NULL first) the symbol of dv's violation. */
int c__tvbgetdvsymbol(tvbHandle *ptvb, tvbDVHandle *dv, tvbSymbol **sym);

/* As c__tvbgetdvsymbol, returning the symbol. */
tvbSymbol *c__tvbgetdvsymbolpy(tvbHandle *ptvb, tvbDVHandle *dv, int *status);

/* Stores in *rec (NULL first) a new record handle on dv's violating record (free it with
 * c__tvbfreesymboliterator). */
int c__tvbgetdvsymbolrecord(tvbHandle *ptvb, tvbDVHandle *dv, tvbRecordHandle **rec);

/* As c__tvbgetdvsymbolrecord, returning the record handle. */
tvbRecordHandle *c__tvbgetdvsymbolrecordpy(tvbHandle *ptvb, tvbDVHandle *dv, int *status);

/* Writes indicator[d] = 1 where the label of position d of dv's record lies outside its domain, else 0 (one
 * int per position of the symbol). */
int c__tvbgetdvindicator(tvbHandle *ptvb, tvbDVHandle *dv, int *indicator);

/* Releases the violation handle dv (NULL does nothing); dv must not be used afterwards. Returns 1. */
int c__tvbfreedvhandle(tvbHandle *ptvb, tvbDVHandle *dv);

/* Closes the open check of the whole database, if there is one. Returns 1. */
int c__tvbdomaincheckdone(tvbHandle *ptvb);

/* The other families (see ENTRY FAMILIES). */
int tvbcheckdbdv_(tvbHandle *ptvb, int *hasViolation);
int tvbchecksymboldv_(tvbHandle *ptvb, tvbSymbol *sym, int *hasViolation);
int tvbgetfirstdbdv_(tvbHandle *ptvb, tvbDVHandle **dv);
tvbDVHandle *tvbgetfirstdbdvpy_(tvbHandle *ptvb, int *status);
int tvbgetfirstdvinsymbol_(tvbHandle *ptvb, tvbSymbol *sym, tvbDVHandle **dv);
tvbDVHandle *tvbgetfirstdvinsymbolpy_(tvbHandle *ptvb, tvbSymbol *sym, int *status);
int tvbgetfirstdvinnextsymbol_(tvbHandle *ptvb, tvbDVHandle *dv, int *moved);
int tvbmovenextdvinsymbol_(tvbHandle *ptvb, tvbDVHandle *dv, int *moved);
int tvbgetdvsymbol_(tvbHandle *ptvb, tvbDVHandle *dv, tvbSymbol **sym);
tvbSymbol *tvbgetdvsymbolpy_(tvbHandle *ptvb, tvbDVHandle *dv, int *status);
int tvbgetdvsymbolrecord_(tvbHandle *ptvb, tvbDVHandle *dv, tvbRecordHandle **rec);
tvbRecordHandle *tvbgetdvsymbolrecordpy_(tvbHandle *ptvb, tvbDVHandle *dv, int *status);
int tvbgetdvindicator_(tvbHandle *ptvb, tvbDVHandle *dv, int *indicator);
int tvbfreedvhandle_(tvbHandle *ptvb, tvbDVHandle *dv);
int tvbdomaincheckdone_(tvbHandle *ptvb);

#if defined(__GNUC__)
#pragma GCC visibility pop
#endif

#ifdef __cplusplus
}
#endif

#endif /* TVBCCLIB_H */
