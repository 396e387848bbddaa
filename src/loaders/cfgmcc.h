// The solver-configuration library (cfg, librunddclib.so, API version 1), bound at run time: one slot per
// operation of platform/rundd/cfg_operations.h, called as cfg::ops.cfgAlgNumber(pt, ...), and the creation and release
// of its objects. cfgCreate / cfgCreateD load the library on first use (from dir when given); after a
// successful load every slot holds the library's entry or a stub that ends the process when called.
#pragma once

#include "loaders/library_loader.h"
#include "loaders/operation_glue.h"
#include "platform/rundd/rundd_handles.h"

namespace tvb::cfg {

struct Operations {
#define CFG_OP TVB_LOADER_OPERATION_SLOT
#include "platform/rundd/cfg_operations.h"
#undef CFG_OP
};

extern Operations ops;

// A new object in *pt (null on failure, when msg receives the reason, cut to msgSize).
bool cfgCreate(cfgHandle_t* pt, char* msg, int msgSize);
bool cfgCreateD(cfgHandle_t* pt, const char* dir, char* msg, int msgSize);
// Releases *pt through the library's free entry, which sets it to null.
bool cfgFree(cfgHandle_t* pt);

loaders::LibraryLoader& Loader();

}  // namespace tvb::cfg
