/* The operation table of tvbcclib: one row per operation, the single source of the exported entries, the
 * interface check, the expected export list and the client glue. tvbcclib.h declares each entry literally,
 * with its contract; a compile-time check in the library holds those declarations to this table.
 *
 * Row: TVB_OP(area, Name, lower, result, parameters, arguments, signature, family)
 *   area       which part of the library implements it (CORE, ARRAYS, EXCHANGE, MODEL, HOST, DOMAINS)
 *   Name       the operation after the "tvb" prefix (the implementation is tvb##Name)
 *   lower      the entry name after "tvb", in lower case (entries are c__tvb##lower, d__tvb##lower, ...)
 *   parameters the C parameter list; TVB_LABELS_IN / TVB_LABELS_OUT are the per-position string arrays,
 *              whose C type depends on the family (array of pointers, or a block of 20 slots of 256 bytes)
 *   arguments  the parameter names, for forwarding
 *   signature  result code then one code per argument after the handle (tvbcclib_signatures.h)
 *   family     D: has a length-prefixed d__ entry (string arguments or results); C: zero-terminated only;
 *              CO: only the c__ entry (no underscore alias)
 *
 * Which areas a build contains is the build's decision: it defines TVB_BUILT_<area> to 1 or 0 for every
 * area (the top CMakeLists.txt, target tvbbuiltareas). TVB_IF_BUILT(area, text) gives text for the areas
 * built; the rows of the others are still part of the interface check but are neither declared, exported
 * nor bound by the glue.
 *
 * This file has no include guard on purpose: it is expanded several times with different definitions of
 * TVB_OP. */
#ifndef TVB_IF_BUILT
#if !defined(TVB_BUILT_CORE) || !defined(TVB_BUILT_ARRAYS) || !defined(TVB_BUILT_EXCHANGE) || \
    !defined(TVB_BUILT_MODEL) || !defined(TVB_BUILT_HOST) || !defined(TVB_BUILT_DOMAINS)
#error "the build defines TVB_BUILT_<area> (1 or 0) for every area: link the target with tvbbuiltareas"
#endif
#define TVB_IF_BUILT(area, ...) TVB_IF_BUILT_FLAG(TVB_BUILT_##area, __VA_ARGS__)
#define TVB_IF_BUILT_FLAG(flag, ...) TVB_IF_BUILT_PASTE(flag, __VA_ARGS__)
#define TVB_IF_BUILT_PASTE(flag, ...) TVB_IF_BUILT_##flag(__VA_ARGS__)
#define TVB_IF_BUILT_1(...) __VA_ARGS__
#define TVB_IF_BUILT_0(...)
#endif

/* ---- database handle and error reporting ---- */
TVB_OP(CORE, GetLastError, getlasterror, int, (tvbHandle *ptvb, char *msg), (ptvb, msg), (15, 12), D)
TVB_OP(CORE, SetDebug, setdebug, int, (tvbHandle *ptvb, int level), (ptvb, level), (15, 3), C)
TVB_OP(CORE, PrintLog, printlog, int, (tvbHandle *ptvb, const char *msg), (ptvb, msg), (15, 11), D)

/* ---- label table ---- */
TVB_OP(CORE, MergeUel, mergeuel, int, (tvbHandle *ptvb, const char *label, int *uelNr), (ptvb, label, uelNr), (15, 11, 4), D)
TVB_OP(CORE, GetUelByIndex, getuelbyindex, int, (tvbHandle *ptvb, int uelNr, char *label), (ptvb, uelNr, label), (15, 3, 12), D)

/* ---- symbol table ---- */
TVB_OP(CORE, AddSymbol, addsymbol, int,
       (tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text, tvbSymbol **sym),
       (ptvb, name, dim, type, userInfo, text, sym), (15, 11, 3, 3, 3, 11, 2), D)
