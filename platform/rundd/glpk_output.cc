#include "glpk_output.h"

#include <glpk.h>

namespace rundd {

GlpkOutput::GlpkOutput() { glp_term_hook(&GlpkOutput::Collect, this); }

GlpkOutput::~GlpkOutput() { glp_term_hook(nullptr, nullptr); }

int GlpkOutput::Collect(void *self, const char *s) {
  try {
    static_cast<GlpkOutput *>(self)->text_ += s;
  } catch (...) {
    // Output that cannot be kept is dropped; it must not reach the terminal either.
  }
  return 1;  // non-zero: GLPK prints nothing itself
}

}  // namespace rundd
