// The dictionary library (dct, librunddclib.so, API version 1), bound at run time: one slot per operation of
// platform/rundd/dct_operations.h, called as dct::ops.dctXxx(dt, ...). dctGetReady / dctGetReadyD load the library on first use
// (from dir when given); after a successful load every slot holds the library's entry or a stub that ends the
// process when called. Its objects come from the caller (the dictionary is handed over, not created here).
#pragma once

#include "loaders/library_loader.h"
#include "loaders/operation_glue.h"
#include "platform/rundd/rundd_handles.h"

namespace tvb::dct {

struct Operations {
#define DCT_OP TVB_LOADER_OPERATION_SLOT
#include "platform/rundd/dct_operations.h"
#undef DCT_OP
};

extern Operations ops;

// True when the library is loaded; otherwise msg receives the reason, cut to msgSize.
bool dctGetReady(char* msg, int msgSize);
bool dctGetReadyD(const char* dir, char* msg, int msgSize);

loaders::LibraryLoader& Loader();

}  // namespace tvb::dct