TVB_OP(CORE, AddSymbolPy, addsymbolpy, tvbSymbol *,
       (tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text, int *status),
       (ptvb, name, dim, type, userInfo, text, status), (1, 11, 3, 3, 3, 11, 20), D)
TVB_OP(CORE, AddSymbolX, addsymbolx, int,
       (tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text, tvbSymbol **domains,
        TVB_LABELS_IN domainNames, tvbSymbol **sym),
       (ptvb, name, dim, type, userInfo, text, domains, domainNames, sym), (15, 11, 3, 3, 3, 11, 2, 55, 2), D)
TVB_OP(CORE, AddSymbolXPy, addsymbolxpy, tvbSymbol *,
       (tvbHandle *ptvb, const char *name, int dim, int type, int userInfo, const char *text, tvbSymbol **domains,
        TVB_LABELS_IN domainNames, int *status),
       (ptvb, name, dim, type, userInfo, text, domains, domainNames, status), (1, 11, 3, 3, 3, 11, 2, 55, 20), D)
TVB_OP(CORE, FindSymbol, findsymbol, int, (tvbHandle *ptvb, const char *name, tvbSymbol **sym), (ptvb, name, sym),
       (15, 11, 2), D)
TVB_OP(CORE, FindSymbolPy, findsymbolpy, tvbSymbol *, (tvbHandle *ptvb, const char *name, int *status),
       (ptvb, name, status), (1, 11, 20), D)
TVB_OP(CORE, GetSymbolByIndex, getsymbolbyindex, int, (tvbHandle *ptvb, int index, tvbSymbol **sym),
       (ptvb, index, sym), (15, 3, 2), C)
TVB_OP(CORE, GetSymbolByIndexPy, getsymbolbyindexpy, tvbSymbol *, (tvbHandle *ptvb, int index, int *status),
       (ptvb, index, status), (1, 3, 20), C)
TVB_OP(CORE, GetDomain, getdomain, int,
       (tvbHandle *ptvb, tvbSymbol *sym, int dim, tvbSymbol **domains, TVB_LABELS_OUT domainNames),
       (ptvb, sym, dim, domains, domainNames), (15, 1, 3, 2, 56), D)

/* ---- records and values ---- */
TVB_OP(CORE, AddRecord, addrecord, int, (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN labels, tvbRecordHandle **rec),
       (ptvb, sym, labels, rec), (15, 1, 55, 2), D)
TVB_OP(CORE, AddRecordPy, addrecordpy, tvbRecordHandle *, (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN labels, int *status),
       (ptvb, sym, labels, status), (1, 1, 55, 20), D)
TVB_OP(CORE, AddRecordRaw, addrecordraw, int,
       (tvbHandle *ptvb, tvbSymbol *sym, const int *uels, const double *values, const char *text),
       (ptvb, sym, uels, values, text), (15, 1, 51, 53, 11), D)
TVB_OP(CORE, FindRecord, findrecord, int, (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN labels, tvbRecordHandle **rec),
       (ptvb, sym, labels, rec), (15, 1, 55, 2), D)
TVB_OP(CORE, FindRecordPy, findrecordpy, tvbRecordHandle *, (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN labels, int *status),
       (ptvb, sym, labels, status), (1, 1, 55, 20), D)
TVB_OP(CORE, GetKeys, getkeys, int, (tvbHandle *ptvb, tvbRecordHandle *rec, int dim, TVB_LABELS_OUT labels),
       (ptvb, rec, dim, labels), (15, 1, 3, 56), D)
TVB_OP(CORE, GetKey, getkey, int, (tvbHandle *ptvb, tvbRecordHandle *rec, int index, char *label), (ptvb, rec, index, label),
       (15, 1, 3, 12), D)
TVB_OP(CORE, GetRecordRaw, getrecordraw, int, (tvbHandle *ptvb, tvbRecordHandle *rec, int dim, int *uels, double *values),
       (ptvb, rec, dim, uels, values), (15, 1, 3, 52, 54), C)
