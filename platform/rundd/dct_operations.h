/* The operations of the dictionary library (dct, librunddclib.so, API version 1) that tvbcclib calls: the one
 * table from which the loader's slots, stubs and checks and the library's own check entry and exported entries
 * are generated.
 *
 * Row: DCT_OP(name, lookup, result, parameters, arguments, signature)
 *   name       the operation as the check protocol knows it
 *   lookup     the exported entry name: "C" + name when a string travels
 *   parameters the C parameter list; the dictionary (dctHandle_t, rundd_handles.h) leads and is not counted.
 *              A sized string (code 17) is a buffer followed by its length in characters; the pair counts as
 *              one argument.
 *   signature  result code, then one code per counted argument (include/tvbcclib_signatures.h)
 *
 * Symbol and label numbers are 1-based; rows and columns 0-based. No include guard: expanded with different
 * definitions of DCT_OP. */

DCT_OP(dctNUels, dctNUels, int, (dctHandle_t pt), (pt), (3))
DCT_OP(dctNLSyms, dctNLSyms, int, (dctHandle_t pt), (pt), (3))
DCT_OP(dctUelLabel, CdctUelLabel, int, (dctHandle_t pt, int uelNr, char *quote, char *label, int labelSize),
       (pt, uelNr, quote, label, labelSize), (3, 3, 19, 17))
DCT_OP(dctSymText, CdctSymText, int, (dctHandle_t pt, int symNr, char *quote, char *text, int textSize),
       (pt, symNr, quote, text, textSize), (3, 3, 19, 17))
DCT_OP(dctSymName, CdctSymName, int, (dctHandle_t pt, int symNr, char *name, int nameSize), (pt, symNr, name, nameSize),
       (3, 3, 17))
DCT_OP(dctSymIndex, CdctSymIndex, int, (dctHandle_t pt, const char *name), (pt, name), (3, 11))
DCT_OP(dctSymDim, dctSymDim, int, (dctHandle_t pt, int symNr), (pt, symNr), (3, 3))
DCT_OP(dctSymType, dctSymType, int, (dctHandle_t pt, int symNr), (pt, symNr), (3, 3))
DCT_OP(dctSymUserInfo, dctSymUserInfo, int, (dctHandle_t pt, int symNr), (pt, symNr), (3, 3))
DCT_OP(dctColUels, dctColUels, int, (dctHandle_t pt, int col, int *symNr, int *uels, int *dim),
       (pt, col, symNr, uels, dim), (3, 3, 4, 52, 4))
DCT_OP(dctRowUels, dctRowUels, int, (dctHandle_t pt, int row, int *symNr, int *uels, int *dim),
       (pt, row, symNr, uels, dim), (3, 3, 4, 52, 4))
DCT_OP(dctFindFirstRowCol, dctFindFirstRowCol, void *, (dctHandle_t pt, int symNr, const int *uels, int *rowCol),
       (pt, symNr, uels, rowCol), (1, 3, 51, 4))
DCT_OP(dctFindNextRowCol, dctFindNextRowCol, int, (dctHandle_t pt, void *search, int *rowCol), (pt, search, rowCol),
       (3, 1, 4))
DCT_OP(dctFindClose, dctFindClose, void, (dctHandle_t pt, void *search), (pt, search), (0, 1))
