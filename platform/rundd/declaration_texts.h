// The explanatory texts of a MathProg model's declarations: the string that may follow a variable's,
// constraint's or objective's name ("var x{I,J} >= 0, ..." has none; "s.t. supply 'observe supply' {i in I}:"
// has one). GLPK's translator does not hand them over, so the model section is scanned for them.
#ifndef RUNDD_DECLARATION_TEXTS_H
#define RUNDD_DECLARATION_TEXTS_H

#include <map>
#include <string>
#include <string_view>

namespace rundd {

// Symbol name -> text, for the declarations of the model section of `model` that have one.
std::map<std::string, std::string> DeclarationTexts(std::string_view model);

}  // namespace rundd

#endif
