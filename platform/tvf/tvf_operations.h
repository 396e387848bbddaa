/* The operations of the TVF data-exchange file library that tvbcclib calls: the one table from which the
 * library's own check entry, its exported entries and the loader's entry slots and stubs are generated.
 *
 * Row: TVF_OP(name, lookup, result, parameters, arguments, signature)
 *   name       the operation as the check protocol knows it
 *   lookup     the exported entry name: "C" + name when a string travels (zero-terminated strings)
 *   parameters the C parameter list; the library object (tvfHandle_t) leads every call and is not counted
 *   signature  result code, then one code per counted argument (include/tvbcclib_signatures.h)
 *
 * Keys are arrays of 20 label numbers (the first dim used); values arrays of 5 doubles; strings at most 255
 * characters in 256-byte buffers. No include guard: expanded with different definitions of TVF_OP. */

TVF_OP(tvfAddAlias, CtvfAddAlias, int, (tvfHandle_t pt, const char *alias, const char *set), (pt, alias, set), (3, 11, 11))
TVF_OP(tvfAddSetText, CtvfAddSetText, int, (tvfHandle_t pt, const char *text, int *textNr), (pt, text, textNr), (3, 11, 4))
TVF_OP(tvfClose, tvfClose, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfDataReadDone, tvfDataReadDone, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfDataReadRaw, tvfDataReadRaw, int, (tvfHandle_t pt, int *keys, double *values, int *dimFirst),
       (pt, keys, values, dimFirst), (3, 52, 54, 4))
TVF_OP(tvfDataReadRawStart, tvfDataReadRawStart, int, (tvfHandle_t pt, int symNr, int *recordCount),
       (pt, symNr, recordCount), (3, 3, 4))
TVF_OP(tvfDataWriteDone, tvfDataWriteDone, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfDataWriteRaw, tvfDataWriteRaw, int, (tvfHandle_t pt, const int *keys, const double *values), (pt, keys, values),
       (3, 51, 53))
TVF_OP(tvfDataWriteRawStart, CtvfDataWriteRawStart, int,
       (tvfHandle_t pt, const char *name, const char *text, int dim, int type, int userInfo),
       (pt, name, text, dim, type, userInfo), (3, 11, 11, 3, 3, 3))
TVF_OP(tvfErrorCount, tvfErrorCount, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfErrorStr, CtvfErrorStr, int, (tvfHandle_t pt, int errNr, char *errMsg), (pt, errNr, errMsg), (3, 3, 12))
TVF_OP(tvfFindSymbol, CtvfFindSymbol, int, (tvfHandle_t pt, const char *name, int *symNr), (pt, name, symNr), (3, 11, 4))
TVF_OP(tvfGetElemText, CtvfGetElemText, int, (tvfHandle_t pt, int textNr, char *text, int *node), (pt, textNr, text, node),
       (3, 3, 12, 4))
TVF_OP(tvfGetLastError, tvfGetLastError, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfGetSpecialValues, tvfGetSpecialValues, int, (tvfHandle_t pt, double *values), (pt, values), (3, 58))
TVF_OP(tvfOpenRead, CtvfOpenRead, int, (tvfHandle_t pt, const char *fileName, int *errNr), (pt, fileName, errNr), (3, 11, 4))
TVF_OP(tvfOpenWrite, CtvfOpenWrite, int, (tvfHandle_t pt, const char *fileName, const char *producer, int *errNr),
       (pt, fileName, producer, errNr), (3, 11, 11, 4))
TVF_OP(tvfSetReadSpecialValues, tvfSetReadSpecialValues, int, (tvfHandle_t pt, const double *values), (pt, values), (3, 57))
TVF_OP(tvfSetSpecialValues, tvfSetSpecialValues, int, (tvfHandle_t pt, const double *values), (pt, values), (3, 57))
TVF_OP(tvfSymbolGetDomainX, CtvfSymbolGetDomainX, int, (tvfHandle_t pt, int symNr, char **domainNames),
       (pt, symNr, domainNames), (3, 3, 56))
TVF_OP(tvfSymbolInfo, CtvfSymbolInfo, int, (tvfHandle_t pt, int symNr, char *name, int *dim, int *type),
       (pt, symNr, name, dim, type), (3, 3, 12, 4, 4))
TVF_OP(tvfSymbolInfoX, CtvfSymbolInfoX, int, (tvfHandle_t pt, int symNr, int *recordCount, int *userInfo, char *text),
       (pt, symNr, recordCount, userInfo, text), (3, 3, 4, 4, 12))
TVF_OP(tvfSymbolSetDomain, CtvfSymbolSetDomain, int, (tvfHandle_t pt, const char *const *domainNames), (pt, domainNames),
       (3, 55))
TVF_OP(tvfSymbolSetDomainX, CtvfSymbolSetDomainX, int, (tvfHandle_t pt, int symNr, const char *const *domainNames),
       (pt, symNr, domainNames), (3, 3, 55))
TVF_OP(tvfSystemInfo, tvfSystemInfo, int, (tvfHandle_t pt, int *symbolCount, int *uelCount), (pt, symbolCount, uelCount),
       (3, 4, 4))
TVF_OP(tvfUELRegisterDone, tvfUELRegisterDone, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfUELRegisterRaw, CtvfUELRegisterRaw, int, (tvfHandle_t pt, const char *label), (pt, label), (3, 11))
TVF_OP(tvfUELRegisterRawStart, tvfUELRegisterRawStart, int, (tvfHandle_t pt), (pt), (3))
TVF_OP(tvfUMUelGet, CtvfUMUelGet, int, (tvfHandle_t pt, int uelNr, char *label, int *mapping), (pt, uelNr, label, mapping),
       (3, 3, 12, 4))
TVF_OP(tvfUMUelInfo, tvfUMUelInfo, int, (tvfHandle_t pt, int *uelCount, int *highMap), (pt, uelCount, highMap), (3, 4, 4))