TVB_OP(CORE, GetLevel, getlevel, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double *value), (ptvb, rec, value), (15, 1, 14), C)
TVB_OP(CORE, GetMarginal, getmarginal, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double *value), (ptvb, rec, value),
       (15, 1, 14), C)
TVB_OP(CORE, GetLower, getlower, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double *value), (ptvb, rec, value), (15, 1, 14), C)
TVB_OP(CORE, GetUpper, getupper, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double *value), (ptvb, rec, value), (15, 1, 14), C)
TVB_OP(CORE, GetScale, getscale, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double *value), (ptvb, rec, value), (15, 1, 14), C)
TVB_OP(CORE, SetLevel, setlevel, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double value), (ptvb, rec, value), (15, 1, 13), C)
TVB_OP(CORE, SetMarginal, setmarginal, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double value), (ptvb, rec, value),
       (15, 1, 13), C)
TVB_OP(CORE, SetLower, setlower, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double value), (ptvb, rec, value), (15, 1, 13), C)
TVB_OP(CORE, SetUpper, setupper, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double value), (ptvb, rec, value), (15, 1, 13), C)
TVB_OP(CORE, SetScale, setscale, int, (tvbHandle *ptvb, tvbRecordHandle *rec, double value), (ptvb, rec, value), (15, 1, 13), C)

/* ---- navigation ---- */
TVB_OP(CORE, FindFirstRecord, findfirstrecord, int, (tvbHandle *ptvb, tvbSymbol *sym, tvbRecordHandle **rec), (ptvb, sym, rec),
       (15, 1, 2), C)
TVB_OP(CORE, FindFirstRecordPy, findfirstrecordpy, tvbRecordHandle *, (tvbHandle *ptvb, tvbSymbol *sym, int *status),
       (ptvb, sym, status), (1, 1, 20), C)
TVB_OP(CORE, FindLastRecord, findlastrecord, int, (tvbHandle *ptvb, tvbSymbol *sym, tvbRecordHandle **rec), (ptvb, sym, rec),
       (15, 1, 2), C)
TVB_OP(CORE, FindLastRecordPy, findlastrecordpy, tvbRecordHandle *, (tvbHandle *ptvb, tvbSymbol *sym, int *status),
       (ptvb, sym, status), (1, 1, 20), C)
TVB_OP(CORE, FindFirstRecordSlice, findfirstrecordslice, int,
       (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN slice, tvbRecordHandle **rec), (ptvb, sym, slice, rec), (15, 1, 55, 2), D)
TVB_OP(CORE, FindFirstRecordSlicePy, findfirstrecordslicepy, tvbRecordHandle *,
       (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN slice, int *status), (ptvb, sym, slice, status), (1, 1, 55, 20), D)
TVB_OP(CORE, FindLastRecordSlice, findlastrecordslice, int,
       (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN slice, tvbRecordHandle **rec), (ptvb, sym, slice, rec), (15, 1, 55, 2), D)
TVB_OP(CORE, FindLastRecordSlicePy, findlastrecordslicepy, tvbRecordHandle *,
       (tvbHandle *ptvb, tvbSymbol *sym, TVB_LABELS_IN slice, int *status), (ptvb, sym, slice, status), (1, 1, 55, 20), D)
TVB_OP(CORE, RecordMoveNext, recordmovenext, int, (tvbHandle *ptvb, tvbRecordHandle *rec), (ptvb, rec), (15, 1), C)
TVB_OP(CORE, RecordMovePrev, recordmoveprev, int, (tvbHandle *ptvb, tvbRecordHandle *rec), (ptvb, rec), (15, 1), C)
TVB_OP(CORE, RecordHasNext, recordhasnext, int, (tvbHandle *ptvb, tvbRecordHandle *rec), (ptvb, rec), (15, 1), C)
TVB_OP(CORE, RecordHasPrev, recordhasprev, int, (tvbHandle *ptvb, tvbRecordHandle *rec), (ptvb, rec), (15, 1), C)
TVB_OP(CORE, SameRecord, samerecord, int, (tvbHandle *ptvb, tvbRecordHandle *rec1, tvbRecordHandle *rec2), (ptvb, rec1, rec2),
       (15, 1, 1), C)
