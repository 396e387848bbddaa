// GLPK prints to the terminal. While a GlpkOutput lives, everything that GLPK would print in this thread is
// collected in it instead (glp_term_hook); afterwards GLPK prints as before. Objects nest in no useful way:
// keep one alive at a time per thread.
#ifndef RUNDD_GLPK_OUTPUT_H
#define RUNDD_GLPK_OUTPUT_H

#include <string>

namespace rundd {

class GlpkOutput {
 public:
  GlpkOutput();
  ~GlpkOutput();
  GlpkOutput(const GlpkOutput &) = delete;
  GlpkOutput &operator=(const GlpkOutput &) = delete;

  const std::string &text() const { return text_; }

 private:
  static int Collect(void *self, const char *s);
  std::string text_;
};

}  // namespace rundd

#endif
