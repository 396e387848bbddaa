/* The operations of the model-instance library (tvp, librunddclib.so, API version 16) that tvbcclib calls:
 * the one table from which the loader's slots, stubs and checks and the library's own check entry and exported
 * entries are generated.
 *
 * Row: TVP_OP(name, lookup, result, parameters, arguments, signature)
 *   name       the operation as the check protocol knows it
 *   lookup     the exported entry name ("C" + name when a string travels; none of these carries one)
 *   parameters the C parameter list; the model (tvpHandle_t, rundd_handles.h) leads and is not counted
 *   signature  result code, then one code per counted argument (include/tvbcclib_signatures.h)
 *
 * Indices of variables (columns) and equations (rows) are 0-based. No include guard: expanded with different
 * definitions of TVP_OP. */

TVP_OP(tvpEnvironment, tvpEnvironment, void *, (tvpHandle_t pt), (pt), (1))
TVP_OP(tvpDict, tvpDict, void *, (tvpHandle_t pt), (pt), (1))
TVP_OP(tvpViewStore, tvpViewStore, void *, (tvpHandle_t pt), (pt), (1))
TVP_OP(tvpViewRestore, tvpViewRestore, void, (tvpHandle_t pt, void **view), (pt, view), (0, 2))
TVP_OP(tvpGetVarL, tvpGetVarL, int, (tvpHandle_t pt, double *levels), (pt, levels), (3, 6))
TVP_OP(tvpGetVarM, tvpGetVarM, int, (tvpHandle_t pt, double *marginals), (pt, marginals), (3, 6))
TVP_OP(tvpGetEquL, tvpGetEquL, int, (tvpHandle_t pt, double *levels), (pt, levels), (3, 6))
TVP_OP(tvpGetEquM, tvpGetEquM, int, (tvpHandle_t pt, double *marginals), (pt, marginals), (3, 6))
TVP_OP(tvpGetVarLOne, tvpGetVarLOne, double, (tvpHandle_t pt, int col), (pt, col), (13, 3))
TVP_OP(tvpGetEquLOne, tvpGetEquLOne, double, (tvpHandle_t pt, int row), (pt, row), (13, 3))
TVP_OP(tvpGetVarLowerOne, tvpGetVarLowerOne, double, (tvpHandle_t pt, int col), (pt, col), (13, 3))
TVP_OP(tvpGetVarUpperOne, tvpGetVarUpperOne, double, (tvpHandle_t pt, int col), (pt, col), (13, 3))
TVP_OP(tvpGetVarScaleOne, tvpGetVarScaleOne, double, (tvpHandle_t pt, int col), (pt, col), (13, 3))
TVP_OP(tvpGetEquScaleOne, tvpGetEquScaleOne, double, (tvpHandle_t pt, int row), (pt, row), (13, 3))
TVP_OP(tvpGetRhsOne, tvpGetRhsOne, double, (tvpHandle_t pt, int row), (pt, row), (13, 3))
TVP_OP(tvpSetVarLOne, tvpSetVarLOne, void, (tvpHandle_t pt, int col, double level), (pt, col, level), (0, 3, 13))
TVP_OP(tvpSetEquLOne, tvpSetEquLOne, void, (tvpHandle_t pt, int row, double level), (pt, row, level), (0, 3, 13))
TVP_OP(tvpSetAltVarLowerOne, tvpSetAltVarLowerOne, void, (tvpHandle_t pt, int col, double lower), (pt, col, lower),
       (0, 3, 13))
TVP_OP(tvpSetAltVarUpperOne, tvpSetAltVarUpperOne, void, (tvpHandle_t pt, int col, double upper), (pt, col, upper),
       (0, 3, 13))
TVP_OP(tvpSetAltRHSOne, tvpSetAltRHSOne, void, (tvpHandle_t pt, int row, double rhs), (pt, row, rhs), (0, 3, 13))
TVP_OP(tvpGetEquTypeOne, tvpGetEquTypeOne, int, (tvpHandle_t pt, int row), (pt, row), (3, 3))
TVP_OP(tvpGetVarStatOne, tvpGetVarStatOne, int, (tvpHandle_t pt, int col), (pt, col), (3, 3))
TVP_OP(tvpGetVarCStatOne, tvpGetVarCStatOne, int, (tvpHandle_t pt, int col), (pt, col), (3, 3))
TVP_OP(tvpGetEquStatOne, tvpGetEquStatOne, int, (tvpHandle_t pt, int row), (pt, row), (3, 3))
TVP_OP(tvpGetEquCStatOne, tvpGetEquCStatOne, int, (tvpHandle_t pt, int row), (pt, row), (3, 3))
TVP_OP(tvpEvalGradNLUpdate, tvpEvalGradNLUpdate, int, (tvpHandle_t pt, double *rhsChange, int add, int *errorCount),
       (pt, rhsChange, add, errorCount), (3, 6, 15, 4))
TVP_OP(tvpGetSolutionVarRec, tvpGetSolutionVarRec, int,
       (tvpHandle_t pt, int col, double *level, double *marginal, int *basisStatus, int *condition),
       (pt, col, level, marginal, basisStatus, condition), (3, 3, 14, 14, 4, 4))
TVP_OP(tvpGetSolutionEquRec, tvpGetSolutionEquRec, int,
       (tvpHandle_t pt, int row, double *level, double *marginal, int *basisStatus, int *condition),
       (pt, row, level, marginal, basisStatus, condition), (3, 3, 14, 14, 4, 4))
TVP_OP(tvpSetSolutionVarRec, tvpSetSolutionVarRec, int,
       (tvpHandle_t pt, int col, double level, double marginal, int basisStatus, int condition),
       (pt, col, level, marginal, basisStatus, condition), (3, 3, 13, 13, 3, 3))
TVP_OP(tvpSetSolutionEquRec, tvpSetSolutionEquRec, int,
       (tvpHandle_t pt, int row, double level, double marginal, int basisStatus, int condition),
       (pt, row, level, marginal, basisStatus, condition), (3, 3, 13, 13, 3, 3))
TVP_OP(tvpModelType, tvpModelType, int, (tvpHandle_t pt), (pt), (3))
TVP_OP(tvpN, tvpN, int, (tvpHandle_t pt), (pt), (3))
TVP_OP(tvpM, tvpM, int, (tvpHandle_t pt), (pt), (3))
TVP_OP(tvpModelStatSet, tvpModelStatSet, void, (tvpHandle_t pt, int status), (pt, status), (0, 3))
TVP_OP(tvpSolveStatSet, tvpSolveStatSet, void, (tvpHandle_t pt, int status), (pt, status), (0, 3))
TVP_OP(tvpAltBoundsSet, tvpAltBoundsSet, void, (tvpHandle_t pt, int on), (pt, on), (0, 15))
TVP_OP(tvpAltRHSSet, tvpAltRHSSet, void, (tvpHandle_t pt, int on), (pt, on), (0, 15))
TVP_OP(tvpForceLinearSet, tvpForceLinearSet, void, (tvpHandle_t pt, int on), (pt, on), (0, 15))
TVP_OP(tvpPinfSet, tvpPinfSet, void, (tvpHandle_t pt, double plusInfinity), (pt, plusInfinity), (0, 13))
TVP_OP(tvpMinfSet, tvpMinfSet, void, (tvpHandle_t pt, double minusInfinity), (pt, minusInfinity), (0, 13))