TVB_OP(CORE, CopySymbolIterator, copysymboliterator, int, (tvbHandle *ptvb, tvbRecordHandle *src, tvbRecordHandle **rec),
       (ptvb, src, rec), (15, 1, 2), C)
TVB_OP(CORE, CopySymbolIteratorPy, copysymboliteratorpy, tvbRecordHandle *, (tvbHandle *ptvb, tvbRecordHandle *src, int *status),
       (ptvb, src, status), (1, 1, 20), C)
TVB_OP(CORE, FreeSymbolIterator, freesymboliterator, int, (tvbHandle *ptvb, tvbRecordHandle *rec), (ptvb, rec), (15, 1), C)

/* ---- maintenance ---- */
TVB_OP(CORE, DeleteRecord, deleterecord, int, (tvbHandle *ptvb, tvbRecordHandle *rec), (ptvb, rec), (15, 1), C)
TVB_OP(CORE, ClearSymbol, clearsymbol, int, (tvbHandle *ptvb, tvbSymbol *sym), (ptvb, sym), (15, 1), C)
TVB_OP(CORE, CopySymbol, copysymbol, int, (tvbHandle *ptvb, tvbSymbol *target, tvbSymbol *source), (ptvb, target, source),
       (15, 1, 1), C)
TVB_OP(CORE, GetElemText, getelemtext, int, (tvbHandle *ptvb, tvbRecordHandle *rec, char *text), (ptvb, rec, text), (15, 1, 12), D)
TVB_OP(CORE, SetElemText, setelemtext, int, (tvbHandle *ptvb, tvbRecordHandle *rec, const char *text), (ptvb, rec, text),
       (15, 1, 11), D)
TVB_OP(CORE, SetUserInfo, setuserinfo, int, (tvbHandle *ptvb, tvbSymbol *sym, int userInfo), (ptvb, sym, userInfo), (15, 1, 3), C)
TVB_OP(CORE, StartWriteRecording, startwriterecording, int, (tvbHandle *ptvb), (ptvb), (15), C)
TVB_OP(CORE, StopWriteRecording, stopwriterecording, int, (tvbHandle *ptvb), (ptvb), (15), C)

/* ---- information and special values ---- */
TVB_OP(CORE, Info, info, int, (tvbHandle *ptvb, int infoKey, int *ival, double *dval, char *sval),
       (ptvb, infoKey, ival, dval, sval), (15, 3, 4, 14, 12), D)
TVB_OP(CORE, SymbolInfo, symbolinfo, int, (tvbHandle *ptvb, tvbSymbol *sym, int infoKey, int *ival, double *dval, char *sval),
       (ptvb, sym, infoKey, ival, dval, sval), (15, 1, 3, 4, 14, 12), D)
TVB_OP(CORE, SymbolDim, symboldim, int, (tvbHandle *ptvb, tvbSymbol *sym, int *dim), (ptvb, sym, dim), (15, 1, 4), C)
TVB_OP(CORE, SymbolType, symboltype, int, (tvbHandle *ptvb, tvbSymbol *sym, int *type), (ptvb, sym, type), (15, 1, 4), C)
TVB_OP(CORE, GetSpecialValues, getspecialvalues, int, (tvbHandle *ptvb, double *values), (ptvb, values), (15, 58), C)
TVB_OP(CORE, SetSpecialValues, setspecialvalues, int, (tvbHandle *ptvb, const double *values), (ptvb, values), (15, 57), C)
TVB_OP(CORE, SetSpecialValuesX, setspecialvaluesx, int, (tvbHandle *ptvb, const double *values, int *mode), (ptvb, values, mode),
       (15, 57, 21), C)

