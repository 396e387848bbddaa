// The solver-environment library (tvh, librunddclib.so, API version 6), bound at run time: one slot per operation of
// platform/rundd/tvh_operations.h, called as tvh::ops.tvhXxx(tt, ...). tvhGetReady / tvhGetReadyD load the library on first use
// (from dir when given); after a successful load every slot holds the library's entry or a stub that ends the
// process when called. Its objects come from the caller (the environment is handed over, not created here).
#pragma once

#include "loaders/library_loader.h"
#include "loaders/operation_glue.h"
#include "platform/rundd/rundd_handles.h"

namespace tvb::tvh {

struct Operations {
#define TVH_OP TVB_LOADER_OPERATION_SLOT
#include "platform/rundd/tvh_operations.h"
#undef TVH_OP
};

extern Operations ops;

// True when the library is loaded; otherwise msg receives the reason, cut to msgSize.
bool tvhGetReady(char* msg, int msgSize);
bool tvhGetReadyD(const char* dir, char* msg, int msgSize);

loaders::LibraryLoader& Loader();

}  // namespace tvb::tvh
