/* The objects of the model-instance (tvp), solver-environment (tvh), dictionary (dct) and solver-configuration
 * (cfg) libraries: opaque pointer-sized handles, one per library, shared by the loader and the libraries that
 * implement the operation tables beside this file. Plain C. */
#ifndef RUNDD_HANDLES_H
#define RUNDD_HANDLES_H

typedef void *tvpHandle_t; /* a model instance */
typedef void *tvhHandle_t; /* a solver environment */
typedef void *dctHandle_t; /* a model dictionary */
typedef void *cfgHandle_t; /* a solver configuration */

#endif