/* ---- array transfer ---- */
TVB_OP(ARRAYS, DenseSymbolToDenseArray, densesymboltodensearray, int,
       (tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, int field), (ptvb, cube, extents, sym, field),
       (15, 1, 8, 1, 3), C)
TVB_OP(ARRAYS, SparseSymbolToDenseArray, sparsesymboltodensearray, int,
       (tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, tvbSymbol **domains, int field, int *dropped),
       (ptvb, cube, extents, sym, domains, field, dropped), (15, 1, 8, 1, 2, 3, 4), C)
TVB_OP(ARRAYS, SparseSymbolToSqzdArray, sparsesymboltosqzdarray, int,
       (tvbHandle *ptvb, void *cube, const int *extents, tvbSymbol *sym, tvbSymbol **squeeze, tvbSymbol **domains,
        int field, int *dropped),
       (ptvb, cube, extents, sym, squeeze, domains, field, dropped), (15, 1, 8, 1, 2, 2, 3, 4), C)
TVB_OP(ARRAYS, DenseArrayToSymbol, densearraytosymbol, int,
       (tvbHandle *ptvb, tvbSymbol *sym, tvbSymbol **domains, const void *cube, const int *extents),
       (ptvb, sym, domains, cube, extents), (15, 1, 2, 1, 8), C)
TVB_OP(ARRAYS, DenseArraySlicesToSymbol, densearrayslicestosymbol, int,
       (tvbHandle *ptvb, tvbSymbol *sym, tvbSymbol **slices, tvbSymbol **domains, const void *cube, const int *extents),
       (ptvb, sym, slices, domains, cube, extents), (15, 1, 2, 2, 1, 8), C)

/* ---- data-exchange files and copies ---- */
TVB_OP(EXCHANGE, InitFromTVF, initfromtvf, int, (tvbHandle *ptvb, const char *fileName), (ptvb, fileName), (15, 11), D)
TVB_OP(EXCHANGE, CloseTVF, closetvf, int, (tvbHandle *ptvb, int loadRemaining), (ptvb, loadRemaining), (15, 15), C)
TVB_OP(EXCHANGE, WriteTVF, writetvf, int, (tvbHandle *ptvb, const char *fileName, int noDomainCheck),
       (ptvb, fileName, noDomainCheck), (15, 11, 15), D)
TVB_OP(EXCHANGE, InitFromDB, initfromdb, int, (tvbHandle *ptvb, tvbHandle *source), (ptvb, source), (15, 1), C)

/* ---- model link ---- */
TVB_OP(MODEL, RegisterTVP, registertvp, int, (tvbHandle *ptvb, void *tvp), (ptvb, tvp), (15, 1), C)
TVB_OP(MODEL, InitFromDict, initfromdict, int, (tvbHandle *ptvb, void *tvp), (ptvb, tvp), (15, 1), C)
TVB_OP(MODEL, InitUpdate, initupdate, int, (tvbHandle *ptvb, void *tvp), (ptvb, tvp), (15, 1), C)
TVB_OP(MODEL, UpdateModelSymbol, updatemodelsymbol, int,
       (tvbHandle *ptvb, tvbSymbol *modelSym, int actionType, tvbSymbol *dataSym, int updateType, int *count),
       (ptvb, modelSym, actionType, dataSym, updateType, count), (15, 1, 3, 1, 3, 21), C)
TVB_OP(MODEL, CallSolver, callsolver, int, (tvbHandle *ptvb, const char *solver), (ptvb, solver), (15, 11), D)
TVB_OP(MODEL, CallSolverTimed, callsolvertimed, int, (tvbHandle *ptvb, const char *solver, double *seconds),
       (ptvb, solver, seconds), (15, 11, 14), D)

