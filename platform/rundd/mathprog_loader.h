// Loading a MathProg model through GLPK's translator: the model (and data) file become instance content and
// its dictionary. Translating happens with GLPK's terminal output collected, never printed.
#ifndef RUNDD_MATHPROG_LOADER_H
#define RUNDD_MATHPROG_LOADER_H

#include <memory>
#include <string>

#include "dictionary.h"
#include "model_instance.h"

namespace rundd {

struct LoadedModel {
  ModelContent content;
  std::unique_ptr<Dictionary> dictionary;
};

// data_file null or empty: the model file's own data section. False with *error ("m.mod:12: x not defined")
// on failure. *output receives what the translator printed, in both cases.
bool LoadMathProg(const char *model_file, const char *data_file, LoadedModel *loaded, std::string *error,
                  std::string *output);

}  // namespace rundd

#endif