/* ---- host programs ---- */
TVB_OP(HOST, InitFromCMEX, initfromcmex, int,
       (tvbHandle *ptvb, tvbHostFindSymbol findSymbol, tvbHostDataReadRawStart dataReadRawStart,
        tvbHostDataReadRaw dataReadRaw, tvbHostDataReadDone dataReadDone, tvbHostElemText elemText, tvbHostLog log,
        void *hostHandle),
       (ptvb, findSymbol, dataReadRawStart, dataReadRaw, dataReadDone, elemText, log, hostHandle),
       (15, 59, 59, 59, 59, 59, 59, 1), CO)

/* ---- domain checking ---- */
TVB_OP(DOMAINS, CheckDBDV, checkdbdv, int, (tvbHandle *ptvb, int *hasViolation), (ptvb, hasViolation), (15, 20), C)
TVB_OP(DOMAINS, CheckSymbolDV, checksymboldv, int, (tvbHandle *ptvb, tvbSymbol *sym, int *hasViolation),
       (ptvb, sym, hasViolation), (15, 1, 20), C)
TVB_OP(DOMAINS, GetFirstDBDV, getfirstdbdv, int, (tvbHandle *ptvb, tvbDVHandle **dv), (ptvb, dv), (15, 2), C)
TVB_OP(DOMAINS, GetFirstDBDVPy, getfirstdbdvpy, tvbDVHandle *, (tvbHandle *ptvb, int *status), (ptvb, status),
       (1, 20), C)
TVB_OP(DOMAINS, GetFirstDVInSymbol, getfirstdvinsymbol, int, (tvbHandle *ptvb, tvbSymbol *sym, tvbDVHandle **dv),
       (ptvb, sym, dv), (15, 1, 2), C)
TVB_OP(DOMAINS, GetFirstDVInSymbolPy, getfirstdvinsymbolpy, tvbDVHandle *,
       (tvbHandle *ptvb, tvbSymbol *sym, int *status), (ptvb, sym, status), (1, 1, 20), C)
TVB_OP(DOMAINS, GetFirstDVInNextSymbol, getfirstdvinnextsymbol, int, (tvbHandle *ptvb, tvbDVHandle *dv, int *moved),
       (ptvb, dv, moved), (15, 1, 20), C)
TVB_OP(DOMAINS, MoveNextDVInSymbol, movenextdvinsymbol, int, (tvbHandle *ptvb, tvbDVHandle *dv, int *moved),
       (ptvb, dv, moved), (15, 1, 20), C)
TVB_OP(DOMAINS, GetDVSymbol, getdvsymbol, int, (tvbHandle *ptvb, tvbDVHandle *dv, tvbSymbol **sym), (ptvb, dv, sym),
       (15, 1, 2), C)
TVB_OP(DOMAINS, GetDVSymbolPy, getdvsymbolpy, tvbSymbol *, (tvbHandle *ptvb, tvbDVHandle *dv, int *status),
       (ptvb, dv, status), (1, 1, 20), C)
TVB_OP(DOMAINS, GetDVSymbolRecord, getdvsymbolrecord, int, (tvbHandle *ptvb, tvbDVHandle *dv, tvbRecordHandle **rec),
       (ptvb, dv, rec), (15, 1, 2), C)
TVB_OP(DOMAINS, GetDVSymbolRecordPy, getdvsymbolrecordpy, tvbRecordHandle *,
       (tvbHandle *ptvb, tvbDVHandle *dv, int *status), (ptvb, dv, status), (1, 1, 20), C)
TVB_OP(DOMAINS, GetDVIndicator, getdvindicator, int, (tvbHandle *ptvb, tvbDVHandle *dv, int *indicator),
       (ptvb, dv, indicator), (15, 1, 8), C)
TVB_OP(DOMAINS, FreeDVHandle, freedvhandle, int, (tvbHandle *ptvb, tvbDVHandle *dv), (ptvb, dv), (15, 1), C)
TVB_OP(DOMAINS, DomainCheckDone, domaincheckdone, int, (tvbHandle *ptvb), (ptvb), (15), C)
